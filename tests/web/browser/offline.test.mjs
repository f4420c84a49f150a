// The published page kept on the device: after one visit, with the server stopped, a
// reload identifies; a key published again replaces what was kept, whole; "Keep all
// pictures offline" says how much it fetches first and shows its progress; the manifest
// and icons a phone puts on its home screen.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { publishKeys, removeScratch, serve, launch, openPage, load, violations, identify, program, source } from './support.mjs';

let scratch, browser;

before(async () => {
  scratch = publishKeys();
  browser = await launch();
});

after(async () => {
  await browser?.close();
  if (scratch) removeScratch(scratch.root);
});

// Waits until the page is controlled by its service worker, which has kept the key.
async function kept(page) {
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 20000 });
}

async function cacheNames(page) {
  return page.evaluate(() => caches.keys());
}

async function scoreAndCount(page, action) {
  await page.evaluate(async (text) => (await import('./js/engine.js')).act(text), action);
  return page.locator('#matching-count').textContent();
}

test('after one visit the page identifies with the server stopped', async () => {
  let server = await serve(join(scratch.root, 'sites'));
  const site = `${server.url}/trees/index.html`;
  const page = await openPage(browser);
  await load(page, site);
  await kept(page);
  assert.equal((await cacheNames(page)).length, 1);
  await server.close();

  // No server: the reload, the engine and the key come from the device.
  await page.goto('about:blank');
  const offline = await page.goto(`${site}#a=+13`);
  assert.ok(offline.ok());
  await page.waitForFunction(() => /^\d+$/.test(document.getElementById('matching-count').textContent));
  assert.equal(await page.locator('#matching-count').textContent(), String(identify(scratch.des.trees, ['+13']).matching_taxa_count));
  assert.equal(await scoreAndCount(page, '-14'), String(identify(scratch.des.trees, ['+13', '-14']).matching_taxa_count));
  assert.equal(new URL(page.url()).hash, '#a=+13,-14');
  // A picture not seen before cannot come; the page says nothing broke.
  assert.deepEqual(await violations(page), []);
  await page.context().close();
});

test('"Keep all pictures offline": the size asked first, a progress bar, then every picture offline', async () => {
  let server = await serve(join(scratch.root, 'sites'));
  const site = `${server.url}/trees/index.html`;
  const page = await openPage(browser);
  await load(page, site);
  await kept(page);
  await page.locator('#offline').waitFor();
  await page.click('#keep-pictures');
  await page.locator('#offline-question').waitFor();
  const question = await page.locator('#offline-question-text').textContent();
  const plan = readFileSync(join(scratch.root, 'sites', 'trees', 'offline.js'), 'utf8');
  const later = JSON.parse(plan.slice(plan.indexOf('{'), plan.lastIndexOf('}') + 1)).later;
  const megabytes = (later.reduce((sum, [, size]) => sum + size, 0) / 1e6).toFixed(1);
  assert.equal(question, `Keeping all pictures and notes offline fetches ${later.length} files, ${megabytes} MB, and keeps them on this device.`);
  assert.equal(await page.locator('#offline-progress').isVisible(), false, 'nothing is fetched before the user agrees');
  await page.click('#offline-keep');
  await page.waitForFunction(() => document.getElementById('offline-status').textContent === 'All pictures and notes are kept on this device.', null, { timeout: 20000 });
  await page.screenshot({ path: join(process.env.VORN_SCREENSHOTS || join(scratch.root), 'offline.png') });
  await server.close();

  // Every picture and notes file of the key, with the server stopped.
  await page.reload();
  await page.waitForFunction(() => /^\d+$/.test(document.getElementById('matching-count').textContent));
  const failed = await page.evaluate(async (paths) => {
    const bad = [];
    for (const path of paths) if (!(await fetch(path)).ok) bad.push(path);
    return bad;
  }, later.map(([path]) => path));
  assert.deepEqual(failed, []);
  await page.click('#keep-pictures');
  await page.waitForFunction(() => document.getElementById('offline-status').textContent === 'All pictures and notes are kept on this device.');
  assert.deepEqual(page.problems, []);
  await page.context().close();
});

test('a key published again replaces what was kept, whole', async () => {
  const sites = join(scratch.root, 'sites');
  let server = await serve(sites);
  const port = server.port;
  const site = `${server.url}/trees/index.html`;
  const page = await openPage(browser);
  await load(page, site);
  await kept(page);
  const before = await cacheNames(page);
  assert.equal(before.length, 1);

  execFileSync(program('vorn-publish'), [scratch.des.trees, join(sites, 'trees'), '--force', '--title', 'Trees, second edition'], { stdio: 'pipe' });
  // The page finds the new publication on its next visit, and opens it again from it.
  await page.reload();
  await page.waitForFunction(() => document.title === 'Trees, second edition', null, { timeout: 30000 });
  await page.waitForFunction(() => /^\d+$/.test(document.getElementById('matching-count').textContent));
  const after = await cacheNames(page);
  assert.equal(after.length, 1, `one publication kept: ${after}`);
  assert.notEqual(after[0], before[0]);

  await server.close();
  await page.reload();
  await page.waitForFunction(() => /^\d+$/.test(document.getElementById('matching-count').textContent));
  assert.equal(await page.title(), 'Trees, second edition');
  assert.equal(await page.locator('#key-title').textContent(), 'Trees, second edition');
  // Everything the page reads offline is the new publication's.
  const json = await page.evaluate(async () => (await fetch('key/key.json')).json());
  assert.equal(json.title, 'Trees, second edition');
  assert.equal(await scoreAndCount(page, '+13'), String(identify(scratch.des.trees, ['+13']).matching_taxa_count));
  server = await serve(sites, port);
  await server.close();
  await page.context().close();
});

test('the manifest and icons a phone puts on its home screen', async () => {
  const server = await serve(join(scratch.root, 'sites'));
  const page = await openPage(browser);
  await load(page, `${server.url}/trees/index.html`);
  const href = await page.getAttribute('link[rel="manifest"]', 'href');
  const manifest = await page.evaluate(async (path) => {
    const response = await fetch(path);
    return { type: response.headers.get('content-type'), body: await response.json() };
  }, href);
  assert.equal(manifest.type, 'application/manifest+json');
  assert.equal(manifest.body.name, await page.title());
  assert.equal(manifest.body.display, 'standalone');
  assert.equal(manifest.body.start_url, './index.html');
  for (const icon of manifest.body.icons) {
    const size = await page.evaluate(async (src) => {
      const img = new Image();
      img.src = src;
      await img.decode();
      return `${img.naturalWidth}x${img.naturalHeight}`;
    }, icon.src);
    if (icon.sizes !== 'any') assert.equal(size, icon.sizes, icon.src);
  }
  // What Chromium itself reads of the manifest: no error.
  const session = await page.context().newCDPSession(page);
  const { errors, data } = await session.send('Page.getAppManifest');
  assert.deepEqual(errors, []);
  assert.ok(data.includes('"short_name"'));
  assert.ok(readFileSync(join(source, 'web', 'page', 'icon-512.png')).length > 1000);
  await server.close();
});
