#!/usr/bin/env python3
"""A newcomer's whole journey through both programs, end to end.

Starts the built klokan99.exe and klokan98.exe in a Wine virtual desktop on
the X display that scripts/test provides, and uses them as a person does:
xdotool moves the pointer, clicks the bar buttons at their pixels, picks the
date and time in the six lists with the keyboard, answers message boxes and
double-clicks folders. What the programs did is then read back from the file
system (through e2e_helper.exe, which reports stored times and attributes the
way Windows sees them, and through the Linux side for names).

Everything the suite touches lives under <build>/e2e-work, shown to Wine as
drive M: for the length of the run. Steps whose feature the programs do not
have yet (the bar, the About box, a command that shows no question) are
reported as skipped with the reason. Exit status: 0 when every step passed or
was skipped, 1 when a step failed.

    run_e2e.py --build <64-bit build folder> [--shots <folder>] [--only <text>]

--only runs just the steps whose title holds the text (while working on them).
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

import xdnd_drop

# ------------------------------------------------------------------ set-up

ARGS = None
BUILD = WORK = DRIVE = HELPER = None
DESKTOP = "e2e"
LETTER = "m:"
ENV = None
STARTED = []  # processes this suite started, ended by their id at the end


class Skip(Exception):
    """The program lacks what the step needs."""


class Failed(Exception):
    """The step ran and saw a wrong result."""


def log(text):
    print(text, flush=True)


def check(condition, text):
    if not condition:
        raise Failed(text)


def run(args, env=None, timeout=60, check_rc=True):
    done = subprocess.run(args, env=env or ENV, capture_output=True, text=True, timeout=timeout)
    if check_rc and done.returncode != 0:
        raise Failed("%s ended with %d: %s" % (" ".join(args), done.returncode, done.stderr.strip()))
    return done


def wait_until(what, probe, timeout=20.0, interval=0.1):
    """Polls probe() until it gives something true; raises Failed after timeout."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            raise Failed("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def wine_path(linux_path):
    rel = os.path.relpath(linux_path, DRIVE)
    return "M:\\" + ("" if rel == "." else rel.replace("/", "\\"))


# ------------------------------------------------------------------ helper

def helper(*args, env=None, timeout=15):
    try:
        done = run(["wine", HELPER] + list(args), env=env, check_rc=False, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    if done.returncode != 0:
        return None
    values = {}
    for line in done.stdout.splitlines():
        key, _, rest = line.partition(" ")
        values[key] = rest
    return values


def window(cls="-", title="-", control=None, env=None):
    """Where a window (or a control of it) lies: dict with client x, y, w, h; None if absent."""
    args = ["window", cls, title] + ([str(control)] if control is not None else [])
    values = helper(*args, env=env)
    if not values:
        return None
    x, y, w, h = (int(v) for v in values["client"].split())
    return {"x": x, "y": y, "w": w, "h": h, "enabled": values.get("enabled") == "1",
            "visible": values.get("visible") == "1", "checked": values.get("checked"),
            "selected": int(values.get("selected", "-1")), "dropped": values.get("dropped") == "1"}


def list_view(main_class):
    values = helper("list", main_class)
    if not values:
        return None
    left, top, width, height = (int(v) for v in values["list"].split())
    return {"left": left, "top": top, "width": width, "height": height,
            "header_bottom": int(values["header_bottom"]), "row_height": int(values["row_height"]),
            "count": int(values["count"]), "selected": int(values["selected"]),
            "top_index": int(values["top"]),
            "selected_rows": [int(v) for v in values.get("selected_rows", "").split()]}


def stored(folder):
    """Times and attributes of a folder and everything below it, by relative path."""
    done = run(["wine", HELPER, "times", wine_path(folder)])
    items = {}
    for line in done.stdout.splitlines():
        parts = line.split("\t")
        if len(parts) >= 4:
            items[parts[0]] = {"created": parts[1], "accessed": parts[2], "written": parts[3],
                               "attributes": parts[4] if len(parts) > 4 else ""}
    return items


# ------------------------------------------------------------------ display

def xdo(*args):
    return run(["xdotool"] + [str(a) for a in args], check_rc=False)


def click(x, y, button=1, repeat=1):
    xdo("mousemove", "--sync", x, y)
    time.sleep(0.05)
    xdo("click", "--repeat", repeat, "--delay", 80, button)


def key(*keys):
    xdo("key", "--delay", 30, *keys)


def shoot(path, geometry=None):
    """Saves the screen, or one rectangle of it (x, y, w, h), as PNG."""
    args = ["import", "-silent", "-window", "root"]
    if geometry:
        x, y, w, h = geometry
        args += ["-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage"]
    run(args + ["-colors", "256", "-strip", path])


def pixel(x, y):
    done = run(["import", "-silent", "-window", "root", "-crop", "1x1+%d+%d" % (x, y),
                "-depth", "8", "txt:-"])
    for line in done.stdout.splitlines():
        if line.startswith("0,0:"):
            return line.split("#")[1][:6].upper()
    return None


def region_colours(x, y, w, h):
    """Number of distinct colours in a rectangle of the screen."""
    done = run(["import", "-silent", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                "-format", "%k", "info:"])
    return int(done.stdout.strip() or 0)


# ------------------------------------------------------------------ the prefix of the suite

PREFIX_STAMP = "e2e-5"
# The fonts of every prefix of the project (Wine's own, and the stand-in for
# the Japanese UI font), installed and checked by one script.
PREFIX_FONTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                            "scripts", "lib", "prefix_fonts.sh")


def make_prefix():
    """A Wine prefix of the suite's own inside the build tree: its registry
    puts every program into the virtual desktop, and M: shows the work folder.
    Nothing of it reaches the prefix of the other tests."""
    prefix = os.path.join(BUILD, "e2e-prefix")
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("LC_ALL", None)
    stamp = os.path.join(prefix, ".retempo-e2e")
    fresh = not os.path.exists(stamp) or open(stamp).read().strip() != PREFIX_STAMP
    if fresh:
        log("creating the Wine prefix of the suite (once)")
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
        shutil.rmtree(prefix, ignore_errors=True)
        subprocess.run(["wineboot", "-i"], env=env, capture_output=True, timeout=300)
        for value in (["HKCU\\Software\\Wine\\Explorer", "/v", "Desktop", "/d", DESKTOP],
                      ["HKCU\\Software\\Wine\\Explorer\\Desktops", "/v", DESKTOP, "/d", "800x600"]):
            subprocess.run(["wine", "reg", "add"] + value + ["/f"], env=env, capture_output=True)
        subprocess.run(["bash", PREFIX_FONTS, "install"], env=env, check=True, timeout=300)
        subprocess.run(["wineserver", "-w"], env=env, capture_output=True, timeout=120)
        with open(stamp, "w") as f:
            f.write(PREFIX_STAMP + "\n")
    checked = subprocess.run(["bash", PREFIX_FONTS, "check"], env=env, capture_output=True, text=True)
    check(checked.returncode == 0, checked.stderr.strip())
    link = os.path.join(prefix, "dosdevices", LETTER)
    if os.path.islink(link) or os.path.exists(link):
        os.remove(link)
    os.symlink(DRIVE, link)
    return env


def make_work_folder():
    shutil.rmtree(WORK, ignore_errors=True)
    prog = os.path.join(DRIVE, "prog")
    os.makedirs(prog)
    for name in ("klokan99.exe", "klokan98.exe", "KLOKAN99.TXT", "KLOKAN98.TXT"):
        source = os.path.join(BUILD, name)
        if os.path.exists(source):
            shutil.copy2(source, prog)
    # klokan99's tree: two chosen items, one below them two levels deep, one left alone.
    files = {"tree/alpha/a1.txt": "a1", "tree/alpha/deep/d1.txt": "d1", "tree/beta.txt": "beta",
             "tree/gamma.txt": "gamma",
             # klokan98's drops: a file and a folder with contents.
             "drops/one.txt": "one", "drops/box/inner.txt": "inner", "drops/box/sub/leaf.txt": "leaf",
             "drops/other.txt": "other"}
    for rel, text in files.items():
        path = os.path.join(DRIVE, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write(text + "\n")
    os.makedirs(os.path.join(WORK, "shots"), exist_ok=True)


# ------------------------------------------------------------------ programs

PROGRAMS = {
    "klokan99": {"class": "KLOKAN_99", "title": "Retempo [I]", "title_ja": "レテンポ[I]",
                 "bar_x": 347, "button_top": 5, "buttons": [0, 43, 75, 107, 139, 171],
                 "lists": [102, 103, 104, 105, 106, 107], "check": 108},
    "klokan98": {"class": "KLOKAN_98", "title": "Retempo [II]", "title_ja": "レテンポ[II]",
                 "bar_x": 358, "button_top": 1, "buttons": [0, 32, 64, 96, 128, 160],
                 "lists": [101, 102, 103, 104, 105, 106], "check": 100},
}


def program_env(japanese):
    env = dict(ENV)
    if japanese:
        env["LC_ALL"] = "ja_JP.UTF-8"
    return env


def start(name, japanese=False):
    """Starts the copy on M: and waits for its titled window with its list."""
    info = PROGRAMS[name]
    exe = "M:\\prog\\%s.exe" % name
    process = subprocess.Popen(["wine", exe], env=program_env(japanese), cwd=os.path.join(DRIVE, "prog"),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    STARTED.append(process)
    title = info["title_ja"] if japanese else info["title"]
    wait_until("the window \"%s\"" % title,
               lambda: window(info["class"], title) and list_view(info["class"]), timeout=60)
    return process


def x_windows(title):
    done = xdo("search", "--name", "^%s$" % title.replace("[", "\\[").replace("]", "\\]"))
    return [w for w in done.stdout.split() if w]


def client(name):
    info = PROGRAMS[name]
    found = window(info["class"], "-")
    check(found, "the main window of %s is gone" % name)
    return found


def control_centre(name, control):
    found = window(PROGRAMS[name]["class"], "-", control)
    check(found, "%s has no control %d" % (name, control))
    return found["x"] + found["w"] // 2, found["y"] + found["h"] // 2


def has_bar(name):
    """True when the first bar button shows a bitmap (more than a flat face)."""
    info = PROGRAMS[name]
    c = client(name)
    x = c["x"] + info["bar_x"] + info["buttons"][0] + 2
    y = c["y"] + info["button_top"] + 2
    return region_colours(x, y, 28, 16) > 2


def press_bar(name, button):
    """Clicks bar button 1..6 at its pixels; skips when the program has no bar."""
    if not has_bar(name):
        raise Skip("%s shows no bitmap on its bar: the bar has not landed" % name)
    info = PROGRAMS[name]
    c = client(name)
    click(c["x"] + info["bar_x"] + info["buttons"][button - 1] + 16,
          c["y"] + info["button_top"] + 10)


def wait_dialog(title, timeout=8.0, missing=None):
    """Waits for a dialog or message box by title. With missing, its absence
    means the program lacks the feature: the step is skipped."""
    try:
        return wait_until("the window \"%s\"" % title, lambda: window("#32770", title), timeout=timeout)
    except Failed:
        if missing:
            raise Skip(missing)
        raise


def wait_gone(title, timeout=10.0):
    wait_until("\"%s\" to close" % title, lambda: not window("#32770", title), timeout=timeout)


def answer(title, keys, missing=None):
    wait_dialog(title, missing=missing)
    key(*keys)
    wait_gone(title)


def pick_time(name, when):
    """Picks year, month, day, hour, minute, second in the six lists the way
    the keyboard does it: open the list, go to its first entry, step down.
    Each pick is read back; keys typed before a list has opened are lost on a
    busy machine, so a wrong pick is made again."""
    year, month, day, hour, minute, second = when
    steps = [year - 1980, month - 1, day - 1, hour, minute, second]
    info = PROGRAMS[name]
    for control, count in zip(info["lists"], steps):
        for attempt in range(3):
            x, y = control_centre(name, control)
            click(x, y)
            try:
                wait_until("list %d to open" % control,
                           lambda: window(info["class"], "-", control)["dropped"], timeout=5)
            except Failed:
                continue
            key("Home")
            if count:
                xdo("key", "--repeat", count, "--delay", 10, "Down")
            key("Return")
            try:
                wait_until("list %d to pick entry %d" % (control, count),
                           lambda: (lambda w: not w["dropped"] and w["selected"] == count)(
                               window(info["class"], "-", control)), timeout=5)
                break
            except Failed:
                log("  list %d: pick %d did not take (attempt %d)" % (control, count, attempt + 1))
        else:
            raise Failed("list %d of %s would not pick entry %d" % (control, name, count))


def set_include_subfolders(name, wanted):
    found = window(PROGRAMS[name]["class"], "-", PROGRAMS[name]["check"])
    check(found, "no Include subfolders box")
    if (found["checked"] == "1") != wanted:
        click(found["x"] + 7, found["y"] + 7)
        wait_until("the Include subfolders mark",
                   lambda: (window(PROGRAMS[name]["class"], "-", PROGRAMS[name]["check"])["checked"] == "1")
                   == wanted, timeout=5)


def row_point(name, row):
    view = list_view(PROGRAMS[name]["class"])
    check(view and row < view["count"], "row %d is not in the list of %s" % (row, name))
    check(view["row_height"] > 0, "the list reports no row height")
    y = view["header_bottom"] + (row - view["top_index"]) * view["row_height"] + view["row_height"] // 2
    return view["left"] + 40, y


def select_rows(name, rows):
    for i, row in enumerate(rows):
        x, y = row_point(name, row)
        if i == 0:
            click(x, y)
        else:
            xdo("keydown", "ctrl")
            click(x, y)
            xdo("keyup", "ctrl")
    wait_until("rows %s selected" % rows,
               lambda: list_view(PROGRAMS[name]["class"])["selected_rows"] == sorted(rows), timeout=5)


def open_folder(name, row, expected_rows):
    x, y = row_point(name, row)
    click(x, y, repeat=2)
    wait_until("the folder list to show %d rows" % expected_rows,
               lambda: list_view(PROGRAMS[name]["class"])["count"] == expected_rows, timeout=10)


def shoot_window(name, file_name):
    c = window(PROGRAMS[name]["class"], "-")
    helper_values = helper("window", PROGRAMS[name]["class"], "-")
    x, y, w, h = (int(v) for v in helper_values["window"].split())
    path = os.path.join(WORK, "shots", file_name)
    # The pointer rests on the list, below the bar's band, so no button
    # caption shows in the picture (the caption follows the pointer only
    # while it is over the window).
    xdo("mousemove", "--sync", x + w // 2, y + h - 40)
    time.sleep(0.5)  # the caption is taken down and the lists repaint
    shoot(path, (x, y, w, h))
    check(c and os.path.getsize(path) > 0, "no screenshot %s" % file_name)
    return path


def expect_times(items, paths, target, what):
    text = "%04d-%02d-%02d %02d:%02d:%02d" % target
    for rel in paths:
        check(rel in items, "%s: %s is missing" % (what, rel))
        got = items[rel]
        check(got["created"] == text and got["written"] == text,
              "%s: %s has created %s, written %s, wanted %s" % (what, rel, got["created"], got["written"], text))
        check(got["accessed"][:10] == text[:10],
              "%s: %s was last accessed %s, wanted the day %s" % (what, rel, got["accessed"], text[:10]))


def expect_untouched(items, paths, target, what):
    text = "%04d-%02d-%02d %02d:%02d:%02d" % target
    for rel in paths:
        check(rel in items, "%s: %s is missing" % (what, rel))
        check(items[rel]["written"] != text and items[rel]["created"] != text,
              "%s: %s was changed though it was not chosen" % (what, rel))


def close_program(name, process):
    """Exit from the bar when there is one, else the close box of the frame."""
    if process.poll() is not None:
        return
    if has_bar(name):
        press_bar(name, 6)
    else:
        c = window(PROGRAMS[name]["class"], "-")
        helper_values = helper("window", PROGRAMS[name]["class"], "-")
        x, y, w, _ = (int(v) for v in helper_values["window"].split())
        click(x + w - 10, c["y"] - 10)
    try:
        process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        raise Failed("%s did not end" % name)
    check(process.returncode == 0, "%s ended with %d" % (name, process.returncode))


# ------------------------------------------------------------------ the journey

RESULTS = []
STATE = {}
TARGET_99 = (2003, 4, 5, 6, 7, 8)
TARGET_98 = (1999, 12, 31, 23, 58, 40)


def step(title):
    def wrap(function):
        def run_step():
            started = time.monotonic()
            try:
                function()
                status, detail = "passed", ""
            except Skip as why:
                status, detail = "skipped", str(why)
            except (Failed, subprocess.TimeoutExpired) as why:
                status, detail = "FAILED", str(why)
            RESULTS.append((title, status, detail, time.monotonic() - started))
            log("%-8s %s (%.1f s)%s" % (status, title, time.monotonic() - started,
                                        ": " + detail if detail else ""))
        run_step.title = title
        return run_step
    return wrap


@step("klokan99 starts with its title and lists the root of its drive")
def start_klokan99():
    STATE["k99"] = start("klokan99")
    check(len(x_windows("Retempo [I]")) == 1, "not exactly one window titled Retempo [I]")
    view = list_view("KLOKAN_99")
    check(view["count"] == 3, "M:\\ should show drops, prog and tree, shows %d rows" % view["count"])


@step("a second klokan99 ends silently and leaves the first alone")
def second_klokan99():
    first = STATE.get("k99")
    if not first:
        raise Skip("klokan99 did not start")
    second = subprocess.Popen(["wine", "M:\\prog\\klokan99.exe"], env=ENV, cwd=os.path.join(DRIVE, "prog"),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    STARTED.append(second)
    check(second.wait(timeout=30) == 0, "the second klokan99 ended with %s" % second.returncode)
    check(first.poll() is None, "the first klokan99 ended too")
    check(len(x_windows("Retempo [I]")) == 1, "not exactly one window titled Retempo [I]")


@step("klokan99: a tree to one time (NTFS), with Include subfolders")
def klokan99_timestamp():
    if not STATE.get("k99"):
        raise Skip("klokan99 did not start")
    check(helper("volume", "M:\\").get("filesystem") == "NTFS", "M: is not NTFS here")
    open_folder("klokan99", 2, 3)          # drops, prog, tree -> tree: alpha, beta.txt, gamma.txt
    select_rows("klokan99", [0, 1])        # alpha and beta.txt
    set_include_subfolders("klokan99", True)
    pick_time("klokan99", TARGET_99)
    before = stored(os.path.join(DRIVE, "tree"))
    press_bar("klokan99", 2)
    answer("Confirmation", ["y"], missing="no confirmation question after Change Timestamp: the command has not landed")
    answer("Information", ["Return"])
    after = stored(os.path.join(DRIVE, "tree"))
    expect_times(after, ["alpha", "alpha\\a1.txt", "alpha\\deep", "alpha\\deep\\d1.txt", "beta.txt"],
                 TARGET_99, "klokan99")
    expect_untouched(after, ["gamma.txt"], TARGET_99, "klokan99")
    check(after["gamma.txt"]["written"] == before["gamma.txt"]["written"], "gamma.txt changed")


@step("klokan99: Attributes read-only and hidden on one file")
def klokan99_attributes():
    if not STATE.get("k99"):
        raise Skip("klokan99 did not start")
    view = list_view("KLOKAN_99")
    if view["count"] != 3:
        open_folder("klokan99", 2, 3)
    select_rows("klokan99", [2])           # gamma.txt
    press_bar("klokan99", 3)
    wait_dialog("Change Attributes", missing="no Change Attributes dialog: the command has not landed")
    for control in (123, 124):
        box = window("#32770", "Change Attributes", control)
        click(box["x"] + 7, box["y"] + box["h"] // 2)
        wait_until("the mark of box %d" % control,
                   lambda: window("#32770", "Change Attributes", control)["checked"] == "1", timeout=5)
    ok = window("#32770", "Change Attributes", 1)
    click(ok["x"] + ok["w"] // 2, ok["y"] + ok["h"] // 2)
    wait_gone("Change Attributes")
    if window("#32770", "Information"):
        answer("Information", ["Return"])
    attributes = stored(os.path.join(DRIVE, "tree"))["gamma.txt"]["attributes"]
    check("R" in attributes and "H" in attributes, "gamma.txt has attributes %r" % attributes)
    others = stored(os.path.join(DRIVE, "tree"))
    check("H" not in others["beta.txt"]["attributes"], "beta.txt was made hidden")


@step("klokan99: Letters to capitals on one file")
def klokan99_letters():
    if not STATE.get("k99"):
        raise Skip("klokan99 did not start")
    select_rows("klokan99", [1])           # beta.txt
    press_bar("klokan99", 4)
    wait_dialog("Change Letters", missing="no Change Letters dialog: the command has not landed")
    radio = window("#32770", "Change Letters", 129)
    click(radio["x"] + 7, radio["y"] + radio["h"] // 2)
    ok = window("#32770", "Change Letters", 1)
    click(ok["x"] + ok["w"] // 2, ok["y"] + ok["h"] // 2)
    wait_gone("Change Letters")
    if window("#32770", "Information"):
        answer("Information", ["Return"])
    names = sorted(os.listdir(os.path.join(DRIVE, "tree")))
    check("BETA.TXT" in names and "beta.txt" not in names, "the tree holds %s" % names)
    check("gamma.txt" in names and "alpha" in names, "other names changed: %s" % names)


@step("klokan99: About box closes with Enter and with Escape; ReadMe opens KLOKAN99.TXT in Notepad, which is closed")
def klokan99_about():
    if not STATE.get("k99"):
        raise Skip("klokan99 did not start")
    about_and_readme("klokan99", "About")


def notepad_windows(stem):
    done = xdo("search", "--name", stem)
    return [w for w in done.stdout.split() if w and "Retempo" not in (xdo("getwindowname", w).stdout)]


def about_and_readme(name, about):
    """About, Enter, then About, Escape: the box closes each time and no readme
    opens. About, ReadMe: the box
    closes and Notepad shows the readme beside the program; Notepad is then
    asked to close and must go. Exactly one Notepad window shows the readme,
    so the Enter of the first round did not open one as well."""
    stem = name.upper()
    check(not notepad_windows(stem), "a Notepad window with %s is already open" % stem)
    press_bar(name, 5)
    answer(about, ["Return"], missing="no About box: it has not landed")
    press_bar(name, 5)
    answer(about, ["Escape"])
    press_bar(name, 5)
    wait_dialog(about)
    readme = window("#32770", about, 3)
    check(readme and readme["visible"], "the About box has no ReadMe button")
    click(readme["x"] + readme["w"] // 2, readme["y"] + readme["h"] // 2)
    wait_gone(about)
    clicked = time.monotonic()
    shown = wait_until("Notepad with %s.TXT" % stem, lambda: notepad_windows(stem), timeout=40)
    log("  Notepad showed %s.TXT %.1f s after ReadMe" % (stem, time.monotonic() - clicked))
    check(len(shown) == 1, "%d Notepad windows show %s.TXT: Enter or Escape opened the readme too" % (len(shown), stem))
    title = xdo("getwindowname", shown[0]).stdout.strip()
    check("%s.TXT" % stem in title.upper(), "Notepad's title is %r" % title)
    check(helper("close", "Notepad", "-") is not None, "Notepad could not be asked to close")
    wait_until("Notepad to close", lambda: not notepad_windows(stem), timeout=10)


@step("klokan99 English screenshot")
def klokan99_shot():
    if not STATE.get("k99"):
        raise Skip("klokan99 did not start")
    shoot_window("klokan99", "klokan99.png")


@step("klokan99 ends by Exit (or its close box) with code 0")
def klokan99_exit():
    if not STATE.get("k99"):
        raise Skip("klokan99 did not start")
    close_program("klokan99", STATE["k99"])


@step("klokan98 starts with its title; a second klokan98 ends silently")
def start_klokan98():
    STATE["k98"] = start("klokan98")
    second = subprocess.Popen(["wine", "M:\\prog\\klokan98.exe"], env=ENV, cwd=os.path.join(DRIVE, "prog"),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    STARTED.append(second)
    check(second.wait(timeout=30) == 0, "the second klokan98 ended with %s" % second.returncode)
    check(STATE["k98"].poll() is None, "the first klokan98 ended too")
    check(len(x_windows("Retempo [II]")) == 1, "not exactly one window titled Retempo [II]")


@step("klokan98: a file and a folder dragged from the Linux side and dropped onto the list")
def klokan98_drop():
    if not STATE.get("k98"):
        raise Skip("klokan98 did not start")
    windows = x_windows("Retempo [II]")
    check(len(windows) == 1, "not exactly one window titled Retempo [II]")
    view = list_view("KLOKAN_98")
    check(view and view["count"] == 0, "the drop list is not empty before the drop")
    x = view["left"] + view["width"] // 2
    y = view["top"] + view["height"] // 2
    paths = [os.path.join(DRIVE, "drops", "one.txt"), os.path.join(DRIVE, "drops", "box")]
    performed = xdnd_drop.drop(int(windows[0]), x, y, paths)
    check(performed == "XdndActionCopy", "klokan98 did not take the drop (answer %r)" % performed)
    wait_until("two rows in the drop list", lambda: list_view("KLOKAN_98")["count"] == 2, timeout=10)
    STATE["dropped"] = True


@step("klokan98: Change Timestamp over the dropped rows, with Include subfolders")
def klokan98_timestamp():
    if not STATE.get("dropped"):
        raise Skip("nothing could be dropped")
    set_include_subfolders("klokan98", True)
    pick_time("klokan98", TARGET_98)
    press_bar("klokan98", 4)
    answer("Confirmation", ["y"], missing="no confirmation question after Change Timestamp")
    answer("Information", ["Return"])
    items = stored(os.path.join(DRIVE, "drops"))
    expect_times(items, ["one.txt", "box", "box\\inner.txt", "box\\sub", "box\\sub\\leaf.txt"],
                 TARGET_98, "klokan98")
    expect_untouched(items, ["other.txt", "."], TARGET_98, "klokan98")


@step("klokan98: About box closes with Enter and with Escape; ReadMe opens KLOKAN98.TXT in Notepad, which is closed")
def klokan98_about():
    if not STATE.get("k98"):
        raise Skip("klokan98 did not start")
    about_and_readme("klokan98", "About")


@step("klokan98 English screenshot")
def klokan98_shot():
    if not STATE.get("k98"):
        raise Skip("klokan98 did not start")
    shoot_window("klokan98", "klokan98.png")


@step("klokan98 ends by Exit (or its close box) with code 0")
def klokan98_exit():
    if not STATE.get("k98"):
        raise Skip("klokan98 did not start")
    close_program("klokan98", STATE["k98"])


TARGET_KEYS = (2011, 2, 3, 4, 5, 6)
# The keyboard-only runs, made when the first of them starts (the steps
# before them expect M:\ as it was): one folder per language and a file
# left alone for klokan99, klokan98's files to drop.
KEY_FILES = {"keys/en/a.txt": "a", "keys/en/deep/b.txt": "b", "keys/ja/a.txt": "a",
             "keys/ja/deep/b.txt": "b", "keys/left.txt": "left",
             "keydrops/en.txt": "en", "keydrops/ja.txt": "ja"}


def make_key_files():
    for rel, text in KEY_FILES.items():
        path = os.path.join(DRIVE, rel)
        if not os.path.exists(path):
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w") as f:
                f.write(text + "\n")


def focused_control(name):
    """The class and id of the control with the program's keyboard focus."""
    values = helper("focus", PROGRAMS[name]["class"])
    if not values:
        return ("nothing", 0)
    return (values.get("class", "?"), int(values.get("id", "0")))


def focused(name):
    return focused_control(name)[0]


def keys_to_time(when):
    """From the list with the focus: Shift+Tab back to the year list, then
    each list gets its entry (Home, Down n times) and Tab goes on; the last
    Tab reaches Include subfolders., which Space ticks."""
    year, month, day, hour, minute, second = when
    xdo("key", "--repeat", 7, "--delay", 60, "shift+Tab")
    for count in (year - 1980, month - 1, day - 1, hour, minute, second):
        key("Home")
        if count:
            xdo("key", "--repeat", count, "--delay", 15, "Down")
        key("Tab")
    key("space")


def keyboard_step(name, japanese):
    language = "Japanese" if japanese else "English"

    @step("%s from the keyboard alone (%s): a whole change without a mouse event" % (name, language))
    def keyboard():
        make_key_files()
        process = start(name, japanese=japanese)
        try:
            keyboard_change(name, japanese, process)
        finally:
            end_program(name, process)
    return keyboard


def end_program(name, process):
    """After a keyboard run, whatever happened: a program still running (a
    failed step) is asked to close, its message boxes answered with Esc, and
    killed when that fails, so that the single instance cannot keep the
    next step's program from starting."""
    if process.poll() is not None:
        return
    for _ in range(3):
        helper("close", PROGRAMS[name]["class"], "-")
        key("Escape")
        try:
            process.wait(timeout=5)
            return
        except subprocess.TimeoutExpired:
            pass
    process.kill()
    process.wait(timeout=15)


def keyboard_change(name, japanese, process):
    language = "Japanese" if japanese else "English"
    info = PROGRAMS[name]
    wait_until("the focus on the list", lambda: focused(name) == "SysListView32", timeout=10)
    if name == "klokan99":
        # M:\ lists drops, keydrops, keys, prog, tree: keys is row 2.
        key("Home")
        xdo("key", "--repeat", 2, "--delay", 30, "Down")
        key("Return")
        wait_until("keys listed", lambda: list_view(info["class"])["count"] == 3, timeout=10)
        # en, ja, left.txt: the folder opened with the first row focused
        # and none selected (Home there would not move, so it selects
        # nothing); Space selects the focused row, Down the next one.
        check(list_view(info["class"])["selected_rows"] == [],
              "a row is selected as the folder opens")
        key("Down" if japanese else "space")
        row = 1 if japanese else 0
        wait_until("row %d picked" % row,
                   lambda: list_view(info["class"])["selected_rows"] == [row], timeout=5)
        folder = os.path.join(DRIVE, "keys")
        chosen = ["ja", "ja\\a.txt", "ja\\deep", "ja\\deep\\b.txt"] if japanese else \
            ["en", "en\\a.txt", "en\\deep", "en\\deep\\b.txt"]
        untouched = ["left.txt"]
    else:
        windows = x_windows(info["title_ja"] if japanese else info["title"])
        view = list_view(info["class"])
        dropped = os.path.join(DRIVE, "keydrops", "ja.txt" if japanese else "en.txt")
        performed = xdnd_drop.drop(int(windows[0]), view["left"] + view["width"] // 2,
                                   view["top"] + view["height"] // 2, [dropped])
        check(performed == "XdndActionCopy", "klokan98 did not take the drop (answer %r)" % performed)
        wait_until("one row", lambda: list_view(info["class"])["count"] == 1, timeout=10)
        wait_until("the focus on the list", lambda: focused(name) == "SysListView32", timeout=10)
        folder = os.path.join(DRIVE, "keydrops")
        chosen = [os.path.basename(dropped)]
        untouched = []
    keys_to_time(TARGET_KEYS)
    wait_until("Include subfolders ticked",
               lambda: window(info["class"], "-", info["check"])["checked"] == "1", timeout=5)
    for control, wanted in zip(info["lists"], (TARGET_KEYS[0] - 1980, TARGET_KEYS[1] - 1,
                                               TARGET_KEYS[2] - 1) + TARGET_KEYS[3:]):
        got = window(info["class"], "-", control)["selected"]
        check(got == wanted, "list %d shows entry %d, wanted %d" % (control, got, wanted))
    key("ctrl+t")
    confirmation = "確認" if japanese else "Confirmation"
    information = "お知らせ" if japanese else "Information"
    answer(confirmation, ["Return"])
    answer(information, ["Return"])
    items = stored(folder)
    expect_times(items, chosen, TARGET_KEYS, "%s (%s)" % (name, language))
    if untouched:
        expect_untouched(items, untouched, TARGET_KEYS, name)
    # The focus came back to where it was when Ctrl+T was pressed:
    # Include subfolders., which Space had just ticked.
    try:
        wait_until("the focus back on Include subfolders.",
                   lambda: focused_control(name) == ("Button", info["check"]), timeout=5)
    except Failed:
        raise Failed("after the run the focus is on %s %d, not on Include subfolders." %
                     focused_control(name))
    key("alt+F4")
    try:
        process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        raise Failed("%s did not end on Alt+F4" % name)


def japanese_step(name):
    @step("%s in Japanese: title, screenshot, About box 御案内 and its readme in Notepad" % name)
    def japanese():
        info = PROGRAMS[name]
        process = start(name, japanese=True)
        check(window(info["class"], info["title_ja"]), "no window titled %s" % info["title_ja"])
        if name == "klokan99":
            open_folder(name, 2, 3)
            select_rows(name, [0])
        shoot_window(name, "%s-ja.png" % name)
        if not has_bar(name):
            close_program(name, process)
            raise Skip("title and screenshot only: no bar, so no About box")
        about_and_readme(name, "御案内")
        close_program(name, process)
    return japanese


JOURNEY = [start_klokan99, second_klokan99, klokan99_timestamp, klokan99_attributes, klokan99_letters,
           klokan99_about, klokan99_shot, klokan99_exit,
           start_klokan98, klokan98_drop, klokan98_timestamp, klokan98_about, klokan98_shot, klokan98_exit,
           japanese_step("klokan99"), japanese_step("klokan98"),
           keyboard_step("klokan99", False), keyboard_step("klokan99", True),
           keyboard_step("klokan98", False), keyboard_step("klokan98", True)]


def main():
    global ARGS, BUILD, WORK, DRIVE, HELPER, ENV
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--shots", help="copy the four screenshots into this folder")
    parser.add_argument("--only", help="run only the steps whose title holds this text")
    ARGS = parser.parse_args()
    BUILD = os.path.abspath(ARGS.build)
    WORK = os.path.join(BUILD, "e2e-work")
    DRIVE = os.path.join(WORK, "drive")
    HELPER = "M:\\prog\\e2e_helper.exe"
    if not os.environ.get("DISPLAY"):
        log("no X display: run this through scripts/test")
        return 1
    started = time.monotonic()
    make_work_folder()
    shutil.copy2(os.path.join(BUILD, "e2e_helper.exe"), os.path.join(DRIVE, "prog"))
    ENV = make_prefix()
    # The first program of a session brings up the virtual desktop.
    check(helper("volume", "M:\\", timeout=180), "the helper does not run in the prefix of the suite")
    try:
        for journey_step in JOURNEY:
            if not ARGS.only or ARGS.only in journey_step.title:
                journey_step()
    finally:
        for process in STARTED:
            if process.poll() is None:
                process.kill()
        subprocess.run(["wineserver", "-k"], env=ENV, capture_output=True)
    if ARGS.shots:
        os.makedirs(ARGS.shots, exist_ok=True)
        for name in ("klokan99.png", "klokan99-ja.png", "klokan98.png", "klokan98-ja.png"):
            source = os.path.join(WORK, "shots", name)
            if os.path.exists(source):
                shutil.copy2(source, ARGS.shots)
    counts = {s: sum(1 for r in RESULTS if r[1] == s) for s in ("passed", "skipped", "FAILED")}
    log("e2e: %d passed, %d skipped, %d failed in %.0f s" % (counts["passed"], counts["skipped"],
                                                             counts["FAILED"], time.monotonic() - started))
    return 1 if counts["FAILED"] or not counts["passed"] else 0


if __name__ == "__main__":
    sys.exit(main())
