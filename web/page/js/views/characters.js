// Characters: the index entries by caption (a key without an index: every state in one
// list), a find box that keeps the entries and states holding every word typed, and the
// states of the entry chosen.
import { key } from '../engine.js';
import { $, el, words, matchesWords, keepFocus } from '../dom.js';
import { ListView } from '../listview.js';
import { rowContext, stateRow, updateStateRow, scoreOnClick } from '../states.js';
import * as viewer from '../viewer.js';

let chosen = -1;  // the entry shown; -1 for the states found, or all states without an index
let entryList, stateList;

function entryStates(entry) {
  const states = [];
  for (const [first, last] of entry.states) for (let s = first; s <= last; ++s) states.push(s);
  return states;
}

function caption(entry) {
  return entry.heading ? `${entry.heading}:  ${entry.text}` : entry.text;
}

function wanted() {
  return words($('find').value);
}

function drawEntries() {
  if (!key.index) {
    $('entries').hidden = true;
    return;
  }
  const found = wanted();
  const items = [];
  let heading = null;
  key.index.forEach((entry, at) => {
    if (!matchesWords(caption(entry), found)) return;
    if (entry.heading !== heading) {
      heading = entry.heading;
      items.push({ heading });
    }
    items.push({ entry: at });
  });
  entryList.show(items);
}

function entryRow(item) {
  if (item.heading !== undefined) return el('li', { class: 'heading', text: item.heading });
  const entry = key.index[item.entry];
  return el('li', { class: item.entry === chosen ? 'entry chosen' : 'entry' },
    el('button', { type: 'button', 'data-entry': String(item.entry), text: entry.text }));
}

export function draw() {
  const context = rowContext();
  const found = wanted();
  const picture = $('entry-picture');
  picture.hidden = true;
  picture.replaceChildren();
  let states;
  if (chosen >= 0) {
    const entry = key.index[chosen];
    $('entry-caption').textContent = caption(entry);
    if (entry.picture) {
      picture.append(viewer.pictureButton(entry.picture, entry.text));
      picture.hidden = false;
    }
    states = entryStates(entry);
  } else {
    states = [];
    for (let s = 0; s < key.states.length; ++s) if (matchesWords(key.states[s], found)) states.push(s);
    $('entry-caption').textContent = found.length ? `States with “${$('find').value.trim()}”`
      : key.index ? 'Choose a character' : 'All states';
    if (key.index && !found.length) states = [];
  }
  stateList.show(states.map((state) => ({ state, context })));
}

export function init() {
  entryList = new ListView($('entries'), entryRow);
  stateList = new ListView($('entry-states'), (item) => stateRow(item.state, item.context), {
    key: (item) => item.state,
    updateRow: (row, item) => updateStateRow(row, item.state, item.context),
  });
  scoreOnClick($('entry-states'));
  viewer.openOnClick($('entry-picture'));
  $('entries').addEventListener('click', (event) => {
    const button = event.target.closest('button[data-entry]');
    if (!button) return;
    chosen = Number(button.dataset.entry);
    keepFocus(() => {
      drawEntries();
      draw();
    });
    // One column: the states come below the index, brought into sight.
    if (!window.matchMedia('(min-width: 1024px)').matches) $('entry-caption').scrollIntoView({ block: 'start' });
  });
  $('find').addEventListener('input', () => {
    chosen = -1;
    drawEntries();
    draw();
  });
  drawEntries();
}
