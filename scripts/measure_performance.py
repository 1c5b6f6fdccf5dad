#!/usr/bin/env python3
"""Whole-process timings under Wine, side by side in one run: the program on a
registry with 64 of the maker's adapters, against the floor (a Windows
program that does nothing, built the same way) and against a batch file that
does the same job with reg.exe. Each round runs the three in turn, so that a
change in the machine's load reaches all three alike."""

import argparse
import os
import shutil
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "tests", "wine"))
from wine_session import WINE, Key, WineSession, class_key, REG_SZ  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def summary(times):
    ordered = sorted(times)
    quartiles = statistics.quantiles(ordered, n=4)
    return {"median": statistics.median(ordered), "min": ordered[0],
            "max": ordered[-1], "iqr": quartiles[2] - quartiles[0]}


def timed(session, command):
    started = time.monotonic()
    code, _, _ = session.run_command(command, check=False)
    return time.monotonic() - started, code


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "win64"))
    parser.add_argument("--runs", type=int, default=10)
    options = parser.parse_args()

    program = os.path.join(options.build, "DozeguardEnable.exe")
    adapters = [Key(class_key(slot), {
        "MatchingDeviceID": (REG_SZ, b"PCI\\VEN_C2F7&DEV_1229\0"),
        "DozeguardEnabled": (REG_SZ, b"0\0")}) for slot in range(64)]
    work_dir = os.path.join(options.build, "measure")
    with WineSession(work_dir, program,
                     os.path.join(options.build, "regfixture.exe")) as session:
        session.load("winxp", adapters)
        batch = os.path.join(work_dir, "reg_job.bat")
        shutil.copy(os.path.join(ROOT, "tests", "benchmark", "reg_job.bat"), batch)
        batch_path = "Z:" + batch.replace("/", "\\")
        floor = os.path.join(options.build, "do_nothing.exe")
        times = {"floor": [], "program": [], "batch": []}
        for run in range(options.runs):
            state = ("ON", "OFF")[run % 2]  # every run changes all 64 values
            batch_state = "1" if state == "ON" else "0"
            for name, command in (
                    ("floor", [WINE, floor]),
                    ("program", [WINE, program, state]),
                    ("batch", [WINE, "cmd", "/c", batch_path, batch_state])):
                seconds, code = timed(session, command)
                if code != 0:
                    raise SystemExit("%s exited %d" % (name, code))
                times[name].append(seconds)
            print("run %d: floor %.3f s, program %.3f s, batch %.2f s" %
                  (run + 1, times["floor"][-1], times["program"][-1],
                   times["batch"][-1]), flush=True)
        after = session.read_back(adapters[:1])

    print()
    print("| command | median | min | max | interquartile range |")
    print("|---|---|---|---|---|")
    stats = {name: summary(values) for name, values in times.items()}
    for name, s in stats.items():
        print("| %s | %.3f s | %.3f s | %.3f s | %.3f s |" %
              (name, s["median"], s["min"], s["max"], s["iqr"]))
    floor, ours, batch = (stats[n]["median"] for n in ("floor", "program", "batch"))
    print()
    print("program / floor: %.2f; program above floor: %.3f s; batch / program: %.1f"
          % (ours / floor, ours - floor, batch / ours))
    print("last value in slot 0000 after the runs: %r" % after)
    return 0


if __name__ == "__main__":
    sys.exit(main())
