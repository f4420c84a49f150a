// A picture full size, over the page: opened by a tap on a picture fitted to the screen,
// closed by its button, Escape or Back's key on a phone. The picture scrolls both ways
// inside the viewer, never the page.
import { $, el } from './dom.js';

// A picture fitted to the screen, as a button that opens it full size.
export function pictureButton(path, name) {
  return el('button', { type: 'button', class: 'picture', 'data-picture': path, 'aria-label': `${name}: show the picture full size` },
    el('img', { src: path, alt: name }));
}

export function open(path, name) {
  const viewer = $('picture-viewer');
  $('viewer-name').textContent = name;
  const img = $('viewer-picture');
  img.src = path;
  img.alt = name;
  viewer.showModal();
  $('viewer-close').focus();
}

// Pictures made by pictureButton inside `container` open full size on a tap.
export function openOnClick(container) {
  container.addEventListener('click', (event) => {
    const button = event.target.closest('button[data-picture]');
    if (button) open(button.dataset.picture, button.querySelector('img').alt);
  });
}

export function init() {
  $('viewer-close').addEventListener('click', () => $('picture-viewer').close());
}
