// Pages in headless Chromium drive their own control through an offscreen vantrel-agent.
import { describe, it } from "node:test";
import assert from "node:assert/strict";
import { randomBytes } from "node:crypto";
import { readFile, readdir } from "node:fs/promises";
import path from "node:path";
import { runPage, siteAndBrowser, startAgent } from "./harness.mjs";

const catalogue = `<?xml version="1.0" encoding="UTF-8"?>
<MORVEXXML>
  <FOLDER type="disk" name="Disk">
    <FILE path="/files/a.bin" name="a.bin" transtype="server" size="65536" type="Binary"
          modifydate="2026-12-01 10:00"/>
    <FILE path="/files/b.txt" name="b.txt" transtype="server" size="12" type="Text"
          modifydate="2026-12-01 10:05"/>
  </FOLDER>
</MORVEXXML>`;

async function filesBelow(dir) {
    const found = new Map();
    for (const entry of await readdir(dir, { recursive: true, withFileTypes: true })) {
        if (entry.isFile())
            found.set(entry.name, await readFile(path.join(entry.parentPath ?? entry.path, entry.name)));
    }
    return found;
}

describe("a page on an allowed origin", () => {
    const served = randomBytes(65536);
    const local = randomBytes(300000);

    const env = siteAndBrowser(async (workspace) => {
        await workspace.write("site/ui.xml", "<UICONFIG/>");
        await workspace.write("site/catalogue.xml", catalogue);
        await workspace.write("site/files/a.bin", served);
        await workspace.write("site/files/b.txt", "twelve bytes");
        await workspace.addPage("transfers.html");
        await workspace.addPage("face.html");
    });

    it("loads, enumerates, downloads and uploads, and hears the events in order", async () => {
        const { workspace, site, browser } = env;
        const down = path.join(workspace.root, "down");
        const upload = await workspace.write("local/report.bin", local);
        const agent = await startAgent(workspace, ["--allow-origin", site.origin,
                                                   "--answer", "path=allow",
                                                   "--answer", "path=allow"]);
        try {
            const query = new URLSearchParams({ agent: agent.portNumber, down, local: upload });
            const { text, errors } = await runPage(browser,
                                                   `${site.origin}/transfers.html?${query}`);
            assert.equal(await text("#status"), "done");
            assert.deepEqual(errors, []);
            assert.equal(await text("#events"),
                         "OnXMLLoadCompleat 0OnLoadCompleatOnDownloadCompleat 0");
            assert.equal(await text("#catalogue"), "Disk/a.bin 65536Disk/b.txt 12");
            assert.equal(await text("#selected"), "-1 -> 0");
            assert.equal(await text("#download"), "0");
            assert.equal(await text("#upload"), "0 1 report.bin");

            assert.deepEqual(await readFile(path.join(down, "a.bin")), served);
            assert.equal(String(await readFile(path.join(down, "b.txt"))), "twelve bytes");
            assert.deepEqual((await filesBelow(workspace.uploads)).get("report.bin"), local);
            // The page named both paths; the user was asked about each, once.
            const prompts = agent.stdout.filter((line) => line.startsWith("prompt: path: "));
            assert.deepEqual(prompts, [
                `prompt: path: Allow ${site.origin} to save downloads into ${down}?`,
                `prompt: path: Allow ${site.origin} to queue ${upload} for upload?`,
            ]);
            await agent.stopCleanly();
        } finally {
            await agent.stop();
        }
    });

    it("sees exactly the face, current property values and the control's refusals", async () => {
        const { workspace, site, browser } = env;
        const agent = await startAgent(workspace, ["--allow-origin", site.origin]);
        try {
            const { text } = await runPage(browser,
                                           `${site.origin}/face.html?agent=${agent.portNumber}`);
            assert.equal(await text("#status"), "done");
            const checks = await text("#checks");
            for (const expected of [
                "names 54 89 18", // the 50 classic properties and the 4 added beyond them
                "extras none",
                "before a call utf-8 up.example #000000",
                "after a call UTF-8 [] []",
                'read-only TypeError: Cannot assign to read-only property "InitDiskName"',
                'write-only TypeError: Property "FileAttachViewMode" is write-only',
                "arity GetDiskName takes 1 argument(s), got 0",
                'empty index ""',
            ])
                assert.ok(checks.includes(expected), `${expected} in ${checks}`);
            await agent.stopCleanly();
        } finally {
            await agent.stop();
        }
    });
});
