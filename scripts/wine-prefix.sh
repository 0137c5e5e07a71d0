#!/usr/bin/env bash
# Creates the project's Wine prefix under the Japanese locale (menus and captions need it) with a
# virtual desktop, so that closing windows does not stall without a window manager.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
# The marker names the prefix's version: a prefix made by an earlier version of this script is set up anew.
marker="$WINEPREFIX/.palvenor-ready-2"
[[ -f $marker ]] && exit 0

wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null 2>&1
# MS UI Gothic is a proportional font; Wine would draw it with the fixed-pitch IPAGothic, whose wider
# kana do not fit where the windows' design gives them room.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "MS UI Gothic" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
# The user folders are symlinks into $HOME; tests write there, so make them real folders.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [[ -L $link ]]; then rm "$link"; mkdir -p "$link"; fi
done
wineserver -w
touch "$marker"
