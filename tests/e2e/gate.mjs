// The page's door: the token, foreign origins, and one page at a time.
import { test } from "node:test";
import assert from "node:assert/strict";
import { containerRig, shot } from "./harness.mjs";

const rig = containerRig();

test("the page without the token, or its socket from a foreign origin, is refused", async () => {
  const page = await rig.browser.newPage();
  const reply = await page.goto(rig.ostrana.first.replace(/\?t=.*/, ""));
  assert.equal(reply.status(), 403);
  // A page elsewhere that knows the address still cannot open the socket.
  const socketUrl = rig.ostrana.first.replace(/^http:/, "ws:").replace("/?", "/ws?");
  await page.goto("data:text/html,<title>elsewhere</title>");
  const opened = await page.evaluate((url) => new Promise((resolve) => {
    const socket = new WebSocket(url);
    socket.onopen = () => resolve(true);
    socket.onerror = () => resolve(false);
  }), socketUrl);
  assert.equal(opened, false);
  await page.close();
});

test("the page greets and a second tab takes over", async () => {
  const context = await rig.browser.newContext();
  const first = await context.newPage();
  await first.goto(rig.ostrana.first);
  await first.waitForSelector("body[data-last-kind]", { timeout: 10000 });
  await first.getByRole("button", { name: "시작" }).waitFor({ timeout: 10000 });
  await first.screenshot({ path: shot("greeted") });
  const second = await context.newPage();
  await second.goto(rig.ostrana.first);
  await second.waitForSelector("body[data-last-kind]", { timeout: 10000 });
  await first.getByRole("status").filter({ hasText: "다른 탭" }).waitFor({ timeout: 10000 });
  await first.screenshot({ path: shot("taken-over") });
  await first.waitForSelector("body[data-closed]", { timeout: 10000 });
  // More tabs in turn than the container has server threads: each is still greeted.
  for (let tab = 0; tab < 6; ++tab) {
    const next = await context.newPage();
    await next.goto(rig.ostrana.first);
    await next.waitForSelector("body[data-last-kind]", { timeout: 10000 });
  }
  await context.close();
});
