// The keyboard on the page. On-screen keys, shown from the start where there
// is no keyboard (a touch screen or a coarse pointer), and by the footer's
// button anywhere: each gives the game the press and the release of its
// physical key. A press by pointer takes no focus, so no soft keyboard
// opens and the real keyboard keeps working. For the keyboard the keys are
// one toolbar, one stop of the page's Tab order: the arrow keys move among
// them (up and down by a row), Home and End to the first and last, and
// Enter or Space presses. The game hears the keyboard while the canvas has
// the focus; there Space and Backspace are the game's only, and neither
// scrolls the page nor goes back.
(function (page) {
  var keys = document.getElementById("keys");
  var button = document.getElementById("keys-button");
  var canvas = document.getElementById("canvas");

  function show(open) {
    keys.hidden = !open;
    button.setAttribute("aria-expanded", String(open));
    button.textContent = open ? "Hide keys" : "Show keys";
    page.fit();
  }
  button.addEventListener("click", function (event) {
    show(keys.hidden);
    // After a click the keyboard goes back to the game; Enter or Space on
    // the button leaves it there.
    if (event.detail > 0) canvas.focus({ preventScroll: true });
  });

  function send(type, key, code, keyCode) {
    var event = new KeyboardEvent(type, { key: key, code: code, bubbles: true, cancelable: true });
    // What SDL reads of a key (the legacy codes cannot be given to the constructor).
    Object.defineProperty(event, "keyCode", { value: keyCode });
    Object.defineProperty(event, "which", { value: keyCode });
    canvas.dispatchEvent(event);
  }

  function add(label, key, code, keyCode, wide) {
    var keyButton = document.createElement("button");
    keyButton.type = "button";
    keyButton.textContent = label;
    if (wide) keyButton.className = "wide";
    var down = false;
    function press() {
      if (down) return;
      down = true;
      keyButton.classList.add("down");
      send("keydown", key, code, keyCode);
    }
    function release() {
      if (!down) return;
      down = false;
      keyButton.classList.remove("down");
      send("keyup", key, code, keyCode);
    }
    keyButton.addEventListener("pointerdown", function (event) {
      event.preventDefault();
      press();
    });
    keyButton.addEventListener("mousedown", function (event) { event.preventDefault(); });
    ["pointerup", "pointercancel", "pointerleave"].forEach(function (kind) {
      keyButton.addEventListener(kind, release);
    });
    // A press without a pointer: a screen reader, or Enter on a focused key.
    keyButton.addEventListener("click", function (event) {
      if (event.detail !== 0) return;
      press();
      release();
    });
    keys.appendChild(keyButton);
  }

  "ABCDEFGHIJKLMNOPQRSTUVWXYZ".split("").forEach(function (letter) {
    add(letter, letter.toLowerCase(), "Key" + letter, letter.charCodeAt(0), false);
  });
  add("Clear", "Backspace", "Backspace", 8, true);
  add("Guess", " ", "Space", 32, true);
  show(matchMedia("(pointer: coarse)").matches);

  // One Tab stop: the key last moved to takes it.
  var all = Array.prototype.slice.call(keys.children);
  function rove(index) {
    all.forEach(function (key, i) { key.tabIndex = i === index ? 0 : -1; });
  }
  rove(0);
  keys.addEventListener("keydown", function (event) {
    var at = all.indexOf(document.activeElement);
    var row = parseInt(getComputedStyle(keys).getPropertyValue("--columns"), 10) || 1;
    var to = { ArrowRight: at + 1, ArrowLeft: at - 1, ArrowDown: at + row, ArrowUp: at - row,
               Home: 0, End: all.length - 1 }[event.key];
    if (at < 0 || to === undefined) return;
    event.preventDefault();
    to = Math.max(0, Math.min(all.length - 1, to));
    rove(to);
    all[to].focus();
  });

  function keep(event) {
    if (event.key === " " || event.key === "Backspace") event.preventDefault();
  }
  canvas.addEventListener("keydown", keep);
  canvas.addEventListener("keyup", keep);
  canvas.addEventListener("contextmenu", function (event) {
    event.preventDefault();
  });
})(page);
