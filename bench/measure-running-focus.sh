#!/usr/bin/env bash
# Measures what a running focus costs, the case a focus application spends
# its life in: Xvfb at 1280x800, a trayer status area, a private session bus,
# the pointer nudged by a pixel once a second outside every window, a focus
# seeded running, and for each case CPU milliseconds a minute, voluntary and
# involuntary context switches a minute and resident memory. The cases:
# Quillmere with its main window open on the Work cycle tab, with the window
# hidden, and with the widget host showing a medium widget beside it (both
# processes are measured). Release build; prints figures, asserts nothing.
#
#   bench/measure-running-focus.sh [--binary PATH] [--host PATH --plugin-dir DIR]
#       [--seconds S] [--cases window,hidden,widget]
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
  scripts/install-deps
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_BUILD_TESTS=OFF >/dev/null
  cmake --build build-release --target quillmere quillmere-widget-host QuillmereWidget >/dev/null
  binary=build-release/app/quillmere
  args+=(--host build-release/widget/quillmere-widget-host --plugin-dir build-release/widget/plugins)
fi

exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" \
  dbus-run-session -- python3 bench/measure_running_focus.py --binary "$binary" "${args[@]}"
