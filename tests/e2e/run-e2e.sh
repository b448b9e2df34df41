#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one end-to-end scenario of the real quillmere binary on a virtual X
# display (xvfb-run) with a private session bus (dbus-run-session). Skips,
# with exit code 77, when a tool the scenarios need is not installed;
# scripts/install-deps installs them all.
set -euo pipefail

for tool in xvfb-run xauth dbus-run-session dbus-send dbus-monitor dunst xdotool xwininfo xprop xdg-open python3; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (scripts/install-deps installs what the end-to-end tests need)"
    exit 77
  fi
done

exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  dbus-run-session -- python3 "$(dirname "$0")/e2e.py" "$@"
