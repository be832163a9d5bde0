// The web build played in browsers, served from 127.0.0.1. In headless
// Chromium, one session goes through every screen with real mouse and
// keyboard input: the console text must be exactly the desktop's, every
// screen the same pixels as the desktop build draws (reference_frame), the
// page must keep Space and Backspace to itself, and nothing may run on the
// end picture or in a background tab. The keyboard alone plays the menus,
// whose ring and texts are the game's, and the page's own buttons answer
// it. A phone wins and loses by taps alone; the page must fit screens from
// a small phone to 4K and zoom to 400 %; the web app must be installable,
// play without the network on a second visit, and move every open tab on
// to a new release; Firefox must win the same way. Then each way the game
// can fail to start must leave a message on the page.
//
// No step waits a fixed time: each waits for what the game or the page
// does (a text the game says, a line of its console, a frame that looks as
// it must, a page state), and gives up after a guard far beyond what the
// step takes on a busy machine, saying what it waited for. The browsers end
// whatever happens.
//
//   node play.mjs <site folder> <reference_frame binary> <the build's write-index.html.cmake> [section...]
//
// Each section (session, keyboard, gamepad, motion, phone, layout, web-app,
// no-worker, firefox, failures) also runs alone, or with others named.
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { firstVisitBudget, launch, launchFirefox, serve } from "./browser.mjs";

const [site, referenceFrame, writePage] = process.argv.slice(2, 5).map((p) => path.resolve(p));
const only = process.argv.slice(5);
const wanted = (section) => only.length === 0 || only.includes(section);
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "hangman-web-"));
const guard = 60000;  // ms: the last resort of every wait
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures += 1;
}

// Resolves as `promise` does, or rejects after `ms`, saying what it waited for.
function within(what, promise, ms = guard) {
  let timer;
  const timeout = new Promise((resolve, reject) => {
    timer = setTimeout(() => reject(new Error(`waited ${ms / 1000} s for ${what}`)), ms);
  });
  return Promise.race([promise, timeout]).finally(() => clearTimeout(timer));
}
// Waits until `condition` (run in the page) holds.
const until = (tab, what, condition, arg, ms = guard) =>
  within(what, tab.waitForFunction(condition, { timeout: 0, polling: 50 }, arg), ms);

// Every browser started is closed at the end, whatever happens.
const browsers = [];
async function started(browser) {
  browsers.push(await browser);
  return browsers.at(-1);
}
const xservers = [];
process.on("exit", () => xservers.forEach((xvfb) => xvfb.kill()));

// The canvas keeps its drawing buffer, so that its frames can be read back
// at 640 x 480, whatever size the page shows it at (pixelAt gives the
// colour of one, "r,g,b"); every text the game puts into the live region is
// kept, in order.
function watchPage() {
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, attributes) {
    return getContext.call(this, type, { ...attributes, preserveDrawingBuffer: true });
  };
  window.pixelAt = (x, y) => {
    const canvas = document.getElementById("canvas");
    const rgba = new Uint8Array(4);
    canvas.getContext("webgl").readPixels(x, canvas.height - 1 - y, 1, 1, WebGLRenderingContext.RGBA,
                                          WebGLRenderingContext.UNSIGNED_BYTE, rgba);
    return rgba.slice(0, 3).join(",");
  };
  window.heard = [];
  document.addEventListener("DOMContentLoaded", () => {
    new MutationObserver((changes) => changes.forEach((change) => change.addedNodes.forEach((line) => {
      window.heard.push(line.textContent);
    }))).observe(document.getElementById("announce"), { childList: true });
  });
}

// Drives the game in `tab`, loaded from `url`: pointer, taps and keys in the
// game's own 640 x 480 coordinates, what it says, its console, its frames.
async function open(tab, url) {
  await tab.evaluateOnNewDocument(watchPage);
  await within(`${url} to load`, tab.goto(url, { timeout: 0 }));
  await until(tab, "the game to start", () => document.getElementById("console").textContent.includes("load media complete!"));
  await until(tab, "the main menu to be told", () => window.heard.some((text) => text.startsWith("Main menu.")));
  const box = await (await tab.$("#canvas")).boundingBox();
  const at = (x, y) => [box.x + (x * box.width) / 640, box.y + (y * box.height) / 480];
  const keyButtons = await tab.$$("#keys button");
  const keyTexts = await tab.$$eval("#keys button", (buttons) => buttons.map((button) => button.textContent));
  let told = await tab.evaluate(() => window.heard.length);
  const game = {
    tab,
    box,
    point: (x, y) => tab.mouse.move(...at(x, y)),
    click: (x, y) => within(`a click at ${x}, ${y}`, tab.mouse.click(...at(x, y))),
    tap: (x, y) => within(`a tap at ${x}, ${y}`, tab.touchscreen.tap(...at(x, y))),
    type: async (keys) => {
      for (const key of keys) await tab.keyboard.press(key === "\b" ? "Backspace" : key);
    },
    tapKeys: async (keys) => {
      for (const key of keys) {
        const label = { " ": "Guess", "\b": "Clear" }[key] ?? key.toUpperCase();
        await within(`a tap on ${label}`, keyButtons[keyTexts.indexOf(label)].tap());
      }
    },
    // Waits for the game to say a text that begins with `text`, after the
    // last one waited for; the whole text.
    said: async (text) => {
      const index = await within(`the game to say "${text}"`, tab.waitForFunction((from, want) => {
        const found = window.heard.findIndex((said, i) => i >= from && said.startsWith(want));
        return found >= 0 ? found : false;
      }, { timeout: 0, polling: 50 }, told, text).then((handle) => handle.jsonValue()));
      told = index + 1;
      return tab.evaluate((i) => window.heard[i], index);
    },
    consoleText: () => tab.$eval("#console", (element) => element.textContent),
    secretWord: async () => {
      await until(tab, "a secret word on the console", () => /word = \w+\nword_length/.test(document.getElementById("console").textContent));
      return [...(await game.consoleText()).matchAll(/word = (\w+)\n/g)].pop()[1];
    },
    view: async (file) => {
      const png = await tab.$eval("#canvas", (canvas) => canvas.toDataURL("image/png"));
      fs.writeFileSync(file, Buffer.from(png.split(",")[1], "base64"));
    },
    // The colour of the picture's pixel (x, y), "r,g,b".
    pixel: (x, y) => tab.evaluate((x, y) => window.pixelAt(x, y), x, y),
  };
  return game;
}
const ring = "242,177,52";  // the focus ring, 4 pixels left of Start at (55, 390)

// The canvas of `game` (the desktop session's unless given) must come to
// show what the desktop build draws for `screen`; the menu's figure moves
// on its own and is left out of the comparison.
let desktop;
async function sameAsDesktop(name, screen, word = "", keys = "", game = desktop) {
  const reference = path.join(scratch, `${name}-desktop.png`);
  const shot = path.join(scratch, `${name}-web.png`);
  execFileSync(referenceFrame, [reference, screen, word, keys]);
  const hideFigure = (file) => {
    if (screen.startsWith("menu")) execFileSync("convert", [file, "-fill", "black", "-draw", "rectangle 293,150 347,214", file]);
  };
  hideFigure(reference);
  let differing = "";
  for (const start = Date.now(); Date.now() - start < guard;) {
    await game.view(shot);
    hideFigure(shot);
    try {
      execFileSync("compare", ["-metric", "AE", reference, shot, "null:"], { stdio: "pipe" });
      return true;
    } catch (error) {
      differing = String(error.stderr).trim();
    }
  }
  console.log(`  after ${guard / 1000} s still ${differing} pixels differ between ${reference} and ${shot}`);
  return false;
}

// A copy of the site, changed by `change(folder)`, its page written for it
// as the build writes it (`writer` changes the writer's script): another release.
let copies = 0;
function release(change, writer = (text) => text) {
  const folder = path.join(scratch, `release-${++copies}`);
  fs.cpSync(site, folder, { recursive: true });
  change(folder);
  const script = path.join(scratch, `write-${copies}.cmake`);
  fs.writeFileSync(script, writer(fs.readFileSync(writePage, "utf8")));
  execFileSync("cmake", [`-DSITE=${folder}`, "-P", script]);
  return folder;
}
// The served file of `name` in a copy of the site (its name is of its content).
const served = (folder, name) => {
  const [stem, rest] = [name.slice(0, name.indexOf(".")), name.slice(name.indexOf("."))];
  return fs.readdirSync(folder).find((file) => file.startsWith(stem + ".") && file.endsWith(rest) &&
                                                 /^[0-9a-f]{12}$/.test(file.slice(stem.length + 1, -rest.length)));
};

// Waits until the game in `tab` runs, or the page says why not; the release
// it runs, or the message.
async function running(tab) {
  return within("the game to run or the page to say why not", tab.waitForFunction(() => {
    if (!document.getElementById("message").hidden) return document.getElementById("message").textContent.trim();
    return document.getElementById("console").textContent.includes("load media complete!") && window.page.release.digest;
  }, { timeout: 0, polling: 100 }).then((handle) => handle.jsonValue())).catch((error) => error.message);
}
const digestOf = (folder) => /digest: "(\w+)"/.exec(fs.readFileSync(path.join(folder, "index.html"), "utf8"))[1];
const workerActive = () => navigator.serviceWorker.getRegistration().then((registration) => registration?.active?.state === "activated");
// Release B: its program changed. Release C: only one of the page's own
// scripts changed, the build's sources otherwise the same. Made once, when
// first asked for.
let madeReleases;
function releases() {
  if (!madeReleases) {
    const releaseB = release((folder) => fs.appendFileSync(path.join(folder, served(folder, "chalk-hangman.js")), "\n// release B\n"));
    const changedScript = path.join(scratch, "screen.js");
    const scripts = /set\(SCRIPTS \[=\[(.*?)\]=\]\)/.exec(fs.readFileSync(writePage, "utf8"))[1];
    const original = scripts.split(";").find((script) => script.endsWith("/screen.js"));
    fs.writeFileSync(changedScript, fs.readFileSync(original, "utf8") + "\n// release C\n");
    const releaseC = release(() => {}, (text) => text.replace(original, changedScript));
    madeReleases = { releaseB, releaseC, digestA: digestOf(site), digestB: digestOf(releaseB), digestC: digestOf(releaseC) };
  }
  return madeReleases;
}

// What axe (axe-core) finds wrong with the page in `tab`, one line each.
const axeSource = fs.readFileSync(new URL("node_modules/axe-core/axe.min.js", import.meta.url), "utf8");
async function axeViolations(tab) {
  await tab.addScriptTag({ content: axeSource });
  return tab.evaluate(() => window.axe.run(document).then((result) => result.violations.map((violation) =>
    `${violation.id} (${violation.impact}): ${violation.nodes.map((node) => node.target.join(" ")).join(", ")}`)));
}

// What a game of `word` prints in developer mode for the keys typed: the
// desktop build's own text.
const gameLines = (word, keys) => execFileSync(referenceFrame, ["-", "game-console", word, keys], { encoding: "utf8" });
const easyGame = (word, keys) => "start button has been pressed.\neasy button has been pressed.\n" + gameLines(word, keys);
// The console of a session: developer mode turned on, then easy games, each
// a word and the keys typed into it.
const sessionText = (...games) => "initialize complete!\nload media complete!\n" +
  "dev_mode turned on.\nback button has been pressed.\n" + games.map(([word, keys]) => easyGame(word, keys)).join("");
const notIn = (word, count) => [..."qxzjkvwybfhmpgdcultsrnoiea"].filter((c) => !word.includes(c)).slice(0, count).join("");
const guesses = (letters) => [...letters].map((c) => c + " ").join("");
function sameText(got, expected, what) {
  check(got === expected, what);
  if (got !== expected) console.log(`  expected:\n${expected}\n  got:\n${got}`);
}

// Developer mode on, then an easy game won by `press` (clicks and keys, or
// taps), each step waited for: the end picture and the console must be the
// desktop's.
async function winEasyGame(game, press, what) {
  await press.at(460, 390);  // Options
  await game.said("Options.");
  await press.at(230, 367);  // developer mode on
  await game.said("Developer mode, switch, on.");
  await press.at(606, 26);   // Back
  await game.said("Main menu.");
  await press.at(180, 390);  // Start
  await game.said("Choose a level.");
  await press.at(320, 230);  // Easy
  await game.said("Game.");
  const word = await game.secretWord();
  const keys = guesses(notIn(word, 2) + [...new Set(word)].join(""));
  await press.keys(keys);
  await game.said("You won!");
  check(await sameAsDesktop(`${what}-win`, "game", word, keys, game), `${what} wins "${word}"`);
  sameText(await game.consoleText(), sessionText([word, keys]), `${what}: the console, exactly the desktop's`);
}

try {
  const browser = await started(launch());
  const server = await serve(site);
  const phoneScreen = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

  if (wanted("session")) {
    // ---- One session through every screen, the canvas scaled to the window.
    const page = await browser.newPage();
    await page.setViewport({ width: 800, height: 600 });
    // Counts what the page asks to be woken for, a message to itself
    // included: a game that waits asks nothing.
    await page.evaluateOnNewDocument(() => {
      window.wakeUps = 0;
      for (const [owner, name] of [[window, "setTimeout"], [window, "setInterval"], [window, "requestAnimationFrame"],
                                   [window, "postMessage"], [MessagePort.prototype, "postMessage"]]) {
        const schedule = owner[name];
        owner[name] = function (...args) {
          window.wakeUps += 1;
          return schedule.apply(this, args);
        };
      }
    });
    desktop = await open(page, server.url);
    const { point, click, type, said, secretWord, consoleText } = desktop;
    check((await consoleText()) === "initialize complete!\nload media complete!\n", "the two start-up lines, and nothing else");
    const shown = await page.evaluate(() => ({
      loading: document.getElementById("loading").hidden, title: document.title,
      heading: document.querySelector("h1")?.textContent, hint: document.getElementById("hint").hidden,
      offer: !document.getElementById("update").hidden,
    }));
    check(shown.loading && shown.title === "Hangman" && shown.heading === "Chalk Hangman" && shown.hint && !shown.offer,
          `the page: the loading indicator gone, the tab titled "${shown.title}", a level-one heading ` +
          `"${shown.heading}", no touch hint over the picture's own (${shown.hint ? "hidden" : "shown"}), ` +
          `no new version offered on a first visit (${shown.offer ? "offered" : "none"})`);
    await point(500, 200);
    check(await sameAsDesktop("menu", "menu"), "main menu");
    await point(150, 390);
    check(await sameAsDesktop("menu-start", "menu-start"), "Start under the pointer");
    await click(460, 390);
    await said("Options.");
    await point(400, 250);
    check(await sameAsDesktop("options-off", "options-off"), "options, developer mode off");
    await click(230, 367);
    await said("Developer mode, switch, on.");
    await point(400, 250);
    check(await sameAsDesktop("options-on", "options-on"), "options, developer mode on");
    await click(606, 26);
    await said("Main menu.");
    await click(180, 390);
    await said("Choose a level.");
    await point(320, 310);
    check(await sameAsDesktop("difficulty", "difficulty-medium"), "level choice, Medium under the pointer");
    await click(320, 230);
    await said("Game.");
    // The menus by the mouse, then a letter by the keyboard, nothing between:
    // the clicks gave the game the keyboard.
    const won = await secretWord();
    const wrong = notIn(won, 1);
    await type(guesses(wrong));
    check((await said(`${wrong.toUpperCase()} is not in the word.`)) !== "",
          "after the menus by the mouse, a letter and Space typed reach the game, and the guess is told");

    // A click on the console's button gives the keyboard back to the game:
    // Space and Backspace must neither scroll nor press the button.
    await page.click("#console-button");
    check(await page.$eval("#console", (element) => !element.hidden), "the console panel opens");
    const axe = await axeViolations(page);
    check(axe.length === 0, `axe finds nothing wrong with the page, its console shown: ${axe.join("; ") || "no violations"}`);
    const canvasBox = async () => (await page.$("#canvas")).boundingBox();
    check(JSON.stringify(await canvasBox()) === JSON.stringify(desktop.box), "the canvas stays where it was");
    const right = [...new Set(won)].join("");
    const wonKeys = guesses(wrong + right.slice(0, -1)) + "x\b" + right.slice(-1);
    await type(wonKeys.slice(2));
    await said(`Letter ${right.slice(-1).toUpperCase()}.`);
    check(await sameAsDesktop("game", "game", won, wonKeys), `game of "${won}" in progress`);
    check(await page.evaluate(() => window.scrollY === 0 && document.documentElement.scrollHeight > innerHeight),
          "Space and Backspace do not scroll a page taller than the window");
    check(await page.$eval("#console", (element) => !element.hidden), "Space does not press the console's button");
    await type(" ");
    await said("You won!");
    check(await sameAsDesktop("win", "game", won, wonKeys + " "), "the win picture");

    // While the game waits, the page must schedule nothing at all over 10 s:
    // no timer, no animation frame, no message to itself. (How much of a
    // core it then uses is the benchmark's figure.)
    async function idle(what) {
      const before = await page.evaluate(() => window.wakeUps);
      await new Promise((resolve) => setTimeout(resolve, 10000));
      const wakeUps = (await page.evaluate(() => window.wakeUps)) - before;
      check(wakeUps === 0, `${what}: ${wakeUps} timers, animation frames or messages in 10 s`);
    }
    await until(page, "the page to settle on the end picture", () => {
      const settled = window.wakeUps === window.lastWakeUps;
      window.lastWakeUps = window.wakeUps;
      return settled;
    });
    await idle("the end picture, waiting for a key");
    const other = await browser.newPage();
    await other.bringToFront();
    await until(page, "the game's tab to be hidden", () => document.visibilityState === "hidden");
    await page.bringToFront();
    await type("a");
    await said("Main menu.");
    await other.bringToFront();
    await until(page, "the game's tab to be hidden again", () => document.visibilityState === "hidden");
    await idle("the main menu in a background tab");
    await other.close();
    await page.bringToFront();

    await click(180, 390);
    await said("Choose a level.");
    await click(320, 230);
    await said("Game.");
    const lost = await secretWord();
    const losing = notIn(lost, 6);
    await type(guesses(losing));
    await said("You lost.");
    check(await sameAsDesktop("lose", "game", lost, guesses(losing)), "the lose picture");
    sameText(await consoleText(), sessionText([won, wonKeys + " "], [lost, guesses(losing)]),
             "the whole console text, exactly the desktop's");
    const installable = await until(page, "the service worker and the manifest", () => document.querySelector("link[rel=manifest]") &&
                                    navigator.serviceWorker.getRegistration().then((registration) => registration?.active?.state === "activated"))
      .then(async () => {
      const cdp = await page.createCDPSession();
      return (await cdp.send("Page.getInstallabilityErrors")).installabilityErrors;
    }, (error) => [error.message]);
    check(installable.length === 0, `the page has a service worker and can be installed: ${JSON.stringify(installable)}`);
    await page.close();
  }

  if (wanted("keyboard")) {
    // ---- The keyboard alone, as a screen reader's user plays: Tab to the
    // game, whose ring shows at once, the menus by the arrow keys, Enter,
    // Space and Escape, a game by letters; what the game says at each step,
    // counts exact; then Tab on to the page's controls, which Enter and
    // Space press while the game runs, and never the game.
    const keyboardPage = await browser.newPage();
    await keyboardPage.setViewport({ width: 800, height: 600 });
    const keyboard = await open(keyboardPage, server.url);
    const press = async (...keys) => {
      for (const key of keys) {
        const [held, pressed] = key.includes("+") ? key.split("+") : [null, key];
        if (held) await keyboardPage.keyboard.down(held);
        await keyboardPage.keyboard.press(pressed);
        if (held) await keyboardPage.keyboard.up(held);
      }
    };
    const texts = [];
    const hear = async (text) => texts.push([text, await keyboard.said(text)]);
    await press("Tab");
    await hear("Start, button");
    check(await keyboardPage.evaluate(() => document.activeElement.id === "canvas") &&
          (await keyboard.pixel(55, 390)) === ring, "Tab brings the focus to the game, and its ring shows at once");
    await press("ArrowRight");
    await hear("Options, button");
    await press("Enter");
    await hear("Options. Buttons: Developer mode, Back. Focused: Developer mode, switch, off.");
    await press(" ");                                     // Space presses, as Enter does
    await hear("Developer mode, switch, on.");
    await press("Escape");
    await hear("Main menu. Buttons: Start, Options. Focused: Options, button.");
    await press("ArrowLeft");
    await hear("Start, button");
    await press("Enter");
    await hear("Choose a level. Buttons: Easy, 4 letters; Medium, 7 to 9 letters; Hard, 8 to 13 letters; Back. Focused: Easy, button, 4 letters.");
    await press("Enter");
    await hear("Game. A word of 4 letters, 6 tries.");
    const typed = await keyboard.secretWord();
    const missed = notIn(typed, 1);
    const typedKeys = guesses(missed + [...new Set(typed)].join("").slice(1));
    // The word as the game tells it: letters found, "blank", and a run of
    // three or more unknown letters as their count.
    const told = (found) => {
      const parts = [];
      for (let i = 0; i < typed.length;) {
        let run = 0;
        while (i + run < typed.length && !found.includes(typed[i + run])) run += 1;
        parts.push(run >= 3 ? [`${run} unknown letters`, true] : [run > 0 ? "blank" : typed[i].toUpperCase(), false]);
        i += run >= 3 ? run : 1;
      }
      return parts.map(([text, counted], i) => (i === 0 ? "" : counted || parts[i - 1][1] ? ", " : " ") + text).join("");
    };
    await keyboard.type(guesses(missed));
    await hear(`${missed.toUpperCase()} is not in the word. The word: ${told("")}, 0 of 4 letters found. 5 tries left.`);
    const found = [...new Set(typed)].join("").slice(1);
    await keyboard.type(guesses(found));
    const foundCount = [...typed].filter((c) => found.includes(c)).length;
    await hear(`${found.slice(-1).toUpperCase()} is in the word. The word: ${told(found)}, ${foundCount} of 4 letters found. 5 tries left.`);
    await keyboard.type(guesses(typed[0]));
    await hear(`You won! The word: ${told(typed)}, 4 of 4 letters found. 5 tries left.`);
    for (const [want, got] of texts) check(got.startsWith(want), `the keyboard alone: said "${got}"`);
    sameText(await keyboard.consoleText(), sessionText([typed, typedKeys + guesses(typed[0])]),
             "the keyboard alone wins a game, the console exactly the desktop's");
    await press("Enter");
    await keyboard.said("Main menu.");
    // On to the page: the licence link, then its buttons, pressed by keys.
    await press("Tab");
    check(await keyboardPage.evaluate(() => document.activeElement.tagName === "A"), "Tab goes on from the game to the page's link");
    const ringGone = await until(keyboardPage, "the ring to go with the focus", (colour) => window.pixelAt(55, 390) !== colour,
                                 ring).then(() => true, () => false);
    check(ringGone, "the game's ring goes when the focus leaves the game");
    await press("Tab", "Tab");  // Show keys, Show console
    const before = await keyboard.consoleText();
    await press("Enter");
    const consoleOpen = await until(keyboardPage, "Enter to open the console", () => !document.getElementById("console").hidden).then(() => true, () => false);
    await press("Shift+Tab", " ");
    const keysShown = await until(keyboardPage, "Space to show the keys", () => !document.getElementById("keys").hidden).then(() => true, () => false);
    check(consoleOpen && keysShown && (await keyboard.consoleText()) === before,
          "Enter and Space press the page's own buttons (the console opened, the keys shown), and the game never saw them");
    // The keys shown are one stop: back from Show keys past the link, the
    // keys, to the game; from the game Tab reaches them, the arrows move
    // among them, and the next Tab goes on to the page's own link.
    const focused = () => keyboardPage.evaluate(() => document.activeElement.textContent || document.activeElement.id);
    await press("Shift+Tab", "Shift+Tab", "Shift+Tab");
    const back = await focused();
    await press("Tab");
    const first = await focused();
    const moves = ["ArrowRight", "ArrowDown", "ArrowUp", "ArrowLeft", "End", "Home"];
    const moved = [];
    for (const move of moves) {
      await press(move);
      moved.push(await focused());
    }
    // As the keys are laid out: B, the key below B, B, A, the last, A.
    const expected = await keyboardPage.evaluate(() => {
      const keys = document.getElementById("keys");
      const all = Array.from(keys.children, (key) => key.textContent);
      const row = parseInt(getComputedStyle(keys).getPropertyValue("--columns"), 10);
      return [all[1], all[1 + row], all[1], all[0], all[all.length - 1], all[0]];
    });
    await press("Tab");
    const after = await keyboardPage.evaluate(() => document.activeElement.tagName);
    check(back === "canvas" && first === "A" && moved.join() === expected.join() && after === "A",
          `the on-screen keys are one Tab stop: from the game Tab reached ${first}, ${moves.join(", ")} moved to ` +
          `${moved.join(", ")} (as laid out: ${expected.join(", ")}), and Tab then went on to the page's ` +
          `${after === "A" ? "link" : after} (back there from ${back})`);
    await keyboardPage.close();

    // A Tab pressed before the game's first frame shows the ring once the
    // game draws.
    const early = await browser.newPage();
    await early.setViewport({ width: 800, height: 600 });
    await early.evaluateOnNewDocument(watchPage);
    await within("the page to load", early.goto(server.url, { waitUntil: "domcontentloaded", timeout: 0 }));
    const beforeFirstFrame = await early.evaluate(() => window.page.frames === 0);
    await early.keyboard.press("Tab");
    const earlyRing = await until(early, "the ring once the game draws", (colour) => window.page.frames > 0 &&
                                  window.pixelAt(55, 390) === colour, ring).then(() => true, () => false);
    check(beforeFirstFrame && earlyRing, "a Tab pressed before the game's first frame shows the ring once the game draws");
    await early.close();
  }

  if (wanted("gamepad")) {
    // ---- A gamepad, through the browser's Gamepad API (one made by the
    // test, as a browser shows a standard gamepad): the menus by its A and
    // D-pad, a letter stepped to and guessed, and any button leaving an end
    // picture. Each button is held until the game has done what it does.
    const padPage = await browser.newPage();
    await padPage.setViewport({ width: 800, height: 600 });
    await padPage.evaluateOnNewDocument(() => {
      const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
      const pad = { id: "Test pad (STANDARD GAMEPAD)", index: 0, connected: true, mapping: "standard",
                    timestamp: 1, axes: [0, 0, 0, 0], buttons };
      navigator.getGamepads = () => [pad, null, null, null];
      window.pad = (button, down) => {
        Object.assign(buttons[button], { pressed: down, touched: down, value: down ? 1 : 0 });
        pad.timestamp += 1;
      };
      window.addEventListener("load", () => {
        const connected = new Event("gamepadconnected");
        connected.gamepad = pad;
        window.dispatchEvent(connected);
      });
    });
    const padGame = await open(padPage, server.url);
    const [A, B, up, down, left, right] = [0, 1, 12, 13, 14, 15];
    // Holds `button` until the game says `text`, then lets it go until the
    // game has looked at the pad again (two frames on).
    const press = async (button, text) => {
      await padPage.evaluate((b) => window.pad(b, true), button);
      const said = await padGame.said(text);
      const frames = await padPage.evaluate((b) => { window.pad(b, false); return window.page.frames; }, button);
      await until(padPage, "the game to look at the pad again", (from) => window.page.frames > from + 1, frames);
      return said;
    };
    for (const [button, text] of [
      [right, "Start, button"], [right, "Options, button"], [A, "Options."],
      [A, "Developer mode, switch, on."], [B, "Main menu."], [left, "Start, button"],
      [A, "Choose a level."], [down, "Medium, button"], [up, "Easy, button"],
      [A, "Game. A word of 4 letters, 6 tries. Choose a letter with up and down, then press A to guess it."],
      [up, "Letter A."], [up, "Letter B."], [A, "B "],
    ]) {
      await press(button, text);
    }
    // The rest of a lost game by the keyboard, after a click on the game.
    const padWord = await padGame.secretWord();
    await padGame.click(320, 100);
    await padGame.type(guesses(notIn(padWord + "b", padWord.includes("b") ? 6 : 5)));
    await padGame.said("You lost.");
    await press(B, "Main menu.");
    check(true, "a gamepad plays the menus, steps a letter and guesses it, and leaves the end picture by a button");
    await padPage.close();
  }

  if (wanted("motion")) {
    // ---- Less motion: where the browser asks for it, the menu's figure
    // stands still, the whole of it; elsewhere it moves.
    const figure = async (game) => {
      const shot = path.join(scratch, "figure.png");
      await game.view(shot);
      return execFileSync("convert", [shot, "-crop", "55x65+293+150", "+repage", "-format", "%#", "info:"], { encoding: "utf8" });
    };
    for (const reduce of [true, false]) {
      const tab = await browser.newPage();
      await tab.setViewport({ width: 800, height: 600 });
      if (reduce) await tab.emulateMediaFeatures([{ name: "prefers-reduced-motion", value: "reduce" }]);
      const game = await open(tab, server.url);
      const seen = new Set([await figure(game)]);
      const frames = await tab.evaluate(() => window.page.frames);
      await until(tab, "200 frames of the main menu", (from) => window.page.frames > from + 200, frames);
      seen.add(await figure(game));
      check(seen.size === (reduce ? 1 : 2), `${reduce ? "less motion: the figure stood still" : "the figure moved"} over 200 frames`);
      await tab.close();
    }
  }

  if (wanted("phone")) {
    // ---- A phone: touch, no keyboard. The menus are tapped, a game won and a
    // game lost with the on-screen keys alone.
    const phonePage = await browser.newPage();
    await phonePage.emulate({ userAgent: await browser.userAgent(), viewport: phoneScreen });
    const phone = await open(phonePage, server.url);
    const onScreenKeys = await phonePage.$$eval("#keys button", (buttons) => buttons.map((button) => {
      const rect = button.getBoundingClientRect();
      return { text: button.textContent, width: rect.width, height: rect.height };
    }));
    check(onScreenKeys.map((key) => key.text).join(" ") === "A B C D E F G H I J K L M N O P Q R S T U V W X Y Z Clear Guess" &&
          onScreenKeys.every((key) => key.width >= 40 && key.height >= 40),
          `a phone shows the 28 on-screen keys, each at least 40 x 40: ${
            onScreenKeys.map((key) => `${key.text} ${Math.round(key.width)}x${Math.round(key.height)}`).join(", ")}`);
    const hint = await phonePage.$eval("#hint", (element) => ({ text: element.textContent, shown: !element.hidden && getComputedStyle(element).visibility === "visible" }));
    check(hint.shown && hint.text === "Tap the menus  ·  the letter keys, Guess and Clear to play",
          `a phone's main menu shows the touch hint: "${hint.text}" (${hint.shown ? "shown" : "hidden"})`);
    await winEasyGame(phone, { at: phone.tap, keys: phone.tapKeys }, "a phone");
    await phone.tapKeys("q");  // any key leaves the end picture
    await phone.said("Main menu.");
    await phone.tap(180, 390);
    await phone.said("Choose a level.");
    await phone.tap(320, 230);
    await phone.said("Game.");
    const phoneLost = await phone.secretWord();
    const phoneLostKeys = "x\b" + guesses(notIn(phoneLost, 6));
    await phone.tapKeys(phoneLostKeys);
    await phone.said("You lost.");
    check(await sameAsDesktop("phone-lose", "game", phoneLost, phoneLostKeys, phone), `a phone loses "${phoneLost}" by taps`);
    check((await phone.consoleText()).endsWith(easyGame(phoneLost, phoneLostKeys)), "the phone's lost game, exactly the desktop's console");
    check(await phonePage.evaluate(() => !document.activeElement.closest("#keys")), "no on-screen key took the focus");
    // A press the browser cancels (a scroll, a system gesture) lets the key up:
    // the next tap is a whole press again.
    const cancelled = await phonePage.evaluate(() => {
      const sent = { keydown: 0, keyup: 0 };
      for (const type of Object.keys(sent)) window.addEventListener(type, () => { sent[type] += 1; }, true);
      const key = [...document.querySelectorAll("#keys button")].find((button) => button.textContent === "Q");
      for (const type of ["pointerdown", "pointercancel", "pointerdown", "pointerup"]) {
        key.dispatchEvent(new PointerEvent(type, { pointerId: 1, pointerType: "touch", bubbles: true, cancelable: true }));
      }
      return { ...sent, down: key.classList.contains("down") };
    });
    check(cancelled.keydown === 2 && cancelled.keyup === 2 && !cancelled.down,
          `a cancelled press, then a tap: ${cancelled.keydown} presses and ${cancelled.keyup} releases, the key ${cancelled.down ? "still down" : "up"}`);
    await phonePage.close();
  }

  if (wanted("layout")) {
    // ---- The page on every screen: the game and the keys (where shown) all in
    // view with no scrolling, within the page's 12 px margins, every key at
    // least 40 x 40, the picture 4 : 3, as large as fits (to a whole multiple of
    // 4 x 3 pixels) and at least `game` where given. Zoomed in (a 1280 x 800
    // window at 200 % and 400 %: fewer, larger CSS pixels), the page may
    // scroll, but the footer's version and licence link stay whole and
    // reachable.
    const screens = [
      { name: "a phone upright", viewport: phoneScreen, keys: true, game: [360, 270] },
      { name: "a phone on its side", viewport: { ...phoneScreen, width: 844, height: 390 }, keys: true, game: [432, 324] },
      { name: "a small phone", viewport: { ...phoneScreen, width: 320, height: 480 }, keys: true, game: [280, 210] },
      { name: "a tablet", viewport: { ...phoneScreen, width: 820, height: 1180, deviceScaleFactor: 2 }, keys: true, game: [780, 585] },
      { name: "a 1280 x 720 window, keys and console shown", viewport: { width: 1280, height: 720 }, keys: true, show: ["#keys-button", "#console-button"], scrollbar: true },
      { name: "a narrow window, console shown", viewport: { width: 600, height: 600 }, keys: false, show: ["#console-button"], scrollbar: true },
      { name: "a 3840 x 2160 screen", viewport: { width: 3840, height: 2160 }, keys: false },
      { name: "1280 x 800 at 200 %", viewport: { width: 640, height: 400, deviceScaleFactor: 2 }, keys: false, zoom: true },
      { name: "1280 x 800 at 400 %, keys shown", viewport: { width: 320, height: 200, deviceScaleFactor: 4 }, keys: true, show: ["#keys-button"], zoom: true },
    ];
    for (const screen of screens) {
      const tab = await browser.newPage();
      await tab.emulate({ userAgent: await browser.userAgent(), viewport: screen.viewport });
      await open(tab, server.url);
      for (const button of screen.show ?? []) await tab.click(button);
      const layout = await tab.evaluate(() => {
        const view = { width: document.documentElement.clientWidth, height: innerHeight };
        const parts = [document.getElementById("stage"), document.getElementById("footer"),
                       ...document.querySelectorAll("#keys:not([hidden]) button")].map((part) => part.getBoundingClientRect());
        const stage = parts[0];
        const footer = document.querySelector("#footer span");
        const page = document.documentElement;
        // Every control of the footer shown: its link and buttons.
        const controls = [...document.querySelectorAll("#footer a, #footer button")]
          .map((control) => control.getBoundingClientRect()).filter((box) => box.width > 0);
        return {
          view, scrollbar: innerWidth - view.width, stage: [stage.width, stage.height], keys: parts.length > 2,
          smallKeys: parts.slice(2).filter((r) => r.width < 40 || r.height < 40).length,
          cut: parts.filter((r) => r.left < 12 || r.top < 0 || r.right > view.width - 12 || r.bottom > view.height).length,
          scrolls: scrollX !== 0 || scrollY !== 0 || page.scrollWidth > view.width ||
                   (document.getElementById("console").hidden && page.scrollHeight > view.height),
          width: Math.max(...parts.map((r) => r.right)) - Math.min(...parts.map((r) => r.left)),
          height: Math.max(...parts.map((r) => r.bottom)) - Math.min(...parts.map((r) => r.top)),
          // The footer's text whole (nothing clipped) and its controls inside
          // the page's width, where scrolling down reaches them.
          footerWhole: footer.scrollWidth <= footer.clientWidth && footer.textContent.includes(" · "),
          controls: controls.length,
          reachable: controls.length > 0 && controls.every((box) => box.left >= 0 && box.right <= view.width &&
                                                                    box.bottom + scrollY <= page.scrollHeight),
          sideways: page.scrollWidth > view.width,
        };
      });
      if (screen.zoom) {
        check(layout.footerWhole && layout.reachable && !layout.sideways && layout.stage[0] * 3 === layout.stage[1] * 4,
              `${screen.name}: a view of ${layout.view.width} x ${layout.view.height}, the game ${layout.stage.join(" x ")}, ` +
              `the footer ${layout.footerWhole ? "whole" : "cut"}, its ${layout.controls} controls ${layout.reachable ? "inside the page" : "not all inside the page"}, ` +
              `${layout.sideways ? "" : "no "}sideways scrolling`);
      } else {
        const largest = layout.width >= layout.view.width - 24 - 4 || layout.height >= layout.view.height - 24 - 3;
        const large = !screen.game || (layout.stage[0] >= screen.game[0] && layout.stage[1] >= screen.game[1]);
        check(layout.cut === 0 && !layout.scrolls && layout.stage[0] * 3 === layout.stage[1] * 4 && largest && large &&
              layout.keys === screen.keys && layout.smallKeys === 0 && (!screen.scrollbar || layout.scrollbar > 0) && layout.footerWhole,
              `${screen.name}: the game ${layout.stage.join(" x ")} in a view of ${layout.view.width} x ${layout.view.height} ` +
              `(scrollbar ${layout.scrollbar} px), ${layout.cut} parts cut or in the margins, ${layout.smallKeys} keys under 40 x 40, ` +
              `${layout.scrolls ? "" : "no "}scrolling, the footer ${layout.footerWhole ? "whole" : "cut"}, ` +
              `keys ${layout.keys ? "shown" : "hidden"}, everything ${Math.round(layout.width)} x ${Math.round(layout.height)}`);
      }
      await tab.close();
    }
  }

  if (wanted("web-app")) {
    // ---- The web app. Its worker keeps every file of the site, and every icon
    // the manifest names is there.
    const siteFiles = fs.readdirSync(site, { recursive: true })
      .filter((name) => name !== "sw.js" && fs.statSync(path.join(site, name)).isFile()).sort();
    const kept = Object.keys(JSON.parse(/var FILES = (\{.*\});/.exec(fs.readFileSync(path.join(site, "sw.js"), "utf8"))[1])).sort();
    const icons = JSON.parse(fs.readFileSync(path.join(site, "manifest.webmanifest"))).icons.map((icon) => icon.src);
    check(JSON.stringify(kept) === JSON.stringify(siteFiles) && icons.every((icon) => siteFiles.includes(icon)),
          `the worker keeps every file of the site: ${kept.join(", ")}; the manifest's icons: ${icons.join(", ")}`);

    const { releaseB, releaseC, digestA, digestB, digestC } = releases();
    check(new Set([digestA, digestB, digestC]).size === 3,
          `each release has a digest of its own: A ${digestA}, B ${digestB} (program changed), C ${digestC} (only screen.js changed)`);

    // In a profile of its own: a first visit downloads no more than its budget.
    // Then the site moves on to release B, with two tabs open: both are
    // offered B and run A until their player reloads; one accepts and runs B,
    // whose worker drops A's cache but not another app's; the other's Reload
    // takes it to B with one click. Release C is then offered likewise. With
    // the server gone, a visit plays to the menu, and every file of the site
    // comes from the worker.
    const appServer = await serve(site);
    const profile = await browser.createBrowserContext();
    const firstVisit = await profile.newPage();
    await firstVisit.setViewport({ width: 800, height: 600 });
    await open(firstVisit, appServer.url);
    const offlineReady = await until(firstVisit, "the service worker", workerActive).then(() => true, () => false);
    const downloaded = Object.values(appServer.sent).reduce((sum, bytes) => sum + bytes, 0);
    check(offlineReady && downloaded <= firstVisitBudget, `a first visit starts the service worker${offlineReady ? "" : " (it did not)"} and downloads ${downloaded} bytes in all, gzip, at most ${firstVisitBudget} (${
      Object.entries(appServer.sent).map(([name, bytes]) => `${name} ${bytes}`).join(", ")})`);
    check(await firstVisit.$eval("#update", (element) => element.hidden), "a first visit offers no new version");
    await firstVisit.evaluate(() => caches.open("another-app"));
    await firstVisit.close();

    // A host that lets the browser keep nothing (no-store): the worker takes
    // what the page already has, the page itself included, and a first
    // visit downloads each file of the site once; then, with the host gone,
    // the game plays from the worker.
    const noStore = await serve(site);
    noStore.noStore = true;
    const noStoreProfile = await browser.createBrowserContext();
    const noStoreVisit = await noStoreProfile.newPage();
    await noStoreVisit.setViewport({ width: 800, height: 600 });
    await open(noStoreVisit, noStore.url);
    const noStoreReady = await until(noStoreVisit, "the service worker and the icon", () => document.getElementById("icon").href.endsWith("icon.png") &&
                                     navigator.serviceWorker.controller !== null).then(() => true, () => false);
    const twice = Object.entries(noStore.bodies).filter(([, count]) => count > 1).map(([name, count]) => `${name} ${count} times`);
    noStore.closeAllConnections();
    await new Promise((resolve) => noStore.close(resolve));
    const replay = await noStoreProfile.newPage();
    await replay.setViewport({ width: 800, height: 600 });
    const replayed = await open(replay, noStore.url).then(() => true, () => false);
    check(noStoreReady && twice.length === 0 && replayed,
          `a no-store host: every file of a first visit downloaded once (${twice.join(", ") || "none twice"}), ` +
          `${Object.keys(noStore.bodies).length} files; then, the host gone, the game ${replayed ? "plays" : "does not play"} from the worker`);
    await noStoreProfile.close();
    const offeredIn = (tab) => until(tab, "the offer of a new version", () => !document.getElementById("update").hidden)
      .then(() => true, () => false);
    async function moveOn(to, digestFrom, digestTo, what) {
      appServer.root = to;
      const tabs = [await profile.newPage(), await profile.newPage()];
      const runs = [];
      for (const tab of tabs) {
        await within(`a returning visit (${what})`, tab.goto(appServer.url, { timeout: 0 }));
        runs.push(await running(tab));
      }
      const offers = await Promise.all(tabs.map(offeredIn));
      check(offers.every(Boolean) && runs.every((digest) => digest === digestFrom),
            `${what}: two returning tabs run ${runs.join(" and ")} (the old release is ${digestFrom}) and ${offers.every(Boolean) ? "offer" : "do not both offer"} the new one`);
      // Reload is pressed by the page's own script: a mouse event sent by the
      // DevTools protocol, whose answer it awaits while the page reloads, can
      // bring headless Chromium down when another tab is open.
      const reload = (tab) => Promise.all([tab.waitForNavigation({ timeout: 0 }),
                                           tab.evaluate(() => document.getElementById("update-button").click())]);
      await within("the first tab's Reload", reload(tabs[0]));
      const first = await running(tabs[0]);
      const second = await tabs[1].evaluate(() => window.page.release.digest);
      await within("the second tab's Reload", reload(tabs[1]));
      const third = await running(tabs[1]);
      const cacheNames = await tabs[0].evaluate(() => caches.keys());
      check(first === digestTo && second === digestFrom && third === digestTo &&
            JSON.stringify(cacheNames.sort()) === JSON.stringify(["another-app", `chalk-hangman-1.0.0-${digestTo}`]),
            `${what}: accepting in one tab runs ${first} (new: ${digestTo}); the other still ran ${second}, and its Reload ` +
            `took it to ${third}; the caches: ${cacheNames.join(", ")}`);
      for (const tab of tabs) await tab.close();
    }
    await moveOn(releaseB, digestA, digestB, "the site moved on to B");
    await moveOn(releaseC, digestB, digestC, "then to C, only a page script changed");
    appServer.closeAllConnections();
    await new Promise((resolve) => appServer.close(resolve));
    const secondVisit = await profile.newPage();
    await secondVisit.setViewport({ width: 800, height: 600 });
    const failed = [];
    secondVisit.on("requestfailed", (request) => failed.push(request.url()));
    const offline = await open(secondVisit, appServer.url).catch((error) => {
      console.log(`  ${error.message}`);
      return null;
    });
    const cFiles = fs.readdirSync(releaseC, { recursive: true })
      .filter((name) => name !== "sw.js" && fs.statSync(path.join(releaseC, name)).isFile());
    const unkept = await secondVisit.evaluate((names) => Promise.all(names.map((name) => fetch(name).then((r) => r.ok, () => false)))
      .then((ok) => names.filter((name, i) => !ok[i])), cFiles);
    check(offline !== null && (await sameAsDesktop("offline-menu", "menu", "", "", offline)) && failed.length === 0 && unkept.length === 0,
          `with the server gone, a visit plays to the menu; failed requests: ${failed.length}; files not kept: ${unkept.join(", ") || "none"}`);
    await profile.close();
  }

  if (wanted("no-worker")) {
    const { releaseB, digestA, digestB } = releases();
    // ---- Without the worker (plain http from another address), with a cache on
    // the way: when the site moves from A to B, the page runs B whole.
    const insecure = await started(launch(["--host-resolver-rules=MAP hangman.test 127.0.0.1"]));
    for (const c of [
      { name: "scripts kept for 4 hours", cacheFor: (name) => (name.endsWith(".js") ? 14400 : 0) },
      { name: "the page kept for 10 minutes", cacheFor: (name) => (name === "index.html" ? 600 : 0) },
    ]) {
      const host = await serve(site);
      host.cacheFor = c.cacheFor;
      const tab = await (await insecure.createBrowserContext()).newPage();
      const url = host.url.replace("127.0.0.1", "hangman.test");
      await within("a visit without the worker", tab.goto(url, { timeout: 0 }));
      const first = await running(tab);
      host.root = releaseB;
      await within("a second visit without the worker", tab.goto(url, { timeout: 0 }));
      const second = await running(tab);
      check(first === digestA && second === digestB, `no worker, ${c.name}: A ran ${first}, then B ran ${second}`);
      host.close();
    }
  }

  if (wanted("firefox")) {
    // ---- Firefox, on an X server of its own: Tab shows the game's ring at
    // once, and the same won game.
    const xvfb = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                       { stdio: ["ignore", "ignore", "ignore", "pipe"] });
    xservers.push(xvfb);
    const display = await within("Xvfb", new Promise((resolve) => xvfb.stdio[3].once("data", (data) => resolve(`:${String(data).trim()}`))));
    const firefox = await started(launchFirefox(display));
    // A person's hands, through the X server (xdotool), on Firefox's window:
    // points of the game's picture clicked, keys typed, the browser's own
    // keys (Ctrl+L to the address bar) included.
    const xdotool = (...args) => execFileSync("xdotool", args, { env: { ...process.env, DISPLAY: display } });
    async function hands(tab) {
      const at = await tab.evaluate(() => {
        const box = document.getElementById("canvas").getBoundingClientRect();
        return { x: window.mozInnerScreenX + box.left, y: window.mozInnerScreenY + box.top,
                 width: box.width, height: box.height, ratio: devicePixelRatio };
      });
      const window = String(xdotool("search", "--onlyvisible", "--name", "Hangman")).trim().split("\n")[0];
      xdotool("windowfocus", "--sync", window);
      return {
        click: (x, y) => xdotool("mousemove", "--sync", String(Math.round((at.x + (x * at.width) / 640) * at.ratio)),
                                 String(Math.round((at.y + (y * at.height) / 480) * at.ratio)), "click", "1"),
        keys: (...keys) => xdotool("key", "--delay", "50", ...keys),
      };
    }
    const clicked = await firefox.newPage();
    await clicked.setViewport({ width: 800, height: 600 });
    const clickedGame = await open(clicked, server.url);
    const person = await hands(clicked);
    person.click(180, 390);
    await clickedGame.said("Choose a level.");
    person.click(320, 230);
    await clickedGame.said("Game.");
    person.keys("q", "space");
    check((await clickedGame.said("Q ")).includes(" the word"),
          "Firefox, a person's hands: after the menus by the mouse, a letter and Space typed reach the game, and the guess is told");
    await clicked.close();
    const fromBar = await firefox.newPage();
    await fromBar.setViewport({ width: 800, height: 600 });
    const fromBarGame = await open(fromBar, server.url);
    // From the address bar, Tab goes through the browser's toolbar first: Tab
    // until the game has the keyboard (the toolbar's stops come round again).
    const barHands = await hands(fromBar);
    barHands.keys("ctrl+l");
    let reached = false;
    for (let stop = 0; stop < 20 && !reached; stop += 1) {
      barHands.keys("Tab");
      reached = await until(fromBar, "the game to have the keyboard", () => document.activeElement.id === "canvas", null, 2000)
        .then(() => true, () => false);
    }
    await fromBarGame.said("Start, button");
    check(reached && (await fromBarGame.pixel(55, 390)) === ring,
          "Firefox: Tab from the address bar brings the focus to the game, and its ring shows at once");
    await fromBar.close();
    const firefoxPage = await firefox.newPage();
    await firefoxPage.setViewport({ width: 800, height: 600 });
    const firefoxGame = await open(firefoxPage, server.url);
    await firefoxPage.keyboard.press("Tab");
    await firefoxGame.said("Start, button");
    check((await firefoxGame.pixel(55, 390)) === ring, "Firefox: Tab brings the focus to the game, and its ring shows at once");
    await firefoxGame.point(300, 300);  // the pointer moves: the ring goes
    await winEasyGame(firefoxGame, { at: firefoxGame.click, keys: firefoxGame.type }, "Firefox");
    check((await firefoxPage.title()) === "Hangman", "Firefox: the tab keeps the page's title");
  }

  if (wanted("failures")) {
    // ---- Each way the game can fail: a message on the page, never a blank canvas.
    const withoutMenuImage = release((folder) => {
      const file = path.join(folder, served(folder, "chalk-hangman.data.js.metadata"));
      const metadata = JSON.parse(fs.readFileSync(file));
      metadata.files = metadata.files.filter((entry) => entry.filename !== "/pngs/menu_screen.png");
      fs.writeFileSync(file, JSON.stringify(metadata));
    });
    const wasm = served(site, "chalk-hangman.wasm");
    const failuresTable = [
      {
        name: "an image missing",
        site: withoutMenuImage,
        title: "The game could not start",
        console: "initialize complete!\n" +
          "Unable to load image pngs/menu_screen.png. SDL_image ERROR: Couldn't open pngs/menu_screen.png\n" +
          "Failed to load menu_screen texture\nFailed to load media.\n",
      },
      {
        name: "no WebGL",
        before: () => { HTMLCanvasElement.prototype.getContext = () => null; },
        title: "The game could not start",
        text: /no WebGL/,
        console: /^Renderer could not be created! SDL Error: .+\nFailed to initialize\.\n$/,
      },
      {
        name: "no WebAssembly",
        before: () => { delete window.WebAssembly; },
        title: "This browser cannot run the game",
        console: "",
      },
      {
        name: "a script throwing while the game starts",
        site: release((folder) => {
          const file = path.join(folder, served(folder, "chalk-hangman.js"));
          fs.writeFileSync(file, 'throw new Error("a script broke");\n' + fs.readFileSync(file, "utf8"));
        }),
        title: "The game stopped",
        text: /a script broke/,
        console: "",
      },
      {
        name: "a download failing",
        change: (name, bytes) => (name === wasm ? null : bytes),
        title: "The game could not be downloaded",
        text: new RegExp(`chalk-hangman\\.wasm .*404`),
        console: "",
      },
      {
        name: "opened as a file",
        url: "file://" + path.join(site, "index.html"),
        title: "The game must be served, not opened as a file",
        text: /python3 -m http\.server/,
        console: "",
      },
    ];
    for (const c of failuresTable) {
      const failing = c.url ? null : await serve(c.site ?? site, c.change);
      const tab = await browser.newPage();
      if (c.before) await tab.evaluateOnNewDocument(c.before);
      await within(`${c.name}: the page`, tab.goto(c.url ?? failing.url, { timeout: 0 }));
      const shownMessage = await until(tab, `${c.name}: the page's message`, () => !document.getElementById("message").hidden)
        .then(() => true, () => false);
      const title = await tab.$eval("#message-title", (element) => element.textContent);
      const text = await tab.$eval("#message-text", (element) => element.textContent);
      const lines = await tab.$eval("#console", (element) => element.textContent);
      const consoleOpen = await tab.$eval("#console", (element) => !element.hidden);
      const matches = (want, got) => (want instanceof RegExp ? want.test(got) : want === got);
      check(shownMessage && title === c.title && matches(c.text ?? /./, text) && matches(c.console, lines) &&
            consoleOpen === (lines !== ""),
            `${c.name}: "${title}" ${text} (console ${consoleOpen ? "open" : "closed"})`);
      if (!matches(c.console, lines)) console.log(`  console: ${JSON.stringify(lines)}`);
      await tab.close();
      failing?.close();
    }
  }

  server.close();
} catch (error) {
  check(false, `the test stopped: ${error.stack}`);
} finally {
  await Promise.all(browsers.map((browser) => browser.close().catch(() => browser.process()?.kill("SIGKILL"))));
  fs.rmSync(scratch, { recursive: true, force: true });
}
console.log(failures === 0 ? "web: every check passed" : `web: ${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
