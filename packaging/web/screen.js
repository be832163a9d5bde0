// What the game shows, for keyboard players and screen readers. The game
// tells the page each screen it presents (page.showView, called from
// src/gfx/platform_web.cpp): its name, its buttons, and in a game the word as
// far as it is found and the tries left. The canvas is one stop of the Tab
// order; while it has the focus, the arrow keys move a focus ring between the
// screen's buttons (Back last) and Enter or Space presses the one it is on, as
// a click there would; Escape presses Back. Tab itself is the browser's. A
// live region says what changed, and the main menu's hint is the one that
// fits this device.
(function (page) {
  var element = function (id) { return document.getElementById(id); };
  var canvas = element("canvas");
  var ring = element("focus-ring");
  var live = element("announce");
  var hint = element("hint");
  var touch = matchMedia("(pointer: coarse)").matches;
  var view = { screen: "", buttons: [] };
  var focused = 0;

  hint.textContent = touch ? "Tap the menus  ·  the letter keys, Guess and Clear to play"
                           : "Mouse, or arrows and Enter, for the menus  ·  letters, Space and Backspace to play";

  function placeRing() {
    var button = view.buttons[focused];
    ring.hidden = !button || document.activeElement !== canvas;
    if (ring.hidden) return;
    ring.style.left = (100 * button.x / 640) + "%";
    ring.style.top = (100 * button.y / 480) + "%";
    ring.style.width = (100 * button.w / 640) + "%";
    ring.style.height = (100 * button.h / 480) + "%";
  }
  canvas.addEventListener("focus", placeRing);
  canvas.addEventListener("blur", placeRing);

  function spell(word) { return word.split("").join(" "); }
  function describe(next) {
    var names = next.buttons.map(function (button) { return button.name; }).join(", ");
    if (next.screen === "Game" || next.screen === "You won" || next.screen === "You lost") {
      var found = next.word.replace(/_/g, "").length;
      var text = "The word: " + spell(next.word) + ", " + found + " of " + next.word.length + " letters found. " +
                 next.tries + (next.tries === 1 ? " try" : " tries") + " left." +
                 (next.guessed ? " Guessed: " + next.guessed.split("").join(", ") + "." : "");
      if (next.screen === "Game") return text;
      return next.screen + "! " + text + " Press any key for the main menu.";
    }
    return next.screen + (names ? ". Buttons: " + names + "." : ".");
  }

  page.showView = function (next) {
    next.buttons.sort(function (a, b) { return (a.name === "Back") - (b.name === "Back"); });
    if (next.screen !== view.screen) focused = 0;
    focused = Math.min(focused, Math.max(next.buttons.length - 1, 0));
    view = next;
    // Hidden by visibility, not taken away: it was painted with the page,
    // so showing it again is no new paint for the page's loading metrics.
    hint.style.visibility = next.screen === "Main menu" ? "visible" : "hidden";
    placeRing();
    var text = describe(next);
    if (live.textContent !== text) live.textContent = text;
  };

  // A click on the button, as the mouse makes it: onto it, down and up.
  function press(button) {
    var box = canvas.getBoundingClientRect();
    var at = {
      clientX: box.left + (button.x + button.w / 2) * box.width / 640,
      clientY: box.top + (button.y + button.h / 2) * box.height / 480,
      bubbles: true, cancelable: true, button: 0,
    };
    ["mousemove", "mousedown", "mouseup"].forEach(function (type) {
      canvas.dispatchEvent(new MouseEvent(type, at));
    });
  }

  var moves = { ArrowLeft: -1, ArrowUp: -1, ArrowRight: 1, ArrowDown: 1 };
  window.addEventListener("keydown", function (event) {
    // Tab moves the focus through the page, whatever SDL would do with it.
    if (event.key === "Tab") {
      event.stopImmediatePropagation();
      return;
    }
    if (!menuKey(event)) return;
    event.preventDefault();
    event.stopImmediatePropagation();  // the menus are the page's: the game never sees these keys
    var move = moves[event.key];
    if (move !== undefined) {
      focused = (focused + move + view.buttons.length) % view.buttons.length;
      placeRing();
    } else if (!event.repeat) {
      press(event.key === "Escape" ? backButton() : view.buttons[focused]);
    }
  }, true);
  window.addEventListener("keyup", function (event) {
    if (event.key === "Tab" || menuKey(event)) event.stopImmediatePropagation();
  }, true);

  // The screen's Back button (showView puts it last), or null.
  function backButton() {
    var last = view.buttons[view.buttons.length - 1];
    return last && last.name === "Back" ? last : null;
  }

  // A key of the menus: on a screen with buttons, while the canvas has the focus.
  function menuKey(event) {
    if (document.activeElement !== canvas || view.buttons.length === 0) return false;
    if (event.key === "Escape") return backButton() !== null;
    return event.key in moves || event.key === "Enter" || event.key === " ";
  }
})(page);
