#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash completion offers only what quillmerectl accepts: each command it
# offers is one the program knows, and each option it offers after a command
# is one that command takes. A trailing unknown option makes every line a
# usage error once the offered words have been read, so nothing is run.
#
#   completion-test.sh COMPLETION QUILLMERECTL
set -euo pipefail
completion=$1
ctl=$2
# shellcheck source=/dev/null
source "$completion"

offered() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _quillmerectl
    echo "${COMPREPLY[@]}"
}

passed=0
failed=0
check() {
    local what=$1 error=$2
    if [[ $error == *"unknown option --no-such-option"* ]]; then
        passed=$((passed + 1))
    else
        echo "FAIL: $what: $error"
        failed=$((failed + 1))
    fi
}

commands=$(offered quillmerectl "")
for command in $commands; do
    [[ $command == -* ]] && continue
    check "command $command" "$("$ctl" "$command" --no-such-option 2>&1 >/dev/null || true)"
    for option in $(offered quillmerectl "$command" -); do
        case $option in
            --help | --) continue ;;
            --as | --timeout) value=1 ;;
            --since | --until) value=2026-03-02 ;;
            --format) value=csv ;;
            --output) value=out.csv ;;
            *) value="" ;;
        esac
        # --timeout needs --wait with ask, and --force --output with export;
        # give them, as a user would.
        extra=()
        [[ $command == ask ]] && extra=(question --wait)
        [[ $command == export ]] && extra=(--output out.csv)
        check "$command $option" \
            "$("$ctl" "$command" "${extra[@]}" "$option" ${value:+"$value"} --no-such-option 2>&1 >/dev/null || true)"
    done
done
[[ $commands == *status* ]] || { echo "FAIL: no commands offered"; failed=$((failed + 1)); }
[[ $(offered quillmerectl export --format "") == "csv json" ]] || { echo "FAIL: no formats offered"; failed=$((failed + 1)); }
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
