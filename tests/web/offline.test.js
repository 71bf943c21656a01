// The page without the network: once loaded and its service worker active, a reload with
// the server gone (and the browser offline) still starts the program, and it calculates.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./lib/browser');
const { startServer } = require('./lib/server');

const MAIN = 'frmClearmark';

describe('offline', () => {
  let browser;
  let page;
  let server;
  before(async () => {
    server = await startServer();
    ({ browser, page } = await web.openProgram({ url: server.url }));
  });
  after(async () => {
    await browser?.close();
    await server?.stop();
  });

  it('the service worker is active and controls the page', async () => {
    const state = await page.evaluate(async () => {
      const ready = navigator.serviceWorker.ready.then(async ({ active }) => {
        if (active.state === 'activating') await new Promise((r) => active.addEventListener('statechange', r, { once: true }));
        return active.state;
      });
      return Promise.race([ready, new Promise((r) => setTimeout(() => r('no service worker within 20 s'), 20000))]);
    });
    assert.equal(state, 'activated');
    // The first load is not controlled until the worker claims it; a reload is.
    await page.reload({ waitUntil: 'load' });
    await web.waitReady(page);
    assert.equal(await page.evaluate(() => !!navigator.serviceWorker.controller), true);
  });

  it('reloaded offline, the program starts and calculates', async () => {
    await server.stop();
    await page.setOfflineMode(true);
    try {
      // The server is really gone: what the worker has not kept cannot be fetched.
      const fetched = await page.evaluate(() => fetch('/no-such-file-' + Date.now()).then((r) => `fetched ${r.status}`, () => 'failed'));
      assert.equal(fetched, 'failed');
      await page.reload({ waitUntil: 'load' });
      await web.waitReady(page);
      await web.typeInto(page, MAIN, 'txtGap', '0.20');
      await web.typeInto(page, MAIN, 'txtOldShim', '2.45');
      await web.click(page, MAIN, 'cmdIntake');
      await web.click(page, MAIN, 'cmdCalculate');
      await web.answerBox(page, 'OK');
      assert.equal(await web.valueOf(page, MAIN, 'txtNewShim'), '2.475');
    } finally {
      await page.setOfflineMode(false);
    }
    web.assertNoPageErrors(page);
  });
});
