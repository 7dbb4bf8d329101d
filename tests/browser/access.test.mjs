// Who may connect to the agent, and what a page may do with paths it names itself.
import { describe, it } from "node:test";
import assert from "node:assert/strict";
import { access } from "node:fs/promises";
import net from "node:net";
import { runPage, siteAndBrowser, startAgent } from "./harness.mjs";

// A WebSocket handshake written by hand, as no browser would send it; resolves to all the
// agent sent back before it closed the connection.
function rawHandshake(port, headers) {
    return new Promise((resolve, reject) => {
        const socket = net.connect(port, "127.0.0.1");
        const chunks = [];
        socket.on("connect", () => socket.write(
            "GET / HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n" +
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n" +
            Object.entries(headers).map(([name, value]) => `${name}: ${value}\r\n`).join("") +
            "\r\n"));
        socket.on("data", (chunk) => chunks.push(chunk));
        socket.on("end", () => resolve(Buffer.concat(chunks)));
        socket.on("error", reject);
        socket.setTimeout(5000, () => {
            socket.destroy();
            reject(new Error("the agent kept the connection open"));
        });
    });
}

describe("the agent's gate", () => {
    const env = siteAndBrowser(async (workspace) => {
        await workspace.write("site/ui.xml", "<UICONFIG/>");
        await workspace.addPage("face.html");
        await workspace.addPage("local-path.html");
    });

    it("refuses a page whose origin is not on the list, and says why", async () => {
        const { workspace, site, browser } = env;
        const agent = await startAgent(workspace, ["--allow-origin", "https://elsewhere.example"]);
        try {
            const { text } = await runPage(browser,
                                           `${site.origin}/face.html?agent=${agent.portNumber}`);
            assert.match(await text("#status"), /^error: no connection to vantrel-agent/);
            await agent.waitForLine(new RegExp(
                `refused ${site.origin}: the origin is not allowed`));
            await agent.stopCleanly();
        } finally {
            await agent.stop();
        }
    });

    it("closes a connection whose Host header names another host before any channel", async () => {
        const { workspace, site, browser } = env;
        const agent = await startAgent(workspace, ["--allow-origin", site.origin]);
        try {
            const reply = await rawHandshake(agent.portNumber, {
                Host: `rebound.example:${agent.portNumber}`, Origin: site.origin });
            assert.match(String(reply), /^HTTP\/1\.1 101 /);
            const frame = reply.subarray(reply.indexOf("\r\n\r\n") + 4);
            assert.equal(frame[0], 0x88, "a close frame");
            assert.equal(frame.readUInt16BE(2), 1008, "policy violation");
            await agent.waitForLine(
                /refused .*the Host header "rebound\.example:\d+" does not name this agent/);

            const sameHost = await rawHandshake(agent.portNumber, {
                Host: `127.0.0.1:${agent.portNumber}`, Origin: "http://other.example" });
            assert.match(String(sameHost), /^HTTP\/1\.1 403 /);
            assert.ok(!agent.stderr.some((line) => line.includes("connected")));
            await agent.stopCleanly();
        } finally {
            await agent.stop();
        }
    });

    it("keeps a file the page names when the user says no", async () => {
        const { workspace, site, browser } = env;
        const named = await workspace.write("private/secret.txt", "not for the page");
        const agent = await startAgent(workspace, ["--allow-origin", site.origin,
                                                   "--answer", "path=no"]);
        try {
            const query = new URLSearchParams({ agent: agent.portNumber, local: named });
            const { text } = await runPage(browser, `${site.origin}/local-path.html?${query}`);
            assert.equal(await text("#status"), "done");
            assert.equal(await text("#checks"),
                         "OnAddfileError -1015 secret.txtqueued 0deleted false");
            await access(named);
            assert.deepEqual(agent.stdout.filter((line) => line.startsWith("prompt: path:")), [
                `prompt: path: Allow ${site.origin} to queue ${named} for upload?`,
                `prompt: path: Allow ${site.origin} to delete ${named}?`,
            ]);
            await agent.stopCleanly();
        } finally {
            await agent.stop();
        }
    });
});
