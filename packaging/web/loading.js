// Starts the game: downloads every file first, for one progress bar and one
// clear message when any of them fails, then hands the game the copies
// (Module.locateFile) and runs it on the canvas. Each file is asked for by
// the name of its content (page.cmake) and checked against its size and
// SHA-256: a page whose files are gone or changed (the site moved on while a
// cache kept the page) reloads once to get the new release whole. Whatever
// keeps the game from running, a script error included, the page says so.
(function (page) {
  var release = page.release;
  var types = { wasm: "application/wasm", js: "text/javascript", metadata: "application/json" };
  var element = function (id) { return document.getElementById(id); };
  var failed = false;
  var started = false;

  function fail(title, text) {
    if (failed) return;
    failed = true;
    element("loading").hidden = true;
    element("message-title").textContent = title;
    element("message-text").textContent = text;
    element("message").hidden = false;
    page.console.openWhenFilled();  // the game's own lines say more
  }

  // SDL names the page after its window; the tab keeps the page's own title.
  var title = document.title;
  Object.defineProperty(document, "title", {
    configurable: true,
    get: function () { return title; },
    set: function () {},
  });

  // Until the game runs, any error stops the start; once it runs, its own.
  window.addEventListener("error", function (event) {
    if (!started || (event.filename || "").indexOf("blob:") === 0) {
      fail("The game stopped", event.message || "A script failed.");
    }
  });
  window.addEventListener("unhandledrejection", function (event) {
    if (!started) fail("The game could not start", String(event.reason && event.reason.message || event.reason));
  });

  if (typeof WebAssembly !== "object" || typeof fetch !== "function") {
    fail("This browser cannot run the game",
         "It needs WebAssembly. Any current version of Firefox, Chrome, Edge or Safari has it.");
    return;
  }

  var names = Object.keys(release.files);
  var total = names.reduce(function (sum, name) { return sum + release.files[name].size; }, 0);
  var received = {};
  function progress() {
    var done = names.reduce(function (sum, name) { return sum + (received[name] || 0); }, 0);
    element("loading-bar").value = Math.min(done / total, 1);
    element("loading-text").textContent = "Loading… " + Math.min(100, Math.floor(100 * done / total)) + " %";
  }
  function download(name) {
    var type = types[name.split(".").pop()] || "application/octet-stream";
    return fetch(release.files[name].path).catch(function () {
      throw new Error(name + " could not be downloaded: the connection failed.");
    }).then(function (response) {
      if (!response.ok) {
        var failed = new Error(name + " could not be downloaded: the server answered " + response.status +
                               (response.statusText ? " " + response.statusText : "") + ".");
        failed.gone = response.status === 404;  // maybe the site moved on
        throw failed;
      }
      if (!response.body || !response.body.getReader) return response.blob();
      var reader = response.body.getReader();
      var chunks = [];
      function next() {
        return reader.read().then(function (part) {
          if (part.done) return new Blob(chunks, { type: type });
          chunks.push(part.value);
          received[name] = (received[name] || 0) + part.value.length;
          progress();
          return next();
        });
      }
      return next();
    }).then(function (blob) { return check(name, blob); });
  }

  // `blob` if it is this release's `name` (by its SHA-256 where the browser
  // can tell, on https and localhost; by its size elsewhere).
  function check(name, blob) {
    var expected = release.files[name];
    var another = new Error(name + " is of another release");
    another.release = true;
    if (blob.size !== expected.size) throw another;
    if (!window.crypto || !crypto.subtle) return blob;
    return blob.arrayBuffer().then(function (bytes) {
      return crypto.subtle.digest("SHA-256", bytes);
    }).then(function (digest) {
      var hex = Array.from(new Uint8Array(digest), function (b) { return (b + 256).toString(16).slice(1); });
      if (hex.join("") !== expected.sha256) throw another;
      return blob;
    });
  }

  // The site holds another release than this page: reload once for the new
  // page (a reload asks every cache on the way for it afresh).
  function reloadOnce() {
    var key = "chalk-hangman-reloaded";
    try {
      if (sessionStorage.getItem(key) !== release.digest) {
        sessionStorage.setItem(key, release.digest);
        location.reload();
        return true;
      }
    } catch (error) {
      // No session storage: no reload, the message below instead.
    }
    return false;
  }

  function start(blobs) {
    var urls = {};
    names.forEach(function (name, i) { urls[name] = URL.createObjectURL(blobs[i]); });
    element("loading-text").textContent = "Starting…";
    element("loading-bar").value = 1;  // full and still: no animation to repaint while the game starts
    window.Module = {
      canvas: element("canvas"),
      arguments: release.arguments,
      locateFile: function (name) { return urls[name] || name; },
      // Standard input is empty; standard output and error come byte by byte.
      stdin: function () { return null; },
      stdout: page.console.output,
      stderr: page.console.errorOutput,
      onRuntimeInitialized: function () {
        started = true;
        element("loading").hidden = true;
        setTimeout(page.keepForOffline, 1000, names, blobs);  // once the game's first frames are out
      },
      onExit: function (status) {
        if (status === 0) return;
        var webgl = document.createElement("canvas").getContext("webgl");
        fail("The game could not start",
             webgl ? "Its console below says why." :
                     "This browser has no WebGL, which the game draws with: turn on hardware " +
                     "acceleration, or try another browser. Its console below says more.");
      },
      onAbort: function (what) { fail("The game stopped", String(what)); },
      setStatus: function () {},
    };
    var script = document.createElement("script");
    script.src = urls[release.program + ".js"];
    script.onerror = function () { fail("The game could not start", release.program + ".js failed to load."); };
    document.body.appendChild(script);
  }

  // The page shows itself first (its first paint, or a moment where the
  // browser does not tell); the downloads begin then.
  var painted = new Promise(function (resolve) {
    var types = window.PerformanceObserver && PerformanceObserver.supportedEntryTypes || [];
    if (types.indexOf("paint") >= 0) {
      new PerformanceObserver(function (list, observer) {
        observer.disconnect();
        resolve();
      }).observe({ type: "paint", buffered: true });
    }
    setTimeout(resolve, 200);
  });
  var downloaded = painted.then(function () {
    return Promise.all(names.map(download));
  });
  downloaded.then(start, function (error) {
    if ((error.release || error.gone) && reloadOnce()) return;
    if (error.release) {
      fail("The game is being updated",
           "Its files on the server are of another version than this page. Reload the page in a minute.");
    } else if (location.protocol === "file:") {
      fail("The game must be served, not opened as a file",
           "A page opened from a file may not download the rest of the game. Serve this " +
           "folder, for example with: python3 -m http.server --bind 127.0.0.1 8000 " +
           "(run in this folder), then open http://127.0.0.1:8000/");
    } else {
      fail("The game could not be downloaded", error.message + " Reload the page to try again.");
    }
  });
})(page);
