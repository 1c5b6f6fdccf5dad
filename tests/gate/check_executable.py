#!/usr/bin/env python3
"""Compatibility gate for a DozeguardEnable.exe build: its imports, its PE
header, its instructions (32-bit build), its one resource and its size.

  check_executable.py --exe EXE --objdump OBJDUMP --bits 32|64
"""

import argparse
import os
import re
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ALLOWED_DLLS = {"KERNEL32.dll", "USER32.dll", "ADVAPI32.dll"}
MAX_SIZE = 16 * 1024

# Instructions the 80386 does not have (486, Pentium, Pentium Pro and later),
# matched as mnemonics at the start of the disassembled instruction.
NOT_ON_80386 = ["cmov", "bswap", "cmpxchg", "xadd", "invd", "wbinvd", "invlpg",
                "cpuid", "rdtsc", "rdmsr", "wrmsr", "rsm", "fcomi", "fucomi",
                "fcmov", "sysenter", "sysexit", "syscall", "sysret", "ud2",
                "popcnt", "lzcnt", "tzcnt", "movbe", "prefetch", "clflush",
                "fxsave", "fxrstor", "emms", "femms", "rdpmc", "lfence",
                "sfence", "mfence", "pause", "fisttp"]
# MMX, SSE and AVX registers.
VECTOR_REGISTER = re.compile(r"%[xyz]?mm\d")

VERSION_STRINGS = [
    ("Comments", "Supported options: OFF ON"),
    ("CompanyName", None),  # the maker's name: any non-empty text
    ("FileDescription", "LAN Driver Dozeguard Update Utility"),
    ("FileVersion", "1, 0, 0, 0"),
    ("InternalName", "DozeguardEnable"),
    ("LegalCopyright", None),
    ("OriginalFilename", "DozeguardEnable.exe"),
    ("ProductName", "DozeguardEnable"),
    ("ProductVersion", "1, 0, 0, 0"),
]
EXIFTOOL_FIXED = {
    "FileVersionNumber": "1.0.0.0",
    "ProductVersionNumber": "1.0.0.0",
    "FileFlagsMask": "0x003f",
    "FileFlags": "(none)",
    "FileOS": "Windows NT 32-bit",
    "ObjectFileType": "Executable application",
    "FileSubtype": "0",
    "LanguageCode": "English (U.S.)",
    "CharacterSet": "Unicode",
}


def version_key(text):
    return tuple(int(part) for part in text.split("."))


def allowed_imports():
    allowed, problems = set(), []
    with open(os.path.join(HERE, "allowed_imports.tsv")) as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            dll, function, first_9x, first_nt = line.split()
            if dll not in ALLOWED_DLLS:
                problems.append("allowed list names %s" % dll)
            if version_key(first_9x) > (95,) or version_key(first_nt) > (4, 0):
                problems.append("%s needs Windows %s / NT %s" %
                                (function, first_9x, first_nt))
            allowed.add((dll, function))
    return allowed, problems


def imports(headers):
    found, dll = set(), None
    for line in headers.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1)
            continue
        entry = re.match(r"\s*[0-9a-f]+\s+\d+\s+(\w+)$", line)
        if dll and entry:
            found.add((dll, entry.group(1)))
        elif not line.strip():
            dll = None
    return found


def check_imports(headers):
    allowed, problems = allowed_imports()
    found = imports(headers)
    if not found:
        problems.append("no imports found: objdump output not understood")
    problems += ["imports %s!%s, not in allowed_imports.tsv" % pair
                 for pair in sorted(found - allowed)]
    dlls = {dll for dll, _ in found}
    problems += ["imports from %s" % dll for dll in sorted(dlls - ALLOWED_DLLS)]
    return problems


def header_field(headers, name):
    match = re.search(r"^%s\s+(\S+)" % name, headers, re.M)
    return match.group(1) if match else None


def check_header(headers, file_info, bits):
    problems = []
    if header_field(headers, "Subsystem") != "00000002":
        problems.append("not a GUI-subsystem program")
    if bits == 32:
        if "architecture: i386," not in file_info:
            problems.append("machine is not i386")
        for field in ("MajorOSystemVersion", "MajorSubsystemVersion"):
            if header_field(headers, field) != "4":
                problems.append("%s is not 4" % field)
        for field in ("MinorOSystemVersion", "MinorSubsystemVersion"):
            if header_field(headers, field) != "0":
                problems.append("%s is not 0" % field)
    return problems


def check_instructions(disassembly):
    problems = []
    for line in disassembly.splitlines():
        fields = line.split("\t")
        if len(fields) < 2 or not re.match(r"\s*[0-9a-f]+:$", fields[0]):
            continue
        instruction = fields[-1].strip()
        mnemonic = instruction.split(" ")[0]
        if (any(mnemonic.startswith(bad) for bad in NOT_ON_80386)
                or VECTOR_REGISTER.search(instruction)):
            problems.append("not on the 80386: " + line.strip())
    return problems


def check_resource_directory(headers):
    """Exactly one resource: type 16 (version), name 1, language 1033."""
    section = headers.split("The .rsrc Resource Directory section:")
    if len(section) < 2:
        return ["no resource directory"]
    entries = re.findall(r"Entry: ID: 0x([0-9a-f]+)", section[1])
    names = re.findall(r"Entry: name:", section[1])
    if [int(e, 16) for e in entries] != [16, 1, 0x409] or names:
        return ["resources other than the one version record: %s" % entries]
    return []


def read_fixed_file_info(data):
    """The VS_FIXEDFILEINFO fields and the translation entry, read from the
    file's bytes."""
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None, None
    fields = struct.unpack_from("<13I", data, at)
    translation = data.find("Translation".encode("utf-16-le"))
    pair = None
    if translation >= 0:
        value = (translation + 24 + 3) & ~3  # name, NUL, 32-bit alignment
        pair = struct.unpack_from("<HH", data, value)
    return fields, pair


def canonical_tag(tag):
    for name in list(EXIFTOOL_FIXED) + [name for name, _ in VERSION_STRINGS]:
        if name.lower() == tag.lower():
            return name
    return tag


def check_version_record(exe):
    problems = []
    with open(exe, "rb") as f:
        fields, translation = read_fixed_file_info(f.read())
    if fields is None:
        return ["no VS_FIXEDFILEINFO"]
    (_, _, file_ms, file_ls, product_ms, product_ls, mask, flags, os_code,
     file_type, subtype, date_ms, date_ls) = fields
    expected = (0x10000, 0, 0x10000, 0, 0x3F, 0, 0x40004, 1, 0, 0, 0)
    actual = (file_ms, file_ls, product_ms, product_ls, mask, flags, os_code,
              file_type, subtype, date_ms, date_ls)
    if actual != expected:
        problems.append("fixed fields %s, expected %s" % (actual, expected))
    if translation != (0x409, 1200):
        problems.append("translation %s, expected (1033, 1200)" % (translation,))

    out = subprocess.run(["exiftool", "-S", exe], capture_output=True,
                         text=True, check=True).stdout
    # exiftool spells some tags in its own case (OriginalFileName).
    tags = [tuple(line.split(": ", 1)) for line in out.splitlines() if ": " in line]
    tags = [(canonical_tag(tag), value) for tag, value in tags]
    values = dict(tags)
    for tag, value in EXIFTOOL_FIXED.items():
        if values.get(tag) != value:
            problems.append("exiftool %s: %r, expected %r" % (tag, values.get(tag), value))
    order = [tag for tag, _ in tags if tag in dict(VERSION_STRINGS)]
    if order != [tag for tag, _ in VERSION_STRINGS]:
        problems.append("version strings in order %s" % order)
    for tag, value in VERSION_STRINGS:
        shown = values.get(tag)
        if (value is None and not shown) or (value is not None and shown != value):
            problems.append("exiftool %s: %r, expected %r" % (tag, shown, value))
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--bits", type=int, choices=[32, 64], required=True)
    options = parser.parse_args()

    def objdump(*flags):
        return subprocess.run([options.objdump, *flags, options.exe],
                              capture_output=True, text=True, check=True).stdout

    headers = objdump("-p")
    checks = [
        ("imports only Windows 95 / NT 4.0 functions of the three DLLs",
         lambda: check_imports(headers)),
        ("PE header", lambda: check_header(headers, objdump("-f"), options.bits)),
        ("exactly one resource, the version record",
         lambda: check_resource_directory(headers)),
        ("version record fields", lambda: check_version_record(options.exe)),
        ("at most 16 KiB", lambda: [] if os.path.getsize(options.exe) <= MAX_SIZE
         else ["%d bytes" % os.path.getsize(options.exe)]),
    ]
    if options.bits == 32:
        checks.append(("no instruction the 80386 lacks",
                       lambda: check_instructions(objdump("-d", "--no-show-raw-insn"))))
    failed = 0
    for name, check in checks:
        problems = check()
        print("%s  %s" % ("FAIL" if problems else "ok  ", name))
        for problem in problems[:20]:
            print("      " + problem)
        failed += bool(problems)
    print("%d passed, %d failed" % (len(checks) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
