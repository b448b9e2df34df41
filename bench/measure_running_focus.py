#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The figures behind bench/measure-running-focus.sh (run it through that
script, which provides the display and the bus).

Each case starts from a focus that began three minutes ago, waits --settle
seconds for start-up to be over, then reads /proc before and after
--seconds: user + system CPU time, voluntary and involuntary context
switches of all threads (per minute), and VmRSS at the end. Meanwhile the
pointer moves by one pixel once a second in a corner that no window
covers, as a user's hand on the mouse would, so that the X server's
traffic is that of a desktop in use.
"""

import argparse
import datetime
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

from measure_startup import running_focus_state
from process_figures import context_switches_by_thread, cpu_seconds, private_environment, status_field


class Nudger(threading.Thread):
    """Moves the pointer between two pixels of the bottom-left corner."""

    def __init__(self, env):
        super().__init__(daemon=True)
        self.env = env
        self.stopped = threading.Event()

    def run(self):
        x = 2
        while not self.stopped.wait(1.0):
            x = 3 if x == 2 else 2
            subprocess.run(["xdotool", "mousemove", str(x), "797"], env=self.env, capture_output=True)


def figures(pid, seconds, sample):
    cpu = cpu_seconds(pid)
    before = context_switches_by_thread(pid)
    started = time.monotonic()
    time.sleep(seconds)
    wall = time.monotonic() - started
    cpu = cpu_seconds(pid) - cpu
    per_minute = 60 / wall
    threads = {name: [(after - earlier) * per_minute for after, earlier in zip(counts, before.get(name, [0, 0]))]
               for name, counts in context_switches_by_thread(pid).items()}
    sample.update(cpu=cpu * 1000 * per_minute, voluntary=sum(v for v, _ in threads.values()),
                  involuntary=sum(i for _, i in threads.values()), rss=status_field(pid, "VmRSS") / 1024,
                  threads=threads)


def report(name, sample, threads):
    print(f"{name:44} {sample['cpu']:7.0f} ms CPU/min  {sample['voluntary']:6.0f} voluntary/min  "
          f"{sample['involuntary']:5.0f} involuntary/min  {sample['rss']:6.1f} MiB")
    if threads:
        for thread, (voluntary, involuntary) in sorted(sample["threads"].items()):
            print(f"    thread {thread:35} {voluntary:6.0f} voluntary/min  {involuntary:5.0f} involuntary/min")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--host")
    parser.add_argument("--plugin-dir")
    parser.add_argument("--seconds", type=int, default=60)
    parser.add_argument("--settle", type=int, default=5)
    parser.add_argument("--cases", default="window,hidden,widget")
    parser.add_argument("--threads", action="store_true", help="also give the switches of each thread")
    options = parser.parse_args()
    cases = options.cases.split(",")
    if "widget" in cases and not (options.host and options.plugin_dir):
        sys.exit("the widget case needs --host and --plugin-dir")

    root = tempfile.mkdtemp(prefix="quillmere-bench-")
    env = private_environment(root)
    helpers = [subprocess.Popen(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                                 "--height", "28", "--SetDockType", "true", "--transparent", "false"],
                                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
    nudger = Nudger(env)
    nudger.start()

    def start_focus():
        folder = os.path.join(root, "data", "Quillmere")
        os.makedirs(folder, mode=0o700, exist_ok=True)
        started = datetime.datetime.now(datetime.timezone.utc) - datetime.timedelta(minutes=3)
        with open(os.path.join(folder, "state.json"), "w") as file:
            json.dump(running_focus_state(started), file)
        return subprocess.Popen([os.path.abspath(options.binary)], env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def main_window():
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quillmere$"], env=env,
                               capture_output=True, text=True).stdout.split()
        return found[0] if found else None

    def wait_for(predicate, what, timeout=10):
        deadline = time.monotonic() + timeout
        while not predicate():
            if time.monotonic() > deadline:
                sys.exit(f"timed out waiting for {what}")
            time.sleep(0.1)

    def stop(process):
        process.send_signal(signal.SIGTERM)
        process.wait(10)

    try:
        print(f"binary: {options.binary}; {options.seconds} s a case after {options.settle} s to settle")
        for case in cases:
            app = start_focus()
            wait_for(main_window, "the main window")
            host = None
            if case == "hidden":
                window = main_window()
                subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "ctrl+w"], env=env)
                wait_for(lambda: main_window() is None, "the main window to hide")
            elif case == "widget":
                host = subprocess.Popen([options.host, "--plugin-dir", options.plugin_dir, "--family", "medium"],
                                        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(options.settle)
            for name, process in (("quillmere", app), ("the widget host", host)):
                if process and process.poll() is not None:
                    sys.exit(f"{name} ended with {process.returncode} before the measurement")
            samples = {"app": {}, "host": {}}
            threads = [threading.Thread(target=figures, args=(app.pid, options.seconds, samples["app"]))]
            if host:
                threads.append(threading.Thread(target=figures, args=(host.pid, options.seconds, samples["host"])))
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join()
            label = {"window": "quillmere, main window open on Work cycle",
                     "hidden": "quillmere, main window hidden",
                     "widget": "quillmere beside the widget host"}[case]
            report(label, samples["app"], options.threads)
            if host:
                report("quillmere-widget-host, one medium widget", samples["host"], options.threads)
                stop(host)
            stop(app)
    finally:
        nudger.stopped.set()
        for helper in helpers:
            helper.terminate()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
