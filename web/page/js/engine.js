// The page's bridge to VORN's core, compiled to WebAssembly (engine/vorn-engine.js): it
// loads the published key, holds the one WebSession, and runs every action the page's
// controls ask for. Every answer the page shows is asked of `core` here; no rule of
// identification is written in JavaScript.
import createVornEngine from '../engine/vorn-engine.js';

// The key's texts (key/key.json, written by vorn-publish).
export let key = null;
// The WebSession of web/WebSession.h, with the functions web/Bindings.cpp gives it.
export let core = null;
let engine = null;

const listeners = [];
const messageListeners = [];

// `listener({addressChanged, fromAddress})` after every change of the identification.
export function onChange(listener) {
  listeners.push(listener);
}

// `listener(texts)` with the core's messages after every call.
export function onMessages(listener) {
  messageListeners.push(listener);
}

async function fetchOk(path) {
  const response = await fetch(path);
  if (!response.ok) throw new Error(`${path}: ${response.status} ${response.statusText}`);
  return response;
}

// Loads the engine and the key, and opens it; throws with the reason when it cannot.
export async function start() {
  const [module, data] = await Promise.all([
    createVornEngine(),
    fetchOk('key/key.json').then((response) => response.json()),
  ]);
  const codes = new Uint8Array(await (await fetchOk(data.codes)).arrayBuffer());
  engine = module;
  key = data;
  core = new module.WebSession();
  if (!core.open(key.name, codes)) throw new Error(core.takeMessages().join(' '));
}

// The messages of the last call replace those of the one before (none: they go).
function tell() {
  const texts = core.takeMessages();
  for (const listener of messageListeners) listener(texts);
}

// Runs `call` on the core and tells the listeners what changed.
function change(call, fromAddress = false) {
  const before = core.address();
  const result = call();
  tell();
  const addressChanged = core.address() !== before;
  for (const listener of listeners) listener({ addressChanged, fromAddress });
  return result;
}

// One action in vorn-identify's syntax: "+3", "-12", "~4", "=5", "or", "undo", "redo",
// "reset". False when the core refused the text.
export function act(action) {
  return change(() => core.act(action));
}

export function setTolerance(tolerance) {
  change(() => core.setTolerance(tolerance));
}

// Loads a history list file the user chose: its bytes are put in the engine's file
// system under the file's own name, which the core's messages then show.
export function loadHistoryList(name, bytes) {
  const safe = /^[^/\\]+$/.test(name) && name !== '.' && name !== '..' ? name : 'list.HIS';
  engine.FS.writeFile('/' + safe, bytes);
  try {
    return change(() => core.loadHistoryList(safe));
  } finally {
    engine.FS.unlink('/' + safe);
  }
}

// Goes to the identification an address holds (Back, Forward, a link); see
// WebSession::Navigate.
export function navigate(address) {
  return change(() => core.navigate(address), true);
}

// Starts from the address the page was opened with; false when it was refused.
export function restore(address) {
  return change(() => core.restore(address), true);
}

export function stateText(state) {
  return key.states[state];
}

// A taxon's name as the names mode shows it, as the desktop's lists do: common names
// fall back to the scientific name in brackets; both give "scientific, common".
export function taxonName(taxon, mode) {
  const { name, common } = key.taxa[taxon];
  if (mode === 'common') return common !== undefined ? common : `(${name})`;
  if (mode === 'both') return common !== undefined ? `${name}, ${common}` : name;
  return name;
}
