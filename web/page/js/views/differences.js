// The states on which two matching taxa differ: certain differences ("+" against "-")
// first, then possible ones, each with A's code and B's.
import { core, taxonName, stateText, act } from '../engine.js';
import { $, el } from '../dom.js';
import { rowContext, countText } from '../states.js';

const kCodes = ['?', '+', '-', '*'];
const kCodeWords = ['unknown', 'present', 'absent', 'present or absent'];
let names = 'scientific';

export function setNames(mode) {
  names = mode;
}

function fill(select, taxa, wanted) {
  const options = Array.from(taxa, (taxon) => el('option', { value: String(taxon), text: taxonName(taxon, names) }));
  select.replaceChildren(...options);
  if (taxa.includes(wanted)) select.value = String(wanted);
}

export function draw() {
  const taxa = Array.from(core.matchingTaxa());
  const a = $('taxon-a'), b = $('taxon-b');
  const wantedA = a.value === '' ? taxa[0] : Number(a.value);
  const wantedB = b.value === '' ? taxa[1] : Number(b.value);
  fill(a, taxa, wantedA);
  fill(b, taxa, wantedB);
  const body = $('differences').tBodies[0];
  if (taxa.length < 2) {
    body.replaceChildren(el('tr', {}, el('td', { colspan: '4', text: 'Fewer than two taxa match.' })));
    return;
  }
  const ta = Number(a.value), tb = Number(b.value);
  const { certain, possible } = core.differences(ta, tb);
  const context = rowContext();
  const rows = [];
  for (const [list, heading] of [[certain, 'Certain differences'], [possible, 'Possible differences']]) {
    rows.push(el('tr', { class: 'heading' }, el('th', { colspan: '4', text: `${heading}: ${list.length}` })));
    for (const state of list) {
      rows.push(el('tr', { 'data-state': String(state) },
        el('td', { class: 'code', text: kCodes[core.code(state, ta)], 'aria-label': kCodeWords[core.code(state, ta)] }),
        el('td', { class: 'code', text: kCodes[core.code(state, tb)], 'aria-label': kCodeWords[core.code(state, tb)] }),
        el('td', {}, el('span', { class: 'number', text: `${state + 1}.` }), ' ', stateText(state),
          el('span', { class: 'count', text: countText(context.counts[state], context.counted) })),
        el('td', { class: 'actions' },
          el('button', { type: 'button', 'data-request': '+', text: 'Present', 'aria-label': `Present: ${state + 1}. ${stateText(state)}` }),
          el('button', { type: 'button', 'data-request': '-', text: 'Absent', 'aria-label': `Absent: ${state + 1}. ${stateText(state)}` }))));
    }
  }
  body.replaceChildren(...rows);
}

export function init() {
  $('taxon-a').addEventListener('change', draw);
  $('taxon-b').addEventListener('change', draw);
  $('differences').addEventListener('click', (event) => {
    const button = event.target.closest('button[data-request]');
    const row = button && button.closest('[data-state]');
    if (row) act(button.dataset.request + (Number(row.dataset.state) + 1));
  });
}
