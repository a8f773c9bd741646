#!/usr/bin/env bash
# Cross-builds the applications for 64-bit Windows with mingw-w64 and checks
# petalDemo.exe's export table.
#
#   scripts/windows-build.sh [build-dir]      (default: build-windows)
#
# Installs what is missing (Debian packages), then:
#  1. stages freeglut's headers and an import library for freeglut.dll, made by
#     dlltool from windows/freeglut.def, in <build-dir>/freeglut (nothing of
#     freeglut is kept in the source tree);
#  2. configures with cmake/mingw-w64.cmake and builds every application;
#  3. checks that the export check rejects wrong tables (windows/checkExportsTest.sh),
#     then checks petalDemo.exe and every other application built: module name
#     "<app>.exe", makeApp as ordinal 1 and my_type as ordinal 2 and nothing
#     else, console subsystem;
#  4. checks that no application needs a DLL beyond freeglut.dll, OpenGL, GLU
#     and the system's own.
# Ends with status 0 only when all of that holds.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
mkdir -p "$build"
build=$(cd "$build" && pwd)
triplet=x86_64-w64-mingw32

"$root/scripts/ensure-packages.sh" build mingw

# 1. freeglut for the Windows target: its headers are the same on every
#    platform (they pick __declspec(dllimport) and <windows.h> under _WIN32);
#    only the library differs.
stage=$build/freeglut
rm -rf "$stage"
mkdir -p "$stage/include/GL" "$stage/lib"
glut_headers=(/usr/include/GL/glut.h /usr/include/GL/freeglut*.h)
for h in "${glut_headers[@]}"; do
    [[ -f "$h" ]] || { echo "windows-build.sh: missing $h (Debian package libglut-dev)" >&2; exit 1; }
done
cp "${glut_headers[@]}" "$stage/include/GL/"
"$triplet-dlltool" --input-def "$root/windows/freeglut.def" --dllname freeglut.dll \
    --output-lib "$stage/lib/libfreeglut.dll.a"

# 2. Configure and build.
cmake -S "$root" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DZRU_BUILD_TESTS=OFF \
    -DZRU_WERROR=ON \
    -DGLUT_INCLUDE_DIR="$stage/include" \
    -DGLUT_glut_LIBRARY_RELEASE="$stage/lib/libfreeglut.dll.a"
cmake --build "$build" -j2

exe=$build/petalDemo/petalDemo.exe
[[ -f "$exe" ]] || { echo "windows-build.sh: $exe was not built" >&2; exit 1; }
mapfile -t apps < <(find "$build" -name '*.exe' -not -path '*/CMakeFiles/*' -not -path "$stage/*" | sort)

# 3. The check itself first, then the real executables.
"$root/windows/checkExportsTest.sh"
for app in "${apps[@]}"; do
    OBJDUMP="$triplet-objdump" "$root/windows/checkExports.sh" "$app"
done

# 4. Imported DLLs: freeglut.dll beside the program, the rest from Windows.
for app in "${apps[@]}"; do
    unexpected=$("$triplet-objdump" -p "$app" | awk '/DLL Name:/ { print $3 }' |
        grep -v -i -x -E 'freeglut\.dll|opengl32\.dll|glu32\.dll|kernel32\.dll|user32\.dll|gdi32\.dll|msvcrt\.dll|ucrtbase\.dll|api-ms-win-crt-[a-z0-9-]+\.dll' || true)
    if [[ -n "$unexpected" ]]; then
        echo "windows-build.sh: $app also needs: $(tr '\n' ' ' <<<"$unexpected")" >&2
        exit 1
    fi
done

echo "windows-build.sh: built and checked ${apps[*]}"
