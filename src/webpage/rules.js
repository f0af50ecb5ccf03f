// The run's rules: RunMode's frame, movement, collisions, Cels, hover and
// click actions, ported from src/runmode function by function; each function
// names its C++ twin. No page here: whatever shows goes through the host
// (pictures, the Writing box, sound), so the page's player and node load the
// same rules. `quorvel-cli play --trace` and the rules under node write the
// same trace for the same inputs (tests/web/test_trace.mjs).
'use strict';
// host: mirror(slot, leftRight, mask), moved(slot), draw(p, x, y, w, h, flashing),
// label(slot, x, y), box(x, y, w, h), openWritingBox(p, slot, left, top),
// closeWritingBox(), stopSound(), playSound(id).
function quorvelRules(data, host) {
  const TRUE = -1;
  const isSet = (f) => f === TRUE;
  // Integer(): fields are 16 bits wide; the engine wraps where it casts.
  const i16 = (v) => (v << 16) >> 16;
  // roundHalfEven: a real to a whole number as the engine assigns it.
  const rint = (v) => {
    const f = Math.floor(v), d = v - f;
    if (d < 0.5) return f;
    if (d > 0.5) return f + 1;
    return f % 2 === 0 ? f : f + 1;
  };
  const MaxPanes = 50, ProbeDistance = 4;
  const W = data.board[0], H = data.board[1];

  const zero = Object.fromEntries(data.fields.map((f) => [f, 0]));
  const blank = () => ({ ...zero });
  const design = Array.from({ length: MaxPanes + 1 }, blank);
  for (const p of data.panes) data.fields.forEach((f, k) => { design[p.slot][f] = p.values[k]; });

  // The engine's run state; writingOpen is Text_Writing.Visible.
  let run, firstFrameDone, collisionPane, currentPane, mouseX, mouseY, writingOpen = false;

  // CopyPanesForRun
  function copyPanesForRun() {
    run = design.map((d, i) => {
      const r = { ...d };
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

  // FlipPaneOnBounds
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
    host.mirror(slot, axis, false);
    if (isSet(p.BlackTransparent)) host.mirror(slot, axis, true);
  }

  // turn (Movement.cpp)
  function turn(slot, p, direction, flipCode) {
    p.Direction = direction;
    p.FlipCode = flipCode;
    if (isSet(p.FlipOnBounds)) flipPaneOnBounds(slot);
  }

  // MoveHorizontal
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

  // MoveVertical
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

  // MoveDiagonal. Each block checks the direction afresh: a turn into a later
  // code moves the Pane again in the same call.
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

  // probeOffset: distance of probe k (2..10) from the start of an edge of length len.
  const probeOffset = (k, len) => (k === 2 ? 2 : k === 10 ? len - 2 : (k - 1) * (len / 10));
  // HitRect::holds
  const holds = (hit, x, y) => hit.l <= x && x <= hit.r && hit.t <= y && y <= hit.b;
  // lastProbeHit, as whether any probe hits
  function probeHits(hit, probeAt) {
    let last = 0;
    for (let k = 2; k <= 10; ++k) if (holds(hit, ...probeAt(k))) last = k;
    return last !== 0;
  }

  // ReboundHorizontal
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

  // ReboundVertical
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

  // ReboundDiagonal. Met with the top or bottom: turn vertically; met with a
  // side: horizontally.
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

  // TestCollisions
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

  // lifespanAllows (RunLoop.cpp): the Lifespan gate of moving and of Cels.
  function lifespanAllows(p) {
    switch (p.Process) {
      case 0: return true;
      case 1: return p.LifeStartValue <= p.Value && p.Value < p.LifeEndValue;
      case 2: return p.LifeEndValue < p.Value && p.Value <= p.LifeStartValue;
      default: return false;
    }
  }

  // move (RunLoop.cpp)
  function move(slot, p) {
    if (p.MoveType === 1 || p.MoveType === 2) moveHorizontal(slot);
    else if (p.MoveType === 3 || p.MoveType === 4) moveVertical(slot);
    else if (p.MoveType === 5) moveDiagonal(slot);
  }

  // advanceCel (RunLoop.cpp)
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

  // HoverPaneAt (imaging/BoardRender.cpp), running: the visible Pane with the
  // lowest number under the pointer, its size from the design table.
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

  // mouseEffect (RunLoop.cpp)
  function mouseEffect(slot, p, x, y, w, h) {
    if (isSet(p.MouseOver)) {
      if (p.MouseEffect === 2 || p.MouseEffect === 3) host.label(slot, x + 2, y + 2);
      if (p.MouseEffect === 1 || p.MouseEffect === 2) host.box(x, y, w, h);
    } else if (isSet(p.UseWriting) && currentPane === slot && writingOpen) {
      // A Writing box opened by a click closes once the pointer is over no Pane.
      writingOpen = false;
      host.closeWritingBox();
    }
  }

  // runFrame (RunLoop.cpp)
  function runFrame() {
    for (let i = MaxPanes; i >= 1; --i) {
      const p = run[i];
      p.CelWrapFlag = 0;
      p.MouseOver = 0;
      let celsAnimate = false;
      if (!isSet(p.InUse)) continue;
      currentPane = i;
      if (firstFrameDone === 0) flipPaneOnBounds(i);
      if (p.Collision === 1) testCollisions(i);
      if (p.MoveDelayCount > 0) p.MoveDelayCount = i16(p.MoveDelayCount - 1);
      if (p.MoveDelayCount <= 0) {
        p.MoveDelayCount = p.MoveDelay;
        if (lifespanAllows(p)) move(i, p);
      }
      if (p.Collision === 1) testCollisions(i);
      host.moved(i);

      const x = p.Left, y = p.Top;
      let w = p.Width, h = p.Height;
      if (p.CelCount > 1) {
        celsAnimate = true;
        w = p.Width = p.CelWidth;
        h = p.Height = p.CelHeight;
      }
      if (isSet(p.Visible)) host.draw(p, x, y, w, h, isSet(run[collisionPane].Flashing));

      if (p.CelDelayCount > 0) p.CelDelayCount = i16(p.CelDelayCount - 1);
      if (p.CelDelayCount < 1) {
        p.CelDelayCount = p.CelDelay;
        if (celsAnimate && lifespanAllows(p)) advanceCel(i, p);
      }
      hoverPaneAt();
      mouseEffect(i, p, x, y, w, h);

      const f = run[collisionPane];
      if (f.EffectDuration > 0) f.EffectDuration = i16(f.EffectDuration - 1);
      if (f.EffectDuration < 1) f.Flashing = 0;
    }
  }

  // Workspace::RunPane: a slot outside 0..50 stops the click there.
  class SlotOutOfRange extends Error {}
  function runPane(n) {
    if (!(n >= 0 && n <= MaxPanes)) throw new SlotOutOfRange();
    return run[n];
  }

  // PaneClickActions (ClickActions.cpp)
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
    if (isSet(p.UseWriting)) {
      writingOpen = true;
      host.openWritingBox(p, currentPane, rint(mouseX), mouseY);
    }
    if (p.Sound !== 0) {
      host.stopSound();
      host.playSound(p.Sound);
    }
  }

  return {
    isSet,
    design,  // the design table, read-only
    get run() { return run; },
    get currentPane() { return currentPane; },
    // mnu_RunInWindow_Click and RunProject: a fresh run from the design state.
    reset() {
      copyPanesForRun();
      firstFrameDone = 0;
      collisionPane = 0;
      currentPane = 1;
      [mouseX, mouseY] = data.pointer;
      writingOpen = false;
    },
    // RunLoopPass: one frame over the restored base picture.
    frame() {
      runFrame();
      firstFrameDone = 1;
    },
    // picStage_MouseDown, running: a click acts on the Pane the hover test marked last.
    mouseDown() {
      if (currentPane >= 0 && currentPane <= MaxPanes && isSet(run[currentPane].MouseOver)) {
        try { paneClickActions(); } catch (e) { if (!(e instanceof SlotOutOfRange)) throw e; }
      }
    },
    // picStage_MouseMove, running
    mouseMove(x, y) {
      mouseX = x;
      mouseY = rint(y);
    },
  };
}
