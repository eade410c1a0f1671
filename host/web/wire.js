// The container's messages as the page reads them: one JSON object per text frame; drawing
// operations arrive as arrays, [number, fields...], and become named objects, with the text
// operations' font looked up in the picture's font table.
// Loaded with the page's token, which it passes on to the protocol module.
const { Op, OpFields } = await import(`/protocol.js${new URL(import.meta.url).search}`);

// The message in a text frame, or null for anything that is not one.
export function parseMessage(text) {
  let message;
  try {
    message = JSON.parse(text);
  } catch {
    return null;
  }
  return message !== null && typeof message === "object" && !Array.isArray(message) ? message : null;
}

export function decodeFont(entry) {
  if (!Array.isArray(entry)) return null;
  const [face, height, weight, italic, underline, asciiWidth, wideWidth, cellHeight] = entry;
  return { face, height, weight, italic: !!italic, underline: !!underline, asciiWidth, wideWidth, cellHeight };
}

export function decodeOps(ops, fonts) {
  if (!Array.isArray(ops)) return [];
  const out = [];
  for (const raw of ops) {
    if (!Array.isArray(raw)) continue;
    const names = OpFields[raw[0]];
    if (!names) continue; // a newer kind this page does not know
    const op = { op: raw[0] };
    names.forEach((name, index) => { op[name] = raw[index + 1]; });
    if (op.op === Op.text) op.fontInfo = fonts[op.font] ?? null;
    if (op.op === Op.blit) op.ops = decodeOps(op.ops, fonts);
    out.push(op);
  }
  return out;
}

// A picture's or the overlay's operations, fonts resolved.
export function decodePicture(message) {
  const fonts = Array.isArray(message.fonts) ? message.fonts.map(decodeFont) : [];
  return decodeOps(message.ops, fonts);
}
