// Hand-made frames in the container's message format, for drawing the page without the program.
export const K = { hello: 1, treeChange: 3, picture: 4, image: 5, frameEnd: 6, cursor: 7, caret: 8, overlay: 10,
  order: 11, focus: 12 };
export const OP = { fillRect: 0, frameRect: 1, invertRect: 2, rectangle: 3, roundRect: 4, ellipse: 5, line: 6, text: 7,
  edge: 8, image: 9, blit: 10 };
export const BTNFACE = 0xd4d0c8;
export const GULIM = ["굴림", -12, 400, 0, 0, 6, 12, 12];

export function windowState(h, fields) {
  return { k: K.treeChange, h, parent: 0, z: 0, depth: 0, id: 0, style: 0x10000000, exStyle: 0, visible: true,
    shown: true, enabled: true, enabledTree: true, text: "", ...fields };
}

export function picture(h, part, ops, fonts = [GULIM]) {
  return { k: K.picture, h, part, fonts, ops };
}

export function frameEnd(frame) {
  return { k: K.frameEnd, frame };
}

// A small dialog: a caption in the frame, a label, an edit with the caret, a button, and a list
// view with two rows.
export function loginDialog() {
  const dialog = windowState(100, { cls: "#32770", text: "로그인", style: 0x90c80000, rect: [20, 20, 320, 220],
    client: [23, 42, 317, 217] });
  const label = windowState(101, { parent: 100, depth: 1, z: 0, cls: "Static", text: "서버 주소(&S)", id: 1001,
    style: 0x50000000, rect: [33, 52, 113, 64], client: [33, 52, 113, 64] });
  const edit = windowState(102, { parent: 100, depth: 1, z: 1, cls: "Edit", text: "demo", id: 1002,
    style: 0x50010080, exStyle: 0x200, rect: [118, 50, 298, 70], client: [120, 52, 296, 68] });
  const button = windowState(103, { parent: 100, depth: 1, z: 2, cls: "Button", text: "확인", id: 1,
    style: 0x50010001, rect: [218, 180, 298, 203], client: [218, 180, 298, 203] });
  const list = windowState(104, { parent: 100, depth: 1, z: 3, cls: "SysListView32", id: 1003,
    style: 0x50010001, exStyle: 0x200, rect: [33, 80, 298, 170], client: [35, 82, 296, 168],
    columns: [{ text: "이름", width: 150 }, { text: "크기", width: 80 }],
    rows: [{ i: 0, cells: ["문서", ""], sel: true, focus: true, rect: [0, 18, 261, 34] },
      { i: 1, cells: ["사진.jpg", "12 KB"], sel: false, focus: false, rect: [0, 34, 261, 50] }] });
  const frameOps = [
    [OP.edge, 0, 0, 300, 200, 5, 15],
    [OP.fillRect, 3, 3, 297, 21, 0x0a246a],
    [OP.text, 6, 6, 42, 18, "로그인", 0, 0xffffff, -1, 0x20, 0],
  ];
  const dialogOps = [[OP.fillRect, 0, 0, 294, 175, BTNFACE]];
  const labelOps = [[OP.fillRect, 0, 0, 80, 12, BTNFACE], [OP.text, 0, 0, 66, 12, "서버 주소(S)", 0, 0, -1, 0, 0]];
  const editFrame = [[OP.edge, 0, 0, 180, 20, 10, 15]];
  const editOps = [[OP.fillRect, 0, 0, 176, 16, 0xffffff], [OP.text, 1, 2, 25, 14, "demo", 0, 0, 0xffffff, 0, 0]];
  const buttonOps = [
    [OP.fillRect, 0, 0, 80, 23, BTNFACE],
    [OP.frameRect, 0, 0, 80, 23, 0],
    [OP.edge, 1, 1, 79, 22, 5, 15],
    [OP.text, 28, 5, 52, 17, "확인", 0, 0, -1, 0x25, 0],
  ];
  const listOps = [
    [OP.fillRect, 0, 0, 261, 86, 0xffffff],
    [OP.edge, 0, 0, 150, 17, 5, 15 | 0x800],
    [OP.text, 4, 2, 28, 14, "이름", 0, 0, -1, 0, 0],
    [OP.edge, 150, 0, 230, 17, 5, 15 | 0x800],
    [OP.text, 154, 2, 178, 14, "크기", 0, 0, -1, 0, 0],
    [OP.fillRect, 18, 18, 150, 34, 0x0a246a],
    [OP.image, 1, 18, 17, 34, "resource/icon/235", -1, 4, ""],
    [OP.text, 20, 20, 44, 32, "문서", 0, 0xffffff, -1, 0, 0],
    [OP.image, 1, 34, 17, 50, "platform/icon/file", -1, 0, ""],
    [OP.text, 20, 36, 68, 48, "사진.jpg", 0, 0, -1, 0, 0],
    [OP.text, 154, 36, 184, 48, "12 KB", 0, 0, -1, 0, 0],
  ];
  return [
    dialog, label, edit, button, list,
    { k: K.image, key: "resource/icon/235", url: "/res/filetypes/folder.svg", size: [32, 32] },
    { k: K.image, key: "platform/icon/file", url: "", size: [32, 32] },
    picture(100, "frame", frameOps), picture(100, "client", dialogOps),
    picture(101, "client", labelOps), picture(102, "frame", editFrame), picture(102, "client", editOps),
    picture(103, "client", buttonOps), picture(104, "client", listOps),
    { k: K.order, windows: [100, 104, 103, 102, 101] },
    { k: K.focus, focus: 102, active: 100, capture: 0 },
    { k: K.caret, h: 102, rect: [25, 2, 26, 14], visible: true, blink: 500 },
    frameEnd(1),
  ];
}
