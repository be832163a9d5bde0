// What the browser test and the web benchmark share: a static server on
// 127.0.0.1, headless Chromium with software WebGL, Firefox on an X server,
// and the CPU time of the page, with its processes.
import crypto from "node:crypto";
import http from "node:http";
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";
import puppeteer from "puppeteer-core";

// The most a first visit may download, every file once as the test server
// sends it (gzip -9): the browser test holds the site to it, the web
// benchmark shows it beside the figure.
export const firstVisitBudget = 400000;

const types = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".wasm": "application/wasm",
  ".png": "image/png",
  ".txt": "text/plain; charset=utf-8",
  ".metadata": "application/json",
  ".webmanifest": "application/manifest+json",
};

// Serves the folder `root` as a web host would: gzip -9 where the browser
// asks for it, each file compressed once, as a host keeps it; an ETag with
// every file, and 304 to a request that names it; the query ignored.
// `change(name, bytes)` may answer a file differently: a Buffer, or null for
// 404. `server.cacheFor(name)` gives the seconds a cache on the way may keep
// a file (none unless set: every use asks the server); `server.noStore`
// lets the browser keep nothing at all. `server.root` may be changed: the
// site moves on to another release. Resolves to the server; its `url` ends
// with "/", and `sent` counts the bytes of the bodies it has sent, by file,
// `bodies` how many.
export async function serve(root, change = (name, bytes) => bytes) {
  const compressed = new Map();
  const gzip = (bytes) => {
    const digest = crypto.createHash("sha256").update(bytes).digest("hex");
    if (!compressed.has(digest)) compressed.set(digest, zlib.gzipSync(bytes, { level: 9 }));
    return compressed.get(digest);
  };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://host").pathname).replace(/\/$/, "/index.html");
    const file = path.join(server.root, path.normalize(name));
    fs.readFile(file, (error, bytes) => {
      const body = error ? null : change(name.slice(1), bytes);
      if (body === null) {
        response.writeHead(404, { "Content-Type": "text/plain" }).end("not found");
        return;
      }
      const etag = `"${crypto.createHash("sha256").update(body).digest("hex").slice(0, 16)}"`;
      const seconds = server.cacheFor(name.slice(1));
      const headers = {
        "Content-Type": types[path.extname(file)] ?? "application/octet-stream",
        "Cache-Control": server.noStore ? "no-store" : seconds ? `max-age=${seconds}` : "no-cache", ETag: etag,
      };
      if (request.headers["if-none-match"] === etag) {
        response.writeHead(304, headers).end();
        return;
      }
      const zipped = /\bgzip\b/.test(request.headers["accept-encoding"] ?? "");
      if (zipped) headers["Content-Encoding"] = "gzip";
      const sent = zipped ? gzip(body) : body;
      server.sent[name.slice(1)] = (server.sent[name.slice(1)] ?? 0) + sent.length;
      server.bodies[name.slice(1)] = (server.bodies[name.slice(1)] ?? 0) + 1;
      response.writeHead(200, headers).end(sent);
    });
  });
  server.sent = {};
  server.bodies = {};
  server.root = root;
  server.cacheFor = () => 0;
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  server.url = `http://127.0.0.1:${server.address().port}/`;
  return server;
}

// Headless Chromium (Debian's, or $CHROMIUM) with WebGL drawn in software,
// and classic scrollbars, which take room from the page; `args` adds to its
// command line.
export function launch(args = []) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    ignoreDefaultArgs: ["--hide-scrollbars"],
    args: [
      "--no-sandbox", "--enable-unsafe-swiftshader", "--use-angle=swiftshader",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      "--no-first-run", "--disable-quic", ...args,
    ],
  });
}

// Seconds of CPU that the browser's renderer and GPU processes have used.
async function processSeconds(browser) {
  const session = await browser.target().createCDPSession();
  const { processInfo } = await session.send("SystemInfo.getProcessInfo");
  await session.detach();
  return processInfo
    .filter((process) => process.type === "renderer" || process.type === "GPU")
    .reduce((sum, process) => sum + process.cpuTime, 0);
}

// The CPU that `page` uses over `seconds`, in percent of one core: `page`,
// the busy time of its main thread, where the game runs; `processes`, the
// browser's renderer and GPU processes, background threads included (a
// coarser figure: it counts in steps of 10 ms).
export async function cpuPercent(browser, page, seconds) {
  const session = await page.createCDPSession();
  await session.send("Performance.enable");
  const busy = async () => (await session.send("Performance.getMetrics")).metrics
    .find((metric) => metric.name === "TaskDuration").value;
  const before = [await busy(), await processSeconds(browser)];
  const start = performance.now();
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  const after = [await busy(), await processSeconds(browser)];
  const elapsed = (performance.now() - start) / 1000;
  await session.detach();
  return { page: (100 * (after[0] - before[0])) / elapsed, processes: (100 * (after[1] - before[1])) / elapsed };
}

// Firefox ESR (Debian's, or $FIREFOX) on the X server `display`, where it
// draws WebGL with Mesa (headless, it has none), driven over WebDriver BiDi.
export function launchFirefox(display) {
  return puppeteer.launch({
    browser: "firefox",
    executablePath: process.env.FIREFOX ?? "/usr/bin/firefox-esr",
    headless: false,
    env: { ...process.env, DISPLAY: display },
    extraPrefsFirefox: { "browser.shell.checkDefaultBrowser": false, "datareporting.policy.dataSubmissionEnabled": false },
  });
}
