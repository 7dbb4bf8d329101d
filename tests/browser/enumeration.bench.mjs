// On demand (make bench-bridge): a page in headless Chromium reads the name and size of 10,000
// catalogue files through the agent, one call per field and file, then in one batch call.
import { Workspace, launchBrowser, runPage, startAgent, startSite } from "./harness.mjs";

const fileCount = Number(process.env.VANTREL_BENCH_FILES || 10000);
const rows = [];
for (let i = 0; i < fileCount; ++i)
    rows.push(`    <FILE path="/files/f${i}.txt" name="f${i}.txt" transtype="server" ` +
              `size="${1000 + i}" type="Text" modifydate="2026-12-01 10:00"/>`);

const workspace = await Workspace.create();
let site, agent, browser;
try {
    await workspace.write("site/ui.xml", "<UICONFIG/>");
    await workspace.write("site/catalogue.xml",
                          `<MORVEXXML>\n  <FOLDER type="disk" name="Disk">\n${rows.join("\n")}\n` +
                          "  </FOLDER>\n</MORVEXXML>\n");
    await workspace.addPage("enumerate.html");
    site = await startSite(workspace);
    agent = await startAgent(workspace, ["--allow-origin", site.origin]);
    browser = await launchBrowser();
    const { text } = await runPage(browser,
                                   `${site.origin}/enumerate.html?agent=${agent.portNumber}`,
                                   120000);
    const status = await text("#status");
    if (status !== "done")
        throw new Error(status);
    const result = JSON.parse(await text("#result"));
    console.log(`${result.files} files, name and size each:`);
    console.log(`  one call per field: ${result.calls} calls in ${result.perCallMs} ms ` +
                `(${(result.perCallMs * 1000 / result.calls).toFixed(0)} µs a call)`);
    console.log(`  one batch call (Vantrel.serverListRows): ${result.batchMs} ms`);
    console.log(`  same rows both ways: ${result.same}`);
} finally {
    await browser?.close();
    await agent?.stop();
    await site?.stop();
    await workspace.remove();
}
