"""A throwaway Wine prefix and the runs made in it, for the end-to-end tests
and the demo: one persistent wine server, registry fixtures loaded and read
back by our regfixture helper, and the relay trace of the program's calls."""

import os
import re
import shutil
import subprocess
import tempfile

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"

CLASS_KEY = ("SYSTEM\\CurrentControlSet\\Control\\Class\\"
             "{4D36E972-E325-11CE-BFC1-08002BE10318}")
SERVICES_KEY = "SYSTEM\\CurrentControlSet\\Services"
NET_CLASS_KEY = "System\\CurrentControlSet\\Services\\Class\\Net"

REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD = 1, 2, 3, 4

TRACED_CALLS = ["advapi32.RegOpenKeyExA", "advapi32.RegQueryValueExA",
                "advapi32.RegSetValueExA", "advapi32.RegCloseKey",
                "user32.MessageBoxA"]


def class_key(slot):
    return "%s\\%04d" % (CLASS_KEY, slot)


def service_key(slot):
    return "%s\\VQ540%d\\Parameters" % (SERVICES_KEY, slot + 1)


def net_class_key(slot):
    return "%s\\%04d" % (NET_CLASS_KEY, slot)


def cleanup_root(path):
    """The key tree to delete after a fixture that created `path`: a service
    key with its Parameters subkey, otherwise the slot key itself."""
    if path.upper().startswith(SERVICES_KEY.upper() + "\\VQ540"):
        return path.rsplit("\\", 1)[0]
    return path


def dword(number, size=4):
    return (number & 0xFFFFFFFF).to_bytes(4, "little")[:size]


class Key:
    """A registry key of a fixture: values are name -> (type, bytes)."""

    def __init__(self, path, values=None, deny=False):
        self.path = path
        self.values = dict(values or {})
        self.deny = deny


class Run:
    """What one run of the program did: its exit code and traced calls."""

    def __init__(self, exit_code, calls):
        self.exit_code = exit_code
        self.calls = calls  # (function, [arguments], return value)

    def boxes(self):
        return [c[1] for c in self.calls if c[0] == "MessageBoxA"]

    def of(self, function):
        return [c for c in self.calls if c[0] == function]


def decode_wine_string(text):
    """Undoes the escaping of Wine's debugstr_a."""
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        n = text[i + 1]
        if n == "x":
            out.append(chr(int(text[i + 2:i + 4], 16)))
            i += 4
        elif n in "01234567":
            out.append(chr(int(text[i + 1:i + 4], 8)))
            i += 4
        else:
            out.append({"n": "\n", "r": "\r", "t": "\t"}.get(n, n))
            i += 2
    return "".join(out)


def split_arguments(text):
    """Splits a relay argument list: numbers become ints, pointers to strings
    the decoded strings."""
    arguments = []
    for match in re.finditer(r'([0-9a-fA-F]+)(?: (L?)"((?:[^"\\]|\\.)*)")?(?:,|$)',
                             text):
        number, _, string = match.groups()
        arguments.append(decode_wine_string(string) if string is not None
                         else int(number, 16))
    return arguments


CALL = re.compile(r'^[0-9a-f]+:Call (?:advapi32|user32)\.(\w+)\((.*)\) ret=[0-9a-f]+$')
RET = re.compile(r'^[0-9a-f]+:Ret  (?:advapi32|user32)\.(\w+)\(\) retval=([0-9a-f]+)')


def parse_relay(lines):
    """The program's traced calls, in order, each with its return value."""
    calls = []
    pending = []
    for line in lines:
        call = CALL.match(line)
        if call:
            pending.append(len(calls))
            calls.append([call.group(1), split_arguments(call.group(2)), None])
            continue
        ret = RET.match(line)
        if ret and pending:
            calls[pending.pop()][2] = int(ret.group(2), 16)
    return [tuple(c) for c in calls]


class WineSession:
    """A fresh prefix under `work_dir` with one persistent wine server."""

    def __init__(self, work_dir, program, fixture_tool, display=None):
        self.work_dir = os.path.abspath(work_dir)
        self.prefix = os.path.join(self.work_dir, "prefix")
        self.program = os.path.abspath(program)
        self.fixture_tool = os.path.abspath(fixture_tool)
        self.env = {k: v for k, v in os.environ.items()
                    if k.upper() != "DOZEGUARDENABLE" and k != "DISPLAY"}
        self.env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        # Wine's desktop process starts with the server and keeps the display
        # it found then: a session with windows has it from the start. Without
        # one, MessageBoxA returns at once.
        if display:
            self.env["DISPLAY"] = display
        self.desktop = None

    def __enter__(self):
        shutil.rmtree(self.work_dir, ignore_errors=True)
        os.makedirs(self.work_dir)
        self.wine(["wineboot", "-i"])
        self.server(["-w"])
        self.server(["-p"])
        debug = "HKCU\\Software\\Wine\\Debug"
        self.wine(["reg", "add", debug, "/v", "RelayInclude", "/d",
                   ";".join(TRACED_CALLS), "/f"])
        self.wine(["reg", "add", debug, "/v", "RelayFromInclude", "/d",
                   "DozeguardEnable.exe", "/f"])
        # While RelayFromExclude exists, Wine ignores RelayFromInclude.
        self.wine(["reg", "delete", debug, "/v", "RelayFromExclude", "/f"],
                  check=False)
        self.wine(["reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v",
                   "Managed", "/d", "N", "/f"])
        out = self.wine([self.fixture_tool, "desktop"])
        self.desktop = int(out.split("\t")[1], 16)
        return self

    def __exit__(self, *exc):
        self.server(["-k"], check=False)
        self.server(["-w"], check=False)
        shutil.rmtree(self.work_dir, ignore_errors=True)

    def run_command(self, command, env=None, check=True):
        # Wine's own services inherit the first program's output: use files,
        # never pipes, or the reader waits for ever.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.call(command, env=env or self.env, stdout=out,
                                   stderr=err, stdin=subprocess.DEVNULL)
            out.seek(0)
            err.seek(0)
            text, errors = out.read().decode("latin-1"), err.read().decode("latin-1")
        if check and code != 0:
            raise RuntimeError("%s exited %d: %s" % (command, code, errors[-2000:]))
        return code, text, errors

    def wine(self, arguments, check=True):
        return self.run_command([WINE] + arguments, check=check)[1]

    def server(self, arguments, check=True):
        return self.run_command([WINESERVER] + arguments, check=check)

    def fixture_file(self, version, keys):
        path = os.path.join(self.work_dir, "fixture.txt")
        with open(path, "w", encoding="latin-1", newline="\n") as f:
            if version:
                f.write("version\t%s\n" % version)
            for key in keys:
                f.write("key\t%s\n" % key.path)
                for name, (kind, data) in key.values.items():
                    f.write("value\t%s\t%d\t%s\n" % (name, kind, data.hex()))
                if key.deny:
                    f.write("deny\n")
        return path

    def load(self, version, keys):
        self.wine([self.fixture_tool, "load", self.fixture_file(version, keys)])

    def read_back(self, keys):
        """The listed keys as they are now: path -> {name: (type, bytes)},
        or path -> None for a key that does not open."""
        out = self.wine([self.fixture_tool, "dump",
                         self.fixture_file(None, keys)])
        result = {}
        current = None
        for line in out.splitlines():
            fields = line.split("\t")
            if fields[0] == "key":
                current = fields[1]
                result[current] = {} if len(fields) == 2 else None
            elif fields[0] == "value":
                result[current][fields[1]] = (int(fields[2]),
                                              bytes.fromhex(fields[3]))
        return result

    def clear(self, keys):
        command = [self.fixture_tool]
        for root in sorted({cleanup_root(k.path) for k in keys}):
            command += ["clear", root]
        if len(command) > 1:
            self.wine(command)

    def run_program(self, arguments, environment=None, trace=True):
        env = dict(self.env)
        env.update(environment or {})
        if trace:
            env["WINEDEBUG"] = "+relay"
        code, _, errors = self.run_command([WINE, self.program] + arguments, env=env,
                                    check=False)
        return Run(code, parse_relay(errors.splitlines()))
