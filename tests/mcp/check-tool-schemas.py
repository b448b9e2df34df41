#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that the tools' input schemas are valid JSON Schema and that they
say what the server does: for each set of arguments below, the schema accepts
it exactly when the server takes the call (rather than answering -32602 or a
tool error). Agents build their calls from these schemas, so a schema that
allows what the server refuses, or the reverse, misleads every agent.

Usage: check-tool-schemas.py SERVER_COMMAND... (e.g. quillmerectl mcp)
Exits 77 when python3-jsonschema is not installed."""

import json
import subprocess
import sys

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema is not installed", file=sys.stderr)
    sys.exit(77)

LONGEST = "\u00e4" * 2000

# (tool, arguments): each is checked against the schema and against the server.
CALLS = [
    ("get_focus_state", {}),
    ("ask_user", {"text": "Which branch should the release use?"}),
    ("ask_user", {"text": LONGEST}),
    ("ask_user", {"text": LONGEST + "x"}),
    ("ask_user", {"text": ""}),
    ("ask_user", {"text": "Deploy?", "wait_seconds": 600}),
    ("ask_user", {"text": "Deploy?", "wait_seconds": 601}),
    ("ask_user", {"text": "Deploy?", "wait_seconds": -1}),
    ("ask_user", {"text": "Deploy?", "wait_seconds": "5"}),
    ("ask_user", {"text": "Deploy?", "wait_seconds": 2.5}),
    ("ask_user", {"text": 5}),
    ("ask_user", {}),
    ("get_answer", {"id": "00000000-0000-4000-8000-100000000000"}),
    ("get_answer", {"id": 3}),
    ("get_answer", {}),
    ("wait_until_interruptible", {}),
    ("wait_until_interruptible", {"timeout_seconds": 1}),
    ("wait_until_interruptible", {"timeout_seconds": 3600}),
    ("wait_until_interruptible", {"timeout_seconds": 0}),
    ("wait_until_interruptible", {"timeout_seconds": 3601}),
    ("wait_until_interruptible", {"timeout_seconds": "soon"}),
]


class Session:
    def __init__(self, command):
        self.process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                                        encoding="utf-8")
        self.next_id = 1

    def send(self, method, params):
        request_id = self.next_id
        self.next_id += 1
        self.process.stdin.write(json.dumps({"jsonrpc": "2.0", "id": request_id, "method": method,
                                             "params": params}) + "\n")
        self.process.stdin.flush()
        return request_id

    def replies_until(self, request_id):
        """Every message up to and including the reply to request_id."""
        messages = []
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError("the server closed its output")
            message = json.loads(line)
            messages.append(message)
            if message.get("id") == request_id:
                return messages

    def call(self, method, params):
        return self.replies_until(self.send(method, params))[-1]

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=10)


def main():
    session = Session(sys.argv[1:])
    session.call("initialize", {"protocolVersion": "2025-11-25", "capabilities": {},
                                "clientInfo": {"name": "check-tool-schemas", "version": "1"}})
    tools = {tool["name"]: tool for tool in session.call("tools/list", {})["result"]["tools"]}
    failures = []
    for name, tool in tools.items():
        try:
            jsonschema.Draft202012Validator.check_schema(tool["inputSchema"])
        except jsonschema.SchemaError as error:
            failures.append(f"{name}: the input schema is not valid JSON Schema: {error.message}")

    for name, arguments in CALLS:
        validator = jsonschema.Draft202012Validator(tools[name]["inputSchema"])
        schema_accepts = validator.is_valid(arguments)
        call_id = session.send("tools/call", {"name": name, "arguments": arguments})
        # A call the server takes may wait for the user; one it refuses is
        # answered at once, before the ping behind it.
        replies = session.replies_until(session.send("ping", {}))
        reply = next((message for message in replies if message.get("id") == call_id), None)
        refused = reply is not None and ("error" in reply or reply["result"].get("isError", False))
        if schema_accepts == refused:
            shown = json.dumps(arguments)[:80]
            failures.append(f"{name} {shown}: the schema {'accepts' if schema_accepts else 'refuses'} it, "
                            f"the server {'refuses' if refused else 'takes'} it: {json.dumps(reply)[:200]}")
    session.close()

    checks = len(tools) + len(CALLS)
    for failure in failures:
        print(f"FAIL: {failure}", file=sys.stderr)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
