#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the widget host's footprint with a live countdown in a medium
# widget: resident memory, and CPU over a minute. Runs the release build on a
# virtual display with a private session bus; prints figures and asserts
# nothing.
#
#   bench/measure-widget-host.sh [--host PATH --plugin-dir FOLDER] [--seconds S]
#
# Without --host it builds build-release/ first, as scripts/start does.
set -euo pipefail
cd "$(dirname "$0")/.."

host=""
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --host) host="$2"; shift 2 ;;
    *) args+=("$1"); shift ;;
  esac
done

if [ -z "$host" ]; then
  . bench/release-build.sh
  build_release quillmere-widget-host QuillmereWidget
  host=build-release/widget/quillmere-widget-host
  args+=(--plugin-dir build-release/widget/plugins)
fi

exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  dbus-run-session -- python3 bench/measure_widget_host.py --host "$host" "${args[@]}"
