// A user's journeys through the product: the storage service with its demo account, the container
// hosting the control, and the page in Chromium. Controls are found through the accessibility tree
// and used with the mouse and keyboard, as a user would.
import { test } from "node:test";
import assert from "node:assert/strict";
import { existsSync } from "node:fs";
import path from "node:path";
import { journeyRig, shot, waitForFrame, named, control, painted, logIn, demoAuth } from "./harness.mjs";

const LOGIN_FAILED = "서버에 로그인을 실패하였습니다.";
const MY_FOLDER = "내 파일보관함 (myfolder)";

const rig = journeyRig("ostrana-e2e-");

// Each journey closes its page and container however it ends, so a failure leaves nothing running.
async function journey(parameters, body) {
  const opened = await rig.open(parameters);
  try {
    await body(opened);
  } finally {
    await opened.close();
  }
}

test("logging in through the dialog shows the storage", () => journey({ host: rig.service.address }, async ({ page, errors }) => {
  await painted(page.locator('[data-id="1004"]'));
  await page.screenshot({ path: shot("journey-login-dialog") });
  await logIn(page, rig.service.address, "demo1234");
  await named(page, MY_FOLDER).first().waitFor({ timeout: 20000 });
  await page.screenshot({ path: shot("journey-signed-in") });
  assert.deepEqual(errors, []);
}));

test("a wrong password shows the login failure and the dialog stays for another try", () => journey({ host: rig.service.address }, async ({ page }) => {
    await logIn(page, rig.service.address, "wrong-password");
    await named(page, LOGIN_FAILED).first().waitFor({ timeout: 15000 });
    await page.screenshot({ path: shot("journey-login-failed") });
    await page.keyboard.press("Enter");
    await named(page, LOGIN_FAILED).first().waitFor({ state: "detached", timeout: 10000 });
    // The dialog keeps the server and the id; only the password is typed again.
    await (await control(page, 1002)).click();
    await page.keyboard.press("Control+KeyA");
    await page.keyboard.type("demo1234");
    await page.locator('[data-id="1004"]').first().click();
    await named(page, MY_FOLDER).first().waitFor({ timeout: 20000 });
  }));

test("the signed-in address starts without the login dialog, and a reload shows the same windows", () => journey(
  { host: rig.service.address, user: "demo", auth: demoAuth(rig.service.address) }, async ({ page }) => {
  await named(page, MY_FOLDER).first().waitFor({ timeout: 20000 });
  assert.equal(await page.locator('[data-id="1004"]').count(), 0, "no login dialog");
  await page.screenshot({ path: shot("journey-signed-in-address") });

  const windows = () => page.evaluate(() => [...window.ostranaPage.scene.windows.keys()].sort());
  const before = await windows();
  await page.reload();
  await waitForFrame(page);
  await named(page, MY_FOLDER).first().waitFor({ timeout: 10000 });
  assert.deepEqual(await windows(), before);
  await page.screenshot({ path: shot("journey-reloaded") });

  // The bare address, without the parameters, onto the running program: no form over the windows.
  const bare = new URL(page.url());
  for (const name of ["host", "user", "auth"]) bare.searchParams.delete(name);
  await page.goto(bare.toString());
  await waitForFrame(page);
  await named(page, MY_FOLDER).first().waitFor({ timeout: 10000 });
  assert.equal(await page.locator("#connect").isHidden(), true, "the form stays away");
  await page.screenshot({ path: shot("journey-bare-address") });
}));

test("a server address pasted from the browser's clipboard lands in the login dialog", () => journey(
  { host: rig.service.address }, async ({ context, page }) => {
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  const edit = await control(page, 1019);
  await page.evaluate((text) => navigator.clipboard.writeText(text), rig.service.address);
  await edit.click();
  await page.keyboard.press("Control+KeyA");
  await page.keyboard.press("Control+KeyV");
  await page.waitForFunction((text) => [...document.querySelectorAll('[data-id="1019"], [data-id="1019"] [data-class="Edit"]')]
    .some((e) => e.dataset.value === text), rig.service.address, { timeout: 10000 });
  await page.screenshot({ path: shot("journey-pasted-address") });
}));

test("a server folder renamed to a Korean name typed through the input method is renamed on the storage", () => journey(
  { host: rig.service.address, user: "demo", auth: demoAuth(rig.service.address) }, async ({ context, page }) => {
  await named(page, MY_FOLDER).first().waitFor({ timeout: 20000 });
  const row = page.getByRole("row", { name: "사진" }).first();
  await row.waitFor({ timeout: 15000 });
  // On the name itself: a click beside a report view's label selects nothing.
  await row.click({ position: { x: 30, y: 9 } });
  await page.keyboard.press("F2");
  // The label's edit opens over the row; the input method composes there.
  await page.waitForFunction(() => window.ostranaPage.caret.screenRect() !== null, null, { timeout: 10000 });
  await page.keyboard.press("Control+KeyA");
  const cdp = await context.newCDPSession(page);
  for (const [composing, committed] of [["ㅇ", null], ["여", null], ["여행", "여행"], ["ㅅ", null], ["사", null],
    ["사지", null], ["사진", "사진"]]) {
    await cdp.send("Input.imeSetComposition", { text: composing, selectionStart: composing.length,
      selectionEnd: composing.length });
    if (committed) await cdp.send("Input.insertText", { text: committed });
  }
  await page.screenshot({ path: shot("journey-rename-typed") });
  await page.keyboard.press("Enter");
  // The list shows the new name once the service has answered; the storage has it by then.
  await page.getByRole("row", { name: "여행사진" }).first().waitFor({ timeout: 15000 });
  const storage = path.join(rig.folder, "root", "users", "demo", "myfolder");
  assert.ok(existsSync(path.join(storage, "여행사진")), "renamed on the storage");
  assert.ok(!existsSync(path.join(storage, "사진")), "the old name is gone");
  await page.screenshot({ path: shot("journey-renamed") });
}));

test("the Internet folder of the local tree shows the web view's page in a frame over the list's place", () => journey(
  { host: rig.service.address, user: "demo", auth: demoAuth(rig.service.address) }, async ({ page, errors }) => {
  await named(page, MY_FOLDER).first().waitFor({ timeout: 20000 });
  const internet = page.getByRole("treeitem", { name: "인터넷" }).first();
  await internet.waitFor({ timeout: 15000 });
  await internet.click();
  const frame = page.locator("iframe.webview");
  await frame.waitFor({ timeout: 15000 });
  const shown = await frame.evaluate((f) => {
    const view = window.ostranaPage.scene.get(Number(f.dataset.hwnd));
    return { src: f.getAttribute("src"), cls: view?.cls, url: view?.url, sandbox: f.getAttribute("sandbox") };
  });
  assert.equal(shown.cls, "OstranaWebView");
  assert.equal(shown.src, shown.url);
  assert.match(shown.src, /^http:\/\/127\.0\.0\.1/);
  assert.equal(shown.sandbox, "allow-scripts allow-forms");
  await page.screenshot({ path: shot("journey-internet-folder") });
  assert.deepEqual(errors, []);
}));

test("a Korean word still being composed is drawn at the caret of the field it goes to", () => journey(
  { host: rig.service.address }, async ({ context, page, errors }) => {
  // The dialog gives the password field the focus when it starts; the click comes after that.
  await painted(page.locator('[data-id="1004"]'));
  const edit = await control(page, 1001);
  await edit.click();
  await page.keyboard.type("id");
  const idField = '[data-id="1001"] [data-class="Edit"]';
  await page.waitForFunction((f) => document.querySelector(f)?.dataset.value === "id" &&
    window.ostranaPage.caret.screenRect() !== null, idField, { timeout: 10000 });
  const cdp = await context.newCDPSession(page);
  for (const composing of ["ㅎ", "하", "한", "한ㄱ", "한그", "한글"]) {
    await cdp.send("Input.imeSetComposition", { text: composing, selectionStart: composing.length,
      selectionEnd: composing.length });
  }
  const composition = page.locator("#composition");
  assert.equal(await composition.textContent(), "한글");
  const caret = await page.evaluate(() => window.ostranaPage.caret.screenRect());
  const area = await page.locator("#control-area").boundingBox();
  const box = await composition.boundingBox();
  assert.ok(Math.abs(box.x - (area.x + caret[0])) <= 1 && Math.abs(box.y - (area.y + caret[1])) <= 1,
    `the composition at ${box.x},${box.y}, the caret at ${area.x + caret[0]},${area.y + caret[1]}`);
  const field = await page.locator(idField).boundingBox();
  assert.ok(box.x > field.x + 8 && box.y >= field.y && box.y + box.height <= field.y + field.height,
    "after the typed letters, inside the field");
  await page.screenshot({ path: shot("journey-composing") });
  await page.screenshot({ path: shot("journey-composing-close"), clip: { x: box.x - 100, y: box.y - 40, width: 240, height: 90 } });
  await cdp.send("Input.insertText", { text: "한글" });
  await page.waitForFunction((f) => document.querySelector(f)?.dataset.value === "id한글", idField, { timeout: 10000 });
  assert.equal(await composition.isVisible(), false);
  assert.deepEqual(errors, []);
}));
