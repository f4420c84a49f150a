// The bar above every view: the number of matching taxa (always in sight, and in
// #matching-count as digits), Undo, Redo, Reset, Begin Or and End Or, the tolerance, the
// names, and the history list saved and loaded in the desktop's format.
import { core, key, act, setTolerance, loadHistoryList, stateText } from '../engine.js';
import { $ } from '../dom.js';

const kMaxListBytes = 16 << 20;

function stepText(verb, state) {
  return state >= 0 ? `${verb}: ${stateText(state)}` : verb;
}

export function draw() {
  const count = core.matchingCount();
  const tolerance = core.tolerance();
  $('matching-count').textContent = String(count);
  $('count-words').textContent = (count === 1 ? 'taxon matches' : 'taxa match') +
    (tolerance > 0 ? `, ${tolerance} allowed` : '');
  $('tolerance').value = String(tolerance);
  const orMode = core.orMode();
  $('or-button').textContent = orMode ? 'End Or' : 'Begin Or';
  $('or-button').classList.toggle('active', orMode);
  const undo = core.nextUndo(), redo = core.nextRedo();
  $('undo').disabled = !undo;
  $('redo').disabled = !redo;
  $('undo').title = undo ? `Undo ${stepText(undo, core.nextUndoState())}` : 'Nothing to undo';
  $('redo').title = redo ? `Redo ${stepText(redo, core.nextRedoState())}` : 'Nothing to redo';
}

export function init(onNames, say) {
  $('undo').addEventListener('click', () => act('undo'));
  $('redo').addEventListener('click', () => act('redo'));
  $('reset').addEventListener('click', () => act('reset'));
  $('or-button').addEventListener('click', () => act('or'));
  $('tolerance').addEventListener('change', (event) => setTolerance(Number(event.target.value)));
  $('names').addEventListener('change', (event) => onNames(event.target.value));
  $('save-history').addEventListener('click', () => {
    const blob = new Blob([core.historyListText()], { type: 'text/plain' });
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = `${key.name}.HIS`;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  });
  $('load-history').addEventListener('change', async (event) => {
    const input = event.target;
    const file = input.files[0];
    input.value = '';
    if (!file) return;
    if (file.size > kMaxListBytes) {
      say([`The file "${file.name}" is too large to be a history list.`]);
      return;
    }
    loadHistoryList(file.name, new Uint8Array(await file.arrayBuffer()));
  });
}
