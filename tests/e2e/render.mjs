// The page drawn from hand-made frames, offline: crisp lines at every pixel ratio, text at the
// platform's advances, clipping, inverting figures, images, the accessibility tree, the caret and
// the input method, and the input the page sends back.
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import path from "node:path";
import { containerRig, shot, openOffline } from "./harness.mjs";
import { K, OP, GULIM, BTNFACE, windowState, picture, frameEnd, loginDialog } from "./frames.mjs";

const rig = containerRig();

// The page without a socket: frames are replayed into it by hand.
const offlinePage = (options = {}) => openOffline(rig.browser, rig.ostrana.first, { viewport: { width: 360, height: 260 }, ...options });

function replay(page, messages) {
  return page.evaluate((m) => window.ostranaPage.replay(m), messages);
}

// Device pixels of the canvas as [r, g, b] rows.
function pixels(page, x, y, w, h) {
  return page.evaluate(([x, y, w, h]) => {
    const data = document.getElementById("screen").getContext("2d").getImageData(x, y, w, h).data;
    const rows = [];
    for (let j = 0; j < h; j++) {
      const row = [];
      for (let i = 0; i < w; i++) row.push([...data.slice((j * w + i) * 4, (j * w + i) * 4 + 3)]);
      rows.push(row);
    }
    return rows;
  }, [x, y, w, h]);
}

const same = (a, b) => a[0] === b[0] && a[1] === b[1] && a[2] === b[2];
const WHITE = [255, 255, 255];
const BLACK = [0, 0, 0];

function whiteWindow(ops, rect = [0, 0, 200, 100]) {
  return [
    windowState(1, { cls: "#32770", rect, client: rect }),
    picture(1, "client", [[OP.fillRect, 0, 0, rect[2] - rect[0], rect[3] - rect[1], 0xffffff], ...ops]),
    frameEnd(1),
  ];
}

test("one-pixel lines stay whole device pixels at ratios 1, 1.5 and 2", async () => {
  for (const ratio of [1, 1.5, 2]) {
    const { context, page, errors } = await offlinePage({ deviceScaleFactor: ratio });
    await replay(page, whiteWindow([
      [OP.line, 5, 11, 95, 11, [0, 1, 0], 13],
      [OP.line, 31, 20, 31, 60, [0, 1, 0], 13],
      [OP.frameRect, 50, 25, 90, 57, 0],
    ]));
    // Across the horizontal line and the frame's top and bottom: only white and black, and each
    // line one run of one or two device pixels.
    for (const [x, from, to] of [[60, 5, 20], [70, 20, 60]]) {
      const column = (await pixels(page, Math.round(x * ratio), Math.round(from * ratio), 1,
        Math.round((to - from) * ratio))).map((row) => row[0]);
      const blurred = column.filter((p) => !same(p, WHITE) && !same(p, BLACK));
      assert.deepEqual(blurred, [], `ratio ${ratio}: no blended pixels across a line at x=${x}`);
      const runs = column.map((p) => (same(p, BLACK) ? "#" : ".")).join("").split(".").filter(Boolean);
      assert.ok(runs.length >= 1 && runs.every((run) => run.length === (ratio === 1 ? 1 : ratio === 2 ? 2 : run.length)
        && run.length <= 2), `ratio ${ratio}: runs ${runs}`);
    }
    const row = (await pixels(page, Math.round(20 * ratio), Math.round(40 * ratio), Math.round(20 * ratio), 1))[0];
    assert.deepEqual(row.filter((p) => !same(p, WHITE) && !same(p, BLACK)), [], `ratio ${ratio}: vertical line`);
    if (ratio === 1.5) await page.screenshot({ path: shot("render-lines-1.5") });
    assert.deepEqual(errors, []);
    await context.close();
  }
});

test("each character takes the platform's fixed advance and no glyph spills into the next", async () => {
  const { context, page } = await offlinePage();
  // "AW" are 6 pixels each, "가나" 12 each: 36 pixels from x=10.
  await replay(page, whiteWindow([[OP.text, 10, 10, 46, 22, "AW가나", 0, 0, -1, 0, 0]]));
  const rows = await pixels(page, 0, 8, 60, 16);
  const inkAt = (x) => rows.some((row) => !same(row[x], WHITE));
  const inked = [...Array(60).keys()].filter(inkAt);
  assert.ok(inked.length > 0, "the text is drawn");
  assert.ok(inked[0] >= 10 && inked.at(-1) < 46, `ink from ${inked[0]} to ${inked.at(-1)}`);
  for (const [from, to] of [[10, 16], [16, 22], [22, 34], [34, 46]]) {
    assert.ok(inked.some((x) => x >= from && x < to), `a glyph in its cell [${from}, ${to})`);
  }
  await context.close();
});

test("pictures are clipped to their window, and children to their parent's client area", async () => {
  const { context, page } = await offlinePage();
  await replay(page, [
    windowState(1, { cls: "#32770", rect: [10, 10, 110, 110], client: [20, 20, 100, 100] }),
    windowState(2, { parent: 1, depth: 1, cls: "Static", rect: [60, 60, 160, 160], client: [60, 60, 160, 160] }),
    picture(1, "frame", [[OP.fillRect, 0, 0, 100, 100, 0x0000ff]]),
    picture(1, "client", [[OP.fillRect, -50, -50, 200, 200, 0xffffff]]),
    picture(2, "client", [[OP.fillRect, 0, 0, 100, 100, 0xff0000]]),
    frameEnd(1),
  ]);
  const rows = await pixels(page, 0, 0, 170, 170);
  const at = (x, y) => rows[y][x];
  assert.deepEqual(at(15, 15), [0, 0, 255], "the frame shows around the client area");
  assert.deepEqual(at(25, 25), WHITE, "the client picture fills the client area");
  assert.deepEqual(at(5, 5), [212, 208, 200], "nothing outside the window");
  assert.deepEqual(at(70, 70), [255, 0, 0], "the child shows inside its parent's client area");
  assert.deepEqual(at(102, 102), [0, 0, 255], "the child is cut at the parent's client edge");
  assert.deepEqual(at(130, 130), [212, 208, 200], "and does not reach past the parent");
  await context.close();
});

test("an inverting figure drawn twice leaves the screen as it was", async () => {
  const { context, page } = await offlinePage();
  const ops = [[OP.fillRect, 10, 10, 60, 30, 0x123456], [OP.text, 12, 12, 36, 24, "가나", 0, 0, -1, 0, 0]];
  await replay(page, whiteWindow(ops));
  const before = await pixels(page, 0, 0, 80, 40);
  const outline = [OP.rectangle, 5, 5, 70, 35, [0, 1, 0], -1, 10];
  await replay(page, [{ k: K.overlay, fonts: [], ops: [outline] }, frameEnd(2)]);
  const once = await pixels(page, 0, 0, 80, 40);
  assert.deepEqual(once[5][20], WHITE.map((v, i) => 255 - before[5][20][i]), "drawn once it inverts");
  await replay(page, [{ k: K.overlay, fonts: [], ops: [outline, outline] }, frameEnd(3)]);
  assert.deepEqual(await pixels(page, 0, 0, 80, 40), before);
  await context.close();
});

test("images come from the manifest, once, and show when loaded", async () => {
  const { context, page } = await offlinePage();
  const requests = [];
  page.on("request", (request) => { if (request.url().includes("/res/")) requests.push(request.url()); });
  await replay(page, [
    { k: K.image, key: "resource/icon/225", url: "/res/icons/replace.svg", size: [32, 32] },
    ...whiteWindow([[OP.image, 10, 10, 42, 42, "resource/icon/225", -1, 0, ""],
      [OP.image, 50, 10, 82, 42, "platform/icon/exclamation", -1, 0, ""]]),
  ]);
  const inked = async (x) => (await pixels(page, x, 10, 32, 32)).flat().some((p) => !same(p, WHITE));
  await page.waitForFunction(() => window.ostranaPage.images.settled() && window.ostranaPage.renderer.missingImages === 0
    || (window.ostranaPage.renderer.draw(), false), null, { timeout: 5000, polling: 100 }).catch(() => {});
  await page.evaluate(() => window.ostranaPage.renderer.draw());
  assert.ok(await inked(10), "the artwork is drawn");
  assert.ok(await inked(50), "the platform's own icon is drawn without a file");
  await replay(page, [picture(1, "client", [[OP.image, 10, 10, 42, 42, "resource/icon/225", -1, 0, ""]]), frameEnd(2)]);
  assert.equal(requests.length, 1, `fetched once: ${requests}`);
  assert.ok(requests[0].includes("t="), "with the token");
  await context.close();
});

test("the accessibility tree mirrors windows, their names, states, bounds and list rows", async () => {
  const { context, page } = await offlinePage();
  await replay(page, loginDialog());
  const dialog = page.getByRole("dialog", { name: "로그인" });
  assert.equal(await dialog.getAttribute("data-hwnd"), "100");
  const edit = dialog.getByRole("textbox", { name: "서버 주소(S)" });
  assert.equal(await edit.getAttribute("data-id"), "1002");
  assert.equal(await edit.getAttribute("data-value"), "demo");
  assert.equal(await edit.getAttribute("data-focused"), "1");
  const button = dialog.getByRole("button", { name: "확인" });
  assert.deepEqual(await button.boundingBox(), { x: 218, y: 180, width: 80, height: 23 });
  const rows = page.getByRole("grid").getByRole("row");
  assert.equal(await rows.count(), 2);
  assert.equal(await rows.first().getAttribute("aria-selected"), "true");
  assert.equal(await page.getByRole("row", { name: "사진.jpg" }).getByRole("gridcell").nth(1).textContent(), "12 KB");
  assert.deepEqual(await page.getByRole("row", { name: "사진.jpg" }).boundingBox(), { x: 35, y: 116, width: 261, height: 16 });
  await page.screenshot({ path: shot("render-login-dialog") });

  await replay(page, [{ k: K.treeChange, h: 103, gone: true },
    windowState(102, { parent: 100, depth: 1, z: 1, cls: "Edit", text: "", id: 1002, style: 0x58010020,
      enabled: false, enabledTree: false, rect: [118, 50, 298, 70], client: [120, 52, 296, 68] }),
    frameEnd(2)]);
  assert.equal(await page.getByRole("button", { name: "확인" }).count(), 0, "a destroyed window leaves the tree");
  assert.equal(await edit.getAttribute("aria-disabled"), "true");
  assert.equal(await edit.getAttribute("data-value"), null, "a password's text is not exposed");
  await context.close();
});

test("check boxes and radio buttons carry their check state, and follow a change of it", async () => {
  const { context, page, errors } = await offlinePage();
  const button = (h, type, text, checked) => windowState(h, { parent: 1, depth: 1, z: 4 - h, cls: "Button", id: 200 + h,
    style: 0x50010000 | type, text, checked, rect: [10, 20 * h, 150, 20 * h + 16], client: [10, 20 * h, 150, 20 * h + 16] });
  const frame = (ask, skip, sub, number) => [
    windowState(1, { cls: "#32770", text: "선택", rect: [0, 0, 200, 120], client: [0, 0, 200, 120] }),
    button(2, 9, "항상 물어보기", ask), button(3, 9, "항상 건너뛰기", skip), button(4, 6, "하위 폴더까지", sub),
    frameEnd(number)];
  const states = () => Promise.all([["radio", "항상 물어보기"], ["radio", "항상 건너뛰기"], ["checkbox", "하위 폴더까지"]]
    .map(([role, name]) => page.getByRole(role, { name }).getAttribute("aria-checked")));
  await replay(page, frame(1, 0, 2, 1));
  assert.deepEqual(await states(), ["true", "false", "mixed"]);
  await replay(page, frame(0, 1, 0, 2));
  assert.deepEqual(await states(), ["false", "true", "false"]);
  assert.deepEqual(errors, []);
  await context.close();
});

test("the caret blinks at its place and the input method composes there", async () => {
  const { context, page } = await offlinePage();
  await replay(page, loginDialog());
  const caret = page.locator("#caret");
  assert.deepEqual(await caret.boundingBox(), { x: 145, y: 54, width: 1, height: 12 });
  await page.waitForFunction(() => document.getElementById("caret").classList.contains("off"), null, { timeout: 3000 });
  await page.waitForFunction(() => !document.getElementById("caret").classList.contains("off"), null, { timeout: 3000 });

  const cdp = await context.newCDPSession(page);
  await cdp.send("Input.imeSetComposition", { text: "하", selectionStart: 1, selectionEnd: 1 });
  await cdp.send("Input.imeSetComposition", { text: "한", selectionStart: 1, selectionEnd: 1 });
  const composition = page.locator("#composition");
  assert.equal(await composition.textContent(), "한");
  const box = await composition.boundingBox();
  assert.equal(box.x, 145);
  assert.equal(box.y, 54);
  await page.screenshot({ path: shot("render-composition") });
  await cdp.send("Input.insertText", { text: "한" });
  await cdp.send("Input.insertText", { text: "글" });
  const texts = await page.evaluate(() => window.ostranaPage.sent.filter((m) => m.k === 5));
  assert.deepEqual(texts, [{ k: 5, text: "한", ime: true }, { k: 5, text: "글", ime: true }]);
  assert.equal(await composition.isVisible(), false);
  await context.close();
});

test("mouse, wheel and keys reach the container with positions and left or right modifiers", async () => {
  const { context, page } = await offlinePage();
  await replay(page, loginDialog());
  const sent = () => page.evaluate(() => window.ostranaPage.sent.splice(0));
  await sent();
  await page.getByRole("button", { name: "확인" }).click();
  const clicks = (await sent()).filter((m) => m.k === 2 && m.action !== 0);
  assert.deepEqual(clicks.map((m) => [m.action, m.button]), [[1, 0], [2, 0]]);
  assert.ok(clicks.every((m) => m.x >= 218 && m.x < 298 && m.y >= 180 && m.y < 203), JSON.stringify(clicks));

  await page.keyboard.down("ShiftRight");
  await page.keyboard.press("KeyA");
  await page.keyboard.up("ShiftRight");
  const keys = (await sent()).filter((m) => m.k === 4 || m.k === 5);
  assert.deepEqual(keys.map((m) => [m.code, m.key, m.down, m.mods]), [
    ["ShiftRight", "Shift", true, 2], ["KeyA", "A", true, 2], ["KeyA", "A", false, 2], ["ShiftRight", "Shift", false, 0]]);

  await page.keyboard.down("ControlLeft");
  await page.keyboard.press("F6");
  await page.keyboard.up("ControlLeft");
  const f6 = (await sent()).find((m) => m.code === "F6");
  assert.equal(f6.mods, 4);

  await page.mouse.move(100, 120);
  await page.mouse.wheel(0, 100);
  await page.mouse.wheel(0, -200);
  const wheels = (await sent()).filter((m) => m.k === 3);
  assert.deepEqual(wheels.map((m) => [m.delta, m.x, m.y]), [[-120, 100, 120], [240, 100, 120]]);
  await context.close();
});

test("pasted text reaches the platform's clipboard before the keys that paste it", async () => {
  const { context, page } = await offlinePage();
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  await replay(page, loginDialog());
  await page.locator("#ime").focus();
  await page.evaluate(() => navigator.clipboard.writeText("ftp.example.com"));
  await page.evaluate(() => window.ostranaPage.sent.splice(0));
  await page.keyboard.press("Control+KeyV");
  await page.waitForFunction(() => window.ostranaPage.sent.some((m) => m.k === 4 && m.code === "KeyV" && m.down));
  const sent = await page.evaluate(() => window.ostranaPage.sent.filter((m) => m.k === 9 || m.code === "KeyV"));
  assert.deepEqual(sent.map((m) => m.k === 9 ? ["clipboard", m.text] : ["key", m.down]),
    [["clipboard", "ftp.example.com"], ["key", true], ["key", false]]);
  await context.close();
});

test("the control area follows the browser window", async () => {
  const { context, page } = await offlinePage({ deviceScaleFactor: 2 });
  await page.evaluate(() => window.ostranaPage.sent.splice(0));
  await page.setViewportSize({ width: 500, height: 400 });
  await page.waitForFunction(() => window.ostranaPage.sent.some((m) => m.k === 6 && m.w === 500));
  const resize = await page.evaluate(() => window.ostranaPage.sent.filter((m) => m.k === 6).at(-1));
  assert.deepEqual(resize, { k: 6, w: 500, h: 400, dpr: 2 });
  assert.deepEqual(await page.evaluate(() => [screen.width, document.getElementById("screen").width,
    document.getElementById("screen").height].slice(1)), [1000, 800]);
  await context.close();
});

test("the container's sample frame draws the overwrite prompt whole", async () => {
  const sample = JSON.parse(readFileSync(path.resolve(import.meta.dirname, "../host/data/sample-frame.json"), "utf8"));
  const { context, page, errors } = await offlinePage({ viewport: { width: 1200, height: 720 } });
  await replay(page, sample);
  await page.waitForFunction(() => window.ostranaPage.images.settled(), null, { timeout: 5000 });
  await page.evaluate(() => window.ostranaPage.renderer.draw());
  assert.equal(await page.evaluate(() => window.ostranaPage.renderer.missingImages), 0, "every image arrived");
  const dialog = page.getByRole("dialog", { name: "파일 바꾸기 확인" });
  const box = await dialog.boundingBox();
  assert.deepEqual(box, { x: 754, y: 374, width: 412, height: 331 });
  assert.equal(await dialog.getByRole("button", { name: "아니오" }).count(), 1);
  // The caption bar in the caption colour, the face of the dialog in the button face colour.
  assert.deepEqual((await pixels(page, 754 + 200, 374 + 4, 1, 1))[0][0], [0x0a, 0x24, 0x6a]);
  assert.deepEqual((await pixels(page, 754 + 5, 374 + 40, 1, 1))[0][0], [0xd4, 0xd0, 0xc8]);
  await page.screenshot({ path: shot("render-sample-frame"), clip: { x: 744, y: 364, width: 432, height: 351 } });
  assert.deepEqual(errors, []);
  await context.close();
});

test("a web view shows its address in a sandboxed frame over its client area, hidden under a window above it", async () => {
  const { context, page, errors } = await offlinePage();
  const view = (url) => windowState(2, { parent: 1, depth: 1, cls: "OstranaWebView", text: url, url,
    rect: [20, 30, 220, 130], client: [20, 30, 220, 130] });
  const frames = () => page.evaluate(() => [...document.querySelectorAll("iframe")].map((f) => ({
    src: f.getAttribute("src"), sandbox: f.getAttribute("sandbox"), referrer: f.referrerPolicy, hidden: f.hidden,
    hwnd: f.dataset.hwnd, box: f.hidden ? null : [f.offsetLeft, f.offsetTop, f.offsetWidth, f.offsetHeight] })));
  // Nothing listens on port 9: the frame only has to be there, not to load.
  await replay(page, [windowState(1, { cls: "#32770", rect: [0, 0, 300, 200], client: [0, 0, 300, 200] }),
    view("http://127.0.0.1:9/myhtml/"), frameEnd(1)]);
  const shown = { src: "http://127.0.0.1:9/myhtml/", sandbox: "allow-scripts allow-forms", referrer: "no-referrer",
    hidden: false, hwnd: "2", box: [20, 30, 200, 100] };
  assert.deepEqual(await frames(), [shown]);

  // A menu opened over it would be covered by the frame: the frame steps aside while it is there.
  await replay(page, [windowState(3, { cls: "#32768", rect: [100, 100, 180, 160], client: [100, 100, 180, 160] }),
    frameEnd(2)]);
  assert.deepEqual(await frames(), [{ ...shown, hidden: true, box: null }]);
  await replay(page, [{ k: K.treeChange, h: 3, gone: true }, frameEnd(3)]);
  assert.deepEqual(await frames(), [shown]);

  // Only web addresses are framed, and a hidden web view shows none.
  await replay(page, [view("javascript:alert(1)"), frameEnd(4)]);
  assert.deepEqual(await frames(), []);
  await replay(page, [view("https://127.0.0.1:9/other"), frameEnd(5)]);
  assert.equal((await frames())[0]?.src, "https://127.0.0.1:9/other");
  await replay(page, [{ ...view("https://127.0.0.1:9/other"), visible: false }, frameEnd(6)]);
  assert.deepEqual(await frames(), []);
  assert.deepEqual(errors, []);
  await context.close();
});

test("the link cursor 1011 is the hand from its image, pointing with its fingertip at the hot spot", async () => {
  const { context, page, errors } = await offlinePage();
  // The login dialog's link label: blue text on white, under the pointer.
  const link = windowState(2, { parent: 1, depth: 1, cls: "Static", id: 1014, text: "아이디가 없으십니까 ?",
    style: 0x50000100, rect: [20, 40, 200, 52], client: [20, 40, 200, 52] });
  await replay(page, [
    windowState(1, { cls: "#32770", rect: [0, 0, 240, 100], client: [0, 0, 240, 100] }),
    link,
    picture(1, "client", [[OP.fillRect, 0, 0, 240, 100, 0xffffff]]),
    picture(2, "client", [[OP.fillRect, 0, 0, 180, 12, 0xffffff],
      [OP.text, 0, 0, 126, 12, "아이디가 없으십니까 ?", 0, 0x096bff, 0xffffff, 0, 0]]),
    { k: K.order, windows: [1, 2] },
    // As the container sends it while the pointer is over the label.
    { k: K.cursor, name: "cursor 1011", css: "pointer", image: "/res/cursors/hand.svg", hotspot: [12, 2] },
    frameEnd(1),
  ]);
  const area = page.locator("#control-area");
  const box = await area.boundingBox();
  const pointer = { x: box.x + 60, y: box.y + 46 };
  await page.mouse.move(pointer.x, pointer.y);
  const cursor = await area.evaluate((e) => getComputedStyle(e).cursor);
  const found = /^url\("([^"]+)"\) 12 2, pointer$/.exec(cursor);
  assert.ok(found, `the area's cursor: ${cursor}`);
  assert.match(found[1], /\/res\/cursors\/hand\.svg\?.*t=/);
  const image = await page.evaluate(async (url) => {
    const response = await fetch(url);
    return { ok: response.ok, type: response.headers.get("content-type"), text: await response.text() };
  }, found[1]);
  assert.ok(image.ok && /svg/.test(image.type), `the cursor's image: ${image.type}`);
  // A screenshot leaves the pointer out, so the picture gets the cursor's image where the browser
  // shows it: its hot spot on the pointer.
  await page.evaluate(({ url, x, y }) => {
    const img = Object.assign(document.createElement("img"), { id: "pointer-picture", src: url });
    Object.assign(img.style, { position: "fixed", left: `${x - 12}px`, top: `${y - 2}px`, width: "32px",
      height: "32px", zIndex: 10, pointerEvents: "none" });
    document.body.append(img);
    return img.decode();
  }, { url: found[1], ...pointer });
  await page.screenshot({ path: shot("render-link-cursor"), clip: { x: box.x, y: box.y, width: 240, height: 100 } });
  // The fingertip is the hand's topmost inked pixel, right at the pointer.
  const tip = await page.evaluate(({ x, y }) => {
    const img = document.getElementById("pointer-picture");
    const canvas = Object.assign(document.createElement("canvas"), { width: 32, height: 32 });
    const ctx = canvas.getContext("2d");
    ctx.drawImage(img, 0, 0, 32, 32);
    const data = ctx.getImageData(0, 0, 32, 32).data;
    for (let row = 0; row < 32; row++) {
      const inked = [];
      for (let column = 0; column < 32; column++) if (data[(row * 32 + column) * 4 + 3] > 0) inked.push(column);
      if (inked.length) return { x: x - 12 + (inked[0] + inked[inked.length - 1]) / 2, y: y - 2 + row };
    }
    return null;
  }, pointer);
  assert.ok(tip && Math.abs(tip.x - pointer.x) <= 1.5 && Math.abs(tip.y - pointer.y) <= 1.5,
    `the fingertip at ${JSON.stringify(tip)}, the pointer at ${JSON.stringify(pointer)}`);
  assert.deepEqual(errors, []);
  await context.close();
});
