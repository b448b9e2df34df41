#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Validates agent-state.json documents against the schema that describes them.

    validate-agent-state.py SCHEMA FILE_OR_FOLDER...

A folder stands for every agent-state*.json file beneath it (there must be at
least one). Exits 0 when every document is valid, 1 when one is not or the
schema fails its own checks (each error is printed), 2 when it cannot run.

The documents are held to what this version writes, exactly: the published
schema lets unknown keys through so that agents can validate files from newer
versions, and here every record refuses them instead, so that a key the
writer adds without describing it is caught.

Before any file is judged the schema must earn trust: it must be a valid
draft 2020-12 schema, describe every key for the agents reading it, accept a
document with every optional key present and its legitimate variations, and
refuse each of a table of broken documents. A schema that accepts anything
fails here, not silently later.
"""

import copy
import datetime
import json
import pathlib
import re
import sys

try:
    from jsonschema import Draft202012Validator, FormatChecker
    from jsonschema.exceptions import SchemaError
except ImportError:
    print(f"{sys.executable} has no jsonschema module: install python3-jsonschema (scripts/install-deps),\n"
          "or run this with the interpreter that has it (cmake -DPython3_EXECUTABLE=/usr/bin/python3)",
          file=sys.stderr)
    sys.exit(2)

# RFC 3339 date-time. Debian's jsonschema checks "date-time" only when
# rfc3339-validator is installed, which it does not pull in, so the check is
# made here, the same on every machine. Whole-string match: Python's "$"
# would let a trailing newline through.
RFC3339 = re.compile(
    r"(\d{4})-(\d{2})-(\d{2})[Tt](\d{2}):(\d{2}):(\d{2})(\.\d+)?([Zz]|[+-](\d{2}):(\d{2}))")


def is_date_time(value):
    if not isinstance(value, str):
        return True  # "format" judges texts only; "type" judges the rest
    match = RFC3339.fullmatch(value)
    if not match:
        return False
    year, month, day, hour, minute, second = (int(match.group(i)) for i in range(1, 7))
    try:
        datetime.date(year, month, day)
    except ValueError:
        return False
    offset_ok = match.group(9) is None or (int(match.group(9)) <= 23 and int(match.group(10)) <= 59)
    return hour <= 23 and minute <= 59 and second <= 60 and offset_ok


def format_checker():
    checker = FormatChecker()
    checker.checks("date-time")(is_date_time)
    return checker


def strict(schema):
    """The schema with every record closed to keys it does not name."""
    if isinstance(schema, list):
        return [strict(item) for item in schema]
    if not isinstance(schema, dict):
        return schema
    closed = {}
    for key, value in schema.items():
        if key in ("properties", "$defs"):
            closed[key] = {name: strict(sub) for name, sub in value.items()}
        elif key in ("const", "enum", "required", "description", "examples", "default"):
            closed[key] = value
        else:
            closed[key] = strict(value)
    if "properties" in closed:
        closed.setdefault("additionalProperties", False)
    return closed


def undescribed(schema, where="#"):
    """Where a key of a record has no description for the agents."""
    missing = []
    if isinstance(schema, list):
        for index, item in enumerate(schema):
            missing += undescribed(item, f"{where}/{index}")
    elif isinstance(schema, dict):
        for key, value in schema.items():
            if key in ("properties", "$defs"):
                for name, sub in value.items():
                    if key == "properties" and not (isinstance(sub, dict) and "description" in sub):
                        missing.append(f"{where}/{key}/{name}")
                    missing += undescribed(sub, f"{where}/{key}/{name}")
            elif key not in ("const", "enum", "required", "description", "examples", "default"):
                missing += undescribed(value, f"{where}/{key}")
    return missing


# A document with every optional key present: a block that was scheduled and
# reflected on, a reviewed session, a paused one, a saved plan that serves an
# outcome, and an open question with its asker.
OUTCOME = {"id": "00000000-0000-4000-8000-000000000002", "title": "Parser works"}
PLAN = {
    "id": "00000000-0000-4000-8000-000000000010", "block_outcome_id": OUTCOME["id"],
    "intended_outcome": "Draft the parser", "first_action": "Open parser.cpp",
    "hazards_mitigation": "Mail: closed", "nicu_framing": "Novel", "energy": 4, "morale": 2,
}
REVIEWED = {
    "id": "00000000-0000-4000-8000-000000000012", "number": 1, "plan": PLAN,
    "started_at": "2026-03-02T09:31:00Z", "planned_duration_seconds": 1500,
    "accumulated_paused_seconds": 59.5, "ended_at": "2026-03-02T09:57:00Z",
    "review": {"id": "00000000-0000-4000-8000-000000000011", "completion": "Half",
               "noteworthy_result": "Half a parser", "distractions": "Chat", "improvement": "Mute chat"},
}
PAUSED = {
    "id": "00000000-0000-4000-8000-000000000013", "number": 2,
    "plan": {**PLAN, "id": "00000000-0000-4000-8000-000000000014"},
    "started_at": "2026-03-02T10:03:20Z", "planned_duration_seconds": 1500,
    "accumulated_paused_seconds": 30, "paused_at": "2026-03-02T10:05:00Z",
}
SAMPLE = {
    "schema_version": 1,
    "workflow_state": "focusing",
    "interruptible": True,
    "block": {
        "id": "00000000-0000-4000-8000-000000000001", "created_at": "2026-03-02T09:30:00Z",
        "planned_start": "2026-03-02T09:30:30Z", "scheduled_start_triggered_at": "2026-03-02T09:30:31Z",
        "focus_duration_seconds": 1500, "break_duration_seconds": 300, "cycle_count": 2,
        "outcomes": [OUTCOME], "why_value": "Unblocks the team", "done_test": "Tests pass",
        "hazards": "Scope creep", "measurable_check": "3 files parsed", "context_notes": "",
        "sessions": [REVIEWED, PAUSED],
        "reflection": {"output_produced": "A parser", "normal_comparison": "Better", "bogged_down": "Lexer",
                       "went_well": "Tests", "lessons": "Start smaller"},
        "completed_at": "2026-03-02T10:20:00Z",
    },
    "outcomes": [OUTCOME],
    "tasks": [
        {"id": PLAN["id"], "title": "Draft the parser", "first_action": "Open parser.cpp", "status": "reviewed"},
        {"id": PAUSED["plan"]["id"], "title": "Draft the parser", "first_action": "Open parser.cpp",
         "status": "current"},
        {"id": "00000000-0000-4000-8000-000000000015", "title": "Tests", "first_action": "Write one",
         "status": "planned"},
    ],
    "sessions": [REVIEWED, PAUSED],
    "current_session": PAUSED,
    "next_session": {**PLAN, "id": "00000000-0000-4000-8000-000000000015"},
    "remaining_seconds": 1398,
    "open_questions": [{
        "id": "00000000-0000-4000-8000-000000000020", "question": "Merge now?",
        "created_at": "2026-03-02T09:40:00Z", "asked_by": "builder", "answer": "Not yet",
    }],
    "updated_at": "2026-03-02T10:05:00Z",
}

IDLE = {"workflow_state": "idle", "block": None, "outcomes": [], "tasks": [], "sessions": [],
        "current_session": None, "next_session": None, "remaining_seconds": None, "open_questions": []}

GONE = object()  # an edit's value that removes the key

# name, edits ({path: value}), what the schema must say: "valid" (also with
# unknown keys refused), "invalid", or "addition" (a key newer versions may
# add: let through by the published schema, refused by the strict one).
CASES = [
    ("every optional key present", {}, "valid"),
    ("idle, nothing under way", IDLE, "valid"),
    ("focus running: not interruptible", {"interruptible": False}, "valid"),
    ("break past its length", {"workflow_state": "breaking", "remaining_seconds": -75}, "valid"),
    *((f"the phase {phase}", {"workflow_state": phase}, "valid") for phase in
      ("idle", "blockPlanning", "sessionPlanning", "focusing", "sessionReview", "breaking", "blockReview",
       "complete")),
    *((f"the task status {status}", {"tasks.1.status": status}, "valid") for status in
      ("current", "reviewed", "review_draft", "planned")),
    *((f"the completion {completion}", {"sessions.0.review.completion": completion}, "valid") for completion in
      ("Yes", "Half", "No")),
    ("every optional nested key left out",
     {"block.planned_start": GONE, "block.scheduled_start_triggered_at": GONE, "block.reflection": GONE,
      "block.completed_at": GONE, "next_session.block_outcome_id": GONE, "current_session.paused_at": GONE,
      "sessions.0.review": GONE, "sessions.0.ended_at": GONE,
      "open_questions.0.asked_by": GONE, "open_questions.0.answer": GONE}, "valid"),
    ("an asker's name of 1 character", {"open_questions.0.asked_by": "a"}, "valid"),
    ("an asker's name of 64 characters", {"open_questions.0.asked_by": "é" * 64}, "valid"),
    *((f"an unknown key in {record}", {f"{path}streak" if path else "streak": 3}, "addition") for record, path in (
        ("the document", ""), ("the block", "block."), ("an outcome", "outcomes.0."), ("a task", "tasks.0."),
        ("a session", "sessions.0."), ("a plan", "next_session."), ("a review", "sessions.0.review."),
        ("the reflection", "block.reflection."), ("a question", "open_questions.0."))),

    ("interruptible as text", {"interruptible": "false"}, "invalid"),
    ("no workflow_state", {"workflow_state": GONE}, "invalid"),
    ("an unknown phase", {"workflow_state": "resting"}, "invalid"),
    ("a phase spelled in snake case", {"workflow_state": "block_planning"}, "invalid"),
    ("a second layout version", {"schema_version": 2}, "invalid"),
    ("a null key left out", {"block": GONE}, "invalid"),
    ("a list as null", {"open_questions": None}, "invalid"),
    ("a nested optional key as null", {"current_session.paused_at": None}, "invalid"),
    ("remaining seconds with a fraction", {"remaining_seconds": 1.5}, "invalid"),
    ("remaining seconds as text", {"remaining_seconds": "1398"}, "invalid"),
    ("an instant with a space", {"updated_at": "2026-03-02 10:05:00Z"}, "invalid"),
    ("an instant with a fraction", {"block.created_at": "2026-03-02T09:30:00.5Z"}, "invalid"),
    ("an instant with an offset", {"sessions.0.started_at": "2026-03-02T10:31:00+01:00"}, "invalid"),
    ("an instant that is no date", {"open_questions.0.created_at": "2026-02-30T09:40:00Z"}, "invalid"),
    ("an instant ending in a newline", {"updated_at": "2026-03-02T10:05:00Z\n"}, "invalid"),
    ("an identifier that is no UUID", {"tasks.0.id": "task-1"}, "invalid"),
    ("an identifier in lower case", {"block.id": "0000000a-0000-4000-8000-000000000001"}, "invalid"),
    ("an asker's name of 65 characters", {"open_questions.0.asked_by": "a" * 65}, "invalid"),
    ("an empty asker's name", {"open_questions.0.asked_by": ""}, "invalid"),
    ("an answered question among the open ones", {"open_questions.0.answered_at": "2026-03-02T09:50:00Z"},
     "invalid"),
    ("an unknown task status", {"tasks.0.status": "done"}, "invalid"),
    ("a task without its first action", {"tasks.2.first_action": GONE}, "invalid"),
    ("a completion in lower case", {"sessions.0.review.completion": "half"}, "invalid"),
    ("a rating as text", {"next_session.energy": "4"}, "invalid"),
    ("a duration as text", {"block.focus_duration_seconds": "1500"}, "invalid"),
    ("a block without its sessions", {"block.sessions": GONE}, "invalid"),
    ("a reflection without its lessons", {"block.reflection.lessons": GONE}, "invalid"),
    ("a session without its plan", {"current_session.plan": GONE}, "invalid"),
]


def edited(document, edits):
    # Through text, so that records the sample shares are edited one at a time.
    document = json.loads(json.dumps(document))
    for path, value in edits.items():
        *parents, last = path.split(".")
        node = document
        for step in parents:
            node = node[int(step)] if isinstance(node, list) else node[step]
        if value is GONE:
            del node[last]
        else:
            node[last] = copy.deepcopy(value)
    return document


def innermost(error):
    # A value that may be null fails both choices of its "anyOf"; the deeper
    # failure is the one inside the record, which says what is wrong.
    while error.context:
        error = max(error.context, key=lambda cause: len(cause.absolute_path))
    return error


def errors_of(validator, document):
    """Each error as "path: message", naming the innermost cause; messages
    quote values, which may be long texts, so they are cut."""
    lines = []
    for error in sorted(validator.iter_errors(document), key=lambda e: list(map(str, e.absolute_path))):
        cause = innermost(error)
        message = cause.message if len(cause.message) <= 300 else cause.message[:300] + "…"
        lines.append(f"{cause.json_path}: {message}")
    return lines


def schema_faults(schema):
    published = Draft202012Validator(schema, format_checker=format_checker())
    closed = Draft202012Validator(strict(schema), format_checker=format_checker())
    faults = [f"{where}: no description" for where in undescribed(schema)]
    for name, edits, expected in CASES:
        document = edited(SAMPLE, edits)
        if expected == "valid" and (errors := errors_of(closed, document)):
            faults.append(f"refuses {name}: {errors[0]}")
        elif expected == "addition" and (errors := errors_of(published, document)):
            faults.append(f"refuses {name}, which newer versions may write: {errors[0]}")
        elif expected == "addition" and not errors_of(closed, document):
            faults.append(f"accepts {name} even when unknown keys are refused")
        elif expected == "invalid" and not errors_of(published, document):
            faults.append(f"accepts {name}")
    return faults


def documents(arguments):
    for argument in map(pathlib.Path, arguments):
        if argument.is_dir():
            found = sorted(argument.rglob("agent-state*.json"))
            if not found:
                yield argument, None
            yield from ((path, path) for path in found)
        else:
            yield argument, argument


def main(arguments):
    if len(arguments) < 2:
        print("usage: validate-agent-state.py SCHEMA FILE_OR_FOLDER...", file=sys.stderr)
        return 2
    try:
        schema = json.loads(pathlib.Path(arguments[0]).read_text(encoding="utf-8"))
        Draft202012Validator.check_schema(schema)
    except (OSError, ValueError) as error:
        print(f"{arguments[0]}: cannot read the schema: {error}", file=sys.stderr)
        return 2
    except SchemaError as error:
        print(f"{arguments[0]}: not a draft 2020-12 schema: {error.json_path}: {error.message}")
        return 1

    faults = schema_faults(schema)
    for fault in faults:
        print(f"{arguments[0]}: {fault}")
    if faults:
        return 1

    validator = Draft202012Validator(strict(schema), format_checker=format_checker())
    checked = invalid = empty = 0
    for argument, path in documents(arguments[1:]):
        if path is None:
            print(f"{argument}: holds no agent-state*.json file")
            empty += 1
            continue
        checked += 1
        try:
            errors = errors_of(validator, json.loads(path.read_text(encoding="utf-8")))
        except (OSError, ValueError) as error:
            errors = [f"not a readable JSON document: {error}"]
        for error in errors:
            print(f"{path}: {error}")
        invalid += bool(errors)
    print(f"{checked - invalid} of {checked} documents valid")
    return 1 if invalid or empty else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
