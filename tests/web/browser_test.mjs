// The game's page in headless chromium on SwiftShader: progress frames, then play; a click
// takes the pointer lock; Escape ends the run and "play again" starts another; a browser
// without WebGL 2 gets the sentence, and so does a module that cannot load; nothing reaches the console as an error. With ?trace the
// game's own per-pass trace shows turning, thrust, the pause and Q, and the pixels the dim.
// Serves build/web/site (or ORB_SITE) from localhost. Every wait is on what it checks. Where a
// desktop build is there (build/normal, or ORB_DESKTOP_BUILD), the first play frame is also
// compared with the desktop replay tool's at the same clock.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync } from "node:fs";
import { mkdtemp, readFile } from "node:fs/promises";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";
import { launchChromium, serve } from "./harness.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const site = process.env.ORB_SITE || path.resolve(here, "../../build/web/site");
const kWaitMs = 60000;  // SwiftShader on a shared machine: generous, but only an upper bound
const kWidth = 1280, kHeight = 500;

let server, base, browser;

before(async () => {
  ({ server, base } = await serve(site));
  browser = await launchChromium();
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
});

// A page that records console errors and uncaught exceptions.
async function openPage(inBrowser = browser) {
  const page = await inBrowser.newPage();
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

// What the page shows at `points` (canvas pixels), from a screenshot.
async function shownPixels(page, points) {
  const shot = await page.screenshot({ clip: { x: 0, y: 0, width: kWidth + 20, height: kHeight } });
  return page.evaluate(async (png, points) => {
    const img = new Image();
    img.src = "data:image/png;base64," + png;
    await img.decode();
    const c = new OffscreenCanvas(img.width, img.height).getContext("2d");
    c.drawImage(img, 0, 0);
    const left = Math.round(document.getElementById("canvas").getBoundingClientRect().left);
    return points.map(([x, y]) => Array.from(c.getImageData(left + x, y, 1, 1).data.slice(0, 3)));
  }, Buffer.from(shot).toString("base64"), points);
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
  const [bumper] = await shownPixels(page, [[522, 256]]);
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
  // The trace is only there when asked for.
  assert.equal(await page.evaluate(() => window.orbTrace || Module.ENV.ORBITRANTS_TRACE), undefined);
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
  // And a browser told to offer none.
  const plain = await launchChromium(["--disable-webgl2"]);
  try {
    const other = await openPage(plain);
    await other.goto(base + "index.html");
    assert.match(await other.$eval("#sentence", (p) => p.textContent), /needs WebGL 2/);
    assert.deepEqual(other.errors, []);
  } finally {
    await plain.close();
  }
});

test("a module that cannot be loaded is said, with play again, and nothing is uncaught",
     async () => {
  for (const missing of ["orbitrants.wasm", "orbitrants.js"]) {
    const page = await openPage();
    await page.setRequestInterception(true);
    page.on("request", (r) =>
      r.url().endsWith("/" + missing) ? r.respond({ status: 404, body: "" }) : r.continue());
    await page.goto(base + "index.html");
    await page.waitForFunction(
      () => /could not be loaded/.test(document.getElementById("sentence").textContent),
      { timeout: kWaitMs });
    assert.equal(await page.$eval("#again", (b) => b.hidden), false, missing);
    assert.equal(await page.$eval("#canvas", (c) => c.style.display), "none", missing);
    // The browser's own line about the refused file is expected; nothing else.
    assert.deepEqual(page.errors.filter((e) => !/Failed to load resource/.test(e)), [], missing);
    await page.close();
  }
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

// SwiftShader and llvmpipe interpolate texture coordinates a little apart, which moves a
// filtered texel by 1; nothing may be further apart than 2 (the ends of one-pixel lines were,
// while lines were drawn as lines, and turned sprites, while the sampler filtered them).
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
  assert.deepEqual(far.slice(0, 20), [], "pixels more than 2 apart");
  assert.deepEqual(page.errors, []);
  await page.close();
});

// The game's per-pass trace (?trace), one object of numbers per row.
async function traceRows(page) {
  const [head, ...lines] = (await page.evaluate(() => window.orbTrace())).trim().split("\n");
  const names = head.split(",");
  return lines.map((l) => Object.fromEntries(l.split(",").map((v, i) => [names[i], Number(v)])));
}

// Polls the trace until `ok(rows)` holds; returns the rows.
async function waitForTrace(page, what, ok) {
  const end = Date.now() + kWaitMs;
  for (;;) {
    const rows = await traceRows(page);
    if (ok(rows)) return rows;
    assert.ok(Date.now() < end, `timed out waiting for ${what}`);
    await new Promise((next) => setTimeout(next, 20));
  }
}

// The rows from pass `from` on, once `count` of them are there.
async function rowsFrom(page, from, count, what) {
  const rows = await waitForTrace(page, what, (r) => r.length && r.at(-1).pass >= from + count - 1);
  return rows.filter((r) => r.pass >= from);
}

// How the thrust went from one row to the next: "p" pushed by the button (+0.6, then the
// drag), "c" coasting (the drag alone); "?" for neither.
function thrustSteps(rows) {
  const near = (a, b) => Math.abs(a - b) <= 1e-4 * Math.max(1, Math.abs(b));
  return rows.slice(1).map((r, i) => {
    const t = rows[i].ship_thrust;
    return near(r.ship_thrust, t * 0.992) ? "c" : near(r.ship_thrust, (t + 0.6) * 0.992) ? "p" : "?";
  }).join("");
}

test("on a narrow page the canvas keeps its aspect, the mouse still steers and the paused drag moves nothing",
     async () => {
  const page = await openPage();
  await page.setViewport({ width: 700, height: 600 });
  await page.goto(base + "index.html?clock=4242&trace");
  await page.waitForFunction(() => window.orbFirstPlayFrame !== undefined, { timeout: kWaitMs });
  const box = () => page.$eval("#canvas", (c) => {
    const r = c.getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height, w: c.width, h: c.height };
  });
  const shown = await box();
  assert.ok(shown.width <= 700 && shown.width > 600, `width ${shown.width}`);
  assert.ok(Math.abs(shown.height - (shown.width * kHeight) / kWidth) < 1, `height ${shown.height}`);
  assert.deepEqual([shown.w, shown.h], [kWidth, kHeight]);  // drawn at the game's size

  const x = shown.left + shown.width / 2, y = shown.top + shown.height / 2;
  // Listened to after the game's own listener, so the game has seen the lock when this has.
  await page.evaluate(() =>
    document.addEventListener("pointerlockchange", () => { window.orbLocked = true; }));
  await page.mouse.move(x, y);
  await page.mouse.click(x, y);
  await page.waitForFunction(() => window.orbLocked, { timeout: kWaitMs });
  const before = (await traceRows(page)).at(-1);
  await page.mouse.move(x + 6, y);  // a motion of 6 page pixels turns the ship 6 degrees
  const turned = await waitForTrace(page, "a turn", (r) => r.at(-1).heading !== before.heading);
  assert.equal(turned.at(-1).heading - before.heading, 6);

  await page.keyboard.press("KeyP");
  await waitForTrace(page, "the pause", (r) => r.at(-1).paused === 1);
  await page.mouse.move(x, y);
  await page.mouse.down();
  // Down and across the controls line under the canvas: no text is selected either.
  for (let step = 1; step <= 5; ++step) await page.mouse.move(x + step * 20, y + step * 40);
  await page.mouse.up();
  const paused = (await traceRows(page)).at(-1);
  await rowsFrom(page, paused.pass, 3, "passes after the drag");
  assert.deepEqual(await box(), shown);
  assert.deepEqual(await page.evaluate(() => [scrollX, scrollY, String(getSelection())]), [0, 0, ""]);
  assert.equal((await traceRows(page)).at(-1).paused, 1);
  assert.deepEqual(page.errors, []);
  await page.close();
});

// Records the chosen pixels of every frame presented while window.orbWatch is set, read back
// from the game's back buffer just after the driver copied it to the canvas.
function watchPresents(points, h) {
  window.orbPresents = [];
  const blit = WebGL2RenderingContext.prototype.blitFramebuffer;
  WebGL2RenderingContext.prototype.blitFramebuffer = function (...args) {
    blit.apply(this, args);
    if (!window.orbWatch) return;
    const px = new Uint8Array(4);
    const read = ([x, y]) => {
      this.readPixels(x, h - 1 - y, 1, 1, this.RGBA, this.UNSIGNED_BYTE, px);
      return Array.from(px.slice(0, 3));
    };
    window.orbPresents.push({
      pass: window.Module.orbPasses,
      at: points.map(read),
      below_right: points.map(([x, y]) => read([x + 1, y + 1])),
    });
  };
}

// Backdrop and bumper pixels away from the pause sign and the ring at the centre.
const kDimPoints = [[100, 60], [300, 400], [1000, 120], [1180, 440], [60, 250], [1220, 250],
                    [640, 30], [640, 470], [256, 256], [512, 270], [768, 240], [1024, 256]];
const kPauseTint = [155, 125, 105];  // the colour the pause view draws the frozen screen in

test("with ?trace: flying, pausing and Q as the game's trace and pixels show them", async (t) => {
  const page = await openPage();
  await page.evaluateOnNewDocument(watchPresents, kDimPoints, kHeight);
  await page.goto(base + "index.html?clock=4242&trace");
  await page.waitForFunction(() => window.orbFirstPlayFrame !== undefined, { timeout: kWaitMs });
  // Listened to after the game's own listeners, so they have seen what these have.
  await page.evaluate(() => {
    window.orbMoves = [];
    document.addEventListener("pointerlockchange", () => { window.orbLocked = true; });
    document.addEventListener("mousemove", (e) => window.orbMoves.push(e.movementX));
  });
  await page.click("#canvas");
  await page.waitForFunction(() => window.orbLocked, { timeout: kWaitMs });
  // Under the lock headless chromium still moves its pointer: movementX is the difference
  // between page.mouse positions, and the driver moves the virtual pointer by it.
  let mouseX = (await page.$eval("#canvas", (c) => c.getBoundingClientRect().left)) + kWidth / 2;
  const last = async () => (await traceRows(page)).at(-1);

  // A turn shows as one change of heading, then none.
  async function turn(dx) {
    const before = await last();
    const seen = await page.evaluate(() => window.orbMoves.length);
    mouseX += dx;
    await page.mouse.move(mouseX, kHeight / 2);
    await page.waitForFunction((n) => window.orbMoves.length > n, { timeout: kWaitMs }, seen);
    assert.deepEqual(await page.evaluate((n) => window.orbMoves.slice(n), seen), [dx]);
    const rows = await waitForTrace(page, "a turn",
                                    (r) => r.at(-1).heading !== before.heading);
    const first = rows.find((r) => r.pass > before.pass && r.heading !== before.heading);
    const after = await rowsFrom(page, first.pass, 4, "passes after the turn");
    assert.deepEqual(after.map((r) => r.heading - before.heading),
                     Array(after.length).fill(Math.max(-10, Math.min(10, dx))));
  }

  await t.test("motion to the right turns clockwise, one degree a pixel up to ten", async () => {
    // Far beyond where the virtual pointer stops (16 bits): turning on works only because
    // the game pulls the pointer back to the centre each frame.
    await turn(40000);
    await turn(7);
    await turn(-30);
    assert.equal((await last()).heading, 7);
  });

  await t.test("the left button thrusts along the heading, and the ship coasts on release",
               async () => {
    const start = await last();
    await page.mouse.down();
    const held = await waitForTrace(
      page, "thrust", (r) => /p{6}/.test(thrustSteps(r.filter((row) => row.pass >= start.pass))));
    await page.mouse.up();
    // The click that took the lock may have pushed, for as many passes as a busy machine
    // held it down; nothing else may have.
    assert.match(thrustSteps(held.filter((r) => r.pass <= start.pass)), /^c*p*c*$/);
    // The release may reach the game several passes late on a busy machine: wait for the
    // coasting rather than counting passes.
    const since = (r) => r.filter((row) => row.pass >= start.pass);
    const rows = since(await waitForTrace(page, "coasting", (r) => /c{3}$/.test(thrustSteps(since(r)))));
    assert.match(thrustSteps(rows), /^c*p{6,}c{3,}$/);
    const end = rows.at(-1), dx = end.ship_x - start.ship_x, dy = end.ship_y - start.ship_y;
    // Heading 0 flies down the screen; more heading turns the flight clockwise.
    assert.ok(Math.hypot(dx, dy) > 0.5, `moved ${dx}, ${dy}`);
    const degrees = (Math.atan2(-dx, dy) * 180) / Math.PI;
    assert.ok(Math.abs(degrees - end.heading) < 0.5, `flew at ${degrees}, heading ${end.heading}`);
  });

  await t.test("P shows the frozen screen dimmed; P again plays on", async () => {
    await page.evaluate(() => { window.orbWatch = true; });
    await page.keyboard.press("KeyP");
    const rows = await waitForTrace(page, "the pause", (r) => r.at(-1).paused === 1);
    await page.evaluate(() => { window.orbWatch = false; });
    const first = rows.find((r) => r.paused === 1);
    const [frozen, view, ...more] =
      (await page.evaluate(() => window.orbPresents)).filter((p) => p.pass === first.pass);
    assert.ok(view && !more.length, "the pause pass presents the grab, then the pause view");
    // The view shows the frozen screen one pixel up and to the left, times the tint.
    let lit = 0;
    kDimPoints.forEach((_, i) => {
      for (let k = 0; k < 3; ++k) {
        const was = frozen.below_right[i][k], now = view.at[i][k];
        if (was < 40) continue;  // too dark to tell the factor
        ++lit;
        const expected = (was * kPauseTint[k]) / 255;
        assert.ok(Math.abs(now - expected) <= 1, `${kDimPoints[i]}[${k}]: ${was} -> ${now}`);
      }
    });
    assert.ok(lit >= 8, `channels bright enough to judge: ${lit}`);
    assert.deepEqual(await shownPixels(page, kDimPoints), view.at);
    // Nothing plays while paused, though passes go on.
    const paused = await rowsFrom(page, first.pass, 4, "paused passes");
    const still = ({ pass, ...state }) => JSON.stringify(state);
    assert.deepEqual(paused.map(still), Array(paused.length).fill(still(first)));

    await page.keyboard.press("KeyP");
    const resumed = (await waitForTrace(page, "play again", (r) => r.at(-1).paused === 0))
      .find((r) => r.pass > first.pass && r.paused === 0);
    const after = await rowsFrom(page, resumed.pass, 3, "play passes");
    after.slice(1).forEach((r, i) => {
      assert.equal(r.pass, after[i].pass + 1);
      assert.ok(r.wave_time < after[i].wave_time, "the wave's time runs again");
    });
  });

  await t.test("each Q adds one enemy", async () => {
    for (let press = 0; press < 2; ++press) {
      const before = await last();
      await page.keyboard.press("KeyQ");
      const rows = await waitForTrace(page, "an enemy", (r) => r.at(-1).enemies !== before.enemies);
      const first = rows.find((r) => r.pass > before.pass && r.enemies !== before.enemies);
      const after = await rowsFrom(page, first.pass, 4, "passes after Q");
      assert.deepEqual(after.map((r) => r.enemies), Array(after.length).fill(before.enemies + 1));
    }
  });

  assert.deepEqual(page.errors, []);
  await page.close();
});
