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

function pressed(request, score) {
  if (request === '+') return score === 1 || score === 3;
  if (request === '-') return score === 2 || score === 4;
  return undefined;
}

// What the mark and the count say, in words for a screen reader; they are only seen.
function said(score, count) {
  return `${kMarkWords[score]}${count ? `, ${count === '(all)' ? 'all' : count} of the matching taxa have it` : ''}: `;
}

// The parts of each row stateRow made, for updateStateRow.
const rowParts = new WeakMap();

// One row for `state`; `lead` (a value of the Best list, say) stands before the text.
// `requests` are the buttons it has (Present, Absent, Clear by default).
export function stateRow(state, context, lead, requests = kRequests) {
  const score = context.scores[state];
  const text = `${state + 1}. ${stateText(state)}`;
  const count = countText(context.counts[state], context.counted);
  const parts = {
    score, countText: count, lead,
    said: el('span', { class: 'visually-hidden', text: said(score, count) }),
    mark: el('span', { class: 'mark', 'aria-hidden': 'true', text: kMarks[score] }),
    count: el('span', { class: 'count', 'aria-hidden': 'true', text: count }),
    value: lead !== undefined ? el('span', { class: 'value', text: lead }) : null,
    buttons: requests.map(([request, verb]) => {
      const isPressed = pressed(request, score);
      return el('button', {
        type: 'button', 'data-request': request, text: verb, 'aria-label': `${verb}: ${text}`,
        'aria-pressed': isPressed === undefined ? undefined : String(isPressed),
      });
    }),
  };
  const row = el('li', { class: `state score-${score}`, 'data-state': String(state) },
    parts.said, parts.mark, parts.count, parts.value,
    el('span', { class: 'text' }, el('span', { class: 'number', text: `${state + 1}.` }), ' ', stateText(state)),
    el('span', { class: 'actions' }, ...parts.buttons));
  rowParts.set(row, parts);
  return row;
}

// Brings a row stateRow made for `state` up to date with `context` and `lead`, changing
// only what changed: after a score most rows keep their mark and change a count, and a
// focused button stays where it is.
export function updateStateRow(row, state, context, lead) {
  const parts = rowParts.get(row);
  const score = context.scores[state];
  const count = countText(context.counts[state], context.counted);
  if (!parts) {
    row.replaceWith(stateRow(state, context, lead));
    return;
  }
  if (parts.score === score && parts.countText === count && parts.lead === lead) return;
  if (parts.score !== score) {
    row.className = `state score-${score}`;
    parts.mark.textContent = kMarks[score];
    for (const button of parts.buttons) {
      const isPressed = pressed(button.dataset.request, score);
      if (isPressed !== undefined) button.setAttribute('aria-pressed', String(isPressed));
    }
  }
  if (parts.countText !== count) parts.count.textContent = count;
  parts.said.textContent = said(score, count);
  if (parts.value && parts.lead !== lead) parts.value.textContent = lead;
  parts.score = score;
  parts.countText = count;
  parts.lead = lead;
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
