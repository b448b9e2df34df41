#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the application as a user meets it: time from exec to the main
# window mapped (median of several launches), resident memory after a minute
# idle, and CPU used over a minute with a focus running. Runs the release
# build on a virtual display with a private session bus; prints figures and
# asserts nothing.
#
#   bench/measure-startup.sh [--binary PATH] [--runs N] [--seconds S]
#       [--outcome-characters N] [--outcome-style prose|unbroken] [--open-questions N]
#       [--phases startup,memory,cpu]
#
# The last four prepare heavier states (see bench/measure_startup.py), e.g.
# a 1 MB intended outcome in the running focus:
#
#   bench/measure-startup.sh --outcome-characters 1000000 --phases cpu
#
# Without --binary it builds build-release/ first, as scripts/start does.
set -euo pipefail
cd "$(dirname "$0")/.."

binary=""
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --binary) binary="$2"; shift 2 ;;
    *) args+=("$1"); shift ;;
  esac
done

if [ -z "$binary" ]; then
  . bench/release-build.sh
  build_release quillmere
  binary=build-release/app/quillmere
fi

exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" \
  dbus-run-session -- python3 bench/measure_startup.py --binary "$binary" "${args[@]}"
