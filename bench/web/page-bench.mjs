// The published page's figures on a synthetic key (10,000 x 10,000 unless a size is
// given), in Debian's headless chromium from a server on the loopback address, with the
// browser tests' server and launch (tests/web/browser/support.mjs, whose npm install
// gives playwright-core):
//   - navigation to a usable page (the key fetched, the engine ready, the list of all
//     states drawn), with an empty cache and with a warm one (a second visit);
//   - one scoring action, a click on Present or Clear, to the next frame painted;
//   - the all-state counts in the page's WebAssembly and in the native build
//     (build/bench/vorn-bench-web), on the same published codes;
//   - vorn-publish of the key against cp -r of its folder.
// Each figure is a median; the budgets are those the page is held to.
//
//   node bench/web/page-bench.mjs [SIZE]     (VORN_BUILD names the build, build/ by default)
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { cpus, loadavg, tmpdir } from 'node:os';
import { join } from 'node:path';
import { build, program, serve, launch } from '../../tests/web/browser/support.mjs';

const size = Number(process.argv[2] || 10000);
const kLoads = 5;
const kActions = 30;
const kCounts = 30;
const kCommands = 5;

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

function timed(run) {
  const start = process.hrtime.bigint();
  run();
  return Number(process.hrtime.bigint() - start) / 1e6;
}

// Publishing against copying, each run into a folder that does not exist yet.
function publishing(des, keyFolder, root) {
  const publish = [];
  const copy = [];
  for (let i = 0; i < kCommands; ++i) {
    const site = join(root, 'publish-run');
    const copied = join(root, 'copy-run');
    publish.push(timed(() => execFileSync(program('vorn-publish'), [des, site], { stdio: 'pipe' })));
    copy.push(timed(() => execFileSync('cp', ['-r', keyFolder, copied])));
    rmSync(site, { recursive: true });
    rmSync(copied, { recursive: true });
  }
  return { publish: median(publish), copy: median(copy) };
}

// Marks, from the document's start, the first frame in which the count holds digits and
// the list of states has rows: window.__usable, in ms from the navigation's start.
function watchUsable() {
  const check = () => {
    const count = document.getElementById('matching-count');
    if (count && /^\d+$/.test(count.textContent) && document.querySelector('#entry-states li[data-state]')) {
      window.__usable = performance.now();
    } else {
      requestAnimationFrame(check);
    }
  };
  requestAnimationFrame(check);
}

async function timeLoad(context, url) {
  const tab = await context.newPage();
  tab.problems = [];
  tab.on('pageerror', (error) => tab.problems.push(error.message));
  await tab.goto(url);
  await tab.waitForFunction(() => window.__usable !== undefined, null, { timeout: 60000 });
  const usable = await tab.evaluate(() => window.__usable);
  const count = await tab.locator('#matching-count').textContent();
  if (count !== String(size)) throw new Error(`the page counts ${count} taxa, not ${size}`);
  if (tab.problems.length) throw new Error(tab.problems.join('; '));
  return { tab, usable };
}

async function newContext(browser) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  await context.addInitScript(watchUsable);
  return context;
}

// Present and Clear in turn on the first row's state, clicked in the page; from the click
// to the first task after the next frame. The row's mark says the click scored.
async function scoring(tab) {
  const times = [];
  for (let i = 0; i < kActions; ++i) {
    const request = i % 2 ? '=' : '+';
    times.push(await tab.evaluate(async (request) => {
      const row = () => document.querySelector('#entry-states li[data-state="0"]');
      const start = performance.now();
      row().querySelector(`button[data-request="${request}"]`).click();
      await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
      const time = performance.now() - start;
      const mark = row().querySelector('.mark').textContent;
      if (mark !== (request === '+' ? '+' : '')) throw new Error(`the row shows "${mark}" after ${request}`);
      return time;
    }, request));
  }
  return median(times);
}

// The page's engine counting every state right after a score, as vorn-bench-web does.
async function wasmCounts(tab) {
  const times = await tab.evaluate(async ({ runs, states }) => {
    const { core } = await import('./js/engine.js');
    const out = [];
    for (let i = 0; i < runs + 3; ++i) {
      core.act(i % 2 ? '=18' : '+18');
      const start = performance.now();
      const counts = core.stateCounts();
      const time = performance.now() - start;
      if (counts.length !== states) throw new Error(`${counts.length} counts`);
      if (i >= 3) out.push(time);
    }
    core.act('reset');
    return out;
  }, { runs: kCounts, states: size });
  return median(times);
}

function nativeCounts(site) {
  const out = execFileSync(join(build, 'bench', 'vorn-bench-web'),
    [site, '--benchmark_repetitions=5', '--benchmark_report_aggregates_only=true', '--benchmark_format=json'],
    { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  const row = JSON.parse(out).benchmarks.find((b) => b.aggregate_name === 'median');
  return row.real_time;
}

const root = mkdtempSync(join(tmpdir(), 'vorn-page-bench-'));
try {
  execFileSync(join(build, 'tests', 'vorn-web-test-keys'), [join(root, 'keys'), String(size)]);
  const keyFolder = join(root, 'keys', 'synth');
  const des = join(keyFolder, 'SYNTH.DES');
  const site = join(root, 'sites', 'synth');
  mkdirSync(join(root, 'sites'));
  execFileSync(program('vorn-publish'), [des, site], { stdio: 'pipe' });
  const commands = publishing(des, keyFolder, root);

  const server = await serve(join(root, 'sites'));
  const browser = await launch();
  const url = `${server.url}/synth/index.html#t=0`;
  const cold = [];
  for (let i = 0; i < kLoads; ++i) {
    const context = await newContext(browser);
    cold.push((await timeLoad(context, url)).usable);
    await context.close();
  }
  const context = await newContext(browser);
  const first = await timeLoad(context, url);
  await first.tab.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 60000 });
  await first.tab.close();
  const warm = [];
  let last = null;
  for (let i = 0; i < kLoads; ++i) {
    if (last) await last.close();
    const visit = await timeLoad(context, url);
    warm.push(visit.usable);
    last = visit.tab;
  }
  const action = await scoring(last);
  const wasm = await wasmCounts(last);
  const native = nativeCounts(site);
  await browser.close();
  await server.close();

  const ms = (value) => `${value.toFixed(value < 10 ? 2 : 0)} ms`;
  const rows = [
    ['navigation to a usable page, empty cache', ms(median(cold)), '3 s', median(cold) <= 3000],
    ['navigation to a usable page, warm cache', ms(median(warm)), '1 s', median(warm) <= 1000],
    ['one scoring action to the repainted page', ms(action), '50 ms', action <= 50],
    ['all-state counts, WebAssembly / native', `${ms(wasm)} / ${ms(native)} = ${(wasm / native).toFixed(2)} x`, '2 x',
      wasm <= 2 * native],
    ['vorn-publish / cp -r of the key folder', `${ms(commands.publish)} / ${ms(commands.copy)} = ${(commands.publish / commands.copy).toFixed(1)} x`,
      '2 x', commands.publish <= 2 * commands.copy],
  ];
  console.log(`${size} x ${size} key; ${cpus().length} cores, ${cpus()[0].model}; load ${loadavg()[0].toFixed(2)}; ` +
    `medians of ${kLoads} loads, ${kActions} actions, ${kCounts} counts, ${kCommands} commands`);
  console.log('| Measure | Median | Budget | Within |');
  console.log('|---|---|---|---|');
  for (const [what, figure, budget, within] of rows) console.log(`| ${what} | ${figure} | ${budget} | ${within ? 'yes' : 'no'} |`);
} finally {
  rmSync(root, { recursive: true, force: true });
}
