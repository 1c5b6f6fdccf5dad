#!/usr/bin/env python3
"""Code hygiene: clang-format as a failing check on every C++ file, and
clang-tidy with warnings as errors on the product's sources, each with the
compile commands of the build it belongs to.

  check_code.py format
  check_code.py tidy --host-build DIR --windows-build DIR --work-dir DIR
"""

import argparse
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HOST_SOURCES = ["update/adapter_scan.cc", "update/ascii_text.cc",
                "update/registry_value.cc", "update/run_sequence.cc",
                "update/value_update.cc", "platform/command_line.cc",
                "platform/message_boxes.cc", "platform/windows_services_emulated.cc"]
WINDOWS_SOURCES = ["platform/windows_services_win32.cc", "update/win_main.cc"]
# GCC options clang does not know; they change code generation, not meaning.
GCC_ONLY_OPTIONS = {"-fno-tree-loop-distribute-patterns"}


def cxx_files():
    listed = subprocess.run(["git", "ls-files", "*.cc", "*.h"], cwd=ROOT,
                            capture_output=True, text=True, check=True).stdout
    return [os.path.join(ROOT, f) for f in listed.split()]


def check_format():
    return subprocess.call(["clang-format", "--dry-run", "--Werror"] + cxx_files())


def clang_compile_commands(build_dir, work_dir):
    """A copy of the build's compile commands without GCC-only options."""
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        commands = json.load(f)
    for command in commands:
        command["command"] = " ".join(
            part for part in command["command"].split()
            if part not in GCC_ONLY_OPTIONS)
    os.makedirs(work_dir, exist_ok=True)
    with open(os.path.join(work_dir, "compile_commands.json"), "w") as f:
        json.dump(commands, f)
    return work_dir


def tidy(database, sources):
    return subprocess.call(["clang-tidy", "--quiet", "-p", database] +
                           [os.path.join(ROOT, s) for s in sources])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("check", choices=["format", "tidy"])
    parser.add_argument("--host-build")
    parser.add_argument("--windows-build")
    parser.add_argument("--work-dir")
    options = parser.parse_args()
    if options.check == "format":
        return 1 if check_format() else 0
    failed = tidy(options.host_build, HOST_SOURCES)
    windows = clang_compile_commands(options.windows_build, options.work_dir)
    failed |= tidy(windows, WINDOWS_SOURCES)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
