#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The figures behind bench/measure-startup.sh (run it through that script,
which provides the display and the bus).

- start-up: from just before exec to the X server's MapNotify of the main
  window, seen by xev listening on the root window; one warm-up launch, then
  the median of --runs launches, with the idle state and with a focus
  running. A trayer status area is up, and the notification daemon is
  stopped before each launch, so that it is D-Bus-activated on first use as
  on many desktops: a launch that waited for it would show.
- memory: VmRSS of the process after --seconds idle.
- CPU: user + system time over --seconds with a focus running and the window
  showing its countdown, as a share of one core; and the wake-ups (context
  switches of all threads) per second.

The prepared states can be made heavy, to see what large texts and long
lists cost: --outcome-characters N gives the running session an intended
outcome of N characters of ASCII (so N bytes too), words and spaces or, with
--outcome-style unbroken, one word no line can break; --open-questions N
puts N open agent questions into every state, also into the one the start-up
launches find. --phases runs only some of startup, memory and cpu.
"""

import argparse
import datetime
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import uuid

from process_figures import context_switches, cpu_seconds, private_environment, status_field


def iso(instant):
    return instant.strftime("%Y-%m-%dT%H:%M:%SZ")


def open_questions(count, created_at):
    return [{"created_at": iso(created_at), "id": str(uuid.uuid4()).upper(),
             "question": f"Question {number + 1}: which parser should the release use?"} for number in range(count)]


def outcome_text(characters, style):
    """`characters` characters of words and spaces as a user would type them
    (prose), or of one word that no line can break (unbroken)."""
    if style == "unbroken":
        return "x" * characters
    sentence = "Draft the parser and its error messages, then measure it. "
    return (sentence * (characters // len(sentence) + 1))[:characters]


def idle_state(now, questions):
    return {"agent_questions": open_questions(questions, now), "block_history": [], "break_extension_seconds": 0,
            "id": str(uuid.uuid4()).upper(), "updated_at": iso(now), "workflow_state": "idle"}


def running_focus_state(started_at, outcome_characters=0, outcome_style="prose", questions=0):
    outcome = str(uuid.uuid4()).upper()
    intended = outcome_text(outcome_characters, outcome_style) if outcome_characters else "Draft the parser"
    plan = {"block_outcome_id": outcome, "energy": 4, "first_action": "Open parser.cpp", "hazards_mitigation": "",
            "id": str(uuid.uuid4()).upper(), "intended_outcome": intended, "morale": 4, "nicu_framing": ""}
    return {
        "agent_questions": open_questions(questions, started_at), "block_history": [], "break_extension_seconds": 0,
        "current_block": {
            "break_duration_seconds": 300, "context_notes": "", "created_at": iso(started_at), "cycle_count": 8,
            "done_test": "", "focus_duration_seconds": 1500, "hazards": "", "id": str(uuid.uuid4()).upper(),
            "measurable_check": "", "outcomes": [{"id": outcome, "title": "Parser works"}],
            "sessions": [{"accumulated_paused_seconds": 0, "id": str(uuid.uuid4()).upper(), "number": 1,
                          "plan": plan, "planned_duration_seconds": 1500, "started_at": iso(started_at)}],
            "why_value": "",
        },
        "id": str(uuid.uuid4()).upper(), "updated_at": iso(started_at), "workflow_state": "focusing",
    }


class MapWatcher:
    """xev on the root window: the instant of every MapNotify, by window."""

    def __init__(self, env):
        self.events = []
        self.lock = threading.Lock()
        self.process = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"], env=env,
                                        stdout=subprocess.PIPE, text=True)
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        pending = False
        for line in self.process.stdout:
            now = time.monotonic()
            if line.startswith("MapNotify event"):
                pending = True
            elif pending and " window 0x" in line:
                window = line.split(" window ")[1].split(",")[0]
                with self.lock:
                    self.events.append((now, window))
                pending = False

    def first_after(self, instant, timeout, accept):
        """The first mapping after `instant` of a window that `accept` takes."""
        deadline = time.monotonic() + timeout
        seen = set()
        while time.monotonic() < deadline:
            with self.lock:
                candidates = [(when, window) for when, window in self.events if when >= instant]
            for when, window in candidates:
                if window not in seen:
                    seen.add(window)
                    if accept(window):
                        return when, window
            time.sleep(0.001)
        return None

    def stop(self):
        self.process.terminate()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--seconds", type=int, default=60)
    parser.add_argument("--outcome-characters", type=int, default=0)
    parser.add_argument("--outcome-style", choices=("prose", "unbroken"), default="prose")
    parser.add_argument("--open-questions", type=int, default=0)
    parser.add_argument("--phases", default="startup,memory,cpu")
    options = parser.parse_args()
    phases = set(options.phases.split(","))
    binary = os.path.abspath(options.binary)

    root = tempfile.mkdtemp(prefix="quillmere-bench-")
    env = private_environment(root)
    # A status area, as on a desktop; the notification daemon (dunst) is
    # started by the bus when something first asks for it.
    trayer = subprocess.Popen(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                               "--height", "28", "--SetDockType", "true", "--transparent", "false"],
                              env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    watcher = MapWatcher(env)
    time.sleep(0.5)

    def is_main_window(window):
        info = subprocess.run(["xwininfo", "-id", window], env=env, capture_output=True, text=True).stdout
        return '"Quillmere"' in info and "Width: 920" in info and "Height: 720" in info

    def launch():
        return subprocess.Popen([binary], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def stop(process):
        process.send_signal(signal.SIGTERM)
        process.wait(10)

    def prepare(state):
        folder = os.path.join(root, "data", "Quillmere")
        os.makedirs(folder, mode=0o700, exist_ok=True)
        with open(os.path.join(folder, "state.json"), "w") as file:
            json.dump(state, file)

    def now():
        return datetime.datetime.now(datetime.timezone.utc)

    def stop_notification_daemon():
        reply = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
                                "org.freedesktop.DBus.GetConnectionUnixProcessID",
                                "string:org.freedesktop.Notifications"], env=env, capture_output=True, text=True)
        if reply.returncode == 0:
            pid = int(reply.stdout.split()[-1])
            os.kill(pid, signal.SIGTERM)
            while os.path.exists(f"/proc/{pid}"):
                time.sleep(0.01)

    try:
        print(f"binary: {binary}")
        if options.outcome_characters or options.open_questions:
            print(f"prepared states: {options.open_questions} open agent questions; while focusing, "
                  f"an intended outcome of {options.outcome_characters or len('Draft the parser')} characters"
                  + (f" ({options.outcome_style})" if options.outcome_characters else ""))
        if options.open_questions:
            prepare(idle_state(now(), options.open_questions))

        if "startup" in phases:
            for case, state in (("idle", idle_state(now(), options.open_questions)),
                                ("a focus running", running_focus_state(now(), options.outcome_characters,
                                                                        options.outcome_style,
                                                                        options.open_questions))):
                prepare(state)
                timings = []
                for run in range(options.runs + 1):
                    stop_notification_daemon()
                    started = time.monotonic()
                    process = launch()
                    mapped = watcher.first_after(started, 30, is_main_window)
                    time.sleep(0.3)  # let it reach the notification daemon before it goes
                    stop(process)
                    if mapped is None:
                        sys.exit("the main window was never mapped")
                    if run > 0:  # the first launch warms the caches
                        timings.append((mapped[0] - started) * 1000)
                print(f"start-up ({case}), exec to main window mapped: median {statistics.median(timings):.0f} ms "
                      f"(min {min(timings):.0f}, max {max(timings):.0f}, {len(timings)} launches after one "
                      f"warm-up)")
            prepare(idle_state(now(), options.open_questions))

        if "memory" in phases:
            process = launch()
            time.sleep(options.seconds)
            rss = status_field(process.pid, "VmRSS")
            anon = status_field(process.pid, "RssAnon")
            print(f"resident memory after {options.seconds} s idle: {rss / 1024:.1f} MiB "
                  f"({anon / 1024:.1f} MiB anonymous, {(rss - anon) / 1024:.1f} MiB mapped files)")
            stop(process)

        if "cpu" in phases:
            prepare(running_focus_state(now(), options.outcome_characters, options.outcome_style,
                                        options.open_questions))
            process = launch()
            time.sleep(3)
            cpu_before, switches_before, wall_before = cpu_seconds(process.pid), context_switches(process.pid), \
                time.monotonic()
            time.sleep(options.seconds)
            cpu_after, switches_after, wall_after = cpu_seconds(process.pid), context_switches(process.pid), \
                time.monotonic()
            wall = wall_after - wall_before
            print(f"CPU over {wall:.0f} s with a focus running and the window open: "
                  f"{(cpu_after - cpu_before) / wall * 100:.2f} % of one core "
                  f"({(cpu_after - cpu_before) * 1000:.0f} ms), "
                  f"{(switches_after - switches_before) / wall:.1f} wake-ups per second")
            stop(process)
    finally:
        watcher.stop()
        trayer.terminate()
        stop_notification_daemon()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
