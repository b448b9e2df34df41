#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The widget host's resident memory and CPU with a live countdown.

Writes a snapshot of a focus with 40 minutes left into a private data home,
starts the host with one medium widget, lets it settle, then samples the
process for a minute: CPU time used (user + system, as a share of one core),
wake-ups (context switches) per second, and resident memory at the end.
Targets: at most 40 MiB resident and 0.2 % of one core.

    measure_widget_host.py --host PATH --plugin-dir FOLDER [--seconds S]
                           [--outcome-characters N]

--outcome-characters gives the snapshot an intended outcome of N characters,
as a file written by something other than Quillmere could hold.
"""

import argparse
import datetime
import json
import os
import subprocess
import sys
import tempfile
import time

from process_figures import context_switches, cpu_seconds, status_field


def iso(instant):
    return instant.strftime("%Y-%m-%dT%H:%M:%SZ")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", required=True)
    parser.add_argument("--plugin-dir", required=True)
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--outcome-characters", type=int, default=0)
    options = parser.parse_args()

    root = tempfile.mkdtemp(prefix="quillmere-widget-bench-")
    container = os.path.join(root, "data", "group-containers", "J4N7R2D9K5.quillmere")
    os.makedirs(container, mode=0o700)
    os.makedirs(os.path.join(root, "config"), mode=0o700)
    now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
    snapshot = {
        "schema_version": 1, "phase": "focusing", "route": "focus",
        "intended_outcome": "Measure the widget host", "first_action": "Start the countdown",
        "sessions_started": 2, "sessions_planned": 8, "current_session_number": 2,
        "countdown": {"ends_at": iso(now + datetime.timedelta(minutes=40)),
                      "started_at": iso(now - datetime.timedelta(minutes=5)),
                      "is_paused": False, "frozen_remaining_seconds": 2400},
        "energy": 4, "morale": 4, "open_question_count": 0, "open_questions": [], "updated_at": iso(now),
    }
    if options.outcome_characters > 0:
        snapshot["intended_outcome"] = ("Measure the widget host " * options.outcome_characters)[
            :options.outcome_characters]
    with open(os.path.join(container, "widget-snapshot.json"), "w") as file:
        json.dump(snapshot, file, sort_keys=True, separators=(",", ":"))

    env = {**os.environ, "XDG_DATA_HOME": os.path.join(root, "data"),
           "XDG_CONFIG_HOME": os.path.join(root, "config"), "QT_QPA_PLATFORM": "xcb", "LANG": "C.UTF-8"}
    host = subprocess.Popen([options.host, "--plugin-dir", options.plugin_dir, "--family", "medium"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    try:
        time.sleep(5)
        if host.poll() is not None:
            print(f"the host ended with {host.returncode}: {host.stderr.read()}")
            return 1
        cpu_before, switches_before, started = cpu_seconds(host.pid), context_switches(host.pid), time.monotonic()
        time.sleep(options.seconds)
        elapsed = time.monotonic() - started
        cpu = cpu_seconds(host.pid) - cpu_before
        switches = context_switches(host.pid) - switches_before
        rss = status_field(host.pid, "VmRSS")
        anon = status_field(host.pid, "RssAnon")
    finally:
        host.terminate()
        host.wait(10)

    outcome = f", a {options.outcome_characters:,}-character outcome" if options.outcome_characters else ""
    print(f"widget host, medium widget with a live countdown{outcome}, {elapsed:.0f} s:")
    print(f"  resident memory  {rss / 1024:.1f} MiB, {anon / 1024:.1f} MiB of it private   (target <= 40 MiB)")
    print(f"  CPU              {100 * cpu / elapsed:.3f} % of one core   (target <= 0.2 %)")
    print(f"  wake-ups         {switches / elapsed:.1f} per second")
    return 0


if __name__ == "__main__":
    sys.exit(main())
