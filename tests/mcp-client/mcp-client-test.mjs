// SPDX-License-Identifier: GPL-3.0-or-later
// Drives `$QUILLMERECTL mcp` with the official MCP TypeScript SDK client, as
// a coding agent would: it lists and calls every tool, reads and subscribes
// to the agent state, changes the phase with `$QUILLMERE_CHANGE_PHASE` and
// waits for the change to be announced. The SDK validates every answer
// against the protocol's schemas, so a message of the wrong shape fails
// here even where the server's own tests agree with the server.
//
//   QUILLMERECTL=build/ctl/quillmerectl QUILLMERE_CHANGE_PHASE='build/ctl/quillmerectl start' \
//     node tests/mcp-client/mcp-client-test.mjs
//
// Exits 0 when every check passed; otherwise 1 with the failed check on
// standard error.

import { exec } from 'node:child_process';
import { promisify } from 'node:util';

import { Client } from '@modelcontextprotocol/sdk/client/index.js';
import { StdioClientTransport } from '@modelcontextprotocol/sdk/client/stdio.js';
import { ResourceUpdatedNotificationSchema } from '@modelcontextprotocol/sdk/types.js';

const agentStateUri = 'quillmere://agent-state';
const expectedTools = ['ask_user', 'get_answer', 'get_focus_state', 'wait_until_interruptible'];
const notificationWaitMs = 10_000;
// Far beyond what the checks need; only there so that a server that stops
// answering ends the run instead of hanging it.
const wholeRunMs = 120_000;

let passed = 0;

class CheckFailed extends Error {}

function check(condition, what) {
    if (!condition) {
        throw new CheckFailed(what);
    }
}

async function step(name, body) {
    try {
        const result = await body();
        passed += 1;
        console.log(`ok ${passed} - ${name}`);
        return result;
    } catch (error) {
        const reason = error instanceof CheckFailed ? error.message : String(error?.stack ?? error);
        throw new CheckFailed(`${name}: ${reason}`);
    }
}

function requireEnv(name) {
    const value = process.env[name];
    if (!value) {
        throw new CheckFailed(`environment variable ${name} is not set`);
    }
    return value;
}

function textOf(result, index = 0) {
    const item = result.content?.[index];
    check(item?.type === 'text' && typeof item.text === 'string', `content[${index}] is not text`);
    return item.text;
}

function expectToolSuccess(result, tool) {
    check(!result.isError, `${tool} failed: ${result.content?.map((item) => item.text).join(' ')}`);
}

async function run() {
    const command = requireEnv('QUILLMERECTL');
    const changePhase = requireEnv('QUILLMERE_CHANGE_PHASE');

    // The SDK passes on only a few variables by default; the program needs the
    // session bus and the data folders the test chose.
    const transport = new StdioClientTransport({ command, args: ['mcp'], env: { ...process.env }, stderr: 'inherit' });
    const client = new Client({ name: 'quillmere-mcp-client-test', version: '1.0.0' });

    let announce = null;
    const updates = [];
    client.setNotificationHandler(ResourceUpdatedNotificationSchema, (notification) => {
        updates.push(notification.params.uri);
        if (notification.params.uri === agentStateUri && announce) {
            announce();
        }
    });

    try {
        await step('initialize', async () => {
            await client.connect(transport);
            check(client.getServerVersion()?.name === 'quillmere', 'the server does not call itself quillmere');
            check(client.getServerCapabilities()?.resources?.subscribe === true, 'resources cannot be subscribed to');
            check(client.getServerCapabilities()?.tools !== undefined, 'no tools capability');
        });

        await step('tools/list names the four tools', async () => {
            const { tools } = await client.listTools();
            const names = tools.map((tool) => tool.name).sort();
            check(JSON.stringify(names) === JSON.stringify(expectedTools), `tools are ${names.join(', ')}`);
        });

        await step('get_focus_state', async () => {
            const result = await client.callTool({ name: 'get_focus_state', arguments: {} });
            expectToolSuccess(result, 'get_focus_state');
            check(textOf(result, 0).length > 0, 'the summary line is empty');
            const state = JSON.parse(textOf(result, 1));
            check(typeof state.workflow_state === 'string', 'the state has no workflow_state');
            check(typeof state.interruptible === 'boolean', 'the state has no interruptible');
        });

        const questionId = await step('ask_user without waiting', async () => {
            const result = await client.callTool({
                name: 'ask_user',
                arguments: { text: 'Which branch should the release use?' },
            });
            expectToolSuccess(result, 'ask_user');
            const id = result.structuredContent?.id;
            check(typeof id === 'string' && id.length > 0, 'no question id');
            return id;
        });

        await step('get_answer for that question', async () => {
            const result = await client.callTool({ name: 'get_answer', arguments: { id: questionId } });
            expectToolSuccess(result, 'get_answer');
            check(result.structuredContent?.id === questionId, 'the answer is for another question');
            check(typeof result.structuredContent?.answered === 'boolean', 'no answered flag');
        });

        await step('wait_until_interruptible for 2 s', async () => {
            const result = await client.callTool({ name: 'wait_until_interruptible', arguments: { timeout_seconds: 2 } });
            expectToolSuccess(result, 'wait_until_interruptible');
            check(typeof result.structuredContent?.interruptible === 'boolean', 'no interruptible flag');
        });

        await step('resources/list and resources/read', async () => {
            const { resources } = await client.listResources();
            const resource = resources.find((item) => item.uri === agentStateUri);
            check(resource !== undefined, `${agentStateUri} is not listed`);
            check(resource.mimeType === 'application/json', `mimeType is ${resource.mimeType}`);
            const { contents } = await client.readResource({ uri: agentStateUri });
            check(contents.length === 1 && contents[0].uri === agentStateUri, 'unexpected contents');
            const state = JSON.parse(contents[0].text);
            check(typeof state.workflow_state === 'string', 'the document has no workflow_state');
        });

        await step('a phase change is announced to a subscriber', async () => {
            await client.subscribeResource({ uri: agentStateUri });
            const announced = new Promise((resolve, reject) => {
                const timer = setTimeout(
                    () => reject(new CheckFailed(`no notifications/resources/updated within ${notificationWaitMs / 1000} s` +
                        (updates.length > 0 ? ` (only for ${updates.join(', ')})` : ''))),
                    notificationWaitMs);
                announce = () => {
                    clearTimeout(timer);
                    resolve();
                };
            });
            try {
                await promisify(exec)(changePhase, { env: process.env, timeout: notificationWaitMs });
            } catch (error) {
                throw new CheckFailed(`${changePhase} failed: ${error.stderr || error.message}`);
            }
            await announced;
        });
    } finally {
        await client.close().catch(() => {});
    }
}

const guard = setTimeout(() => {
    console.error(`mcp-client-test: FAIL: no result after ${wholeRunMs / 1000} s`);
    console.log(`${passed} passed, 1 failed`);
    process.exit(1);
}, wholeRunMs);

try {
    await run();
    clearTimeout(guard);
    console.log(`${passed} passed, 0 failed`);
    process.exit(0);
} catch (error) {
    clearTimeout(guard);
    console.error(`mcp-client-test: FAIL: ${error instanceof CheckFailed ? error.message : error?.stack ?? error}`);
    console.log(`${passed} passed, 1 failed`);
    process.exit(1);
}
