// Browser journeys: starts `ostrana`, drives the page in headless Chromium, keeps screenshots.
import { test, after, before } from "node:test";
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { createInterface } from "node:readline";
import { mkdirSync } from "node:fs";
import path from "node:path";
import { chromium } from "playwright-core";

const buildDir = process.env.OSTRANA_BUILD_DIR || path.resolve(import.meta.dirname, "../../build");
const shots = path.join(buildDir, "e2e-screenshots");
mkdirSync(shots, { recursive: true });

let program;
let address;
let browser;

before(async () => {
  program = spawn(path.join(buildDir, "host/ostrana"), ["--no-open"], { stdio: ["ignore", "pipe", "inherit"] });
  address = await new Promise((resolve, reject) => {
    createInterface({ input: program.stdout }).once("line", resolve);
    program.once("exit", () => reject(new Error("ostrana ended before printing its address")));
  });
  browser = await chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium", args: ["--no-sandbox"] });
});

after(async () => {
  await browser?.close();
  program?.kill("SIGTERM");
});

test("the page without the token is refused", async () => {
  const page = await browser.newPage();
  const reply = await page.goto(address.replace(/\?t=.*/, ""));
  assert.equal(reply.status(), 403);
  await page.close();
});

test("the page greets and a second tab takes over", async () => {
  const context = await browser.newContext();
  const first = await context.newPage();
  await first.goto(address);
  await first.waitForSelector("body[data-last-kind='1']", { timeout: 10000 });
  await first.getByRole("button", { name: "시작" }).waitFor({ timeout: 10000 });
  await first.screenshot({ path: path.join(shots, "greeted.png") });
  const second = await context.newPage();
  await second.goto(address);
  await second.waitForSelector("body[data-last-kind='1']", { timeout: 10000 });
  await first.getByRole("status").filter({ hasText: "다른 탭" }).waitFor({ timeout: 10000 });
  await first.screenshot({ path: path.join(shots, "taken-over.png") });
  await context.close();
});
