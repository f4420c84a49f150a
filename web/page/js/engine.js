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

// The key's texts and codes as the service worker keeps them (sw.js), read straight from
// its cache: several times faster than through the worker, and both from one cache, so
// that they belong to one publication even while a new one replaces it. Nothing before
// the first visit has kept them, or where the browser keeps no caches: then the network.
async function keptKey() {
  try {
    const scope = new URL('./', location.href).href;
    const names = (await caches.keys()).filter((name) => name.startsWith(`vorn ${scope} `));
    // The newest first: the one the worker in charge keeps.
    for (const name of names.reverse()) {
      const cache = await caches.open(name);
      const [texts, codes] = await Promise.all(['key/key.json', 'key/codes.bin']
        .map((path) => cache.match(new URL(path, scope).href)));
      if (texts && codes) return [texts, codes];
    }
  } catch {
    // No cache to read: the files come as on the first visit.
  }
  return null;
}

async function fetchOk(path) {
  const response = await fetch(path);
  if (!response.ok) throw new Error(`${path}: ${response.status} ${response.statusText}`);
  return response;
}

const kHeader = 16;

// Streams the key's codes (key/codes.bin) straight into the room the engine makes for
// them, part by part as they arrive: a large key's 25 MB are copied once and never held
// whole by the page. Never writes past that room; a file that is longer or shorter is
// refused by endCodes, which counts every byte.
async function openCodes(name, response) {
  const reader = response.body.getReader();
  let header = new Uint8Array(0);
  let room = -1;
  let at = 0;
  let received = 0;
  try {
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      let part = value;
      if (header.length < kHeader) {
        const take = part.subarray(0, kHeader - header.length);
        const joined = new Uint8Array(header.length + take.length);
        joined.set(header);
        joined.set(take, header.length);
        header = joined;
        part = part.subarray(take.length);
        if (header.length < kHeader) continue;
        room = core.beginCodes(header);
        if (room < 0) break;
        at = core.codesAt();
      }
      const fits = Math.max(0, Math.min(part.length, room - received));
      // The engine's memory is asked for at each copy: it is another view once it grew.
      if (fits > 0) engine.HEAPU8.set(part.subarray(0, fits), at + received);
      received += part.length;
    }
  } finally {
    reader.releaseLock();
  }
  if (header.length < kHeader) room = core.beginCodes(header);
  return core.endCodes(name, room < 0 ? 0 : received);
}

// Loads the engine and the key, and opens it; throws with the reason when it cannot.
export async function start() {
  const files = keptKey().then((kept) => kept || Promise.all([
    fetchOk('key/key.json'),
    // Named in key.json too, and always this: fetched beside it, not after it.
    fetchOk('key/codes.bin'),
  ]));
  const [module, data, codes] = await Promise.all([
    createVornEngine(),
    files.then(([texts]) => texts.json()),
    files.then(([, codes]) => codes),
  ]);
  engine = module;
  key = data;
  core = new module.WebSession();
  if (!await openCodes(key.name, codes)) throw new Error(core.takeMessages().join(' '));
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
