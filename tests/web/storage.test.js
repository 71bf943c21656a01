// The shim box kept in the browser's storage: saved, it is there again after a reload (and
// fills a new valve sheet's spare shims); changes not saved are not.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./lib/browser');

const BOX = 'frmShimBox';
const SIZES = '2.45 2.40 2.45';
const COUNTED = '3 shims: 1 \u00d7 2.400, 2 \u00d7 2.450';

async function openBox(page) {
  await web.chooseMenu(page, 'frmClearmark', 'Tools', 'Shim Box...');
  await web.windowOf(page, BOX);
}

async function reload(page) {
  await page.reload({ waitUntil: 'load' });
  await web.waitReady(page);
}

describe('the shim box over a reload', () => {
  let browser;
  let page;
  before(async () => ({ browser, page } = await web.openProgram()));
  after(async () => browser?.close());

  it('starts empty', async () => {
    await openBox(page);
    assert.equal(await web.valueOf(page, BOX, 'txtShims'), '');
    assert.equal(await web.valueOf(page, BOX, 'txtCount'), 'No shims');
  });

  it('counts the sizes as they are typed, and saves them', async () => {
    await web.typeInto(page, BOX, 'txtShims', SIZES);
    await page.waitForFunction((s, c) => document.querySelector(s).value === c, {}, web.controlSelector(BOX, 'txtCount'), COUNTED);
    await web.click(page, BOX, 'cmdSave');
    await web.click(page, BOX, 'cmdClose');
    await page.waitForSelector(web.windowSelector(BOX), { hidden: true });
  });

  it('holds them after a reload', async () => {
    await reload(page);
    await openBox(page);
    assert.equal(await web.valueOf(page, BOX, 'txtShims'), SIZES);
    assert.equal(await web.valueOf(page, BOX, 'txtCount'), COUNTED);
  });

  it("a new valve sheet takes them as its spare shims", async () => {
    await web.chooseMenu(page, 'frmClearmark', 'Tools', 'Valve Sheet...');
    await web.windowOf(page, 'frmValveSheet');
    assert.equal(await web.valueOf(page, 'frmValveSheet', 'txtSpares'), SIZES);
    await (await page.waitForSelector(`${web.windowSelector('frmValveSheet')} ::-p-aria([name="Close"][role="button"])`)).click();
    const asked = await page.waitForSelector('dialog.msgbox[open]', { visible: true, timeout: 1000 }).catch(() => null);
    if (asked) await web.answerBox(page, 'No');
    await page.waitForSelector(web.windowSelector('frmValveSheet'), { hidden: true });
  });

  it('a change not saved is gone after a reload', async () => {
    await web.typeInto(page, BOX, 'txtShims', '2.50');
    // Leaving with unsaved changes may ask first; the page is left all the same.
    page.once('dialog', (dialog) => dialog.accept());
    await reload(page);
    await openBox(page);
    assert.equal(await web.valueOf(page, BOX, 'txtShims'), SIZES);
    web.assertNoPageErrors(page);
  });
});
