#!/usr/bin/env python3
"""Runs DozeguardEnable.exe ON, then OFF, on a sample registry in a throwaway
Wine prefix and prints each adapter's DozeguardEnabled before and after."""

import argparse
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "tests", "wine"))
from wine_session import (  # noqa: E402
    REG_BINARY, REG_DWORD, REG_EXPAND_SZ, REG_SZ, Key, WineSession)

TYPE_NAMES = {REG_SZ: "REG_SZ", REG_EXPAND_SZ: "REG_EXPAND_SZ",
              REG_BINARY: "REG_BINARY", REG_DWORD: "REG_DWORD"}


def registry_keys(reg_file):
    """The HKEY_LOCAL_MACHINE keys a .reg file creates, relative to it."""
    with open(reg_file, encoding="latin-1") as f:
        return re.findall(r"^\[HKEY_LOCAL_MACHINE\\(.+)\]$", f.read(), re.M)


def show_value(values, name):
    if name not in values:
        return "(absent)"
    kind, data = values[name]
    if kind == REG_DWORD and len(data) == 4:
        shown = str(int.from_bytes(data, "little"))
    elif kind in (REG_SZ, REG_EXPAND_SZ):
        shown = '"%s"' % data.decode("utf-16-le").rstrip("\0")
    else:
        shown = data.hex()
    return "%s %s" % (TYPE_NAMES.get(kind, "type %d" % kind), shown)


def device_id(values):
    _, data = values.get("MatchingDeviceID", (REG_SZ, b""))
    return data.decode("utf-16-le").rstrip("\0")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True)
    parser.add_argument("--fixture-tool", required=True)
    parser.add_argument("--work-dir", required=True)
    parser.add_argument("--registry", required=True)
    options = parser.parse_args()

    keys = [Key(path) for path in registry_keys(options.registry)]
    columns = []
    exit_codes = []
    with WineSession(options.work_dir, options.program,
                     options.fixture_tool) as session:
        unix_path = os.path.abspath(options.registry)
        session.wine(["regedit", "/s", "Z:" + unix_path.replace("/", "\\")])
        session.load("winxp", [])  # the Windows version the program sees
        columns.append(("before", session.read_back(keys)))
        for state in ("ON", "OFF"):
            run = session.run_program([state], trace=False)
            exit_codes.append("DozeguardEnable %s exited %d" % (state, run.exit_code))
            columns.append(("after " + state, session.read_back(keys)))

    rows = [["slot", "MatchingDeviceID"] + [title for title, _ in columns]]
    for key in keys:
        first = columns[0][1][key.path]
        rows.append([key.path[-4:], device_id(first)] +
                     [show_value(values[key.path], "DozeguardEnabled")
                      for _, values in columns])
    widths = [max(len(row[i]) for row in rows) for i in range(len(rows[0]))]
    print()
    for row in rows:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())
    print()
    print("; ".join(exit_codes) + " (0: every adapter found is in the requested state)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
