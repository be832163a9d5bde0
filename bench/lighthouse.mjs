// Lighthouse on the game's page beside the floor page (bench/baseline.cpp
// built, packed and started the same way), alternating, each run in a
// browser started afresh: as a phone (Lighthouse's default: a mid-range
// phone, its CPU four times slower, slow 4G, all simulated) and as a desktop,
// the median of `runs` of each. Prints the table; asserts nothing.
//
//   node bench/lighthouse.mjs <web build folder> [runs]
import path from "node:path";
import lighthouse from "lighthouse";
import desktop from "lighthouse/core/config/desktop-config.js";
import { launch, serve } from "../tests/web/browser.mjs";
import { load, median } from "./figures.mjs";

const build = path.resolve(process.argv[2]);
const runs = Number(process.argv[3] ?? 3);
const metrics = {
  "performance score": (lhr) => 100 * lhr.categories.performance.score,
  "total blocking time, ms": (lhr) => lhr.audits["total-blocking-time"].numericValue,
  "first contentful paint, ms": (lhr) => lhr.audits["first-contentful-paint"].numericValue,
  "largest contentful paint, ms": (lhr) => lhr.audits["largest-contentful-paint"].numericValue,
  "speed index, ms": (lhr) => lhr.audits["speed-index"].numericValue,
  "unused JavaScript, KiB": (lhr) => lhr.audits["unused-javascript"].details?.overallSavingsBytes / 1024 || 0,
};

const loadBefore = load();
const server = await serve(build);
const results = {};
for (const [form, config] of [["mobile", undefined], ["desktop", desktop]]) {
  for (let run = 0; run < runs; run += 1) {
    for (const [which, page] of [["game", ""], ["floor", "floor.html"]]) {
      const browser = await launch();
      const tab = await browser.newPage();
      const { lhr } = await lighthouse(server.url + page, { output: "json", logLevel: "error" }, config, tab);
      await browser.close();
      for (const [name, read] of Object.entries(metrics)) {
        ((results[form] ??= {})[name] ??= { game: [], floor: [] })[which].push(read(lhr));
      }
    }
  }
}
server.close();

console.log(`Lighthouse ${(await import("lighthouse/package.json", { with: { type: "json" } })).default.version}, ` +
            `headless Chromium with software WebGL, medians of ${runs} runs; load average ${loadBefore} before, ${load()} after`);
for (const [form, rows] of Object.entries(results)) {
  console.log("");
  console.log(`| ${form} | Game | Floor |`);
  console.log("|---|---|---|");
  for (const [name, { game, floor }] of Object.entries(rows)) {
    console.log(`| ${name} | ${median(game).toFixed(0)} | ${median(floor).toFixed(0)} |`);
  }
}
