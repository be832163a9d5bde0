// What only the browser can do for keyboard players and screen readers; the
// game itself keeps the focus among its buttons, draws the ring and says
// what happens (src/access/focus.cpp, src/access/speech.cpp). The canvas is one
// stop of the page's Tab order: Tab moves on through the page and never
// reaches the game, and when Tab brings the focus to the canvas the game
// shows its ring at once. The game's texts go into a live region
// (page.say), the main menu's hint for touch screens shows on the main menu
// only (page.showScreen), and the frames the game presents are counted
// (page.frames), so that a test can wait for the one after its input.
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
    // A Tab that came before the game ran shows the ring with its first frame.
    if (page.frames++ === 0 && tabbed && document.activeElement === canvas) tellGame(true);
  };

  page.say = function (text) {
    // The same text again is news again: a screen reader hears a change only.
    live.textContent = live.textContent === text ? text + "\u00a0" : text;
  };

  page.showScreen = function (name) {
    // Hidden by visibility, not taken away: it was painted with the page,
    // so showing it again is no new paint for the page's loading metrics.
    hint.style.visibility = touch && name === "Main menu" ? "visible" : "hidden";
  };

  // The game's ring follows the keyboard: on when Tab brings the focus here,
  // off when the focus goes on to the page.
  var tabbed = false;
  function tellGame(on) {
    if (window.Module && Module["_hangman_keyboard_focus"]) Module["_hangman_keyboard_focus"](on ? 1 : 0);
  }
  window.addEventListener("keydown", function (event) {
    if (event.key !== "Tab") return;
    tabbed = true;
    // The page's: the game never sees it.
    event.stopImmediatePropagation();
  }, true);
  window.addEventListener("keyup", function (event) {
    if (event.key === "Tab") event.stopImmediatePropagation();
  }, true);
  window.addEventListener("pointerdown", function () { tabbed = false; }, true);
  canvas.addEventListener("focus", function () { if (tabbed) tellGame(true); });
  canvas.addEventListener("blur", function () { tellGame(false); });
})(page);
