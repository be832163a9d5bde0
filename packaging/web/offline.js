// After one visit the game starts and plays without the network: the files
// just downloaded go into this release's cache, the page itself as it came
// among them, and the service worker (sw.js) answers the page from it.
// Browsers allow that on https and on localhost; elsewhere the page simply
// downloads the game each time. The page's icon and the web app's manifest
// are asked for once the worker answers, so that they too come from its
// cache. When the worker of a newer release is ready, the page offers to
// reload into it; it never does so by itself, so no game is cut short.
(function (page) {
  var banner = document.getElementById("update");

  // The icon, and where the web app can be, the manifest: asked for now.
  function link(manifest) {
    document.getElementById("icon").href = "icon.png";
    if (!manifest) return;
    var element = document.createElement("link");
    element.rel = "manifest";
    element.href = "manifest.webmanifest";
    document.head.appendChild(element);
  }

  // The new release's worker `waiting` takes over when the player says so;
  // once it is in charge, the page reloads, once, into that release. Where
  // another tab has already moved the site on, the reload alone takes this
  // one there.
  function offer(waiting) {
    banner.hidden = false;
    document.getElementById("update-button").onclick = function () {
      if (waiting.state === "activated" || waiting.state === "redundant") {
        location.reload();
        return;
      }
      waiting.addEventListener("statechange", function () {
        if (waiting.state === "activated") location.reload();
      });
      waiting.postMessage("take over");
    };
  }

  // Offers a newer release whenever one is ready while this page is open.
  function watch(registration) {
    if (!navigator.serviceWorker.controller) return;  // the first visit: nothing to replace
    if (registration.waiting) offer(registration.waiting);
    registration.addEventListener("updatefound", function () {
      var installing = registration.installing;
      installing.addEventListener("statechange", function () {
        if (installing.state === "installed") offer(installing);
      });
    });
  }

  // `blobs` holds the download of each of `names`, in that order, all of
  // this release.
  page.keepForOffline = function (names, blobs) {
    var cacheName = page.release.offlineCache;
    if (!cacheName || !window.isSecureContext || !("serviceWorker" in navigator)) {
      link(false);
      return;
    }
    var kept = navigator.serviceWorker.controller ? Promise.resolve() :  // they came from it
      caches.open(cacheName).then(function (cache) {
        var puts = names.map(function (name, i) {
          return cache.put(page.release.files[name].path,
                           new Response(blobs[i], { headers: { "Content-Type": blobs[i].type } }));
        });
        if (page.source) {
          puts.push(cache.put("index.html", new Response(page.source, {
            headers: { "Content-Type": "text/html; charset=utf-8" } })));
        }
        return Promise.all(puts);
      });
    kept.catch(function () {}).then(function () {
      return navigator.serviceWorker.register("sw.js");
    }).then(function (registration) {
      watch(registration);
      return navigator.serviceWorker.controller ? null : new Promise(function (claimed) {
        navigator.serviceWorker.addEventListener("controllerchange", claimed);
      });
    }).then(function () {
      link(true);
    }).catch(function (error) {
      link(true);
      console.warn("The game will need the network next time: " + error.message);
    });
  };
})(page);
