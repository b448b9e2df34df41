#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures what a running focus costs, the case a focus application spends
# its life in: Xvfb at 1280x800, a trayer status area, a private session bus,
# the pointer nudged by a pixel once a second outside every window, a focus
# seeded running, and for each case CPU milliseconds a minute, voluntary and
# involuntary context switches a minute and resident memory. The cases:
# Quillmere with its main window open on the Work cycle tab, with the window
# hidden, and with the widget host showing a medium widget beside it (both
# processes are measured). Release build; prints figures, asserts nothing.
#
#   bench/measure-running-focus.sh [--seconds S] [--cases window,hidden,widget] [--threads]
#       [--binary PATH] [--host PATH --plugin-dir DIR]
#
# It builds build-release/ first, as scripts/start does, and measures it
# unless other binaries are named.
set -euo pipefail
cd "$(dirname "$0")/.."

. bench/release-build.sh
build_release quillmere quillmere-widget-host QuillmereWidget

# Options given later win: --binary, --host and --plugin-dir measure other builds.
exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" \
  dbus-run-session -- python3 bench/measure_running_focus.py --binary build-release/app/quillmere \
  --host build-release/widget/quillmere-widget-host --plugin-dir build-release/widget/plugins "$@"
