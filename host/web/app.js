// The page: draws the container's windows on a canvas, mirrors them as an accessibility tree, sends
// the user's input back and plays the control object the service's page scripts see. It holds no
// application logic: everything it shows arrives as pictures and window states.
const token = new URLSearchParams(location.search).get("t") || "";
// Every request carries the token, so the protocol module is loaded with it rather than imported.
const { PROTOCOL_VERSION, ToPage, ToHost, Op, MouseAction, MouseButton, Modifier } =
  await import(`/protocol.js?t=${encodeURIComponent(token)}`);
const { parseMessage, decodePicture } = await import(`/wire.js?t=${encodeURIComponent(token)}`);

const FONT_FAMILY = '"NanumGothic", "Noto Sans CJK KR", "Noto Sans KR", sans-serif';

// ---------------------------------------------------------------------------------------------
// Values of the platform: colours, raster modes, styles.

const R2 = { BLACK: 1, NOTCOPYPEN: 4, NOT: 6, XORPEN: 7, NOTXORPEN: 10, NOP: 11, COPYPEN: 13, WHITE: 16 };
const PS = { SOLID: 0, DASH: 1, DOT: 2, NULL: 5 };
const DSS_DISABLED = 0x20;
const ILD_BLEND25 = 0x2;
const ILD_BLEND50 = 0x4;
const BF = { LEFT: 1, TOP: 2, RIGHT: 4, BOTTOM: 8, MIDDLE: 0x800, FLAT: 0x4000, MONO: 0x8000 };
const BDR = { RAISEDOUTER: 1, SUNKENOUTER: 2, RAISEDINNER: 4, SUNKENINNER: 8 };
const COLOR = { WINDOW: 5, WINDOWFRAME: 6, HIGHLIGHT: 13, BTNFACE: 15, BTNSHADOW: 16, BTNHIGHLIGHT: 20, DKSHADOW: 21,
  LIGHT: 22 };

// The system colours as 0xRRGGBB; the container's table replaces these on connect.
const SYS = {
  [COLOR.WINDOW]: 0xffffff, [COLOR.WINDOWFRAME]: 0x000000, [COLOR.HIGHLIGHT]: 0x0a246a, [COLOR.BTNFACE]: 0xd4d0c8,
  [COLOR.BTNSHADOW]: 0x808080, [COLOR.BTNHIGHLIGHT]: 0xffffff, [COLOR.DKSHADOW]: 0x404040, [COLOR.LIGHT]: 0xd4d0c8,
};

function setSysColors(table) {
  if (Array.isArray(table)) table.forEach((value, index) => { if (typeof value === "number") SYS[index] = value; });
}

function css(rgb) {
  return `#${((Number(rgb) >>> 0) & 0xffffff).toString(16).padStart(6, "0")}`;
}

// ---------------------------------------------------------------------------------------------
// Fixed text metric: a single-byte character advances by the font's ASCII width, a double-byte one
// by its wide width, exactly as the platform measures, so what the layout reserved is what shows.

function fontMetric(font) {
  let height = Math.abs(font?.height ?? -12);
  if (height === 0) height = 12;
  const cell = font?.cellHeight || height;
  return {
    height: cell,
    size: height,
    ascii: font?.asciiWidth || Math.max(1, Math.floor(height / 2)),
    wide: font?.wideWidth || height,
    ascent: Math.floor((cell * 5) / 6),
  };
}

function advanceOf(metric, ch) {
  return ch.codePointAt(0) < 0x80 ? metric.ascii : metric.wide;
}

function textWidth(metric, text) {
  let width = 0;
  for (const ch of text) width += advanceOf(metric, ch);
  return width;
}

// ---------------------------------------------------------------------------------------------
// Images: the container names each image once, by key, before a picture draws it; each artwork is
// fetched once.

function withToken(url) {
  return `${url}${url.includes("?") ? "&" : "?"}t=${encodeURIComponent(token)}`;
}

class ImageStore {
  constructor(onLoaded) {
    this.entries = new Map(); // key -> { url, size }
    this.images = new Map();  // key -> HTMLImageElement
    this.onLoaded = onLoaded;
  }

  add(message) {
    if (!message?.key) return;
    this.entries.set(message.key, { url: message.url || "", size: message.size || [0, 0] });
  }

  entry(key) { return this.entries.get(key); }

  url(key) {
    const url = this.entries.get(key)?.url;
    return url ? withToken(url) : "";
  }

  // The loaded image, or null while it loads (the scene is drawn again once it has).
  image(key) {
    let image = this.images.get(key);
    if (image) return image.complete && image.naturalWidth > 0 ? image : null;
    const url = this.url(key);
    if (!url) return null;
    image = new Image();
    image.addEventListener("load", () => this.onLoaded(key));
    image.src = url;
    this.images.set(key, image);
    return null;
  }

  // Every artwork named so far has loaded (or failed for good).
  settled() {
    for (const image of this.images.values()) if (!image.complete) return false;
    return true;
  }
}

// ---------------------------------------------------------------------------------------------
// The platform's own artwork, drawn here: system icons, check marks, the menu arrow. Shapes are
// given as fractions of the image's width and height.

// Fill and outline colours, the outline as thick as the icon's size asks.
function artColours(ctx, w, fill, stroke) {
  ctx.fillStyle = fill;
  ctx.strokeStyle = stroke;
  ctx.lineWidth = Math.max(1, w / 32);
}

// A closed figure through `points`, filled and outlined.
function artFigure(ctx, w, h, points) {
  ctx.beginPath();
  points.forEach(([x, y], index) => {
    if (index === 0) ctx.moveTo(w * x, h * y);
    else ctx.lineTo(w * x, h * y);
  });
  ctx.closePath();
  ctx.fill();
  ctx.stroke();
}

// A filled and outlined rectangle.
function artBox(ctx, w, h, x, y, width, height) {
  ctx.fillRect(w * x, h * y, w * width, h * height);
  ctx.strokeRect(w * x, h * y, w * width, h * height);
}

const PlatformArt = {
  draw(ctx, name, x, y, w, h, slot) {
    const art = PlatformArt[name];
    if (typeof art !== "function" || name === "draw") return;
    ctx.save();
    ctx.translate(x, y);
    art(ctx, w, h, slot);
    ctx.restore();
  },
  circleIcon(ctx, w, h, fill, glyph) {
    const r = Math.min(w, h) * 0.42;
    ctx.fillStyle = fill;
    ctx.beginPath();
    ctx.arc(w / 2, h / 2, r, 0, Math.PI * 2);
    ctx.fill();
    ctx.fillStyle = "#fff";
    ctx.font = `bold ${Math.round(r * 1.4)}px sans-serif`;
    ctx.textAlign = "center";
    ctx.textBaseline = "middle";
    ctx.fillText(glyph, w / 2, h / 2 + r * 0.05);
  },
  hand(ctx, w, h) { PlatformArt.circleIcon(ctx, w, h, "#d0281e", "✕"); },
  question(ctx, w, h) { PlatformArt.circleIcon(ctx, w, h, "#2a62c9", "?"); },
  asterisk(ctx, w, h) { PlatformArt.circleIcon(ctx, w, h, "#2a62c9", "i"); },
  exclamation(ctx, w, h) {
    artColours(ctx, w, "#f5c400", "#6b5500");
    artFigure(ctx, w, h, [[0.5, 0.08], [0.95, 0.9], [0.05, 0.9]]);
    ctx.fillStyle = "#000";
    ctx.font = `bold ${Math.round(h * 0.55)}px sans-serif`;
    ctx.textAlign = "center";
    ctx.textBaseline = "middle";
    ctx.fillText("!", w / 2, h * 0.6);
  },
  application(ctx, w, h) {
    artColours(ctx, w, "#fff", "#000");
    artBox(ctx, w, h, 0.1, 0.15, 0.8, 0.7);
    ctx.fillStyle = "#0a246a";
    ctx.fillRect(w * 0.1, h * 0.15, w * 0.8, h * 0.15);
  },
  file(ctx, w, h) {
    artColours(ctx, w, "#fff", "#555");
    artFigure(ctx, w, h, [[0.2, 0.08], [0.62, 0.08], [0.8, 0.28], [0.8, 0.92], [0.2, 0.92]]);
  },
  folder(ctx, w, h) {
    artColours(ctx, w, "#f2c94c", "#a07d12");
    artFigure(ctx, w, h, [[0.06, 0.22], [0.4, 0.22], [0.48, 0.32], [0.94, 0.32], [0.94, 0.84], [0.06, 0.84]]);
  },
  drive(ctx, w, h) {
    artColours(ctx, w, "#c0c0c0", "#444");
    artBox(ctx, w, h, 0.08, 0.35, 0.84, 0.35);
    ctx.fillStyle = "#2c2";
    ctx.fillRect(w * 0.72, h * 0.55, w * 0.1, h * 0.06);
  },
  // A monitor: the computer, or with a blue screen and a taskbar, the desktop.
  monitor(ctx, w, h, screen) {
    artColours(ctx, w, "#c0c0c0", "#444");
    artBox(ctx, w, h, 0.1, 0.12, 0.8, 0.58);
    ctx.fillStyle = screen;
    ctx.fillRect(w * 0.17, h * 0.19, w * 0.66, h * 0.44);
    ctx.fillStyle = "#808080";
    ctx.fillRect(w * 0.35, h * 0.7, w * 0.3, h * 0.1);
    ctx.fillRect(w * 0.22, h * 0.8, w * 0.56, h * 0.08);
  },
  computer(ctx, w, h) { PlatformArt.monitor(ctx, w, h, "#1f6f8b"); },
  desktop(ctx, w, h) {
    PlatformArt.monitor(ctx, w, h, "#3a6ea5");
    ctx.fillStyle = "#d4d0c8";
    ctx.fillRect(w * 0.17, h * 0.56, w * 0.66, h * 0.07);
  },
  internet(ctx, w, h) {
    const r = Math.min(w, h) * 0.4;
    ctx.fillStyle = "#3d8fd6";
    ctx.strokeStyle = "#1b4f8a";
    ctx.lineWidth = Math.max(1, w / 24);
    ctx.beginPath();
    ctx.arc(w / 2, h / 2, r, 0, Math.PI * 2);
    ctx.fill();
    ctx.stroke();
    ctx.beginPath();
    ctx.ellipse(w / 2, h / 2, r * 0.45, r, 0, 0, Math.PI * 2);
    ctx.moveTo(w / 2 - r, h / 2);
    ctx.lineTo(w / 2 + r, h / 2);
    ctx.stroke();
  },
  network(ctx, w, h) {
    PlatformArt.computer(ctx, w, h * 0.8);
    ctx.fillStyle = "#444";
    ctx.fillRect(w * 0.48, h * 0.7, w * 0.04, h * 0.22);
    ctx.fillRect(w * 0.15, h * 0.9, w * 0.7, h * 0.05);
  },
  check(ctx, w, h) {
    ctx.strokeStyle = "#000";
    ctx.lineWidth = Math.max(1.5, w / 7);
    ctx.beginPath();
    ctx.moveTo(w * 0.2, h * 0.5);
    ctx.lineTo(w * 0.42, h * 0.72);
    ctx.lineTo(w * 0.8, h * 0.28);
    ctx.stroke();
  },
  checkboxes(ctx, w, h, slot) {
    ctx.fillStyle = "#fff";
    ctx.fillRect(0, 0, w, h);
    ctx.strokeStyle = "#808080";
    ctx.lineWidth = Math.max(1, w / 13);
    ctx.strokeRect(0.5, 0.5, w - 1, h - 1);
    if (slot > 0 && slot % 2 === 1) PlatformArt.check(ctx, w, h);
  },
  menuarrow(ctx, w, h) {
    ctx.fillStyle = "#000";
    ctx.beginPath();
    ctx.moveTo(w * 0.38, h * 0.25);
    ctx.lineTo(w * 0.68, h * 0.5);
    ctx.lineTo(w * 0.38, h * 0.75);
    ctx.closePath();
    ctx.fill();
  },
  blank() {},
};

// ---------------------------------------------------------------------------------------------
// Painter: draws display lists in device pixels. Every logical coordinate is rounded to a device
// pixel on its own, so a one-pixel line is one or two whole device pixels at any ratio, never a
// blurred pair.

class Painter {
  // glyphWidths outlives the painter: measuring every character again for each frame cost more
  // than drawing it.
  constructor(ctx, dpr, images, glyphWidths = new Map()) {
    this.ctx = ctx;
    this.dpr = dpr;
    this.images = images;
    this.ox = 0;
    this.oy = 0;
    this.missingImages = 0;
    this.glyphWidths = glyphWidths;
  }

  X(x) { return Math.round((x + this.ox) * this.dpr); }
  Y(y) { return Math.round((y + this.oy) * this.dpr); }

  // Device rectangle of a logical one; empty rectangles stay empty.
  box(l, t, r, b) {
    const x = this.X(l), y = this.Y(t);
    return [x, y, Math.max(0, this.X(r) - x), Math.max(0, this.Y(b) - y)];
  }

  // Draws `list` with its origin at logical (ox, oy), clipped to `clip` (absolute logical pixels).
  drawList(list, ox, oy, clip) {
    if (!list?.length) return;
    const ctx = this.ctx;
    ctx.save();
    if (clip) {
      const x = Math.round(clip[0] * this.dpr), y = Math.round(clip[1] * this.dpr);
      ctx.beginPath();
      ctx.rect(x, y, Math.max(0, Math.round(clip[2] * this.dpr) - x), Math.max(0, Math.round(clip[3] * this.dpr) - y));
      ctx.clip();
    }
    const savedX = this.ox, savedY = this.oy;
    this.ox = ox;
    this.oy = oy;
    for (const op of list) {
      try {
        this.drawOp(op);
      } catch (error) {
        // One bad operation must not cost the rest of the picture.
        console.warn("drawing operation", op?.op, error);
      }
      this.ctx.globalCompositeOperation = "source-over";
    }
    this.ox = savedX;
    this.oy = savedY;
    ctx.restore();
  }

  drawOp(op) {
    switch (op.op) {
    case Op.fillRect: return this.fillRect(op);
    case Op.frameRect: return this.frameRect(op);
    case Op.invertRect: return this.invertRect(op);
    case Op.focusRect: return this.focusRect(op);
    case Op.rectangle: return this.rectangle(op);
    case Op.roundRect: return this.curve(op, "roundRect");
    case Op.ellipse: return this.curve(op, "ellipse");
    case Op.line: return this.line(op);
    case Op.text: return this.text(op);
    case Op.edge: return this.edge(op);
    case Op.image: return this.image(op);
    case Op.blit: return this.blit(op);
    default: return undefined;
    }
  }

  // Sets the context up for a raster mode; false when nothing is to be drawn.
  raster(rop2, color) {
    const ctx = this.ctx;
    ctx.globalCompositeOperation = "source-over";
    switch (rop2 ?? R2.COPYPEN) {
    case R2.NOP: return false;
    case R2.BLACK: ctx.fillStyle = ctx.strokeStyle = "#000000"; return true;
    case R2.WHITE: ctx.fillStyle = ctx.strokeStyle = "#ffffff"; return true;
    case R2.NOTCOPYPEN: ctx.fillStyle = ctx.strokeStyle = css(~color); return true;
    case R2.NOT:
    case R2.XORPEN:
    case R2.NOTXORPEN:
      // Inverting: drawing the same figure twice restores what was under it.
      ctx.globalCompositeOperation = "difference";
      ctx.fillStyle = ctx.strokeStyle = "#ffffff";
      return true;
    default: ctx.fillStyle = ctx.strokeStyle = css(color); return true;
    }
  }

  fillRect(op) {
    if (op.color < 0) return;
    this.ctx.fillStyle = css(op.color);
    this.ctx.fillRect(...this.box(op.left, op.top, op.right, op.bottom));
  }

  // A frame `width` logical pixels wide inside the rectangle, by whole device pixels.
  frameBox(l, t, r, b, width = 1) {
    if (r <= l || b <= t) return;
    const ctx = this.ctx;
    const w = Math.min(width, Math.ceil((r - l) / 2), Math.ceil((b - t) / 2));
    ctx.fillRect(...this.box(l, t, r, t + w));
    ctx.fillRect(...this.box(l, b - w, r, b));
    ctx.fillRect(...this.box(l, t + w, l + w, b - w));
    ctx.fillRect(...this.box(r - w, t + w, r, b - w));
  }

  // A dotted frame, one pixel on, one off, as focus rectangles are drawn.
  dottedFrame(l, t, r, b) {
    const ctx = this.ctx;
    for (let x = l; x < r; x += 2) {
      ctx.fillRect(...this.box(x, t, x + 1, t + 1));
      if (b - 1 > t) ctx.fillRect(...this.box(x, b - 1, x + 1, b));
    }
    for (let y = t + 2; y < b - 1; y += 2) {
      ctx.fillRect(...this.box(l, y, l + 1, y + 1));
      if (r - 1 > l) ctx.fillRect(...this.box(r - 1, y, r, y + 1));
    }
  }

  frameRect(op) {
    if (op.color < 0) return;
    this.ctx.fillStyle = css(op.color);
    this.frameBox(op.left, op.top, op.right, op.bottom);
  }

  focusRect(op) {
    if (!this.raster(R2.NOT, 0)) return;
    this.dottedFrame(op.left, op.top, op.right, op.bottom);
  }

  invertRect(op) {
    this.raster(R2.NOT, 0);
    this.ctx.fillRect(...this.box(op.left, op.top, op.right, op.bottom));
  }

  pen(op) {
    const [style = PS.SOLID, width = 1, color = 0] = Array.isArray(op.pen) ? op.pen : [];
    return { style, width: Math.max(1, width), color };
  }

  rectangle(op) {
    const { left: l, top: t, right: r, bottom: b } = op;
    const pen = this.pen(op);
    const hasPen = pen.style !== PS.NULL;
    if (op.brush >= 0 && this.raster(op.rop2, op.brush)) {
      // Without a pen the fill stops short of the right and bottom edges, as GDI draws it.
      this.ctx.fillRect(...this.box(l, t, hasPen ? r : r - 1, hasPen ? b : b - 1));
    }
    if (hasPen && this.raster(op.rop2, pen.color)) {
      if (pen.style === PS.DOT) this.dottedFrame(l, t, r, b);
      else this.frameBox(l, t, r, b, pen.width);
    }
  }

  curve(op, shape) {
    const ctx = this.ctx;
    const pen = this.pen(op);
    const [x, y, w, h] = this.box(op.left, op.top, op.right, op.bottom);
    const lw = Math.max(1, Math.round(pen.width * this.dpr));
    const inset = pen.style === PS.NULL ? 0 : lw / 2;
    ctx.beginPath();
    if (shape === "ellipse") {
      ctx.ellipse(x + w / 2, y + h / 2, Math.max(0, w / 2 - inset), Math.max(0, h / 2 - inset), 0, 0, Math.PI * 2);
    } else {
      const rx = Math.min(w / 2, ((op.cornerWidth ?? 0) * this.dpr) / 2);
      const ry = Math.min(h / 2, ((op.cornerHeight ?? 0) * this.dpr) / 2);
      ctx.roundRect(x + inset, y + inset, Math.max(0, w - 2 * inset), Math.max(0, h - 2 * inset), { x: rx, y: ry });
    }
    if (op.brush >= 0 && this.raster(op.rop2, op.brush)) ctx.fill();
    if (pen.style !== PS.NULL && this.raster(op.rop2, pen.color)) {
      ctx.lineWidth = lw;
      ctx.setLineDash(this.dash(pen.style));
      ctx.stroke();
      ctx.setLineDash([]);
    }
  }

  dash(style) {
    if (style === PS.DASH) return [6 * this.dpr, 2 * this.dpr];
    if (style === PS.DOT) return [this.dpr, this.dpr];
    return [];
  }

  line(op) {
    const pen = this.pen(op);
    if (pen.style === PS.NULL || !this.raster(op.rop2, pen.color)) return;
    const ctx = this.ctx;
    const { x1, y1, x2, y2 } = op;
    const dotted = pen.style === PS.DOT || pen.style === PS.DASH;
    if ((y1 === y2 || x1 === x2) && !dotted) {
      // Straight lines as filled boxes; the end point is not drawn, as with LineTo.
      const half = Math.floor((pen.width - 1) / 2);
      if (y1 === y2) {
        const [l, r] = x1 <= x2 ? [x1, x2] : [x2 + 1, x1 + 1];
        ctx.fillRect(...this.box(l, y1 - half, r, y1 - half + pen.width));
      } else {
        const [t, b] = y1 <= y2 ? [y1, y2] : [y2 + 1, y1 + 1];
        ctx.fillRect(...this.box(x1 - half, t, x1 - half + pen.width, b));
      }
      return;
    }
    const lw = Math.max(1, Math.round(pen.width * this.dpr));
    const centre = (lw % 2) / 2;
    ctx.lineWidth = lw;
    ctx.setLineDash(this.dash(pen.style));
    ctx.beginPath();
    ctx.moveTo(this.X(x1) + centre, this.Y(y1) + centre);
    ctx.lineTo(this.X(x2) + centre, this.Y(y2) + centre);
    ctx.stroke();
    ctx.setLineDash([]);
  }

  fontCss(font, metric) {
    const style = font?.italic ? "italic " : "";
    const weight = (font?.weight ?? 400) >= 600 ? 700 : 400;
    return `${style}${weight} ${metric.size * this.dpr}px ${FONT_FAMILY}`;
  }

  glyphWidth(fontCss, ch) {
    const key = fontCss + "\u0000" + ch;
    let width = this.glyphWidths.get(key);
    if (width === undefined) {
      width = this.ctx.measureText(ch).width;
      this.glyphWidths.set(key, width);
    }
    return width;
  }

  // Each character at the platform's fixed advance; a glyph wider than its cell is narrowed to fit
  // so that neighbours never overlap and nothing spills past what the layout measured.
  textRun(text, left, top, metric, fontCss, color, underline) {
    const ctx = this.ctx;
    ctx.font = fontCss;
    ctx.fillStyle = color;
    ctx.textBaseline = "alphabetic";
    ctx.textAlign = "left";
    const baseline = this.Y(top + metric.ascent);
    let x = left;
    for (const ch of text) {
      const advance = advanceOf(metric, ch);
      if (ch !== " " && ch !== "\t") {
        const cell = advance * this.dpr;
        const glyph = this.glyphWidth(fontCss, ch);
        const dx = this.X(x);
        if (glyph > cell) {
          ctx.save();
          ctx.translate(dx, baseline);
          ctx.scale(cell / glyph, 1);
          ctx.fillText(ch, 0, 0);
          ctx.restore();
        } else {
          ctx.fillText(ch, dx + (cell - glyph) / 2, baseline);
        }
      }
      x += advance;
    }
    if (underline) {
      const y = top + metric.ascent + 1;
      ctx.fillRect(...this.box(left, y, x, y + 1));
    }
  }

  text(op) {
    const { left: l, top: t, right: r, bottom: b } = op;
    const font = op.fontInfo;
    const metric = fontMetric(font);
    const fontCss = this.fontCss(font, metric);
    const text = String(op.text ?? "");
    const disabled = (op.state ?? 0) & DSS_DISABLED;
    if (op.background >= 0 && !disabled) {
      this.ctx.fillStyle = css(op.background);
      this.ctx.fillRect(...this.box(l, t, Math.max(r, l + textWidth(metric, text)), Math.max(b, t + metric.height)));
    }
    const underline = !!font?.underline;
    if (disabled) {
      // Disabled text is embossed: a light copy one pixel down and right under the grey one.
      this.textRun(text, l + 1, t + 1, metric, fontCss, css(SYS[COLOR.BTNHIGHLIGHT]), underline);
      this.textRun(text, l, t, metric, fontCss, css(SYS[COLOR.BTNSHADOW]), underline);
    } else {
      this.textRun(text, l, t, metric, fontCss, css(op.color ?? 0), underline);
    }
  }

  edge(op) {
    let { left: l, top: t, right: r, bottom: b } = op;
    const edge = op.edge ?? 0;
    const flags = op.flags ?? 0;
    const ctx = this.ctx;
    const side = (color, topLeft) => {
      ctx.fillStyle = css(SYS[color]);
      if (topLeft) {
        if (flags & BF.TOP) ctx.fillRect(...this.box(l, t, r, t + 1));
        if (flags & BF.LEFT) ctx.fillRect(...this.box(l, t, l + 1, b));
      } else {
        if (flags & BF.BOTTOM) ctx.fillRect(...this.box(l, b - 1, r, b));
        if (flags & BF.RIGHT) ctx.fillRect(...this.box(r - 1, t, r, b));
      }
    };
    // One ring of the edge: the bottom-right side first so that the top-left wins the corners.
    const ring = (lightColor, darkColor) => {
      if (r - l <= 0 || b - t <= 0) return;
      side(darkColor, false);
      side(lightColor, true);
      if (flags & BF.LEFT) l += 1;
      if (flags & BF.TOP) t += 1;
      if (flags & BF.RIGHT) r -= 1;
      if (flags & BF.BOTTOM) b -= 1;
    };
    const outer = edge & (BDR.RAISEDOUTER | BDR.SUNKENOUTER);
    const inner = edge & (BDR.RAISEDINNER | BDR.SUNKENINNER);
    if (flags & BF.MONO) {
      if (outer) ring(COLOR.WINDOWFRAME, COLOR.WINDOWFRAME);
      if (inner) ring(COLOR.WINDOW, COLOR.WINDOW);
    } else if (flags & BF.FLAT) {
      if (outer) ring(COLOR.BTNSHADOW, COLOR.BTNSHADOW);
      if (inner) ring(COLOR.BTNFACE, COLOR.BTNFACE);
    } else {
      if (outer & BDR.RAISEDOUTER) ring(COLOR.LIGHT, COLOR.DKSHADOW);
      else if (outer & BDR.SUNKENOUTER) ring(COLOR.BTNSHADOW, COLOR.BTNHIGHLIGHT);
      if (inner & BDR.RAISEDINNER) ring(COLOR.BTNHIGHLIGHT, COLOR.BTNSHADOW);
      else if (inner & BDR.SUNKENINNER) ring(COLOR.DKSHADOW, COLOR.LIGHT);
    }
    if (flags & BF.MIDDLE && r > l && b > t) {
      ctx.fillStyle = css(SYS[COLOR.BTNFACE]);
      ctx.fillRect(...this.box(l, t, r, b));
    }
  }

  image(op) {
    const { left: l, top: t, right: r, bottom: b } = op;
    const state = op.state ?? 0;
    const [x, y, w, h] = this.box(l, t, r, b);
    const ctx = this.ctx;
    let drawn = w > 0 && h > 0;
    ctx.save();
    if (state & DSS_DISABLED) ctx.filter = "grayscale(1) opacity(0.5)";
    if (op.dragText) ctx.globalAlpha = 0.6;
    if (drawn) drawn = this.artwork(String(op.key ?? ""), op.slot ?? -1, r - l, b - t, x, y, w, h);
    ctx.restore();
    const blend = state & ILD_BLEND50 ? 0.5 : state & ILD_BLEND25 ? 0.25 : 0;
    if (blend && drawn) {
      // Selected images are tinted with the highlight colour, as image lists draw them.
      ctx.save();
      ctx.globalAlpha = blend;
      ctx.fillStyle = css(SYS[COLOR.HIGHLIGHT]);
      ctx.fillRect(x, y, w, h);
      ctx.restore();
    }
    if (op.dragText) {
      // A drag image: its picture with the dragged name after it.
      const metric = fontMetric(null);
      ctx.save();
      ctx.globalAlpha = 0.6;
      this.textRun(String(op.dragText), r + 2, t + Math.max(0, Math.floor((b - t - metric.height) / 2)), metric,
        this.fontCss(null, metric), "#000000", false);
      ctx.restore();
    }
  }

  // True when something was drawn. Platform images without a file are drawn here; others come
  // from the manifest, a strip's slot being a cell as wide as the destination.
  artwork(key, slot, logicalW, logicalH, x, y, w, h) {
    if (!key) return false;
    const entry = this.images.entry(key);
    if (key.startsWith("platform/") && !entry?.url) {
      PlatformArt.draw(this.ctx, key.split("/").pop(), x, y, w, h, slot);
      return true;
    }
    const image = this.images.image(key);
    if (!image) {
      this.missingImages += 1;
      return false;
    }
    const naturalW = image.naturalWidth, naturalH = image.naturalHeight;
    const declaredW = entry?.size?.[0] || naturalW;
    const scale = naturalW / Math.max(1, declaredW);
    const cellW = logicalW * scale;
    if (slot >= 0 && (slot + 1) * cellW <= naturalW + 0.5) {
      this.ctx.drawImage(image, slot * cellW, 0, cellW, Math.min(naturalH, logicalH * scale), x, y, w, h);
    } else {
      this.ctx.drawImage(image, 0, 0, naturalW, naturalH, x, y, w, h);
    }
    return true;
  }

  blit(op) {
    const { left: l, top: t, right: r, bottom: b } = op;
    const clip = [l + this.ox, t + this.oy, r + this.ox, b + this.oy];
    this.drawList(op.ops, this.ox + l - (op.srcX ?? 0), this.oy + t - (op.srcY ?? 0), clip);
  }
}

// ---------------------------------------------------------------------------------------------
// The scene: the window tree as the container last described it. Windows keep the wire's names:
// h, parent, z, cls, id, style, rect, client, text, visible, enabledTree, rows, items.

class Scene {
  constructor() {
    this.windows = new Map(); // handle -> window
    this.order = null;        // painting order, when the container sent one
    this.focus = 0;
    this.active = 0;
    this.capture = 0;
    this.screenOverlay = [];
    this.screen = null;
  }

  reset() {
    this.windows.clear();
    this.order = null;
    this.focus = this.active = this.capture = 0;
    this.screenOverlay = [];
  }

  window(handle) {
    let window = this.windows.get(handle);
    if (!window) {
      window = { h: handle, parent: 0, z: 0, visible: false, picture: [], frame: [], overlay: [] };
      this.windows.set(handle, window);
    }
    return window;
  }

  get(handle) { return this.windows.get(handle); }

  children(handle) {
    const list = [];
    for (const window of this.windows.values()) if ((window.parent || 0) === handle) list.push(window);
    // z 0 is the top: bottom first.
    return list.sort((a, b) => (b.z ?? 0) - (a.z ?? 0));
  }

  // Parents before children, siblings from the bottom of the z-order up.
  paintOrder() {
    if (this.order) {
      const listed = this.order.map((handle) => this.windows.get(handle)).filter(Boolean);
      if (listed.length === this.windows.size) return listed;
    }
    const out = [];
    const walk = (window) => {
      out.push(window);
      for (const child of this.children(window.h)) walk(child);
    };
    const roots = [...this.windows.values()].filter((w) => !w.parent || !this.windows.has(w.parent));
    roots.sort((a, b) => (b.z ?? 0) - (a.z ?? 0)).forEach(walk);
    return out;
  }

  // A rectangle as far as the window's ancestors' client areas let it show.
  visibleClip(window, rect) {
    let [l, t, r, b] = rect;
    for (let parent = this.windows.get(window.parent); parent; parent = this.windows.get(parent.parent)) {
      const c = parent.client;
      if (!c) break;
      l = Math.max(l, c[0]); t = Math.max(t, c[1]); r = Math.min(r, c[2]); b = Math.min(b, c[3]);
    }
    return [l, t, Math.max(l, r), Math.max(t, b)];
  }

  // The deepest visible window under a screen point.
  windowAt(x, y) {
    let found = null;
    for (const window of this.paintOrder()) {
      if (!window.visible || !window.rect) continue;
      const [l, t, r, b] = this.visibleClip(window, window.rect);
      if (x >= l && x < r && y >= t && y < b) found = window;
    }
    return found;
  }
}

// ---------------------------------------------------------------------------------------------
// Renderer: the canvas, its backing store at device pixels, and drawing the scene.

class Renderer {
  constructor(canvas, scene, images) {
    this.canvas = canvas;
    this.scene = scene;
    this.images = images;
    this.ctx = canvas.getContext("2d", { alpha: false });
    this.dpr = 1;
    this.frames = 0;
    this.pending = false;
    this.missingImages = 0;
    this.glyphWidths = new Map();
  }

  // Size in CSS pixels; the backing store follows the device pixel ratio.
  resize(width, height, dpr) {
    this.dpr = dpr;
    this.canvas.width = Math.max(1, Math.round(width * dpr));
    this.canvas.height = Math.max(1, Math.round(height * dpr));
    this.canvas.style.width = `${width}px`;
    this.canvas.style.height = `${height}px`;
  }

  draw() {
    this.pending = false;
    const ctx = this.ctx;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.globalCompositeOperation = "source-over";
    ctx.fillStyle = css(SYS[COLOR.BTNFACE]);
    ctx.fillRect(0, 0, this.canvas.width, this.canvas.height);
    const painter = new Painter(ctx, this.dpr, this.images, this.glyphWidths);
    for (const window of this.scene.paintOrder()) {
      if (!window.visible || !window.rect) continue;
      const wr = window.rect;
      const cr = window.client || wr;
      painter.drawList(window.frame, wr[0], wr[1], this.scene.visibleClip(window, wr));
      painter.drawList(window.picture, cr[0], cr[1], this.scene.visibleClip(window, cr));
    }
    // Overlays are inverting figures over everything drawn, children included.
    for (const window of this.scene.paintOrder()) {
      if (!window.visible || !window.client || !window.overlay?.length) continue;
      const cr = window.client;
      painter.drawList(window.overlay, cr[0], cr[1], this.scene.visibleClip(window, cr));
    }
    painter.drawList(this.scene.screenOverlay, 0, 0, null);
    this.frames += 1;
    this.missingImages = painter.missingImages;
  }

  // Drawn on the next animation frame, once, however many reasons arrive meanwhile.
  schedule() {
    if (this.pending) return;
    this.pending = true;
    requestAnimationFrame(() => this.draw());
  }
}

// ---------------------------------------------------------------------------------------------
// Caret and input method composition: a blinking bar over the canvas at the platform's caret, and
// the text being composed drawn there.

class CaretView {
  constructor(area, scene) {
    this.scene = scene;
    this.bar = document.createElement("div");
    this.bar.id = "caret";
    this.bar.hidden = true;
    this.composition = document.createElement("div");
    this.composition.id = "composition";
    this.composition.hidden = true;
    area.append(this.bar, this.composition);
    this.state = null;
    this.timer = 0;
    this.placed = "";
  }

  set(state) {
    this.state = state;
    this.place();
  }

  // The caret on the screen, or null.
  screenRect() {
    const state = this.state;
    if (!state?.h) return null;
    const window = this.scene.get(state.h);
    if (!window?.visible || !window.client) return null;
    const [l, t, r, b] = state.rect;
    const [x, y] = window.client;
    return [l + x, t + y, r + x, b + y];
  }

  place() {
    const rect = this.state?.visible ? this.screenRect() : null;
    const placed = rect ? `${rect.join(",")}/${this.state.blink}` : "";
    if (placed === this.placed) return; // an unchanged caret keeps its blink phase
    this.placed = placed;
    clearInterval(this.timer);
    const bar = this.bar;
    bar.hidden = !rect;
    if (rect) {
      bar.style.left = `${rect[0]}px`;
      bar.style.top = `${rect[1]}px`;
      bar.style.width = `${Math.max(1, rect[2] - rect[0])}px`;
      bar.style.height = `${Math.max(1, rect[3] - rect[1])}px`;
      bar.classList.remove("off");
      const blink = this.state.blink > 0 ? this.state.blink : 530;
      this.timer = setInterval(() => bar.classList.toggle("off"), blink);
    }
    this.placeComposition();
  }

  compose(text) {
    this.composition.textContent = text;
    this.composition.hidden = !text;
    this.bar.classList.toggle("composing", !!text);
    this.placeComposition();
  }

  placeComposition() {
    const rect = this.screenRect();
    if (!rect || this.composition.hidden) return;
    const height = Math.max(12, rect[3] - rect[1]);
    Object.assign(this.composition.style, {
      left: `${rect[0]}px`, top: `${rect[1]}px`, height: `${height}px`, fontSize: `${height}px`,
      lineHeight: `${height}px`,
    });
  }
}

// ---------------------------------------------------------------------------------------------
// Cursor: the platform's cursor names as CSS cursors; a cursor with artwork from its image.

const CSS_CURSORS = {
  arrow: "default", ibeam: "text", wait: "wait", cross: "crosshair", sizenwse: "nwse-resize",
  sizenesw: "nesw-resize", sizewe: "ew-resize", sizens: "ns-resize", sizeall: "move", no: "not-allowed",
  hand: "pointer", appstarting: "progress", help: "help", uparrow: "default",
};

function cursorCss(message) {
  const fallback = message.css || CSS_CURSORS[message.name] || "default";
  if (!message.image) return fallback;
  const [x, y] = Array.isArray(message.hotspot) ? message.hotspot : [0, 0];
  return `url("${withToken(message.image)}") ${x} ${y}, ${fallback === "default" ? "pointer" : fallback}`;
}

// ---------------------------------------------------------------------------------------------
// Accessibility: every visible window as an element over the canvas, with the role that fits, its
// text as name, its state and bounds, and data-hwnd, data-class and data-id for tests.

const BS_TYPEMASK = 0xf;
const ES_MULTILINE = 0x4;
const ES_PASSWORD = 0x20;
const ES_READONLY = 0x800;
const SS_TYPEMASK = 0x1f;

function stripPrefix(text) {
  return String(text || "").replace(/&(&?)/g, (_, amp) => amp);
}

function roleOf(window) {
  const style = window.style >>> 0;
  switch (String(window.cls || "").toLowerCase()) {
  case "#32770": return "dialog";
  case "button":
    switch (style & BS_TYPEMASK) {
    case 2: case 3: case 5: case 6: return "checkbox";
    case 4: case 9: return "radio";
    case 7: return "group";
    default: return "button";
    }
  case "edit": return "textbox";
  case "combobox": return "combobox";
  case "combolbox":
  case "listbox": return "listbox";
  case "syslistview32": return "grid";
  case "systreeview32": return "tree";
  case "#32768": return "menu";
  case "scrollbar": return "scrollbar";
  case "msctls_progress32": return "progressbar";
  case "systabcontrol32": return "tablist";
  case "static": return [0x3, 0xe].includes(style & SS_TYPEMASK) ? "img" : "note";
  default: return window.parent ? "group" : "region";
  }
}

function setAria(element, name, value) {
  if (value === null || value === undefined || value === false) element.removeAttribute(name);
  else if (element.getAttribute(name) !== String(value)) element.setAttribute(name, String(value));
}

function place(element, left, top, width, height) {
  element.style.left = `${left}px`;
  element.style.top = `${top}px`;
  element.style.width = `${Math.max(0, width)}px`;
  element.style.height = `${Math.max(0, height)}px`;
}

class AccessibilityTree {
  constructor(root, scene) {
    this.root = root;
    this.scene = scene;
    this.nodes = new Map(); // handle -> element
  }

  // An edit's or combo box's name: the static text created just before it, as dialogs are laid out.
  labelOf(window, tabOrder) {
    const index = tabOrder.indexOf(window);
    const before = tabOrder[index - 1];
    if (before && String(before.cls).toLowerCase() === "static" && before.text) return stripPrefix(before.text);
    return "";
  }

  update() {
    const seen = new Set();
    const build = (parentHandle, container, origin) => {
      // Top of the z-order first: the order a reader and the Tab key walk them.
      const tabOrder = this.scene.children(parentHandle).reverse();
      let anchor = container.firstChild;
      if (anchor?.classList?.contains("a11y-items")) anchor = anchor.nextSibling;
      for (const window of tabOrder) {
        if (!window.visible || !window.rect) continue;
        seen.add(window.h);
        const element = this.element(window);
        this.fill(element, window, origin, tabOrder);
        if (element !== anchor) container.insertBefore(element, anchor);
        anchor = element.nextSibling;
        build(window.h, element, window.rect);
      }
    };
    build(0, this.root, [0, 0]);
    for (const [handle, element] of this.nodes) {
      if (!seen.has(handle)) {
        element.remove();
        this.nodes.delete(handle);
      }
    }
  }

  element(window) {
    let element = this.nodes.get(window.h);
    if (!element) {
      element = document.createElement("div");
      element.className = "a11y";
      element.dataset.hwnd = String(window.h);
      this.nodes.set(window.h, element);
    }
    return element;
  }

  fill(element, window, origin, tabOrder) {
    const role = roleOf(window);
    const [l, t, r, b] = window.rect;
    element.setAttribute("role", role);
    element.dataset.class = String(window.cls || "");
    element.dataset.id = String(window.id ?? 0);
    place(element, l - origin[0], t - origin[1], r - l, b - t);
    const text = stripPrefix(window.text);
    const style = window.style >>> 0;
    let name = text;
    if (role === "textbox" || role === "combobox") {
      name = this.labelOf(window, tabOrder);
      const secret = role === "textbox" && style & ES_PASSWORD;
      if (secret) delete element.dataset.value;
      else element.dataset.value = text;
      setAria(element, "aria-multiline", role === "textbox" && style & ES_MULTILINE ? "true" : null);
      setAria(element, "aria-readonly", role === "textbox" && style & ES_READONLY ? "true" : null);
    }
    setAria(element, "aria-label", name || null);
    setAria(element, "aria-disabled", window.enabledTree === false ? "true" : null);
    // BM_GETCHECK's value: 2 is a three-state box's third state.
    if (role === "checkbox" || role === "radio") {
      setAria(element, "aria-checked", window.checked === 2 && role === "checkbox" ? "mixed" : window.checked ? "true" : "false");
    }
    if (this.scene.focus === window.h) element.dataset.focused = "1";
    else delete element.dataset.focused;
    this.fillItems(element, window, role);
  }

  // The visible rows of a list view and items of a tree view, placed over the client area.
  fillItems(element, window, role) {
    const items = role === "grid" ? window.rows : role === "tree" ? window.items : null;
    let holder = element.querySelector(":scope > .a11y-items");
    if (!Array.isArray(items)) {
      holder?.remove();
      return;
    }
    if (!holder) {
      holder = document.createElement("div");
      holder.className = "a11y-items";
      holder.setAttribute("role", role === "grid" ? "rowgroup" : "group");
      element.prepend(holder);
    }
    const client = window.client || window.rect;
    place(holder, client[0] - window.rect[0], client[1] - window.rect[1], client[2] - client[0], client[3] - client[1]);
    const nodes = holder.children;
    while (nodes.length > items.length) nodes[nodes.length - 1].remove();
    items.forEach((item, index) => {
      let node = nodes[index];
      if (!node) {
        node = document.createElement("div");
        node.className = "a11y";
        holder.append(node);
      }
      const rect = Array.isArray(item.rect) ? item.rect : [0, 0, 0, 0];
      place(node, rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
      setAria(node, "aria-selected", item.sel ? "true" : "false");
      if (role === "grid") this.fillRow(node, item, window.columns);
      else this.fillTreeItem(node, item);
    });
  }

  fillRow(node, row, columns) {
    node.setAttribute("role", "row");
    node.dataset.index = String(row.i ?? 0);
    const cells = Array.isArray(row.cells) ? row.cells : [];
    setAria(node, "aria-label", stripPrefix(cells[0] ?? "") || null);
    if (row.focus) node.dataset.focused = "1";
    else delete node.dataset.focused;
    while (node.children.length > cells.length) node.lastChild.remove();
    let x = 0;
    cells.forEach((cell, index) => {
      let element = node.children[index];
      if (!element) {
        element = document.createElement("div");
        element.className = "a11y";
        element.setAttribute("role", "gridcell");
        node.append(element);
      }
      element.textContent = String(cell);
      const width = columns?.[index]?.width ?? 0;
      const height = (row.rect?.[3] ?? 0) - (row.rect?.[1] ?? 0);
      place(element, x, 0, width || ((row.rect?.[2] ?? 0) - (row.rect?.[0] ?? 0)), height);
      x += width;
    });
  }

  fillTreeItem(node, item) {
    node.setAttribute("role", "treeitem");
    setAria(node, "aria-label", stripPrefix(item.text) || null);
    setAria(node, "aria-level", String((item.level ?? 0) + 1));
    setAria(node, "aria-expanded", item.children ? (item.expanded ? "true" : "false") : null);
  }
}

// ---------------------------------------------------------------------------------------------
// Input: mouse, wheel and keys go to the container in control-area pixels; a hidden text field
// keeps the browser's focus so its input method composes there.

const MODIFIER_BITS = {
  ShiftLeft: Modifier.shiftLeft, ShiftRight: Modifier.shiftRight, ControlLeft: Modifier.controlLeft,
  ControlRight: Modifier.controlRight, AltLeft: Modifier.altLeft, AltRight: Modifier.altRight,
  MetaLeft: Modifier.metaLeft, MetaRight: Modifier.metaRight,
};
const MODIFIER_FLAGS = [["shiftKey", "ShiftLeft", "ShiftRight"], ["ctrlKey", "ControlLeft", "ControlRight"],
  ["altKey", "AltLeft", "AltRight"], ["metaKey", "MetaLeft", "MetaRight"]];
// Keys whose browser default (focus moves, scrolling, the browser's own tools) must not happen.
const PLATFORM_KEYS = /^(Tab|Enter|Escape|Backspace|Delete|Insert|Home|End|PageUp|PageDown|Arrow\w+|F\d+|ContextMenu)$/;

class InputCapture {
  constructor(area, field, send, caret) {
    this.area = area;
    this.field = field;
    this.send = send;
    this.caret = caret;
    this.held = new Set(); // modifier codes held, so left and right are told apart
    this.composing = false;
    this.committed = null;
    this.buttons = 0;
    this.wheelRest = 0;
    this.pendingPaste = null;
    this.selectionPaste = false; // a middle click's paste of the desktop selection is under way
    this.onGesture = null;
    this.listen();
  }

  // The modifier bits held, by side; the event's own flags correct keys released unseen.
  modifiers(event) {
    for (const [flag, left, right] of MODIFIER_FLAGS) {
      if (!event[flag]) {
        this.held.delete(left);
        this.held.delete(right);
      } else if (!this.held.has(left) && !this.held.has(right)) {
        this.held.add(left);
      }
    }
    let bits = 0;
    for (const code of this.held) bits |= MODIFIER_BITS[code] ?? 0;
    return bits;
  }

  point(event) {
    const box = this.area.getBoundingClientRect();
    return { x: Math.floor(event.clientX - box.left), y: Math.floor(event.clientY - box.top) };
  }

  focusField() {
    if (document.activeElement !== this.field) this.field.focus({ preventScroll: true });
  }

  listen() {
    const area = this.area;
    area.addEventListener("pointerdown", (e) => this.pointer(e, MouseAction.down));
    area.addEventListener("pointerup", (e) => this.pointer(e, MouseAction.up));
    area.addEventListener("pointercancel", (e) => this.pointer(e, MouseAction.up));
    area.addEventListener("pointermove", (e) => this.pointer(e, MouseAction.move));
    // The platform decides what a click focuses; the browser's focus stays in the text field.
    area.addEventListener("mousedown", (e) => { e.preventDefault(); this.focusField(); });
    area.addEventListener("contextmenu", (e) => e.preventDefault());
    area.addEventListener("dragstart", (e) => e.preventDefault());
    area.addEventListener("wheel", (e) => this.wheel(e), { passive: false });
    const field = this.field;
    field.addEventListener("keydown", (e) => this.key(e, true));
    field.addEventListener("keyup", (e) => this.key(e, false));
    field.addEventListener("compositionstart", () => { this.composing = true; this.caret.compose(""); });
    field.addEventListener("compositionupdate", (e) => this.caret.compose(e.data || ""));
    field.addEventListener("compositionend", (e) => this.compositionEnd(e));
    field.addEventListener("input", (e) => this.input(e));
    field.addEventListener("paste", (e) => this.paste(e));
    window.addEventListener("blur", () => this.releaseAll());
    this.focusField();
  }

  gesture() {
    if (this.onGesture) this.onGesture();
  }

  pointer(event, action) {
    const bit = 1 << event.button;
    if (action === MouseAction.down) {
      this.focusField();
      this.area.setPointerCapture?.(event.pointerId);
      this.buttons |= bit;
      event.preventDefault();
    } else if (action === MouseAction.up) {
      // A release the page never saw pressed (the press went to the browser) is not sent.
      if (!(this.buttons & bit)) return;
      this.buttons &= ~bit;
      // On Linux the middle button's release pastes the desktop's selection into the focused
      // field, which would put whatever happened to be selected on the platform's clipboard.
      if (event.button === 1) {
        this.selectionPaste = true;
        setTimeout(() => { this.selectionPaste = false; }, 0);
      }
    }
    const { x, y } = this.point(event);
    const message = { k: ToHost.mouse, action, x, y, mods: this.modifiers(event) };
    if (action !== MouseAction.move) {
      message.button = event.button === 1 ? MouseButton.middle : event.button === 2 ? MouseButton.right : MouseButton.left;
    }
    this.send(message);
    if (action !== MouseAction.move) this.gesture();
  }

  wheel(event) {
    event.preventDefault();
    // One notch is 120 units: 100 pixels, 3 lines or one page of the browser's wheel.
    const perNotch = event.deltaMode === 1 ? 3 : event.deltaMode === 2 ? 1 : 100;
    this.wheelRest += event.deltaY / perNotch;
    const notches = Math.trunc(this.wheelRest);
    if (notches === 0) return;
    this.wheelRest -= notches;
    const { x, y } = this.point(event);
    this.send({ k: ToHost.wheel, x, y, delta: -notches * 120, mods: this.modifiers(event) });
  }

  key(event, down) {
    if (event.isComposing || event.keyCode === 229) return; // the input method's own keys
    if (MODIFIER_BITS[event.code] !== undefined) {
      if (down) this.held.add(event.code);
      else this.held.delete(event.code);
    }
    const mods = down && MODIFIER_BITS[event.code] !== undefined
      ? this.modifiersKeeping(event) : this.modifiers(event);
    const message = { k: ToHost.key, code: event.code, key: event.key, down, repeat: event.repeat, mods };
    if (down) this.gesture();
    if (down && this.isPaste(event)) {
      // The paste event follows; its text must reach the platform's clipboard before the keys.
      this.flushPaste();
      this.pendingPaste = message;
      setTimeout(() => this.flushPaste(), 0);
      return;
    }
    this.send(message);
    const printable = [...event.key].length === 1;
    const command = event.ctrlKey || event.metaKey || event.altKey;
    if (down && this.isCopyOrCut(event)) return; // the browser's own copy event runs in the gesture
    // The platform types the character itself; the field must not collect it too.
    if (down && (printable || command || PLATFORM_KEYS.test(event.key))) event.preventDefault();
  }

  // The modifier that just went down counts even before the browser's flags show it.
  modifiersKeeping(event) {
    const code = event.code;
    const bits = this.modifiers(event);
    this.held.add(code);
    return bits | MODIFIER_BITS[code];
  }

  isPaste(event) {
    return (event.ctrlKey && !event.altKey && event.code === "KeyV") || (event.shiftKey && event.code === "Insert");
  }

  isCopyOrCut(event) {
    return event.ctrlKey && !event.altKey && (event.code === "KeyC" || event.code === "KeyX" || event.code === "Insert");
  }

  flushPaste() {
    if (!this.pendingPaste) return;
    const message = this.pendingPaste;
    this.pendingPaste = null;
    this.send(message);
  }

  paste(event) {
    event.preventDefault();
    if (this.selectionPaste) return;
    const text = event.clipboardData?.getData("text/plain") ?? "";
    this.send({ k: ToHost.clipboard, text });
    this.flushPaste();
  }

  compositionEnd(event) {
    this.composing = false;
    this.caret.compose("");
    const text = event.data || "";
    if (text) {
      this.send({ k: ToHost.text, text, ime: true });
      // The same text may come again in the input event that closes the composition.
      this.committed = text;
      setTimeout(() => { this.committed = null; }, 0);
    }
    this.field.value = "";
  }

  input(event) {
    if (event.isComposing || this.composing) return;
    const text = event.data ?? "";
    this.field.value = "";
    if (!text || event.inputType === "insertFromPaste") return;
    if (this.committed !== null && text === this.committed) {
      this.committed = null;
      return;
    }
    // Text inserted without keys (an input method committing at once, dictation) is composed text.
    this.send({ k: ToHost.text, text, ime: true });
  }

  // Keys held when the window lost the focus would stay down in the platform.
  releaseAll() {
    for (const code of [...this.held]) {
      this.held.delete(code);
      this.send({ k: ToHost.key, code, key: code.replace(/(Left|Right)$/, ""), down: false, repeat: false,
        mods: [...this.held].reduce((bits, held) => bits | MODIFIER_BITS[held], 0) });
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The page itself.

class ControlObject {
  constructor(page) {
    this.page = page;
    this.OnOstranaLoaded = null;
    for (const name of ["DisplayType", "varAuth", "varUserID", "varHostName"]) {
      let value = "";
      Object.defineProperty(this, name, {
        get: () => value,
        set: (v) => { value = String(v); this.page.send({ k: ToHost.property, name, value }); },
        enumerable: true,
      });
    }
  }

  StartOstrana() { this.page.send({ k: ToHost.method, name: "StartOstrana" }); }

  fire(name) {
    document.body.dataset[`fired${name}`] = "1";
    const handler = this[name];
    if (typeof handler === "function") handler.call(this);
  }
}

// ---------------------------------------------------------------------------------------------
// Web views: the platform's web view windows show the page they are at in a frame over their
// client area. The frame is sandboxed without the page's origin, so what it shows can reach
// neither the token nor the socket. A window above the web view (a menu, a dialog) hides the
// frame, which would otherwise cover it.

const WEB_VIEW_CLASS = "ostranawebview";

class WebViews {
  constructor(layer, scene) {
    this.layer = layer;
    this.scene = scene;
    this.frames = new Map(); // handle -> iframe
  }

  update() {
    const order = this.scene.paintOrder();
    const shown = new Set();
    order.forEach((window, index) => {
      if (String(window.cls || "").toLowerCase() !== WEB_VIEW_CLASS || !window.visible || !window.client) return;
      const url = String(window.url || "");
      if (!/^https?:\/\/[^\s"<>\\]+$/i.test(url)) return;
      const [l, t, r, b] = this.scene.visibleClip(window, window.client);
      if (r <= l || b <= t) return;
      shown.add(window.h);
      const frame = this.frame(window.h);
      if (frame.getAttribute("src") !== url) {
        frame.src = url;
        frame.title = url;
      }
      place(frame, l, t, r - l, b - t);
      frame.hidden = this.covered(order, index, [l, t, r, b]);
    });
    for (const [handle, frame] of this.frames) {
      if (shown.has(handle)) continue;
      frame.remove();
      this.frames.delete(handle);
    }
  }

  frame(handle) {
    let frame = this.frames.get(handle);
    if (!frame) {
      frame = document.createElement("iframe");
      frame.className = "webview";
      frame.setAttribute("sandbox", "allow-scripts allow-forms");
      // The page's own address carries its token.
      frame.referrerPolicy = "no-referrer";
      frame.dataset.hwnd = String(handle);
      this.layer.append(frame);
      this.frames.set(handle, frame);
    }
    return frame;
  }

  // Whether a window painted after the web view, other than its own children, overlaps `rect`.
  covered(order, index, rect) {
    const web = order[index].h;
    for (const other of order.slice(index + 1)) {
      if (!other.visible || !other.rect || this.descends(other, web)) continue;
      const [l, t, r, b] = this.scene.visibleClip(other, other.rect);
      if (l < rect[2] && r > rect[0] && t < rect[3] && b > rect[1]) return true;
    }
    return false;
  }

  descends(window, ancestor) {
    for (let parent = this.scene.get(window.parent); parent; parent = this.scene.get(parent.parent))
      if (parent.h === ancestor) return true;
    return false;
  }
}

class OstranaPage {
  constructor() {
    this.area = document.getElementById("control-area");
    this.status = document.getElementById("status");
    this.field = document.getElementById("ime");
    this.scene = new Scene();
    this.images = new ImageStore(() => this.renderer.schedule());
    this.renderer = new Renderer(document.getElementById("screen"), this.scene, this.images);
    this.caret = new CaretView(this.area, this.scene);
    this.a11y = new AccessibilityTree(document.getElementById("a11y"), this.scene);
    this.webViews = new WebViews(document.getElementById("webviews"), this.scene);
    this.socket = null;
    this.superseded = false;
    this.started = false;
    this.frame = [];       // messages of the frame being received
    this.caretState = null;
    this.clipboardText = null;
    this.lastSize = "";
    this.lastFrame = 0;
    // Offline, the page draws only what is replayed into it and keeps what it would have sent;
    // the rendering tests and the benchmarks run it so.
    this.offline = new URLSearchParams(location.search).has("offline");
    this.sent = [];
    this.input = new InputCapture(this.area, this.field, (m) => this.send(m), this.caret);
    this.input.onGesture = () => this.copyPending();
    this.control = new ControlObject(this);
    window.ostranaControl = this.control;
    this.watchSize();
  }

  send(message) {
    if (this.superseded) return;
    if (this.offline) {
      this.sent.push(message);
      return;
    }
    if (this.socket?.readyState === WebSocket.OPEN) this.socket.send(JSON.stringify(message));
  }

  connect() {
    if (this.offline) return;
    const socket = new WebSocket(`ws://${location.host}/ws?t=${encodeURIComponent(token)}`);
    this.socket = socket;
    socket.addEventListener("message", (event) => {
      const message = parseMessage(event.data);
      if (message) this.receive(message); // else not ours; nothing the page can do with it
    });
    socket.addEventListener("close", () => {
      document.body.dataset.closed = "1";
      if (!this.superseded) this.status.textContent = "연결이 끊어졌습니다";
    });
  }

  // Messages of a frame may come in any order, so they wait for the frame's end.
  receive(message) {
    document.body.dataset.lastKind = String(message.k);
    switch (message.k) {
    case ToPage.hello: return this.hello(message);
    case ToPage.superseded: return this.supersede();
    case ToPage.frameEnd: return this.frameEnd(message);
    case ToPage.event: return this.control.fire(String(message.name));
    case ToPage.openUrl: return this.openUrl(message.url);
    case ToPage.clipboard: return this.clipboard(message.text);
    default:
      this.frame.push(message);
      return undefined;
    }
  }

  hello(message) {
    this.status.textContent = message.version === PROTOCOL_VERSION ? "" : "버전이 맞지 않습니다";
    // A new connection starts from the whole state.
    this.scene.reset();
    this.frame = [];
    this.lastFrame = 0;
    this.caretState = null;
    setSysColors(message.sysColors);
    if (Array.isArray(message.screen)) this.scene.screen = message.screen;
    this.sendSize(true);
    if (!this.started && !this.offline) {
      this.started = true;
      startFromAddress(this.control);
    }
  }

  supersede() {
    this.superseded = true;
    this.status.textContent = "다른 탭에서 열려 이 탭은 더 이상 쓰이지 않습니다";
    document.body.dataset.superseded = "1";
    // Each open socket holds one of the container's few server threads; a tab that only shows
    // the notice must not keep one, or a few taken-over tabs would lock out the next.
    this.socket?.close();
  }

  // Applies a whole frame, says so and draws it. The acknowledgement goes before the drawing so
  // that the container can make the next frame meanwhile; that frame waits in the socket until
  // this one is drawn.
  frameEnd(message) {
    const gone = [];
    for (const change of this.frame) this.apply(change, gone);
    for (const handle of gone) this.scene.windows.delete(handle);
    this.frame = [];
    this.lastFrame = message.frame;
    this.send({ k: ToHost.ack, frame: message.frame });
    this.renderer.draw();
    this.a11y.update();
    this.webViews.update();
    this.caret.set(this.caretState);
    this.placeField();
    this.hideFormOnceStarted();
    document.body.dataset.frame = String(message.frame);
  }

  // A tab opened without the parameters onto a program that already runs has nothing to start:
  // the form would only cover what the program shows.
  hideFormOnceStarted() {
    const form = document.getElementById("connect");
    if (form.hidden) return;
    for (const window of this.scene.windows.values()) {
      if (window.cls === "#32770" && window.visible) {
        form.hidden = true;
        return;
      }
    }
  }

  apply(message, gone) {
    const scene = this.scene;
    switch (message.k) {
    case ToPage.treeChange: {
      if (message.gone) {
        gone.push(message.h);
        return;
      }
      const window = scene.window(message.h);
      for (const [name, value] of Object.entries(message)) if (name !== "k") window[name] = value;
      return;
    }
    case ToPage.picture: {
      const part = message.part === "frame" ? "frame" : message.part === "overlay" ? "overlay" : "picture";
      scene.window(message.h)[part] = decodePicture(message);
      return;
    }
    case ToPage.overlay: scene.screenOverlay = decodePicture(message); return;
    case ToPage.image: this.images.add(message); return;
    case ToPage.order: scene.order = Array.isArray(message.windows) ? message.windows : null; return;
    case ToPage.focus:
      scene.focus = message.focus ?? 0;
      scene.active = message.active ?? 0;
      scene.capture = message.capture ?? 0;
      return;
    case ToPage.cursor: this.area.style.cursor = cursorCss(message); return;
    case ToPage.caret:
      this.caretState = { h: message.h ?? 0, rect: message.rect ?? [0, 0, 0, 0], visible: !!message.visible,
        blink: message.blink ?? 530 };
      return;
    default: return;
    }
  }

  openUrl(url) {
    // Only web addresses; anything else the program opens is not the browser's business.
    if (/^https?:\/\//i.test(String(url))) window.open(String(url), "_blank", "noopener");
  }

  // The browser lets a page write its clipboard only during a user's gesture: now if one is
  // under way, else at the next one.
  clipboard(text) {
    this.clipboardText = String(text ?? "");
    if (navigator.userActivation?.isActive) this.copyPending();
  }

  copyPending() {
    if (this.clipboardText === null || !navigator.clipboard?.writeText) return;
    const text = this.clipboardText;
    this.clipboardText = null;
    navigator.clipboard.writeText(text).then(() => { document.body.dataset.copied = text; }, () => {});
  }

  // The text field sits at the caret, so the input method's candidate window opens there.
  placeField() {
    const rect = this.caret.screenRect();
    if (!rect) return;
    this.field.style.left = `${rect[0]}px`;
    this.field.style.top = `${rect[1]}px`;
  }

  watchSize() {
    new ResizeObserver(() => this.sendSize(false)).observe(this.area);
    // A new device pixel ratio (zoom, another screen) needs a new backing store.
    const watchRatio = () => {
      matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener("change", () => {
        this.sendSize(false);
        watchRatio();
      }, { once: true });
    };
    watchRatio();
  }

  sendSize(always) {
    const box = this.area.getBoundingClientRect();
    const w = Math.floor(box.width), h = Math.floor(box.height);
    const dpr = window.devicePixelRatio || 1;
    const size = `${w}x${h}@${dpr}`;
    if (size === this.lastSize && !always) return;
    if (size !== this.lastSize) {
      this.renderer.resize(w, h, dpr);
      this.renderer.draw();
    }
    this.lastSize = size;
    this.send({ k: ToHost.resize, w, h, dpr });
  }

  // Recorded messages straight into the page, as if from the socket: the rendering tests use it.
  replay(messages) {
    for (const message of messages) this.receive(message);
  }
}

// The service's page hands the control the server, the user and the session cookie. An address
// that names any of them starts at once (without a user, at the login dialog); one that names
// none shows a small form that writes them into the address, so a reload starts the same way.
function startFromAddress(control) {
  const query = new URLSearchParams(location.search);
  if (!["host", "user", "auth"].some((name) => query.has(name))) {
    const form = document.getElementById("connect");
    form.hidden = false;
    form.addEventListener("submit", (event) => {
      event.preventDefault();
      const next = new URLSearchParams(location.search);
      next.set("host", form.elements.host.value);
      next.set("user", form.elements.user.value);
      location.search = next.toString();
    });
    return;
  }
  control.varHostName = query.get("host") || "";
  control.varUserID = query.get("user") || "";
  control.varAuth = query.get("auth") || "";
  control.StartOstrana();
}

const page = new OstranaPage();
// Tests and benchmarks read the scene and replay recorded frames through this.
window.ostranaPage = page;
page.connect();
