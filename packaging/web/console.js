// The console panel: what the game prints, shown as it comes (a text without
// a line break included), each whole line also in the browser's console.
// After a failure the panel is open whenever it holds anything: the message
// points to it, and lines may still come after the failure.
(function (page) {
  var view = document.getElementById("console");
  var button = document.getElementById("console-button");
  var line = "";
  var pending = "";
  var errorLine = "";
  var openWhenFilled = false;

  function show(open) {
    view.hidden = !open;
    button.setAttribute("aria-expanded", String(open));
    button.textContent = open ? "Hide console" : "Show console";
  }
  button.addEventListener("click", function (event) {
    show(view.hidden);
    // After a click the keyboard goes back to the game; Enter or Space on
    // the button leaves it there.
    if (event.detail > 0) document.getElementById("canvas").focus({ preventScroll: true });
  });

  function flush() {
    view.append(pending);
    view.scrollTop = view.scrollHeight;
    pending = "";
    if (openWhenFilled && view.textContent !== "") show(true);
  }

  page.console = {
    // Opens the panel now if it holds anything, and whenever more comes.
    openWhenFilled: function () {
      openWhenFilled = true;
      flush();
    },
    // The game's standard output, byte by byte (it writes ASCII).
    output: function (code) {
      if (code === null || code === undefined) return;
      var character = String.fromCharCode(code);
      if (pending === "") setTimeout(flush, 0);
      pending += character;
      if (character === "\n") {
        console.log(line);
        line = "";
      } else {
        line += character;
      }
    },
    // Its standard error, to the browser's console only.
    errorOutput: function (code) {
      if (code === null || code === undefined) return;
      if (code === 10) {
        console.error(errorLine);
        errorLine = "";
      } else {
        errorLine += String.fromCharCode(code);
      }
    },
  };
})(page);
