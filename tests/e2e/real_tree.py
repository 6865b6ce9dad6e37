#!/usr/bin/env python3
"""A check on a real tree nobody here wrote, not a test: both programs change
a copy of the machine's /usr/share/doc (thousands of files, odd names,
symbolic links) through their real windows, with links added that lead out
of the chosen folder. Snapshots of the whole drive, taken on the Linux side
before and after, must show every entry inside changed and nothing else:
not the links, not what they lead to. Undo last change must then give the
drive back as it was before the run, entry by entry.

    real_tree.py --build <64-bit build folder>     (scripts/real_tree runs it)
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

import run_e2e as e
import xdnd_drop

BUILD = None

# Names another system wrote, put into each copy of the tree: all are
# changed (those Windows cannot spell through their short names) except a
# name with a tab (no short name) and one holding a backslash, which the
# closing report names instead.
ODD_FILES = ["space folder /x.txt", "dot space. /y.txt", "why?folder/inner.txt", " leading.txt",
             "trailing.txt ", "aux.txt", "lt<gt>.txt", "pipe|.txt", "\u00e9.txt", "e\u0301.txt",
             "tab\t.txt", "back\\slash.txt"]
ODD_UNREACHABLE = ("tab\t.txt", "back\\slash.txt")


def snapshot(root):
    """Every entry below root by relative path: (kind, mtime, mode, size, link target)."""
    items = {}
    for folder, dirs, files in os.walk(root, followlinks=False):
        for name in dirs + files:
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root)
            st = os.lstat(path)
            target = os.readlink(path) if os.path.islink(path) else None
            items[rel] = (st.st_mode >> 12, int(st.st_mtime), st.st_mode & 0o7777, st.st_size, target)
    return items


def setup():
    e.BUILD = BUILD
    e.WORK = os.path.join(BUILD, "realtree-work")
    e.DRIVE = os.path.join(e.WORK, "drive")
    e.HELPER = "M:\\prog\\e2e_helper.exe"
    shutil.rmtree(e.WORK, ignore_errors=True)
    prog = os.path.join(e.DRIVE, "prog")
    os.makedirs(prog)
    for name in ("klokan99.exe", "klokan98.exe", "KLOKAN99.TXT", "KLOKAN98.TXT", "e2e_helper.exe"):
        shutil.copy2(os.path.join(BUILD, name), prog)
    os.makedirs(os.path.join(e.DRIVE, "drops"))
    for tree in ("realdoc", "drops/realdoc2"):
        subprocess.run(["cp", "-a", "/usr/share/doc", os.path.join(e.DRIVE, tree)], check=True)
    for tree in ("realdoc", "drops/realdoc2"):
        for rel in ODD_FILES:
            path = os.path.join(e.DRIVE, tree, "odd names", rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w") as f:
                f.write(rel + "\n")
    outside = os.path.join(e.DRIVE, "outside")
    os.makedirs(os.path.join(outside, "dir"))
    for rel in ("victim.txt", "victim2.txt", "dir/x.txt"):
        with open(os.path.join(outside, rel), "w") as f:
            f.write(rel + "\n")
    os.symlink("../outside/victim.txt", os.path.join(e.DRIVE, "realdoc", "link-to-outside.txt"))
    os.symlink("../outside/dir", os.path.join(e.DRIVE, "realdoc", "link-to-outside-dir"))
    os.symlink("../../outside/victim.txt", os.path.join(e.DRIVE, "drops/realdoc2", "link-to-outside.txt"))
    os.symlink("../../outside/dir", os.path.join(e.DRIVE, "drops/realdoc2", "link-to-outside-dir"))
    os.symlink("../outside/victim2.txt", os.path.join(e.DRIVE, "drops", "flink.txt"))
    # Old times everywhere, so that a change shows.
    subprocess.run(["find", e.DRIVE, "-path", prog, "-prune", "-o", "-exec", "touch", "-h", "-d",
                    "2001-02-03 04:05:06", "{}", "+"], check=True)
    e.ENV = e.make_prefix()
    e.check(e.helper("volume", "M:\\", timeout=180), "the helper does not run")


def compare(before, after, target_epoch, chosen_prefixes, what):
    changed_inside = unchanged_inside = changed_outside = 0
    problems = []
    for rel, old in before.items():
        new = after.get(rel)
        if new is None:
            problems.append("gone: " + rel)
            continue
        if new[2:] != old[2:] or new[0] != old[0]:
            problems.append("mode/size/link changed: %s %s -> %s" % (rel, old, new))
        inside = any(rel == p or rel.startswith(p + "/") for p in chosen_prefixes)
        is_link = old[4] is not None
        changed = new[1] != old[1]
        if inside and not is_link and os.path.basename(rel) in ODD_UNREACHABLE:
            if changed:
                problems.append("changed though no path reaches it: " + rel)
        elif inside and not is_link:
            if new[1] == target_epoch:
                changed_inside += 1
            else:
                unchanged_inside += 1
                problems.append("inside, not changed: %s (%s)" % (rel, time.ctime(new[1])))
        elif changed:
            changed_outside += 1
            problems.append("changed though not chosen (or a link): " + rel)
    for rel in after:
        if rel not in before:
            problems.append("new: " + rel)
    print("%s: %d entries compared, %d inside changed, %d inside unchanged, %d outside changed" %
          (what, len(before), changed_inside, unchanged_inside, changed_outside))
    for p in problems[:20]:
        print("   ", p)
    return not problems


def undo_and_compare(name, before):
    """Undo last change through the window menu's command; the drive must be
    as it was before the run, entry by entry."""
    e.check(e.helper("undo", e.PROGRAMS[name]["class"], "-") is not None, "no undo command posted")
    e.answer("Question", ["y"])
    e.wait_dialog("Information", timeout=600)
    e.answer("Information", ["Return"])
    after = snapshot(e.DRIVE)
    problems = ["%s: %s -> %s" % (rel, old, after.get(rel)) for rel, old in before.items()
                if after.get(rel) != old]
    problems += ["new: " + rel for rel in after if rel not in before]
    print("%s undo: %d entries compared, %d differ from before the run" % (name, len(before), len(problems)))
    for p in problems[:20]:
        print("   ", p)
    return not problems


def epoch_of(target):
    return int(time.mktime(time.strptime("%04d-%02d-%02d %02d:%02d:%02d" % target, "%Y-%m-%d %H:%M:%S")))


def klokan99_run():
    target = (2011, 7, 8, 9, 10, 12)
    process = e.start("klokan99")
    view = e.list_view("KLOKAN_99")
    # M:\ lists drops, outside, prog, realdoc
    e.check(view["count"] == 4, "M:\\ shows %d rows" % view["count"])
    e.select_rows("klokan99", [3])
    e.set_include_subfolders("klokan99", True)
    e.pick_time("klokan99", target)
    before = snapshot(e.DRIVE)
    started = time.monotonic()
    e.press_bar("klokan99", 2)
    e.answer("Confirmation", ["y"])
    e.wait_dialog("Information", timeout=600)
    took = time.monotonic() - started
    # The whole text, line by line: a line of the list begins with spaces.
    report = e.run(["wine", e.HELPER, "boxtext", "Information"], check_rc=False, timeout=15).stdout
    e.answer("Information", ["Return"])
    after = snapshot(e.DRIVE)
    print("klokan99 run took %.1f s" % took)
    named = all("\\odd names\\%s  (" % name in report for name in ODD_UNREACHABLE)
    print("klokan99 report names what no path reaches: %s" % named)
    ok = compare(before, after, epoch_of(target), ["realdoc"], "klokan99") and named
    ok = undo_and_compare("klokan99", before) and ok
    ok = stopped_run("klokan99", target, before) and ok
    return killed_run("klokan99", target, before, process) and ok


def stopped_run(name, target, before):
    """The same run again, stopped with Esc once its title shows progress:
    every entry is either changed or as it was, and Undo gives the drive
    back as it was."""
    e.select_rows(name, [3])
    # A click on a row shows its time in the lists: the target is picked after.
    e.pick_time(name, target)
    e.press_bar(name, 2)
    e.answer("Confirmation", ["y"])
    progress = "^Retempo \\[I\\] [0-9,]+ / [0-9,]+$"
    found = e.wait_until("progress in the title",
                         lambda: e.xdo("search", "--name", progress).stdout.strip(), timeout=60)
    print("%s title while running: %s" % (name, e.xdo("getwindowname", found.split()[0]).stdout.strip()))
    e.key("Escape")
    e.answer("Question", ["y"])
    e.wait_dialog("Information", timeout=120)
    e.answer("Information", ["Return"])
    e.check(not e.xdo("search", "--name", progress).stdout.strip(), "the title still shows progress")
    after = snapshot(e.DRIVE)
    target_epoch = epoch_of(target)
    changed = sum(1 for rel, old in before.items() if after.get(rel, old)[1] != old[1])
    mixed = [rel for rel, old in before.items()
             if after.get(rel) != old and (after.get(rel) is None or after[rel][1] != target_epoch)]
    print("%s stopped: %d entries changed, %d neither changed nor as before" % (name, changed, len(mixed)))
    for rel in mixed[:20]:
        print("   ", rel)
    ok = 0 < changed and not mixed
    return undo_and_compare(name, before) and ok


def killed_run(name, target, before, process):
    """The same run again, the whole process killed from outside once its
    title shows progress: the next start names the run cut off before
    anything else, and Yes gives the drive back as it was."""
    e.select_rows(name, [3])
    e.pick_time(name, target)
    e.press_bar(name, 2)
    e.answer("Confirmation", ["y"])
    progress = "^Retempo \\[I\\] [0-9,]+ / [0-9,]+$"
    e.wait_until("progress in the title", lambda: e.xdo("search", "--name", progress).stdout.strip(),
                 timeout=60)
    time.sleep(1)
    subprocess.run(["pkill", "-9", "-f", "%s.exe" % name])
    process.wait(timeout=30)
    e.wait_until("the window to go", lambda: not e.x_windows("Retempo [I]"), timeout=30)
    killed = snapshot(e.DRIVE)
    changed = sum(1 for rel, old in before.items() if killed.get(rel, old)[1] != old[1])
    print("%s killed: %d entries changed" % (name, changed))
    restarted = subprocess.Popen(["wine", "M:\\prog\\%s.exe" % name], env=e.program_env(False),
                                 cwd=os.path.join(e.DRIVE, "prog"), stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
    e.STARTED.append(restarted)
    e.wait_dialog("Warning", timeout=60)
    question = e.helper("boxtext", "Warning") or {}
    print("%s restarted, asks: %s" % (name, " / ".join("%s %s" % kv for kv in question.items())))
    e.key("y")
    e.wait_gone("Warning")
    e.wait_dialog("Information", timeout=600)
    e.answer("Information", ["Return"])
    e.wait_until("the list", lambda: e.list_view(e.PROGRAMS[name]["class"]), timeout=60)
    after = snapshot(e.DRIVE)
    problems = ["%s: %s -> %s" % (rel, old, after.get(rel)) for rel, old in before.items()
                if after.get(rel) != old]
    problems += ["new: " + rel for rel in after if rel not in before]
    print("%s recovered: %d entries compared, %d differ from before the run" % (name, len(before), len(problems)))
    for p in problems[:20]:
        print("   ", p)
    e.close_program(name, restarted)
    return 0 < changed and not problems


def klokan98_run():
    target = (2012, 8, 9, 10, 11, 14)
    process = e.start("klokan98")
    windows = e.x_windows("Retempo [II]")
    view = e.list_view("KLOKAN_98")
    paths = [os.path.join(e.DRIVE, "drops", "realdoc2"), os.path.join(e.DRIVE, "drops", "flink.txt")]
    performed = xdnd_drop.drop(int(windows[0]), view["left"] + 50, view["top"] + 50, paths)
    e.check(performed == "XdndActionCopy", "no drop")
    e.wait_until("two rows", lambda: e.list_view("KLOKAN_98")["count"] == 2, timeout=10)
    e.set_include_subfolders("klokan98", True)
    e.pick_time("klokan98", target)
    before = snapshot(e.DRIVE)
    started = time.monotonic()
    e.press_bar("klokan98", 4)
    e.answer("Confirmation", ["y"])
    title = None
    end = time.monotonic() + 600
    while time.monotonic() < end and not title:
        for t in ("Information", "Error"):
            if e.window("-", t):
                title = t
        time.sleep(0.2)
    took = time.monotonic() - started
    e.answer(title, ["Return"])
    after = snapshot(e.DRIVE)
    # The dropped link counts as a failure: its own times cannot be had here.
    print("klokan98 run took %.1f s, closing box \"%s\"" % (took, title))
    ok = compare(before, after, epoch_of(target), ["drops/realdoc2"], "klokan98")
    ok = undo_and_compare("klokan98", before) and ok
    e.close_program("klokan98", process)
    return ok


def main():
    global BUILD
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    BUILD = os.path.abspath(parser.parse_args().build)
    setup()
    results = []
    try:
        results.append(klokan99_run())
        results.append(klokan98_run())
    finally:
        for process in e.STARTED:
            if process.poll() is None:
                process.kill()
        subprocess.run(["wineserver", "-k"], env=e.ENV, capture_output=True)
    shutil.rmtree(e.WORK, ignore_errors=True)
    print("real tree:", "clean" if all(results) else "PROBLEMS")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
