// The web page's player: plays the project held in the page's data block as
// RunMode does, frame for frame and pixel for pixel. The run's rules are
// rules.js (quorvelRules, loaded before this script); here are the page's
// parts: the pictures with the exact raster copies of src/surface/RasterOps,
// the canvas, the Writing box, sound, events, the timer and the controls
// (pause, restart, sound, full screen, start on a click). The browser test
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

  // The bytes of base64 text: at once where the browser can, else one by one.
  const bytesOf = Uint8Array.fromBase64 ? (b64) => Uint8Array.fromBase64(b64) : (b64) => {
    const text = atob(b64), bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
  };

  // The pixels of a PNG, decoded by the browser without colour management:
  // through an ImageDecoder where there is one (no canvas, the quickest),
  // else through a bitmap and a canvas, let go at once.
  async function decodePng(b64) {
    if (!b64) return picture(0, 0);
    const bytes = bytesOf(b64), opts = { colorSpaceConversion: 'none', premultiplyAlpha: 'none' };
    if (window.ImageDecoder) {
      try {
        const decoder = new ImageDecoder({ data: bytes, type: 'image/png', ...opts });
        const { image } = await decoder.decode();
        const out = picture(image.codedWidth, image.codedHeight);
        await image.copyTo(out.px, { format: 'RGBA' });
        image.close();
        decoder.close();
        return out;
      } catch (e) { /* a decoder without RGBA copies: the canvas below */ }
    }
    const bmp = await createImageBitmap(new Blob([bytes], { type: 'image/png' }), opts);
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

  // A sheet: black but for the part the Panes use, placed where it was
  // taken. Only that part's rows change in a run: they are kept as designed
  // (design, from the pixel from), for reset.
  async function decodeSheet(sheet) {
    const [w, h] = sheet.size, [x, y] = sheet.at, part = await decodePng(sheet.png);
    const px = new Int32Array(w * h).fill(pixelOf(0));
    for (let j = 0; j < part.h; ++j) px.set(part.px.subarray(j * part.w, (j + 1) * part.w), (y + j) * w + x);
    return Object.assign(picture(w, h, px), { design: px.slice(y * w, (y + part.h) * w), from: y * w });
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
  let base, sprites, masks;
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

  // ---- sound: StopSound and PlayPaneSound (ClickActions.cpp); each sound
  // is made when first played. Sound off (M) is kept for the page's session. ----
  const sounds = {};
  let muted = false;
  try { muted = sessionStorage.getItem('quorvel.muted') === '1'; } catch (e) { /* no storage: sound on */ }
  function stopSound() {
    for (const a of Object.values(sounds)) { a.pause(); a.currentTime = 0; }
  }
  function playSound(id) {
    if (muted || !data.sounds[id]) return;
    sounds[id] = sounds[id] || new Audio('data:audio/wav;base64,' + data.sounds[id]);
    sounds[id].play().catch(() => {});
  }

  // ---- the page ----
  const $ = (id) => document.getElementById(id);
  const canvas = $('board'), holder = $('holder'), textBox = $('writing'), urlButton = $('url');
  const playButton = $('play'), pauseButton = $('pause'), soundButton = $('sound'), screenButton = $('screen');
  const ctx = canvas.getContext('2d');
  canvas.width = W;
  canvas.height = H;
  canvas.setAttribute('aria-label', data.title || 'Quorvel');
  const shown = new ImageData(new Uint8ClampedArray(stage.px.buffer), W, H);

  // Text_Writing.Visible, and Button_Url's with it when the box closes.
  let note = null;  // the open box: [p, left, top] in Board pixels
  function showBox(visible) {
    textBox.hidden = !visible;
    if (!visible) {
      urlButton.hidden = true;
      note = null;
    }
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
    s.color = cssColour(p.WritingForeColor);
    s.backgroundColor = cssColour(p.WritingBackColor);
    s.fontFamily = text.font ? cssString(text.font) + ', sans-serif' : '';
    s.fontWeight = isSet(p.WritingBold) ? 'bold' : 'normal';
    s.fontStyle = isSet(p.WritingItalic) ? 'italic' : 'normal';
    s.textDecoration = isSet(p.WritingUnderline) ? 'underline' : 'none';
    textBox.readOnly = p.WritingMode === 1;
    textBox.value = text.text || '';
    urlButton.hidden = !(isSet(p.UseURL) && text.address && openable(text.address));
    textBox.hidden = false;
    note = [p, left, top];
    placeNote();
  }

  // Our addition: the box is page text, readable in any window. Its font is
  // the scaled one but at least 12 CSS px, the box grows with the font and
  // to hold its text, and box and button stay inside the window.
  function placeNote() {
    if (!note) return;
    const [p, left, top] = note, s = textBox.style, b = urlButton.style;
    const r = canvas.getBoundingClientRect(), k = r.width / W;
    const scaled = Math.max(p.WritingFontSize, 1) * 4 / 3 * k, font = Math.max(12, scaled), grow = font / scaled;
    const roomW = window.innerWidth, roomH = window.innerHeight;
    s.fontSize = font + 'px';
    b.fontSize = Math.max(12, 12 * k) + 'px';
    const w = Math.min(Math.max(p.WritingWidth, 0) * k * grow, roomW);
    s.width = w + 'px';
    s.height = Math.max(p.WritingHeight, 0) * k * grow + 'px';
    b.width = s.width;
    const urlH = urlButton.hidden ? 0 : urlButton.offsetHeight;
    const h = Math.min(Math.max(textBox.offsetHeight, textBox.scrollHeight + textBox.offsetHeight - textBox.clientHeight),
                       roomH - urlH);
    s.height = h + 'px';
    const x = Math.max(0, Math.min(r.left + left * k, roomW - w)), y = Math.max(0, Math.min(r.top + top * k, roomH - h - urlH));
    s.left = b.left = x + 'px';
    s.top = y + 'px';
    b.top = y + h + 'px';
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
    for (const sheet of [sprites, masks]) sheet.px.set(sheet.design, sheet.from);
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

  // The Board scaled to fit the window above the controls: whole device
  // pixels per Board pixel where it fits, smaller only when it must.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const room = Math.min(window.innerWidth / W, (window.innerHeight - $('bar').offsetHeight) / H);
    const whole = Math.floor(room * ratio);
    const k = whole >= 1 ? whole / ratio : room;
    holder.style.width = W * k + 'px';
    holder.style.height = H * k + 'px';
    placeNote();
  }

  function boardPoint(e) {
    const r = canvas.getBoundingClientRect();
    return [(e.clientX - r.left) * W / r.width, (e.clientY - r.top) * H / r.height];
  }

  let timer = null, pendingTap = false, decoded = false;
  // The app's RunMode pump, one pass every 30 ms.
  function tick() {
    frame();
    // A tap is a move, then a click once a frame has found the Pane under it.
    if (pendingTap) { pendingTap = false; rules.mouseDown(); }
  }
  // The page's timer on or off; the pause button names what it will do.
  function play(on) {
    if (on && timer === null) timer = setInterval(tick, 30);
    if (!on) { clearInterval(timer); timer = null; }
    if (on) playButton.hidden = true;
    pauseButton.textContent = on ? 'pause' : 'play';
  }

  // The controls (our addition). Pause holds the frame shown; restart shows
  // the first frame, held while the run is held.
  const controls = {
    pause: () => play(timer === null),
    restart() { reset(); frame(); },
    sound() {
      muted = !muted;
      try { sessionStorage.setItem('quorvel.muted', muted ? '1' : '0'); } catch (e) { /* kept for this page only */ }
      if (muted) stopSound();
      soundButton.textContent = muted ? 'sound on' : 'sound off';
    },
    screen() {
      if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
      else document.documentElement.requestFullscreen().catch(() => {});
    },
  };
  const keys = new Map([[' ', controls.pause], ['r', controls.restart], ['m', controls.sound], ['f', controls.screen]]);
  for (const [button, act] of [[playButton, controls.pause], [pauseButton, controls.pause], [$('restart'), controls.restart],
                               [soundButton, controls.sound], [screenButton, controls.screen]]) {
    button.addEventListener('click', (e) => {
      // A button clicked with the pointer gives the keys back to the page.
      if (e.detail) button.blur();
      if (decoded) act();
    });
  }
  // The keys act only with no modifier, and never while the note or a
  // button has the keyboard focus (Space and Return are theirs there).
  document.addEventListener('keydown', (e) => {
    const act = keys.get(e.key.toLowerCase()), focus = document.activeElement;
    if (!act || !decoded || e.repeat || e.ctrlKey || e.altKey || e.metaKey || e.shiftKey) return;
    if (focus && focus !== document.body && focus !== document.documentElement) return;
    e.preventDefault();
    act();
  });
  soundButton.textContent = muted ? 'sound on' : 'sound off';
  screenButton.hidden = !document.fullscreenEnabled;
  document.addEventListener('fullscreenchange', () => {
    screenButton.textContent = document.fullscreenElement ? 'leave full screen' : 'full screen';
  });

  // The Board takes the pointer only while the run goes.
  canvas.addEventListener('pointermove', (e) => {
    if (timer !== null && e.pointerType === 'mouse') rules.mouseMove(...boardPoint(e));
  });
  canvas.addEventListener('pointerdown', (e) => {
    if (timer === null) return;
    rules.mouseMove(...boardPoint(e));
    if (e.pointerType === 'mouse') rules.mouseDown();
    else pendingTap = true;
  });
  window.addEventListener('resize', fit);
  fit();
  if (data.title) document.title = data.title;

  // pause() may come before the pictures are decoded: then the run never starts.
  let held = false;
  const ready = (async () => {
    const labelled = data.panes.filter((p) => p.label);
    let labelPictures;
    [base, sprites, masks, ...labelPictures] = await Promise.all([
      decodePng(data.base), decodeSheet(data.sprites), decodeSheet(data.masks), ...labelled.map((p) => decodePng(p.label.png))]);
    labelled.forEach((p, k) => {
      labels[p.slot] = Object.assign(labelPictures[k], { x: p.label.x, y: p.label.y });
      delete p.label;
    });
    data.base = data.sprites = data.masks = null;
    decoded = true;
    reset();
    if (held) return;
    if (document.body.dataset.start === 'click') {
      // The first frame under the play button, until a click or Space.
      frame();
      play(false);
      playButton.hidden = false;
    } else {
      play(true);
    }
  })();

  // The interface the tests drive: ready settles once the pictures are
  // decoded; pause() stops the page's timer and goes back to the start,
  // whenever it is called; input() is applied before the next frame();
  // board() is the canvas. input() and frame() before ready throw.
  const needReady = (name) => {
    if (!decoded) throw new Error('quorvel.' + name + '() before quorvel.ready has settled: await quorvel.ready first');
  };
  window.quorvel = {
    ready,
    pause() {
      held = true;
      play(false);
      if (decoded) reset();
    },
    input(kind, x, y) {
      needReady('input');
      if (kind === 'move') rules.mouseMove(x, y);
      else if (kind === 'click') rules.mouseDown();
      else throw new TypeError('input kind is move or click');
    },
    frame() {
      needReady('frame');
      frame();
    },
    board: () => canvas,
  };
})();
