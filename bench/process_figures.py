# SPDX-License-Identifier: GPL-3.0-or-later
"""What the benchmark scripts read about a running process from /proc, and
the private user they run it as."""

import os


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def context_switches_by_thread(pid):
    """{thread name: [voluntary, involuntary]} summed over threads of one name."""
    threads = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/comm") as comm:
                name = comm.read().strip()
            with open(f"/proc/{pid}/task/{task}/status") as status:
                counts = threads.setdefault(name, [0, 0])
                for line in status:
                    if line.startswith("voluntary_ctxt_switches"):
                        counts[0] += int(line.split()[1])
                    elif line.startswith("nonvoluntary_ctxt_switches"):
                        counts[1] += int(line.split()[1])
        except FileNotFoundError:
            pass  # the thread ended meanwhile
    return threads


def context_switches(pid):
    """All context switches of all the process's threads."""
    return sum(voluntary + involuntary for voluntary, involuntary in context_switches_by_thread(pid).values())


def status_field(pid, name):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(name + ":"):
                return int(line.split()[1])
    return 0


def private_environment(root):
    """The environment of a user of its own under `root` (home, data, settings,
    cache and runtime folders made there) on this run's display and bus."""
    env = {"PATH": os.environ["PATH"], "DISPLAY": os.environ["DISPLAY"],
           "DBUS_SESSION_BUS_ADDRESS": os.environ["DBUS_SESSION_BUS_ADDRESS"], "LANG": "C.UTF-8",
           "QT_QPA_PLATFORM": "xcb"}
    if "XAUTHORITY" in os.environ:
        env["XAUTHORITY"] = os.environ["XAUTHORITY"]
    for name in ("home", "data", "config", "cache", "runtime"):
        os.makedirs(os.path.join(root, name), mode=0o700)
    env.update(HOME=f"{root}/home", XDG_DATA_HOME=f"{root}/data", XDG_CONFIG_HOME=f"{root}/config",
               XDG_CACHE_HOME=f"{root}/cache", XDG_RUNTIME_DIR=f"{root}/runtime")
    return env
