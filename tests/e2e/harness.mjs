// What every journey needs: the program started as a user starts it, the distribution's Chromium,
// pages opened at the program's address, and screenshots kept under the build folder.
import { spawn } from "node:child_process";
import { createInterface } from "node:readline";
import { mkdirSync } from "node:fs";
import path from "node:path";
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

// Waits until the page has applied a frame numbered above `after`.
export async function waitForFrame(page, after = 0, timeout = 10000) {
  await page.waitForFunction((n) => Number(document.body.dataset.frame || 0) > n, after, { timeout });
  return Number(await page.evaluate(() => document.body.dataset.frame));
}
