// The page of a published key: opens it with VORN's core, restores the identification its
// address holds, and draws the view in sight after every change.
import * as engine from './engine.js';
import * as address from './address.js';
import { $, el, keepFocus } from './dom.js';
import * as bar from './views/bar.js';
import * as title from './views/title.js';
import * as characters from './views/characters.js';
import * as statelists from './views/statelists.js';
import * as taxa from './views/taxa.js';
import * as differences from './views/differences.js';
import * as viewer from './viewer.js';
import * as offline from './offline.js';

let current = 'title';

const draws = {
  title: () => {},
  characters: characters.draw,
  best: statelists.drawBest,
  differentiating: statelists.drawDifferentiating,
  scored: statelists.drawScored,
  taxa: taxa.drawTaxa,
  taxon: () => taxa.drawTaxon(),
  differences: differences.draw,
};

function say(texts) {
  $('messages').replaceChildren(...texts.map((text) => el('p', { text })));
}

function show(view) {
  current = view;
  for (const section of document.querySelectorAll('main > .view')) section.hidden = section.id !== `view-${view}`;
  const tab = view === 'taxon' ? 'taxa' : view;
  for (const button of $('tabs').querySelectorAll('button')) {
    button.setAttribute('aria-selected', String(button.dataset.view === tab));
  }
  keepFocus(() => draws[view]());
}

function redraw() {
  keepFocus(() => {
    bar.draw();
    draws[current]();
  });
}

async function main() {
  try {
    await engine.start();
  } catch (error) {
    $('count-words').textContent = '';
    say([`The key cannot be opened: ${error.message}`]);
    return;
  }
  engine.onMessages(say);
  engine.onChange(() => {
    redraw();
  });
  $('messages').addEventListener('click', () => say([]));
  title.init(() => show('characters'));
  bar.init((mode) => {
    taxa.setNames(mode);
    differences.setNames(mode);
    draws[current]();
  }, say);
  characters.init();
  statelists.init();
  taxa.init(show);
  differences.init();
  viewer.init();
  offline.init();
  // On a phone the views' bar is fixed at the bottom: the page ends above it, whatever
  // the text size makes its height.
  new ResizeObserver(([entry]) => {
    document.documentElement.style.setProperty('--tabs-height', `${entry.target.offsetHeight + 16}px`);
  }).observe($('tabs'));
  $('tabs').addEventListener('click', (event) => {
    const button = event.target.closest('button[data-view]');
    if (button) show(button.dataset.view);
  });
  // The views' tabs: Left and Right (Home, End) move between them as well as Tab does.
  $('tabs').addEventListener('keydown', (event) => {
    const tabs = [...$('tabs').querySelectorAll('button[data-view]')];
    const at = tabs.indexOf(document.activeElement);
    const step = { ArrowRight: 1, ArrowLeft: -1, Home: -at, End: tabs.length - 1 - at }[event.key];
    if (at < 0 || step === undefined) return;
    event.preventDefault();
    tabs[(at + step + tabs.length) % tabs.length].focus();
  });
  $('controls').hidden = false;
  $('tabs').hidden = false;
  const restored = address.start();
  bar.draw();
  show(restored ? 'characters' : 'title');
}

main();
