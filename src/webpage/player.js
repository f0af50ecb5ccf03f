// The web page's player: plays the project held in the page's data block as
// RunMode does, frame for frame and pixel for pixel. It follows the engine's
// rules in src/runmode (RunLoop, Movement, ClickActions, StageMouse) and the
// exact raster copies of src/surface/RasterOps; the browser test compares its
// frames with quorvel-cli play. Project text reaches the page only as values
// (textContent, form values), never as markup.
'use strict';
(function () {
  const data = JSON.parse(document.getElementById('quorvel-data').textContent);
  const TRUE = -1;
  const isSet = (f) => f === TRUE;
  // Integer fields are 16 bits wide; the engine wraps where it casts.
  const i16 = (v) => (v << 16) >> 16;
  // Real to whole number as the engine assigns it: halves to the even neighbour.
  const rint = (v) => {
    const f = Math.floor(v), d = v - f;
    if (d < 0.5) return f;
    if (d > 0.5) return f + 1;
    return f % 2 === 0 ? f : f + 1;
  };
  // A colour (red in the low byte) as a pixel of the canvas's RGBA bytes.
  const pixelOf = (c) => (c & 0xffffff) | 0xff000000;
  const MaxPanes = 50, ProbeDistance = 4;
  const W = data.board[0], H = data.board[1];

  // ---- pictures: 32-bit pixels in the canvas's byte order, held signed so
  // that the bitwise operations stay whole numbers ----
  function picture(w, h, px) { return { w, h, px: px || new Int32Array(w * h) }; }

  async function decodePng(b64) {
    if (!b64) return picture(0, 0);
    const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
    const bmp = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
                                        { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    const c = document.createElement('canvas');
    c.width = bmp.width;
    c.height = bmp.height;
    const g = c.getContext('2d', { willReadFrequently: true });
    g.drawImage(bmp, 0, 0);
    const img = g.getImageData(0, 0, bmp.width, bmp.height);
    return picture(bmp.width, bmp.height, new Int32Array(img.data.buffer));
  }

  // Clips a w x h copy from (sx, sy) of src to (x, y) of dst on every edge.
  function clip(dst, src, x, y, w, h, sx, sy) {
    const skipX = Math.max(0, -x, -sx), skipY = Math.max(0, -y, -sy);
    x += skipX; sx += skipX; w -= skipX;
    y += skipY; sy += skipY; h -= skipY;
    w = Math.min(w, dst.w - x, src.w - sx);
    h = Math.min(h, dst.h - y, src.h - sy);
    return w > 0 && h > 0 ? [x, y, w, h, sx, sy] : null;
  }

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

  // The mask with AND, then the sprite with OR; one pass when the sheets match.
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

  // Mirrors a block in place, about the block clipped to the picture.
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

  function pset(img, x, y, pixel) {
    if (x >= 0 && y >= 0 && x < img.w && y < img.h) img.px[y * img.w + x] = pixel;
  }

  // A pen line from the first point up to, but not including, the last.
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
  const blank = () => Object.fromEntries(data.fields.map((f) => [f, 0]));
  const design = Array.from({ length: MaxPanes + 1 }, blank);
  const extra = Array.from({ length: MaxPanes + 1 }, () => ({}));
  for (const p of data.panes) {
    data.fields.forEach((f, k) => { design[p.slot][f] = p.values[k]; });
    extra[p.slot] = p;
  }
  let base, spritesDesign, masksDesign, sprites, masks;
  const labels = [];

  // ---- the run: the engine's run state ----
  let run, firstFrameDone, collisionPane, currentPane, mouseX, mouseY;
  const stage = picture(W, H);

  function copyPanesForRun() {
    run = design.map((d, i) => {
      const r = Object.assign({}, d);
      if (i === 0) return blank();
      // A fresh session's run table holds nothing these four keep.
      r.Flashing = r.MouseOver = r.SpareFlag = r.CelWrapFlag = 0;
      r.Value = d.StartValue;
      r.CelColumn = 1;
      r.CelRow = 1;
      r.MoveDelayCount = d.MoveDelay;
      if (d.CelCount > 1) { r.Width = d.CelWidth; r.Height = d.CelHeight; }
      return r;
    });
  }

  // While a Pane moves its mirrorings are only noted, toggled per sheet and
  // axis, and done once for their net effect before it is drawn, as the
  // engine's sheets net them (Surface::MirrorLater): nothing reads the block
  // in between.
  let holding = false;
  const pending = [false, false, false, false];  // sprite, mask; left-right, then top-bottom
  function mirrorPane(slot, leftRight, mask) {
    const k = (leftRight ? 0 : 2) + (mask ? 1 : 0);
    if (holding) { pending[k] = !pending[k]; return; }
    const d = design[slot];
    mirrorBlock(mask ? masks : sprites, d.SheetX, d.SheetY, d.Width, d.Height, leftRight);
  }
  function applyPendingMirrors(slot) {
    holding = false;
    for (let k = 0; k < 4; ++k) {
      if (!pending[k]) continue;
      pending[k] = false;
      mirrorPane(slot, k < 2, k % 2 === 1);
    }
  }

  function flipPaneOnBounds(slot) {
    const p = run[slot];
    if (!isSet(p.FlipOnBounds)) return;
    let axis = null;  // true left-right, false top-bottom
    if (firstFrameDone === 0) {
      if (p.Direction === 2 || p.Direction === 7) axis = true;
      else if (p.Direction === 4 || p.Direction === 8) axis = false;
      if (axis !== null) p.FlipCode = p.Direction;
    } else if ([1, 2, 5, 8].includes(p.FlipCode)) axis = true;
    else if ([3, 4, 6, 7].includes(p.FlipCode)) axis = false;
    if (axis === null) return;
    mirrorPane(slot, axis, false);
    if (isSet(p.BlackTransparent)) mirrorPane(slot, axis, true);
  }

  function turn(slot, p, direction, flipCode) {
    p.Direction = direction;
    p.FlipCode = flipCode;
    if (isSet(p.FlipOnBounds)) flipPaneOnBounds(slot);
  }

  function moveHorizontal(slot) {
    const p = run[slot];
    if (p.Direction === 1) {
      p.Left = i16(p.Left - p.Speed);
      if (p.Left <= data.stageLeft - 1) {
        p.Direction = 2;
        if (isSet(p.FlipOnBounds)) turn(slot, p, 2, 2);
      }
    } else if (p.Direction === 2) {
      p.Left = i16(p.Left + p.Speed);
      if (p.Left >= W - (p.Width + 1)) {
        p.Direction = 1;
        if (isSet(p.FlipOnBounds)) turn(slot, p, 1, 1);
      }
    }
  }

  function moveVertical(slot) {
    const p = run[slot];
    if (p.Direction === 3) {
      p.Top = i16(p.Top - p.Speed);
      if (p.Top <= 0) turn(slot, p, 4, 4);
    } else if (p.Direction === 4) {
      p.Top = i16(p.Top + p.Speed);
      if (p.Top + p.Height + 1 >= H) turn(slot, p, 3, 3);
    }
  }

  // Each block checks the direction afresh: a turn into a later code moves
  // the Pane again in the same call.
  function moveDiagonal(slot) {
    const p = run[slot];
    const step = (dy, dx) => { p.Top = i16(p.Top + dy * p.Speed); p.Left = i16(p.Left + dx * p.Speed); };
    if (p.Direction === 5) {
      step(-1, 1);
      if (p.Top - 2 <= 0) turn(slot, p, 7, 4);
      if (p.Left + p.Width + 2 >= W) turn(slot, p, 8, 2);
    }
    if (p.Direction === 6) {
      step(1, -1);
      if (p.Top + p.Height + 2 >= H) turn(slot, p, 8, 7);
      if (p.Left - 2 <= 0) turn(slot, p, 7, 8);
    }
    if (p.Direction === 7) {
      step(1, 1);
      if (p.Top + p.Height + 2 >= H) turn(slot, p, 5, 3);
      if (p.Left + p.Width + 2 >= W) turn(slot, p, 6, 5);
    }
    if (p.Direction === 8) {
      step(-1, -1);
      if (p.Top - 2 <= 0) turn(slot, p, 6, 6);
      if (p.Left - 2 <= 0) turn(slot, p, 5, 1);
    }
  }

  // Distance of probe k (2..10) from the start of an edge of length len.
  const probeOffset = (k, len) => (k === 2 ? 2 : k === 10 ? len - 2 : (k - 1) * (len / 10));
  const holds = (hit, x, y) => hit.l <= x && x <= hit.r && hit.t <= y && y <= hit.b;
  function probeHits(hit, probeAt) {
    let last = 0;
    for (let k = 2; k <= 10; ++k) if (holds(hit, ...probeAt(k))) last = k;
    return last !== 0;
  }

  function reboundHorizontal(slot, hit) {
    const c = run[slot];
    const x = c.Direction === 1 ? c.Left - ProbeDistance : c.Left + c.Width + ProbeDistance;
    if (probeHits(hit, (k) => [x, rint(c.Top + probeOffset(k, c.Height))])) {
      const next = c.Direction === 1 ? 2 : 1;
      if (c.Direction === c.FlipCode) {
        c.FlipCode = next;
        if (isSet(c.FlipOnBounds)) flipPaneOnBounds(slot);
      }
      c.Direction = next;
    }
    if (c.EffectType !== 0) c.Flashing = TRUE;
  }

  function reboundVertical(slot, hit) {
    const c = run[slot];
    const y = c.Direction === 3 ? c.Top - ProbeDistance : c.Top + c.Height + ProbeDistance;
    if (probeHits(hit, (k) => [c.Left + probeOffset(k, c.Width), y])) {
      const next = c.Direction === 3 ? 4 : 3;
      if (isSet(c.FlipOnBounds)) {
        c.FlipCode = next;
        flipPaneOnBounds(slot);
      }
      c.Direction = next;
    }
    if (c.EffectType !== 0) c.Flashing = TRUE;
  }

  // Met with the top or bottom: turn vertically; met with a side: horizontally.
  const VerticalTurn = { 5: [7, 4], 6: [8, 7], 7: [5, 3], 8: [6, 6] };
  const HorizontalTurn = { 5: [8, 2], 6: [7, 8], 7: [6, 5], 8: [5, 1] };
  function reboundDiagonal(slot, hit) {
    const c = run[slot];
    if (c.Direction < 5 || c.Direction > 8) return;
    const w = c.CelCount < 2 ? c.Width : c.CelWidth;
    const h = c.CelCount < 2 ? c.Height : c.CelHeight;
    const y = c.Direction === 5 || c.Direction === 8 ? c.Top - ProbeDistance : c.Top + h + ProbeDistance;
    const t = (probeHits(hit, (k) => [c.Left + probeOffset(k, w), y]) ? VerticalTurn : HorizontalTurn)[c.Direction];
    c.FlipCode = t[1];
    if (isSet(c.FlipOnBounds)) flipPaneOnBounds(slot);
    c.Direction = t[0];
    if (c.EffectType !== 0) c.Flashing = TRUE;
  }

  function testCollisions(slot) {
    collisionPane = slot;
    const c = run[slot];
    // The response is chosen by the direction at the start.
    const d = c.Direction;
    for (let j = 1; j <= MaxPanes; ++j) {
      const o = run[j];
      if (!isSet(o.InUse) || c.Collision === 0 || j === slot) continue;
      const hit = { l: o.Left - 2, r: o.Left + o.Width + 2, t: o.Top - 2, b: o.Top + o.Height + 2 };
      const touch = c.Left + c.Width + 2 >= hit.l && c.Left - 2 <= hit.r &&
                    c.Top + c.Height + 2 >= hit.t && c.Top - 2 <= hit.b;
      if (!touch || o.Collision === 0) continue;
      if (d === 1 || d === 2) reboundHorizontal(slot, hit);
      else if (d === 3 || d === 4) reboundVertical(slot, hit);
      else if (d >= 5 && d <= 8) reboundDiagonal(slot, hit);
    }
  }

  function lifespanAllows(p) {
    switch (p.Process) {
      case 0: return true;
      case 1: return p.LifeStartValue <= p.Value && p.Value < p.LifeEndValue;
      case 2: return p.LifeEndValue < p.Value && p.Value <= p.LifeStartValue;
      default: return false;
    }
  }

  function move(slot, p) {
    if (p.MoveType === 1 || p.MoveType === 2) moveHorizontal(slot);
    else if (p.MoveType === 3 || p.MoveType === 4) moveVertical(slot);
    else if (p.MoveType === 5) moveDiagonal(slot);
  }

  function drawCel(p, x, y, w, h) {
    if (!isSet(run[collisionPane].Flashing)) {
      if (isSet(p.BlackTransparent)) blitTransparent(stage, x, y, w, h, masks, sprites, p.SheetX, p.SheetY);
      else bitBlt(stage, x, y, w, h, sprites, p.SheetX, p.SheetY, SRCCOPY);
    } else {
      bitBlt(stage, x, y, w, h, sprites, p.SheetX, p.SheetY, SRCPAINT);
    }
  }

  function advanceCel(slot, p) {
    const d = design[slot];
    p.SheetX = i16(p.SheetX + p.CelWidth);
    if (p.CelColumn === p.CelsAcross) {
      p.CelColumn = 1;
      p.SheetX = d.SheetX;
      p.CelRow = i16(p.CelRow + 1);
      p.SheetY = i16(p.SheetY + p.CelHeight);
      p.CelWrapFlag = 2;
    }
    if (p.CelRow > p.CelsDown) {
      p.CelRow = 1;
      p.CelColumn = 1;
      p.SheetY = d.SheetY;
      p.SheetX = d.SheetX;
      p.CelWrapFlag = 2;
    }
    if (p.CelWrapFlag !== 2) p.CelColumn = i16(p.CelColumn + 1);
  }

  function celsMayAdvance(p, celsAnimate) {
    if (!celsAnimate) return false;
    switch (p.Process) {
      case 0: return true;
      case 1: return p.Value >= p.LifeStartValue && p.Value < p.LifeEndValue;
      case 2: return p.Value <= p.LifeStartValue && p.Value > p.LifeEndValue;
      default: return false;
    }
  }

  // The hover test in RunMode: the visible Pane with the lowest number under
  // the pointer, its size from the design table.
  function hoverPaneAt() {
    for (let n = 1; n <= MaxPanes; ++n) {
      const d = design[n];
      if (!isSet(d.InUse)) continue;
      const r = run[n];
      r.MouseOver = 0;
      const w = d.CelCount > 1 ? d.CelWidth : d.Width, h = d.CelCount > 1 ? d.CelHeight : d.Height;
      const left = isSet(r.Visible) ? r.Left : d.Left, top = isSet(r.Visible) ? r.Top : d.Top;
      const inside = left <= mouseX && mouseX <= left + w && top <= mouseY && mouseY <= top + h;
      if (inside && isSet(r.InUse) && isSet(r.Visible)) {
        r.MouseOver = TRUE;
        currentPane = n;
        return;
      }
    }
  }

  // A Label, printed from its picture: the pixels its text covers take the
  // Label colour.
  function printLabel(slot, x, y) {
    const l = labels[slot];
    if (!l) return;
    const pixel = pixelOf(data.labelColor);
    for (let j = 0; j < l.h; ++j)
      for (let i = 0; i < l.w; ++i)
        if (l.px[j * l.w + i] & 0x80) pset(stage, x + l.x + i, y + l.y + j, pixel);
  }

  function mouseEffect(slot, p, x, y, w, h) {
    if (isSet(p.MouseOver)) {
      if (p.MouseEffect === 2 || p.MouseEffect === 3) printLabel(slot, x + 2, y + 2);
      if (p.MouseEffect === 1 || p.MouseEffect === 2) {
        const c = pixelOf(data.selectionColor);
        line(stage, x, y, x + w, y, c);
        line(stage, x, y, x, y + h, c);
        line(stage, x, y + h, x + w, y + h, c);
        line(stage, x + w, y, x + w, y + h, c);
      }
    } else if (isSet(p.UseWriting) && currentPane === slot && box.visible) {
      // A Writing box opened by a click closes once the pointer is over no Pane.
      showBox(false);
    }
  }

  function runFrame() {
    for (let i = MaxPanes; i >= 1; --i) {
      const p = run[i];
      p.CelWrapFlag = 0;
      p.MouseOver = 0;
      let celsAnimate = false;
      if (!isSet(p.InUse)) continue;
      currentPane = i;
      holding = true;
      if (firstFrameDone === 0) flipPaneOnBounds(i);
      if (p.Collision === 1) testCollisions(i);
      if (p.MoveDelayCount > 0) p.MoveDelayCount = i16(p.MoveDelayCount - 1);
      if (p.MoveDelayCount <= 0) {
        p.MoveDelayCount = p.MoveDelay;
        if (lifespanAllows(p)) move(i, p);
      }
      if (p.Collision === 1) testCollisions(i);
      applyPendingMirrors(i);

      const x = p.Left, y = p.Top;
      let w = p.Width, h = p.Height;
      if (p.CelCount > 1) {
        celsAnimate = true;
        w = p.Width = p.CelWidth;
        h = p.Height = p.CelHeight;
      }
      if (isSet(p.Visible)) drawCel(p, x, y, w, h);

      if (p.CelDelayCount > 0) p.CelDelayCount = i16(p.CelDelayCount - 1);
      if (p.CelDelayCount < 1) {
        p.CelDelayCount = p.CelDelay;
        if (celsMayAdvance(p, celsAnimate)) advanceCel(i, p);
      }
      hoverPaneAt();
      mouseEffect(i, p, x, y, w, h);

      const f = run[collisionPane];
      if (f.EffectDuration > 0) f.EffectDuration = i16(f.EffectDuration - 1);
      if (f.EffectDuration < 1) f.Flashing = 0;
    }
  }

  // ---- clicks: Value, reveal, Writing box, sound ----
  const sounds = {};
  for (const [id, b64] of Object.entries(data.sounds)) sounds[id] = new Audio('data:audio/wav;base64,' + b64);
  function stopSound() {
    for (const a of Object.values(sounds)) { a.pause(); a.currentTime = 0; }
  }

  // A slot outside 0..50 stops the click there, as in the engine.
  class SlotOutOfRange extends Error {}
  function runPane(n) {
    if (!(n >= 0 && n <= MaxPanes)) throw new SlotOutOfRange();
    return run[n];
  }

  function paneClickActions() {
    const p = runPane(currentPane);
    const reveal = () => { if (p.RevealValue === p.Value) runPane(p.RevealPane).Visible = TRUE; };
    if (p.Process === 1 && p.Value !== 0) {
      p.Value = i16(Math.min(p.Value + p.ProcessAmount, 99));
      reveal();
    } else if (p.Process === 2 && p.Value !== 0) {
      p.Value = i16(Math.max(p.Value - p.ProcessAmount, 0));
      reveal();
    }
    if (isSet(p.UseWriting)) openWritingBox(p, extra[currentPane]);
    if (p.Sound !== 0) {
      stopSound();
      const a = sounds[p.Sound];
      if (a) a.play().catch(() => {});
    }
  }

  function mouseDown() {
    if (currentPane >= 0 && currentPane <= MaxPanes && isSet(run[currentPane].MouseOver)) {
      try { paneClickActions(); } catch (e) { if (!(e instanceof SlotOutOfRange)) throw e; }
    }
  }

  function mouseMove(x, y) {
    mouseX = x;
    mouseY = rint(y);
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
  const box = { visible: false };

  function showBox(visible) {
    box.visible = visible;
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

  function openWritingBox(p, text) {
    const s = textBox.style;
    s.left = rint(mouseX) + 'px';
    s.top = mouseY + 'px';
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
      urlButton.style.top = (mouseY + p.WritingHeight) + 'px';
      urlButton.style.width = s.width;
      urlButton.hidden = false;
    } else {
      urlButton.hidden = true;
    }
    showBox(true);
  }

  // The address of the Pane the hover test last found, as the engine opens it.
  urlButton.addEventListener('click', () => {
    const address = currentPane >= 0 && currentPane <= MaxPanes ? extra[currentPane].address : '';
    if (address && openable(address)) window.open(address, '_blank', 'noopener');
  });

  function reset() {
    sprites.px.set(spritesDesign.px);
    masks.px.set(masksDesign.px);
    copyPanesForRun();
    firstFrameDone = 0;
    collisionPane = 0;
    currentPane = 1;
    [mouseX, mouseY] = data.pointer;
    stopSound();
    showBox(false);
  }

  function frame() {
    stage.px.set(base.px);
    runFrame();
    firstFrameDone = 1;
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
  function tick() {
    frame();
    // A tap is a move, then a click once a frame has found the Pane under it.
    if (pendingTap) { pendingTap = false; mouseDown(); }
  }
  function start() {
    if (timer === null) timer = setInterval(tick, 30);
  }
  function stop() {
    clearInterval(timer);
    timer = null;
  }

  canvas.addEventListener('pointermove', (e) => { if (e.pointerType === 'mouse') mouseMove(...boardPoint(e)); });
  canvas.addEventListener('pointerdown', (e) => {
    mouseMove(...boardPoint(e));
    if (e.pointerType === 'mouse') mouseDown();
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
    }
    reset();
    start();
  })();

  // The interface the tests drive: pause() stops the timer and goes back to
  // the start, input() is applied before the next frame(), board() is the canvas.
  window.quorvel = {
    ready,
    pause() { stop(); reset(); },
    input(kind, x, y) {
      if (kind === 'move') mouseMove(x, y);
      else if (kind === 'click') mouseDown();
      else throw new TypeError('input kind is move or click');
    },
    frame,
    board: () => canvas,
  };
})();
