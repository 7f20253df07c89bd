// Figures for notes: time from navigation to the first play frame, the main thread's time in
// each animation frame of play (a main-loop pass) and the intervals between frames, and
// screenshots of the first progress frame and of play, in headless chromium on SwiftShader.
// Not a test.
// Usage: node measure.mjs OUTDIR [RUNS]
import { mkdtemp, readFile, writeFile } from "node:fs/promises";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

const here = path.dirname(fileURLToPath(import.meta.url));
const site = process.env.ORB_SITE || path.resolve(here, "../../build/web/site");
const out = process.argv[2] || ".";
const runs = Number(process.argv[3] || 3);

const server = http.createServer(async (req, res) => {
  const name = new URL(req.url, "http://x").pathname.replace(/^\/$/, "/index.html");
  try {
    res.end(await readFile(path.join(site, path.normalize(name))));
  } catch {
    res.writeHead(404).end();
  }
});
await new Promise((ok) => server.listen(0, "127.0.0.1", ok));
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  headless: true,
  userDataDir: await mkdtemp(path.join(os.tmpdir(), "orb-chromium-")),
  args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--no-first-run", "--window-size=1300,700"],
});

// The first progress frame as a PNG data URL, made in the page from the pixels read then.
function keepFirstProgressFrame() {
  window.orbOnProgress = () => {
    if (window.orbFirstPng) return;
    const canvas = document.getElementById("canvas");
    const gl = canvas.getContext("webgl2");
    const w = canvas.width, h = canvas.height, px = new Uint8Array(w * h * 4);
    gl.readPixels(0, 0, w, h, gl.RGBA, gl.UNSIGNED_BYTE, px);
    const c = document.createElement("canvas");
    c.width = w, c.height = h;
    const ctx = c.getContext("2d"), img = ctx.createImageData(w, h);
    for (let y = 0; y < h; ++y)
      img.data.set(px.subarray((h - 1 - y) * w * 4, (h - y) * w * 4), y * w * 4);
    ctx.putImageData(img, 0, 0);
    window.orbFirstPng = c.toDataURL("image/png");
  };
}

// Times every animation-frame callback once play has begun: its start and its duration.
function timeAnimationFrames() {
  const raf = window.requestAnimationFrame.bind(window);
  window.orbFrames = [];
  window.requestAnimationFrame = (cb) => raf((t) => {
    const start = performance.now();
    const passes = window.Module.orbPasses;
    cb(t);
    if (window.orbFirstPlayFrame === undefined) return;
    window.orbFrames.push([start, performance.now() - start, window.Module.orbPasses !== passes]);
  });
}

function quantiles(values) {
  const v = [...values].sort((a, b) => a - b);
  const q = (p) => v[Math.min(v.length - 1, Math.floor(p * v.length))].toFixed(2);
  return `median ${q(0.5)} ms, p99 ${q(0.99)} ms, n ${v.length}`;
}

const times = [];
for (let i = 0; i < runs; ++i) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1300, height: 700 });
  await page.evaluateOnNewDocument(keepFirstProgressFrame);
  await page.evaluateOnNewDocument(timeAnimationFrames);
  await page.goto(base + "index.html?clock=4242");
  await page.waitForFunction(() => window.orbFirstPlayFrame !== undefined, { timeout: 120000 });
  times.push(await page.evaluate(() => window.orbFirstPlayFrame));
  if (i === 0) {
    const png = await page.evaluate(() => window.orbFirstPng);
    await writeFile(path.join(out, "web_progress.png"), Buffer.from(png.split(",")[1], "base64"));
    await (await page.$("#canvas")).screenshot({ path: path.join(out, "web_first_frame.png") });
    await page.screenshot({ path: path.join(out, "web_page.png") });
    await page.evaluate(() => { window.orbFrames = []; });  // not while screenshots were taken
    await page.waitForFunction(() => window.orbFrames.length >= 600, { timeout: 300000, polling: 100 });
    const frames = await page.evaluate(() => window.orbFrames.slice(0, 600));
    const passes = frames.filter((f) => f[2]);
    console.log("main-thread time in a pass:", quantiles(passes.map((f) => f[1])));
    console.log("animation-frame intervals:",
                quantiles(frames.slice(1).map((f, i) => f[0] - frames[i][0])));
    console.log("pass intervals:", quantiles(passes.slice(1).map((f, i) => f[0] - passes[i][0])));
    const seconds = (frames[frames.length - 1][0] - frames[0][0]) / 1000;
    console.log(`passes a second: ${(passes.length / seconds).toFixed(1)}`);
    await page.setViewport({ width: 700, height: 500 });
    await page.screenshot({ path: path.join(out, "web_page_narrow.png") });
  }
  await page.close();
}
console.log("navigation to first play frame, ms:", times.map((t) => t.toFixed(0)).join(" "));
await browser.close();
server.close();
