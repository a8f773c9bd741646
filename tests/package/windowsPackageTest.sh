#!/usr/bin/env bash
# The installed package on the Windows target: installs a finished mingw-w64
# cross-build (scripts/windows-build.sh <build dir>) into a scratch prefix,
# builds examples/hello against it with find_package(zru) and zru_add_app,
# and checks hello.exe's export table with windows/checkExports.sh (module
# "hello.exe", makeApp ordinal 1, my_type ordinal 2, nothing else, console
# subsystem). This is the path on which the installed zruAppExports.def is used.
#
#   tests/package/windowsPackageTest.sh <windows build dir>
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:?usage: windowsPackageTest.sh <windows build dir>}" && pwd)
triplet=x86_64-w64-mingw32
work=$build/package-test
fail() { echo "FAIL: $*" >&2; exit 1; }

# The import library and headers of freeglut that windows-build.sh staged.
glut=$build/freeglut
[[ -f "$glut/lib/libfreeglut.dll.a" ]] || fail "no staged freeglut in $glut (run scripts/windows-build.sh $build first)"

rm -rf "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
# The toolchain file confines package searches to the target's root, so the
# package is named by its directory.
cmake -S "$root/examples/hello" -B "$work/hello" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="-Wall -Wextra -Wpedantic -Werror" \
    -Dzru_DIR="$work/prefix/lib/cmake/zru" \
    -DGLUT_INCLUDE_DIR="$glut/include" \
    -DGLUT_glut_LIBRARY_RELEASE="$glut/lib/libfreeglut.dll.a" >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log" >&2; fail "configuring examples/hello for Windows"; }
cmake --build "$work/hello" >"$work/build.log" 2>&1 ||
    { cat "$work/build.log" >&2; fail "building examples/hello for Windows"; }
OBJDUMP="$triplet-objdump" "$root/windows/checkExports.sh" "$work/hello/hello.exe"
echo "windowsPackageTest: hello.exe built against the installed package"
