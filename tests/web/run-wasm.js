// Runs a C++ test program compiled to WebAssembly (GoogleTest) in Debian's Chromium: loads
// run-wasm.html with the program's name and arguments, copies what it prints to this
// process's output, and passes only when it ends with status 0, GoogleTest's "[  PASSED  ]"
// and no "[  FAILED  ]". A program that does not end in time fails naming the test that was
// running.
//   node run-wasm.js NAME [ARGUMENT...]
// CLEARMARK_WEB_URL: the server (scripts/test-web) with the runner at /runner/ and the built
// tests at /wasm-tests/; CLEARMARK_WASM_TIMEOUT: seconds (600).
'use strict';
const web = require('./lib/browser');

const [name, ...args] = process.argv.slice(2);
const timeoutSeconds = Number(process.env.CLEARMARK_WASM_TIMEOUT || 600);

// The GoogleTest lines that say which test runs and which ended.
const RUN = /^\[ RUN {6}\] (\S+)/;
const DONE = /^\[ {7}OK \] (\S+)|^\[  FAILED  \] (\S+) \(/;
const SUMMARY = /^\[==========\] \d+ tests? from \d+ test suites? ran/;

async function main() {
  if (!name) {
    console.error('usage: run-wasm.js NAME [ARGUMENT...]');
    return 2;
  }
  const started = Date.now();
  const lines = [];
  let running = null;
  let summary = false;
  const browser = await web.launch();
  try {
    const [page] = await browser.pages();
    // The clipboard's tests copy and paste through the system's clipboard.
    await browser
      .defaultBrowserContext()
      .overridePermissions(new URL(web.BASE_URL).origin, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    page.on('console', (message) => {
      const text = message.text();
      lines.push(text);
      (message.type() === 'error' ? process.stderr : process.stdout).write(text + '\n');
      const run = RUN.exec(text);
      if (run) running = run[1];
      else if (DONE.test(text)) running = null;
      if (SUMMARY.test(text)) summary = true;
    });
    // An error no one caught: in a test program, a trap (RuntimeError) or an exception out of
    // a callback, after which it never goes on. It has ended once it stays quiet a while.
    let uncaught = null;
    let lastOutput = Date.now();
    page.on('console', () => (lastOutput = Date.now()));
    page.on('pageerror', (error) => {
      uncaught ??= { error: String(error.message ?? error).split('\n')[0], test: running };
      console.error(`uncaught: ${error}`);
    });
    let crashed = null;
    page.on('error', (error) => (crashed = String(error)));
    // The clipboard answers a focused page only: this one counts as focused throughout, as
    // the window a user works in is.
    await page.bringToFront();
    const session = await page.createCDPSession();
    await session.send('Emulation.setFocusEmulationEnabled', { enabled: true });
    const url = new URL('runner/run-wasm.html', web.BASE_URL);
    url.searchParams.set('test', name);
    url.searchParams.set('args', args.join(' '));
    await page.goto(url.href, { waitUntil: 'load' });

    let ended = null;
    while (!ended && !crashed) {
      if ((Date.now() - started) / 1000 > timeoutSeconds) break;
      await new Promise((r) => setTimeout(r, 250));
      // A program busy in a test holds the page's thread: the question goes unanswered, and
      // is asked again until the time is up.
      const answer = page.evaluate(() => window.__ended ?? (window.__mainReturned ? { how: 'returned' } : null));
      answer.catch(() => {});
      ended = await Promise.race([answer, new Promise((r) => setTimeout(() => r(null), 2000))]).catch((e) => {
        crashed = String(e);
        return null;
      });
      // main returned without exit(): its end is the summary GoogleTest prints last.
      if (ended?.how === 'returned' && !summary) ended = null;
      if (!ended && uncaught && Date.now() - lastOutput > 5000)
        ended = { how: 'abort', what: `uncaught ${uncaught.error}`, test: uncaught.test };
    }
    const seconds = ((Date.now() - started) / 1000).toFixed(1);
    const passed = lines.some((l) => l.startsWith('[  PASSED  ]'));
    const failed = lines.some((l) => l.startsWith('[  FAILED  ]'));
    const problems = [];
    if (crashed) problems.push(`the page crashed: ${crashed}`);
    else if (!ended) problems.push(`${name} did not end in ${timeoutSeconds} s; ${running ? `the test running: ${running}` : 'no test was running (stuck before or between tests)'}`);
    else if (ended.how === 'abort') {
      const test = ended.test ?? running;
      problems.push(`${name} aborted${test ? ` in ${test}` : ''}: ${ended.what}`);
    }
    else if (ended.how === 'exit' && ended.code !== 0) problems.push(`${name} ended with status ${ended.code}`);
    if (ended && ended.how !== 'abort') {
      if (!passed) problems.push('no "[  PASSED  ]" line');
      if (failed) problems.push('"[  FAILED  ]" lines');
    }
    if (ended?.how === 'returned') console.log(`(${name} returned from main without an exit status: judged by its output)`);
    for (const p of problems) console.log(`FAIL: ${p}`);
    console.log(`${name} in Chromium: ${problems.length ? 'failed' : 'passed'} in ${seconds} s`);
    return problems.length ? 1 : 0;
  } finally {
    await browser.close();
  }
}

main().then(
  (code) => process.exit(code),
  (error) => {
    console.error(error);
    process.exit(1);
  },
);
