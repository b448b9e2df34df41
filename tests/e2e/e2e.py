#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end scenarios of the real `quillmere` binary.

Each scenario runs on the X display and the session bus it is started under
(run-e2e.sh provides both: xvfb-run and dbus-run-session), with dunst as the
notification daemon and a private HOME, XDG_DATA_HOME, XDG_CONFIG_HOME and
TMPDIR, and judges the application by what a user or another program sees:
its windows, its exit codes, the files it writes and the notifications the
daemon receives.

    e2e.py --binary PATH --grab PATH SCENARIO [--out FOLDER]
           [--host PATH --plugin-dir FOLDER]   (the widget scenario)
"""

import argparse
import datetime
import json
import os
import re
import signal
import stat
import subprocess
import sys
import tempfile
import time
import uuid

# The largest wait the scenarios promise for anything a user would notice.
PROMPT = 2.0


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(predicate, timeout, what, interval=0.05):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


def iso(instant):
    return instant.strftime("%Y-%m-%dT%H:%M:%SZ")


def upper_uuid():
    return str(uuid.uuid4()).upper()


def focus_state(started_at, focus_seconds):
    """A state file with the first focus of a block running since `started_at`."""
    outcome = upper_uuid()
    return {
        "agent_questions": [],
        "block_history": [],
        "break_extension_seconds": 0,
        "current_block": {
            "break_duration_seconds": 300,
            "context_notes": "",
            "created_at": iso(started_at - datetime.timedelta(minutes=2)),
            "cycle_count": 8,
            "done_test": "The parser reads every sample",
            "focus_duration_seconds": focus_seconds,
            "hazards": "",
            "id": upper_uuid(),
            "measurable_check": "",
            "outcomes": [{"id": outcome, "title": "Parser works"}],
            "sessions": [{
                "accumulated_paused_seconds": 0,
                "id": upper_uuid(),
                "number": 1,
                "plan": {
                    "block_outcome_id": outcome,
                    "energy": 4,
                    "first_action": "Open parser.cpp",
                    "hazards_mitigation": "",
                    "id": upper_uuid(),
                    "intended_outcome": "Draft the parser",
                    "morale": 4,
                    "nicu_framing": "",
                },
                "planned_duration_seconds": focus_seconds,
                "started_at": iso(started_at),
            }],
            "why_value": "Unblocks the team",
        },
        "id": upper_uuid(),
        "updated_at": iso(started_at),
        "workflow_state": "focusing",
    }


class Desktop:
    """A private user on the display and bus of this run, with dunst."""

    def __init__(self, binary, grab):
        self.binary = binary
        self.grab = grab
        self.root = tempfile.mkdtemp(prefix="quillmere-e2e-")
        self.dirs = {}
        for name in ("home", "data", "config", "cache", "runtime", "tmp"):
            path = os.path.join(self.root, name)
            os.makedirs(path, mode=0o700)
            self.dirs[name] = path
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "DISPLAY": os.environ["DISPLAY"],
            "DBUS_SESSION_BUS_ADDRESS": os.environ["DBUS_SESSION_BUS_ADDRESS"],
            "HOME": self.dirs["home"],
            "XDG_DATA_HOME": self.dirs["data"],
            "XDG_CONFIG_HOME": self.dirs["config"],
            "XDG_CACHE_HOME": self.dirs["cache"],
            "XDG_RUNTIME_DIR": self.dirs["runtime"],
            "TMPDIR": self.dirs["tmp"],
            "LANG": "C.UTF-8",
            "QT_QPA_PLATFORM": "xcb",
            # Diagnostics that would go to the system log also go to stderr.
            "QUILLMERE_LOG_STDERR": "1",
        }
        if "XAUTHORITY" in os.environ:
            self.env["XAUTHORITY"] = os.environ["XAUTHORITY"]
        self.processes = []
        self.helpers = []
        self.monitor_log = os.path.join(self.root, "notify-calls.log")
        self.start_helper(["dbus-monitor", "--session",
                           "type='method_call',interface='org.freedesktop.Notifications',member='Notify'"],
                          stdout=open(self.monitor_log, "w"))
        self.start_helper(["dunst"], stdout=subprocess.DEVNULL)
        wait_until(lambda: self.bus_name_has_owner("org.freedesktop.Notifications"), 10, "dunst on the bus")
        # dbus-monitor must be listening before anything is sent.
        wait_until(lambda: os.path.getsize(self.monitor_log) > 0, 10, "dbus-monitor")

    @property
    def state_folder(self):
        return os.path.join(self.dirs["data"], "Quillmere")

    @property
    def widget_folder(self):
        return os.path.join(self.dirs["data"], "group-containers", "J4N7R2D9K5.quillmere")

    @property
    def config_folder(self):
        return os.path.join(self.dirs["config"], "Quillmere")

    def start_helper(self, command, stdout):
        self.helpers.append(subprocess.Popen(command, env=self.env, stdout=stdout, stderr=subprocess.DEVNULL))

    def bus_name_has_owner(self, name):
        reply = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", f"string:{name}"],
                               env=self.env, capture_output=True, text=True)
        return "boolean true" in reply.stdout

    # --- quillmere -------------------------------------------------------

    def launch(self, *args, env=None):
        log = os.path.join(self.root, f"quillmere-{len(self.processes)}.err")
        process = subprocess.Popen([self.binary, *args], env={**self.env, **(env or {})},
                                   stdout=subprocess.DEVNULL, stderr=open(log, "w"))
        process.stderr_path = log
        self.processes.append(process)
        return process

    def run(self, *args, env=None, timeout=10):
        """Runs a launch that is expected to end: its exit code, its running time, its stderr."""
        started = time.monotonic()
        process = self.launch(*args, env=env)
        try:
            code = process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"quillmere {' '.join(args)} did not end within {timeout} s")
        return code, time.monotonic() - started, stderr_of(process)

    def quit(self, process):
        process.send_signal(signal.SIGTERM)
        code = process.wait(10)
        check(code == 0, f"quillmere ended with {code} on SIGTERM")

    def running_instances(self):
        """Quillmere processes of this private user, found by their HOME."""
        marker = f"HOME={self.dirs['home']}".encode()
        found = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/comm") as comm:
                    if comm.read().strip() != "quillmere":
                        continue
                with open(f"/proc/{pid}/environ", "rb") as environ:
                    if marker in environ.read().split(b"\0"):
                        found.append(int(pid))
            except OSError:
                continue
        return found

    # --- windows ---------------------------------------------------------

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True).stdout.split()

    def window_info(self, window):
        reply = subprocess.run(["xwininfo", "-id", str(window)], env=self.env, capture_output=True, text=True)
        info = {}
        for line in reply.stdout.splitlines():
            key, _, value = line.strip().partition(": ")
            info[key] = value
        title = reply.stdout.split('"')[1] if '"' in reply.stdout else ""
        info["title"] = title
        return info

    def main_window(self):
        """The visible window titled "Quillmere" that is window-sized (the
        status-area icon and the panel are small or otherwise named)."""
        for window in self.xdotool("search", "--onlyvisible", "--name", "^Quillmere$"):
            if int(self.window_info(window).get("Width", "0")) >= 400:
                return window
        return None

    def wait_main_window(self, timeout=PROMPT, what="the main window to be mapped"):
        # Qt gives a closed window a new X11 window when it is shown again,
        # so the window is looked up afresh each time.
        return wait_until(self.main_window, timeout, what)

    def wait_main_window_hidden(self, what):
        wait_until(lambda: self.main_window() is None, PROMPT, what)

    def press(self, window, keys):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", "--clearmodifiers", keys)

    def digest(self, window, x, y, width, height):
        reply = subprocess.run([self.grab, str(window), "--digest", str(x), str(y), str(width), str(height)],
                               env=self.env, capture_output=True, text=True)
        check(reply.returncode == 0, f"could not grab the window: {reply.stderr}")
        return reply.stdout.strip()

    def screenshot(self, window, path):
        reply = subprocess.run([self.grab, str(window), path], env=self.env, capture_output=True, text=True)
        check(reply.returncode == 0, f"could not grab the window: {reply.stderr}")

    # --- files and notifications ----------------------------------------

    def agent_state(self, folder=None):
        try:
            with open(os.path.join(folder or self.state_folder, "agent-state.json")) as file:
                return json.load(file)
        except (OSError, ValueError):
            return None

    def write_state(self, state):
        os.makedirs(self.state_folder, mode=0o700, exist_ok=True)
        with open(os.path.join(self.state_folder, "state.json"), "w") as file:
            json.dump(state, file, indent=2, sort_keys=True)

    def notify_calls(self):
        with open(self.monitor_log) as log:
            calls = log.read().split("method call ")[1:]
        return [call for call in calls if "member=Notify" in call]

    def files(self, *names):
        """Every file under the given private folders, with size and time."""
        listing = {}
        for name in names:
            for folder, _, files in os.walk(self.dirs[name]):
                for file in files:
                    path = os.path.join(folder, file)
                    info = os.stat(path)
                    listing[os.path.relpath(path, self.root)] = (info.st_size, info.st_mtime_ns)
        return listing

    def close(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait()
        for helper in self.helpers:
            helper.terminate()
            helper.wait()
        subprocess.run(["rm", "-rf", self.root])


def stderr_of(process):
    with open(process.stderr_path) as file:
        return file.read()


def mode_of(path):
    return os.stat(path).st_mode & 0o7777


def stale_temporary(folder, name, size=1 << 20):
    """What a save killed mid-write leaves behind: ".<name>.<UUID>.tmp"."""
    path = os.path.join(folder, f".{name}.{upper_uuid()}.tmp")
    with open(path, "wb") as file:
        file.write(b"x" * size)
    return path


def tab_strip(desktop, window):
    # The tab bar runs along the top of the window while no notice is shown.
    return desktop.digest(window, 0, 0, 600, 48)


# --- scenarios --------------------------------------------------------------


def first_launch(desktop, options):
    """No state.json until the first change; the window titled "Quillmere";
    agent-state.json within two seconds."""
    started = time.monotonic()
    app = desktop.launch()
    window = desktop.wait_main_window()
    wait_until(desktop.agent_state, PROMPT - (time.monotonic() - started), "agent-state.json")
    info = desktop.window_info(window)
    check(info["title"] == "Quillmere", f"window title is {info['title']!r}")
    check((info["Width"], info["Height"]) == ("920", "720"), f"window is {info['Width']}x{info['Height']}")
    check(desktop.agent_state()["workflow_state"] == "idle", "a fresh start is idle")
    time.sleep(1.5)
    check(not os.path.exists(os.path.join(desktop.state_folder, "state.json")),
          "state.json was written although nothing changed")
    check(os.stat(desktop.state_folder).st_mode & 0o777 == 0o700, "the state folder is not private")
    desktop.quit(app)
    check(not os.path.exists(os.path.join(desktop.state_folder, "state.json")),
          "quitting wrote state.json although nothing changed")
    settings = os.path.join(desktop.config_folder, "Quillmere.conf")
    check(os.path.exists(settings), "the window's frame was not kept")
    check(mode_of(settings) == 0o600 and mode_of(desktop.config_folder) == 0o700,
          f"the settings are {mode_of(settings):o} in a folder of {mode_of(desktop.config_folder):o}")


def second_launch(desktop, options):
    """A second launch exits 0 within two seconds, the first stays the only
    process and shows its window again; without a bus the lock refuses."""
    first = desktop.launch()
    window = desktop.wait_main_window()
    wait_until(desktop.agent_state, PROMPT, "agent-state.json")
    desktop.press(window, "ctrl+w")
    desktop.wait_main_window_hidden("Ctrl+W to hide the window")

    code, elapsed, errors = desktop.run(timeout=PROMPT + 3)
    check(code == 0, f"the second launch ended with {code}: {errors}")
    check(elapsed <= PROMPT, f"the second launch took {elapsed:.2f} s")
    window = desktop.wait_main_window(what="the window to come back")
    info = desktop.window_info(window)
    check((info["Width"], info["Height"]) == ("920", "720"), f"the window came back at {info['Width']}x{info['Height']}")
    check(first.poll() is None, "the first instance is gone")
    check(desktop.running_instances() == [first.pid],
          f"quillmere processes: {desktop.running_instances()}, expected only {first.pid}")

    before = sorted(os.listdir(desktop.state_folder))
    code, elapsed, errors = desktop.run(env={"DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/bus"})
    check(code != 0, "a launch that can neither hand over nor lock the folder must fail")
    check("already running" in errors, f"unclear message: {errors!r}")
    check(sorted(os.listdir(desktop.state_folder)) == before, "the refused launch wrote into the state folder")
    check(desktop.running_instances() == [first.pid], "the refused launch is still running")
    desktop.quit(first)


def links(desktop, options):
    """quillmere://open/focus selects the work cycle and shows the window;
    other URLs change nothing; links before attachment wait, the ninth is
    dropped."""
    app = desktop.launch()
    window = desktop.wait_main_window()
    work_cycle = tab_strip(desktop, window)
    desktop.press(window, "ctrl+3")
    history = wait_until(lambda: (lambda d: d if d != work_cycle else None)(tab_strip(desktop, window)),
                         PROMPT, "Ctrl+3 to select the history tab")

    code, _, errors = desktop.run("quillmere://open/focus")
    check(code == 0, f"handing over the link ended with {code}: {errors}")
    wait_until(lambda: tab_strip(desktop, window) == work_cycle, PROMPT, "the work-cycle tab")

    desktop.press(window, "ctrl+3")
    wait_until(lambda: tab_strip(desktop, window) == history, PROMPT, "the history tab again")
    for other in ("https://example.org/open/focus", "quillmere://open/nowhere", "quillmere://close/focus"):
        code, _, _ = desktop.run(other)
        check(code == 0, f"handing over {other} ended with {code}")
    time.sleep(0.5)
    check(tab_strip(desktop, window) == history, "a URL of another form changed the tab")
    desktop.press(window, "ctrl+w")
    desktop.wait_main_window_hidden("Ctrl+W to hide the window")
    desktop.run("quillmere://open/nowhere")
    time.sleep(0.5)
    check(desktop.main_window() is None, "a URL of another form showed the window")

    code, _, _ = desktop.run("quillmere://open/break")
    window = desktop.wait_main_window(what="a route to show the window")
    check(tab_strip(desktop, window) == work_cycle, "a route left the history tab selected")
    desktop.quit(app)

    # Links on the command line of the first launch arrive before the model
    # is attached: they wait, at most eight of them.
    for count, dropped in ((8, 0), (9, 1)):
        app = desktop.launch(*(["quillmere://open/focus"] * (count - 1) + ["quillmere://open/break"]))
        desktop.wait_main_window()
        wait_until(desktop.agent_state, PROMPT, "agent-state.json")
        desktop.quit(app)
        lines = stderr_of(app).count("dropped a link that arrived before start-up finished")
        check(lines == dropped, f"{count} early links: {lines} dropped, expected {dropped}")


def hosted(desktop, options):
    """Hosted mode writes only under $TMPDIR/Quillmere-XCTest-<pid>/ and
    sends no notification, even with a focus about to end in the user's
    state."""
    now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
    desktop.write_state(focus_state(now - datetime.timedelta(seconds=57), 60))
    before = desktop.files("home", "data", "config")

    app = desktop.launch(env={"XCTestConfigurationFilePath": "/nonexistent/test.xctestconfiguration"})
    hosted_folder = os.path.join(desktop.dirs["tmp"], f"Quillmere-XCTest-{app.pid}")
    window = desktop.wait_main_window()
    wait_until(lambda: desktop.agent_state(hosted_folder), PROMPT, "the hosted agent-state.json")
    check(desktop.agent_state(hosted_folder)["workflow_state"] == "idle", "the hosted run read the user's state")
    check(not desktop.bus_name_has_owner("org.quillmere.Quillmere"), "the hosted run took the application's name")
    # Past the moment the user's focus ends, and the window closed and the
    # application quit, so that everything it would write is written.
    time.sleep(4.5)
    desktop.press(window, "ctrl+w")
    desktop.wait_main_window_hidden("Ctrl+W to hide the window")
    desktop.quit(app)

    check(desktop.files("home", "data", "config") == before,
          "the hosted run changed files outside its folder: "
          f"{sorted(set(desktop.files('home', 'data', 'config').items()) ^ set(before.items()))}")
    written = sorted(os.listdir(desktop.dirs["tmp"]))
    check(written == [os.path.basename(hosted_folder)], f"the temporary folder holds {written}")
    check(sorted(os.listdir(hosted_folder)) == [".lock", "Quillmere.conf", "agent-state.json"],
          f"the hosted folder holds {sorted(os.listdir(hosted_folder))}")
    check(desktop.notify_calls() == [], f"the hosted run sent notifications: {desktop.notify_calls()}")


def crash_restore(desktop, options):
    """SIGKILL during a running focus: the next start restores the phase and
    the timer and re-arms the focus-end notification."""
    now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
    focus_seconds = 60
    started_at = now - datetime.timedelta(seconds=focus_seconds - 8)
    ends_at = started_at + datetime.timedelta(seconds=focus_seconds)
    desktop.write_state(focus_state(started_at, focus_seconds))

    app = desktop.launch()
    desktop.wait_main_window()
    wait_until(lambda: (desktop.agent_state() or {}).get("workflow_state") == "focusing", PROMPT,
               "the focus to run")
    time.sleep(1.0)
    app.send_signal(signal.SIGKILL)
    app.wait()
    check(desktop.notify_calls() == [], "the focus ended early")

    restarted = desktop.launch()
    desktop.wait_main_window()
    restart_time = time.time()
    state = wait_until(lambda: (lambda s: s if s and s["updated_at"] >= iso(
        datetime.datetime.fromtimestamp(restart_time, datetime.timezone.utc)) else None)(desktop.agent_state()),
        PROMPT, "a fresh agent-state.json")
    check(state["workflow_state"] == "focusing", f"restarted in {state['workflow_state']}")
    expected = (ends_at - datetime.datetime.strptime(state["updated_at"], "%Y-%m-%dT%H:%M:%SZ").replace(
        tzinfo=datetime.timezone.utc)).total_seconds()
    check(abs(state["remaining_seconds"] - expected) <= 1,
          f"the timer restarted at {state['remaining_seconds']} s, expected {expected:.0f} s")

    calls = wait_until(desktop.notify_calls, ends_at.timestamp() - time.time() + 3, "the focus-end notification")
    shown_at = time.time()
    check(abs(shown_at - ends_at.timestamp()) <= 1.5,
          f"the notification came {shown_at - ends_at.timestamp():+.1f} s from the end of the focus")
    check(len(calls) == 1 and '"Quillmere"' in calls[0] and "org.quillmere.Quillmere" in calls[0],
          f"unexpected notification: {calls}")
    wait_until(lambda: (desktop.agent_state() or {}).get("workflow_state") == "sessionReview", PROMPT,
               "the review after the focus")
    desktop.quit(restarted)


def screenshots(desktop, options):
    """The main window in each tab and the status panel open, as PNGs."""
    os.makedirs(options.out, exist_ok=True)
    now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
    desktop.write_state(focus_state(now - datetime.timedelta(minutes=7, seconds=12), 1500))
    start_tray(desktop)
    app = desktop.launch()
    window = desktop.wait_main_window(timeout=5)
    time.sleep(0.5)
    for key, name in (("ctrl+1", "work-cycle"), ("ctrl+2", "current-block"), ("ctrl+3", "history"),
                      ("ctrl+4", "agent-questions"), ("ctrl+5", "insights")):
        desktop.press(window, key)
        time.sleep(0.4)
        desktop.screenshot(window, os.path.join(options.out, f"main-window-{name}.png"))

    panel, icon = open_panel(desktop)
    desktop.screenshot(icon, os.path.join(options.out, "status-item.png"))
    desktop.screenshot(panel, os.path.join(options.out, "status-panel.png"))
    root = subprocess.run(["xwininfo", "-root"], env=desktop.env, capture_output=True, text=True).stdout
    root_id = root.split("Window id: ")[1].split()[0]
    desktop.screenshot(root_id, os.path.join(options.out, "desktop-with-panel.png"))
    desktop.quit(app)
    print(f"screenshots written to {options.out}")


def register_url_catcher(desktop):
    """Makes a script of the test the desktop's handler of quillmere:// links
    (as xdg-open finds it), so that an opened link is caught, not routed."""
    caught = os.path.join(desktop.root, "caught-urls.txt")
    script = os.path.join(desktop.root, "catch-url")
    with open(script, "w") as file:
        file.write(f'#!/bin/sh\nprintf "%s\\n" "$1" >> "{caught}"\n')
    os.chmod(script, 0o755)
    applications = os.path.join(desktop.dirs["data"], "applications")
    os.makedirs(applications, exist_ok=True)
    with open(os.path.join(applications, "e2e-url-catcher.desktop"), "w") as file:
        file.write("[Desktop Entry]\nType=Application\nName=URL catcher\n"
                   f"Exec={script} %u\nMimeType=x-scheme-handler/quillmere;\nNoDisplay=true\n")
    with open(os.path.join(desktop.dirs["config"], "mimeapps.list"), "w") as file:
        file.write("[Default Applications]\nx-scheme-handler/quillmere=e2e-url-catcher.desktop\n")
    return caught


def start_widget_host(desktop, options):
    """A host with one medium widget, reporting what it shows on stderr:
    the process and its log's path."""
    check(options.host and options.plugin_dir, "the widget scenarios need --host and --plugin-dir")
    host_log = os.path.join(desktop.root, "widget-host.err")
    host = subprocess.Popen([options.host, "--plugin-dir", options.plugin_dir, "--family", "medium", "--verbose"],
                            env=desktop.env, stdout=subprocess.DEVNULL, stderr=open(host_log, "w"))
    return host, host_log


def widget_shown(host_log, text):
    """(time in ms, line) of the first entry the host showed whose
    accessible text starts with `text`."""
    with open(host_log) as file:
        for line in file:
            if f" shows: {text}" in line:
                return int(line.split()[1]), line.strip()
    return None


def wait_widget_window(desktop):
    return wait_until(lambda: desktop.xdotool("search", "--onlyvisible", "--name", "^Quillmere widget$"), 5,
                      "the widget window")[0]


def widget(desktop, options):
    """The host shows the widget; a phase the application publishes reaches
    the widget within a second, through ReloadTimelines and not by polling;
    a click on the widget opens the route's URL."""
    os.makedirs(options.out, exist_ok=True)
    caught = register_url_catcher(desktop)
    reloads_log = os.path.join(desktop.root, "reload-calls.log")
    desktop.start_helper(["dbus-monitor", "--session",
                          "type='method_call',interface='org.quillmere.WidgetHost',member='ReloadTimelines'"],
                         stdout=open(reloads_log, "w"))
    wait_until(lambda: os.path.getsize(reloads_log) > 0, 10, "dbus-monitor")

    app = desktop.launch()
    window = desktop.wait_main_window(timeout=5)
    snapshot_file = os.path.join(desktop.widget_folder, "widget-snapshot.json")
    wait_until(lambda: os.path.exists(snapshot_file), PROMPT, "the first widget snapshot")

    host, host_log = start_widget_host(desktop, options)
    try:
        def shown(phase):
            return widget_shown(host_log, f"Quillmere, {phase}")

        widget_window = wait_widget_window(desktop)
        info = desktop.window_info(widget_window)
        check((info["Width"], info["Height"]) == ("366", "172"),
              f"the medium widget is {info['Width']}x{info['Height']}")
        state = subprocess.run(["xprop", "-id", str(widget_window), "_NET_WM_STATE"], env=desktop.env,
                               capture_output=True, text=True).stdout
        check("_NET_WM_STATE_BELOW" in state, f"the widget does not ask to stay below other windows: {state}")
        wait_until(lambda: shown("Idle"), PROMPT, "the widget to show the idle application")
        time.sleep(0.5)
        desktop.screenshot(widget_window, os.path.join(options.out, "widget-medium-idle.png"))

        # Ctrl+N plans a block: a new phase the application publishes.
        desktop.press(window, "ctrl+n")
        planning = wait_until(lambda: shown("Planning"), PROMPT, "the widget to show the planning phase")
        published_ms = os.stat(snapshot_file).st_mtime_ns // 1_000_000
        with open(snapshot_file) as file:
            check(json.load(file)["phase"] == "planning", "the application did not publish the planning phase")
        delay = planning[0] - published_ms
        print(f"widget changed {delay} ms after the publication: {planning[1]}")
        check(0 <= delay <= 1000, f"the widget changed {delay} ms after the publication")
        with open(host_log) as file:
            requests = [line for line in file if " timeline (" in line]
        check(any("(request)" in line for line in requests), f"no timeline was asked for on request: {requests}")
        check(not any("(policy)" in line for line in requests), f"the host polled: {requests}")
        with open(reloads_log) as file:
            check("QuillmereStatusWidget" in file.read(), "no ReloadTimelines call was seen on the bus")
        time.sleep(0.3)
        desktop.screenshot(widget_window, os.path.join(options.out, "widget-medium-planning.png"))

        # A click on the widget opens the route of what it shows.
        info = desktop.window_info(widget_window)
        x = int(info["Absolute upper-left X"]) + int(info["Width"]) // 2
        y = int(info["Absolute upper-left Y"]) + int(info["Height"]) // 2
        desktop.xdotool("mousemove", "--sync", str(x), str(y), "click", "1")
        urls = wait_until(lambda: os.path.exists(caught) and open(caught).read().split(), 5,
                          "the widget's link to reach the URL handler")
        check(urls == ["quillmere://open/block-planning"], f"the widget opened {urls}")
    finally:
        host.terminate()
        host.wait(10)
        with open(host_log) as file:
            errors = [line for line in file if " shows: " not in line and " timeline (" not in line]
        if errors:
            print("--- stderr of the widget host:\n" + "".join(errors))
    desktop.quit(app)


def widget_quiet_focus(desktop, options):
    """While a focus runs and nothing changes, the widget counts down on its
    own: over ten seconds the host is asked for a new timeline at most once."""
    now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
    desktop.write_state(focus_state(now - datetime.timedelta(minutes=4), 1500))
    app = desktop.launch()
    desktop.wait_main_window(timeout=5)
    host, host_log = start_widget_host(desktop, options)
    try:
        wait_widget_window(desktop)
        wait_until(lambda: widget_shown(host_log, "Quillmere, Focus"), PROMPT, "the widget to show the focus")

        def requests():
            with open(host_log) as file:
                return sum(1 for line in file if " timeline (request)" in line)

        before = requests()
        time.sleep(10)
        asked = requests() - before
        print(f"{asked} timeline requests in 10 s of a running focus")
        check(asked <= 1, f"the host was asked for {asked} timelines in 10 s of a running focus")
    finally:
        host.terminate()
        host.wait(10)
    desktop.quit(app)


def hostile_start(desktop, options):
    """A named pipe at state.json neither blocks the start nor survives the
    first save; what killed saves left behind is removed; open folders and
    settings are made private."""
    for folder in (desktop.state_folder, desktop.widget_folder, desktop.config_folder):
        os.makedirs(folder)
        os.chmod(folder, 0o755)
    settings = os.path.join(desktop.config_folder, "Quillmere.conf")
    with open(settings, "w") as file:
        file.write("[General]\n")
    os.chmod(settings, 0o644)
    state_file = os.path.join(desktop.state_folder, "state.json")
    os.mkfifo(state_file)
    stale = [stale_temporary(desktop.state_folder, "state.json"),
             stale_temporary(desktop.state_folder, "agent-state.json"),
             stale_temporary(desktop.widget_folder, "widget-snapshot.json")]

    app = desktop.launch()
    window = desktop.wait_main_window(what="the main window, not blocked by the pipe")
    alert = wait_until(lambda: desktop.xdotool("search", "--onlyvisible", "--name", "^Quillmere error$"), PROMPT,
                       "the alert about the unreadable state")[0]
    wait_until(desktop.agent_state, PROMPT, "agent-state.json")
    check(not any(os.path.exists(path) for path in stale),
          f"stale temporary files survived the start: {[p for p in stale if os.path.exists(p)]}")
    for folder in (desktop.state_folder, desktop.widget_folder):
        check(mode_of(folder) == 0o700, f"{folder} is still {mode_of(folder):o}")
    check(stat.S_ISFIFO(os.lstat(state_file).st_mode), "the pipe was replaced before anything changed")

    desktop.press(alert, "Return")
    desktop.press(window, "ctrl+n")
    wait_until(lambda: os.path.isfile(state_file) and json.load(open(state_file))["workflow_state"] ==
               "blockPlanning", PROMPT, "the first save")
    kept = [name for name in os.listdir(desktop.state_folder) if name.startswith("state.unreadable-")]
    check(len(kept) == 1 and stat.S_ISFIFO(os.lstat(os.path.join(desktop.state_folder, kept[0])).st_mode),
          f"the pipe was not kept aside: {sorted(os.listdir(desktop.state_folder))}")

    started = time.monotonic()
    desktop.quit(app)
    print(f"quit {time.monotonic() - started:.2f} s after SIGTERM")
    check(mode_of(settings) == 0o600 and mode_of(desktop.config_folder) == 0o700,
          f"the settings are {mode_of(settings):o} in a folder of {mode_of(desktop.config_folder):o}")


def lock_refused(desktop, options):
    """When .lock cannot be locked (a folder, a link), Quillmere says why in
    a window and on stderr, writes nothing and exits: never two writers."""
    for kind in ("folder", "link"):
        subprocess.run(["rm", "-rf", desktop.state_folder])
        os.makedirs(desktop.state_folder, mode=0o700)
        lock = os.path.join(desktop.state_folder, ".lock")
        if kind == "folder":
            os.mkdir(lock)
        else:
            os.symlink("elsewhere", lock)
        before = sorted(os.listdir(desktop.state_folder))

        app = desktop.launch()
        dialog = wait_until(lambda: desktop.xdotool("search", "--onlyvisible", "--name", "^Quillmere cannot start$"),
                            PROMPT, f"the window that says why ({kind})")[0]
        time.sleep(1.5)
        check(desktop.main_window() is None, f"the main window opened without the lock ({kind})")
        check(sorted(os.listdir(desktop.state_folder)) == before,
              f"wrote into the state folder without the lock ({kind}): {sorted(os.listdir(desktop.state_folder))}")
        desktop.press(dialog, "Return")
        try:
            code = app.wait(PROMPT + 3)
        except subprocess.TimeoutExpired:
            raise Failure(f"still running after its window was closed ({kind})")
        errors = stderr_of(app)
        check(code == 1, f"ended with {code} ({kind})")
        check(".lock" in errors and "not starting" in errors, f"unclear message ({kind}): {errors!r}")
        check(desktop.agent_state() is None, f"agent-state.json was written ({kind})")


def widget_pipe(desktop, options):
    """A named pipe at the widget's snapshot neither hangs the host nor keeps
    it hung: the host answers on the bus, and shows the application's state
    once a regular file replaces the pipe."""
    os.makedirs(desktop.widget_folder, mode=0o700)
    os.mkfifo(os.path.join(desktop.widget_folder, "widget-snapshot.json"))
    host, host_log = start_widget_host(desktop, options)
    try:
        wait_widget_window(desktop)
        wait_until(lambda: widget_shown(host_log, ""), PROMPT, "the widget to show anything")
        ping = subprocess.run(["dbus-send", "--session", "--print-reply", "--reply-timeout=2000",
                               "--dest=org.quillmere.WidgetHost", "/org/quillmere/WidgetHost",
                               "org.freedesktop.DBus.Peer.Ping"], env=desktop.env, capture_output=True, text=True)
        check(ping.returncode == 0, f"the host does not answer on the bus: {ping.stderr}")

        app = desktop.launch()
        desktop.wait_main_window()
        wait_until(lambda: widget_shown(host_log, "Quillmere, Idle"), PROMPT,
                   "the widget to show the application once a file replaced the pipe")
        desktop.quit(app)
    finally:
        host.terminate()
        try:
            host.wait(PROMPT)
        except subprocess.TimeoutExpired:
            host.kill()
            raise Failure("the widget host did not end on SIGTERM")


def start_tray(desktop):
    """An X11 status area for the item: trayer, docked at the top right."""
    desktop.start_helper(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                          "--height", "28", "--SetDockType", "true", "--transparent", "false"],
                         stdout=subprocess.DEVNULL)
    time.sleep(0.5)


def open_panel(desktop):
    """Clicks the status-area item; the panel's window."""
    icons = wait_until(lambda: [w for w in desktop.xdotool("search", "--onlyvisible", "--classname", "^quillmere$")
                                if int(desktop.window_info(w).get("Width", "0")) < 100], PROMPT,
                       "the status-area item in the tray")
    icon = desktop.window_info(icons[0])
    x = int(icon["Absolute upper-left X"]) + int(icon["Width"]) // 2
    y = int(icon["Absolute upper-left Y"]) + int(icon["Height"]) // 2
    desktop.xdotool("mousemove", "--sync", str(x), str(y), "click", "1")
    panel = wait_until(lambda: desktop.xdotool("search", "--onlyvisible", "--name", "^Quillmere panel$"), PROMPT,
                       "the panel to open")[0]
    time.sleep(0.4)
    return panel, icons[0]


def agent_question(desktop, options):
    """An agent asks with `quillmerectl ask --wait` and blocks; the question
    is in agent-state.json with its asker and on screen; the user answers it
    by keyboard in the real window; the command prints the id, then the
    answer, and exits 0. The interface is on the bus for any D-Bus tool."""
    os.makedirs(options.out, exist_ok=True)
    start_tray(desktop)
    app = desktop.launch()
    window = desktop.wait_main_window(timeout=5)
    introspection = subprocess.run(["gdbus", "introspect", "--session", "--dest", "org.quillmere.Quillmere",
                                    "--object-path", "/org/quillmere/Quillmere"],
                                   env=desktop.env, capture_output=True, text=True).stdout
    for needle in ("interface org.quillmere.Quillmere1", "AskQuestion(in  s text,", "readonly s WorkflowState",
                   "PhaseChanged(s workflowState"):
        check(needle in introspection, f"gdbus introspect does not show {needle!r}:\n{introspection}")

    ask = subprocess.Popen([options.ctl, "ask", "Which branch?", "--as", "test-agent", "--wait", "--timeout", "30"],
                           env=desktop.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    question = wait_until(lambda: next((q for q in (desktop.agent_state() or {}).get("open_questions", [])
                                        if q["question"] == "Which branch?"), None),
                          PROMPT, "the question in agent-state.json")
    check(question.get("asked_by") == "test-agent", f"the question's asker is {question.get('asked_by')!r}")
    time.sleep(0.5)
    check(ask.poll() is None, "quillmerectl ask --wait returned before the question was answered")

    panel, _ = open_panel(desktop)
    desktop.screenshot(panel, os.path.join(options.out, "status-panel-agent-question.png"))
    desktop.xdotool("key", "--clearmodifiers", "Escape")
    desktop.press(window, "ctrl+4")
    time.sleep(0.4)
    desktop.screenshot(window, os.path.join(options.out, "main-window-agent-question.png"))
    # The tab bar, the new question's field, Add, then the card's answer.
    desktop.xdotool("key", "--clearmodifiers", "Tab", "Tab", "Tab", "Tab")
    desktop.xdotool("type", "--delay", "20", "main")
    desktop.xdotool("key", "--clearmodifiers", "Return")
    try:
        output, errors = ask.communicate(timeout=PROMPT + 3)
    except subprocess.TimeoutExpired:
        ask.kill()
        raise Failure("quillmerectl ask --wait did not return once the question was answered")
    check(ask.returncode == 0, f"quillmerectl ask --wait exited {ask.returncode}: {errors}")
    check(output.splitlines() == [question["id"], "main"], f"quillmerectl printed {output!r}")
    check(desktop.agent_state()["open_questions"] == [], "the answered question is still open")
    desktop.quit(app)


def mcp_client(desktop, options):
    """The official MCP client drives `quillmerectl mcp` against the running
    Quillmere: tools, the agent-state resource, and an update once the phase
    changes. Skipped (77) without node and the client's packages."""
    client_dir = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "mcp-client")
    node = subprocess.run(["sh", "-c", "command -v node"], capture_output=True, text=True).stdout.strip()
    if not node or not os.path.isdir(os.path.join(client_dir, "node_modules", "@modelcontextprotocol", "sdk")):
        print("SKIPPED: node or the MCP client's packages are missing (scripts/install-deps installs them)")
        sys.exit(77)
    now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
    desktop.write_state(focus_state(now - datetime.timedelta(minutes=3), 1500))
    app = desktop.launch()
    desktop.wait_main_window(timeout=5)
    ctl = os.path.abspath(options.ctl)
    run = subprocess.run([node, os.path.join(client_dir, "mcp-client-test.mjs")],
                         env={**desktop.env, "QUILLMERECTL": ctl, "QUILLMERE_CHANGE_PHASE": f"'{ctl}' end-focus"},
                         capture_output=True, text=True, timeout=60)
    check(run.returncode == 0, f"the MCP client test failed ({run.returncode}):\n{run.stdout}\n{run.stderr}")
    check(desktop.agent_state()["workflow_state"] == "sessionReview", "the phase did not change")
    desktop.quit(app)


def dunst(desktop, *args):
    """What dunstctl prints, stripped."""
    reply = subprocess.run(["dunstctl", *args], env=desktop.env, capture_output=True, text=True)
    check(reply.returncode == 0, f"dunstctl {' '.join(args)} failed: {reply.stderr}")
    return reply.stdout.strip()


def write_do_not_disturb(desktop, on):
    os.makedirs(desktop.config_folder, mode=0o700, exist_ok=True)
    with open(os.path.join(desktop.config_folder, "Quillmere.conf"), "w") as file:
        file.write(f"[Focus]\ndoNotDisturb={'true' if on else 'false'}\n")


def do_not_disturb(desktop, options):
    """With "Do not disturb during focus" on, a focus started with
    quillmerectl pauses dunst; another program's notification waits unseen;
    the pause lifts a moment before the planned end, so that Quillmere's
    focus-end notification is shown. Quitting during a focus unpauses dunst,
    and so does the next start after a SIGKILL during one."""
    record = os.path.join(desktop.state_folder, "notification-silence.json")
    write_do_not_disturb(desktop, True)
    now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
    state = focus_state(now, 8)
    state["planned_next_session"] = state["current_block"].pop("sessions")[0]["plan"]
    state["current_block"]["sessions"] = []
    state["workflow_state"] = "sessionPlanning"
    desktop.write_state(state)
    app = desktop.launch()
    desktop.wait_main_window(timeout=5)

    started = subprocess.run([options.ctl, "start"], env=desktop.env, capture_output=True, text=True)
    check(started.returncode == 0, f"quillmerectl start failed: {started.stderr}")
    ends_at = time.time() // 1 + 8
    wait_until(lambda: dunst(desktop, "is-paused") == "true", PROMPT, "dunst to be paused by the focus")
    with open(record) as file:
        check(json.load(file) == {"dunst": "false"}, "the record of what to put back is not dunst's pause")
    subprocess.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.Notifications", "--object-path",
                    "/org/freedesktop/Notifications", "--method", "org.freedesktop.Notifications.Notify",
                    "'e2e-other'", "0", "''", "'Another program'", "'sent during focus'", "[]", "{}", "--", "-1"],
                   env=desktop.env, check=True, capture_output=True)
    time.sleep(0.5)
    check((dunst(desktop, "count", "displayed"), dunst(desktop, "count", "waiting")) == ("0", "1"),
          "another program's notification was shown during focus")

    def ours():
        return [call for call in desktop.notify_calls() if '"Quillmere"' in call]

    unpaused_at = wait_until(lambda: dunst(desktop, "is-paused") == "false" and time.time(),
                             ends_at - time.time() + 3, "dunst to be unpaused as the focus ends")
    wait_until(lambda: dunst(desktop, "count", "displayed") == "1", PROMPT, "the held-back notification to show")
    check(not ours(), "the focus-end notification came while dunst was paused")
    wait_until(ours, ends_at - time.time() + 3, "the focus-end notification")
    # A paused dunst would hold it back; a GNOME without banners would
    # only list it.
    check(time.time() - unpaused_at >= 2,
          f"dunst was unpaused only {time.time() - unpaused_at:.1f} s before the focus-end notification")
    wait_until(lambda: (dunst(desktop, "count", "displayed"), dunst(desktop, "count", "waiting")) == ("2", "0"),
               PROMPT, "the focus-end notification to be shown beside the one held back")
    wait_until(lambda: (desktop.agent_state() or {}).get("workflow_state") == "sessionReview", PROMPT,
               "the review after the focus")
    check(not os.path.exists(record), "the record outlived the silence")
    desktop.quit(app)

    # Quit during a focus, then killed during one.
    desktop.write_state(focus_state(datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0), 1500))
    for end in ("quit", "kill"):
        app = desktop.launch()
        wait_until(lambda: dunst(desktop, "is-paused") == "true", 5, f"dunst to be paused before the {end}")
        if end == "quit":
            desktop.quit(app)
            check(dunst(desktop, "is-paused") == "false", "dunst is still paused after Quillmere quit")
        else:
            app.send_signal(signal.SIGKILL)
            app.wait()
    check(dunst(desktop, "is-paused") == "true", "the killed run's pause is gone")
    # The restart puts it back even with the preference now off.
    write_do_not_disturb(desktop, False)
    app = desktop.launch()
    wait_until(lambda: dunst(desktop, "is-paused") == "false", PROMPT, "the restart to unpause dunst")
    wait_until(lambda: not os.path.exists(record), PROMPT, "the record to be removed")
    desktop.quit(app)


# What a keyboard or screen reader user operates, by AT-SPI role; a "text"
# counts only when it is editable.
INTERACTIVE_ROLES = {"push button", "toggle button", "check box", "radio button", "combo box", "spin button",
                     "page tab", "entry", "password text", "text"}
SHOWN_TIME = re.compile(r"\d+:\d\d")


def shown_elements(tree):
    """The elements of a tree read by a11y_tree.py that are on screen: showing
    themselves and inside showing parents (a hidden popup's items may say
    they are showing)."""
    shown, parents = [], []
    for element in tree:
        del parents[element["depth"]:]
        visible = element["showing"] and all(parents) and element["extents"][2] > 0 and element["extents"][3] > 0
        parents.append(visible)
        if visible:
            shown.append(element)
    return shown


def describe_element(element):
    x, y, width, height = element["extents"]
    text = f" text={element['text']!r}" if element["text"] and element["text"] != element["name"] else ""
    return f"{element['role']} {element['name']!r}{text} ({x},{y} {width}x{height})"


def visually_before(first, second, tolerance=4):
    """Whether `second` comes before `first` to a reader of the screen: on
    one line (overlapping by half the lower one's height) further left, or
    wholly above."""
    x1, y1, _, h1 = first["extents"]
    x2, y2, _, h2 = second["extents"]
    overlap = min(y1 + h1, y2 + h2) - max(y1, y2)
    if overlap >= min(h1, h2) / 2:
        return x2 + tolerance < x1
    return y2 + h2 <= y1 + tolerance


def accessibility_faults(shown, expect_timer):
    faults = []
    for element in shown:
        interactive = element["role"] in INTERACTIVE_ROLES and (element["role"] != "text" or element["editable"])
        if interactive and not element["name"].strip():
            faults.append(f"a {element['role']} without a name: {describe_element(element)}")
    if expect_timer and not any(SHOWN_TIME.search(e["name"]) or SHOWN_TIME.search(e["text"]) for e in shown):
        faults.append("no element names or shows the running time")
    # The reading order of what carries content: the leaves, less scroll
    # bars, which belong to no line of the screen.
    read = []
    for index, element in enumerate(shown):
        leaf = index + 1 == len(shown) or shown[index + 1]["depth"] <= element["depth"]
        if leaf and element["role"] != "scroll bar" and (element["name"] or element["text"] or
                                                         element["role"] in INTERACTIVE_ROLES):
            read.append(element)
    for index, second in enumerate(read):
        first = next((first for first in read[:index] if visually_before(first, second)), None)
        if first is not None:
            faults.append(f"read after what it is shown before: {describe_element(second)} "
                          f"is read after {describe_element(first)}")
    return faults


def read_screen(desktop, app, name, options):
    """Reads the main window's tree, writes it to the output folder for
    people to read, and returns the faults found."""
    reader = os.path.join(os.path.dirname(os.path.abspath(__file__)), "a11y_tree.py")

    def read():
        reply = subprocess.run(["/usr/bin/python3", reader, str(app.pid), "Quillmere"], env=desktop.env,
                               capture_output=True, text=True, timeout=20)
        if reply.returncode != 0:
            return None
        return shown_elements(json.loads(reply.stdout))

    time.sleep(0.3)  # the new screen lays itself out
    shown = wait_until(read, PROMPT + 3, f"the {name} screen on the accessibility bus", interval=0.2)
    with open(os.path.join(options.out, f"accessibility-{name}.txt"), "w") as dump:
        dump.write(f"# The main window's accessibility tree on the {name} screen: what is showing,\n"
                   "# depth first (a screen reader's order), as role 'name' (x,y widthxheight).\n")
        for element in shown:
            dump.write("  " * element["depth"] + describe_element(element) + "\n")
    return [f"{name}: {fault}" for fault in accessibility_faults(shown, name != "idle")]


def accessibility(desktop, options):
    """Over AT-SPI, as a screen reader reads it, the main window on the idle,
    focus, paused focus and break screens: every control that shows has a
    name, the running timer says the time, and the reading order follows
    the screen, top to bottom and left to right. Each screen's tree is
    written to the output folder. Skipped (77) without pyatspi or the
    accessibility bus."""
    launcher = "/usr/libexec/at-spi-bus-launcher"
    has_pyatspi = subprocess.run(["/usr/bin/python3", "-c", "import pyatspi"], capture_output=True).returncode == 0
    if not os.access(launcher, os.X_OK) or not has_pyatspi:
        print("SKIPPED: python3-pyatspi or at-spi2-core is missing (scripts/install-deps installs them)")
        sys.exit(77)
    os.makedirs(options.out, exist_ok=True)
    desktop.start_helper([launcher, "--launch-immediately"], stdout=subprocess.DEVNULL)
    wait_until(lambda: desktop.bus_name_has_owner("org.a11y.Bus"), 10, "the accessibility bus")
    app = desktop.launch(env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    window = desktop.wait_main_window(timeout=5)

    def phase(state):
        wait_until(lambda: (desktop.agent_state() or {}).get("workflow_state") == state, PROMPT, f"the {state} phase")

    def ctl(command):
        reply = subprocess.run([options.ctl, command], env=desktop.env, capture_output=True, text=True)
        check(reply.returncode == 0, f"quillmerectl {command} failed: {reply.stderr}")

    faults = read_screen(desktop, app, "idle", options)
    desktop.press(window, "ctrl+n")
    phase("blockPlanning")
    desktop.press(window, "ctrl+Return")
    phase("sessionPlanning")
    desktop.press(window, "ctrl+Return")
    phase("focusing")
    faults += read_screen(desktop, app, "focus", options)
    ctl("pause")
    wait_until(lambda: ((desktop.agent_state() or {}).get("current_session") or {}).get("paused_at"), PROMPT,
               "the focus to pause")
    faults += read_screen(desktop, app, "paused-focus", options)
    ctl("resume")
    ctl("end-focus")
    phase("sessionReview")
    desktop.press(window, "ctrl+Return")
    phase("breaking")
    faults += read_screen(desktop, app, "break", options)
    desktop.quit(app)
    check(not faults, "\n".join(faults))


SCENARIOS = {scenario.__name__: scenario for scenario in
             (first_launch, second_launch, links, hosted, crash_restore, screenshots, widget, hostile_start,
              lock_refused, widget_pipe, agent_question, mcp_client, widget_quiet_focus, do_not_disturb,
              accessibility)}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", required=True)
    parser.add_argument("--grab", required=True)
    parser.add_argument("--out", default="screenshots")
    parser.add_argument("--host", help="quillmere-widget-host, for the widget scenario")
    parser.add_argument("--plugin-dir", help="the widget plug-ins' folder, for the widget scenario")
    parser.add_argument("--ctl", help="quillmerectl, for the agent_question scenario")
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    options = parser.parse_args()

    desktop = Desktop(os.path.abspath(options.binary), os.path.abspath(options.grab))
    started = time.monotonic()
    try:
        SCENARIOS[options.scenario](desktop, options)
    except Failure as failure:
        print(f"FAILED {options.scenario}: {failure}")
        print(subprocess.run(["xwininfo", "-root", "-tree"], env=desktop.env, capture_output=True, text=True).stdout)
        for process in desktop.processes:
            errors = stderr_of(process).strip()
            if errors:
                print(f"--- stderr of quillmere #{desktop.processes.index(process)}:\n{errors}")
        return 1
    finally:
        desktop.close()
    print(f"passed {options.scenario} in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
