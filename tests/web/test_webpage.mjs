// The exported web page shows exactly what RunMode does: for the example
// projects and the hand-made ones (saved by test_webpage; the pages and the
// controls tried are listed in data/pages.json), each page is driven
// in headless chromium through window.quorvel with scripted inputs, and every
// frame's canvas pixels must equal the frame quorvel-cli play writes for the
// same inputs (the run's rules alone are compared, over many more projects,
// by test_trace.mjs). Any request, dialog or error in a page fails; on the "pointer"
// project the Writing box, the URL button, the markup-looking texts and the
// own sound a click plays are checked in the page itself.
//   node test_webpage.mjs --cli QUORVEL_CLI --maker TEST_WEBPAGE --examples DIR [--only NAME]
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launchChromium, openGuarded } from './browser.mjs';

const arg = (name) => process.argv[process.argv.indexOf('--' + name) + 1];
const cli = arg('cli'), maker = arg('maker'), examples = arg('examples');
const only = process.argv.includes('--only') ? arg('only') : null;
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvel-web-'));
let failures = 0, passes = 0;
const fail = (what) => { failures++; console.log('FAIL ' + what); };
const check = (ok, what) => (ok ? passes++ : fail(what));
// The pages played and the controls tried (data/pages.json), every row counted.
const pages = JSON.parse(fs.readFileSync(new URL('data/pages.json', import.meta.url), 'utf8'));
if ([pages.plays, pages.pointer, pages.controls].map((t) => t.length).join() !== '6,15,13') throw new Error('data/pages.json lost rows');

function run(program, args, env = {}) {
  return execFileSync(program, args, { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen', ...env }, encoding: 'utf8' });
}

// Runs frames from..to of the page (inputs applied before their frame) and
// compares each frame's canvas with play's PNG of it (base64), decoded in the
// browser as the page decodes its own pictures: the frames that differ, and
// where the first of them first does. Without step, the canvas as it is
// against the one frame given.
function pageFrames(page, inputs, from, to, pngs, step = true) {
  return page.evaluate(async ({ inputs, from, to, pngs, step }) => {
    const q = window.quorvel, canvas = q.board(), w = canvas.width, h = canvas.height;
    const g = canvas.getContext('2d'), play = new OffscreenCanvas(w, h).getContext('2d', { willReadFrequently: true });
    let wrong = 0, first = '';
    for (let f = from; f <= to; ++f) {
      for (const [frame, kind, x, y] of inputs) if (frame === f) q.input(kind, x, y);
      if (step) q.frame();
      const bytes = Uint8Array.from(atob(pngs[f - from]), (c) => c.charCodeAt(0));
      play.drawImage(await createImageBitmap(new Blob([bytes]), { colorSpaceConversion: 'none', premultiplyAlpha: 'none' }), 0, 0);
      const got = g.getImageData(0, 0, w, h).data, want = play.getImageData(0, 0, w, h).data;
      const at = got.findIndex((v, i) => v !== want[i]) & ~3;
      if (at < 0 || wrong++ > 0) continue;
      first = `frame ${f} first differs at (${(at >> 2) % w}, ${Math.floor((at >> 2) / w)}): page ` +
              `${got.slice(at, at + 3)} play ${want.slice(at, at + 3)}`;
    }
    return { wrong, first };
  }, { inputs, from, to, pngs, step });
}

// play's frames of a project as base64 PNGs, the inputs applied before their frame.
function playPngs(dir, file, board, frames, inputs) {
  run(cli, ['play', file, '--frames', String(frames), '--board', board, '--png-dir', dir,
            ...inputs.flatMap(([f, kind, x, y]) => ['--input', `${f}:${kind}:${x},${y}`])]);
  return Array.from({ length: frames }, (_, f) => fs.readFileSync(path.join(dir, `frame_${String(f + 1).padStart(5, '0')}.png`), 'base64'));
}

// Inputs that visit the Panes: every six frames the pointer moves to the
// middle of the next Pane (where the design put it), every other visit clicks.
function visitInputs(projectFile, frames) {
  const panes = JSON.parse(run(cli, ['dump', projectFile])).Panes;
  const inputs = [];
  for (let k = 0, f = 2; f + 3 <= frames && panes.length; ++k, f += 6) {
    const p = panes[k % panes.length];
    const w = p.CelCount > 1 ? p.CelWidth : p.Width, h = p.CelCount > 1 ? p.CelHeight : p.Height;
    inputs.push([f, 'move', p.Left + (w >> 1), p.Top + (h >> 1)]);
    if (k % 2 === 0) inputs.push([f + 3, 'click', 0, 0]);
  }
  return inputs;
}

// DOM checks on the "pointer" project, after the frame they name.
const pointerChecks = {
  frames: 50,
  after: {
    4: async (page) => {
      const s = await boxState(page);
      check(s.visible && s.value === '<img src=x onerror=alert(1)>' && s.children === 0,
            'pointer: a note that looks like markup shows as text: ' + JSON.stringify(s));
      check(!s.url, 'pointer: a javascript: address gets no URL button');
      check(s.images === 0 && s.scripts === 3, 'pointer: no project text became an element');
      check(s.left === 60 && s.top === 60 && s.width === 150, 'pointer: the box at the click point: ' + JSON.stringify(s));
    },
    9: async (page) => {
      const s = await boxState(page);
      check(s.visible && s.url && s.value === 'Value counts up' && s.readOnly, 'pointer: a locked box with its URL button');
      await page.$eval('#url', (b) => b.click());
      const opened = await page.evaluate(() => window.opened.splice(0));
      check(JSON.stringify(opened) === JSON.stringify([['http://example.org/quorvel?a=1&b=2', '_blank', 'noopener']]),
            'pointer: the URL button opens the address in a new tab: ' + JSON.stringify(opened));
    },
    18: async (page) => {
      const s = await boxState(page);
      check(!s.visible && !s.url, 'pointer: the box closes once the pointer is over no Pane');
    },
    25: async (page) => {
      const seconds = await page.evaluate(async () => {
        const a = window.played.at(-1);
        if (a && !(a.duration > 0)) await new Promise((done) => a.addEventListener('loadedmetadata', done, { once: true }));
        return a ? a.duration : 0;
      });
      check(Math.abs(seconds - 0.75) < 0.01, 'pointer: a click starts the Pane\'s own sound, 0.75 s long: ' + seconds);
      await page.$eval('#url', (b) => b.click());
      const opened = await page.evaluate(() => window.opened.splice(0));
      check(opened.length === 1 && opened[0][0] === 'https://example.org/secure', 'pointer: an https address as it is');
    },
    31: async (page) => {
      await page.$eval('#url', (b) => b.click());
      const opened = await page.evaluate(() => window.opened.splice(0));
      check(opened.length === 1 && opened[0][0] === 'mailto:someone@example.org', 'pointer: a mailto address');
    },
    37: async (page) => {
      const s = await boxState(page);
      check(s.visible && !s.url && !s.readOnly && s.font.includes('DejaVu Serif') && s.font.includes('700') &&
            s.font.includes('italic') && s.font.includes('18.6667px') && s.colour === 'rgb(255, 0, 0)' &&
            s.back === 'rgb(0, 255, 255)', 'pointer: the note\'s font and colours: ' + JSON.stringify(s));
    },
  },
};

function boxState(page) {
  return page.evaluate(() => {
    const t = document.getElementById('writing'), u = document.getElementById('url');
    const cs = getComputedStyle(t), box = t.getBoundingClientRect(), board = window.quorvel.board().getBoundingClientRect();
    return {
      visible: !t.hidden, url: !u.hidden, value: t.value, children: t.children.length, readOnly: t.readOnly,
      images: document.querySelectorAll('img').length, scripts: document.querySelectorAll('script').length,
      left: box.left - board.left, top: box.top - board.top, width: box.width, colour: cs.color, back: cs.backgroundColor,
      font: cs.fontStyle + ' ' + cs.fontWeight + ' ' + t.style.fontSize + ' ' + cs.fontFamily + ' ' + cs.textDecorationLine,
    };
  });
}

// Exports and plays one project, then compares the page frame by frame.
async function compare(context, name, projectFile, board, frames, inputs, after = {}) {
  if (only && name !== only) return;
  const dir = path.join(work, name), html = path.join(dir, 'page.html');
  fs.mkdirSync(dir, { recursive: true });
  run(cli, ['export', projectFile, '--html', html, '--board', board]);
  const pngs = playPngs(path.join(dir, 'frames'), projectFile, board, frames, inputs);
  const { page, faults } = await openGuarded(context, html,
    () => {
      window.opened = []; window.open = (...a) => { window.opened.push(a); return null; };
      window.played = []; const play = HTMLMediaElement.prototype.play;
      HTMLMediaElement.prototype.play = function () { window.played.push(this); return play.call(this); };
    });
  const [w, h] = board.split('x').map(Number);
  const size = await page.evaluate(() => [window.quorvel.board().width, window.quorvel.board().height]);
  check(size[0] === w && size[1] === h, `${name}: the canvas is the Board, ${size}`);
  await page.evaluate(() => window.quorvel.pause());
  const stops = [...Object.keys(after).map(Number), frames].sort((a, b) => a - b);
  let first = 1, wrong = 0;
  for (const stop of stops) {
    const r = await pageFrames(page, inputs, first, stop, pngs.slice(first - 1, stop));
    if (r.wrong && !wrong) console.log(`${name}: ${r.first}`);
    wrong += r.wrong;
    if (after[stop]) await after[stop](page);
    first = stop + 1;
  }
  check(wrong === 0, `${name}: ${wrong} of ${frames} frames differ from play`);
  check(faults.length === 0, `${name}: the page made requests, dialogs or errors: ${faults.join('; ')}`);
  await page.close();
}

// ---- the controls, the start, the readable note, the interface and axe-core ----
// Counts sound plays and full-screen requests; with early, pauses the moment
// window.quorvel exists and takes the decoders' fallbacks (no ImageDecoder,
// no Uint8Array.fromBase64).
const watch = (early) => {
  window.plays = window.fullscreens = 0;
  const play = HTMLMediaElement.prototype.play, full = Element.prototype.requestFullscreen;
  HTMLMediaElement.prototype.play = function () { window.plays++; return play.call(this); };
  Element.prototype.requestFullscreen = function () { window.fullscreens++; return full.call(this); };
  if (!early) return;
  delete window.ImageDecoder;
  delete Uint8Array.fromBase64;
  let q;
  Object.defineProperty(window, 'quorvel', { configurable: true, get: () => q, set(v) { q = v; v.pause(); } });
};
// Whether the canvas stays the same over 20 timer periods.
const still = (page) => page.evaluate(async () => {
  const c = window.quorvel.board(), before = c.toDataURL();
  await new Promise((r) => setTimeout(r, 600));
  return c.toDataURL() === before;
});
const text = (page, selector) => page.$eval(selector, (e) => e.textContent);
const openNote = (page, x, y) => page.evaluate(([x, y]) => {
  const q = window.quorvel;
  q.pause(); q.input('move', x, y); q.frame(); q.input('click', 0, 0);
  return window.plays;
}, [x, y]);
const isFrame1 = async (page, pngs) => (await pageFrames(page, [], 1, 1, [pngs[0]], false)).wrong === 0;
const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const axeRun = (page) => page.evaluate(async () =>
  (await window.axe.run(document, { runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] })).violations.map((v) => v.id));

const holds = async (page, press) => {
  await press();
  const held = (await still(page)) && (await text(page, '#pause')) === 'play';
  await press();
  return held && !(await still(page));
};
const restarts = async (page, press, { pngs }) => {
  await page.evaluate(() => { window.quorvel.pause(); for (let f = 0; f < 5; ++f) window.quorvel.frame(); });
  await press();
  return (await isFrame1(page, pngs)) && (await still(page));
};
const mutes = async (page, press) => {
  const unmuted = await openNote(page, 260, 190);
  await press();
  const muted = await openNote(page, 260, 190);
  await page.reload();
  await page.evaluate(() => window.quorvel.ready);
  return `plays ${unmuted}, then ${muted}; after reload ${await text(page, '#sound')}` === 'plays 1, then 1; after reload sound on';
};
const fullScreen = async (page, press) => { await press(); return page.evaluate(() => window.fullscreens === 1); };
const startsOnPress = async (page, press, { pngs }) => {
  const waits = (await isFrame1(page, pngs)) && (await still(page)) && (await page.isVisible('#play'));
  await press();
  return waits && !(await still(page)) && !(await page.isVisible('#play'));
};
// Keys typed into the note or at a button go there; the page's act again once neither has the focus.
const noteKeepsKeys = async (page) => {
  await openNote(page, 470, 340);
  await page.focus('#writing');
  for (const key of ['Space', 'r', 'm', 'f']) await page.keyboard.press(key);
  await page.focus('#restart');
  for (const key of ['m', 'f']) await page.keyboard.press(key);
  const kept = [await page.$eval('#writing', (t) => t.value), await text(page, '#pause'), await text(page, '#sound'),
                await page.evaluate(() => window.fullscreens)];
  await page.evaluate(() => document.activeElement.blur());
  await page.keyboard.press('m');
  return JSON.stringify([...kept, await text(page, '#sound')]) ===
         JSON.stringify(['Bold, italic, underlined rmf', 'play', 'sound off', 0, 'sound on']) || JSON.stringify(kept);
};
// In a 420 x 800 window the note and its URL button read at 12 px at least, inside the window.
const readableNote = async (page) => {
  await page.setViewportSize({ width: 420, height: 800 });
  await openNote(page, 680, 460);
  return page.evaluate(() => ['writing', 'url'].every((id) => {
    const e = document.getElementById(id), r = e.getBoundingClientRect();
    const px = parseFloat(getComputedStyle(e).fontSize) * r.width / e.offsetWidth;
    return !e.hidden && px >= 12 && r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight;
  }));
};
const playsAsPlay = async (page, press, { pngs, inputs }) => (await pageFrames(page, inputs, 1, 30, pngs)).wrong === 0;
const accessible = async (page) => {
  await page.evaluate(axeSource);
  const closed = await axeRun(page);
  await openNote(page, 80, 460);
  const open = await axeRun(page);
  return closed.length + open.length === 0 || `axe-core: ${closed} / with the note open: ${open}`;
};
const checks = { holds, restarts, mutes, fullScreen, noteKeepsKeys, startsOnPress, readableNote, playsAsPlay, accessible };

async function tryControl(context, file, [name, , board, start, early, key, then]) {
  const dir = path.join(work, 'controls', name.replace(/\W/g, '-')), html = path.join(dir, 'page.html');
  fs.mkdirSync(dir, { recursive: true });
  try {
    run(cli, ['export', file, '--html', html, '--board', board, '--start', start]);
    const inputs = visitInputs(file, 30), pngs = playPngs(path.join(dir, 'frames'), file, board, 30, inputs);
    const { page, faults } = await openGuarded(context, html, watch, early);
    page.setDefaultTimeout(5000);
    const press = () => (key.startsWith('#') ? page.click(key) : page.keyboard.press(key));
    const result = await checks[then](page, press, { pngs, inputs });
    check(result === true, `controls: ${name}: ${result}`);
    check(faults.length === 0, `controls: ${name}: the page made requests, dialogs or errors: ${faults.join('; ')}`);
    await page.close();
  } catch (e) {
    fail(`controls: ${name}: ${e.message}`);
  }
}

const browser = await launchChromium();
try {
  run(maker, ['saveProjects'], { QUORVEL_WEB_PROJECTS: path.join(work, 'made') });
  const file = (n) => (['pointer', 'fifty', 'overlap'].includes(n) ? path.join(work, 'made', n, n + '.QV1') : path.join(examples, n, n + '.QV1'));
  for (const [name, project, board, frames] of pages.plays)
    if (!only || name === only) await compare(browser.context, name, file(project), board, frames, visitInputs(file(project), frames));
  await compare(browser.context, 'pointer', file('pointer'), '800x600', pointerChecks.frames, pages.pointer, pointerChecks.after);
  for (const row of pages.controls) if (!only || only === 'controls') await tryControl(browser.context, file(row[1]), row);
} finally {
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
}
if (passes + failures === 0) {  // a misspelt --only tests nothing, which is a failure
  console.log(`FAIL nothing was played${only ? `: no case is named ${only}` : ''}`);
  failures = 1;
}
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
