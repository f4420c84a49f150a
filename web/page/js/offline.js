// The page kept on the device: registers the service worker (sw.js) that keeps the
// published key for use without a network, reloads once when a new publication of the
// key has replaced the one this page was opened with, and "Keep all pictures offline":
// says how much it will fetch, asks, then fetches it with a progress bar.
import { $ } from './dom.js';

let registration = null;

function megabytes(bytes) {
  const mb = bytes / 1e6;
  return mb < 0.1 && bytes > 0 ? 'less than 0.1 MB' : `${mb.toFixed(1)} MB`;
}

// Asks the service worker `question`; `onAnswer` gets each answer.
function ask(question, onAnswer) {
  const worker = navigator.serviceWorker.controller || registration?.active;
  if (!worker) return false;
  const channel = new MessageChannel();
  channel.port1.onmessage = (event) => onAnswer(event.data);
  worker.postMessage(question, [channel.port2]);
  return true;
}

function tell(text) {
  $('offline-status').textContent = text;
}

function keepAll() {
  $('offline-question').hidden = true;
  const progress = $('offline-progress');
  progress.hidden = false;
  progress.value = 0;
  $('keep-pictures').disabled = true;
  ask({ ask: 'keep' }, ({ done, files, bytes, doneBytes, failed, finished }) => {
    progress.max = Math.max(bytes, 1);
    progress.value = doneBytes;
    tell(`Keeping pictures and notes: ${done} of ${files} (${megabytes(doneBytes)} of ${megabytes(bytes)}).`);
    if (!finished) return;
    progress.hidden = true;
    $('keep-pictures').disabled = false;
    tell(failed ? `${failed} of ${files} pictures and notes could not be fetched; the others are kept on this device. Try again when the network is back.`
      : 'All pictures and notes are kept on this device.');
  });
}

function measure() {
  const asked = ask({ ask: 'measure' }, ({ files, bytes }) => {
    if (!files) {
      tell('All pictures and notes are kept on this device.');
      return;
    }
    $('offline-question-text').textContent =
      `Keeping all pictures and notes offline fetches ${files} ${files === 1 ? 'file' : 'files'}, ${megabytes(bytes)}, and keeps them on this device.`;
    $('offline-question').hidden = false;
    tell('');
    $('offline-keep').focus();
  });
  if (!asked) tell('This page is not kept offline yet: open it once more with the network on.');
}

export function init() {
  if (!('serviceWorker' in navigator)) return;
  const controlled = Boolean(navigator.serviceWorker.controller);
  // A new publication took over: this page holds the old key's data, so it is opened
  // again (its address keeps the identification) rather than mixed with the new files.
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (controlled) location.reload();
  });
  navigator.serviceWorker.register('sw.js', { updateViaCache: 'none' }).then((made) => {
    registration = made;
    $('offline').hidden = false;
  }).catch((error) => tell(`This page cannot be kept offline: ${error.message}`));
  $('keep-pictures').addEventListener('click', measure);
  $('offline-keep').addEventListener('click', keepAll);
  $('offline-cancel').addEventListener('click', () => {
    $('offline-question').hidden = true;
    $('keep-pictures').focus();
  });
}
