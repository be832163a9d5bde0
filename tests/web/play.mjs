// The web build played in headless Chromium, served from 127.0.0.1. One
// session goes through every screen with real mouse and keyboard input: the
// console text must be exactly the desktop's, every screen the same pixels
// as the desktop build draws (reference_frame), the page must keep Space and
// Backspace to itself, and nothing may run on the end picture or in a
// background tab. Then each way the game can fail to start must leave a
// message on the page.
//
//   node play.mjs <site folder> <reference_frame binary>
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { cpuPercent, launch, serve } from "./browser.mjs";

const [site, referenceFrame] = process.argv.slice(2).map((p) => path.resolve(p));
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "hangman-web-"));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures += 1;
}

const browser = await launch();
const server = await serve(site);

// ---- One session through every screen.
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
await page.goto(server.url);
const consoleText = (tab = page) => tab.$eval("#console", (element) => element.textContent);
const until = (condition, ms = 20000, tab = page) => tab.waitForFunction(condition, { timeout: ms, polling: 50 });
await until(() => document.getElementById("console").textContent.includes("load media complete!"), 60000);
const canvasBox = async () => (await page.$("#canvas")).boundingBox();
const box = await canvasBox();
const point = (x, y) => page.mouse.move(box.x + x, box.y + y);
const click = async (x, y) => {
  await page.mouse.click(box.x + x, box.y + y);
  await sleep(150);
};
const type = async (keys) => {
  for (const key of keys) await page.keyboard.press({ " ": "Space", "\b": "Backspace" }[key] ?? key);
  await sleep(150);
};
const secretWord = async (tab = page) => {
  await until(() => /word = \w+\nword_length/.test(document.getElementById("console").textContent), 20000, tab);
  return [...(await consoleText(tab)).matchAll(/word = (\w+)\n/g)].pop()[1];
};

// The canvas must show what the desktop build draws for `screen`, within
// 10 s (frames come slowly from a software GPU); the menu's figure moves on
// its own and is left out of the comparison. `shoot(file)` saves what the
// canvas shows, 640 x 480: a screenshot of it unless given.
async function sameAsDesktop(name, screen, word = "", keys = "", shoot = (file) => page.screenshot({ path: file, clip: box })) {
  const reference = path.join(scratch, `${name}-desktop.png`);
  const shot = path.join(scratch, `${name}-web.png`);
  execFileSync(referenceFrame, [reference, screen, word, keys]);
  const hideFigure = (file) => {
    if (screen.startsWith("menu")) execFileSync("convert", [file, "-fill", "black", "-draw", "rectangle 293,150 347,214", file]);
  };
  hideFigure(reference);
  let differing = "";
  for (const start = Date.now(); Date.now() - start < 10000; await sleep(200)) {
    await shoot(shot);
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

// What a game of `word` prints in developer mode for the keys typed: the
// desktop build's own text.
const gameLines = (word, keys) => execFileSync(referenceFrame, ["-", "game-console", word, keys], { encoding: "utf8" });
// The console of a session: developer mode turned on, then a won and a lost
// easy game, each with the keys typed into it.
const sessionText = (won, wonKeys, lost, lostKeys) =>
  "initialize complete!\nload media complete!\n" +
  "dev_mode turned on.\nback button has been pressed.\n" +
  "start button has been pressed.\neasy button has been pressed.\n" + gameLines(won, wonKeys) +
  "start button has been pressed.\neasy button has been pressed.\n" + gameLines(lost, lostKeys);
const notIn = (word, count) => [..."qxzjkvwybfhmpgdcultsrnoiea"].filter((c) => !word.includes(c)).slice(0, count).join("");
const guesses = (letters) => [...letters].map((c) => c + " ").join("");

check((await consoleText()) === "initialize complete!\nload media complete!\n", "the two start-up lines, and nothing else");
check(await page.$eval("#loading", (element) => element.hidden), "the loading indicator is gone once the game runs");
const tabTitle = await page.$eval("title", (element) => element.textContent);
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
check(JSON.stringify(await canvasBox()) === JSON.stringify(box), "the canvas stays where it was");
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

await sleep(2000);  // the screenshots' own work settles
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

const expected = sessionText(won, wonKeys + " ", lost, guesses(losing));
const text = await consoleText();
check(text === expected, "the whole console text, exactly the desktop's");
if (text !== expected) console.log(`  expected:\n${expected}\n  got:\n${text}`);
await page.close();

// ---- A phone: touch, no keyboard. The menus are tapped and two games
// played with the on-screen keys alone. The canvas is scaled down to the
// phone's width, so its frames are read from the canvas itself (its drawing
// buffer kept for that) and compared with the desktop's pixel for pixel.
const phone = await browser.newPage();
await phone.emulate({
  userAgent: await browser.userAgent(),
  viewport: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
});
await phone.evaluateOnNewDocument(() => {
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, attributes) {
    return getContext.call(this, type, { ...attributes, preserveDrawingBuffer: true });
  };
});
await phone.goto(server.url);
await until(() => document.getElementById("console").textContent.includes("load media complete!"), 60000, phone);
const phoneBox = await (await phone.$("#canvas")).boundingBox();
const onScreenKeys = await phone.$$eval("#keys button", (buttons) => buttons.map((button) => {
  const rect = button.getBoundingClientRect();
  return { text: button.textContent, width: rect.width, height: rect.height, bottom: rect.bottom };
}));
check(onScreenKeys.map((key) => key.text).join(" ") === "A B C D E F G H I J K L M N O P Q R S T U V W X Y Z Clear Guess" &&
      onScreenKeys.every((key) => key.width >= 40 && key.height >= 40 && key.bottom <= 844),
      `a phone shows the 28 on-screen keys, each at least 40 x 40, all on screen: ${
        onScreenKeys.map((key) => `${key.text} ${Math.round(key.width)}x${Math.round(key.height)}`).join(", ")}`);
const tap = async (x, y) => {
  await phone.touchscreen.tap(phoneBox.x + (x * phoneBox.width) / 640, phoneBox.y + (y * phoneBox.height) / 480);
  await sleep(300);
};
const keyButtons = await phone.$$("#keys button");
const tapKeys = async (keys) => {
  for (const key of keys) {
    const text = { " ": "Guess", "\b": "Clear" }[key] ?? key.toUpperCase();
    await keyButtons[onScreenKeys.findIndex((onScreen) => onScreen.text === text)].tap();
  }
  await sleep(300);
};
const phoneView = async (file) => {
  const png = await phone.$eval("#canvas", (canvas) => canvas.toDataURL("image/png"));
  fs.writeFileSync(file, Buffer.from(png.split(",")[1], "base64"));
};
await tap(460, 390);  // Options
await tap(230, 367);  // developer mode on
await tap(606, 26);   // Back
await tap(180, 390);  // Start
await tap(320, 230);  // Easy
const phoneWon = await secretWord(phone);
const phoneWonKeys = guesses(notIn(phoneWon, 2) + [...new Set(phoneWon)].join(""));
await tapKeys(phoneWonKeys);
check(await sameAsDesktop("phone-win", "game", phoneWon, phoneWonKeys, phoneView), `a phone wins "${phoneWon}" by taps`);
await tapKeys("q");   // any key leaves the end picture
await tap(180, 390);
await tap(320, 230);
const phoneLost = await secretWord(phone);
const phoneLostKeys = "x\b" + guesses(notIn(phoneLost, 6));
await tapKeys(phoneLostKeys);
check(await sameAsDesktop("phone-lose", "game", phoneLost, phoneLostKeys, phoneView), `a phone loses "${phoneLost}" by taps`);
const phoneExpected = sessionText(phoneWon, phoneWonKeys, phoneLost, phoneLostKeys);
const phoneText = await consoleText(phone);
check(phoneText === phoneExpected, "the phone's whole console text, exactly the desktop's");
if (phoneText !== phoneExpected) console.log(`  expected:\n${phoneExpected}\n  got:\n${phoneText}`);
check(await phone.evaluate(() => document.activeElement === document.body), "no on-screen key took the focus");
await phone.close();

// ---- Each way the game can fail: a message on the page, never a blank canvas.
const withoutMenuImage = (name, bytes) => {
  if (name !== "chalk-hangman.data.js.metadata") return bytes;
  const metadata = JSON.parse(bytes);
  metadata.files = metadata.files.filter((file) => file.filename !== "/pngs/menu_screen.png");
  return Buffer.from(JSON.stringify(metadata));
};
const failures_table = [
  {
    name: "an image missing",
    change: withoutMenuImage,
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
  const failing = c.url ? null : await serve(site, c.change);
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
