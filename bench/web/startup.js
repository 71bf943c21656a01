// Warm startup of the browser version against a minimal emscripten page, in Debian's Chromium:
// the time from the start of a navigation to the page's "ready" mark
// (document.documentElement.dataset.clearmark = "ready", which the program sets once its main
// window is shown and the minimal program once its one text box is), taken by the page's own
// clock (performance.now() counts from the start of its navigation).
// Each page is served on a port of its own (its own origin, its own service worker), visited
// once and again so that its service worker holds it, then the two are loaded in turn, ROUNDS
// times, the order alternating each round; the medians and their ratio are printed.
//   node bench/web/startup.js APP_FOLDER MINIMAL_FOLDER [ROUNDS]
"use strict";
const childProcess = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");

const root = path.resolve(__dirname, "..", "..");
let puppeteer;
try {
  puppeteer = require(path.join(root, "tests", "web", "node_modules", "puppeteer-core"));
} catch (error) {
  console.error("bench-web: puppeteer-core is missing: run npm ci --prefix tests/web first");
  process.exit(2);
}

const [appFolder, minimalFolder, roundsText = "20"] = process.argv.slice(2);
const rounds = Number(roundsText);
const chromium = process.env.CHROMIUM || "/usr/bin/chromium";
const goal = 1.2;

// scripts/serve-web on a free port; resolves to its address once it says it.
function serve(folder) {
  const server = childProcess.spawn(path.join(root, "scripts", "serve-web"), [folder, "0"], {
    stdio: ["ignore", "pipe", "inherit"],
    env: { ...process.env, SERVE_WEB_QUIET: "1" },
  });
  return new Promise((resolve, reject) => {
    server.once("error", reject);
    server.once("exit", (code) => reject(new Error(`serve-web ${folder} ended (${code})`)));
    server.stdout.on("data", (data) => {
      const address = /http:\/\/127\.0\.0\.1:\d+\//.exec(String(data));
      if (address) resolve({ server, url: address[0] });
    });
  });
}

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

async function main() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "clearmark-bench-web-"));
  const servers = [];
  let browser;
  try {
    const pages = [
      { name: "clearmark", ...(await serve(appFolder)), times: [] },
      { name: "minimal page", ...(await serve(minimalFolder)), times: [] },
    ];
    servers.push(...pages.map((page) => page.server));
    browser = await puppeteer.launch({
      executablePath: chromium,
      ignoreDefaultArgs: true,
      pipe: true,
      args: ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        `--user-data-dir=${profile}`, "about:blank"],
    });
    const tab = (await browser.pages())[0] || (await browser.newPage());
    // The moment of the mark, by the page's clock, kept where the benchmark can read it.
    await tab.evaluateOnNewDocument(() => {
      new MutationObserver((changes, observer) => {
        if (document.documentElement.dataset.clearmark !== "ready") return;
        window.__clearmarkReadyAt = performance.now();
        observer.disconnect();
      }).observe(document, { subtree: true, attributes: true, attributeFilter: ["data-clearmark"] });
    });
    const load = async (page) => {
      await tab.goto(page.url, { waitUntil: "domcontentloaded", timeout: 60000 });
      await tab.waitForFunction(() => window.__clearmarkReadyAt !== undefined, { timeout: 60000 });
      return tab.evaluate(() => window.__clearmarkReadyAt);
    };

    const version = await browser.version();
    console.log(`Warm startup in Chromium (${version}): navigation to "ready", ${rounds} rounds, alternating`);
    for (const page of pages) {
      page.first = await load(page);
      await tab.evaluate(() => navigator.serviceWorker.ready.then(() => true));
      await load(page); // the first load served by the service worker
    }
    for (let round = 0; round < rounds; round++) {
      const order = round % 2 ? [...pages].reverse() : pages;
      for (const page of order) page.times.push(await load(page));
      process.stdout.write(process.stdout.isTTY ? `\r  round ${round + 1}/${rounds}` : ".");
    }
    process.stdout.write("\n");
    for (const page of pages) {
      page.median = median(page.times);
      const low = Math.min(...page.times).toFixed(1);
      const high = Math.max(...page.times).toFixed(1);
      console.log(`  ${page.name.padEnd(13)} median ${page.median.toFixed(1).padStart(7)} ms ` +
        `(${low} to ${high}; first visit, served by the server: ${page.first.toFixed(1)} ms)`);
    }
    const ratio = pages[0].median / pages[1].median;
    console.log(`  ratio ${ratio.toFixed(2)} (goal at most ${goal}: ${ratio <= goal ? "met" : "NOT met"})`);
  } finally {
    if (browser) await browser.close();
    for (const server of servers) server.kill();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(`bench-web: ${error.stack || error}`);
  process.exit(1);
});
