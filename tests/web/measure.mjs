// Figures for notes: time from navigation to the first play frame, the main thread's time in
// each animation frame of play (a main-loop pass) and the intervals between frames, present
// intervals over 20 s of flying at 10 enemies, and screenshots of the first progress frame, of
// play and of the token carried, in headless chromium on SwiftShader. Not a test.
// Usage: node measure.mjs OUTDIR [RUNS]
import { writeFile } from "node:fs/promises";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { launchChromium, serve } from "./harness.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const site = process.env.ORB_SITE || path.resolve(here, "../../build/web/site");
const out = process.argv[2] || ".";
const runs = Number(process.argv[3] || 3);

const { server, base } = await serve(site);
const browser = await launchChromium();

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
  const over = (100 * v.filter((x) => x > 20).length / v.length).toFixed(2);
  return `median ${q(0.5)} ms, p99 ${q(0.99)} ms, over 20 ms ${over} %, n ${v.length}`;
}

// The game's trace rows as objects (the page runs with ?trace).
async function lastRow(page) {
  const [head, ...lines] = (await page.evaluate(() => window.orbTrace())).trim().split("\n");
  const names = head.split(",");
  const values = lines[lines.length - 1].split(",").map(Number);
  return Object.fromEntries(names.map((n, i) => [n, values[i]]));
}

// Twenty seconds of flying at ten enemies: the lock taken, Q pressed up to ten, then turns
// every 50 ms and the button held and released, as a player does. The present intervals are
// the intervals between passes; a frame with the token carried is saved when one comes.
async function flyAtTenEnemies(page) {
  const box = await (await page.$("#canvas")).boundingBox();
  const x = box.x + box.width / 2, y = box.y + box.height / 2;
  await page.mouse.click(x, y);
  await page.waitForFunction(() => document.pointerLockElement !== null, { timeout: 60000 });
  while ((await lastRow(page)).enemies < 10) {
    await page.keyboard.press("KeyQ");
    await new Promise((ok) => setTimeout(ok, 100));
  }
  await page.evaluate(() => { window.orbFrames = []; });
  const start = Date.now();
  let px = x, step = 0, shot = false, down = false;
  while (Date.now() - start < 20000) {
    px += Math.round(Math.sin(step / 7) * 12);
    await page.mouse.move(px, y);
    if (step % 40 === 0 && !down) await page.mouse.down(), (down = true);
    if (step % 40 === 25 && down) await page.mouse.up(), (down = false);
    if (!shot && step % 10 === 0 && (await lastRow(page)).carrying) {
      await (await page.$("#canvas")).screenshot({ path: path.join(out, "web_token.png") });
      shot = true;
    }
    ++step;
    await new Promise((ok) => setTimeout(ok, 50));
  }
  if (down) await page.mouse.up();
  const frames = await page.evaluate(() => window.orbFrames);
  const passes = frames.filter((f) => f[2]);
  console.log("flying at 10 enemies for 20 s, present intervals:",
              quantiles(passes.slice(1).map((f, i) => f[0] - passes[i][0])));
  console.log("flying at 10 enemies, main-thread time in a pass:", quantiles(passes.map((f) => f[1])));
  console.log("token carried and shot:", shot ? "web_token.png" : "not in these 20 s");
}

const times = [];
for (let i = 0; i < runs; ++i) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1300, height: 700 });
  await page.evaluateOnNewDocument(keepFirstProgressFrame);
  await page.evaluateOnNewDocument(timeAnimationFrames);
  await page.goto(base + "index.html?clock=4242" + (i === 0 ? "&trace" : ""));
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
    await flyAtTenEnemies(page);
    await page.setViewport({ width: 700, height: 500 });
    await page.screenshot({ path: path.join(out, "web_page_narrow.png") });
  }
  await page.close();
}
console.log("navigation to first play frame, ms:", times.map((t) => t.toFixed(0)).join(" "));
await browser.close();
server.close();
