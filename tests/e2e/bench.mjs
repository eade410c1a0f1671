// Page benchmarks, run by hand: `node bench.mjs [--rows N]` after a normal build.
//  - drawing the container's sample frame (offline);
//  - from an injected key or click to the frame that shows its effect, median and 95th percentile;
//  - the time to open a server folder of N rows and the bytes on the socket for scrolling it by a
//    wheel notch and by a page (`--rows 20,10000,100000` for several sizes; 100,000 by default);
//  - a reload until the whole state shows again.
import { mkdtempSync, mkdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";
import { startService, startContainer, startOstrana, stopProgram, launchBrowser, withQuery, waitForFrame, named,
  demoAuth }
  from "./harness.mjs";

const rowsArgument = process.argv.indexOf("--rows");
const ROW_COUNTS = rowsArgument > 0 ? process.argv[rowsArgument + 1].split(",").map(Number) : [100000];
const BIG = "큰 폴더";

function quantile(values, q) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
}

function report(name, values, unit) {
  console.log(`${name}: median ${quantile(values, 0.5).toFixed(1)} ${unit}, p95 ${quantile(values, 0.95).toFixed(1)} ${unit}`
    + ` (${values.length} runs)`);
}

async function drawing(browser) {
  const ostrana = await startOstrana();
  const page = await browser.newPage({ viewport: { width: 1200, height: 720 } });
  await page.goto(withQuery(ostrana.first, { offline: "1" }));
  await page.waitForFunction(() => window.ostranaPage);
  const sample = JSON.parse(readFileSync(path.resolve(import.meta.dirname, "../host/data/sample-frame.json"), "utf8"));
  await page.evaluate((m) => window.ostranaPage.replay(m), sample);
  const times = await page.evaluate(() => {
    const out = [];
    for (let i = 0; i < 100; i++) {
      const start = performance.now();
      window.ostranaPage.renderer.draw();
      window.ostranaPage.a11y.update();
      out.push(performance.now() - start);
    }
    return out;
  });
  report("drawing the sample frame and its accessibility tree", times, "ms");
  await page.close();
  await stopProgram(ostrana.program);
}

// Milliseconds from each key press to the first frame after it, and what the page spent applying
// and drawing that frame.
async function latency(page, key, runs) {
  await page.evaluate(() => {
    window.benchFrames = [];
    window.benchApplying = [];
    const page = window.ostranaPage;
    const frameEnd = page.frameEnd.bind(page);
    page.frameEnd = (message) => {
      const start = performance.now();
      frameEnd(message);
      window.benchFrames.push(performance.now());
      window.benchApplying.push(performance.now() - start);
    };
    window.benchKeys = [];
    window.addEventListener("keydown", (e) => window.benchKeys.push(e.timeStamp), { capture: true });
  });
  for (let i = 0; i < runs; i++) {
    const frames = await page.evaluate(() => window.benchFrames.length);
    await page.keyboard.press(i % 2 ? "ArrowUp" : key);
    await page.waitForFunction((n) => window.benchFrames.length > n, frames, { timeout: 5000 });
  }
  return page.evaluate(() => {
    const total = [];
    const applying = [];
    for (const t of window.benchKeys) {
      const index = window.benchFrames.findIndex((f) => f >= t);
      if (index < 0) continue;
      total.push(window.benchFrames[index] - t);
      applying.push(window.benchApplying[index]);
    }
    return { total, applying };
  });
}

async function socketBytes(page, cdp, action) {
  let bytes = 0;
  const count = (event) => { bytes += Buffer.byteLength(event.response.payloadData); };
  cdp.on("Network.webSocketFrameReceived", count);
  const frame = Number(await page.evaluate(() => document.body.dataset.frame || 0));
  await action();
  await waitForFrame(page, frame).catch(() => {});
  // Frames still on their way for this action.
  await page.waitForTimeout(300);
  cdp.off("Network.webSocketFrameReceived", count);
  return bytes;
}

async function live(browser, rows) {
  const folder = mkdtempSync(path.join(os.tmpdir(), "ostrana-bench-"));
  const root = path.join(folder, "root");
  const service = await startService(root);
  const big = path.join(root, "users", "demo", "myfolder", BIG);
  mkdirSync(big, { recursive: true });
  for (let i = 0; i < rows; i++) writeFileSync(path.join(big, `파일 ${String(i).padStart(6, "0")}.txt`), "");
  const ostrana = await startContainer(path.join(folder, "run"), service.address);
  try {
    await measure(browser, service, ostrana, rows);
  } finally {
    await stopProgram(ostrana.program);
    await stopProgram(service.program);
    rmSync(folder, { recursive: true, force: true });
  }
}

async function measure(browser, service, ostrana, rows) {
  const context = await browser.newContext({ viewport: { width: 1000, height: 720 } });
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await page.goto(withQuery(ostrana.first, { host: service.address, user: "demo", auth: demoAuth(service.address) }));
  await named(page, "내 파일보관함 (myfolder)").first().waitFor({ timeout: 30000 });

  // The big folder opened from the server list, its first row chosen.
  const opening = Date.now();
  await page.getByRole("row", { name: BIG }).first().dblclick({ position: { x: 30, y: 9 } });
  // The service lists in its own order; any of the files will do.
  const first = page.getByRole("row", { name: /^파일 / }).first();
  await first.waitFor({ timeout: 120000 }).catch(async (error) => {
    await page.screenshot({ path: "/tmp/hostweb-bench.png" });
    throw error;
  });
  console.log(`opening the folder of ${rows} rows until its rows show: ${Date.now() - opening} ms`);
  await first.click({ position: { x: 30, y: 9 } });
  const keys = await latency(page, "ArrowDown", 60);
  report("key to frame (Down and Up in the server list)", keys.total, "ms");
  report("  of which the page applying and drawing the frame", keys.applying, "ms");

  // Only now: the network inspection slows every message the page receives.
  await cdp.send("Network.enable");
  const notches = [];
  const pages = [];
  for (let i = 0; i < 5; i++) notches.push(await socketBytes(page, cdp, () => page.mouse.wheel(0, 100)));
  for (let i = 0; i < 5; i++) pages.push(await socketBytes(page, cdp, () => page.keyboard.press("PageDown")));
  console.log(`socket bytes, ${rows} rows: one wheel notch ${quantile(notches, 0.5)} (${notches.join(", ")}),`
    + ` one page ${quantile(pages, 0.5)} (${pages.join(", ")})`);

  const reloads = [];
  for (let i = 0; i < 5; i++) {
    const start = Date.now();
    await page.reload();
    await page.getByRole("row").first().waitFor({ timeout: 10000 });
    reloads.push(Date.now() - start);
  }
  report("reload to the whole state", reloads, "ms");
  await context.close();
}

const browser = await launchBrowser();
try {
  await drawing(browser);
  if (!process.argv.includes("--offline")) for (const rows of ROW_COUNTS) await live(browser, rows);
} finally {
  await browser.close();
}
