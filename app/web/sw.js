// Clearmark's service worker: every file of the page, kept in a cache named after their
// version, and the page served from there first, so that Clearmark starts offline after the
// first visit. scripts/assemble-web writes the version (a hash of the files) and the list.
"use strict";

const VERSION = "@VERSION@";
const FILES = ["@FILES@"];

const scope = self.registration.scope;
const prefix = "clearmark " + scope + " ";
const cacheName = prefix + VERSION;
const pageUrl = new URL("index.html", scope).href;

// A new version is installed while the old one still serves; skipWaiting lets it take over as
// soon as its files are cached, so the next load of the page is the new version.
self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(cacheName);
    // Revalidated with the server rather than taken from the HTTP cache, so that a new
    // version never keeps an old file.
    await cache.addAll(FILES.map((file) => new Request(new URL(file, scope), { cache: "no-cache" })));
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    const names = await caches.keys();
    await Promise.all(names.filter((name) => name.startsWith(prefix) && name !== cacheName)
      .map((name) => caches.delete(name)));
    await self.clients.claim();
  })());
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || !request.url.startsWith(scope)) return;
  event.respondWith(request.mode === "navigate" ? navigation(request) : file(request));
});

async function file(request) {
  const cache = await caches.open(cacheName);
  return (await cache.match(request)) || fetch(request);
}

// The page itself (the folder's address or index.html, with any query) comes from the cache;
// any other address in the scope from the network, and offline the page again.
async function navigation(request) {
  const cache = await caches.open(cacheName);
  const path = new URL(request.url).pathname;
  if (path.endsWith("/") || path.endsWith("/index.html")) {
    const page = await cache.match(pageUrl);
    if (page) return page;
  }
  try {
    return await fetch(request);
  } catch (error) {
    const page = await cache.match(pageUrl);
    if (page) return page;
    throw error;
  }
}
