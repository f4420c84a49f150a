// The page's service worker: keeps the published key on the device, so that after one
// visit the page identifies with the network off. offline.js, written by vorn-publish for
// each publication, names its version and its files. A new publication changes
// offline.js, so the browser installs this worker again: it fetches the new files whole
// into a cache of their own and only then drops the old one, so old and new files never
// mix. Pictures and notes are kept as they are seen, or all at once when the page asks.
importScripts('offline.js');

const publication = self.vornPublication;
const scope = self.registration.scope;
// Several keys may be published on one site: each keeps to the caches of its own scope.
const prefix = `vorn ${scope} `;
const cacheName = prefix + publication.version;
const later = new Map(publication.later.map(([path, size]) => [path, size]));

// The path of a request within the published folder; null for one outside it.
function pathOf(url) {
  const address = new URL(url);
  address.hash = '';
  address.search = '';
  const text = address.href;
  if (!text.startsWith(scope)) return null;
  const path = decodeURIComponent(text.slice(scope.length));
  return path === '' ? 'index.html' : path;
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(cacheName);
    // Revalidated with the server: a file the browser holds from before is not taken for
    // a file of this publication unless the server says it is the same.
    await cache.addAll(publication.shell.map((path) => new Request(new URL(path, scope), { cache: 'no-cache' })));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith(prefix) && name !== cacheName) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

async function answer(request, path) {
  const cache = await caches.open(cacheName);
  const kept = await cache.match(new URL(path, scope).href);
  if (kept) return kept;
  const response = await fetch(request);
  if (response.ok && later.has(path)) await cache.put(new URL(path, scope).href, response.clone());
  return response;
}

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET') return;
  const path = pathOf(request.url);
  if (path === null || path === 'sw.js' || path === 'offline.js') return;
  event.respondWith(answer(request, path));
});

// The pictures and notes not kept yet: [path, size] each.
async function missing(cache) {
  const kept = new Set((await cache.keys()).map((request) => pathOf(request.url)));
  return [...later].filter(([path]) => !kept.has(path));
}

// The page asks: "measure" (what keeping all would fetch) and "keep" (fetch it, telling
// the progress); each answer goes to the port the question came with.
self.addEventListener('message', (event) => {
  const port = event.ports[0];
  if (!port) return;
  event.waitUntil((async () => {
    const cache = await caches.open(cacheName);
    const files = await missing(cache);
    const bytes = files.reduce((sum, [, size]) => sum + size, 0);
    if (event.data?.ask === 'measure') {
      port.postMessage({ files: files.length, bytes, version: publication.version });
      return;
    }
    if (event.data?.ask !== 'keep') return;
    let done = 0, doneBytes = 0, failed = 0;
    for (const [path, size] of files) {
      try {
        const response = await fetch(new URL(path, scope), { cache: 'no-cache' });
        if (!response.ok) throw new Error(String(response.status));
        await cache.put(new URL(path, scope).href, response);
      } catch {
        ++failed;
      }
      ++done;
      doneBytes += size;
      port.postMessage({ done, files: files.length, bytes, doneBytes, failed, finished: done === files.length });
    }
    if (!files.length) port.postMessage({ done: 0, files: 0, bytes: 0, doneBytes: 0, failed: 0, finished: true });
  })());
});
