// What only the browser can do for keyboard players and screen readers; the
// game itself keeps the focus among its buttons, draws the ring and says
// what happens (src/access/focus.cpp, src/access/speech.cpp). The canvas is one
// stop of the page's Tab order: Tab moves on through the page and never
// reaches the game, and when the keyboard brings the focus to the canvas
// (Tab within the page, or from the browser's own controls) the game shows
// its ring at once. A click or a tap on the game gives it the keyboard too,
// without the ring, so letters typed after mouse clicks reach it. The
// game's texts go into a live region (page.say), the main menu's hint for
// touch screens shows on the main menu only (page.showScreen), and the
// frames the game presents are counted (page.frames), so that a test can
// wait for the one after its input.
(function (page) {
  var element = function (id) { return document.getElementById(id); };
  var canvas = element("canvas");
  var live = element("announce");
  var hint = element("hint");
  // The picture names the desktop's controls; a touch screen has its own.
  var touch = matchMedia("(pointer: coarse)").matches;
  hint.textContent = "Tap the menus  ·  the letter keys, Guess and Clear to play";
  hint.hidden = !touch;

  page.frames = 0;
  page.presented = function () {
    // The keyboard that came before the game ran shows the ring with its first frame.
    if (page.frames++ === 0 && byKeyboard()) tellGame(true);
  };

  page.say = function (text) {
    // Each text a line of its own, so that two in one frame are both heard
    // (and the same again is news again); the oldest go, unannounced.
    var line = document.createElement("div");
    line.textContent = text;
    live.appendChild(line);
    while (live.childNodes.length > 3) live.removeChild(live.firstChild);
  };

  page.showScreen = function (name) {
    // Hidden by visibility, not taken away: it was painted with the page,
    // so showing it again is no new paint for the page's loading metrics.
    hint.style.visibility = touch && name === "Main menu" ? "visible" : "hidden";
  };

  // The game's ring follows the keyboard: on when the keyboard brings the
  // focus here (the browser shows that focus, :focus-visible), off when the
  // focus goes on to the page. Back from another tab, the game gets the
  // focus as it had it.
  function byKeyboard() {
    return document.activeElement === canvas && canvas.matches(":focus-visible");
  }
  var ring = false;        // as the page last told the game
  var ringWhenLeft = false;
  var awaySinceBlur = false;
  function tellGame(on) {
    ring = on;
    if (window.Module && Module["_hangman_keyboard_focus"]) Module["_hangman_keyboard_focus"](on ? 1 : 0);
  }
  document.addEventListener("visibilitychange", function () {
    if (document.hidden) awaySinceBlur = true;
  });
  window.addEventListener("keydown", function (event) {
    // Tab is the page's: the game never sees it.
    if (event.key === "Tab") event.stopImmediatePropagation();
  }, true);
  window.addEventListener("keyup", function (event) {
    if (event.key === "Tab") event.stopImmediatePropagation();
  }, true);
  // SDL keeps a press on the canvas from focusing it; the page does.
  canvas.addEventListener("pointerdown", function () { canvas.focus({ preventScroll: true }); });
  canvas.addEventListener("focus", function () {
    if (awaySinceBlur ? ringWhenLeft : byKeyboard()) tellGame(true);
  });
  canvas.addEventListener("blur", function () {
    ringWhenLeft = ring;
    awaySinceBlur = false;
    tellGame(false);
  });
})(page);
