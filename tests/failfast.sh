# shellcheck shell=bash
# Sourced first by the test libraries (tests/e2e/lib.sh, tests/install/lib.sh): a test stops at
# its first failed step and says which. A command that fails outside a condition ends the script
# at once through the library's fail, named with its file and line, unless fail has told the
# reason already (in a command substitution, say: it calls failfast_told). A skip (exit status
# 77) stays a skip. The library sets FAILFAST_TOLD, a file in its scratch folder.
set -Eeuo pipefail

failfast_step_failed() {
    local status=$? where="${BASH_SOURCE[1]##*/} line ${BASH_LINENO[0]}"
    # A command substitution's own failures are its caller's to judge, as without this trap.
    [ "$BASH_SUBSHELL" -eq 0 ] || return "$status"
    [ "$status" -ne 77 ] && [ ! -e "${FAILFAST_TOLD:-}" ] || exit "$status"
    fail "$where: '$BASH_COMMAND' failed with exit status $status"
}
trap failfast_step_failed ERR

# failfast_told: the library's fail calls it before it exits.
failfast_told() { : >"$FAILFAST_TOLD" 2>/dev/null || true; }
