// Figures for notes: time from navigation to the first play frame, and screenshots of the
// first progress frame and of play, in headless chromium on SwiftShader. Not a test.
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

const times = [];
for (let i = 0; i < runs; ++i) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1300, height: 700 });
  await page.evaluateOnNewDocument(keepFirstProgressFrame);
  await page.goto(base + "index.html?clock=4242");
  await page.waitForFunction(() => window.orbFirstPlayFrame !== undefined, { timeout: 120000 });
  times.push(await page.evaluate(() => window.orbFirstPlayFrame));
  if (i === 0) {
    const png = await page.evaluate(() => window.orbFirstPng);
    await writeFile(path.join(out, "web_progress.png"), Buffer.from(png.split(",")[1], "base64"));
    await (await page.$("#canvas")).screenshot({ path: path.join(out, "web_first_frame.png") });
    await page.screenshot({ path: path.join(out, "web_page.png") });
    await page.setViewport({ width: 700, height: 500 });
    await page.screenshot({ path: path.join(out, "web_page_narrow.png") });
  }
  await page.close();
}
console.log("navigation to first play frame, ms:", times.map((t) => t.toFixed(0)).join(" "));
await browser.close();
server.close();
