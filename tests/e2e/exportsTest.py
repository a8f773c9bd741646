#!/usr/bin/env python3
"""The names an application executable exports from its dynamic symbol table.

An application executable exports exactly `makeApp` (a function) and
`my_type` (four bytes of data: "App" and a zero byte); the linker's own
_edata, _end and __bss_start may stand beside them.

    exportsTest.py --exe build/petalDemo/petalDemo --bad-fixture build/tests/e2eBadExports
"""

import argparse
import re
import subprocess
import sys
import unittest

EXE = None
BAD_FIXTURE = None

LINKER_NAMES = {"_edata", "_end", "__bss_start"}


def tool(*cmd):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True,
                          timeout=30).stdout.decode()


def defined_dynamic_symbols(path):
    """{name: (letter, address, size or None)} from nm -D --defined-only -S."""
    symbols = {}
    for line in tool("nm", "-D", "--defined-only", "-S", path).splitlines():
        fields = line.split()
        if len(fields) == 4:
            address, size, letter, name = fields
            symbols[name] = (letter, int(address, 16), int(size, 16))
        elif len(fields) == 3:
            address, letter, name = fields
            symbols[name] = (letter, int(address, 16), None)
        else:
            raise AssertionError("unexpected nm line %r" % line)
    return symbols


def read_at_address(path, address, count):
    """count bytes of the file's section image at a virtual address."""
    section = re.compile(r"\[\s*\d+\]\s+(\S+)\s+(\S+)\s+([0-9a-f]+)\s+([0-9a-f]+)\s+([0-9a-f]+)")
    for line in tool("readelf", "-S", "-W", path).splitlines():
        m = section.search(line)
        if not m or m.group(2) == "NOBITS":
            continue
        start, offset, size = (int(m.group(i), 16) for i in (3, 4, 5))
        if start != 0 and start <= address and address + count <= start + size:
            with open(path, "rb") as f:
                f.seek(offset + address - start)
                return f.read(count)
    raise AssertionError("no section of %s holds 0x%x" % (path, address))


def export_problems(path):
    """Everything wrong with the executable's exports, as sorted text lines."""
    symbols = defined_dynamic_symbols(path)
    problems = []
    for name in sorted(set(symbols) - LINKER_NAMES - {"makeApp", "my_type"}):
        problems.append("exports %s" % name)
    if "makeApp" not in symbols:
        problems.append("makeApp missing")
    elif symbols["makeApp"][0] != "T":
        problems.append("makeApp is of kind %s, not a function (T)" % symbols["makeApp"][0])
    if "my_type" not in symbols:
        problems.append("my_type missing")
    else:
        letter, address, size = symbols["my_type"]
        if letter not in ("R", "D"):
            problems.append("my_type is of kind %s, not data (R or D)" % letter)
        if size != 4:
            problems.append("my_type has size %r, not 4" % size)
        if read_at_address(path, address, 4) != b"App\0":
            problems.append("my_type holds %r, not 'App\\0'" % read_at_address(path, address, 4))
    return sorted(problems)


class ExportsTest(unittest.TestCase):
    def test_demo_exports_exactly_makeApp_and_my_type(self):
        self.assertEqual(export_problems(EXE), [])
        names = set(defined_dynamic_symbols(EXE))
        self.assertTrue({"makeApp", "my_type"} <= names)

    def test_check_finds_each_fault_of_a_bad_module(self):
        # The fixture exports a stray variable, and a my_type of the wrong
        # size and content beside a proper makeApp.
        self.assertEqual(export_problems(BAD_FIXTURE), [
            "exports strayCounter",
            "my_type has size 8, not 4",
            "my_type holds b'Appl', not 'App\\0'",
        ])


def main():
    global EXE, BAD_FIXTURE
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--bad-fixture", required=True)
    options, rest = parser.parse_known_args()
    EXE, BAD_FIXTURE = options.exe, options.bad_fixture
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
