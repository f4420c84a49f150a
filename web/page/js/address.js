// The identification lives in the page's address: after "#" the actions in force in
// vorn-identify's syntax and the tolerance ("#a=+3,-12,or,+4,+7,or&t=1"), as the core
// writes and reads them (WebSession::Address, Navigate). Each change pushes a browser
// history entry, so Back undoes one action and Forward does it again; a reload or a link
// sent to someone restores the same identification. The fragment is handed to the core as
// it is: a "+" stays a plus sign.
import { core, onChange, navigate, restore } from './engine.js';

function fragment() {
  return location.hash.startsWith('#') ? location.hash.slice(1) : '';
}

function url(address) {
  return address ? `#${address}` : location.pathname + location.search;
}

// Applies the address the page was opened with; an address that cannot be read is
// refused whole (the core says why) and taken out of the address bar.
export function start() {
  const opened = fragment();
  const applied = restore(opened);
  if (!applied || core.address() !== opened) history.replaceState(null, '', url(core.address()));
  onChange(({ addressChanged, fromAddress }) => {
    if (addressChanged && !fromAddress) history.pushState(null, '', url(core.address()));
  });
  window.addEventListener('popstate', () => {
    const wanted = fragment();
    navigate(wanted);
    if (core.address() !== wanted) history.replaceState(null, '', url(core.address()));
  });
  return opened !== '';
}
