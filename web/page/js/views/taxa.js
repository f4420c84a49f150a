// Matching taxa, fewest mismatches first while a tolerance is set, and a taxon's page:
// its names, pictures and notes, and the states that rule it out.
import { core, key, taxonName } from '../engine.js';
import { $, el } from '../dom.js';
import { ListView } from '../listview.js';
import { rowContext, stateRow, scoreOnClick } from '../states.js';
import * as viewer from '../viewer.js';

let taxaList;
let shownTaxon = -1;
let names = 'scientific';
let showView = () => {};

export function setNames(mode) {
  names = mode;
}

export function drawTaxa() {
  const mismatches = core.tolerance() > 0 ? core.mismatches() : null;
  taxaList.show(Array.from(core.matchingTaxa(), (taxon) => ({ taxon, mismatches })));
}

function taxonRow({ taxon, mismatches }) {
  const data = key.taxa[taxon];
  const more = data.picture || data.notes || data.gifs ? ' ›' : '';
  return el('li', { class: 'taxon' },
    mismatches ? el('span', { class: 'count', text: String(mismatches[taxon]) }) : null,
    el('button', { type: 'button', 'data-taxon': String(taxon), text: taxonName(taxon, names) + more }));
}

export async function drawTaxon(taxon = shownTaxon) {
  shownTaxon = taxon;
  if (taxon < 0) return;
  const data = key.taxa[taxon];
  $('taxon-name').textContent = `${taxon + 1}. ${data.name}`;
  $('taxon-other-name').textContent = data.common !== undefined ? data.common : '';
  const pictures = [];
  if (data.picture) pictures.push(viewer.pictureButton(data.picture, data.name));
  for (const gif of data.gifs || []) pictures.push(viewer.pictureButton(gif, data.name));
  $('taxon-pictures').replaceChildren(...pictures);
  const context = rowContext();
  const ruledOut = Array.from(core.contradictingStates(taxon), (state) => stateRow(state, context));
  $('taxon-mismatches').replaceChildren(...(ruledOut.length ? ruledOut
    : [el('li', { class: 'none', text: 'No scored state rules it out.' })]));
  const notes = $('taxon-notes');
  notes.textContent = data.notes ? 'Reading the notes…' : 'No notes.';
  if (data.notes) {
    try {
      const response = await fetch(data.notes);
      if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
      const text = await response.text();
      if (shownTaxon === taxon) notes.textContent = text;
    } catch (error) {
      if (shownTaxon === taxon) notes.textContent = `The notes could not be read: ${error.message}`;
    }
  }
}

export function init(show) {
  showView = show;
  taxaList = new ListView($('taxa'), taxonRow);
  $('taxa').addEventListener('click', (event) => {
    const button = event.target.closest('button[data-taxon]');
    if (!button) return;
    showView('taxon');
    drawTaxon(Number(button.dataset.taxon));
    // The list is gone from sight: the keyboard goes on from the taxon's name.
    $('taxon-name').focus();
  });
  $('back-to-taxa').addEventListener('click', () => {
    showView('taxa');
    const row = $('taxa').querySelector(`button[data-taxon="${shownTaxon}"]`);
    if (row) row.focus();
  });
  scoreOnClick($('taxon-mismatches'));
  viewer.openOnClick($('taxon-pictures'));
}
