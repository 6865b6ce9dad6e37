# Shared set-up of scripts/test and scripts/run: packages, build, Wine prefix.
# Sourced, not run. Everything it makes lives under $RETEMPO_BUILD (default build/).

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${RETEMPO_BUILD:-$ROOT/build}
X64=$BUILD/x64
X86=$BUILD/x86
# The benchmarks and the klokan99 they drive, built as the release programs
# are (optimised), so that their figures are what users get.
XBENCH=$BUILD/x64-bench

PACKAGES=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 xvfb xauth xdotool
          imagemagick x11-utils locales googletest cmake ninja-build fonts-ipafont-gothic fonts-wine
          python3 zip unzip)

say() { printf '== %s\n' "$*" >&2; }

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

ensure_packages() {
    local missing=() p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        say "installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
    fi
    ensure_japanese_locale
}

# Wine turns file names into the Unix locale's characters; without a Japanese
# locale no Japanese name can be made in the tests' Japanese runs.
ensure_japanese_locale() {
    locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && return 0
    say "generating the ja_JP.UTF-8 locale"
    as_root sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    as_root locale-gen >/dev/null
}

build_all() {
    say "building (64-bit, with tests)"
    cmake -S "$ROOT" -B "$X64" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64.cmake" >/dev/null
    cmake --build "$X64"
    say "building (32-bit programs)"
    cmake -S "$ROOT" -B "$X86" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRETEMPO_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686.cmake" >/dev/null
    cmake --build "$X86"
}

build_bench() {
    say "building the benchmarks (64-bit, optimised as released)"
    cmake -S "$ROOT" -B "$XBENCH" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64.cmake" >/dev/null
    cmake --build "$XBENCH" --target change_bench list_bench hover_bench klokan99 \
        gui_bench_helper e2e_helper
}

# A private prefix inside the build tree, never the user's own ~/.wine.
# Extra drives for the tests: K: floppy, L: CD-ROM, N: network, P: a second
# fixed disk with the label RETEMPODATA; each maps to a folder of the build.
PREFIX_LAYOUT=6
use_prefix() {
    export WINEPREFIX=$X64/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export RETEMPO_DRIVES=$X64/drives
    if [ "$(cat "$WINEPREFIX/.retempo-layout" 2>/dev/null)" != "$PREFIX_LAYOUT" ]; then
        say "creating the Wine prefix $WINEPREFIX"
        wineserver -k 2>/dev/null || true
        rm -rf "$WINEPREFIX" "$RETEMPO_DRIVES"
        # Wine makes the prefix but not the folder it lies in (scripts/bench
        # on a new checkout builds nothing into $X64).
        mkdir -p "$X64"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        local d
        for d in floppy cdrom network data; do mkdir -p "$RETEMPO_DRIVES/$d"; done
        echo RETEMPODATA > "$RETEMPO_DRIVES/data/.windows-label"
        ln -sfn "$RETEMPO_DRIVES/floppy" "$WINEPREFIX/dosdevices/k:"
        ln -sfn "$RETEMPO_DRIVES/cdrom" "$WINEPREFIX/dosdevices/l:"
        ln -sfn "$RETEMPO_DRIVES/network" "$WINEPREFIX/dosdevices/n:"
        ln -sfn "$RETEMPO_DRIVES/data" "$WINEPREFIX/dosdevices/p:"
        wine reg add 'HKLM\Software\Wine\Drives' /v k: /d floppy /f >/dev/null 2>&1
        wine reg add 'HKLM\Software\Wine\Drives' /v l: /d cdrom /f >/dev/null 2>&1
        wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f >/dev/null 2>&1
        wine reg add 'HKLM\Software\Wine\Drives' /v p: /d hd /f >/dev/null 2>&1
        "$ROOT/scripts/lib/prefix_fonts.sh" install
        wineserver -w
        echo "$PREFIX_LAYOUT" > "$WINEPREFIX/.retempo-layout"
    fi
    # Checked on every use: a prefix made before a font was added must not
    # pass for a complete one.
    "$ROOT/scripts/lib/prefix_fonts.sh" check
    unmanage_test_windows
}

# The in-process GUI tests create and destroy many windows; with no window
# manager Wine waits 2 s on each destroyed managed window. Test programs (and
# only they: the real programs keep their frame) are marked unmanaged.
unmanage_test_windows() {
    local names reg stamp=$WINEPREFIX/.retempo-unmanaged
    names=$(cd "$X64" && ls -1 ./*_test.exe 2>/dev/null | sed 's#^\./##' | sort || true)
    [ "$names" = "$(cat "$stamp" 2>/dev/null)" ] && return 0
    reg=$X64/unmanaged.reg
    {
        echo 'REGEDIT4'
        local n
        for n in $names; do
            printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s\\X11 Driver]\n"Managed"="N"\n' "$n"
        done
    } > "$reg"
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
    echo "$names" > "$stamp"
}

# Runs "$@" on a private virtual display, without the right to set the clock.
on_private_display() {
    wineserver -k 2>/dev/null || true
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        setpriv --bounding-set=-sys_time "$@"
}
