// What the browser scripts share: a static server for a built folder on localhost and
// headless chromium on SwiftShader.
import { mkdtemp, readFile } from "node:fs/promises";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const kTypes = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };

// Serves `root` on a free localhost port; resolves with the server and its base address.
export async function serve(root) {
  const server = http.createServer(async (req, res) => {
    const name = new URL(req.url, "http://x").pathname.replace(/^\/$/, "/index.html");
    try {
      const body = await readFile(path.join(root, path.normalize(name)));
      res.writeHead(200, { "Content-Type": kTypes[path.extname(name)] || "application/octet-stream" });
      res.end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
  await new Promise((ok) => server.listen(0, "127.0.0.1", ok));
  return { server, base: `http://127.0.0.1:${server.address().port}/` };
}

// Headless chromium with WebGL 2 on SwiftShader (or without it, given `args` that turn it off).
export async function launchChromium(args = ["--use-angle=swiftshader", "--enable-unsafe-swiftshader"]) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    userDataDir: await mkdtemp(path.join(os.tmpdir(), "orb-chromium-")),
    protocolTimeout: 1800000,  // a long replay is one evaluate
    args: ["--no-sandbox", ...args, "--disable-background-networking",
           "--disable-component-update", "--disable-sync", "--no-first-run",
           "--window-size=1300,700"],
  });
}
