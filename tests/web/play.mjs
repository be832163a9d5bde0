// The web build played in browsers, served from 127.0.0.1. In headless
// Chromium, one session goes through every screen with real mouse and
// keyboard input: the console text must be exactly the desktop's, every
// screen the same pixels as the desktop build draws (reference_frame), the
// page must keep Space and Backspace to itself, and nothing may run on the
// end picture or in a background tab. A phone wins and loses by taps alone;
// the page must fit screens from a small phone to 4K; the web app must be
// installable and play without the network on a second visit; Firefox must
// win the same way. Then each way the game can fail to start must leave a
// message on the page.
//
//   node play.mjs <site folder> <reference_frame binary> <the build's write-index.html.cmake>
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { cpuPercent, launch, launchFirefox, serve } from "./browser.mjs";

const [site, referenceFrame, writePage] = process.argv.slice(2).map((p) => path.resolve(p));
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "hangman-web-"));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures += 1;
}

const browser = await launch();
const server = await serve(site);
const phoneScreen = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

// The canvas keeps its drawing buffer, so that its frames can be read back
// at 640 x 480, whatever size the page shows it at.
function keepDrawingBuffer() {
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, attributes) {
    return getContext.call(this, type, { ...attributes, preserveDrawingBuffer: true });
  };
}

// Drives the game in `tab`, loaded from `url`: pointer, taps and keys in the
// game's own 640 x 480 coordinates, its console, and its frames.
async function open(tab, url) {
  await tab.evaluateOnNewDocument(keepDrawingBuffer);
  await tab.goto(url);
  const until = (condition, ms = 20000) => tab.waitForFunction(condition, { timeout: ms, polling: 50 });
  await until(() => document.getElementById("console").textContent.includes("load media complete!"), 60000);
  const box = await (await tab.$("#canvas")).boundingBox();
  const at = (x, y) => [box.x + (x * box.width) / 640, box.y + (y * box.height) / 480];
  const keyButtons = await tab.$$("#keys button");
  const keyTexts = await tab.$$eval("#keys button", (buttons) => buttons.map((button) => button.textContent));
  const game = {
    box,
    point: (x, y) => tab.mouse.move(...at(x, y)),
    click: async (x, y) => {
      await tab.mouse.click(...at(x, y));
      await sleep(150);
    },
    tap: async (x, y) => {
      await tab.touchscreen.tap(...at(x, y));
      await sleep(300);
    },
    type: async (keys) => {
      for (const key of keys) await tab.keyboard.press(key === "\b" ? "Backspace" : key);
      await sleep(150);
    },
    tapKeys: async (keys) => {
      for (const key of keys) {
        await keyButtons[keyTexts.indexOf({ " ": "Guess", "\b": "Clear" }[key] ?? key.toUpperCase())].tap();
      }
      await sleep(300);
    },
    consoleText: () => tab.$eval("#console", (element) => element.textContent),
    secretWord: async () => {
      await until(() => /word = \w+\nword_length/.test(document.getElementById("console").textContent));
      return [...(await game.consoleText()).matchAll(/word = (\w+)\n/g)].pop()[1];
    },
    view: async (file) => {
      const png = await tab.$eval("#canvas", (canvas) => canvas.toDataURL("image/png"));
      fs.writeFileSync(file, Buffer.from(png.split(",")[1], "base64"));
    },
  };
  return game;
}

// The canvas of `game` (the desktop session's unless given) must show what
// the desktop build draws for `screen` within 10 s (frames come slowly from a
// software GPU); the menu's figure moves on its own and is left out of the
// comparison.
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
  for (const start = Date.now(); Date.now() - start < 10000; await sleep(200)) {
    await game.view(shot);
    hideFigure(shot);
    try {
      execFileSync("compare", ["-metric", "AE", reference, shot, "null:"], { stdio: "pipe" });
      return true;
    } catch (error) {
      differing = String(error.stderr).trim();
    }
  }
  console.log(`  ${differing} pixels differ between ${reference} and ${shot}`);
  return false;
}

// A copy of the site, changed by `change(folder)`, its page written for it
// as the build writes it: another release.
let copies = 0;
function release(change) {
  const folder = path.join(scratch, `release-${++copies}`);
  fs.cpSync(site, folder, { recursive: true });
  change(folder);
  execFileSync("cmake", [`-DSITE=${folder}`, "-P", writePage]);
  return folder;
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
// taps): the end picture and the console must be the desktop's.
async function winEasyGame(game, press, what) {
  await press.at(460, 390);  // Options
  await press.at(230, 367);  // developer mode on
  await press.at(606, 26);   // Back
  await press.at(180, 390);  // Start
  await press.at(320, 230);  // Easy
  const word = await game.secretWord();
  const keys = guesses(notIn(word, 2) + [...new Set(word)].join(""));
  await press.keys(keys);
  check(await sameAsDesktop(`${what}-win`, "game", word, keys, game), `${what} wins "${word}"`);
  sameText(await game.consoleText(), sessionText([word, keys]), `${what}: the console, exactly the desktop's`);
}

// ---- One session through every screen, the canvas scaled to the window.
const page = await browser.newPage();
await page.setViewport({ width: 800, height: 600 });
// Counts what the page asks to be woken for: a game that waits asks nothing.
await page.evaluateOnNewDocument(() => {
  window.wakeUps = 0;
  for (const name of ["setTimeout", "setInterval", "requestAnimationFrame"]) {
    const schedule = window[name];
    window[name] = function (...args) {
      window.wakeUps += 1;
      return schedule.apply(this, args);
    };
  }
});
desktop = await open(page, server.url);
const { point, click, type, secretWord, consoleText } = desktop;
check((await consoleText()) === "initialize complete!\nload media complete!\n", "the two start-up lines, and nothing else");
check(await page.$eval("#loading", (element) => element.hidden), "the loading indicator is gone once the game runs");
// What the tab shows: the page's <title>, which SDL's window title must not reach.
const titleOf = (tab) => tab.$eval("title", (element) => element.textContent);
const tabTitle = await titleOf(page);
check(tabTitle === "Hangman", `the tab keeps the page's title once the game runs: "${tabTitle}"`);
await point(500, 200);
check(await sameAsDesktop("menu", "menu"), "main menu");
await point(150, 390);
check(await sameAsDesktop("menu-start", "menu-start"), "Start under the pointer");
await click(460, 390);
await point(400, 250);
check(await sameAsDesktop("options-off", "options-off"), "options, developer mode off");
await click(230, 367);
await point(400, 250);
check(await sameAsDesktop("options-on", "options-on"), "options, developer mode on");
await click(606, 26);
await click(180, 390);
await point(320, 310);
check(await sameAsDesktop("difficulty", "difficulty-medium"), "level choice, Medium under the pointer");
await click(320, 230);

// The keyboard plays with the focus anywhere on the page: the console button
// is pressed first, and Space and Backspace must neither scroll nor press it.
await page.click("#console-button");
check(await page.$eval("#console", (element) => !element.hidden), "the console panel opens");
const canvasBox = async () => (await page.$("#canvas")).boundingBox();
check(JSON.stringify(await canvasBox()) === JSON.stringify(desktop.box), "the canvas stays where it was");
const won = await secretWord();
const wrong = notIn(won, 1);
const right = [...new Set(won)].join("");
const wonKeys = guesses(wrong + right.slice(0, -1)) + "x\b" + right.slice(-1);
await type(wonKeys);
check(await sameAsDesktop("game", "game", won, wonKeys), `game of "${won}" in progress`);
check(await page.evaluate(() => window.scrollY === 0 && document.documentElement.scrollHeight > innerHeight),
      "Space and Backspace do not scroll a page taller than the window");
check(await page.$eval("#console", (element) => !element.hidden), "Space does not press the focused console button");
await type(" ");
check(await sameAsDesktop("win", "game", won, wonKeys + " "), "the win picture");

await sleep(2000);  // the readbacks' own work settles
// While the game waits, the page must schedule nothing at all, and its main
// thread must stay under 1 % of a core.
async function idle(what) {
  const before = await page.evaluate(() => window.wakeUps);
  const cpu = await cpuPercent(browser, page, 5);
  const wakeUps = (await page.evaluate(() => window.wakeUps)) - before;
  check(wakeUps === 0 && cpu.page < 1,
        `${what}: ${wakeUps} timers or animation frames in 5 s, the page's main thread ` +
        `${cpu.page.toFixed(2)} % of a core (all its processes ${cpu.processes.toFixed(1)} %)`);
}
await idle("the end picture, waiting for a key");
const other = await browser.newPage();
await other.bringToFront();
await sleep(1000);
await page.bringToFront();
await type("a");
await other.bringToFront();
await sleep(2000);
const visibility = await page.evaluate(() => document.visibilityState);
check(visibility === "hidden", `a tab behind another is ${visibility}`);
await idle("the main menu in a background tab");
await other.close();
await page.bringToFront();

await click(180, 390);
await click(320, 230);
const lost = await secretWord();
const losing = notIn(lost, 6);
await type(guesses(losing));
check(await sameAsDesktop("lose", "game", lost, guesses(losing)), "the lose picture");
sameText(await consoleText(), sessionText([won, wonKeys + " "], [lost, guesses(losing)]),
         "the whole console text, exactly the desktop's");
const workerActive = () => navigator.serviceWorker.getRegistration().then((registration) => registration?.active?.state === "activated");
const installable = await page.waitForFunction(workerActive, { timeout: 30000, polling: 200 }).then(async () => {
  const cdp = await page.createCDPSession();
  return (await cdp.send("Page.getInstallabilityErrors")).installabilityErrors;
}, (error) => [error.message]);
check(installable.length === 0, `the page has a service worker and can be installed: ${JSON.stringify(installable)}`);
await page.close();

// ---- The keyboard alone, as a screen reader's user plays: Tab to the game,
// the menus by the arrow keys, Enter and Escape, a game by letters; what the
// accessibility tree says at each step; then Tab on to the page's links.
const keyboardPage = await browser.newPage();
await keyboardPage.setViewport({ width: 800, height: 600 });
const keyboard = await open(keyboardPage, server.url);
const tree = async () => JSON.stringify(await keyboardPage.accessibility.snapshot());
const press = async (...keys) => {
  for (const key of keys) {
    await keyboardPage.keyboard.press(key);
    await sleep(400);  // the next screen comes with the next frame
  }
};
await press("Tab");
const steps = [["the game has a name", await tree(), /"role":"application"[^}]*"name":"Hangman"/],
               ["the main menu is told", await tree(), /Main menu\. Buttons: Start, Options\./]];
await press("ArrowRight", "Enter", "Enter");  // Options, developer mode on
steps.push(["the options are told", await tree(), /Options\. Buttons: Developer mode: on, Back\./]);
await press("Escape", "Enter", "Enter");      // Back, Start, Easy
const typed = await keyboard.secretWord();
const typedKeys = guesses(notIn(typed, 1) + [...new Set(typed)].join("").slice(1));
await keyboard.type(typedKeys);
const progress = typed.replace(/./g, (c) => (c === typed[0] ? "_" : c.toUpperCase()));
steps.push(["the word's progress and the tries left are told", await tree(),
            new RegExp(`The word: ${progress.split("").join(" ")}, \\d of 4 letters found\\. 5 tries left\\.`)]);
await keyboard.type(guesses(typed[0]));
steps.push(["the result is told", await tree(), new RegExp(`You won! The word: ${typed.toUpperCase().split("").join(" ")},`)]);
for (const [what, got, want] of steps) check(want.test(got), `the keyboard alone: ${what}${want.test(got) ? "" : `: ${got}`}`);
sameText(await keyboard.consoleText(), sessionText([typed, typedKeys + guesses(typed[0])]),
         "the keyboard alone wins a game, the console exactly the desktop's");
await press("Tab");
check(await keyboardPage.evaluate(() => document.activeElement.tagName === "A"), "Tab goes on from the game to the page's link");
await keyboardPage.close();

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
await winEasyGame(phone, { at: phone.tap, keys: phone.tapKeys }, "a phone");
await phone.tapKeys("q");  // any key leaves the end picture
await phone.tap(180, 390);
await phone.tap(320, 230);
const phoneLost = await phone.secretWord();
const phoneLostKeys = "x\b" + guesses(notIn(phoneLost, 6));
await phone.tapKeys(phoneLostKeys);
check(await sameAsDesktop("phone-lose", "game", phoneLost, phoneLostKeys, phone), `a phone loses "${phoneLost}" by taps`);
check((await phone.consoleText()).endsWith(easyGame(phoneLost, phoneLostKeys)), "the phone's lost game, exactly the desktop's console");
check(await phonePage.evaluate(() => document.activeElement === document.body), "no on-screen key took the focus");
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

// ---- The page on every screen: the game and the keys (where shown) all in
// view with no scrolling, within the page's 12 px margins, every key at
// least 40 x 40, the picture 4 : 3, as large as fits (to a whole multiple of
// 4 x 3 pixels) and at least `game` where given.
const screens = [
  { name: "a phone upright", viewport: phoneScreen, keys: true, game: [360, 270] },
  { name: "a phone on its side", viewport: { ...phoneScreen, width: 844, height: 390 }, keys: true, game: [432, 324] },
  { name: "a small phone", viewport: { ...phoneScreen, width: 320, height: 480 }, keys: true, game: [280, 210] },
  { name: "a tablet", viewport: { ...phoneScreen, width: 820, height: 1180, deviceScaleFactor: 2 }, keys: true, game: [780, 585] },
  { name: "a 1280 x 720 window, keys and console shown", viewport: { width: 1280, height: 720 }, keys: true, show: ["#keys-button", "#console-button"], scrollbar: true },
  { name: "a narrow window, console shown", viewport: { width: 600, height: 600 }, keys: false, show: ["#console-button"], scrollbar: true },
  { name: "a 3840 x 2160 screen", viewport: { width: 3840, height: 2160 }, keys: false },
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
    return {
      view, scrollbar: innerWidth - view.width, stage: [stage.width, stage.height], keys: parts.length > 2,
      smallKeys: parts.slice(2).filter((r) => r.width < 40 || r.height < 40).length,
      cut: parts.filter((r) => r.left < 12 || r.top < 0 || r.right > view.width - 12 || r.bottom > view.height).length,
      scrolls: scrollX !== 0 || scrollY !== 0 || document.documentElement.scrollWidth > view.width ||
               (document.getElementById("console").hidden && document.documentElement.scrollHeight > view.height),
      width: Math.max(...parts.map((r) => r.right)) - Math.min(...parts.map((r) => r.left)),
      height: Math.max(...parts.map((r) => r.bottom)) - Math.min(...parts.map((r) => r.top)),
    };
  });
  const largest = layout.width >= layout.view.width - 24 - 4 || layout.height >= layout.view.height - 24 - 3;
  const large = !screen.game || (layout.stage[0] >= screen.game[0] && layout.stage[1] >= screen.game[1]);
  check(layout.cut === 0 && !layout.scrolls && layout.stage[0] * 3 === layout.stage[1] * 4 && largest && large &&
        layout.keys === screen.keys && layout.smallKeys === 0 && (!screen.scrollbar || layout.scrollbar > 0),
        `${screen.name}: the game ${layout.stage.join(" x ")} in a view of ${layout.view.width} x ${layout.view.height} ` +
        `(scrollbar ${layout.scrollbar} px), ${layout.cut} parts cut or in the margins, ${layout.smallKeys} keys under 40 x 40, ` +
        `${layout.scrolls ? "" : "no "}scrolling, ` +
        `keys ${layout.keys ? "shown" : "hidden"}, everything ${Math.round(layout.width)} x ${Math.round(layout.height)}`);
  await tab.close();
}

// ---- The web app. Its worker keeps every file of the site, and every icon
// the manifest names is there.
const siteFiles = fs.readdirSync(site, { recursive: true })
  .filter((name) => name !== "sw.js" && fs.statSync(path.join(site, name)).isFile()).sort();
const kept = Object.keys(JSON.parse(/var FILES = (\{.*\});/.exec(fs.readFileSync(path.join(site, "sw.js"), "utf8"))[1])).sort();
const icons = JSON.parse(fs.readFileSync(path.join(site, "manifest.webmanifest"))).icons.map((icon) => icon.src);
check(JSON.stringify(kept) === JSON.stringify(siteFiles) && icons.every((icon) => siteFiles.includes(icon)),
      `the worker keeps every file of the site: ${kept.join(", ")}; the manifest's icons: ${icons.join(", ")}`);

// Waits until the game in `tab` runs, or the page says why not; the release
// it runs, or the message.
async function started(tab) {
  for (const start = Date.now(); Date.now() - start < 60000; await sleep(200)) {
    const state = await tab.evaluate(() => (!document.getElementById("message").hidden ? document.getElementById("message").textContent :
      document.getElementById("console").textContent.includes("load media complete!") ? window.page.release.digest : null)).catch(() => null);
    if (state) return state.trim();
  }
  return "nothing after 60 s";
}
const releaseB = release((folder) => fs.appendFileSync(path.join(folder, "chalk-hangman.js"), "\n// release B\n"));
const digestOf = (folder) => /digest: "(\w+)"/.exec(fs.readFileSync(path.join(folder, "index.html"), "utf8"))[1];
const [digestA, digestB] = [digestOf(site), digestOf(releaseB)];

// In a profile of its own: a first visit downloads at most 450 KB in all.
// Then the site moves on to release B: the next visit runs A, from the
// worker, and offers B; accepting reloads once into B, whose worker drops
// A's cache but not another app's. With the server gone, a visit plays to
// the menu, and every file of the site comes from the worker.
const appServer = await serve(site);
const profile = await browser.createBrowserContext();
const firstVisit = await profile.newPage();
await firstVisit.setViewport({ width: 800, height: 600 });
await open(firstVisit, appServer.url);
const offlineReady = await firstVisit.waitForFunction(workerActive, { timeout: 30000, polling: 200 }).then(() => true, () => false);
const downloaded = Object.values(appServer.sent).reduce((sum, bytes) => sum + bytes, 0);
check(offlineReady && downloaded <= 450000, `a first visit starts the service worker${offlineReady ? "" : " (it did not)"} and downloads ${downloaded} bytes in all, gzip (${
  Object.entries(appServer.sent).map(([name, bytes]) => `${name} ${bytes}`).join(", ")})`);
await firstVisit.evaluate(() => caches.open("another-app"));
await firstVisit.close();
appServer.root = releaseB;
const returning = await profile.newPage();
await returning.goto(appServer.url);
const offered = await returning.waitForFunction(() => !document.getElementById("update").hidden, { timeout: 30000 })
  .then(() => true, () => false);
const before = await started(returning);
check(offered && before === digestA, `the site moved on: a returning visit runs ${before} (A is ${digestA}) and ${offered ? "offers" : "does not offer"} B`);
await Promise.all([returning.waitForNavigation(), returning.click("#update-button")]);
const after = await started(returning);
const cacheNames = await returning.evaluate(() => caches.keys());
check(digestA !== digestB && after === digestB &&
      JSON.stringify(cacheNames.sort()) === JSON.stringify(["another-app", `chalk-hangman-1.0.0-${digestB}`]),
      `accepting the offer runs ${after} (B is ${digestB}); the caches: ${cacheNames.join(", ")}`);
await returning.close();
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
const unkept = await secondVisit.evaluate((names) => Promise.all(names.map((name) => fetch(name).then((r) => r.ok, () => false)))
  .then((ok) => names.filter((name, i) => !ok[i])), siteFiles);
check(offline !== null && (await sameAsDesktop("offline-menu", "menu", "", "", offline)) && failed.length === 0 && unkept.length === 0,
      `with the server gone, a visit plays to the menu; failed requests: ${failed.length}; files not kept: ${unkept.join(", ") || "none"}`);
await profile.close();

// ---- Without the worker (plain http from another address), with a cache on
// the way: when the site moves from A to B, the page runs B whole.
const insecure = await launch(["--host-resolver-rules=MAP hangman.test 127.0.0.1"]);
for (const c of [
  { name: "scripts kept for 4 hours", cacheFor: (name) => (name.endsWith(".js") ? 14400 : 0) },
  { name: "the page kept for 10 minutes", cacheFor: (name) => (name === "index.html" ? 600 : 0) },
]) {
  const host = await serve(site);
  host.cacheFor = c.cacheFor;
  const tab = await (await insecure.createBrowserContext()).newPage();
  const url = host.url.replace("127.0.0.1", "hangman.test");
  await tab.goto(url);
  const first = await started(tab);
  host.root = releaseB;
  await tab.goto(url);
  const second = await started(tab);
  check(first === digestA && second === digestB, `no worker, ${c.name}: A ran ${first}, then B ran ${second}`);
  host.close();
}
await insecure.close();

// ---- Firefox, on an X server of its own: the same won game.
const xvfb = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                   { stdio: ["ignore", "ignore", "ignore", "pipe"] });
process.on("exit", () => xvfb.kill());
const display = await new Promise((resolve) => xvfb.stdio[3].once("data", (data) => resolve(`:${String(data).trim()}`)));
const firefox = await launchFirefox(display);
const firefoxPage = await firefox.newPage();
await firefoxPage.setViewport({ width: 800, height: 600 });
const firefoxGame = await open(firefoxPage, server.url);
await winEasyGame(firefoxGame, { at: firefoxGame.click, keys: firefoxGame.type }, "Firefox");
check((await titleOf(firefoxPage)) === "Hangman", "Firefox: the tab keeps the page's title");
await firefox.close();

// ---- Each way the game can fail: a message on the page, never a blank canvas.
const withoutMenuImage = release((folder) => {
  const file = path.join(folder, "chalk-hangman.data.js.metadata");
  const metadata = JSON.parse(fs.readFileSync(file));
  metadata.files = metadata.files.filter((entry) => entry.filename !== "/pngs/menu_screen.png");
  fs.writeFileSync(file, JSON.stringify(metadata));
});
const failures_table = [
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
    name: "a download failing",
    change: (name, bytes) => (name === "chalk-hangman.wasm" ? null : bytes),
    title: "The game could not be downloaded",
    text: /chalk-hangman\.wasm .*404/,
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
for (const c of failures_table) {
  const failing = c.url ? null : await serve(c.site ?? site, c.change);
  const tab = await browser.newPage();
  if (c.before) await tab.evaluateOnNewDocument(c.before);
  await tab.goto(c.url ?? failing.url);
  const shown = await tab.waitForFunction(() => !document.getElementById("message").hidden, { timeout: 30000 })
    .then(() => true, () => false);
  const title = await tab.$eval("#message-title", (element) => element.textContent);
  const text = await tab.$eval("#message-text", (element) => element.textContent);
  const lines = await tab.$eval("#console", (element) => element.textContent);
  const consoleOpen = await tab.$eval("#console", (element) => !element.hidden);
  const matches = (want, got) => (want instanceof RegExp ? want.test(got) : want === got);
  check(shown && title === c.title && matches(c.text ?? /./, text) && matches(c.console, lines) &&
        consoleOpen === (lines !== ""),
        `${c.name}: "${title}" ${text} (console ${consoleOpen ? "open" : "closed"})`);
  if (!matches(c.console, lines)) console.log(`  console: ${JSON.stringify(lines)}`);
  await tab.close();
  failing?.close();
}

await browser.close();
server.close();
fs.rmSync(scratch, { recursive: true, force: true });
console.log(failures === 0 ? "web: every check passed" : `web: ${failures} check(s) failed`);
process.exit(failures === 0 ? 0 : 1);
