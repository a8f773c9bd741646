#!/usr/bin/env bash
# Shows that windows/checkExports.sh tells a correct export table from the
# faults it exists to catch: it links tiny Windows programs with mingw-w64,
# each with one thing wrong, and expects the check to reject all of them and
# to accept the correct one.
#
#   windows/checkExportsTest.sh
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cc=${MINGW_CC:-x86_64-w64-mingw32-gcc}
work=$(mktemp -d)
trap '[[ -n "${KEEP_WORK:-}" ]] || rm -rf "$work"' EXIT

# An application module in miniature: the factory is code, the tag is data.
cat >"$work/app.c" <<'EOF'
void* makeApp(void) { return 0; }
const char my_type[4] = "App";
int main(void) { return makeApp() != 0; }
EOF
# The same two names with their kinds exchanged.
cat >"$work/swapped.c" <<'EOF'
char makeApp[4] = "App";
void my_type(void) {}
int main(void) { my_type(); return makeApp[3]; }
EOF
# A third name to export.
cat >"$work/extra.c" <<'EOF'
void* makeApp(void) { return 0; }
const char my_type[4] = "App";
int extra_name(void) { return 1; }
int main(void) { return makeApp() != 0 && extra_name(); }
EOF

printf 'EXPORTS\n    makeApp @1\n    my_type @2 DATA\n' >"$work/good.def"
printf 'EXPORTS\n    my_type @1 DATA\n    makeApp @2\n' >"$work/reordered.def"
printf 'EXPORTS\n    makeApp @1\n    my_type @2 DATA\n    extra_name @3\n' >"$work/extra.def"
printf 'EXPORTS\n    makeApp @1\n    my_type @2 DATA\n    extra_name @3 NONAME\n' >"$work/noname.def"
printf 'EXPORTS\n    makeApp @1\n' >"$work/short.def"

# case | expected verdict | source | .def ("-" for none) | output file | extra link flags
cases=(
    "correct table|accept|app.c|good.def|petalDemo.exe|"
    "no export table|reject|app.c|-|petalDemo.exe|"
    "ordinals exchanged|reject|app.c|reordered.def|petalDemo.exe|"
    "a third name|reject|extra.c|extra.def|petalDemo.exe|"
    "a third entry by ordinal only|reject|extra.c|noname.def|petalDemo.exe|"
    "my_type missing|reject|app.c|short.def|petalDemo.exe|"
    "function and data exchanged|reject|swapped.c|good.def|petalDemo.exe|"
    "windowed subsystem|reject|app.c|good.def|petalDemo.exe|-mwindows"
    "other module name|reject|app.c|good.def|other.exe|"
)

passed=0
failed=0
for entry in "${cases[@]}"; do
    IFS='|' read -r name expected source def output flags <<<"$entry"
    dir="$work/${name// /_}"
    mkdir -p "$dir"
    inputs=("$work/$source")
    [[ "$def" == - ]] || inputs+=("$work/$def")
    # shellcheck disable=SC2086 # flags is a word list
    "$cc" -o "$dir/$output" "${inputs[@]}" $flags
    if "$here/checkExports.sh" "$dir/$output" petalDemo.exe >"$dir/log" 2>&1; then
        verdict=accept
    else
        verdict=reject
    fi
    if [[ "$verdict" == "$expected" ]]; then
        passed=$((passed + 1))
        echo "ok: $name ($verdict)"
    else
        failed=$((failed + 1))
        echo "FAIL: $name: the check said $verdict, expected $expected" >&2
        sed 's/^/    /' "$dir/log" >&2
    fi
done

echo "checkExportsTest: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
