#!/usr/bin/env bash
# Every text of the sources has its English translation, and the translations hold no text
# the sources no longer use: the committed file is what lupdate makes of the sources, with
# nothing left unfinished.
# usage: translations_current.sh SOURCE_DIR
set -euo pipefail
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
root=${1:?"usage: $0 SOURCE_DIR"}
committed=$root/translations/seabattle_en.ts
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$committed" "$work/seabattle_en.ts"
"$root/tools/update-translations.sh" "$work/seabattle_en.ts" >"$work/lupdate.log" 2>&1 \
    || fail "lupdate failed: $(cat "$work/lupdate.log")"
unfinished=$(grep -c 'type="unfinished"' "$work/seabattle_en.ts" || true)
[ "$unfinished" -eq 0 ] || fail "$unfinished texts have no English translation yet:
$(grep -B3 'type="unfinished"' "$work/seabattle_en.ts" | grep '<source>')"
diff -u "$committed" "$work/seabattle_en.ts" \
    || fail "translations/seabattle_en.ts is not up to date: run tools/update-translations.sh"
echo "every text has its English translation"
