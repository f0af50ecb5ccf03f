// The web page's player: plays the project held in the page's data block as
// RunMode does, frame for frame and pixel for pixel. The run's rules are
// rules.js (quorvelRules, loaded before this script); here are the page's
// parts: the pictures with the exact raster copies of src/surface/RasterOps,
// the canvas, the Writing box, sound, events and the timer. The browser test
// compares its frames with quorvel-cli play. Project text reaches the page
// only as values (textContent, form values), never as markup.
'use strict';
(function () {
  const block = document.getElementById('quorvel-data');
  const data = JSON.parse(block.textContent);
  block.textContent = '';  // the pictures' text is let go once decoded
  // A colour (red in the low byte) as a pixel of the canvas's RGBA bytes.
  const pixelOf = (c) => (c & 0xffffff) | 0xff000000;
  const MaxPanes = 50;
  const W = data.board[0], H = data.board[1];

  // ---- pictures: 32-bit pixels in the canvas's byte order, held signed so
  // that the bitwise operations stay whole numbers ----
  function picture(w, h, px) { return { w, h, px: px || new Int32Array(w * h) }; }

  // The pixels of a PNG; the decoder's bitmap and canvas are let go at once.
  async function decodePng(b64) {
    if (!b64) return picture(0, 0);
    const text = atob(b64), bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    const bmp = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
                                        { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    const c = document.createElement('canvas');
    c.width = bmp.width;
    c.height = bmp.height;
    const g = c.getContext('2d', { willReadFrequently: true });
    g.drawImage(bmp, 0, 0);
    const img = g.getImageData(0, 0, bmp.width, bmp.height);
    bmp.close();
    c.width = c.height = 0;
    return picture(img.width, img.height, new Int32Array(img.data.buffer));
  }

  // ClipCopy: clips a w x h copy from (sx, sy) of src to (x, y) of dst on every edge.
  function clip(dst, src, x, y, w, h, sx, sy) {
    const skipX = Math.max(0, -x, -sx), skipY = Math.max(0, -y, -sy);
    x += skipX; sx += skipX; w -= skipX;
    y += skipY; sy += skipY; h -= skipY;
    w = Math.min(w, dst.w - x, src.w - sx);
    h = Math.min(h, dst.h - y, src.h - sy);
    return w > 0 && h > 0 ? [x, y, w, h, sx, sy] : null;
  }

  // BitBlt
  const SRCCOPY = 0, SRCAND = 1, SRCPAINT = 2;
  function bitBlt(dst, x, y, w, h, src, sx, sy, op) {
    const c = clip(dst, src, x, y, w, h, sx, sy);
    if (!c) return;
    [x, y, w, h, sx, sy] = c;
    const d = dst.px, s = src.px;
    for (let j = 0; j < h; ++j) {
      let di = (y + j) * dst.w + x, si = (sy + j) * src.w + sx;
      if (op === SRCCOPY) { d.set(s.subarray(si, si + w), di); continue; }
      const end = di + w;
      if (op === SRCAND) for (; di < end; ++di, ++si) d[di] &= s[si];
      else for (; di < end; ++di, ++si) d[di] |= s[si];
    }
  }

  // BlitTransparent: the mask with AND, then the sprite with OR; one pass
  // when the sheets match.
  function blitTransparent(dst, x, y, w, h, mask, sprite, sx, sy) {
    if (mask.w !== sprite.w || mask.h !== sprite.h) {
      bitBlt(dst, x, y, w, h, mask, sx, sy, SRCAND);
      bitBlt(dst, x, y, w, h, sprite, sx, sy, SRCPAINT);
      return;
    }
    const c = clip(dst, mask, x, y, w, h, sx, sy);
    if (!c) return;
    [x, y, w, h, sx, sy] = c;
    const d = dst.px, m = mask.px, s = sprite.px;
    for (let j = 0; j < h; ++j) {
      let di = (y + j) * dst.w + x, si = (sy + j) * mask.w + sx;
      for (const end = di + w; di < end; ++di, ++si) d[di] = (d[di] & m[si]) | s[si];
    }
  }

  // MirrorBlock: mirrors a block in place, about the block clipped to the picture.
  function mirrorBlock(img, x, y, w, h, leftRight) {
    const x0 = Math.max(x, 0), y0 = Math.max(y, 0);
    const x1 = Math.min(x + w, img.w), y1 = Math.min(y + h, img.h);
    if (x1 <= x0 || y1 <= y0) return;
    const p = img.px, n = x1 - x0;
    if (leftRight) {
      for (let r = y0; r < y1; ++r) {
        for (let a = r * img.w + x0, b = r * img.w + x1 - 1; a < b; ++a, --b) {
          const t = p[a];
          p[a] = p[b];
          p[b] = t;
        }
      }
      return;
    }
    const row = new Int32Array(n);
    for (let a = y0, b = y1 - 1; a < b; ++a, --b) {
      const ia = a * img.w + x0, ib = b * img.w + x0;
      row.set(p.subarray(ia, ia + n));
      p.copyWithin(ia, ib, ib + n);
      p.set(row, ib);
    }
  }

  // Surface::PSet
  function pset(img, x, y, pixel) {
    if (x >= 0 && y >= 0 && x < img.w && y < img.h) img.px[y * img.w + x] = pixel;
  }

  // Surface::Line: a pen line from the first point up to, but not including, the last.
  function line(img, x1, y1, x2, y2, pixel) {
    const dx = Math.abs(x2 - x1), dy = -Math.abs(y2 - y1);
    const sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    let err = dx + dy, x = x1, y = y1;
    while (x !== x2 || y !== y2) {
      pset(img, x, y, pixel);
      const e2 = 2 * err;
      if (e2 >= dy) { err += dy; x += sx; }
      if (e2 <= dx) { err += dx; y += sy; }
    }
  }

  // ---- the project ----
  const extra = [];
  for (const p of data.panes) extra[p.slot] = p;
  let base, spritesDesign, masksDesign, sprites, masks;
  const labels = [];
  const stage = picture(W, H);

  // MirrorPaneBlock (imaging/Flip.cpp). While a Pane moves its mirrorings are
  // only noted, toggled per sheet and axis, and done once for their net effect
  // before it is drawn, as the engine's sheets net them (Surface::MirrorLater):
  // nothing reads the block in between.
  const pending = [false, false, false, false];  // sprite, mask; left-right, then top-bottom
  function mirrorPane(slot, leftRight, mask) {
    const k = (leftRight ? 0 : 2) + (mask ? 1 : 0);
    pending[k] = !pending[k];
  }
  // Surface::applyMirrors, for the Pane just moved.
  function applyPendingMirrors(slot) {
    const d = rules.design[slot];
    for (let k = 0; k < 4; ++k) {
      if (!pending[k]) continue;
      pending[k] = false;
      mirrorBlock(k % 2 === 1 ? masks : sprites, d.SheetX, d.SheetY, d.Width, d.Height, k < 2);
    }
  }

  // drawCel (RunLoop.cpp)
  function drawCel(p, x, y, w, h, flashing) {
    if (!flashing) {
      if (rules.isSet(p.BlackTransparent)) blitTransparent(stage, x, y, w, h, masks, sprites, p.SheetX, p.SheetY);
      else bitBlt(stage, x, y, w, h, sprites, p.SheetX, p.SheetY, SRCCOPY);
    } else {
      bitBlt(stage, x, y, w, h, sprites, p.SheetX, p.SheetY, SRCPAINT);
    }
  }

  // BoardPainter::Print: a Label, printed from its picture: the pixels its
  // text covers take the Label colour.
  function printLabel(slot, x, y) {
    const l = labels[slot];
    if (!l) return;
    const pixel = pixelOf(data.labelColor);
    for (let j = 0; j < l.h; ++j)
      for (let i = 0; i < l.w; ++i)
        if (l.px[j * l.w + i] & 0x80) pset(stage, x + l.x + i, y + l.y + j, pixel);
  }

  // The selection box of mouseEffect (RunLoop.cpp).
  function drawBox(x, y, w, h) {
    const c = pixelOf(data.selectionColor);
    line(stage, x, y, x + w, y, c);
    line(stage, x, y, x, y + h, c);
    line(stage, x, y + h, x + w, y + h, c);
    line(stage, x + w, y, x + w, y + h, c);
  }

  // ---- sound: StopSound and PlayPaneSound (ClickActions.cpp) ----
  const sounds = {};
  for (const [id, b64] of Object.entries(data.sounds)) sounds[id] = new Audio('data:audio/wav;base64,' + b64);
  function stopSound() {
    for (const a of Object.values(sounds)) { a.pause(); a.currentTime = 0; }
  }
  function playSound(id) {
    const a = sounds[id];
    if (a) a.play().catch(() => {});
  }

  // ---- the page ----
  const canvas = document.getElementById('board');
  const overlay = document.getElementById('overlay');
  const textBox = document.getElementById('writing');
  const urlButton = document.getElementById('url');
  const ctx = canvas.getContext('2d');
  canvas.width = W;
  canvas.height = H;
  overlay.style.width = W + 'px';
  overlay.style.height = H + 'px';
  const shown = new ImageData(new Uint8ClampedArray(stage.px.buffer), W, H);

  // Text_Writing.Visible, and Button_Url's with it when the box closes.
  function showBox(visible) {
    textBox.hidden = !visible;
    if (!visible) urlButton.hidden = true;
  }

  const cssColour = (c) => 'rgb(' + (c & 255) + ',' + ((c >> 8) & 255) + ',' + ((c >> 16) & 255) + ')';
  // A font name as a quoted CSS string, every quote, backslash and line end escaped.
  const cssString = (t) => '"' + String(t).replace(/["\\\n\r\f]/g, (ch) => '\\' + ch.charCodeAt(0).toString(16) + ' ') + '"';

  // Only web and mail addresses are opened.
  function openable(address) {
    try { return ['http:', 'https:', 'mailto:'].includes(new URL(address).protocol); } catch (e) { return false; }
  }

  // openWritingBox (ClickActions.cpp), at the pointer (left, top).
  function openWritingBox(p, slot, left, top) {
    const text = extra[slot], isSet = rules.isSet;
    const s = textBox.style;
    s.left = left + 'px';
    s.top = top + 'px';
    s.width = p.WritingWidth + 'px';
    s.height = p.WritingHeight + 'px';
    s.color = cssColour(p.WritingForeColor);
    s.backgroundColor = cssColour(p.WritingBackColor);
    s.fontFamily = text.font ? cssString(text.font) + ', sans-serif' : '';
    s.fontSize = Math.max(p.WritingFontSize, 1) + 'pt';
    s.fontWeight = isSet(p.WritingBold) ? 'bold' : 'normal';
    s.fontStyle = isSet(p.WritingItalic) ? 'italic' : 'normal';
    s.textDecoration = isSet(p.WritingUnderline) ? 'underline' : 'none';
    textBox.readOnly = p.WritingMode === 1;
    textBox.value = text.text || '';
    if (isSet(p.UseURL) && text.address && openable(text.address)) {
      urlButton.style.left = s.left;
      urlButton.style.top = (top + p.WritingHeight) + 'px';
      urlButton.style.width = s.width;
      urlButton.hidden = false;
    } else {
      urlButton.hidden = true;
    }
    showBox(true);
  }

  const rules = quorvelRules(data, {
    mirror: mirrorPane, moved: applyPendingMirrors, draw: drawCel, label: printLabel, box: drawBox,
    openWritingBox, closeWritingBox: () => showBox(false), stopSound, playSound,
  });

  // OpenPaneUrl: the address of the Pane the hover test last found.
  urlButton.addEventListener('click', () => {
    const n = rules.currentPane;
    const address = n >= 0 && n <= MaxPanes && extra[n] ? extra[n].address : '';
    if (address && openable(address)) window.open(address, '_blank', 'noopener');
  });

  // mnu_RunInWindow_Click: a run from the design state, sheets included.
  function reset() {
    sprites.px.set(spritesDesign.px);
    masks.px.set(masksDesign.px);
    rules.reset();
    stopSound();
    showBox(false);
  }

  // RunLoopPass: the base picture restored, then the frame.
  function frame() {
    stage.px.set(base.px);
    rules.frame();
    ctx.putImageData(shown, 0, 0);
  }

  // The Board scaled to fit the window: whole device pixels per Board pixel
  // where it fits, smaller only when it must.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const room = Math.min(window.innerWidth / W, (window.innerHeight - 28) / H);
    const whole = Math.floor(room * ratio);
    const k = whole >= 1 ? whole / ratio : room;
    const holder = document.getElementById('holder');
    holder.style.width = W * k + 'px';
    holder.style.height = H * k + 'px';
    overlay.style.transform = 'scale(' + k + ')';
  }

  function boardPoint(e) {
    const r = canvas.getBoundingClientRect();
    return [(e.clientX - r.left) * W / r.width, (e.clientY - r.top) * H / r.height];
  }

  let timer = null, pendingTap = false;
  // The app's RunMode pump, one pass every 30 ms.
  function tick() {
    frame();
    // A tap is a move, then a click once a frame has found the Pane under it.
    if (pendingTap) { pendingTap = false; rules.mouseDown(); }
  }
  function start() {
    if (timer === null) timer = setInterval(tick, 30);
  }
  function stop() {
    clearInterval(timer);
    timer = null;
  }

  canvas.addEventListener('pointermove', (e) => { if (e.pointerType === 'mouse') rules.mouseMove(...boardPoint(e)); });
  canvas.addEventListener('pointerdown', (e) => {
    rules.mouseMove(...boardPoint(e));
    if (e.pointerType === 'mouse') rules.mouseDown();
    else pendingTap = true;
  });
  document.getElementById('restart').addEventListener('click', () => { reset(); start(); });
  window.addEventListener('resize', fit);
  fit();
  if (data.title) document.title = data.title;

  const ready = (async () => {
    [base, spritesDesign, masksDesign] = await Promise.all([decodePng(data.base), decodePng(data.sprites), decodePng(data.masks)]);
    sprites = picture(spritesDesign.w, spritesDesign.h, spritesDesign.px.slice());
    masks = picture(masksDesign.w, masksDesign.h, masksDesign.px.slice());
    for (const p of data.panes) {
      if (p.label) labels[p.slot] = Object.assign(await decodePng(p.label.png), { x: p.label.x, y: p.label.y });
      delete p.label;
    }
    data.base = data.sprites = data.masks = null;
    reset();
    start();
  })();

  // The interface the tests drive: pause() stops the timer and goes back to
  // the start, input() is applied before the next frame(), board() is the canvas.
  window.quorvel = {
    ready,
    pause() { stop(); reset(); },
    input(kind, x, y) {
      if (kind === 'move') rules.mouseMove(x, y);
      else if (kind === 'click') rules.mouseDown();
      else throw new TypeError('input kind is move or click');
    },
    frame,
    board: () => canvas,
  };
})();
