// The key's title page: its title and text, and the button that starts identifying.
import { key } from '../engine.js';
import { $, el } from '../dom.js';

export function init(start) {
  document.title = key.title;
  $('key-title').textContent = key.title;
  $('title-text').replaceChildren(...key.titlePage.map((line) => el('p', { text: line || '\u00a0' })));
  $('start').disabled = false;
  $('start').addEventListener('click', start);
}
