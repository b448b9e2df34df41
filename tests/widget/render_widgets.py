#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Pictures of the desktop widget in every size, for people to look at.

Writes one PNG per state, family and palette with `quillmere-widget-host
--render`, each from a snapshot file in a private data home, and checks that
every picture has its family's size. Nothing is compared with a reference.
The English pictures go to the output folder, each translation's to a
folder of its language, e.g. `de/`: longer words must fit too.

    render_widgets.py --host PATH --plugin-dir FOLDER --out FOLDER [--readme FOLDER]

With --readme, the running focus in the medium size and the light palette is
also written there as `desktop-widget.png`, the README's picture of it.
"""

import argparse
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile

AT = "2026-03-02T10:00:00Z"
FAMILIES = {"small": (170, 170), "medium": (364, 170), "large": (364, 382), "extraLarge": (752, 382)}
# The folder under the output and the LANGUAGE the host is started with;
# English is the sources themselves.
LANGUAGES = {"": None, "de": "de"}
CONTAINER = ("group-containers", "J4N7R2D9K5.quillmere")
README_PICTURE = "running-focus-medium-light.png"


def snapshot(**fields):
    base = {
        "schema_version": 1, "phase": "focusing", "route": "focus",
        "intended_outcome": "Draft the release notes for the importer",
        "first_action": "List the merged changes since the last tag",
        "sessions_started": 3, "sessions_planned": 8, "current_session_number": 3,
        "energy": 4, "morale": 3,
        "open_question_count": 1, "open_questions": ["Should the importer keep the old column names?"],
        "updated_at": AT,
    }
    base.update(fields)
    return {key: value for key, value in base.items() if value is not None}


def countdown(ends_at, started_at, paused=False, frozen=0):
    return {"ends_at": ends_at, "started_at": started_at, "is_paused": paused, "frozen_remaining_seconds": frozen}


STATES = {
    # No file yet: the application has not run.
    "waiting-for-app": None,
    "unavailable": "{\"phase\": \"focusing\", \"sessions_",
    "placeholder": "preview",
    "running-focus": snapshot(countdown=countdown("2026-03-02T10:17:00Z", "2026-03-02T09:52:00Z", frozen=1020)),
    "paused-focus": snapshot(countdown=countdown("2026-03-02T10:12:34Z", "2026-03-02T09:47:34Z", True, 754)),
    "break-overtime": snapshot(phase="breaking", route="break", current_session_number=None,
                               intended_outcome="Wire the importer to the new schema", first_action="",
                               countdown=countdown("2026-03-02T09:58:45Z", "2026-03-02T09:53:45Z", frozen=-75)),
    "five-open-questions": snapshot(phase="reviewing", route="session-review", current_session_number=None,
                                    open_question_count=5, open_questions=[
                                        "Which signing identity should the release use?",
                                        "May the migration drop the legacy table in this release, or only after the next one?",
                                        "Is the importer allowed to call the network?"]),
    "no-sessions-planned": snapshot(phase="planning", route="block-planning", intended_outcome="", first_action="",
                                    sessions_started=0, sessions_planned=0, current_session_number=None,
                                    energy=None, morale=None, open_question_count=0, open_questions=[]),
    "long-texts": snapshot(
        intended_outcome="Finish the end-to-end test of the widget host, including the click that opens the "
                         "route and the reload through the session bus, and write down what is left",
        first_action="Read the host's verbose output while pressing Ctrl+N in the main window, then compare it "
                     "with the time stamps of the snapshot file",
        countdown=countdown("2026-03-02T11:45:00Z", "2026-03-02T09:45:00Z", frozen=6300),
        open_question_count=4, open_questions=["A question long enough to need a second line in the widget's list "
                                               "of open questions, and then some more words"] * 3),
}


def png_size(path):
    with open(path, "rb") as file:
        header = file.read(24)
    return struct.unpack(">II", header[16:24])


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", required=True)
    parser.add_argument("--plugin-dir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--readme")
    options = parser.parse_args()
    os.makedirs(options.out, exist_ok=True)

    failures = []
    written = 0
    for state, content in STATES.items():
        with tempfile.TemporaryDirectory(prefix="quillmere-render-") as data_home:
            container = os.path.join(data_home, *CONTAINER)
            os.makedirs(container, mode=0o700)
            if isinstance(content, dict):
                with open(os.path.join(container, "widget-snapshot.json"), "w") as file:
                    json.dump(content, file, sort_keys=True, separators=(",", ":"))
            elif isinstance(content, str) and content != "preview":
                with open(os.path.join(container, "widget-snapshot.json"), "w") as file:
                    file.write(content)
            base = {key: value for key, value in os.environ.items()
                    if key not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES")}
            for folder, language in LANGUAGES.items():
                env = {**base, "XDG_DATA_HOME": data_home, "QT_QPA_PLATFORM": "offscreen", "LANG": "C.UTF-8"}
                if language:
                    env["LANGUAGE"] = language
                os.makedirs(os.path.join(options.out, folder), exist_ok=True)
                for family, (width, height), palette in (
                        (family, size, palette) for family, size in FAMILIES.items() for palette in ("light", "dark")):
                    out = os.path.join(options.out, folder, f"{state}-{family}-{palette}.png")
                    command = [options.host, "--plugin-dir", options.plugin_dir, "--render", family, "--out", out,
                               "--at", AT, "--palette", palette]
                    if content == "preview":
                        command.append("--preview")
                    result = subprocess.run(command, env=env, capture_output=True, text=True)
                    if result.returncode != 0:
                        failures.append(f"{out}: exit {result.returncode}: {result.stderr.strip()}")
                        continue
                    size = png_size(out)
                    if size != (width + 2, height + 2):
                        failures.append(f"{out}: {size[0]}x{size[1]}, expected {width + 2}x{height + 2}")
                    written += 1
    for failure in failures:
        print(failure)
    print(f"{written} pictures written to {options.out}")
    if options.readme and not failures:
        os.makedirs(options.readme, exist_ok=True)
        shutil.copyfile(os.path.join(options.out, README_PICTURE), os.path.join(options.readme, "desktop-widget.png"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
