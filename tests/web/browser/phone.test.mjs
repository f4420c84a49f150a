// The published page on a phone's screen (360 x 740): no view scrolls sideways, the count
// stays in sight at the top and every view is one tap away at the bottom, every control is
// at least 44 px each way, long lists are made as they scroll, and pictures are fitted and
// open full size on a tap. From 1024 px the index and the states stand side by side.
// Screenshots of every view at 360 x 740 and 1280 x 800 go to build/web-screenshots.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { build, publishKeys, removeScratch, serve, launch, openPage, load, violations, act } from './support.mjs';

let scratch, server, browser;
const shots = process.env.VORN_SCREENSHOTS || join(build, 'web-screenshots');
const kPhone = { width: 360, height: 740 };
const kViews = ['title', 'characters', 'best', 'differentiating', 'scored', 'taxa', 'taxon', 'differences'];

before(async () => {
  scratch = publishKeys();
  server = await serve(join(scratch.root, 'sites'));
  browser = await launch();
  mkdirSync(shots, { recursive: true });
});

after(async () => {
  await browser?.close();
  await server?.close();
  if (scratch) removeScratch(scratch.root);
});

const site = (name, fragment = '') => `${server.url}/${name}/index.html${fragment}`;

// Opens `view` with one tap where a user would tap (a view's button, or a taxon of the list).
async function tapTo(page, view) {
  if (view === 'taxon') {
    await page.click('#tabs button[data-view="taxa"]');
    await page.locator('#taxa button').first().click();
  } else {
    await page.click(`#tabs button[data-view="${view}"]`);
  }
  await page.waitForFunction((id) => !document.getElementById(id).hidden, `view-${view}`);
}

// What a phone's user sees of the page, scrolled to the end of the view: the page's
// width against the screen's, where the count is, and the controls smaller than 44 px.
async function layout(page) {
  return page.evaluate(async () => {
    window.scrollTo(0, document.scrollingElement.scrollHeight);
    await new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
    const count = document.getElementById('count').getBoundingClientRect();
    const small = [];
    for (const control of document.querySelectorAll('button, select, input, .file-button')) {
      const box = control.getBoundingClientRect();
      const seen = control.closest('.file-button') && control.tagName === 'INPUT' ? null : box;
      if (!seen || !control.checkVisibility() || !box.width) continue;
      if (box.width < 44 || box.height < 44) small.push(`${control.id || control.textContent.trim()} ${Math.round(box.width)}x${Math.round(box.height)}`);
    }
    const tabs = [...document.querySelectorAll('#tabs button')].map((b) => {
      const box = b.getBoundingClientRect();
      return box.top >= 0 && box.bottom <= innerHeight && box.left >= 0 && box.right <= innerWidth;
    });
    return {
      scrollWidth: document.scrollingElement.scrollWidth,
      innerWidth,
      countInView: count.top >= 0 && count.bottom <= innerHeight && count.left >= 0 && count.right <= innerWidth,
      small,
      tabsInView: tabs.every(Boolean),
    };
  });
}

async function expectPhoneFit(page, where) {
  const seen = await layout(page);
  assert.ok(seen.scrollWidth <= seen.innerWidth, `${where} scrolls sideways: ${seen.scrollWidth} > ${seen.innerWidth}`);
  assert.ok(seen.countInView, `${where}: the count is out of sight`);
  assert.ok(seen.tabsInView, `${where}: a view's button is out of sight`);
  assert.deepEqual(seen.small, [], `${where}: controls smaller than 44 px`);
}

for (const name of ['trees', 'hostile', 'synth']) {
  test(`every view of ${name} fits a phone's screen, the count in sight`, async () => {
    const page = await openPage(browser, { viewport: kPhone, hasTouch: true, isMobile: true });
    await load(page, site(name, name === 'trees' ? '#a=+13,or,+53,-55,or' : '#a=+1'));
    for (const view of kViews) {
      if (view === 'title') {
        await page.click('#tabs button[data-view="title"]');
      } else {
        await tapTo(page, view);
        if (view === 'characters' && name !== 'synth') await page.locator('#entries button').first().click();
      }
      await expectPhoneFit(page, `${name}, ${view}`);
      if (name === 'trees') await page.screenshot({ path: join(shots, `phone-${kViews.indexOf(view) + 1}-${view}.png`) });
    }
    assert.deepEqual(await violations(page), []);
    assert.deepEqual(page.problems, []);
  });
}

test('a phone: the index above the states, and the states of an entry brought into sight', async () => {
  const page = await openPage(browser, { viewport: kPhone, hasTouch: true, isMobile: true });
  await load(page, site('trees'));
  await page.click('#start');
  const index = await page.locator('#entries-pane').boundingBox();
  const states = await page.locator('#entry-states').boundingBox();
  assert.ok(states.y >= index.y + index.height, 'the states stand below the index');
  assert.ok(index.height <= 740 * 0.4 + 1, `the index takes ${index.height} px of 740`);
  await page.locator('#entries button:text-is("Simple or compound")').tap();
  const caption = await page.locator('#entry-caption').boundingBox();
  assert.ok(caption.y >= 0 && caption.y < 740 / 2, `the entry's states begin at ${caption.y}`);
  await page.locator('#entry-states li[data-state="12"] button:text("Present")').tap();
  assert.equal(new URL(page.url()).hash, '#a=+13');
  await expectPhoneFit(page, 'the states of an entry');
});

test('from 1024 px the index and the states stand side by side', async () => {
  for (const [width, beside] of [[1023, false], [1024, true], [1280, true]]) {
    const page = await openPage(browser, { viewport: { width, height: 800 } });
    await load(page, site('trees'));
    await page.click('#start');
    const index = await page.locator('#entries-pane').boundingBox();
    const states = await page.locator('#entry-states').boundingBox();
    assert.equal(states.x >= index.x + index.width, beside, `at ${width} px`);
    await page.context().close();
  }
});

test('pictures are fitted to the screen and open full size on a tap', async () => {
  const page = await openPage(browser, { viewport: kPhone, hasTouch: true, isMobile: true });
  await load(page, site('trees'));
  await tapTo(page, 'taxa');
  await page.locator('#taxa button:text("Quercus robur")').tap();
  await page.waitForFunction(() => [...document.querySelectorAll('#taxon-pictures img')].every((img) => img.complete && img.naturalWidth > 0));
  const sizes = await page.locator('#taxon-pictures img').evaluateAll((imgs) => imgs.map((img) => [img.getBoundingClientRect().right, img.naturalWidth]));
  assert.ok(sizes.some(([, natural]) => natural > 360), 'a picture wider than the screen');
  for (const [right] of sizes) assert.ok(right <= 360, `a picture reaches ${right} px`);
  await expectPhoneFit(page, 'a taxon with pictures');
  const wide = sizes.findIndex(([, natural]) => natural > 360);
  await page.locator('#taxon-pictures button.picture').nth(wide).tap();
  assert.ok(await page.locator('#picture-viewer').evaluate((d) => d.open));
  await page.waitForFunction(() => document.getElementById('viewer-picture').complete);
  const full = await page.locator('#viewer-picture').evaluate((img) => [img.getBoundingClientRect().width, img.naturalWidth]);
  assert.equal(full[0], full[1], 'the picture is shown at its own size');
  assert.equal(await page.locator('#viewer-name').textContent(), 'Quercus robur');
  await page.screenshot({ path: join(shots, 'phone-9-picture.png') });
  assert.ok((await layout(page)).scrollWidth <= 360, 'the picture scrolls inside the viewer, not the page');
  await page.keyboard.press('Escape');
  assert.equal(await page.locator('#picture-viewer').evaluate((d) => d.open), false);
  await page.locator('#taxon-pictures button.picture').first().tap();
  await page.locator('#viewer-close').tap();
  assert.equal(await page.locator('#picture-viewer').evaluate((d) => d.open), false);
  assert.deepEqual(page.problems, []);
});

test('a list of 1,000 states is made as it scrolls, never whole', async () => {
  const page = await openPage(browser, { viewport: kPhone, hasTouch: true, isMobile: true });
  await load(page, site('synth'));
  await page.click('#start');
  const rows = () => page.locator('#entry-states li.state').count();
  assert.equal(await rows(), 300);
  await page.locator('#entry-states li.state').last().scrollIntoViewIfNeeded();
  await page.waitForFunction(() => document.querySelectorAll('#entry-states li.state').length === 600);
  // A score keeps the rows made and brings each up to date; other states to list start
  // again from the first rows.
  await act(page, '+5');
  assert.equal(await rows(), 600, 'a score keeps the rows in place');
  assert.equal(await page.locator('#entry-states li[data-state="4"] .mark').textContent(), '+');
  assert.equal(await page.locator('#entry-states li[data-state="4"] button[data-request="+"]').getAttribute('aria-pressed'), 'true');
  await page.fill('#find', 'state 1');
  assert.equal(await rows(), 300, 'a new list starts again from the first rows');
  await expectPhoneFit(page, 'a long list');
});

test('screenshots of every view at 1280 x 800', async () => {
  const page = await openPage(browser);
  await load(page, site('trees', '#a=+13,or,+53,-55,or'));
  for (const view of kViews) {
    if (view === 'title') await page.click('#tabs button[data-view="title"]');
    else await tapTo(page, view);
    if (view === 'characters') await page.click('#entries button:text-is("Simple or compound")');
    const seen = await layout(page);
    assert.ok(seen.scrollWidth <= seen.innerWidth, `${view} scrolls sideways at 1280 px`);
    await page.screenshot({ path: join(shots, `desktop-${kViews.indexOf(view) + 1}-${view}.png`) });
  }
  assert.deepEqual(page.problems, []);
});
