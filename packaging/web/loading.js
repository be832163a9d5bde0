// Starts the game: downloads every file first, for one progress bar and one
// clear message when any of them fails, then hands the game the copies
// (Module.locateFile) and runs it on the canvas. Whatever keeps it from
// running, the page says so.
(function (page) {
  var release = page.release;
  var types = { wasm: "application/wasm", js: "text/javascript", metadata: "application/json" };
  var element = function (id) { return document.getElementById(id); };
  var failed = false;

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

  if (typeof WebAssembly !== "object" || typeof fetch !== "function") {
    fail("This browser cannot run the game",
         "It needs WebAssembly. Any current version of Firefox, Chrome, Edge or Safari has it.");
    return;
  }

  var names = Object.keys(release.sizes);
  var total = names.reduce(function (sum, name) { return sum + release.sizes[name]; }, 0);
  var received = {};
  function progress() {
    var done = names.reduce(function (sum, name) { return sum + (received[name] || 0); }, 0);
    element("loading-bar").value = Math.min(done / total, 1);
    element("loading-text").textContent = "Loading… " + Math.min(100, Math.floor(100 * done / total)) + " %";
  }
  function download(name) {
    var type = types[name.split(".").pop()] || "application/octet-stream";
    return fetch(name).catch(function () {
      throw new Error(name + " could not be downloaded: the connection failed.");
    }).then(function (response) {
      if (!response.ok) {
        throw new Error(name + " could not be downloaded: the server answered " + response.status +
                        (response.statusText ? " " + response.statusText : "") + ".");
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
    });
  }

  function start(blobs) {
    var urls = {};
    names.forEach(function (name, i) { urls[name] = URL.createObjectURL(blobs[i]); });
    element("loading-text").textContent = "Starting…";
    element("loading-bar").removeAttribute("value");
    window.Module = {
      canvas: element("canvas"),
      arguments: release.arguments,
      locateFile: function (name) { return urls[name] || name; },
      preRun: [function () {
        window.Module.FS.init(function () { return null; }, page.console.output, page.console.errorOutput);
      }],
      onRuntimeInitialized: function () {
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

  Promise.all(names.map(download)).then(start, function (error) {
    if (location.protocol === "file:") {
      fail("The game must be served, not opened as a file",
           "A page opened from a file may not download the rest of the game. Serve this " +
           "folder, for example with: python3 -m http.server --bind 127.0.0.1 8000 " +
           "(run in this folder), then open http://127.0.0.1:8000/");
    } else {
      fail("The game could not be downloaded", error.message + " Reload the page to try again.");
    }
  });
})(page);
