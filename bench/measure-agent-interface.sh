#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures what agents and scripts wait for: from an AskQuestion call to the
# question being in agent-state.json and widget-snapshot.json, and the
# exec-to-exit time of `quillmerectl status`. Runs the release build on a
# virtual display with a private session bus; prints figures and asserts
# nothing.
#
#   bench/measure-agent-interface.sh [--binary PATH] [--ctl PATH] [--runs N]
#
# Without --binary and --ctl it builds build-release/ first, as scripts/start
# does.
set -euo pipefail
cd "$(dirname "$0")/.."

binary=""
ctl=""
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --binary) binary="$2"; shift 2 ;;
    --ctl) ctl="$2"; shift 2 ;;
    *) args+=("$1"); shift ;;
  esac
done

if [ -z "$binary" ] || [ -z "$ctl" ]; then
  . bench/release-build.sh
  build_release quillmere quillmerectl
  binary=${binary:-build-release/app/quillmere}
  ctl=${ctl:-build-release/ctl/quillmerectl}
fi

exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  dbus-run-session -- python3 bench/measure_agent_interface.py --binary "$binary" --ctl "$ctl" "${args[@]}"
