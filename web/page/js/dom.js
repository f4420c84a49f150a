// Elements made from text. Every text of the key reaches the page as a Text node or
// through textContent, never as markup; attributes are set by name from this code only.
export function el(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (value === undefined || value === null || value === false) continue;
    if (name === 'text') node.textContent = value;
    else if (name === 'class') node.className = value;
    else if (name.startsWith('data-')) node.dataset[name.slice(5)] = value;
    else node.setAttribute(name, value === true ? '' : value);
  }
  for (const child of children) {
    if (child !== undefined && child !== null && child !== false) node.append(child);
  }
  return node;
}

export function clear(node) {
  node.replaceChildren();
}

export function $(id) {
  return document.getElementById(id);
}

// The words of `text` for finding: lower case, accents taken off, split at anything that
// is not a letter or a digit.
export function words(text) {
  return text
    .normalize('NFD')
    .replace(/\p{M}/gu, '')
    .toLowerCase()
    .split(/[^\p{L}\p{N}]+/u)
    .filter(Boolean);
}

// True when every word of `wanted` starts a word of `text`.
export function matchesWords(text, wanted) {
  if (!wanted.length) return true;
  const have = words(text);
  return wanted.every((word) => have.some((w) => w.startsWith(word)));
}

// Runs `draw`, and when it replaced the button that had the keyboard's focus, gives the
// focus to the button that took its place (the same request of the same state, the same
// entry or taxon), so a keyboard user keeps their place in a list drawn again.
export function keepFocus(draw) {
  const focused = document.activeElement;
  const holder = focused && focused.tagName === 'BUTTON' ? focused.parentElement?.closest('[id]') : null;
  let selector = null;
  if (holder) {
    const own = ['data-request', 'data-entry', 'data-taxon']
      .filter((name) => focused.hasAttribute(name))
      .map((name) => `[${name}="${CSS.escape(focused.getAttribute(name))}"]`)
      .join('');
    const row = focused.closest('[data-state]');
    if (own) selector = (row ? `[data-state="${CSS.escape(row.dataset.state)}"] ` : '') + `button${own}`;
  }
  const result = draw();
  if (selector && !focused.isConnected) {
    const next = document.getElementById(holder.id)?.querySelector(selector);
    if (next) next.focus({ preventScroll: true });
  }
  return result;
}
