#!/usr/bin/env bash
# Brings translations/seabattle_en.ts up to the texts of the sources: new texts come in
# unfinished, texts no longer used go. Then translate the unfinished ones (Qt Linguist, or any
# editor) and commit the file; the build compiles it into the game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=$(command -v lupdate-qt6 || echo /usr/lib/qt6/bin/lupdate)
cd "$root"
"$lupdate" -silent -locations none -no-obsolete -source-language ru -target-language en \
  src main.cpp commandline.cpp -ts "${1:-translations/seabattle_en.ts}"
