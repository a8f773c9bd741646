#!/usr/bin/env bash
# Checks the C++ sources against .clang-format and .clang-tidy; fails on any
# difference or finding.
#
#   scripts/lint.sh [--format-only | --tidy-only] [build-dir]   (default: build-lint)
#
# Formatting: clang-format --dry-run -Werror over every C and C++ source and
# header the repository holds (tracked, or new and not ignored).
# Tidy: clang-tidy over every source of the CMake build (its
# compile_commands.json, with the tests and benchmarks configured), and over
# the sources no target compiles, with the framework's include paths.
# Installs what it needs (Debian packages) when missing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
do_format=1
do_tidy=1
case "${1:-}" in
    --format-only) do_tidy=0; shift ;;
    --tidy-only) do_format=0; shift ;;
esac
build=${1:-$root/build-lint}
cd "$root"

# The tests configure only with everything they use present (GoogleTest, Python).
"$root/scripts/ensure-packages.sh" build e2e lint

mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.c' | sort -u)
status=0

if [[ $do_format -eq 1 ]]; then
    echo "lint.sh: $(clang-format --version | head -n 1), ${#sources[@]} files"
    if clang-format --dry-run -Werror "${sources[@]}"; then
        echo "lint.sh: formatting clean"
    else
        echo "lint.sh: formatting differs from .clang-format (clang-format -i <file> fixes it)" >&2
        status=1
    fi
fi

if [[ $do_tidy -eq 1 ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DZRU_BUILD_TESTS=ON \
        -DZRU_BUILD_BENCH=ON >/dev/null
    # Each source once, whatever number of targets compile it.
    mapfile -t compiled < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build/compile_commands.json" | sort -u)
    echo "lint.sh: $(clang-tidy --version | grep -m1 -o 'version [0-9.]*'), ${#compiled[@]} compiled sources"
    if ! run-clang-tidy -quiet -j 2 -p "$build" "${compiled[@]}"; then
        echo "lint.sh: clang-tidy findings above" >&2
        status=1
    fi
    # Sources outside the CMake build (built by scripts of their own).
    uncompiled=()
    for f in "${sources[@]}"; do
        [[ "$f" == *.cpp ]] || continue
        printf '%s\n' "${compiled[@]}" | grep -qx "$root/$f" || uncompiled+=("$f")
    done
    if [[ ${#uncompiled[@]} -gt 0 ]]; then
        echo "lint.sh: ${#uncompiled[@]} sources outside the CMake build: ${uncompiled[*]}"
        if ! clang-tidy --quiet "${uncompiled[@]}" -- -std=c++17 -DGLUT_DISABLE_ATEXIT_HACK \
            -I"$root/zru" -I"$root/petalDemo" -I"$root/tests/glDouble"; then
            echo "lint.sh: clang-tidy findings above" >&2
            status=1
        fi
    fi
fi

[[ $status -eq 0 ]] && echo "lint.sh: clean"
exit $status
