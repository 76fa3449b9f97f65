#!/bin/sh
# The pictures of the user manual, taken by the program itself on a virtual
# screen (QUORIX_SCREENSHOT), so that they follow the program.
# Usage: sh tools/manual_screenshots.sh PATH/TO/quorix OUTPUT_FOLDER
set -eu
quorix=$(realpath "$1")
out=$(realpath "$2")
examples=$(cd "$(dirname "$0")/../examples" && pwd)
mkdir -p "$out"
# A settings folder of its own: the pictures show the defaults, not the user's choices.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT

# shot NAME "MENU COMMAND" [DATA GRID]: the screen after running the command.
shot() {
  name=$1 command=$2
  shift 2
  (cd "$examples" &&
    XDG_CONFIG_HOME="$config" QUORIX_SCREENSHOT="$out/$name.png" QUORIX_SCREENSHOT_COMMAND="$command" \
      xvfb-run -a -s "-screen 0 1280x900x24" "$quorix" "$@") || { echo "no picture $name" >&2; exit 1; }
  [ -s "$out/$name.png" ] || { echo "no picture $name" >&2; exit 1; }
  echo "$out/$name.png"
}

shot load-files ""
shot main-window "" copper111.pol grid5.rst
shot select-pole-figures "" copper.xpe grid5.rst
shot save-ascii "Save as ASCII" copper111.pol grid5.rst
shot circle-correction "Edit Intensities of Circle" copper111.pol grid5.rst
shot add-weighted "Add Pole Figures weighted" copper111.pol grid5.rst
shot rotation "Rotate Grid" copper111.pol grid5.rst
shot interpolation "Interpolation" copper111.pol grid5.rst
shot smoothing "Smooth Pole Figures" copper111.pol grid5.rst
shot contours "Contours" copper111.pol grid5.rst
shot options "Options" copper111.pol grid5.rst
cp "$(dirname "$0")/../packaging/icons/hicolor/48x48/apps/org.quorix.Quorix.png" "$out/icon.png"
