// Runs one of the browser build's developer tools in headless chromium and copies the files
// it wrote under /out into OUTDIR, so that they can be compared with the desktop tool's.
// Usage: node run_tool.mjs TOOLS_SITE OUTDIR [--no-draw] [--shot PATH.png] [--in NAME=PATH]...
//        -- TOOL ARG...
// Input files are given to the tool as /in/NAME. --no-draw keeps WebGL from drawing, as
// GALLIUM_NOOP=1 does on the desktop; --shot saves the canvas as the tool left it (the last
// frame a replay presented). Exits with the tool's status.
import { mkdir, readFile, writeFile } from "node:fs/promises";
import path from "node:path";
import { launchChromium, serve } from "./harness.mjs";

const [site, outdir, ...rest] = process.argv.slice(2);
const split = rest.indexOf("--");
if (!site || !outdir || split < 0 || split + 1 >= rest.length) {
  console.error("usage: node run_tool.mjs TOOLS_SITE OUTDIR [--no-draw] [--shot PATH.png] [--in NAME=PATH]... -- TOOL ARG...");
  process.exit(2);
}
const inputs = {};
let noDraw = false, shot = null;
for (let i = 0; i < split; ++i) {
  if (rest[i] === "--no-draw") {
    noDraw = true;
    continue;
  }
  if (rest[i] === "--shot" && i + 1 < split) {
    shot = rest[++i];
    continue;
  }
  const [name, file] = (rest[i + 1] || "").split("=");
  if (rest[i] !== "--in" || !file) throw new Error(`not an input: ${rest[i]} ${rest[i + 1]}`);
  inputs[name] = await readFile(file, "utf8");
  ++i;
}
const [tool, ...args] = rest.slice(split + 1);

const { server, base } = await serve(site);
const browser = await launchChromium();
let status = 1;
try {
  const page = await browser.newPage();
  page.on("pageerror", (e) => { if (!String(e).includes("ExitStatus")) console.error(String(e)); });
  await page.goto(base + "index.html");
  const result = await page.evaluate((job) => window.orbRunTool(job), { tool, args, inputs, noDraw });
  if (result.stdout) console.log(result.stdout);
  if (result.stderr) console.error(result.stderr);
  for (const [name, data] of Object.entries(result.files)) {
    const file = path.join(outdir, path.relative("/out", name));
    await mkdir(path.dirname(file), { recursive: true });
    await writeFile(file, Buffer.from(data, "base64"));
  }
  if (shot) await (await page.$("#canvas")).screenshot({ path: shot });
  status = result.code;
} finally {
  await browser.close();
  server.close();
}
process.exit(status);
