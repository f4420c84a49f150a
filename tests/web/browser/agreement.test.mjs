// The page identifies as vorn-identify does: 200 random sessions (scores, "Or" groups,
// tolerance 0 to 2, Undo, Redo, Reset) on the sample key and on a synthetic key of
// 1,000 x 1,000; after every action #matching-count and, through the page's interface to
// the core, the matching taxa, the counts, the Best order and values and the differences
// of two taxa equal vorn-identify --json for the same actions. The address, given to
// vorn-identify, answers the same; every tenth session is reloaded from its address.
// The actions are drawn with a fixed seed (VORN_AGREEMENT_SEED changes it).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { join } from 'node:path';
import {
  publishKeys, removeScratch, serve, launch, openPage, load, violations, answers, identify,
  actionsOf, toleranceOf, act,
} from './support.mjs';

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

// mulberry32: a small generator whose sequence is the same on every machine.
function generator(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// Two taxa to compare: the first two that match, else the first two of the key.
function pair(json) {
  const [a, b] = json.matching_taxa;
  return a !== undefined && b !== undefined ? [a - 1, b - 1] : [0, 1];
}

function expectAgreement(seen, json, where) {
  assert.equal(seen.count, String(json.matching_taxa_count), `${where}: #matching-count`);
  assert.equal(seen.matchingCount, json.matching_taxa_count, where);
  assert.deepEqual(seen.scores, json.scores, `${where}: scores`);
  assert.equal(seen.orMode, json.or_mode, `${where}: or mode`);
  assert.equal(seen.tolerance, json.tolerance, `${where}: tolerance`);
  assert.deepEqual(seen.mismatches, json.mismatch_counts, `${where}: mismatches`);
  // Matching Taxa lists in taxon order, or fewest mismatches first under a tolerance.
  const expected = json.tolerance > 0
    ? json.taxa_by_mismatches.filter((t) => json.matching_taxa.includes(t))
    : json.matching_taxa;
  assert.deepEqual(seen.matching, expected, `${where}: matching taxa`);
  assert.deepEqual(seen.counts, json.state_match_counts, `${where}: counts`);
  assert.deepEqual(seen.differentiating, json.differentiating_states, `${where}: differentiating`);
  assert.deepEqual(seen.best.map(([s]) => s), json.best_states.map(([s]) => s), `${where}: Best order`);
  seen.best.forEach(([s, value], i) => {
    assert.ok(Math.abs(value - json.best_states[i][1]) <= 0.00005 + 1e-12, `${where}: Best value of ${s}`);
  });
  assert.deepEqual(seen.certain, json.differences.certain, `${where}: certain differences`);
  assert.deepEqual(seen.possible, json.differences.possible, `${where}: possible differences`);
}

// One action: "or", Undo and Reset through their buttons (as a user clicks them), the
// rest through the page's bridge, as the lists' buttons call it.
async function perform(page, action) {
  const button = { or: '#or-button', undo: '#undo', reset: '#reset' }[action];
  if (button && await page.isEnabled(button)) await page.click(button);
  else await act(page, action);
}

function draw(random, states, scored) {
  const r = random();
  const state = () => 1 + Math.floor(random() * states);
  if (r < 0.30) return `+${state()}`;
  if (r < 0.48) return `-${state()}`;
  if (r < 0.53) return `~${state()}`;
  if (r < 0.62) return scored.length ? `=${scored[Math.floor(random() * scored.length)]}` : `=${state()}`;
  if (r < 0.78) return 'or';
  if (r < 0.89) return 'undo';
  if (r < 0.94) return 'redo';
  return 'reset';
}

// How often the sessions reached what they are meant to cover, for the test's report.
function tally(totals, json, action) {
  totals.steps += 1;
  if (json.or_mode) totals.inOpenGroup += 1;
  if (json.scores.some((s) => s.startsWith('o'))) totals.withGroupMembers += 1;
  if (json.tolerance > 0) totals.withTolerance += 1;
  if (json.best_states.length) totals.withBest += 1;
  if (action === 'undo' || action === 'redo' || action === 'reset') totals[action] += 1;
}

async function sessions(t, name, des, count, seed) {
  const totals = { steps: 0, inOpenGroup: 0, withGroupMembers: 0, withTolerance: 0, withBest: 0, undo: 0, redo: 0, reset: 0 };
  const page = await openPage(browser);
  const random = generator(seed);
  for (let session = 0; session < count; ++session) {
    await load(page, `${server.url}/${name}/index.html?session=${session}`);
    const tolerance = Math.floor(random() * 3);
    if (tolerance) await page.selectOption('#tolerance', String(tolerance));
    const actions = [];
    const steps = 3 + Math.floor(random() * 10);
    let json = identify(des, [], tolerance);
    let seen, a, b;
    for (let step = 0; step < steps; ++step) {
      const states = json.state_count;
      const scored = json.scores.flatMap((s, i) => (s ? [i + 1] : []));
      const action = draw(random, states, scored);
      await perform(page, action);
      actions.push(action);
      [a, b] = pair(json);
      json = identify(des, actions, tolerance, a, b);
      seen = await answers(page, a, b);
      tally(totals, json, action);
      expectAgreement(seen, json, `${name} session ${session} (${actions.join(' ')}), tolerance ${tolerance}`);
    }
    // The address holds the same identification for vorn-identify and for a reload.
    assert.equal(toleranceOf(seen.address), tolerance);
    const fromAddress = identify(des, actionsOf(seen.address), tolerance, a, b);
    expectAgreement(seen, fromAddress, `${name} session ${session}: the address ${seen.address}`);
    if (session % 10 === 0) {
      await page.reload();
      await page.waitForFunction(() => /^\d+$/.test(document.getElementById('matching-count').textContent));
      const reloaded = await answers(page, a, b);
      assert.equal(reloaded.address, seen.address);
      expectAgreement(reloaded, fromAddress, `${name} session ${session} reloaded`);
    }
  }
  assert.deepEqual(await violations(page), []);
  assert.deepEqual(page.problems, []);
  t.diagnostic(`${name}: ${JSON.stringify(totals)}`);
}

const seed = Number(process.env.VORN_AGREEMENT_SEED || 20260301);

test('120 sessions on the sample key agree with vorn-identify', async (t) => {
  await sessions(t, 'trees', scratch.des.trees, 120, seed);
});

test('80 sessions on a synthetic key of 1,000 x 1,000 agree with vorn-identify', async (t) => {
  await sessions(t, 'synth', scratch.des.synth, 80, seed + 1);
});
