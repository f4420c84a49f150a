// Rows of character states, as every state list of the page shows them: the score, the
// count of taxa that could have the state ("(all)" when every counted taxon could, as the
// desktop's count mode shows it), the number and text, and Present, Absent and Clear.
import { core, act, stateText } from './engine.js';
import { el } from './dom.js';

const kMarks = ['', '+', '-', 'or +', 'or -'];
// The marks in words, for a screen reader: each row's name tells how it is scored.
const kMarkWords = ['Not scored', 'Present', 'Absent', 'Present, in an "Or" group', 'Absent, in an "Or" group'];
const kRequests = [['+', 'Present'], ['-', 'Absent'], ['=', 'Clear']];

// What the rows of one drawing share, asked of the core once.
export function rowContext() {
  return { scores: core.scores(), counts: core.stateCounts(), counted: core.countedCount() };
}

export function countText(count, counted) {
  if (count < 0) return '';
  return count === counted ? '(all)' : String(count);
}

// One row for `state`; `lead` (a value of the Best list, say) stands before the text.
// `requests` are the buttons it has (Present, Absent, Clear by default).
export function stateRow(state, context, lead, requests = kRequests) {
  const score = context.scores[state];
  const text = `${state + 1}. ${stateText(state)}`;
  const count = countText(context.counts[state], context.counted);
  const pressed = (request) => request === '+' ? score === 1 || score === 3 : request === '-' ? score === 2 || score === 4 : undefined;
  // What the mark and the count say, in words for a screen reader; they are only seen.
  const said = `${kMarkWords[score]}${count ? `, ${count === '(all)' ? 'all' : count} of the matching taxa have it` : ''}: `;
  return el('li', { class: `state score-${score}`, 'data-state': String(state) },
    el('span', { class: 'visually-hidden', text: said }),
    el('span', { class: 'mark', 'aria-hidden': 'true', text: kMarks[score] }),
    el('span', { class: 'count', 'aria-hidden': 'true', text: count }),
    lead !== undefined ? el('span', { class: 'value', text: lead }) : null,
    el('span', { class: 'text' }, el('span', { class: 'number', text: `${state + 1}.` }), ' ', stateText(state)),
    el('span', { class: 'actions' }, ...requests.map(([request, verb]) => {
      const isPressed = pressed(request);
      return el('button', {
        type: 'button', 'data-request': request, text: verb, 'aria-label': `${verb}: ${text}`,
        'aria-pressed': isPressed === undefined ? undefined : String(isPressed),
      });
    })));
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
