// Rows of character states, as every state list of the page shows them: the score, the
// count of taxa that could have the state ("(all)" when every counted taxon could, as the
// desktop's count mode shows it), the number and text, and Present, Absent and Clear.
import { core, act, stateText } from './engine.js';
import { el } from './dom.js';

const kMarks = ['', '+', '-', 'or +', 'or -'];

// What the rows of one drawing share, asked of the core once.
export function rowContext() {
  return { scores: core.scores(), counts: core.stateCounts(), counted: core.countedCount() };
}

export function countText(count, counted) {
  if (count < 0) return '';
  return count === counted ? '(all)' : String(count);
}

// One row for `state`; `lead` (a value of the Best list, say) stands before the text.
export function stateRow(state, context, lead) {
  const score = context.scores[state];
  return el('li', { class: `state score-${score}`, 'data-state': String(state) },
    el('span', { class: 'mark', text: kMarks[score] }),
    el('span', { class: 'count', text: countText(context.counts[state], context.counted) }),
    lead !== undefined ? el('span', { class: 'value', text: lead }) : null,
    el('span', { class: 'text' }, el('span', { class: 'number', text: `${state + 1}.` }), ' ', stateText(state)),
    el('span', { class: 'actions' },
      el('button', { type: 'button', 'data-request': '+', text: 'Present' }),
      el('button', { type: 'button', 'data-request': '-', text: 'Absent' }),
      el('button', { type: 'button', 'data-request': '=', text: 'Clear' })));
}

// Present, Absent and Clear of every row of `list` score through the core.
export function scoreOnClick(list) {
  list.addEventListener('click', (event) => {
    const button = event.target.closest('button[data-request]');
    const row = button && button.closest('[data-state]');
    if (!row) return;
    act(button.dataset.request + (Number(row.dataset.state) + 1));
  });
}
