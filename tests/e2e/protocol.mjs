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
import { buildDir, containerRig, openOffline } from "./harness.mjs";
import { frameEnd } from "./frames.mjs";

const protocol = JSON.parse(readFileSync(path.resolve(import.meta.dirname, "../../host/protocol.json"), "utf8"));
// The container's half; OSTRANA_ROUNDTRIP names another build of it (the sanitizers' one).
const roundTrip = process.env.OSTRANA_ROUNDTRIP || path.join(buildDir, "tests/host/protocol_roundtrip");
const opName = Object.fromEntries(Object.entries(protocol.ops).map(([name, op]) => [op.n, name]));
const opNumber = (name) => protocol.ops[name].n;

// Fields the page has no way to send: it never knows a property's DISPID, so it names it.
const NEVER_SENT = { property: ["dispid"] };

const rig = containerRig();
let folder;

before(() => {
  folder = mkdtempSync(path.join(os.tmpdir(), "ostrana-protocol-"));
});

after(() => {
  if (folder) rmSync(folder, { recursive: true, force: true });
});

// The page without a socket: frames are replayed into it by hand.
const offlinePage = (options = {}) => openOffline(rig.browser, rig.ostrana.first, { viewport: { width: 640, height: 480 }, ...options });

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
  const token = encodeURIComponent(new URL(rig.ostrana.first).searchParams.get("t"));
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

// ---------------------------------------------------------------------------------------------
// The page to the container.

const M = protocol.enums.Modifier;
const A = protocol.enums.MouseAction;
const B = protocol.enums.MouseButton;

// Until the page has sent `count` messages of a kind (input it handles after Playwright returns).
function sentOf(page, kind, count = 1) {
  return page.waitForFunction(([k, n]) => window.ostranaPage.sent.filter((m) => m.k === k).length >= n,
    [protocol.toHost[kind].n, count]);
}

// Runs what the user does and pairs what the page sent with what it should have meant, in order.
async function expectSent(page, events, what, expected) {
  await page.evaluate(() => window.ostranaPage.sent.splice(0));
  await what();
  const sent = await page.evaluate(() => window.ostranaPage.sent.splice(0).map((m) => JSON.stringify(m)));
  const kinds = sent.map((text) => Object.keys(protocol.toHost).find((kind) => protocol.toHost[kind].n === JSON.parse(text).k));
  assert.deepEqual(kinds, expected.map(([kind]) => kind), `the page sent ${sent.join(" ")}`);
  sent.forEach((json, i) => events.push({ json, expected: { kind: expected[i][0], fields: expected[i][1] } }));
}

test("the container's decoder reads every event the page writes as the user made it", async () => {
  const { context, page, errors } = await offlinePage({ deviceScaleFactor: 1.5 });
  await context.grantPermissions(["clipboard-read", "clipboard-write"]);
  const events = [];
  const sent = (what, expected) => expectSent(page, events, what, expected);

  await sent(() => page.evaluate((end) => window.ostranaPage.replay([end]), frameEnd(41)), [["ack", { frame: 41 }]]);
  await sent(async () => {
    await page.setViewportSize({ width: 613, height: 457 });
    await sentOf(page, "resize");
  },
    [["resize", { w: 613, h: 457, dpr: 1.5 }]]);
  await sent(() => page.mouse.move(101, 57), [["mouse", { x: 101, y: 57, action: A.move, mods: 0 }]]);
  await sent(async () => {
    await page.keyboard.down("ShiftLeft");
    await page.mouse.down({ button: "right" });
    await page.mouse.up({ button: "right" });
    await page.keyboard.up("ShiftLeft");
  }, [["key", { code: "ShiftLeft", key: "Shift", down: true, repeat: false, mods: M.shiftLeft }],
    ["mouse", { x: 101, y: 57, action: A.down, button: B.right, mods: M.shiftLeft }],
    ["mouse", { x: 101, y: 57, action: A.up, button: B.right, mods: M.shiftLeft }],
    ["key", { code: "ShiftLeft", key: "Shift", down: false, repeat: false, mods: 0 }]]);
  await sent(async () => {
    await page.keyboard.down("ControlRight");
    await page.mouse.move(233, 119);
    await page.mouse.down({ button: "middle" });
    await page.mouse.up({ button: "middle" });
    await page.keyboard.up("ControlRight");
  }, [["key", { code: "ControlRight", key: "Control", down: true, repeat: false, mods: M.controlRight }],
    ["mouse", { x: 233, y: 119, action: A.move, mods: M.controlRight }],
    ["mouse", { x: 233, y: 119, action: A.down, button: B.middle, mods: M.controlRight }],
    ["mouse", { x: 233, y: 119, action: A.up, button: B.middle, mods: M.controlRight }],
    ["key", { code: "ControlRight", key: "Control", down: false, repeat: false, mods: 0 }]]);
  await sent(async () => {
    await page.keyboard.down("AltRight");
    await page.mouse.click(307, 211);
    await page.keyboard.up("AltRight");
  }, [["key", { code: "AltRight", key: "Alt", down: true, repeat: false, mods: M.altRight }],
    ["mouse", { x: 307, y: 211, action: A.move, mods: M.altRight }],
    ["mouse", { x: 307, y: 211, action: A.down, button: B.left, mods: M.altRight }],
    ["mouse", { x: 307, y: 211, action: A.up, button: B.left, mods: M.altRight }],
    ["key", { code: "AltRight", key: "Alt", down: false, repeat: false, mods: 0 }]]);
  await sent(async () => {
    await page.keyboard.down("ControlLeft");
    await page.keyboard.down("AltLeft");
    await page.mouse.wheel(0, 300); // device pixels: 200 CSS pixels at 1.5
    await sentOf(page, "wheel");
    await page.keyboard.up("AltLeft");
    await page.keyboard.up("ControlLeft");
  }, [["key", { code: "ControlLeft", key: "Control", down: true, repeat: false, mods: M.controlLeft }],
    ["key", { code: "AltLeft", key: "Alt", down: true, repeat: false, mods: M.controlLeft | M.altLeft }],
    ["wheel", { x: 307, y: 211, delta: -240, mods: M.controlLeft | M.altLeft }],
    ["key", { code: "AltLeft", key: "Alt", down: false, repeat: false, mods: M.controlLeft }],
    ["key", { code: "ControlLeft", key: "Control", down: false, repeat: false, mods: 0 }]]);
  await sent(async () => {
    await page.mouse.wheel(0, -150);
    await sentOf(page, "wheel");
  }, [["wheel", { x: 307, y: 211, delta: 120, mods: 0 }]]);
  await sent(async () => {
    await page.keyboard.down("ShiftRight");
    await page.keyboard.press("KeyB");
    await page.keyboard.up("ShiftRight");
    await page.keyboard.down("KeyR");
    await page.keyboard.down("KeyR");
    await page.keyboard.up("KeyR");
    await page.keyboard.press("F7");
  }, [["key", { code: "ShiftRight", key: "Shift", down: true, repeat: false, mods: M.shiftRight }],
    ["key", { code: "KeyB", key: "B", down: true, repeat: false, mods: M.shiftRight }],
    ["key", { code: "KeyB", key: "B", down: false, repeat: false, mods: M.shiftRight }],
    ["key", { code: "ShiftRight", key: "Shift", down: false, repeat: false, mods: 0 }],
    ["key", { code: "KeyR", key: "r", down: true, repeat: false, mods: 0 }],
    ["key", { code: "KeyR", key: "r", down: true, repeat: true, mods: 0 }],
    ["key", { code: "KeyR", key: "r", down: false, repeat: false, mods: 0 }],
    ["key", { code: "F7", key: "F7", down: true, repeat: false, mods: 0 }],
    ["key", { code: "F7", key: "F7", down: false, repeat: false, mods: 0 }]]);
  const cdp = await context.newCDPSession(page);
  await sent(async () => {
    await cdp.send("Input.imeSetComposition", { text: "하", selectionStart: 1, selectionEnd: 1 });
    await cdp.send("Input.insertText", { text: "한글" });
  }, [["text", { text: "한글", ime: true }]]);
  await page.evaluate(() => navigator.clipboard.writeText("붙여 넣을 글 \"ftp\"\n둘째 줄"));
  await sent(async () => {
    await page.keyboard.press("Control+KeyV");
    await page.waitForFunction(() => window.ostranaPage.sent.filter((m) => m.code === "KeyV").length === 2);
  }, [["key", { code: "ControlLeft", key: "Control", down: true, repeat: false, mods: M.controlLeft }],
    ["clipboard", { text: "붙여 넣을 글 \"ftp\"\n둘째 줄" }],
    ["key", { code: "KeyV", key: "v", down: true, repeat: false, mods: M.controlLeft }],
    ["key", { code: "KeyV", key: "v", down: false, repeat: false, mods: M.controlLeft }],
    ["key", { code: "ControlLeft", key: "Control", down: false, repeat: false, mods: 0 }]]);
  await sent(() => page.evaluate(() => {
    const control = window.ostranaControl;
    control.varHostName = "127.0.0.1:8443";
    control.varUserID = "사용자1";
    control.varAuth = "WAXLO_AUTH=a\"b;c";
    control.DisplayType = "2";
    control.StartOstrana();
  }), [["property", { name: "varHostName", value: "127.0.0.1:8443" }],
    ["property", { name: "varUserID", value: "사용자1" }],
    ["property", { name: "varAuth", value: "WAXLO_AUTH=a\"b;c" }],
    ["property", { name: "DisplayType", value: "2" }],
    ["method", { name: "StartOstrana" }]]);

  // Every kind and field the page can send has been sent, and nothing the protocol does not name.
  const messages = events.map((e) => JSON.parse(e.json));
  for (const [kind, definition] of Object.entries(protocol.toHost)) {
    const ofKind = messages.filter((m) => m.k === definition.n);
    assert.ok(ofKind.length > 0, `the page sent no ${kind}`);
    for (const field of Object.keys(definition.fields)) {
      if (NEVER_SENT[kind]?.includes(field)) continue;
      assert.ok(ofKind.some((m) => field in m), `the page sent no ${kind}.${field}`);
    }
    for (const m of ofKind) {
      for (const field of Object.keys(m)) {
        assert.ok(field === "k" || field in definition.fields, `${kind}.${field} is not in the protocol`);
      }
    }
  }
  for (const [name, value] of Object.entries(B)) {
    assert.ok(messages.some((m) => m.k === protocol.toHost.mouse.n && m.action !== A.move && m.button === value),
      `no press of the ${name} button`);
  }
  for (const [name, bit] of Object.entries(M)) {
    if (/^meta/.test(name)) continue; // the platform has no such keys
    assert.ok(messages.some((m) => m.mods & bit), `nothing sent with ${name} held`);
  }

  const file = path.join(folder, "to-host.json");
  writeFileSync(file, JSON.stringify({ events }, null, 1));
  const check = spawnSync(roundTrip, ["to-host", file], { encoding: "utf8" });
  assert.equal(check.status, 0, `the container read the page's events otherwise:\n${check.stderr}`);
  assert.deepEqual(errors, []);
  await context.close();
});
