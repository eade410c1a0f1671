// What every journey needs: the program started as a user starts it, the distribution's Chromium,
// pages opened at the program's address, and screenshots kept under the build folder.
import { spawn, execFileSync } from "node:child_process";
import { createInterface } from "node:readline";
import { mkdirSync, mkdtempSync, rmSync, truncateSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";
import { before, after } from "node:test";
import { chromium } from "playwright-core";

export const buildDir = process.env.OSTRANA_BUILD_DIR || path.resolve(import.meta.dirname, "../../build");
export const shots = path.join(buildDir, "e2e-screenshots");
mkdirSync(shots, { recursive: true });

export function shot(name) {
  return path.join(shots, `${name}.png`);
}

// Starts a program and resolves with it and the first line it prints.
export async function startProgram(file, args, options = {}) {
  const program = spawn(file, args, { stdio: ["ignore", "pipe", "inherit"], ...options });
  const lines = createInterface({ input: program.stdout });
  const first = await new Promise((resolve, reject) => {
    lines.once("line", resolve);
    program.once("exit", (code) => reject(new Error(`${path.basename(file)} ended (${code}) before printing a line`)));
  });
  return { program, first, lines };
}

export async function stopProgram(program) {
  if (!program || program.exitCode !== null) return;
  const ended = new Promise((resolve) => program.once("exit", resolve));
  program.kill("SIGTERM");
  await ended;
}

export function startOstrana(env = {}) {
  return startProgram(path.join(buildDir, "host/ostrana"), ["--no-open"], { env: { ...process.env, ...env } });
}

export function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--no-sandbox", "--font-render-hinting=none"],
  });
}

// Adds query parameters to the program's address.
export function withQuery(address, parameters) {
  const url = new URL(address);
  for (const [name, value] of Object.entries(parameters)) url.searchParams.set(name, value);
  return url.toString();
}

// A page at the program's address in offline mode (no socket), for replaying frames by hand.
export async function openOffline(browser, address, options) {
  const context = await browser.newContext(options);
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(withQuery(address, { offline: "1" }));
  await page.waitForFunction(() => window.ostranaPage);
  return { context, page, errors };
}

// Waits until the page has applied a frame numbered above `after`.
export async function waitForFrame(page, after = 0, timeout = 10000) {
  await page.waitForFunction((n) => Number(document.body.dataset.frame || 0) > n, after, { timeout });
  return Number(await page.evaluate(() => document.body.dataset.frame));
}

// ostrana-service on a free loopback port over `root`, filled with the demo accounts.
export async function startService(root) {
  const service = await startProgram(path.join(buildDir, "service/ostrana-service"),
    ["--root", root, "--listen", "127.0.0.1:0", "--demo"]);
  const port = Number(/:(\d+)$/.exec(service.first)?.[1]);
  if (!port) throw new Error(`ostrana-service said: ${service.first}`);
  return { ...service, port, address: `127.0.0.1:${port}` };
}

// A container with its settings, registry and local drive D: in `folder` (made if missing); C: is
// always the machine's root.
export function startContainer(folder, serverAddress) {
  for (const sub of ["home", "local"]) mkdirSync(path.join(folder, sub), { recursive: true });
  return startOstrana({
    HOME: path.join(folder, "home"), XDG_CONFIG_HOME: path.join(folder, "home"),
    OSTRANA_REGISTRY: path.join(folder, "registry"), OSTRANA_DRIVES: `D=${path.join(folder, "local")}`,
    OSTRANA_SERVER: serverAddress,
  });
}

// The window whose accessible name is `name`.
export function named(page, name) {
  return page.locator(`[aria-label="${name.replace(/"/g, '\\"')}"]`);
}

// Waits until the window behind the first element of `locator` has painted: a window is in the
// accessibility tree from its creation, but shows on the canvas only with its first picture.
export async function painted(locator, timeout = 15000) {
  const element = locator.first();
  await element.waitFor({ timeout });
  const handle = Number(await element.getAttribute("data-hwnd"));
  await element.page().waitForFunction((h) => (window.ostranaPage.scene.get(h)?.picture?.length ?? 0) > 0, handle,
    { timeout });
}

// The control with a control id; a drop-down combo box is typed into through its edit. A combo
// box's own edit has id 1001 as well, so those are not counted as controls of their own.
export async function control(page, id) {
  const found = page.locator(`[data-id="${id}"]:not([data-class="ComboBox"] > [data-class="Edit"])`).first();
  await found.waitFor({ timeout: 15000 });
  const edit = found.locator('[data-class="Edit"]');
  return (await edit.count()) > 0 ? edit.first() : found;
}

export async function typeInto(page, id, text) {
  await (await control(page, id)).click();
  await page.keyboard.type(text);
}

// The login dialog filled in and its button pressed.
export async function logIn(page, serverAddress, password) {
  await typeInto(page, 1019, serverAddress);
  await typeInto(page, 1001, "demo");
  await typeInto(page, 1002, password);
  await page.locator('[data-id="1004"]').first().click();
}

// The demo account's session cookie, as the service's own page hands it to the control.
export function demoAuth(serverAddress) {
  const cookie = execFileSync(path.join(buildDir, "cli/ostrana-cli"), ["--server", serverAddress, "--user", "demo", "login"],
    { env: { ...process.env, OSTRANA_PASSWORD: "demo1234" } }).toString().trim();
  return `WAXLO_AUTH=${cookie}`;
}

// A file of page tests shares one container, without a service, and one browser, started before
// its first test and stopped after its last.
export function containerRig() {
  const rig = { ostrana: null, browser: null };
  before(async () => {
    rig.ostrana = await startOstrana();
    rig.browser = await launchBrowser();
  });
  after(async () => {
    await rig.browser?.close();
    await stopProgram(rig.ostrana?.program);
  });
  return rig;
}

// A file of journeys shares one service over a fresh folder and one browser, started before its
// first journey and stopped after its last. open() gives a journey a container of its own, with
// `files` on its drive D: (relative path → content, or a size for a sparse file of zeros), and a
// page at the container's address.
export function journeyRig(prefix) {
  const rig = { folder: null, service: null, browser: null, runs: 0 };
  before(async () => {
    rig.folder = mkdtempSync(path.join(os.tmpdir(), prefix));
    rig.service = await startService(path.join(rig.folder, "root"));
    rig.browser = await launchBrowser();
  });
  after(async () => {
    await rig.browser?.close();
    await stopProgram(rig.service?.program);
    if (rig.folder) rmSync(rig.folder, { recursive: true, force: true });
  });
  rig.open = async (parameters, { files = {}, service = rig.service, context: contextOptions = {} } = {}) => {
    const run = path.join(rig.folder, `run-${++rig.runs}`);
    const local = path.join(run, "local");
    for (const [relative, content] of Object.entries(files)) {
      const file = path.join(local, relative);
      mkdirSync(path.dirname(file), { recursive: true });
      writeFileSync(file, typeof content === "number" ? "" : content);
      if (typeof content === "number") truncateSync(file, content);
    }
    const ostrana = await startContainer(run, service.address);
    const context = await rig.browser.newContext({ viewport: { width: 1000, height: 720 }, ...contextOptions });
    const page = await context.newPage();
    const errors = [];
    page.on("pageerror", (error) => errors.push(error.message));
    await page.goto(withQuery(ostrana.first, parameters));
    await waitForFrame(page);
    const close = async () => {
      await context.close();
      await stopProgram(ostrana.program);
    };
    return { context, page, errors, run, local, close };
  };
  return rig;
}
