#!/usr/bin/env python3
"""What a user waits for: the real klokan99, driven through its window as the
end-to-end suite drives it, changes a folder of 10,000 files (Include
subfolders), timed from the Yes of the confirmation to the result box.
Beside it, loop (a) over the same entries (one open for attribute writing,
one SetFileTime, one close each) in the same Wine prefix and the same run.
Both are timed inside the prefix (gui_bench_helper.exe); the best of the
repetitions is kept, and the ratio is printed as gui/(a).

    gui_bench.py --build <64-bit build folder> [repetitions]   (scripts/bench runs it)

Not a test: it prints figures and fails only when the run cannot be driven.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import run_e2e as e  # noqa: E402

FILES = 10000
TARGET = (2009, 3, 4, 5, 6, 8)


def setup(build):
    e.BUILD = build
    e.WORK = os.path.join(build, "guibench-work")
    e.DRIVE = os.path.join(e.WORK, "drive")
    e.HELPER = "M:\\prog\\e2e_helper.exe"
    shutil.rmtree(e.WORK, ignore_errors=True)
    prog = os.path.join(e.DRIVE, "prog")
    os.makedirs(prog)
    for name in ("klokan99.exe", "KLOKAN99.TXT", "e2e_helper.exe", "gui_bench_helper.exe"):
        shutil.copy2(os.path.join(build, name), prog)
    folder = os.path.join(e.DRIVE, "files")
    os.makedirs(folder)
    kinds = (".txt", ".jpg", ".doc", ".dat")
    for i in range(FILES):
        with open(os.path.join(folder, "file%05d%s" % (i, kinds[i % 4])), "w") as f:
            f.write("x" * (64 + i % 200))
    e.ENV = e.make_prefix()
    e.check(e.helper("volume", "M:\\", timeout=180), "the helper does not run in the prefix")


def bench_helper(*args, timeout=600):
    done = e.run(["wine", "M:\\prog\\gui_bench_helper.exe"] + list(args), timeout=timeout)
    return dict(line.split(" ", 1) for line in done.stdout.splitlines() if " " in line)


def helper_loop(kind):
    """Loop (a) ("bare") or the calls every change makes ("calls") over M:\\files."""
    values = bench_helper(kind, "M:\\files")
    e.check(values.get("failures") == "0", "loop %s failed on %s entries" % (kind, values.get("failures")))
    return float(values["seconds"]), int(values["entries"])


def gui_run():
    """One change of M:\\files from the window; the seconds from Yes to the result box."""
    e.select_rows("klokan99", [0])
    e.set_include_subfolders("klokan99", True)
    e.pick_time("klokan99", TARGET)
    e.press_bar("klokan99", 2)
    e.wait_dialog("Confirmation")
    timer = subprocess.Popen(["wine", "M:\\prog\\gui_bench_helper.exe", "run", "Confirmation", "Information"],
                             env=e.ENV, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    e.STARTED.append(timer)
    e.check(timer.stdout.readline().strip() == "ready", "the timer did not start")
    e.key("y")
    out, _ = timer.communicate(timeout=600)
    e.check(timer.returncode == 0, "no result box after the change")
    seconds = float(out.split()[-1])
    e.answer("Information", ["Return"])
    return seconds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("repetitions", nargs="?", type=int, default=3)
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        print("gui_bench: no X display: run it through scripts/bench")
        return 1
    build = os.path.abspath(args.build)
    print("gui_bench: klokan99 changing a folder of %d files from its window, best of %d" %
          (FILES, args.repetitions), flush=True)
    status = 1
    try:
        setup(build)
        e.start("klokan99")
        view = e.list_view("KLOKAN_99")
        e.check(view["count"] == 2, "M:\\ should show files and prog, shows %d rows" % view["count"])
        gui, bare, calls = [], [], []
        entries = 0
        for _ in range(args.repetitions):
            seconds, entries = helper_loop("bare")
            bare.append(seconds)
            calls.append(helper_loop("calls")[0])
            gui.append(gui_run())
        print("  (a) open + SetFileTime + close over %d entries   %8.0f /s" % (entries, entries / min(bare)))
        print("  (c) the calls every change makes under Wine      %8.0f /s  (%.2f x (a))" %
              (entries / min(calls), min(calls) / min(bare)))
        print("  klokan99 from the Yes to the result box          %8.0f /s  (%.2f s)" %
              (entries / min(gui), min(gui)))
        print("  runs: gui %s s, (a) %s s" % (", ".join("%.2f" % g for g in gui),
                                              ", ".join("%.2f" % b for b in bare)))
        print("  gui/(a) %.2f (goal <= 1.6); gui/(c) %.2f, what the program adds to its calls" %
              (min(gui) / min(bare), min(gui) / min(calls)))
        status = 0
    except (e.Failed, subprocess.TimeoutExpired) as why:
        print("gui_bench failed: %s" % why)
    finally:
        for process in e.STARTED:
            if process.poll() is None:
                process.kill()
        if e.ENV:
            subprocess.run(["wineserver", "-k"], env=e.ENV, capture_output=True)
        shutil.rmtree(os.path.join(build, "guibench-work"), ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
