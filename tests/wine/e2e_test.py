#!/usr/bin/env python3
"""End-to-end tests of DozeguardEnable.exe on Wine's real Windows API.

Each case loads a registry fixture, sets the Windows version the program
sees, runs it, and checks its exit code, every message box (text, caption,
owner, style, in order), the registry calls it made (paths opened, access,
each key closed before the next slot, writes with type and byte count) and
the registry afterwards.

  e2e_test.py cases  --program EXE --fixture-tool EXE --work-dir DIR
  e2e_test.py window --program EXE --fixture-tool EXE --work-dir DIR --shot PNG
  e2e_test.py command-line --program EXE --fixture-tool EXE --work-dir DIR \
      --splitter SPLIT_COMPARE_EXE
"""

import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine_session import (  # noqa: E402
    REG_BINARY, REG_DWORD, REG_EXPAND_SZ, REG_SZ, WINE, Key, WineSession, class_key,
    dword, net_class_key, service_key)

HKLM = 0xFFFFFFFF80000002  # HKEY_LOCAL_MACHINE as a 64-bit handle
KEY_ALL_ACCESS = 0xF003F
ERROR_ACCESS_DENIED = 5

OURS = b"PCI\\VEN_C2F7&DEV_1001&SUBSYS_00011C2F\0"
FOREIGN = b"PCI\\VEN_8086&DEV_100E\0"
USAGE = ("USAGE:  DozeguardEnable {ON|OFF}\n\n"
         "Turns Dozeguard ON or OFF for Norvane(R) Network Adapters\n\n"
         "DozeguardEnable ON - Turns Dozeguard ON\n"
         "DozeguardEnable OFF - Turns Dozeguard OFF\n\n"
         "The system must be rebooted before the change will take effect")
USAGE_BOX = (USAGE, "Dozeguard Update Utility")
CLASS_TEMPLATE = ("SYSTEM\\CurrentControlSet\\Control\\Class\\"
                  "{4D36E972-E325-11CE-BFC1-08002BE10318}\\%04d")
DIAGNOSTIC = {"DOZEGUARDENABLE": "0"}


def text(value):
    return (REG_SZ, value.encode("latin-1"))


def adapter(path, state_value=None, device_id=OURS, deny=False):
    values = {"MatchingDeviceID": (REG_SZ, device_id)} if device_id else {}
    if state_value is not None:
        values["DozeguardEnabled"] = state_value
    return Key(path, values, deny)


def written(state):
    """A text the program wrote with its byte count of 1, as the registry keeps
    it: NT (and Wine after it) counts a NUL that follows the data in memory,
    and the program's text buffer has one."""
    return text(state + "\0")


def stored(value):
    """How Wine stores a value written through the ANSI calls: text types as
    UTF-16, everything else as given."""
    kind, data = value
    if kind in (REG_SZ, REG_EXPAND_SZ):
        return (kind, data.decode("latin-1").encode("utf-16-le"))
    return value


class Case:
    def __init__(self, name, version, args, keys, exit_code, env=None,
                 boxes=(), scheme=class_key, writes=(), changes=None):
        self.name = name
        self.version = version
        self.args = args
        self.keys = keys
        self.exit_code = exit_code
        self.env = env or {}
        self.boxes = list(boxes)
        self.scheme = scheme        # slot -> path; None: no key is opened
        self.writes = list(writes)  # (path, value name, type, byte count)
        # path -> {value name: (type, ANSI bytes)} replaced after the run;
        # path -> None for a key that is still refused.
        self.changes = changes or {}


CASES = [
    Case("typical run on Windows XP", "winxp", ["ON"],
         [adapter(class_key(7), text("0"))], 0,
         writes=[(class_key(7), "DozeguardEnabled", REG_SZ, 1)],
         changes={class_key(7): {"DozeguardEnabled": written("1")}}),
    Case("Windows NT 4.0 walks the service keys", "nt40", ["ON"],
         [adapter(service_key(0), (REG_DWORD, dword(0))),
          adapter(service_key(63), (REG_DWORD, dword(0)), FOREIGN)], 0,
         scheme=service_key,
         writes=[(service_key(0), "DozeguardEnabled", REG_DWORD, 4)],
         changes={service_key(0): {"DozeguardEnabled": (REG_DWORD, dword(1))}}),
    Case("Windows 95 walks the 9x network class keys", "win95", ["OFF"],
         [adapter(net_class_key(0), text("1")), adapter(net_class_key(63))], 0,
         scheme=net_class_key,
         writes=[(net_class_key(0), "DozeguardEnabled", REG_SZ, 1),
                 (net_class_key(63), "DozeguardEnabled", REG_SZ, 1)],
         changes={net_class_key(0): {"DozeguardEnabled": written("0")},
                  net_class_key(63): {"DozeguardEnabled": written("0")}}),
] + [
    Case("%s walks the network class keys" % version, version, ["ON"],
         [adapter(class_key(0), (REG_DWORD, dword(0)))], 0,
         writes=[(class_key(0), "DozeguardEnabled", REG_DWORD, 4)],
         changes={class_key(0): {"DozeguardEnabled": (REG_DWORD, dword(1))}})
    for version in ("win98", "winme", "win2k", "win10")
] + [
    Case("NT 3.51 is refused after the version box", "nt351", ["ON"],
         [adapter(class_key(0), text("0"))], 1, env=DIAGNOSTIC,
         boxes=[("OS Version is 351", "OS")], scheme=None),
    Case("NT 3.51 is refused silently without argument", "nt351", [], [], 1,
         scheme=None),
    Case("no argument gives the usage box", "winxp", [],
         [adapter(class_key(0), text("0"))], 1, boxes=[USAGE_BOX], scheme=None),
    Case("a wrong argument gives the usage box", "winxp", ["ONE"],
         [adapter(class_key(0), text("0"))], 1, boxes=[USAGE_BOX], scheme=None),
    Case("a second argument is ignored", "winxp", ["on", "OFF"],
         [adapter(class_key(0), text("0"))], 0,
         writes=[(class_key(0), "DozeguardEnabled", REG_SZ, 1)],
         changes={class_key(0): {"DozeguardEnabled": written("1")}}),
    Case("dashes and slashes before the state", "winxp", ["/-Off"],
         [adapter(class_key(0), text("0"))], 0),
    Case("diagnostic mode shows every decision", "winxp", ["ON"],
         [adapter(class_key(2), text("0")),
          adapter(class_key(5), text("0"), FOREIGN)], 0, env=DIAGNOSTIC,
         boxes=[("OS Version is 501", "OS"),
                (CLASS_TEMPLATE, "Service Name"),
                ("1", "New parameter value"),
                (class_key(0), "Opening HKEY_LOCAL_MACHINE"),
                (class_key(2), "Opened HKEY_LOCAL_MACHINE"),
                (OURS[:-1].decode(), "MatchingDeviceID"),
                ("DozeguardEnabled is 0", "Current value"),
                ("New DozeguardEnabled is 1, RC = 0", "Updated"),
                (class_key(5), "Opened HKEY_LOCAL_MACHINE"),
                (FOREIGN[:-1].decode(), "MatchingDeviceID"),
                ("Didn't find PCI\\VEN_C2F7 in MatchingDeviceID",
                 "Not Norvane adapter")],
         writes=[(class_key(2), "DozeguardEnabled", REG_SZ, 1)],
         changes={class_key(2): {"DozeguardEnabled": written("1")}}),
    Case("each type of stored value", "winxp", ["ON"],
         [adapter(class_key(0), (REG_DWORD, dword(2))),
          adapter(class_key(1), (REG_BINARY, b"0")),
          adapter(class_key(2), text("1" * 199 + "\0")),
          adapter(class_key(3)),
          adapter(class_key(4), (REG_DWORD, dword(0) + b"\xaa\xbb")),
          adapter(class_key(5), (REG_DWORD, b"")),
          adapter(class_key(6), text(" +1\0")),
          adapter(class_key(7), (REG_EXPAND_SZ, b"0\0"))], 0,
         writes=[(class_key(0), "DozeguardEnabled", REG_DWORD, 4),
                 (class_key(1), "DozeguardEnabled", REG_BINARY, 1),
                 (class_key(2), "DozeguardEnabled", REG_SZ, 1),
                 (class_key(3), "DozeguardEnabled", REG_SZ, 1),
                 (class_key(4), "DozeguardEnabled", REG_DWORD, 6),
                 (class_key(5), "DozeguardEnabled", REG_DWORD, 4),
                 (class_key(7), "DozeguardEnabled", REG_EXPAND_SZ, 1)],
         changes={class_key(0): {"DozeguardEnabled": (REG_DWORD, dword(1))},
                  class_key(1): {"DozeguardEnabled": (REG_BINARY, b"1")},
                  class_key(2): {"DozeguardEnabled": written("1")},
                  class_key(3): {"DozeguardEnabled": written("1")},
                  class_key(4): {"DozeguardEnabled":
                                 (REG_DWORD, dword(1) + b"\xaa\xbb")},
                  class_key(5): {"DozeguardEnabled": (REG_DWORD, dword(1))},
                  class_key(7): {"DozeguardEnabled": (REG_EXPAND_SZ, b"1\0")}}),
    Case("a key that refuses to open gives exit code 2", "winxp", ["ON"],
         [adapter(class_key(1), text("0"), deny=True),
          adapter(class_key(4), text("0"))], 2,
         writes=[(class_key(4), "DozeguardEnabled", REG_SZ, 1)],
         changes={class_key(1): None,
                  class_key(4): {"DozeguardEnabled": written("1")}}),
]


def check_calls(case, run, desktop):
    """Returns the differences between what the case expects and what the
    relay trace shows."""
    problems = []
    boxes = [(b[1][1], b[1][2]) for b in run.of("MessageBoxA")]
    if boxes != case.boxes:
        problems.append("boxes: %r\n  expected %r" % (boxes, case.boxes))
    for _, (owner, _, _, style), _ in run.of("MessageBoxA"):
        if owner != desktop or style != 0:
            problems.append("box owner %x style %x, expected %x and 0"
                            % (owner, style, desktop))
    opens = [c[1] for c in run.of("RegOpenKeyExA")]
    expected_opens = ([] if case.scheme is None else
                      [[HKLM, case.scheme(s), 0, KEY_ALL_ACCESS] for s in range(64)])
    if [o[:4] for o in opens] != expected_opens:
        problems.append("opens: %r" % [o[1:4] for o in opens][:3])
    problems += check_keys_closed(run)
    writes = []
    current_path = None
    for function, arguments, result in run.calls:
        if function == "RegOpenKeyExA" and result == 0:
            current_path = arguments[1]
        if function == "RegSetValueExA":
            writes.append((current_path, arguments[1], arguments[3], arguments[5]))
    if writes != case.writes:
        problems.append("writes: %r\n  expected %r" % (writes, case.writes))
    return problems


def check_keys_closed(run):
    """Every key that opened is closed once, before the next slot."""
    problems = []
    open_keys = 0
    for function, _, result in run.calls:
        if function == "RegOpenKeyExA":
            if open_keys:
                problems.append("a key was still open at the next slot")
            open_keys += 1 if result == 0 else 0
        elif function == "RegCloseKey":
            open_keys -= 1
            if open_keys < 0:
                problems.append("a key was closed that was not open")
    if open_keys:
        problems.append("a key was left open at the end")
    return problems


def check_registry(session, case):
    expected = {}
    for key in case.keys:
        values = {n: stored(v) for n, v in key.values.items()}
        change = case.changes.get(key.path, {})
        if change is None:
            expected[key.path] = None
            continue
        values.update({n: stored(v) for n, v in change.items()})
        expected[key.path] = values
    actual = session.read_back(case.keys)
    if actual != expected:
        return ["registry after the run: %r\n  expected %r" % (actual, expected)]
    return []


def run_case(session, case):
    session.load(case.version, case.keys)
    try:
        run = session.run_program(case.args, case.env)
        problems = []
        if run.exit_code != case.exit_code:
            problems.append("exit code %d, expected %d"
                            % (run.exit_code, case.exit_code))
        problems += check_calls(case, run, session.desktop)
        problems += check_registry(session, case)
        return problems
    finally:
        session.clear(case.keys)


def run_cases(session):
    failed = 0
    for case in CASES:
        started = time.monotonic()
        problems = run_case(session, case)
        print("%s  %s (%.1f s)" % ("FAIL" if problems else "ok  ", case.name,
                                   time.monotonic() - started))
        for problem in problems:
            print("      " + problem)
        failed += bool(problems)
    print("%d passed, %d failed" % (len(CASES) - failed, failed))
    return failed == 0


def start_xvfb():
    display = ":%d" % (90 + os.getpid() % 100)
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "800x600x24",
                             "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    time.sleep(1)
    return display, xvfb


def run_window(session, shot):
    """Under Xvfb the usage box is a real window that Enter dismisses, after
    which the program exits 1."""
    env = session.env
    session.load("winxp", [])
    with open(os.path.join(session.work_dir, "program.log"), "w") as log:
        program = subprocess.Popen([WINE, session.program], env=env, stdout=log,
                                   stderr=log, stdin=subprocess.DEVNULL)
        window = wait_for_window(env, "Dozeguard Update Utility")
        if window is None:
            program.kill()
            print("FAIL  the usage box never appeared")
            print("0 passed, 1 failed")
            return False
        time.sleep(1)  # let the box finish drawing before the screenshot
        subprocess.check_call(["import", "-window", window, shot], env=env)
        code = dismiss_with_enter(env, window, program)
    passed = code == 1
    print("%s  usage box shown as a window, dismissed by Enter, exit code %s"
          % ("ok  " if passed else "FAIL", code))
    print("%d passed, %d failed" % (int(passed), int(not passed)))
    return passed


def wait_for_window(env, caption, seconds=60):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--all", "--onlyvisible",
                                "--name", "^%s$" % caption], env=env,
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.3)
    return None


def dismiss_with_enter(env, window, program, seconds=30):
    """Presses Enter until the program ends: a key sent while the window is
    still settling can be lost."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for command in (["xdotool", "windowfocus", "--sync", window],
                        ["xdotool", "key", "--window", window, "Return"]):
            try:
                subprocess.run(command, env=env, capture_output=True, timeout=5)
            except subprocess.TimeoutExpired:
                pass  # the window may be gone already; the wait below tells
        try:
            return program.wait(timeout=1)
        except subprocess.TimeoutExpired:
            continue
    program.kill()
    return None


def run_command_lines(session, splitter):
    """Our splitter against msvcrt.dll's __getmainargs, on a table of command
    lines that split_compare.exe holds."""
    code, out, _ = session.run_command([WINE, os.path.abspath(splitter)], check=False)
    print(out, end="")
    return code == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("mode", choices=["cases", "window", "command-line"])
    parser.add_argument("--program", required=True)
    parser.add_argument("--fixture-tool", required=True)
    parser.add_argument("--work-dir", required=True)
    parser.add_argument("--shot", help="where the window mode saves its screenshot")
    parser.add_argument("--splitter", help="split_compare.exe, for command-line")
    options = parser.parse_args()
    if options.mode != "window":
        with WineSession(options.work_dir, options.program,
                         options.fixture_tool) as session:
            passed = (run_cases(session) if options.mode == "cases"
                      else run_command_lines(session, options.splitter))
    else:
        display, xvfb = start_xvfb()
        try:
            with WineSession(options.work_dir, options.program,
                             options.fixture_tool, display) as session:
                passed = run_window(session, os.path.abspath(options.shot))
        finally:
            xvfb.terminate()
            xvfb.wait()
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
