// The page's rules (src/webpage/rules.js) against the engine, without a
// browser: the example projects, the hand-made ones and 300 seeded random
// ones (test_webpage writes 200) are played by quorvel-cli play --trace and
// by the rules under node, on the page data quorvel-cli export --data-dir
// writes, with the same seeded moves and clicks; the traces must be the same
// line for line. A difference names the project, frame, slot and field.
//   node test_trace.mjs --cli QUORVEL_CLI --maker TEST_WEBPAGE --examples DIR --rules RULES_JS
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import vm from 'node:vm';

const arg = (name) => process.argv[process.argv.indexOf('--' + name) + 1];
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvel-trace-'));
const Frames = 100;
// The fields TraceLine (src/cli/Json.cpp) writes, in its order.
const TraceFields = ['Left', 'Top', 'Direction', 'FlipCode', 'CelColumn', 'CelRow', 'SheetX', 'SheetY', 'Value',
                     'Visible', 'Flashing', 'MouseOver'];
const context = vm.createContext({});
vm.runInContext(fs.readFileSync(arg('rules'), 'utf8'), context);

// Runs a program; exit 3 (a project without its pictures) is no failure here.
function run(program, args, env = {}) {
  return new Promise((resolve, reject) => execFile(program, args, {
    env: { ...process.env, QT_QPA_PLATFORM: 'offscreen', ...env }, maxBuffer: 1 << 26,
  }, (e, out, err) => (e && e.code !== 3 ? reject(new Error(`${program} ${args[0]}: ${e.message} ${err}`)) : resolve())));
}

// A seeded stream of numbers in (0, 1) (Park and Miller's).
const random = (seed) => () => (seed = (seed * 48271) % 2147483647) / 2147483647;

// Every other frame the pointer moves somewhere on the Board; most moves are
// followed by a click.
function inputsFor([w, h], next) {
  const inputs = [];
  for (let f = 1; f < Frames; f += 2) {
    inputs.push([f, 'move', Math.floor(next() * w), Math.floor(next() * h)]);
    if (next() < 0.7) inputs.push([f + 1, 'click', 0, 0]);
  }
  return inputs;
}

// The rules' trace of one project's data, as play --trace writes it.
function rulesTrace(data, inputs) {
  const rules = context.quorvelRules(data, new Proxy({}, { get: () => () => {} }));
  rules.reset();
  const lines = [];
  for (let f = 1; f <= Frames; ++f) {
    for (const [frame, kind, x, y] of inputs) if (frame === f) kind === 'move' ? rules.mouseMove(x, y) : rules.mouseDown();
    rules.frame();
    const panes = rules.run.flatMap((p, slot) => (slot > 0 && rules.isSet(p.InUse)
      ? [{ Slot: slot, ...Object.fromEntries(TraceFields.map((k) => [k, p[k]])) }] : []));
    lines.push(JSON.stringify({ Frame: f, Panes: panes }));
  }
  return lines;
}

// The first Pane field two trace lines differ in.
function firstDifference(a, b) {
  const [pa, pb] = [JSON.parse(a).Panes, JSON.parse(b).Panes];
  for (let i = 0; i < Math.max(pa.length, pb.length); ++i)
    for (const k of ['Slot', ...TraceFields])
      if (pa[i]?.[k] !== pb[i]?.[k]) return `slot ${(pa[i] || pb[i]).Slot} ${k}: play ${pa[i]?.[k]}, rules ${pb[i]?.[k]}`;
  return 'the lines differ';
}

let compared = 0, failures = 0;
try {
  const made = path.join(work, 'made');
  await run(arg('maker'), ['saveProjects', 'saveRandomProjects'], { QUORVEL_WEB_PROJECTS: made });
  const projectIn = (dir, name) => path.join(dir, name, name + '.QV1');
  const seeded = fs.readdirSync(path.join(made, 'random')).sort().map((n) => projectIn(path.join(made, 'random'), n));
  const next = random(1);
  const groups = [
    ['800x600', [...['demo', 'aquarium', 'bouncelab', 'quizboard'].map((n) => projectIn(arg('examples'), n)),
                 projectIn(made, 'pointer'), projectIn(made, 'fifty')]],
    ['160x120', seeded.slice(0, 100)],
    ['64x48', seeded.slice(100)],
  ].map(([board, projects]) => ({ board, projects, dir: path.join(work, board), inputs: inputsFor(board.split('x').map(Number), next) }));
  // Each group's play and export, all at once.
  await Promise.all(groups.flatMap(({ board, projects, dir, inputs }) => [
    run(arg('cli'), ['play', ...projects, '--board', board, '--frames', String(Frames), '--trace', dir,
                     ...inputs.flatMap(([f, kind, x, y]) => ['--input', `${f}:${kind}:${x},${y}`])]),
    run(arg('cli'), ['export', ...projects, '--board', board, '--data-dir', dir])]));
  for (const { board, projects, dir, inputs } of groups) {
    for (const project of projects) {
      const name = path.basename(project, '.QV1'), played = fs.readFileSync(path.join(dir, name + '.trace'), 'utf8').split('\n');
      const ruled = rulesTrace(JSON.parse(fs.readFileSync(path.join(dir, name + '.json'), 'utf8')), inputs);
      const f = ruled.findIndex((line, i) => line !== played[i]);
      ++compared;
      if (f < 0 && played.length === Frames + 1) continue;
      ++failures;
      console.log(`FAIL ${name} (${board}) frame ${f + 1}: ${f < 0 ? 'play wrote more frames' : played[f] ? firstDifference(played[f], ruled[f]) : 'play wrote fewer frames'}`);
    }
  }
} finally {
  fs.rmSync(work, { recursive: true, force: true });
}
console.log(`${compared - failures} of ${compared} projects trace the same`);
process.exit(failures === 0 && compared === 206 ? 0 : 1);
