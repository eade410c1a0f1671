// Journeys that move files: uploads with the button and by dragging, a server folder dragged down,
// the overwrite prompt and its "항상" choices, a long download and a long upload cancelled from the
// progress window, and a local folder opened with a double click.
// Every step is checked on disk: the service's storage under its root and the container's local drive.
import { test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync, mkdirSync, readdirSync, readFileSync, rmSync, statSync, truncateSync, writeFileSync } from "node:fs";
import path from "node:path";
import { journeyRig, buildDir, startService, stopProgram, shot, named, demoAuth } from "./harness.mjs";

const MY_FOLDER = "내 파일보관함 (myfolder)";
const OVERWRITE = "파일 바꾸기 확인";

const rig = journeyRig("ostrana-e2e-transfers-");

const stored = (relative) => path.join(rig.folder, "root", "users", "demo", "myfolder", relative);

// Polls `check` until it holds; the disk has no events a page could wait on.
async function eventually(check, what, timeout = 30000) {
  const deadline = Date.now() + timeout;
  for (;;) {
    let result;
    try {
      result = await check();
    } catch {
      result = false;
    }
    if (result) return result;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

const contentOf = (file) => (existsSync(file) ? readFileSync(file, "utf8") : null);

// A signed-in container of its own, with `files` (relative path → content) on its drive D:, and
// its local panes showing that drive.
async function open(files = {}, service = rig.service) {
  const opened = await rig.open({ host: service.address, user: "demo", auth: demoAuth(service.address) },
    { files, service });
  const { page } = opened;
  await named(page, MY_FOLDER).first().waitFor({ timeout: 20000 });
  const panes = {
    server: page.locator('[data-class="ListView"][aria-label="ServerListView"] [role="grid"]'),
    local: page.locator('[data-class="ListView"][aria-label="ClientListView"] [role="grid"]'),
  };
  await showDriveD(page, panes.local, Object.keys(files));
  return { ...opened, panes };
}

function row(list, name) {
  return list.locator(`[role="row"][aria-label="${name}"]`).first();
}

// On the name itself: a click beside a report view's label selects nothing.
async function rowPoint(list, name) {
  const found = row(list, name);
  await found.waitFor({ timeout: 15000 });
  const box = await found.boundingBox();
  return { x: box.x + 30, y: box.y + box.height / 2 };
}

// The local panes start on the desktop; the user picks 내 컴퓨터 and then the D: drive in the tree.
async function showDriveD(page, list, names) {
  const tree = page.locator('[aria-label="ClientTreeView"] [role="tree"]');
  for (const name of ["내 컴퓨터", "로컬 디스크 (D:)"]) {
    const item = tree.locator(`[role="treeitem"][aria-label="${name}"]`).first();
    await item.waitFor({ timeout: 15000 });
    const box = await item.boundingBox();
    await page.mouse.click(box.x + 20, box.y + box.height / 2);
  }
  for (const name of names.filter((n) => !n.includes("/"))) await row(list, name).waitFor({ timeout: 15000 });
}

// Press on the row, move past the drag threshold and over the target, release there.
async function drag(page, from, to) {
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move(from.x + 12, from.y + 12, { steps: 3 });
  await page.mouse.move(to.x, to.y, { steps: 8 });
  await page.mouse.up();
}

// Below the last row of a list, where a drop means the folder the list shows.
async function blankOf(list) {
  const box = await list.boundingBox();
  return { x: box.x + box.width / 2, y: box.y + box.height - 30 };
}

// A click in the middle of a window, as the pointer would land on it; the outline nodes of
// windows below may overlap it, so the locator's own click would refuse.
async function clickOn(locator) {
  await locator.waitFor({ timeout: 15000 });
  const box = await locator.boundingBox();
  await locator.page().mouse.click(box.x + box.width / 2, box.y + box.height / 2);
}

async function pressButton(page, id) {
  await clickOn(page.locator(`[data-class="Button"][data-id="${id}"]`).first());
}

const UPLOAD = 245;

test("a local file selected in the list goes up with the upload button and shows in the server list", async () => {
  const { page, panes, errors, close } = await open({ "가계부.csv": "x".repeat(2500), "notes.txt": "local notes" });
  await page.screenshot({ path: shot("transfers-local-drive") });
  const point = await rowPoint(panes.local, "가계부.csv");
  await page.mouse.click(point.x, point.y);
  await page.waitForSelector('[aria-label="ClientListView"] [role="row"][aria-label="가계부.csv"][aria-selected="true"]',
    { timeout: 10000 });
  await pressButton(page, UPLOAD);
  await eventually(() => contentOf(stored("가계부.csv")) === "x".repeat(2500), "the upload on the storage");
  await row(panes.server, "가계부.csv").waitFor({ timeout: 15000 });
  assert.ok(!existsSync(stored("notes.txt")), "only the selected row goes up");
  await page.screenshot({ path: shot("transfers-uploaded-with-button") });
  assert.deepEqual(errors, []);
  await close();
});

test("a local file dragged onto the server list is uploaded", async () => {
  const { page, panes, errors, close } = await open({ "끌어올림.txt": "dragged up", "stay.txt": "stays" });
  await drag(page, await rowPoint(panes.local, "끌어올림.txt"), await blankOf(panes.server));
  await eventually(() => contentOf(stored("끌어올림.txt")) === "dragged up", "the dragged file on the storage");
  await row(panes.server, "끌어올림.txt").waitFor({ timeout: 15000 });
  assert.ok(!existsSync(stored("stay.txt")));
  await page.screenshot({ path: shot("transfers-uploaded-by-drag") });
  assert.deepEqual(errors, []);
  await close();
});

test("a server folder dragged onto the local list comes down whole, with its subfolders", async () => {
  mkdirSync(stored("문서/하위"), { recursive: true });
  writeFileSync(stored("문서/하위/깊은.txt"), "deep");
  const { page, panes, local, errors, close } = await open({ "있던.txt": "was here" });
  await drag(page, await rowPoint(panes.server, "문서"), await blankOf(panes.local));
  await eventually(() => contentOf(path.join(local, "문서/하위/깊은.txt")) === "deep", "the subfolder's file on the drive");
  await eventually(() => contentOf(path.join(local, "문서/안내.txt")) === contentOf(stored("문서/안내.txt")),
    "the folder's file on the drive");
  await row(panes.local, "문서").waitFor({ timeout: 15000 });
  assert.ok(!existsSync(path.join(local, "안내.txt")), "the folder comes down whole, not its contents");
  assert.equal(contentOf(path.join(local, "있던.txt")), "was here");
  await page.screenshot({ path: shot("transfers-folder-downloaded") });
  assert.deepEqual(errors, []);
  await close();
});

const progress = (page) => page.locator('[data-class="OstranaProgressDialog"]');

// Drags readme.txt down again and waits for the prompt about the copy already there.
async function downloadAgain(page, panes) {
  await drag(page, await rowPoint(panes.server, "readme.txt"), await blankOf(panes.local));
  const prompt = named(page, OVERWRITE).first();
  await prompt.waitFor({ timeout: 20000 });
  return prompt;
}

test("a second download asks before replacing: 아니오 keeps the local file, 예 replaces it", async () => {
  const { page, panes, local, errors, close } = await open({ "readme.txt": "the local copy" });
  const file = path.join(local, "readme.txt");

  let prompt = await downloadAgain(page, panes);
  await page.screenshot({ path: shot("transfers-overwrite-prompt") });
  await clickOn(prompt.locator('[data-class="Button"][aria-label="아니오"]'));
  await prompt.waitFor({ state: "detached", timeout: 10000 });
  await progress(page).first().waitFor({ state: "detached", timeout: 20000 });
  assert.equal(contentOf(file), "the local copy", "아니오 skips the file");

  prompt = await downloadAgain(page, panes);
  await clickOn(prompt.locator('[data-class="Button"][aria-label="예"]'));
  await eventually(() => contentOf(file) === contentOf(stored("readme.txt")), "the server's copy on the drive");
  await progress(page).first().waitFor({ state: "detached", timeout: 20000 });
  await page.screenshot({ path: shot("transfers-overwritten") });
  assert.deepEqual(errors, []);
  await close();
});

test("a long download cancelled from the progress window ends the job and leaves no complete-looking file", async () => {
  const size = 800 * 1024 * 1024;
  // Sparse on the storage: the service reads zeros quickly, the time goes into the transfer.
  writeFileSync(stored("큰파일.bin"), "");
  truncateSync(stored("큰파일.bin"), size);
  const { page, panes, local, errors, close } = await open({});
  await drag(page, await rowPoint(panes.server, "큰파일.bin"), await blankOf(panes.local));
  const dialog = progress(page).first();
  await dialog.waitFor({ timeout: 20000 });
  await clickOn(dialog.locator('[data-class="Button"][aria-label="취소"]'));
  await page.screenshot({ path: shot("transfers-cancel-pressed") });
  await dialog.waitFor({ state: "detached", timeout: 20000 });
  await page.screenshot({ path: shot("transfers-cancelled") });
  // A cancelled download leaves neither the file nor its hidden temporary behind.
  const leftovers = () => readdirSync(local).filter((name) => name.includes("큰파일"));
  assert.deepEqual(leftovers(), [], "nothing of the cancelled file stays on the drive");
  // And the window takes the next job.
  await drag(page, await rowPoint(panes.server, "readme.txt"), await blankOf(panes.local));
  await eventually(() => contentOf(path.join(local, "readme.txt")) === contentOf(stored("readme.txt")),
    "a download after the cancelled one");
  assert.deepEqual(leftovers(), [], "the cancelled file is not picked up again");
  assert.deepEqual(errors, []);
  await close();
  rmSync(stored("큰파일.bin"));
});

const DOWNLOAD = 246;

// Selects the rows of `names`: a click on the first name and Ctrl+clicks on the others, since the
// server list keeps the service's order.
async function selectRows(page, list, names) {
  for (const [index, name] of names.entries()) {
    const point = await rowPoint(list, name);
    if (index > 0) await page.keyboard.down("Control");
    await page.mouse.click(point.x, point.y);
    if (index > 0) await page.keyboard.up("Control");
  }
  const selected = list.locator('[role="row"][aria-selected="true"]');
  await eventually(async () => (await selected.count()) === names.length, `${names.length} rows selected`, 10000);
}

// Counts the overwrite prompts the page shows from now on: each prompt is a window of its own.
function countPrompts(page) {
  return page.evaluate((title) => {
    const seen = new Set();
    const look = () => {
      for (const e of document.querySelectorAll(`[aria-label="${title}"][data-hwnd]`)) seen.add(e.dataset.hwnd);
    };
    new MutationObserver(look).observe(document.body, { subtree: true, childList: true, attributes: true });
    window.promptsSeen = () => seen.size;
  }, OVERWRITE);
}

const promptsSeen = (page) => page.evaluate(() => window.promptsSeen());

// Answers the first prompt with one of its "항상" choices and 예.
async function answerAlways(page, choice) {
  const prompt = named(page, OVERWRITE).first();
  await prompt.waitFor({ timeout: 20000 });
  await clickOn(prompt.locator(`[data-class="Button"][aria-label="${choice}"]`));
  await page.waitForSelector(`[data-class="Button"][aria-label="${choice}"][aria-checked="true"]`, { timeout: 10000 });
  await page.screenshot({ path: shot(`transfers-overwrite-${choice === SKIP_ALL ? "skip" : "replace"}-all`) });
  await clickOn(prompt.locator('[data-class="Button"][aria-label="예"]'));
}

const SKIP_ALL = "항상 건너뛰기";
const REPLACE_ALL = "항상 겹쳐 쓰기";
const TRIO = ["겹침1.txt", "겹침2.txt", "겹침3.txt"];

test("a download of files that are all on the drive already, answered 항상 건너뛰기 and 예, asks once and keeps them all", async () => {
  const fresh = "겹침없음.txt";
  for (const name of [...TRIO, fresh]) writeFileSync(stored(name), `server ${name}`);
  const { page, panes, local, errors, close } = await open(Object.fromEntries(TRIO.map((n) => [n, `local ${n}`])));
  await countPrompts(page);
  await selectRows(page, panes.server, [...TRIO, fresh]);
  await pressButton(page, DOWNLOAD);
  await answerAlways(page, SKIP_ALL);
  await progress(page).first().waitFor({ state: "detached", timeout: 20000 });
  for (const name of TRIO) assert.equal(contentOf(path.join(local, name)), `local ${name}`, `${name} is kept`);
  assert.equal(contentOf(path.join(local, fresh)), `server ${fresh}`, "a file not on the drive still comes down");
  assert.equal(await promptsSeen(page), 1, "one prompt for the whole job");
  assert.deepEqual(errors, []);
  await close();
  for (const name of [...TRIO, fresh]) rmSync(stored(name));
});

test("an upload of files that are all on the storage already, answered 항상 겹쳐 쓰기 and 예, asks once and replaces them all", async () => {
  for (const name of TRIO) writeFileSync(stored(name), `server ${name}`);
  const { page, panes, errors, close } = await open(Object.fromEntries(TRIO.map((n) => [n, `local ${n}`])));
  await countPrompts(page);
  await selectRows(page, panes.local, TRIO);
  await pressButton(page, UPLOAD);
  await answerAlways(page, REPLACE_ALL);
  for (const name of TRIO) await eventually(() => contentOf(stored(name)) === `local ${name}`, `${name} replaced on the storage`);
  await progress(page).first().waitFor({ state: "detached", timeout: 20000 });
  assert.equal(await promptsSeen(page), 1, "one prompt for the whole job");
  assert.deepEqual(errors, []);
  await close();
  for (const name of TRIO) rmSync(stored(name));
});

test("a double click on a folder's name in the local list opens it: the list and the tree follow", async () => {
  const { page, panes, errors, close } = await open({ "겉.txt": "outside", "안쪽폴더/안쪽.txt": "inside" });
  const folderRow = row(panes.local, "안쪽폴더");
  await folderRow.waitFor({ timeout: 15000 });
  const box = await folderRow.boundingBox();
  await page.mouse.dblclick(box.x + 30, box.y + 9);
  await row(panes.local, "안쪽.txt").waitFor({ timeout: 15000 });
  assert.equal(await row(panes.local, "겉.txt").count(), 0, "the list shows the folder, not its parent");
  await page.locator('[aria-label="ClientTreeView"] [role="treeitem"][aria-label="안쪽폴더"][aria-selected="true"]')
    .first().waitFor({ timeout: 10000 });
  await page.screenshot({ path: shot("transfers-local-folder-opened") });
  assert.deepEqual(errors, []);
  await close();
});

// A service of its own whose demo account may hold a file far larger than the demo quota.
async function roomyService() {
  const root = path.join(rig.folder, "roomy-root");
  execFileSync(path.join(buildDir, "service/ostrana-service"), ["--root", root, "--add-user", "demo", "--quota", "1500000"],
    { input: "demo1234\n" });
  return { root, service: await startService(root) };
}

test("an upload cancelled inside a large file stops the job, leaves nothing of the file, and the next upload works", async () => {
  const size = 800 * 1024 * 1024;
  const { root, service } = await roomyService();
  const storage = (name) => path.join(root, "users", "demo", "myfolder", name);
  const incoming = path.join(root, ".incoming");
  const inFlight = () => readdirSync(incoming).map((name) => statSync(path.join(incoming, name)).size);
  // Sparse on the drive: the container reads zeros quickly, the time goes into the transfer.
  const names = ["1-큰파일.bin", "2-뒤.txt", "3-끝.txt"];
  const opened = await open({ [names[0]]: size, [names[1]]: "after the big one", [names[2]]: "last" }, service);
  const { page, panes, errors, close } = opened;
  try {
    await selectRows(page, panes.local, names);
    await pressButton(page, UPLOAD);
    const dialog = progress(page).first();
    await dialog.waitFor({ timeout: 20000 });
    // The body is on its way once the service's incoming file grows.
    await eventually(() => inFlight().some((bytes) => bytes > 0), "the body reaching the service");
    await clickOn(dialog.locator('[data-class="Button"][aria-label="취소"]'));
    await page.screenshot({ path: shot("transfers-upload-cancel-pressed") });
    await dialog.waitFor({ state: "detached", timeout: 20000 });
    // The service drops an upload whose connection closed inside the body.
    await eventually(() => inFlight().length === 0, "the service dropping the cancelled body");
    assert.ok(!existsSync(storage(names[0])), "no part of the cancelled file is stored under its name");
    assert.ok(!existsSync(storage(names[1])) && !existsSync(storage(names[2])), "nothing after the cancelled file is sent");
    await page.screenshot({ path: shot("transfers-upload-cancelled") });

    const last = await rowPoint(panes.local, names[2]);
    await page.mouse.click(last.x, last.y);
    await page.waitForSelector(`[aria-label="ClientListView"] [role="row"][aria-label="${names[2]}"][aria-selected="true"]`,
      { timeout: 10000 });
    await pressButton(page, UPLOAD);
    await eventually(() => contentOf(storage(names[2])) === "last", "an upload after the cancelled one");
    assert.ok(!existsSync(storage(names[0])) && !existsSync(storage(names[1])), "only the selected file goes up");
    assert.deepEqual(errors, []);
  } finally {
    await close();
    await stopProgram(service.program);
  }
});
