// The game's page in headless chromium on SwiftShader: progress frames, then play; a click
// takes the pointer lock; Escape ends the run and "play again" starts another; a browser
// without WebGL 2 gets the sentence; nothing reaches the console as an error. Serves
// build/web/site (or ORB_SITE) from localhost. Every wait is on what it checks. Where a
// desktop build is there (build/normal, or ORB_DESKTOP_BUILD), the first play frame is also
// compared with the desktop replay tool's at the same clock.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync } from "node:fs";
import { readFile } from "node:fs/promises";
import http from "node:http";
import { mkdtemp } from "node:fs/promises";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

const here = path.dirname(fileURLToPath(import.meta.url));
const site = process.env.ORB_SITE || path.resolve(here, "../../build/web/site");
const kTypes = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };
const kWaitMs = 60000;  // SwiftShader on a shared machine: generous, but only an upper bound
const kWidth = 1280, kHeight = 500;

let server, base, browser;

function serve(root) {
  return http.createServer(async (req, res) => {
    const name = new URL(req.url, "http://x").pathname.replace(/^\/$/, "/index.html");
    try {
      const body = await readFile(path.join(root, path.normalize(name)));
      res.writeHead(200, { "Content-Type": kTypes[path.extname(name)] || "application/octet-stream" });
      res.end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
}

before(async () => {
  server = serve(site);
  await new Promise((ok) => server.listen(0, "127.0.0.1", ok));
  base = `http://127.0.0.1:${server.address().port}/`;
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    userDataDir: await mkdtemp(path.join(os.tmpdir(), "orb-chromium-")),
    args: ["--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           "--no-first-run", "--window-size=1300,700"],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
});

// A page that records console errors and uncaught exceptions.
async function openPage() {
  const page = await browser.newPage();
  await page.setViewport({ width: 1300, height: 700 });
  page.errors = [];
  page.on("console", (m) => { if (m.type() === "error") page.errors.push(m.text()); });
  page.on("pageerror", (e) => page.errors.push(String(e)));
  return page;
}

// Keeps the first progress frame's pixels (RGBA rows, bottom row first, as WebGL reads them)
// while the drawing buffer still holds it.
function keepFirstProgressFrame(w, h) {
  window.orbOnProgress = () => {
    if (window.orbFirst) return;
    const gl = document.getElementById("canvas").getContext("webgl2");
    const px = new Uint8Array(w * h * 4);
    gl.readPixels(0, 0, w, h, gl.RGBA, gl.UNSIGNED_BYTE, px);
    window.orbFirst = Array.from(px);
  };
}

function pixel(rgba, x, y) {
  const i = ((kHeight - 1 - y) * kWidth + x) * 4;
  return rgba.slice(i, i + 3);
}

test("progress frames, then play, then the pointer lock on a click", async () => {
  const page = await openPage();
  await page.evaluateOnNewDocument(keepFirstProgressFrame, kWidth, kHeight);
  await page.goto(base + "index.html?clock=4242");
  await page.waitForFunction(() => window.orbFirstPlayFrame !== undefined, { timeout: kWaitMs });

  // Nine progress flips: texts 1 to 7 with text 6 twice, and the backdrop composite.
  assert.equal(await page.evaluate(() => window.orbProgressFrames), 9);
  const first = await page.evaluate(() => window.orbFirst);
  // Text 1 at (500, 250) in (105, 135, 195): the opaque glyph texels give the colour exactly.
  let text = 0;
  for (let y = 250; y < 266; ++y)
    for (let x = 500; x < 788; ++x) {
      const [r, g, b] = pixel(first, x, y);
      if (r === 105 && g === 135 && b === 195) ++text;
    }
  assert.ok(text > 200, `text pixels: ${text}`);
  // Above the text only the clear colour (52, 84, 145) darkened by the vignette.
  const [r, g, b] = pixel(first, 640, 120);
  assert.ok(r <= 52 && g <= 84 && b <= 145 && b > 0, `backdrop ${[r, g, b]}`);

  // A play frame: the second bumper's red at its centre (about (522, 256)).
  const shot = await page.screenshot({ clip: { x: 0, y: 0, width: kWidth, height: kHeight } });
  const bumper = await page.evaluate(async (png) => {
    const img = new Image();
    img.src = "data:image/png;base64," + png;
    await img.decode();
    const c = new OffscreenCanvas(img.width, img.height).getContext("2d");
    c.drawImage(img, 0, 0);
    const left = document.getElementById("canvas").getBoundingClientRect().left;
    return Array.from(c.getImageData(Math.round(left) + 522, 256, 1, 1).data);
  }, Buffer.from(shot).toString("base64"));
  assert.ok(bumper[0] > bumper[1] + 60 && bumper[0] > bumper[2] + 40, `bumper ${bumper}`);

  // The right button opens no menu and the wheel does not scroll the page.
  assert.deepEqual(await page.evaluate(() => {
    const canvas = document.getElementById("canvas");
    const menu = new MouseEvent("contextmenu", { bubbles: true, cancelable: true, button: 2 });
    const wheel = new WheelEvent("wheel", { bubbles: true, cancelable: true, deltaY: 100 });
    canvas.dispatchEvent(menu);
    canvas.dispatchEvent(wheel);
    return [menu.defaultPrevented, wheel.defaultPrevented];
  }), [true, true]);

  await page.click("#canvas");
  await page.waitForFunction(
    () => document.pointerLockElement === document.getElementById("canvas"), { timeout: kWaitMs });
  assert.equal(await page.title(), "Orbitrants");
  assert.deepEqual(page.errors, []);
  await page.close();
});

// Whether the page's default action for the next press of `key` was prevented.
async function pressPrevented(page, key) {
  await page.evaluate(() => {
    window.orbPrevented = undefined;
    window.addEventListener("keydown", (e) => setTimeout(() => { window.orbPrevented = e.defaultPrevented; }),
                            { once: true });
  });
  await page.keyboard.press(key);
  await page.waitForFunction(() => window.orbPrevented !== undefined, { timeout: kWaitMs });
  return page.evaluate(() => window.orbPrevented);
}

test("Escape ends the run and play again starts a fresh one", async () => {
  const page = await openPage();
  await page.goto(base + "index.html?clock=4242");
  await page.waitForFunction(() => window.orbFirstPlayFrame !== undefined, { timeout: kWaitMs });
  // The game's keys do not scroll the page; once the run is over the page has them back.
  assert.equal(await pressPrevented(page, "Space"), true);
  assert.equal(await pressPrevented(page, "PageDown"), true);
  assert.equal(await pressPrevented(page, "KeyA"), false);
  await page.keyboard.press("Escape");
  await page.waitForFunction(
    () => document.getElementById("sentence").textContent === "The run has ended.",
    { timeout: kWaitMs });
  assert.equal(await page.$eval("#again", (b) => b.hidden), false);
  assert.equal(await pressPrevented(page, "Space"), false);
  await Promise.all([page.waitForNavigation(), page.click("#again")]);
  await page.waitForFunction(() => window.orbFirstPlayFrame !== undefined, { timeout: kWaitMs });
  assert.equal(await page.$eval("#canvas", (c) => c.style.display), "");
  assert.deepEqual(page.errors, []);
  await page.close();
});

test("without WebGL 2 a sentence stands where the canvas would be", async () => {
  const page = await openPage();
  await page.evaluateOnNewDocument(() => {
    const get = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
      return kind === "webgl2" ? null : get.call(this, kind, ...rest);
    };
  });
  await page.goto(base + "index.html");
  const sentence = await page.$eval("#sentence", (p) => p.textContent);
  assert.match(sentence, /needs WebGL 2/);
  assert.equal(await page.$eval("#canvas", (c) => c.style.display), "none");
  assert.deepEqual(page.errors, []);
  await page.close();
});

test("a lost WebGL context is said, and play again starts a fresh run", async () => {
  const page = await openPage();
  await page.goto(base + "index.html?clock=4242");
  await page.waitForFunction(() => window.orbFirstPlayFrame !== undefined, { timeout: kWaitMs });
  await page.evaluate(() =>
    document.getElementById("canvas").getContext("webgl2").getExtension("WEBGL_lose_context")
      .loseContext());
  await page.waitForFunction(
    () => /WebGL context was lost/.test(document.getElementById("sentence").textContent),
    { timeout: kWaitMs });
  assert.equal(await page.$eval("#again", (b) => b.hidden), false);
  assert.equal(await page.$eval("#canvas", (c) => c.style.display), "none");
  await Promise.all([page.waitForNavigation(), page.click("#again")]);
  await page.waitForFunction(() => window.orbFirstPlayFrame !== undefined, { timeout: kWaitMs });
  assert.deepEqual(page.errors, []);
  await page.close();
});

const desktop = process.env.ORB_DESKTOP_BUILD || path.resolve(here, "../../build/normal");
const replay = path.join(desktop, "tools/orbitrants-replay");

// The frame the page shows after its second pass (the first play frame, presented by that
// pass's Flip(1)), read from the canvas's drawing buffer before the browser takes it.
function keepFirstPlayFrame(w, h) {
  const raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (cb) => raf((t) => {
    cb(t);
    if (window.orbShown || !window.Module || window.Module.orbPasses !== 2) return;
    const gl = document.getElementById("canvas").getContext("webgl2");
    const keep = gl.getParameter(gl.FRAMEBUFFER_BINDING);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    const px = new Uint8Array(w * h * 4);
    gl.readPixels(0, 0, w, h, gl.RGBA, gl.UNSIGNED_BYTE, px);
    gl.bindFramebuffer(gl.FRAMEBUFFER, keep);
    window.orbShown = px;
  });
}

// SwiftShader and llvmpipe round blends and filtering apart by 1 or 2; they also light the end
// pixels of one-pixel lines differently, which the clock-fixed first frame has four of (the
// side panel's corners and the top of the hole's ring).
test("the first play frame is the desktop's, within 2 per channel", { skip: !existsSync(replay) },
     async () => {
  const dir = await mkdtemp(path.join(os.tmpdir(), "orb-first-"));
  const shot = path.join(dir, "first.png");
  execFileSync(replay, ["--frames", "1", "--clock", "4242", "--shot", `0:${shot}`],
               { env: { ...process.env, SDL_VIDEODRIVER: "offscreen" } });
  const page = await openPage();
  await page.evaluateOnNewDocument(keepFirstPlayFrame, kWidth, kHeight);
  await page.goto(base + "index.html?clock=4242");
  await page.waitForFunction(() => window.orbShown !== undefined, { timeout: kWaitMs, polling: 100 });
  const png = (await readFile(shot)).toString("base64");
  const far = await page.evaluate(async (png, w, h) => {
    const img = new Image();
    img.src = "data:image/png;base64," + png;
    await img.decode();
    const c = new OffscreenCanvas(w, h).getContext("2d");
    c.drawImage(img, 0, 0);
    const d = c.getImageData(0, 0, w, h).data, s = window.orbShown, far = [];
    for (let y = 0; y < h; ++y)
      for (let x = 0; x < w; ++x) {
        const i = (y * w + x) * 4, j = ((h - 1 - y) * w + x) * 4;
        for (let k = 0; k < 3; ++k)
          if (Math.abs(d[i + k] - s[j + k]) > 2) { far.push([x, y]); break; }
      }
    return far;
  }, png, kWidth, kHeight);
  assert.ok(far.length <= 4, `pixels more than 2 apart: ${JSON.stringify(far.slice(0, 20))}`);
  assert.deepEqual(page.errors, []);
  await page.close();
});
