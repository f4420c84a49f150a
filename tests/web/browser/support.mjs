// What the browser tests share: the build's programs, keys published into a scratch
// folder, a small HTTP server for them on the loopback address, Debian's chromium driven
// through playwright-core, and vorn-identify's answers to compare with.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, readFileSync, statSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = dirname(fileURLToPath(import.meta.url));
export const source = resolve(here, '../../..');
export const build = resolve(process.env.VORN_BUILD || join(source, 'build'));
export const program = (name) => join(build, 'programs', name);

// Publishes the test keys (TREES of keys/, and those vorn-web-test-keys writes) into a
// scratch folder; returns {root, des: {trees, hostile, synth}}.
export function publishKeys() {
  const root = mkdtempSync(join(tmpdir(), 'vorn-browser-'));
  const keys = join(root, 'keys');
  execFileSync(join(build, 'tests', 'vorn-web-test-keys'), [keys]);
  const des = {
    trees: join(source, 'keys', 'TREES.DES'),
    hostile: join(keys, 'hostile', 'HOSTILE.DES'),
    synth: join(keys, 'synth', 'SYNTH.DES'),
  };
  mkdirSync(join(root, 'sites'));
  for (const [name, path] of Object.entries(des)) {
    execFileSync(program('vorn-publish'), [path, join(root, 'sites', name)], { stdio: 'pipe' });
  }
  return { root, des };
}

export function removeScratch(root) {
  rmSync(root, { recursive: true, force: true });
}

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.wasm': 'application/wasm',
  '.txt': 'text/plain; charset=utf-8',
  '.jpg': 'image/jpeg',
  '.gif': 'image/gif',
  '.bin': 'application/octet-stream',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves the files under `folder` on 127.0.0.1, at `port` or one the system picks; GET
// only. `close()` stops it at once, open connections too, as a network gone would.
export async function serve(folder, port = 0) {
  const top = resolve(folder) + sep;
  const server = createServer((request, response) => {
    const path = normalize(join(top, decodeURIComponent(new URL(request.url, 'http://x').pathname)));
    let file = path;
    try {
      if (!path.startsWith(top)) throw new Error('outside');
      if (statSync(file).isDirectory()) file = join(file, 'index.html');
      const body = readFileSync(file);
      response.writeHead(200, { 'Content-Type': kTypes[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found');
    }
  });
  await new Promise((done) => server.listen(port, '127.0.0.1', done));
  return {
    url: `http://127.0.0.1:${server.address().port}`,
    port: server.address().port,
    close: () => new Promise((done) => {
      server.close(done);
      server.closeAllConnections();
    }),
  };
}

// Debian's chromium, headless, with a profile of its own, nothing fetched from elsewhere.
export async function launch() {
  return chromium.launch({
    executablePath: process.env.VORN_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// A page (1280 x 800 unless `viewport` says) that records Content-Security-Policy violations, script errors
// and dialogs (none may happen): `page.problems`.
export async function openPage(browser, { viewport = { width: 1280, height: 800 }, ...options } = {}) {
  const context = await browser.newContext({ viewport, acceptDownloads: true, ...options });
  await context.addInitScript(() => {
    window.__violations = [];
    document.addEventListener('securitypolicyviolation', (event) => {
      window.__violations.push(`${event.violatedDirective} ${event.blockedURI}`);
    });
  });
  const page = await context.newPage();
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push(`error: ${error.message}`));
  page.on('dialog', (dialog) => {
    page.problems.push(`dialog: ${dialog.message()}`);
    dialog.dismiss();
  });
  page.on('console', (message) => {
    if (message.type() === 'error') page.problems.push(`console: ${message.text()}`);
  });
  return page;
}

// Loads `url` and waits until the core has answered (#matching-count holds digits).
export async function load(page, url) {
  await page.goto(url);
  await page.waitForFunction(() => /^\d+$/.test(document.getElementById('matching-count').textContent));
}

export async function violations(page) {
  return page.evaluate(() => window.__violations);
}

// Runs one action through the page's bridge to the core (js/engine.js, the module the
// page itself uses, as its buttons do); the core's answer.
export async function act(page, action) {
  return page.evaluate(async (text) => (await import('./js/engine.js')).act(text), action);
}

// What the page's core answers, in vorn-identify's JSON terms.
export async function answers(page, a, b) {
  return page.evaluate(async ({ a, b }) => {
    const { core } = await import('./js/engine.js');
    const marks = ['', '+', '-', 'o+', 'o-'];
    const best = core.bestStates();
    const differences = core.differences(a, b);
    return {
      count: document.getElementById('matching-count').textContent,
      matchingCount: core.matchingCount(),
      matching: Array.from(core.matchingTaxa(), (t) => t + 1),
      scores: Array.from(core.scores(), (s) => marks[s]),
      counts: Array.from(core.stateCounts()),
      best: Array.from(best.states, (s, i) => [s + 1, best.values[i]]),
      differentiating: Array.from(core.differentiatingStates(), (s) => s + 1),
      certain: Array.from(differences.certain, (s) => s + 1),
      possible: Array.from(differences.possible, (s) => s + 1),
      orMode: core.orMode(),
      tolerance: core.tolerance(),
      address: core.address(),
      mismatches: Array.from(core.mismatches()),
    };
  }, { a, b });
}

// vorn-identify's JSON report of `actions` at `tolerance`, with the differences of taxa
// a and b (from 0).
export function identify(des, actions, tolerance = 0, a = 0, b = 1, more = []) {
  const out = execFileSync(program('vorn-identify'),
    [des, ...actions, '--json', '--tolerance', String(tolerance), '--differences', `${a + 1},${b + 1}`, ...more],
    { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  return JSON.parse(out);
}

// The address's actions, as vorn-identify takes them.
export function actionsOf(address) {
  const part = address.split('&').find((p) => p.startsWith('a='));
  return part && part.length > 2 ? part.slice(2).split(',') : [];
}

export function toleranceOf(address) {
  const part = address.split('&').find((p) => p.startsWith('t='));
  return part ? Number(part.slice(2)) : 0;
}
