#!/usr/bin/env python3
"""Screenshots of both programs at the larger display scales.

For each DPI the private prefix <build>/scale-prefix gets that LogPixels
(HKCU\\Control Panel\\Desktop), as a display set to 150 % or 200 % would
give, and each program is started in a Wine virtual desktop large enough
for its window, in English and in Japanese. The window, frame included, is
saved as <shots>/<program>[-ja]-<dpi>dpi.png.

    scale_shots.py --build <64-bit build folder> --shots <folder> [--dpi 144 192]
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

DESKTOP = "scale"
DESKTOP_SIZE = "1280x1000"
STAMP = "1"
PREFIX_FONTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                            "scripts", "lib", "prefix_fonts.sh")
PROGRAMS = {"klokan99": "KLOKAN_99", "klokan98": "KLOKAN_98"}


def log(text):
    print("-- " + text, file=sys.stderr, flush=True)


def make_prefix(build):
    prefix = os.path.join(build, "scale-prefix")
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("LC_ALL", None)
    stamp = os.path.join(prefix, ".retempo-scale")
    if not os.path.exists(stamp) or open(stamp).read().strip() != STAMP:
        log("creating the Wine prefix of the scaled screenshots (once)")
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
        shutil.rmtree(prefix, ignore_errors=True)
        subprocess.run(["wineboot", "-i"], env=env, capture_output=True, timeout=300)
        for value in (["HKCU\\Software\\Wine\\Explorer", "/v", "Desktop", "/d", DESKTOP],
                      ["HKCU\\Software\\Wine\\Explorer\\Desktops", "/v", DESKTOP, "/d", DESKTOP_SIZE]):
            subprocess.run(["wine", "reg", "add"] + value + ["/f"], env=env, capture_output=True)
        subprocess.run(["bash", PREFIX_FONTS, "install"], env=env, check=True, timeout=300)
        subprocess.run(["wineserver", "-w"], env=env, capture_output=True, timeout=120)
        with open(stamp, "w") as f:
            f.write(STAMP + "\n")
    return env


def make_drive(build, env):
    """M: shows a folder of the build with the programs and a few files, so
    the pictures show that instead of the build machine's own folders."""
    drive = os.path.join(build, "scale-work")
    shutil.rmtree(drive, ignore_errors=True)
    os.makedirs(os.path.join(drive, "prog"))
    for name in ("klokan99.exe", "klokan98.exe", "KLOKAN99.TXT", "KLOKAN98.TXT"):
        shutil.copy2(os.path.join(build, name), os.path.join(drive, "prog"))
    for folder in ("Documents", "Photos", "Projects"):
        os.makedirs(os.path.join(drive, folder))
    with open(os.path.join(drive, "notes.txt"), "w") as f:
        f.write("notes\n")
    link = os.path.join(env["WINEPREFIX"], "dosdevices", "m:")
    if os.path.islink(link) or os.path.exists(link):
        os.remove(link)
    os.symlink(drive, link)
    return drive


def set_dpi(env, dpi):
    subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
    subprocess.run(["wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
                    "REG_DWORD", "/d", str(dpi), "/f"], env=env, capture_output=True, check=True)
    subprocess.run(["wineserver", "-w"], env=env, capture_output=True, timeout=120)


def window_rect(env, helper, cls):
    try:
        done = subprocess.run(["wine", helper, "window", cls, "-"], env=env, capture_output=True,
                              text=True, timeout=30)
    except subprocess.TimeoutExpired:
        return None
    for line in done.stdout.splitlines():
        key, _, rest = line.partition(" ")
        if key == "window":
            return tuple(int(v) for v in rest.split())
    return None


def shoot(env, build, helper, name, japanese, path):
    run_env = dict(env)
    if japanese:
        run_env["LC_ALL"] = "ja_JP.UTF-8"
    process = subprocess.Popen(["wine", "M:\\prog\\%s.exe" % name], env=run_env,
                               cwd=os.path.join(build, "scale-work", "prog"),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        rect = None
        deadline = time.time() + 120
        while time.time() < deadline and not rect:
            rect = window_rect(env, helper, PROGRAMS[name])
            if not rect:
                time.sleep(0.5)
        if not rect:
            raise SystemExit("%s did not open its window" % name)
        x, y, w, h = rect
        # The pointer away from the bar, so no caption shows; the list fills.
        subprocess.run(["xdotool", "mousemove", "--sync", str(x + w // 2), str(y + h - 40)])
        time.sleep(2.0)
        subprocess.run(["import", "-silent", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                        "+repage", "-colors", "256", "-strip", path], check=True)
        log("%s: %dx%d" % (path, w, h))
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--shots", required=True)
    parser.add_argument("--dpi", type=int, nargs="+", default=[144, 192])
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    helper = os.path.join(build, "e2e_helper.exe")
    env = make_prefix(build)
    make_drive(build, env)
    os.makedirs(args.shots, exist_ok=True)
    for dpi in args.dpi:
        set_dpi(env, dpi)
        for name in PROGRAMS:
            for japanese in (False, True):
                file_name = "%s%s-%ddpi.png" % (name, "-ja" if japanese else "", dpi)
                shoot(env, build, helper, name, japanese, os.path.join(args.shots, file_name))
    set_dpi(env, 96)


if __name__ == "__main__":
    main()
