// What the browser tests share: a site on the loopback test server, an offscreen
// vantrel-agent, and headless Chromium from the system (no browser is downloaded).
//
// CTest passes VANTREL_BIN_DIR (the built programs) and VANTREL_WEB_CLIENT (the bundled
// build/web/vantrel.js); VANTREL_CHROMIUM overrides /usr/bin/chromium.
import { chromium } from "playwright-core";
import { after, before } from "node:test";
import { spawn } from "node:child_process";
import { once } from "node:events";
import { mkdtemp, mkdir, writeFile, copyFile, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import path from "node:path";
import { createInterface } from "node:readline";
import { fileURLToPath } from "node:url";

const binDir = process.env.VANTREL_BIN_DIR;
const webClient = process.env.VANTREL_WEB_CLIENT;
if (!binDir || !webClient)
    throw new Error("VANTREL_BIN_DIR and VANTREL_WEB_CLIENT must name the build's outputs");
export const pagesDir = path.join(path.dirname(fileURLToPath(import.meta.url)), "pages");
const startTimeoutMs = 10000;

// A child process whose output lines are kept; `port` is read from its first line,
// "listening on PORT".
class Program {
    constructor(file, args, env) {
        this.stdout = [];
        this.stderr = [];
        this.child = spawn(file, args, { env: { ...process.env, ...env } });
        const lines = createInterface({ input: this.child.stdout });
        this.port = new Promise((resolve, reject) => {
            const timer = setTimeout(() => reject(new Error(`${file} did not start`)),
                                     startTimeoutMs);
            lines.on("line", (line) => {
                this.stdout.push(line);
                const found = /^listening on (\d+)$/.exec(line);
                if (found && this.stdout.length === 1) {
                    clearTimeout(timer);
                    resolve(Number(found[1]));
                }
            });
            this.child.on("exit", (code) => reject(new Error(`${file} exited with ${code}`)));
        });
        createInterface({ input: this.child.stderr }).on("line", (line) => this.stderr.push(line));
    }

    // Resolves once a line of stdout or stderr matches `pattern`.
    async waitForLine(pattern, timeoutMs = 5000) {
        const deadline = Date.now() + timeoutMs;
        while (Date.now() < deadline) {
            const line = [...this.stdout, ...this.stderr].find((l) => pattern.test(l));
            if (line)
                return line;
            await new Promise((resolve) => setTimeout(resolve, 20));
        }
        throw new Error(`no line matched ${pattern}; output:\n` +
                        [...this.stdout, ...this.stderr].join("\n"));
    }

    // Ends the program with SIGTERM; resolves to its exit code (null when a signal killed it).
    async stop() {
        if (this.child.exitCode === null && this.child.signalCode === null) {
            this.child.kill("SIGTERM");
            await once(this.child, "exit");
        }
        return this.child.exitCode;
    }

    // Stops the program and fails unless it ended cleanly: the agent closes every page's
    // control on SIGTERM, and a sanitizer's report would make the exit code non-zero.
    async stopCleanly() {
        const code = await this.stop();
        if (code !== 0)
            throw new Error(`exit code ${code}; output:\n${this.stderr.join("\n")}`);
    }
}

// A temporary folder that holds the site, the agent's home and whatever a test writes.
export class Workspace {
    static async create() {
        const workspace = new Workspace();
        workspace.root = await mkdtemp(path.join(tmpdir(), "vantrel-browser-"));
        workspace.site = path.join(workspace.root, "site");
        workspace.uploads = path.join(workspace.root, "uploads");
        workspace.home = path.join(workspace.root, "home");
        for (const dir of [workspace.site, workspace.uploads, workspace.home])
            await mkdir(dir, { recursive: true });
        await copyFile(webClient, path.join(workspace.site, "vantrel.js"));
        return workspace;
    }

    // Writes `content` to `name` below the root, making its folders.
    async write(name, content) {
        const file = path.join(this.root, name);
        await mkdir(path.dirname(file), { recursive: true });
        await writeFile(file, content);
        return file;
    }

    async addPage(name) {
        await copyFile(path.join(pagesDir, name), path.join(this.site, name));
    }

    async remove() {
        await rm(this.root, { recursive: true, force: true });
    }
}

export async function startSite(workspace) {
    const server = new Program(path.join(binDir, "vantrel-testserver"),
                               ["--root", workspace.site, "--upload-dir", workspace.uploads,
                                "--port", "0"]);
    server.origin = `http://127.0.0.1:${await server.port}`;
    return server;
}

// The agent offscreen on a free port, with its settings below the workspace.
export async function startAgent(workspace, args) {
    const env = {
        XDG_CONFIG_HOME: path.join(workspace.home, "config"),
        XDG_CACHE_HOME: path.join(workspace.home, "cache"),
        XDG_DATA_HOME: path.join(workspace.home, "data"),
    };
    const agent = new Program(path.join(binDir, "vantrel-agent"),
                              ["--offscreen", "--port", "0", ...args], env);
    agent.portNumber = await agent.port;
    return agent;
}

// For the tests of one describe block: a workspace whose site `prepare` writes, served by the
// test server, and a browser; the returned object holds all three from before the first test.
export function siteAndBrowser(prepare) {
    const shared = {};
    before(async () => {
        shared.workspace = await Workspace.create();
        await prepare(shared.workspace);
        shared.site = await startSite(shared.workspace);
        shared.browser = await launchBrowser();
    });
    after(async () => {
        await shared.browser?.close();
        await shared.site?.stop();
        await shared.workspace?.remove();
    });
    return shared;
}

export function launchBrowser() {
    return chromium.launch({ executablePath: process.env.VANTREL_CHROMIUM || "/usr/bin/chromium" });
}

// Opens `url` and waits until the page's #status reads something other than "running".
export async function runPage(browser, url, timeoutMs = 20000) {
    const page = await browser.newPage();
    const errors = [];
    page.on("pageerror", (error) => errors.push(String(error)));
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById("status").textContent !== "running",
                               null, { timeout: timeoutMs });
    return { page, errors, text: (selector) => page.textContent(selector) };
}
