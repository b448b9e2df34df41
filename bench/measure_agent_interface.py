#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The figures behind bench/measure-agent-interface.sh (run it through that
script, which provides the display and the bus).

- AskQuestion: from just before `dbus-send` starts to the new question being
  in agent-state.json and counted in widget-snapshot.json (each polled every
  half millisecond once the call has returned). dbus-send's own start-up is
  part of that figure; so that it can be told apart, the round trip of a
  Peer.Ping through the same program is measured too.
- quillmerectl status: from just before exec to the exit of the process, with
  Quillmere running; one warm-up run, then --runs runs.

Medians, and the slowest run, in milliseconds.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SERVICE = "org.quillmere.Quillmere"
PATH = "/org/quillmere/Quillmere"
INTERFACE = "org.quillmere.Quillmere1"


def dbus_send(*arguments):
    return subprocess.run(["dbus-send", "--session", "--print-reply", f"--dest={SERVICE}", PATH, *arguments],
                          check=True, capture_output=True, text=True).stdout


def contains(path, text):
    try:
        with open(path, encoding="utf-8") as file:
            return text in file.read()
    except OSError:
        return False


def milliseconds(samples):
    return f"median {statistics.median(samples):.1f} ms, slowest {max(samples):.1f} ms (n={len(samples)})"


def wait_for_name(timeout=20):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        reply = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", f"string:{SERVICE}"],
                               capture_output=True, text=True).stdout
        if "true" in reply:
            return
        time.sleep(0.05)
    sys.exit("Quillmere did not take its bus name")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--ctl", required=True)
    parser.add_argument("--runs", type=int, default=20)
    options = parser.parse_args()

    home = tempfile.mkdtemp(prefix="quillmere-bench-")
    env = dict(os.environ, XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_CACHE_HOME=os.path.join(home, "cache"))
    os.environ.update(env)
    app = subprocess.Popen([options.binary], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for_name()
        agent_file = os.path.join(env["XDG_DATA_HOME"], "Quillmere", "agent-state.json")
        widget_file = os.path.join(env["XDG_DATA_HOME"], "group-containers", "J4N7R2D9K5.quillmere",
                                   "widget-snapshot.json")

        pings = []
        asks = []
        for run in range(options.runs + 1):
            start = time.perf_counter()
            dbus_send("org.freedesktop.DBus.Peer.Ping")
            ping = (time.perf_counter() - start) * 1000

            # The widget lists the first three open questions and counts the
            # rest: the count shows that this one has reached it. Each run
            # asks as another agent, so none meets the limit of one asker.
            text = f"Benchmark question {run}?"
            count = f'"open_question_count":{run + 1},'
            start = time.perf_counter()
            dbus_send(f"{INTERFACE}.AskQuestion", f"string:{text}", f"string:bench-{run}")
            while not (contains(agent_file, text) and contains(widget_file, count)):
                if time.perf_counter() - start > 5:
                    sys.exit(f"question {run} did not reach both files within 5 s")
                time.sleep(0.0005)
            if run > 0:
                pings.append(ping)
                asks.append((time.perf_counter() - start) * 1000)

        statuses = []
        for run in range(options.runs + 1):
            start = time.perf_counter()
            subprocess.run([options.ctl, "status"], check=True, stdout=subprocess.DEVNULL)
            if run > 0:
                statuses.append((time.perf_counter() - start) * 1000)

        print(f"AskQuestion to agent-state.json and widget-snapshot.json: {milliseconds(asks)}")
        print(f"  of which dbus-send's own round trip (Peer.Ping): {milliseconds(pings)}")
        print(f"quillmerectl status, exec to exit: {milliseconds(statuses)}")
    finally:
        app.terminate()
        app.wait(timeout=10)
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
