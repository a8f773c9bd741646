#!/usr/bin/env bash
# Installs the framework from a finished build tree into a staging prefix,
# moves that prefix elsewhere, and builds applications outside the tree
# against it with find_package(zru) and zru_add_app:
#  - examples/hello (the README's example, exactly those files) builds with
#    warnings as errors and exports exactly makeApp and my_type;
#  - a module without my_type is refused at link time;
#  - nothing installed refers back to the source or build tree;
#  - the README quotes the example's files as they are.
#
#   packageTest.sh <build dir> <source dir> <work dir> <c++ compiler> <generator>
set -euo pipefail

build=$1 source=$2 work=$3 cxx=$4 generator=$5

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"

cmake --install "$build" --prefix "$work/staged" >"$work/install.log"
# The package must not depend on where it was installed.
mv "$work/staged" "$work/prefix"
prefix=$work/prefix

for f in include/zru/zru.h lib/libzru.a lib/libzru_launcher.a \
         lib/cmake/zru/zruConfig.cmake lib/cmake/zru/zruConfigVersion.cmake \
         lib/cmake/zru/zruAddApp.cmake lib/cmake/zru/zruAppExports.def; do
    [[ -f "$prefix/$f" ]] || fail "$f is not installed"
done
if grep -rlI -e "$source" -e "$build" -e "$work/staged" "$prefix"; then
    fail "the installed files above name the source tree, the build tree or the staging prefix"
fi

configure() { # <source> <binary dir>
    cmake -S "$1" -B "$2" -G "$generator" \
        -DCMAKE_CXX_COMPILER="$cxx" \
        -DCMAKE_CXX_FLAGS="-Wall -Wextra -Wpedantic -Werror" \
        -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON \
        -DCMAKE_FIND_PACKAGE_NO_SYSTEM_PACKAGE_REGISTRY=ON >"$2.configure.log" 2>&1 ||
        { cat "$2.configure.log" >&2; fail "configuring $1"; }
}

# --- The example application.
configure "$source/examples/hello" "$work/hello"
found=$(sed -n 's/^zru_DIR:PATH=//p' "$work/hello/CMakeCache.txt")
[[ "$found" == "$prefix/lib/cmake/zru" ]] || fail "find_package(zru) took '$found', not the staged package"
cmake --build "$work/hello" >"$work/hello.build.log" 2>&1 ||
    { cat "$work/hello.build.log" >&2; fail "building examples/hello"; }

exe=$work/hello/hello
[[ -x "$exe" ]] || fail "no executable $exe"
# Every name the executable defines in its dynamic symbol table, with type and size.
symbols=$(nm -D -S --defined-only "$exe" | awk 'NF == 4 { print $4, $3, $2 } NF == 3 { print $3, $2, "-" }' | sort)
echo "$symbols"
own=$(awk '$1 != "_edata" && $1 != "_end" && $1 != "__bss_start" { print $1 }' <<<"$symbols" | tr '\n' ' ')
[[ "$own" == "makeApp my_type " ]] || fail "exports are '$own', expected exactly makeApp and my_type"
grep -qx 'makeApp T [0-9a-f]*' <<<"$symbols" || fail "makeApp is not an exported function"
grep -qx 'my_type [RDB] 0*4' <<<"$symbols" || fail "my_type is not four bytes of data"
# The launcher, not the module, provides main; it is linked in, not exported.
nm "$exe" | grep -x '[0-9a-f]* T main' >/dev/null || fail "the executable has no main"

# --- The README's quotes of the example: the fenced block after each
# <!-- path --> marker holds that file exactly.
for f in examples/hello/CMakeLists.txt examples/hello/hello.cpp; do
    awk -v marker="<!-- $f -->" '
        $0 == marker { found = 1; next }
        found == 1 && /^```/ { found = 2; next }
        found == 2 && /^```/ { exit }
        found == 2 { print }' "$source/README.md" >"$work/quoted"
    [[ -s "$work/quoted" ]] || fail "README.md does not quote $f"
    diff -u "$source/$f" "$work/quoted" >&2 || fail "README.md quotes $f differently"
done

# --- A module that forgets my_type does not link.
mkdir -p "$work/broken.src"
cat >"$work/broken.src/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(broken LANGUAGES CXX)
find_package(zru REQUIRED)
zru_add_app(broken broken.cpp)
CMAKE
cat >"$work/broken.src/broken.cpp" <<'CPP'
#include <zru.h>
zrApp* makeApp(void) { return new zrApp(); }
CPP
configure "$work/broken.src" "$work/broken"
if cmake --build "$work/broken" >"$work/broken.build.log" 2>&1; then
    fail "a module without my_type linked"
fi
grep -q 'my_type' "$work/broken.build.log" || { cat "$work/broken.build.log" >&2; fail "the link error does not name my_type"; }

echo "package test passed"
