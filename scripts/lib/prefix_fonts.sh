#!/usr/bin/env bash
# The fonts every Wine prefix of the project needs, and the check that they
# are there. Used by scripts/lib/setup.sh and by the end-to-end suite, so
# that every prefix gets the same.
#
#   prefix_fonts.sh install   (WINEPREFIX set; wine usable)
#   prefix_fonts.sh check     (WINEPREFIX set)
#
# Debian's Wine does not load its own fonts (MS Sans Serif, Tahoma, Marlett,
# ... from fonts-wine) from its data folder. Without them "Helv" falls back to
# a wider font, labels run into each other and the caption buttons are drawn
# as letters. Copied into the prefix's Fonts folder they are used as on
# Windows. Window titles and list headers in Japanese use "MS UI Gothic",
# which IPA P Gothic stands in for under the file name Wine's link asks for.
# The Japanese labels and dialogs ask for the proportional "ＭＳ Ｐゴシック"
# and the bar captions for the fixed-pitch "ＭＳゴシック"; without their own
# replacements both fall to fixed-pitch IPA Gothic, and the hint line of
# klokan99 runs under the check box.
set -euo pipefail

WINE_FONTS=/usr/share/wine/fonts
JAPANESE_UI_FONT=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
JAPANESE_UI_LINK=msgothic.ttc
JAPANESE_FIXED_FONT=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
# Japanese face names as the prefix's registry file spells them.
PROPORTIONAL_REPLACEMENT='"\xff2d\xff33 \xff30\x30b4\x30b7\x30c3\x30af"="IPAPGothic"'

fonts_folder() { printf '%s/drive_c/windows/Fonts' "$WINEPREFIX"; }

install_fonts() {
    local fonts
    fonts=$(fonts_folder)
    mkdir -p "$fonts"
    cp -f "$WINE_FONTS"/* "$fonts"/
    ln -sfn "$JAPANESE_UI_FONT" "$fonts/$JAPANESE_UI_LINK"
    # Names outside ASCII go in through a UTF-16 registry file.
    local reg=$WINEPREFIX/retempo-fonts.reg
    {
        printf '\xff\xfe'
        printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
            '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
            '"MS UI Gothic"="IPAPGothic"' \
            '"ＭＳ Ｐゴシック"="IPAPGothic"' \
            '"ＭＳ ゴシック"="IPAGothic"' \
            '"ＭＳゴシック"="IPAGothic"' | iconv -f UTF-8 -t UTF-16LE
    } > "$reg"
    wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
    rm -f "$reg"
}

# Prints one line per thing the prefix lacks, with what provides it; exits 1
# when anything is missing. Everything here is something a new machine does
# not have until the set-up installs it.
check_prefix() {
    local missing=() absent=() fonts f
    fonts=$(fonts_folder)
    if ! compgen -G "$WINE_FONTS/*.ttf" >/dev/null; then
        missing+=("Wine's own fonts ($WINE_FONTS): install the package fonts-wine")
    else
        for f in "$WINE_FONTS"/*; do
            [ -f "$fonts/$(basename "$f")" ] || absent+=("$(basename "$f")")
        done
        [ ${#absent[@]} -eq 0 ] ||
            missing+=("${#absent[@]} of Wine's fonts are not in $fonts (${absent[*]:0:3} ...)")
    fi
    for f in "$JAPANESE_UI_FONT" "$JAPANESE_FIXED_FONT"; do
        [ -f "$f" ] || missing+=("$f: install the package fonts-ipafont-gothic")
    done
    [ -e "$fonts/$JAPANESE_UI_LINK" ] ||
        missing+=("$JAPANESE_UI_LINK in $fonts does not lead to IPA P Gothic")
    grep -q '"MS UI Gothic"="IPAPGothic"' "$WINEPREFIX/user.reg" 2>/dev/null ||
        missing+=("the font replacement of \"MS UI Gothic\" in the prefix's registry")
    grep -qF "$PROPORTIONAL_REPLACEMENT" "$WINEPREFIX/user.reg" 2>/dev/null ||
        missing+=("the font replacements of the Japanese faces in the prefix's registry")
    locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' ||
        missing+=("the ja_JP.UTF-8 locale (Japanese file names and the Japanese mode)")
    local tool
    for tool in wine wineserver xvfb-run xdotool import setpriv; do
        command -v "$tool" >/dev/null || missing+=("the command $tool")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        {
            echo "The Wine prefix $WINEPREFIX lacks what the programs need to look and behave"
            echo "as on Windows; the tests would fail on pixels or names, not on a cause:"
            printf '  - %s\n' "${missing[@]}"
            echo "scripts/test and scripts/run install all of it on a Debian machine."
        } >&2
        return 1
    fi
}

: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
case "${1:-}" in
    install) install_fonts ;;
    check) check_prefix ;;
    *) echo "usage: prefix_fonts.sh install|check" >&2; exit 2 ;;
esac
