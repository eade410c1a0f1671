// The protocol end to end: the container writes one message of every kind and the page's own
// decoder reads each back in the browser, field by field; the page's own input and control code
// writes every event and the container's decoder reads each back. Kinds, fields and drawing
// operations are taken from protocol.json, so one added there without a case here fails.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";
import { buildDir, startOstrana, stopProgram, launchBrowser, withQuery } from "./harness.mjs";
import { frameEnd } from "./frames.mjs";

const protocol = JSON.parse(readFileSync(path.resolve(import.meta.dirname, "../../host/protocol.json"), "utf8"));
const roundTrip = path.join(buildDir, "tests/host/protocol_roundtrip");
const opName = Object.fromEntries(Object.entries(protocol.ops).map(([name, op]) => [op.n, name]));
const opNumber = (name) => protocol.ops[name].n;

// Fields the page has no way to send: it never knows a property's DISPID, so it names it.
const NEVER_SENT = { property: ["dispid"] };

let ostrana;
let browser;
let folder;

before(async () => {
  folder = mkdtempSync(path.join(os.tmpdir(), "ostrana-protocol-"));
  ostrana = await startOstrana();
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  await stopProgram(ostrana?.program);
  if (folder) rmSync(folder, { recursive: true, force: true });
});

async function offlinePage(options = {}) {
  const context = await browser.newContext({ viewport: { width: 640, height: 480 }, ...options });
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(withQuery(ostrana.first, { offline: "1" }));
  await page.waitForFunction(() => window.ostranaPage);
  return { context, page, errors };
}

// ---------------------------------------------------------------------------------------------
// The container to the page.

function containerMessages() {
  const file = path.join(folder, "to-page.json");
  execFileSync(roundTrip, ["to-page", file], { stdio: ["ignore", "inherit", "inherit"] });
  return JSON.parse(readFileSync(file, "utf8")).messages;
}

// Expected operations name their kind; the page's carry its number.
function expectedOps(ops) {
  return ops.map((op) => {
    const out = { ...op, op: opNumber(op.op) };
    if (op.op === "blit") out.ops = expectedOps(op.ops);
    return out;
  });
}

function expectedFields(kind, fields) {
  if (kind !== "picture" && kind !== "overlay") return fields;
  return { ...fields, ops: expectedOps(fields.ops) };
}

// Every operation of a list, nested ones included.
function allOps(ops) {
  return ops.flatMap((op) => [op, ...(op.op === "blit" ? allOps(op.ops) : [])]);
}

// The page's decoder at work on the container's text frames.
function decodeInPage(page, texts) {
  return page.evaluate(async (frames) => {
    const token = new URLSearchParams(location.search).get("t");
    const wire = await import(`/wire.js?t=${encodeURIComponent(token)}`);
    return frames.map((text) => {
      const message = wire.parseMessage(text);
      if (message && Array.isArray(message.ops)) {
        return { ...message, fonts: (message.fonts ?? []).map(wire.decodeFont), ops: wire.decodePicture(message) };
      }
      return message;
    });
  }, texts);
}

test("every message kind, field and drawing operation is covered by the container's samples", () => {
  const messages = containerMessages();
  const kinds = messages.map((m) => m.expected.kind);
  for (const [kind, definition] of Object.entries(protocol.toPage)) {
    assert.ok(kinds.includes(kind), `no sample of ${kind}`);
    const covered = new Set(messages.filter((m) => m.expected.kind === kind).flatMap((m) => Object.keys(m.expected.fields)));
    for (const field of Object.keys(definition.fields)) assert.ok(covered.has(field), `${kind}.${field} is in no sample`);
  }
  const ops = allOps(messages.flatMap((m) => m.expected.fields.ops ?? []));
  for (const [name, definition] of Object.entries(protocol.ops)) {
    const samples = ops.filter((op) => op.op === name);
    assert.ok(samples.length > 0, `no sample of the ${name} operation`);
    for (const field of definition.fields) {
      assert.ok(samples.some((op) => field in op), `${name}.${field} is in no sample`);
    }
  }
});

test("the page's decoder reads every message the container writes as the container meant it", async () => {
  const messages = containerMessages();
  const { context, page, errors } = await offlinePage();
  const decoded = await decodeInPage(page, messages.map((m) => m.json));
  messages.forEach(({ json, expected }, index) => {
    const read = decoded[index];
    const where = `${expected.kind} ${json.slice(0, 120)}`;
    assert.ok(read, `${where}: not read at all`);
    assert.equal(read.k, protocol.toPage[expected.kind].n, `${where}: kind`);
    for (const [field, value] of Object.entries(expectedFields(expected.kind, expected.fields))) {
      assert.deepEqual(read[field], value, `${where}: ${field}`);
    }
    // Nothing travels that the protocol does not name.
    const known = Object.keys(protocol.toPage[expected.kind].fields);
    for (const field of Object.keys(read)) {
      assert.ok(field === "k" || known.includes(field), `${where}: ${field} is not in the protocol`);
    }
    for (const op of allOps(read.ops ?? [])) {
      const names = protocol.ops[opName[op.op]]?.fields;
      assert.ok(names, `${where}: operation ${op.op} is not in the protocol`);
    }
  });
  assert.deepEqual(errors, []);
  await context.close();
});

// Where each message landed once the page applied them all, by the kinds the page knows of.
function landingsInPage(page, texts, numbers) {
  return page.evaluate(async ([frames, kinds]) => {
    const ostrana = window.ostranaPage;
    const scene = ostrana.scene;
    const probes = {
      hello: () => ({ screen: scene.screen, status: ostrana.status.textContent }),
      superseded: () => ({ superseded: ostrana.superseded }),
      treeChange: (m) => (m.gone ? { gone: !scene.windows.has(m.h) } : { ...scene.windows.get(m.h) }),
      picture: (m) => ({ ops: scene.windows.get(m.h)?.[m.part === "client" ? "picture" : m.part] }),
      image: (m) => ({ ...ostrana.images.entry(m.key) }),
      frameEnd: (m) => ({ acked: ostrana.sent.some((s) => s.k === kinds.ack && s.frame === m.frame) }),
      cursor: () => ({ cursor: ostrana.area.style.cursor }),
      caret: () => ({ ...ostrana.caretState }),
      // Copied at once inside a user's gesture, else kept for the next one.
      clipboard: async () => ({ text: ostrana.clipboardText ?? await copied() }),
      overlay: () => ({ ops: scene.screenOverlay }),
      order: () => ({ windows: scene.order }),
      focus: () => ({ focus: scene.focus, active: scene.active, capture: scene.capture }),
      event: (m) => ({ fired: document.body.dataset[`fired${m.name}`] === "1" }),
      openUrl: () => ({ opened: window.openedInTest }),
    };
    const copied = () => new Promise((resolve) => {
      const check = () => document.body.dataset.copied !== undefined && resolve(document.body.dataset.copied);
      if (check()) return;
      const observer = new MutationObserver(() => check() && observer.disconnect());
      observer.observe(document.body, { attributes: true });
      setTimeout(() => { observer.disconnect(); resolve(undefined); }, 5000);
    });
    window.openedInTest = [];
    window.open = (url) => { window.openedInTest.push(url); return null; };
    const messages = frames.map((text) => JSON.parse(text));
    const byNumber = Object.fromEntries(Object.entries(kinds.toPage).map(([name, n]) => [n, name]));
    // A message of a frame shows once its frame has ended; any other at once.
    const landsAt = messages.map((_, i) => {
      const end = messages.findIndex((m, j) => j >= i && m.k === kinds.toPage.frameEnd);
      return end >= 0 ? end : i;
    });
    const landings = [];
    messages.forEach((message, j) => {
      ostrana.replay([message]);
      messages.forEach((m, i) => { if (landsAt[i] === j) landings[i] = probes[byNumber[m.k]]?.(m) ?? null; });
    });
    return { probed: Object.keys(probes), landings: await Promise.all(landings) };
  }, [texts, numbers]);
}

// What each landing must show, from the sample's expectation.
function landed(kind, fields, decoded) {
  switch (kind) {
  case "hello": return { screen: fields.screen, status: "" };
  case "superseded": return { superseded: true };
  case "treeChange": return fields.gone ? { gone: true } : fields;
  case "picture": case "overlay": return { ops: decoded.ops };
  case "image": return { url: fields.url, size: fields.size };
  case "frameEnd": return { acked: true };
  case "cursor": return { cursor: `url("${fields.image}?t=TOKEN") ${fields.hotspot.join(" ")}, ${fields.css}` };
  case "caret": return fields;
  case "order": case "focus": case "clipboard": return fields;
  case "event": return { fired: true };
  case "openUrl": return { opened: [fields.url] };
  default: return undefined;
  }
}

test("the page applies every kind where it belongs", async () => {
  const messages = containerMessages();
  const { context, page, errors } = await offlinePage();
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  const texts = messages.map((m) => m.json);
  const decoded = await decodeInPage(page, texts);
  const numbers = { ack: protocol.toHost.ack.n,
    toPage: Object.fromEntries(Object.entries(protocol.toPage).map(([kind, { n }]) => [kind, n])) };
  const { probed, landings } = await landingsInPage(page, texts, numbers);
  for (const kind of Object.keys(protocol.toPage)) assert.ok(probed.includes(kind), `no landing for ${kind}`);
  const token = encodeURIComponent(new URL(ostrana.first).searchParams.get("t"));
  messages.forEach(({ json, expected }, index) => {
    const want = landed(expected.kind, expected.fields, decoded[index]);
    assert.ok(want !== undefined, `nothing said of where ${expected.kind} lands`);
    const got = JSON.parse(JSON.stringify(landings[index]).replaceAll(token, "TOKEN"));
    for (const [field, value] of Object.entries(want)) {
      assert.deepEqual(got?.[field], value, `${expected.kind} ${json.slice(0, 100)}: lands with ${field}`);
    }
  });
  assert.deepEqual(errors, []);
  await context.close();
});
