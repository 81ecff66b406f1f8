// The offline copy of the site: every file of this build, kept in a cache
// named after the build's version, and the site answered from it first. A
// new version's worker copies its own files, takes over at once and drops
// every older copy; pages already open finish with what they have.
'use strict';

// make_site.sh writes these two lines.
const VERSION = 'dev';
const FILES = [];

const CACHE = 'vedo-zeza1-' + VERSION;

self.addEventListener('install', (event) => {
  // Revalidated, so that a host's HTTP cache never hands an older build's
  // file to this version; unchanged files cost a 304.
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(['./', ...FILES].map((f) => new Request(f, { cache: 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('vedo-zeza1-') && n !== CACHE)
      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  // The address's options ("?test") do not change the file.
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(request, { ignoreSearch: true }))
    .then((hit) => hit || fetch(request)));
});
