// The web benchmark: prints figures and asserts nothing. The game's page
// beside the floor page (bench/baseline.cpp built, packed and started the
// same way, drawing the main menu's frame), in headless Chromium with
// software WebGL, alternating, each load in a browser started afresh, so
// that nothing is cached and nothing is warm:
// - the first frame after navigation: the first animation frame after the
//   page's first WebGL draw call, in ms since navigation started, at the
//   machine's speed and with the page's CPU four times slower;
// - the idle main menu's CPU, renderer and GPU processes, over 5 s;
// - every file a first visit downloads, as the server sent it (gzip -9),
//   the service worker's own downloads included.
//
// Beside the bytes sent, what brotli at level 11 would make of the same files.
//
//   node bench/web.mjs <web build folder> [runs]
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";
import { cpuPercent, firstVisitBudget, launch, serve } from "../tests/web/browser.mjs";
import { load, median } from "./figures.mjs";

const build = path.resolve(process.argv[2]);
const runs = Number(process.argv[3] ?? 10);

// Notes the time of the first animation frame after the first draw call.
function watchFirstFrame() {
  for (const context of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    for (const name of ["drawArrays", "drawElements"]) {
      const draw = context?.prototype[name];
      if (!draw) continue;
      context.prototype[name] = function (...args) {
        if (window.firstDraw === undefined) {
          window.firstDraw = performance.now();
          requestAnimationFrame(() => { window.firstFrame = performance.now(); });
        }
        return draw.apply(this, args);
      };
    }
  }
}

const loadBefore = load();
const server = await serve(build);
const figures = { game: { frame: [], slowFrame: [], cpu: [] }, floor: { frame: [], slowFrame: [], cpu: [] } };
for (let run = 0; run < runs; run += 1) {
  for (const [which, page] of [["game", ""], ["floor", "floor.html"]]) {
    // At the machine's own speed, then with the page's CPU four times slower
    // (as Lighthouse's phone), each in a browser started afresh.
    for (const [figure, slower] of [["frame", 1], ["slowFrame", 4]]) {
      const browser = await launch();
      const tab = await browser.newPage();
      await tab.setViewport({ width: 800, height: 600 });
      if (slower > 1) await (await tab.createCDPSession()).send("Emulation.setCPUThrottlingRate", { rate: slower });
      await tab.evaluateOnNewDocument(watchFirstFrame);
      server.sent = {};
      await tab.goto(server.url + page);
      await tab.waitForFunction(() => window.firstFrame !== undefined, { timeout: 120000, polling: 20 });
      figures[which][figure].push(await tab.evaluate(() => window.firstFrame));
      if (slower === 1) {
        await new Promise((resolve) => setTimeout(resolve, 2000));
        figures[which].cpu.push((await cpuPercent(browser, tab, 5)).processes);
        figures[which].sent = server.sent;
      }
      await browser.close();
    }
  }
}
server.close();

const row = (label, game, floor, goal) =>
  console.log(`| ${label} | ${game.toFixed(0)} | ${floor.toFixed(0)} | ${(game / floor).toFixed(2)}${goal ? ` (${goal})` : ""} |`);
const total = (sent) => Object.values(sent).reduce((sum, bytes) => sum + bytes, 0);
console.log(`Headless Chromium, software WebGL (SwiftShader), medians of ${runs} runs; load average ${loadBefore} before, ${load()} after`);
console.log("");
console.log("| | Game | Floor | Ratio (goal) |");
console.log("|---|---|---|---|");
row("first frame after navigation, ms", median(figures.game.frame), median(figures.floor.frame), "≤ 1.05");
row("the same, the page's CPU four times slower, ms", median(figures.game.slowFrame), median(figures.floor.slowFrame), "≤ 1");
row("idle main menu, CPU % of one core (page and GPU processes)", median(figures.game.cpu),
    median(figures.floor.cpu), "≤ 1.1");
// The same files at brotli's level 11, as a host that serves brotli would send them.
const brotli = (sent) => Object.fromEntries(Object.keys(sent).map((name) => [name,
  zlib.brotliCompressSync(fs.readFileSync(path.join(build, name)), {
    params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11 } }).length]));
const brotliGame = brotli(figures.game.sent);
const brotliFloor = brotli(figures.floor.sent);
row("bytes a first visit downloads, gzip -9", total(figures.game.sent), total(figures.floor.sent));
row("the same files, brotli -11", total(brotliGame), total(brotliFloor));
for (const [which, sizes] of [["game", brotliGame], ["floor", brotliFloor]]) {
  console.log("");
  console.log(`| File the ${which} page downloads | Bytes | Sent (gzip -9) | brotli -11 |`);
  console.log("|---|---|---|---|");
  for (const [name, sent] of Object.entries(figures[which].sent).sort()) {
    console.log(`| ${name} | ${fs.statSync(path.join(build, name)).size} | ${sent} | ${sizes[name]} |`);
  }
  console.log(`| all${which === "game" ? ` (goal ≤ ${firstVisitBudget} gzip)` : ""} | | ${total(figures[which].sent)} | ${total(sizes)} |`);
}
