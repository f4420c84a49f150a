// The published page for every user: a whole identification with the keyboard alone
// (Tab, Enter, Space) with the focus always seen; the accessibility tree names every
// control, region and list, the count is announced, and each state's mark is in its name;
// every text keeps a contrast of 4.5:1 in the light and the dark scheme; the page's text
// follows the size the browser is set to.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { publishKeys, removeScratch, serve, launch, openPage, load, violations, identify } from './support.mjs';

let scratch, server, browser;

before(async () => {
  scratch = publishKeys();
  server = await serve(join(scratch.root, 'sites'));
  browser = await launch();
});

after(async () => {
  await browser?.close();
  await server?.close();
  if (scratch) removeScratch(scratch.root);
});

const site = (name, fragment = '') => `${server.url}/${name}/index.html${fragment}`;

// Presses Tab (Shift+Tab when `back`) until the focus is on an element that matches
// `selector`; fails after `limit` presses. Checks on the way that every element the
// focus reaches is seen to have it.
async function tabTo(page, selector, { back = false, limit = 400, text } = {}) {
  for (let i = 0; i < limit; ++i) {
    await page.keyboard.press(back ? 'Shift+Tab' : 'Tab');
    const at = await page.evaluate((wanted) => {
      const focused = document.activeElement;
      if (!focused || focused === document.body) return { matches: false, seen: true };
      const style = getComputedStyle(focused.closest('.file-button') || focused);
      const outline = style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) >= 2;
      return { matches: focused.matches(wanted), seen: outline, what: focused.outerHTML.slice(0, 80) };
    }, selector);
    if (at.matches && text !== undefined) at.matches = (await page.evaluate(() => document.activeElement.textContent)) === text;
    assert.ok(at.seen, `the focus is not seen on ${at.what}`);
    if (at.matches) return;
  }
  assert.fail(`${limit} presses of Tab did not reach ${selector}`);
}

// The address once the page has written it (a button pressed with Space acts on the key's
// release).
async function hash(page, wanted) {
  await page.waitForFunction((text) => location.hash === text, wanted, { timeout: 2000 }).catch(() => {});
  return new URL(page.url()).hash;
}
const count = (page) => page.locator('#matching-count').textContent();

test('a whole identification with the keyboard alone', async () => {
  const page = await openPage(browser);
  const des = scratch.des.trees;
  await load(page, site('trees'));
  await tabTo(page, '#start');
  await page.keyboard.press('Enter');
  assert.equal(await page.locator('#view-characters').isVisible(), true);
  // An index entry, opened with Enter: the focus stays on it.
  await tabTo(page, '#entries button[data-entry]', { text: 'Simple or compound' });
  await page.keyboard.press('Enter');
  assert.equal(await page.locator('#entry-caption').textContent(), 'Leaves:  Simple or compound');
  assert.equal(await page.evaluate(() => document.activeElement.textContent), 'Simple or compound');
  // A state scored Present with Space; the list drawn again keeps the focus in place.
  await tabTo(page, '#entry-states li[data-state="12"] button[data-request="+"]');
  await page.keyboard.press('Space');
  assert.equal(await hash(page, '#a=+13'), '#a=+13');
  assert.equal(await count(page), String(identify(des, ['+13']).matching_taxa_count));
  assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'Present: 13. Leaf form: compound, pinnate');
  assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-pressed')), 'true');
  // Absent on the next state, from where the focus was left: past Absent and Clear of
  // this state and Present of the next.
  for (let i = 0; i < 4; ++i) await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'Absent: 14. Leaf form: compound, palmate');
  await page.keyboard.press('Enter');
  assert.equal(await hash(page, '#a=+13,-14'), '#a=+13,-14');
  // A taxon's page, through the Matching taxa tab.
  await tabTo(page, '#tabs button[data-view="taxa"]', { back: true });
  await page.keyboard.press('Enter');
  const first = identify(des, ['+13', '-14']).matching_taxa[0];
  await tabTo(page, `#taxa button[data-taxon="${first - 1}"]`);
  await page.keyboard.press('Enter');
  assert.equal(await page.locator('#view-taxon').isVisible(), true);
  assert.match(await page.locator('#taxon-name').textContent(), new RegExp(`^${first}\\. `));
  assert.equal(await page.evaluate(() => document.activeElement.id), 'taxon-name');
  // A picture full size and back, with Enter and Escape.
  await tabTo(page, '#taxon-pictures button.picture');
  await page.keyboard.press('Enter');
  assert.ok(await page.locator('#picture-viewer').evaluate((d) => d.open));
  await page.keyboard.press('Escape');
  assert.ok(!(await page.locator('#picture-viewer').evaluate((d) => d.open)));
  // Undo, back in the bar at the top.
  await tabTo(page, '#undo', { back: true });
  await page.keyboard.press('Enter');
  assert.equal(await hash(page, '#a=+13'), '#a=+13');
  await page.keyboard.press('Space');
  assert.equal(await hash(page, ''), '');
  assert.equal(await count(page), '30');
  // The tolerance from the keyboard.
  await tabTo(page, '#tolerance');
  await page.keyboard.press('ArrowDown');
  await page.waitForFunction(() => location.hash === '#t=1' || location.hash.endsWith('&t=1'));
  assert.match(await page.locator('#count').textContent(), /, 1 allowed$/);
  assert.deepEqual(await violations(page), []);
  assert.deepEqual(page.problems, []);
});

// The nodes of the accessibility tree that are not ignored, with their role, name and
// properties by name.
async function accessibilityTree(page) {
  const session = await page.context().newCDPSession(page);
  const { nodes } = await session.send('Accessibility.getFullAXTree');
  await session.detach();
  const byId = new Map(nodes.map((node) => [node.nodeId, node]));
  // The text inside a node, as a screen reader reads a live region that changed.
  const textOf = (node) => node.role?.value === 'StaticText' ? node.name?.value ?? ''
    : (node.childIds || []).map((id) => byId.get(id)).filter(Boolean).map(textOf).join('');
  return nodes.filter((node) => !node.ignored).map((node) => ({
    role: node.role?.value,
    name: node.name?.value ?? '',
    properties: Object.fromEntries((node.properties || []).map((p) => [p.name, p.value?.value])),
    text: textOf(node),
  }));
}

// What the polite live region holds: the count of matching taxa.
function announced(tree) {
  const live = tree.filter((node) => node.properties.live === 'polite' && node.properties.atomic === true && / match/.test(node.text));
  assert.equal(live.length, 1, 'one polite live region holds the count');
  return live[0].text.replace(/\s+/g, ' ').trim();
}

const kControls = new Set(['button', 'tab', 'combobox', 'textbox', 'searchbox', 'checkbox', 'link', 'menuitem', 'slider', 'spinbutton', 'radio', 'switch', 'ListBox', 'listbox']);
const kNamed = new Set([...kControls, 'list', 'region', 'navigation', 'tablist', 'tabpanel', 'toolbar', 'table', 'dialog', 'img', 'image', 'group']);

test('the accessibility tree names every control, region and list on every view', async () => {
  const page = await openPage(browser);
  await load(page, site('trees', '#a=+13,or,+53,-55,or'));
  const views = ['title', 'characters', 'best', 'differentiating', 'scored', 'taxa', 'taxon', 'differences'];
  let controls = 0;
  for (const view of views) {
    if (view === 'taxon') await page.click('#taxa button >> nth=0');
    else await page.click(`#tabs button[data-view="${view}"]`);
    if (view === 'characters') await page.click('#entries button:text-is("Bark")');
    const tree = await accessibilityTree(page);
    const unnamed = tree.filter((node) => kNamed.has(node.role) && !node.name.trim());
    assert.deepEqual(unnamed.map((node) => node.role), [], `unnamed on ${view}`);
    controls += tree.filter((node) => kControls.has(node.role)).length;
    const roles = new Set(tree.map((node) => node.role));
    for (const role of ['banner', 'navigation', 'main', 'tablist', 'toolbar', 'region']) assert.ok(roles.has(role), `no ${role} on ${view}`);
    // The count is announced when it changes, whole.
    assert.match(announced(tree), /^\d+ taxa? match$/);
    assert.equal(tree.filter((node) => node.role === 'tab' && node.properties.selected === true).length, 1, `one selected tab on ${view}`);
  }
  assert.ok(controls > 100, `${controls} controls looked at`);

  // The marks of the states scored, in the names of their rows and buttons.
  await page.click('#tabs button[data-view="scored"]');
  const rows = await page.locator('#scored-states li.state').evaluateAll((items) => items.map((li) => li.textContent));
  assert.match(rows[0], /^Present, all of the matching taxa have it: \+\(all\)13\. /);
  assert.ok(rows.some((text) => text.startsWith('Present, in an "Or" group')), rows.join('\n'));
  assert.ok(rows.some((text) => text.startsWith('Absent, in an "Or" group')), rows.join('\n'));
  const tree = await accessibilityTree(page);
  const pressed = tree.filter((node) => node.role === 'button' && node.properties.pressed === 'true').map((node) => node.name);
  assert.deepEqual(pressed.sort(), ['Absent: 55. Bark: deeply furrowed or ridged', 'Present: 13. Leaf form: compound, pinnate', 'Present: 53. Bark: smooth, grey']);
  const texts = tree.filter((node) => node.role === 'StaticText').map((node) => node.name);
  assert.ok(texts.some((text) => text.startsWith('Absent, in an "Or" group')), 'the mark of a group member is read');
  assert.deepEqual(page.problems, []);
});

test('the count is announced when it changes', async () => {
  const page = await openPage(browser);
  await load(page, site('trees'));
  const live = await page.locator('#count').evaluate((p) => [p.getAttribute('aria-live'), p.getAttribute('aria-atomic')]);
  assert.deepEqual(live, ['polite', 'true']);
  await page.click('#start');
  await page.click('#entries button:text-is("Simple or compound")');
  await page.click('#entry-states li[data-state="12"] button[data-request="+"]');
  assert.equal(announced(await accessibilityTree(page)), `${identify(scratch.des.trees, ['+13']).matching_taxa_count} taxa match`);
  await page.selectOption('#tolerance', '2');
  assert.match(announced(await accessibilityTree(page)), /^\d+ taxa match, 2 allowed$/);
});

// Every element with text of its own that is seen: the contrast of its colour with the
// background behind it, as WCAG defines both.
async function lowContrast(page) {
  return page.evaluate(() => {
    const channel = (c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
    const parse = (text) => (text.match(/[\d.]+/g) || []).map(Number);
    const luminance = ([r, g, b]) => 0.2126 * channel(r / 255) + 0.7152 * channel(g / 255) + 0.0722 * channel(b / 255);
    const background = (element) => {
      for (let at = element; at; at = at.parentElement) {
        const [r, g, b, a = 1] = parse(getComputedStyle(at).backgroundColor);
        if (a > 0.5) return [r, g, b];
      }
      return [255, 255, 255];
    };
    const low = [];
    for (const element of document.querySelectorAll('body *')) {
      const own = [...element.childNodes].some((node) => node.nodeType === 3 && node.textContent.trim());
      if (!own || !element.checkVisibility() || element.closest('.visually-hidden')) continue;
      const style = getComputedStyle(element);
      const fore = luminance(parse(style.color));
      const back = luminance(background(element));
      const ratio = (Math.max(fore, back) + 0.05) / (Math.min(fore, back) + 0.05);
      if (ratio < 4.5) low.push(`${element.tagName}#${element.id}.${element.className} "${element.textContent.trim().slice(0, 30)}" ${ratio.toFixed(2)}`);
    }
    return low;
  });
}

for (const scheme of ['light', 'dark']) {
  test(`every text keeps a contrast of 4.5:1 in the ${scheme} scheme`, async () => {
    const page = await openPage(browser, { colorScheme: scheme });
    await load(page, site('trees', '#a=+13,or,+53,-55,or&t=1'));
    const paper = await page.evaluate(() => getComputedStyle(document.documentElement).backgroundColor);
    assert.equal(paper, scheme === 'dark' ? 'rgb(21, 25, 29)' : 'rgb(255, 255, 255)');
    await page.evaluate(async () => (await import('./js/engine.js')).core.takeMessages());
    for (const view of ['title', 'characters', 'best', 'scored', 'taxa', 'taxon', 'differences']) {
      if (view === 'taxon') await page.click('#taxa button >> nth=0');
      else await page.click(`#tabs button[data-view="${view}"]`);
      if (view === 'characters') await page.click('#entries button:text-is("Bark")');
      assert.deepEqual(await lowContrast(page), [], `${scheme}, ${view}`);
    }
    // A message, and the buttons that cannot be pressed.
    await page.goto(site('trees', '#a=+999'));
    await page.waitForFunction(() => document.getElementById('messages').textContent !== '');
    assert.deepEqual(await lowContrast(page), [], `${scheme}, a message`);
  });
}

test('the text follows the size the browser is set to', async () => {
  const sizes = [];
  for (const standard of [16, 24]) {
    const page = await openPage(browser);
    const session = await page.context().newCDPSession(page);
    await session.send('Page.enable');
    await session.send('Page.setFontSizes', { fontSizes: { standard } });
    await load(page, site('trees'));
    sizes.push(await page.evaluate(() => ['#count', '#start', '#title-text p'].map((s) => parseFloat(getComputedStyle(document.querySelector(s)).fontSize))));
    await page.context().close();
  }
  sizes[0].forEach((size, i) => assert.ok(Math.abs(sizes[1][i] - size * 1.5) < 0.01, `${sizes}`));
});
