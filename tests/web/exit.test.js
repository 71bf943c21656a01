// Exit in the page: the question first (Cancel keeps everything), then every window goes and
// the page says the program has ended, with a button that starts it again.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./lib/browser');

const MAIN = 'frmClearmark';
const EXIT_BOX = { caption: 'EXIT Program', text: 'Are you sure you want to Exit program', buttons: ['OK', 'Cancel'], modal: true };

const openWindows = (page) =>
  page.evaluate(() => [...document.querySelectorAll('#desktop section.window')].filter((w) => w.checkVisibility()).map((w) => w.dataset.form).sort());

describe('Exit', () => {
  let browser;
  let page;
  before(async () => ({ browser, page } = await web.openProgram()));
  after(async () => browser?.close());

  it('asks first; Cancel keeps the program and its windows', async () => {
    await web.click(page, MAIN, 'cmdConverter');
    await web.windowOf(page, 'frmConvert');
    await web.typeInto(page, MAIN, 'txtGap', '0.20');
    await web.click(page, MAIN, 'cmdExit');
    assert.deepEqual(await web.messageBox(page), EXIT_BOX);
    await web.answerBox(page, 'Cancel');
    assert.deepEqual(await openWindows(page), ['frmClearmark', 'frmConvert']);
    assert.equal(await page.evaluate(() => document.documentElement.dataset.clearmark), 'ready');
    assert.equal(await web.valueOf(page, MAIN, 'txtGap'), '0.20');
  });

  it('OK ends it: every window goes, the page says so', async () => {
    await web.click(page, MAIN, 'cmdExit');
    await web.messageBox(page);
    await web.answerBox(page, 'OK');
    await web.waitReady(page, 'ended');
    assert.deepEqual(await openWindows(page), []);
    const ended = await page.waitForSelector('#ended', { visible: true });
    assert.match(await ended.evaluate((e) => e.textContent), /Clearmark has ended\./);
    assert.equal(await page.$('dialog.msgbox[open]'), null);
  });

  it('the button under it starts the program again, fresh', async () => {
    const again = await page.waitForSelector('#ended button', { visible: true });
    await again.click();
    await web.waitReady(page);
    await web.windowOf(page, MAIN);
    await page.waitForSelector('#ended', { hidden: true });
    assert.deepEqual(await openWindows(page), ['frmClearmark']);
    assert.equal(await web.valueOf(page, MAIN, 'txtGap'), '');
    // And it works: a calculation.
    await web.typeInto(page, MAIN, 'txtGap', '0.20');
    await web.typeInto(page, MAIN, 'txtOldShim', '2.45');
    await web.click(page, MAIN, 'cmdIntake');
    await web.click(page, MAIN, 'cmdCalculate');
    await web.answerBox(page, 'OK');
    assert.equal(await web.valueOf(page, MAIN, 'txtNewShim'), '2.475');
  });

  it("closing the main window with its caption's Close button ends the program without a question", async () => {
    const close = await page.waitForSelector(`${web.windowSelector(MAIN)} ::-p-aria([name="Close"][role="button"])`);
    await close.click();
    await web.waitReady(page, 'ended');
    assert.deepEqual(await openWindows(page), []);
    web.assertNoPageErrors(page);
  });
});
