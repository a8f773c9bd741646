#!/usr/bin/env bash
# Checks the export table of an application executable built for Windows:
#
#   windows/checkExports.sh <app.exe> [expected module name]
#
# It must be a console program (subsystem 3) whose export table, under the
# module name of the file itself (or the one given), holds exactly two entries
# exported by name: makeApp as ordinal 1, pointing into code, and my_type as
# ordinal 2, pointing into data. Prints what it found and exits 1 on any
# difference.
set -euo pipefail

exe=${1:?usage: checkExports.sh <app.exe> [module name]}
module=${2:-$(basename "$exe")}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

[[ -f "$exe" ]] || { echo "checkExports: no such file: $exe" >&2; exit 1; }

headers=$("$objdump" -p "$exe")
sections=$("$objdump" -h "$exe")

failures=0
fail() {
    echo "checkExports: $exe: $*" >&2
    failures=$((failures + 1))
}

# Subsystem from the optional header, e.g. "Subsystem  00000003  (Windows CUI)".
subsystem=$(awk '$1 == "Subsystem" { print $2; exit }' <<<"$headers")
[[ -n "$subsystem" && $((16#$subsystem)) == 3 ]] || fail "subsystem is '${subsystem:-none}', expected 3 (console)"

image_base=$(awk '$1 == "ImageBase" { print $2; exit }' <<<"$headers")

# The export directory as objdump interprets it: one line per fact.
#   name <module>          from "Name  <rva> <module>"
#   base <n>               ordinal base
#   count <table> <hex n>  entries in the address table and the name table
#   rva <index> <hex rva>  export address table, index from 0
#   named <ordinal> <name> name pointer table, ordinal with the base added
exports=$(awk '
    /^The Export Tables/ { inside = 1; next }
    !inside { next }
    /^The Function Table|^PE File Base Relocations|^The Import Tables/ { exit }
    $1 == "Name" && NF == 3 { print "name", $3; next }
    /^Number in:/ { counts = 1; next }
    /^Table Addresses/ { counts = 0; next }
    $1 == "Ordinal" && $2 == "Base" { base = $3 + 0; print "base", base; next }
    counts && /Export Address Table[ \t]+[0-9a-fA-F]+$/ { print "count address", $NF; next }
    counts && /\[Name Pointer\/Ordinal\] Table[ \t]+[0-9a-fA-F]+$/ { print "count names", $NF; next }
    /^Export Address Table --/ { table = "address"; next }
    /^\[Ordinal\/Name Pointer\] Table/ {
        table = "names"
        # Newer objdumps print the biased ordinal and say so in the heading.
        biased = ($0 ~ /Ordinal Base/)
        next
    }
    /^[ \t]*$/ { table = ""; next }
    table == "address" && match($0, /\[ *[0-9]+\] \+base\[ *[0-9]+\] +[0-9a-fA-F]+/) {
        entry = substr($0, RSTART, RLENGTH)
        gsub(/[][+]|base/, " ", entry)
        split(entry, f, " ")
        print "rva", f[1], f[3]
        next
    }
    table == "names" && match($0, /\[ *[0-9]+\] +[^ \t]+/) {
        entry = substr($0, RSTART, RLENGTH)
        gsub(/[][]/, " ", entry)
        split(entry, f, " ")
        print "named", (biased ? f[1] : f[1] + base), f[2]
        next
    }
' <<<"$headers")

if [[ -z "$exports" ]]; then
    fail "has no export table"
else
    got_module=$(awk '$1 == "name" { print $2 }' <<<"$exports")
    [[ "$got_module" == "$module" ]] || fail "module name is '$got_module', expected '$module'"

    got_named=$(awk '$1 == "named" { print $2, $3 }' <<<"$exports" | sort -n)
    expected_named=$'1 makeApp\n2 my_type'
    if [[ "$got_named" != "$expected_named" ]]; then
        fail "exported names are [$(tr '\n' ';' <<<"$got_named")], expected [1 makeApp;2 my_type]"
    fi
    address_count=$(awk '$1 == "count" && $2 == "address" { print $3 }' <<<"$exports")
    [[ -n "$address_count" && $((16#$address_count)) == 2 ]] ||
        fail "export address table has ${address_count:-no} entries, expected 2 (no exports by ordinal only)"

    # makeApp must point into a code section, my_type into a data section.
    # objdump -h gives, per section, a line "idx name size vma ..." and a line of flags.
    base=$(awk '$1 == "base" { print $2 }' <<<"$exports")
    kind_of() { # ordinal -> "code", "data" or "none"
        local rva addr name size vma flags
        rva=$(awk -v index_="$(($1 - base))" '$1 == "rva" && $2 == index_ { print $3 }' <<<"$exports")
        [[ -n "$rva" ]] || { echo none; return; }
        addr=$((16#$image_base + 16#$rva))
        # One line per allocated section: name, hex size, hex address, flags.
        while read -r name size vma flags; do
            if ((addr >= 16#$vma && addr < 16#$vma + 16#$size)); then
                [[ "$flags" == *CODE* ]] && echo code || echo data
                return
            fi
        done < <(awk '
            $1 ~ /^[0-9]+$/ && NF >= 6 { name = $2; size = $3; vma = $4; next }
            name != "" { if (/ALLOC/) print name, size, vma, $0; name = "" }
        ' <<<"$sections")
        echo none
    }
    [[ $(kind_of 1) == code ]] || fail "ordinal 1 (makeApp) does not point into code"
    [[ $(kind_of 2) == data ]] || fail "ordinal 2 (my_type) does not point into data"
fi

if [[ $failures -gt 0 ]]; then
    exit 1
fi
echo "checkExports: $exe: module $module, 1 makeApp (code), 2 my_type (data), console subsystem"
