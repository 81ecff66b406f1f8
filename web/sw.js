// The offline copy of the site: every file of this build, kept in a cache
// named after the build's version, and the site answered from it first. A
// new version's worker copies its own files, takes over at once and drops
// every older copy; pages already open finish with what they have. A
// language's packs are kept only once a page plays in that language: the
// page names them, and any that a page fetches is kept as it passes.
'use strict';

// make_site.sh writes these two lines.
const VERSION = 'dev';
const FILES = [];

const CACHE = 'vedo-zeza1-' + VERSION;
const LANGUAGE_FILE = /\/(lang|title)-[a-z][a-z0-9-]*\.pack$/;

// Revalidated, so that a host's HTTP cache never hands an older build's
// file to this version; unchanged files cost a 304.
const keep = (names) => caches.open(CACHE)
  .then((cache) => cache.addAll(names.map((f) => new Request(f, { cache: 'no-cache' }))));

self.addEventListener('install', (event) => {
  event.waitUntil(keep(['./', ...FILES]).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('vedo-zeza1-') && n !== CACHE)
      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('message', (event) => {
  const names = (event.data && event.data.keep) || [];
  event.waitUntil(keep(names.filter((n) => LANGUAGE_FILE.test('/' + n))).catch(() => {}));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== location.origin) return;
  // The address's options ("?test") do not change the file, and a folder
  // is its index.html.
  const key = url.pathname.endsWith('/') && url.pathname !== new URL('./', location).pathname
    ? new Request(url.origin + url.pathname + 'index.html') : request;
  event.respondWith(caches.open(CACHE).then((cache) => cache.match(key, { ignoreSearch: true })
    .then((hit) => hit || fetch(request).then((response) => {
      if (response.status === 200 && LANGUAGE_FILE.test(url.pathname)) cache.put(request, response.clone());
      return response;
    }))));
});
