// Debian's chromium driven through playwright-core, shared by the web page
// test and the benchmark: a fresh profile, no network, and a guard that
// records every request, dialog, page error and console error of a page.
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const require = createRequire(import.meta.url);

export const ChromiumPath = '/usr/bin/chromium';

export async function launchChromium() {
  let chromium;
  try {
    ({ chromium } = require('playwright-core'));
  } catch (e) {
    throw new Error('playwright-core is missing: run scripts/install-deps (npm ci in tests/web)');
  }
  if (!fs.existsSync(ChromiumPath)) throw new Error(ChromiumPath + ' is missing: run scripts/install-deps');
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvel-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: ChromiumPath,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const close = async () => {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { context, close };
}

// Opens a page file with a guard: `faults` lists every request other than
// the page's own file, every dialog, page error and console error.
export async function openGuarded(context, file, beforeLoad, arg) {
  const page = await context.newPage();
  const url = 'file://' + path.resolve(file);
  const faults = [];
  page.on('request', (r) => {
    if (r.url() !== url && !r.url().startsWith('data:')) faults.push('request ' + r.url());
  });
  page.on('dialog', (d) => { faults.push('dialog ' + d.message()); d.dismiss().catch(() => {}); });
  page.on('pageerror', (e) => faults.push('page error ' + e.message));
  page.on('console', (m) => { if (m.type() === 'error') faults.push('console error ' + m.text()); });
  page.on('popup', (p) => faults.push('popup ' + p.url()));
  if (beforeLoad) await page.addInitScript(beforeLoad, arg);
  await page.goto(url);
  await page.evaluate(() => window.quorvel.ready);
  return { page, faults };
}
