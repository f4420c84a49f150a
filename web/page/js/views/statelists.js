// The lists of states the core orders: Best (the Best window's order and values),
// Differentiating, and the states scored so far with their "Or" groups.
import { core } from '../engine.js';
import { $, el } from '../dom.js';
import { ListView } from '../listview.js';
import { rowContext, stateRow, updateStateRow, scoreOnClick } from '../states.js';

let best, differentiating;

export function drawBest() {
  const context = rowContext();
  const { states, values } = core.bestStates();
  const items = [];
  for (let i = 0; i < states.length; ++i) items.push({ state: states[i], value: values[i].toFixed(2), context });
  best.show(items);
}

export function drawDifferentiating() {
  const context = rowContext();
  differentiating.show(Array.from(core.differentiatingStates(), (state) => ({ state, context })));
}

export function drawScored() {
  const context = rowContext();
  const list = $('scored-states');
  const groups = core.groups();
  const inGroup = new Set();
  for (const group of groups) for (const state of group) inGroup.add(state);
  const rows = [];
  for (let s = 0; s < context.scores.length; ++s) {
    if (context.scores[s] && !inGroup.has(s)) rows.push(stateRow(s, context));
  }
  const open = core.orMode();
  groups.forEach((group, at) => {
    const last = open && at === groups.length - 1;
    rows.push(el('li', { class: 'heading', text: last ? '"Or" group, open: at least one of' : '"Or" group: at least one of' }));
    for (const state of group) rows.push(stateRow(state, context));
    if (!group.length) rows.push(el('li', { class: 'none', text: 'No member yet: score the states of the group.' }));
  });
  if (!rows.length) rows.push(el('li', { class: 'none', text: 'Nothing is scored.' }));
  list.replaceChildren(...rows);
}

export function init() {
  const same = { key: (item) => item.state };
  best = new ListView($('best-states'), (item) => stateRow(item.state, item.context, item.value), {
    ...same, updateRow: (row, item) => updateStateRow(row, item.state, item.context, item.value),
  });
  differentiating = new ListView($('differentiating-states'), (item) => stateRow(item.state, item.context), {
    ...same, updateRow: (row, item) => updateStateRow(row, item.state, item.context),
  });
  for (const id of ['best-states', 'differentiating-states', 'scored-states']) scoreOnClick($(id));
}
