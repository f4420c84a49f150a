// The published page in a real browser: every view under the strict policy, a hostile key
// shown as text, the identification in the address (reload, Back, Forward, a bad
// fragment, a link), history lists saved and loaded, and the controls a user clicks.
// Screenshots of each view at 1280 x 800 go to VORN_SCREENSHOTS (build/web-screenshots).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { cpSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  build, source, publishKeys, removeScratch, serve, launch, openPage, load, violations, answers,
  identify, actionsOf, toleranceOf, act,
} from './support.mjs';

let scratch, server, browser;
const shots = process.env.VORN_SCREENSHOTS || join(build, 'web-screenshots');

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

// The text of an element as the page holds it (blanks not collapsed).
async function text(page, selector) {
  return page.locator(selector).textContent();
}

// The row of state `state` (from 1) in the list `list`.
function row(page, list, state) {
  return page.locator(`#${list} li[data-state="${state - 1}"]`);
}

async function expectClean(page, where) {
  assert.deepEqual(await violations(page), [], `policy violations on ${where}`);
  assert.deepEqual(page.problems, [], `errors on ${where}`);
}

// The page's answers agree with vorn-identify for the actions its address holds.
async function expectAsIdentify(page, des) {
  const seen = await answers(page, 0, 1);
  const json = identify(des, actionsOf(seen.address), toleranceOf(seen.address));
  assert.equal(seen.count, String(json.matching_taxa_count));
  assert.deepEqual(seen.scores, json.scores);
  assert.deepEqual([...seen.matching].sort((x, y) => x - y), json.matching_taxa);
  assert.deepEqual(seen.counts, json.state_match_counts);
  return seen;
}

test('every view of the sample key, under the policy, looked at', async () => {
  const page = await openPage(browser);
  await load(page, site('trees'));
  assert.equal(await page.title(), 'Trees of Western and Central Europe');
  assert.equal(await text(page, '#count'), '30 taxa match');
  assert.match(await text(page, '#title-text'), /A small sample key to 30 native/);
  await page.screenshot({ path: join(shots, '1-title.png') });

  await page.click('#start');
  await page.click('#entries button:text-is("Simple or compound")');
  assert.equal(await text(page, '#entry-caption'), 'Leaves:  Simple or compound');
  assert.deepEqual(await page.locator('#entry-states li .number').allInnerTexts(), ['12.', '13.', '14.']);
  await row(page, 'entry-states', 13).locator('button:text("Present")').click();
  assert.equal(new URL(page.url()).hash, '#a=+13');
  assert.equal(await text(page, '#count'), `${identify(scratch.des.trees, ['+13']).matching_taxa_count} taxa match`);
  assert.equal(await row(page, 'entry-states', 13).locator('.mark').innerText(), '+');
  assert.equal(await row(page, 'entry-states', 12).locator('.count').innerText(),
    String(identify(scratch.des.trees, ['+13']).state_match_counts[11]));
  await page.fill('#find', 'bark smo');
  assert.equal(await text(page, '#entry-caption'), 'States with “bark smo”');
  assert.deepEqual(await page.locator('#entry-states li .number').allInnerTexts(), ['53.']);
  await page.fill('#find', '');
  await page.click('#entries button:text-is("Simple or compound")');
  await page.screenshot({ path: join(shots, '2-characters.png') });

  for (const [view, name] of [['best', '3-best'], ['differentiating', '4-differentiating'], ['taxa', '6-taxa'], ['differences', '8-differences']]) {
    await page.click(`#tabs button[data-view="${view}"]`);
    await page.screenshot({ path: join(shots, `${name}.png`) });
  }
  // Best in the Best window's order, with its values.
  await page.click('#tabs button[data-view="best"]');
  const json = identify(scratch.des.trees, ['+13']);
  const shown = await page.locator('#best-states li').evaluateAll((rows) => rows.map((r) => [Number(r.dataset.state) + 1, r.querySelector('.value').textContent]));
  assert.deepEqual(shown, json.best_states.map(([s, v]) => [s, v.toFixed(2)]));
  // An "Or" group through the buttons: the scored view shows it.
  await page.click('#tabs button[data-view="characters"]');
  await page.fill('#find', 'bark');
  assert.deepEqual(await page.locator('#entry-states li .number').allInnerTexts(), ['53.', '54.', '55.', '56.', '57.', '58.']);
  await page.click('#or-button');
  assert.equal(await text(page, '#or-button'), 'End Or');
  await row(page, 'entry-states', 53).locator('button:text("Present")').click();
  await row(page, 'entry-states', 55).locator('button:text("Absent")').click();
  await page.click('#or-button');
  assert.equal(await text(page, '#or-button'), 'Begin Or');
  assert.equal(new URL(page.url()).hash, '#a=+13,or,+53,-55,or');
  await page.click('#tabs button[data-view="scored"]');
  assert.match(await text(page, '#scored-states'), /"Or" group: at least one of/);
  assert.equal(await page.locator('#scored-states li.score-3').count(), 1);
  assert.equal(await page.locator('#scored-states li.score-4').count(), 1);
  await page.screenshot({ path: join(shots, '5-scored.png') });
  await expectAsIdentify(page, scratch.des.trees);

  // A taxon's page: names, pictures, notes, and the states that rule it out.
  await page.click('#reset');
  await act(page, '+13');  // compound, pinnate: the oaks' leaves are simple
  await page.selectOption('#tolerance', '1');
  assert.match(await text(page, '#count'), /^\d+ taxa match, 1 allowed$/);
  assert.ok(new URL(page.url()).hash.endsWith('&t=1'));
  await page.click('#tabs button[data-view="taxa"]');
  await page.click('#taxa button:text("Quercus robur")');
  assert.equal(await text(page, '#taxon-name'), '1. Quercus robur');
  assert.equal(await text(page, '#taxon-other-name'), 'English oak');
  await page.waitForFunction(() => !document.getElementById('taxon-notes').textContent.startsWith('Reading'));
  assert.equal(await text(page, '#taxon-notes'), readFileSync(join(source, 'keys', 'QROB.TXT'), 'latin1').replace(/\r\n/g, '\n').trimEnd());
  assert.equal(await page.locator('#taxon-pictures img').count(), 3);
  await page.waitForFunction(() => [...document.querySelectorAll('#taxon-pictures img')].every((img) => img.complete && img.naturalWidth > 0));
  const ruledOut = await page.locator('#taxon-mismatches li').evaluateAll((rows) => rows.map((r) => Number(r.dataset.state)));
  assert.deepEqual(ruledOut, [12]);
  assert.deepEqual(ruledOut, await page.evaluate(async () => Array.from((await import('./js/engine.js')).core.contradictingStates(0))));
  await page.screenshot({ path: join(shots, '7-taxon.png') });
  await page.selectOption('#names', 'both');
  await page.click('#back-to-taxa');
  assert.match(await text(page, '#taxa'), /Quercus robur, English oak/);
  await expectClean(page, 'the sample key');
});

test('a hostile key shows its texts as the characters they are', async () => {
  const page = await openPage(browser);
  await load(page, site('hostile'));
  assert.equal(await text(page, '#key-title'), '<script>alert(1)</script> Hostile key');
  assert.match(await text(page, '#title-text'), /<img src=x onerror=alert\(2\)>/);
  await page.click('#start');
  await page.click('#entries button');
  assert.equal(await text(page, '#entry-caption'), '<b>heading</b>:  <img src=x onerror=alert(5)>');
  assert.equal(await page.locator('#entry-states .text').first().textContent(), '1. <img src=x onerror=alert(1)>');
  await page.click('#tabs button[data-view="taxa"]');
  // The core splits a record at ">", where its notes name begins: the name is the rest.
  const names = await page.locator('#taxa button').allInnerTexts();
  assert.deepEqual(names, ['<img src=x onerror=alert(1)', 'Plain taxon', '"quoted" & \'taxon\' ›']);
  const plain = identify(scratch.des.hostile, []);
  assert.equal(plain.matching_taxa_count, 3);
  await page.selectOption('#names', 'common');
  assert.match(await text(page, '#taxa'), /<i onclick=alert\(7\)/);
  await page.screenshot({ path: join(shots, '9-hostile-taxa.png') });
  await page.click('#taxa button >> nth=2');
  // Not the words shown while the notes are read.
  await page.waitForFunction(() => document.getElementById('taxon-notes').textContent.includes('notes &'));
  assert.equal(await text(page, '#taxon-notes'), '<script>alert(6)</script>\nnotes & more');
  await page.screenshot({ path: join(shots, '10-hostile-taxon.png') });
  assert.equal(await page.locator('img[src="x"], script:not([src]), svg, i[onclick]').count(), 0);
  await expectClean(page, 'the hostile key');
});

test('the address restores the identification: reload, Back, Forward, a link', async () => {
  const page = await openPage(browser);
  const des = scratch.des.trees;
  await load(page, site('trees', '#a=+3,-12,or,+4,+7,or&t=1'));
  let seen = await expectAsIdentify(page, des);
  assert.equal(seen.address, 'a=+3,-12,or,+4,+7,or&t=1');
  assert.equal(seen.scores[2], '+', 'a "+" is a plus sign');
  assert.deepEqual(seen, await answers(page, 0, 1));
  await page.reload();
  await page.waitForFunction(() => /^\d+$/.test(document.getElementById('matching-count').textContent));
  assert.deepEqual(await answers(page, 0, 1), seen);

  // Each action is one entry of the browser's history: Back undoes it, Forward redoes it.
  await act(page, '-20');
  await act(page, '+30');
  assert.equal(new URL(page.url()).hash, '#a=+3,-12,or,+4,+7,or,-20,+30&t=1');
  await page.goBack();
  await page.waitForFunction(() => location.hash === '#a=+3,-12,or,+4,+7,or,-20&t=1');
  seen = await expectAsIdentify(page, des);
  assert.equal(seen.scores[29], '');
  await page.goBack();
  await page.waitForFunction(() => /t=1$/.test(location.hash) && !location.hash.includes('-20'));
  seen = await expectAsIdentify(page, des);
  assert.equal(seen.address, 'a=+3,-12,or,+4,+7,or&t=1');
  await page.goForward();
  await page.waitForFunction(() => location.hash.includes('-20'));
  assert.equal((await answers(page, 0, 1)).address, 'a=+3,-12,or,+4,+7,or,-20&t=1');
  // Undo in the page writes the address the same way, and Back gives the step again.
  await page.click('#undo');
  assert.equal(new URL(page.url()).hash, '#a=+3,-12,or,+4,+7,or&t=1');
  await page.goBack();
  await page.waitForFunction(() => location.hash.includes('-20'));
  assert.equal((await answers(page, 0, 1)).scores[19], '-');
  assert.match(await page.getAttribute('#redo', 'title'), /^Redo Present: /);

  // A link sent to someone else: a fresh browser profile opens the same identification.
  const other = await openPage(browser);
  await load(other, page.url());
  assert.deepEqual(await answers(other, 0, 1), await answers(page, 0, 1));
  await expectClean(page, 'the address');
  await expectClean(other, 'a link');
});

test('a key without an index lists every state, its rows made as they come into sight', async () => {
  const page = await openPage(browser);
  await load(page, site('synth'));
  await page.click('#start');
  assert.equal(await text(page, '#entry-caption'), 'All states');
  assert.equal(await page.locator('#entry-states li.state').count(), 300);
  for (let shown = 300; shown < 1000; shown += 300) {
    await page.locator('#entry-states li.state').last().scrollIntoViewIfNeeded();
    await page.waitForFunction((n) => document.querySelectorAll('#entry-states li.state').length > n, shown);
  }
  assert.equal(await page.locator('#entry-states li.state').count(), 1000);
  assert.equal(await page.locator('#entry-states li.state').last().locator('.number').textContent(), '1000.');
  await row(page, 'entry-states', 1000).locator('button:text("Absent")').click();
  assert.equal(new URL(page.url()).hash, '#a=-1000');
  await page.fill('#find', 'character 250 state');
  assert.deepEqual(await page.locator('#entry-states li .number').allInnerTexts(), ['997.', '998.', '999.', '1000.']);
  await expectClean(page, 'a long list');
});

// After a score the rows stay and are brought up to date in place: each must then read
// exactly as the row a fresh drawing makes (mark, count, words for a screen reader, the
// buttons' pressed state), in the all-states list and in Best, whose values change too.
test('rows kept in place after each action read as rows drawn afresh', async () => {
  const page = await openPage(browser);
  await load(page, site('synth'));
  await page.click('#start');
  const rows = (list) => page.locator(`#${list} li.state`).evaluateAll((items) => items.map((item) => item.outerHTML));
  const afresh = async (list) => {
    // Another list in between makes the next drawing build its rows anew.
    if (list === 'entry-states') {
      await page.fill('#find', 'no such words');
      await page.fill('#find', '');
    } else {
      await page.click('#tabs button[data-view="characters"]');
      await page.click('#tabs button[data-view="best"]');
    }
    return rows(list);
  };
  for (const [list, actions] of [
    ['entry-states', ['+5', '-7', 'or', '+9', '~11', 'or', '+300', 'undo', '=5', 'reset', '-2']],
    ['best-states', ['+5', '+17', 'undo', 'redo']],
  ]) {
    if (list === 'best-states') await page.click('#tabs button[data-view="best"]');
    for (const action of actions) {
      await act(page, action);
      const kept = await rows(list);
      assert.deepEqual(kept, await afresh(list), `${list} after ${action}`);
    }
  }
  await expectClean(page, 'rows kept in place');
});

// The codes stream into the room their header asks for: a file longer or shorter than it
// says, or too short for a header, opens no key, and the page says why.
test('codes longer, shorter or with no header open no key, with the reason', async () => {
  const codes = readFileSync(join(scratch.root, 'sites', 'trees', 'key', 'codes.bin'));
  assert.equal(codes.length, 1744);
  for (const [name, bytes, why] of [
    ['longer', Buffer.concat([codes, Buffer.alloc(70000, 0xff)]), 'need 1744 bytes, and there are 71744'],
    ['shorter', codes.subarray(0, 1000), 'need 1744 bytes, and there are 1000'],
    ['headless', codes.subarray(0, 9), 'the key\'s codes are not in the form this page reads'],
  ]) {
    const folder = join(scratch.root, 'sites', `codes-${name}`);
    cpSync(join(scratch.root, 'sites', 'trees'), folder, { recursive: true });
    writeFileSync(join(folder, 'key', 'codes.bin'), bytes);
    const page = await openPage(browser);
    await page.goto(site(`codes-${name}`));
    await page.waitForFunction(() => document.getElementById('messages').textContent !== '');
    const message = await text(page, '#messages');
    assert.ok(message.startsWith('The key cannot be opened: The key TREES cannot be opened: '), message);
    assert.ok(message.includes(why), `${name}: ${message}`);
    await expectClean(page, `codes ${name}`);
  }
});

test('a bad fragment is refused whole, with a message, and the page starts empty', async () => {
  for (const [fragment, why] of [
    ['#a=+3,jump,+4', 'it holds "jump", which is no action'],
    ['#a=+3,+999', 'it holds "+999", and the states of this key are 1 to 108'],
    ['#a=+3&t=7', 'it asks for a tolerance of "7"; a tolerance is 0 to 3'],
    ['#a=@TREES.HIS', 'which would load a file'],
    ['#b=+3', 'neither "a=" (the actions) nor "t=" (the tolerance)'],
  ]) {
    const page = await openPage(browser);
    await load(page, site('trees', fragment));
    const message = await text(page, '#messages');
    assert.ok(message.startsWith('The address of this page was not applied: '), message);
    assert.ok(message.includes(why), `${fragment}: ${message}`);
    assert.ok(message.endsWith('The identification starts empty.'), message);
    assert.equal(await text(page, '#matching-count'), '30');
    assert.equal(new URL(page.url()).hash, '');
    assert.ok((await answers(page, 0, 1)).scores.every((s) => s === ''));
    await expectClean(page, fragment);
  }
});

test('history lists: loaded as the desktop loads them, saved in its format', async () => {
  const page = await openPage(browser);
  const des = scratch.des.trees;
  const list = join(source, 'keys', 'TREES.HIS');
  await load(page, site('trees'));
  await page.setInputFiles('#load-history', list);
  await page.waitForFunction(() => location.hash.startsWith('#a='));
  const json = identify(des, [`@${list}`]);
  const seen = await answers(page, 0, 1);
  assert.equal(seen.count, String(json.matching_taxa_count));
  assert.deepEqual(seen.scores, json.scores);
  assert.deepEqual(seen.counts, json.state_match_counts);
  assert.deepEqual(await text(page, '#messages'), '');
  // The list loaded is the actions it applied: vorn-identify given them answers the same.
  assert.deepEqual(identify(des, actionsOf(seen.address)).scores, json.scores);
  assert.equal(await page.getAttribute('#undo', 'title'), 'Undo Load History List');

  // Saved: what vorn-identify --save-history writes for the same list.
  const saved = join(scratch.root, 'saved.HIS');
  identify(des, [`@${list}`], 0, 0, 1, ['--save-history', saved]);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save-history')]);
  assert.equal(download.suggestedFilename(), 'TREES.HIS');
  assert.equal(readFileSync(await download.path(), 'latin1'), readFileSync(saved, 'latin1'));

  // Lines outside the key are skipped and said once.
  const other = join(scratch.root, 'OTHER.HIS');
  writeFileSync(other, '+1\r\n+500\r\n-600\r\n-2\r\n');
  await page.setInputFiles('#load-history', other);
  await page.waitForFunction(() => document.getElementById('messages').textContent !== '');
  assert.deepEqual(await page.locator('#messages p').allInnerTexts(), [
    '2 lines of the history list "OTHER.HIS" were skipped: their state numbers are outside the 108 states of the key TREES.  The list may have been written for another key.',
  ]);
  assert.ok(new URL(page.url()).hash.endsWith(',+1,-2'));
  await expectClean(page, 'history lists');
});
