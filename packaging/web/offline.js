// After one visit the game starts and plays without the network: the files
// just downloaded go into this release's cache, and the service worker
// (sw.js) answers the page from it. Browsers allow that on https and on
// localhost; elsewhere the page simply downloads the game each time.
(function (page) {
  // `blobs` holds the download of each of `names`, in that order.
  page.keepForOffline = function (names, blobs) {
    var cacheName = page.release.offlineCache;
    if (!cacheName || !window.isSecureContext || !("serviceWorker" in navigator)) return;
    var kept = navigator.serviceWorker.controller ? Promise.resolve() :  // they came from it
      caches.open(cacheName).then(function (cache) {
        return Promise.all(names.map(function (name, i) {
          // A file of another release (the site changed meanwhile) is left to the worker.
          if (blobs[i].size !== page.release.sizes[name]) return null;
          return cache.put(name, new Response(blobs[i], { headers: { "Content-Type": blobs[i].type } }));
        }));
      });
    kept.catch(function () {}).then(function () {
      return navigator.serviceWorker.register("sw.js");
    }).catch(function (error) {
      console.warn("The game will need the network next time: " + error.message);
    });
  };
})(page);
