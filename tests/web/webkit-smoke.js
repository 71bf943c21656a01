// The page in WebKit (Debian's WebKitGTK MiniBrowser, driven through WebKitWebDriver over
// the WebDriver protocol): it starts, and the worked calculation typed into its boxes and
// calculated gives the desktop's result.
//   node webkit-smoke.js
// CLEARMARK_WEB_URL: the page; MINIBROWSER, WEBKIT_WEBDRIVER: where the two programs are.
'use strict';
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const net = require('node:net');

const PAGE = process.env.CLEARMARK_WEB_URL || 'http://127.0.0.1:8000/';
const DRIVER = process.env.WEBKIT_WEBDRIVER || '/usr/bin/WebKitWebDriver';
const BROWSER =
  process.env.MINIBROWSER ||
  ['/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', '/usr/lib/aarch64-linux-gnu/webkit2gtk-4.1/MiniBrowser', '/usr/libexec/webkit2gtk-4.1/MiniBrowser'].find(
    (p) => fs.existsSync(p),
  );
const ELEMENT = 'element-6066-11e4-a52e-4f735466cecf';
const MAIN = '#desktop section.window[data-form="frmClearmark"]';

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
    server.on('error', reject);
  });
}

async function until(what, seconds, check) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const found = await check().catch(() => null);
    if (found) return found;
    if (Date.now() > deadline) throw new Error(`${what}: not within ${seconds} s`);
    await sleep(200);
  }
}

async function main() {
  if (!BROWSER) throw new Error('no MiniBrowser (package libwebkit2gtk-4.1-0) found');
  const port = await freePort();
  const driver = spawn(DRIVER, [`--port=${port}`], { stdio: ['ignore', 'ignore', 'inherit'] });
  const base = `http://127.0.0.1:${port}`;
  let session = null;
  const send = async (method, path, body) => {
    const response = await fetch(`${base}${path}`, {
      method,
      headers: { 'content-type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await response.json();
    if (!response.ok) throw new Error(`${method} ${path}: ${answer.value?.error}: ${answer.value?.message}`);
    return answer.value;
  };
  const command = (method, path, body) => send(method, `/session/${session}${path}`, body);
  const script = (source, ...args) => command('POST', '/execute/sync', { script: source, args });
  const find = async (css) => (await command('POST', '/element', { using: 'css selector', value: css }))[ELEMENT];
  const control = (name) => find(`${MAIN} [data-name="${name}"]`);
  try {
    await until('WebKitWebDriver listening', 20, () => send('GET', '/status').then((s) => s.ready !== undefined));
    const created = await send('POST', '/session', {
      capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': { binary: BROWSER, args: ['--automation'] } } },
    });
    session = created.sessionId;
    console.log(`WebKit: ${created.capabilities.browserName} ${created.capabilities.browserVersion}`);
    await command('POST', '/url', { url: PAGE });
    await until('the program ready', 60, () => script('return document.documentElement.dataset.clearmark === "ready"'));

    for (const [name, text] of [['txtGap', '0.20'], ['txtOldShim', '2.45'], ['txtSpec', '0.175']]) {
      const box = await control(name);
      await command('POST', `/element/${box}/click`, {});
      await command('POST', `/element/${box}/clear`, {});
      await command('POST', `/element/${box}/value`, { text });
    }
    await command('POST', `/element/${await control('cmdCalculate')}/click`, {});
    const ok = await until('the box about shim sizes', 10, () =>
      find('dialog.msgbox[open] button').then(async (b) => ((await command('GET', `/element/${b}/text`)).trim() === 'OK' ? b : null)),
    );
    const text = await script('return document.querySelector("dialog.msgbox[open] .msgbox-text").textContent');
    if (!text.startsWith('Triumph shims come in 0.025mm increments')) throw new Error(`the box reads: ${text}`);
    await command('POST', `/element/${ok}/click`, {});
    await until('the box closed', 10, () => script('return !document.querySelector("dialog.msgbox[open]")'));
    const result = await command('GET', `/element/${await control('txtNewShim')}/property/value`);
    const shown = await command('GET', `/element/${await control('txtNewShim')}/displayed`);
    if (result !== '2.475' || !shown) throw new Error(`the new shim reads ${JSON.stringify(result)}, ${shown ? 'shown' : 'hidden'}; 2.475 expected`);
    console.log('WebKit: the program started and calculated 2.475');
    return 0;
  } finally {
    if (session) await send('DELETE', `/session/${session}`).catch(() => {});
    driver.kill();
  }
}

main().then(
  (code) => {
    console.log('webkit smoke: 1 passed, 0 failed');
    process.exit(code);
  },
  (error) => {
    console.log(`FAIL: ${error.message}`);
    console.log('webkit smoke: 0 passed, 1 failed');
    process.exit(1);
  },
);
