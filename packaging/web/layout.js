// The game as large as the window allows, its 4 : 3 shape kept, with the
// on-screen keys below it or, where that leaves it larger, beside it; the
// footer below both. Below the game the keys take as few rows as keys at
// least 40 px wide allow (2 to 6 px apart; Clear and Guess twice as wide
// where that adds no row), and grow taller into height the game cannot use.
// SDL scales the pointer to the canvas's size on the page.
(function (page) {
  var margin = 12;
  var keySize = 44;  // a key's height, and its width beside the game
  var tallKey = 56;
  var letters = 26;
  var play = document.getElementById("play");
  var stage = document.getElementById("stage");
  var keys = document.getElementById("keys");
  var footer = document.getElementById("footer");
  var consoleView = document.getElementById("console");

  function arrange(beside, width, unit, height) {
    play.classList.toggle("beside", beside);
    var keysWidth = beside ? 5 * keySize + 4 * 6 : Math.min(width, 640);
    var columns = beside ? 5 : Math.max(5, Math.min(15, Math.floor((keysWidth + 2) / 42)));
    var gap = Math.max(2, Math.min(6, Math.floor((keysWidth - 40 * columns) / (columns - 1))));
    var rows = Math.ceil((letters + 2) / columns);
    keys.style.width = keysWidth + "px";
    keys.style.setProperty("--key-gap", gap + "px");
    keys.style.setProperty("--columns", columns);
    keys.classList.toggle("wide", Math.ceil((letters + 4) / columns) === rows);
    keys.style.setProperty("--key", (height || keySize) + "px");
    stage.style.width = 4 * unit + "px";
    stage.style.height = 3 * unit + "px";
    // As wide as the game, or wider where the page has room (a zoomed page,
    // whose game is small), so that its text stays on few lines.
    footer.style.width = consoleView.style.width = Math.max(play.offsetWidth, Math.min(width, 640)) + "px";
    return rows;
  }

  var fittedWidth = -1;
  function fit() {
    // The body's width leaves out the room a classic scrollbar takes or keeps.
    fittedWidth = document.body.clientWidth;
    var width = fittedWidth - 2 * margin;
    var best = null;
    (keys.hidden ? [false] : [false, true]).forEach(function (beside) {
      // From as wide as the page down, until what is below fits: a narrower
      // footer may take another line.
      var unit = Math.floor(width / 4);
      for (var pass = 0; pass < 4; pass++) {
        arrange(beside, width, unit);
        var height = window.innerHeight - 3 * margin - footer.offsetHeight;
        var keysWidth = keys.hidden ? 0 : keys.offsetWidth + margin;
        var keysHeight = keys.hidden ? 0 : keys.offsetHeight + margin;
        var fits = Math.floor(beside ? Math.min((width - keysWidth) / 4, keysHeight > height ? 0 : height / 3)
                                     : Math.min(width / 4, (height - keysHeight) / 3));
        if (fits >= unit) break;
        unit = Math.max(fits, 1);
      }
      if (!best || unit > best.unit) best = { beside: beside, unit: unit };
    });
    // However little room is left below it (a page zoomed to 400 %), the
    // game stays playable; the page then scrolls.
    best.unit = Math.max(best.unit, Math.min(Math.floor(width / 4), 60));
    var rows = arrange(best.beside, width, best.unit);
    var spare = window.innerHeight - 3 * margin - play.offsetHeight - footer.offsetHeight;
    if (!best.beside && !keys.hidden && spare > 0) {
      arrange(false, width, best.unit, Math.min(tallKey, keySize + Math.floor(spare / rows)));
    }
    var used = play.offsetHeight + margin + footer.offsetHeight;
    document.body.style.paddingTop = Math.max(margin, Math.floor((window.innerHeight - used) / 2)) + "px";
  }

  // Also when a classic scrollbar comes or goes (where the page keeps no room
  // for it): the body's width changes while the window's does not.
  new ResizeObserver(function () {
    if (document.body.clientWidth !== fittedWidth) fit();
  }).observe(document.body);
  window.addEventListener("resize", fit);
  page.fit = fit;
})(page);
