// The main window's calculation typed and clicked as a user does: the three values, the
// default-gap buttons, Calculate, the box about shim sizes, the result; Reset clears it.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./lib/browser');

const MAIN = 'frmClearmark';
const SHIM_SIZES = {
  caption: 'Please Adjust your new shim size as follows (for Triumph Motorcycles):',
  text:
    'Triumph shims come in 0.025mm increments from 2.00 to 3.20mm in 0.025mm increments. ' +
    'Adjust the approx. size above accordingly to match the available shim sizes.',
  buttons: ['OK'],
};

// The desired gap typed, or set by one of the default buttons.
const CASES = [
  { name: 'typed desired gap', gap: '0.20', shim: '2.45', desired: '0.175', result: '2.475' },
  { name: 'IN button', gap: '0.20', shim: '2.45', button: 'cmdIntake', desired: '0.175', result: '2.475' },
  { name: 'EX button', gap: '0.10', shim: '2.50', button: 'cmdExhaust', desired: '0.275', result: '2.325' },
  { name: 'wider gap than wanted', gap: '0.35', shim: '2.40', desired: '0.275', result: '2.475' },
];

describe('the worked calculation', () => {
  let browser;
  let page;
  before(async () => ({ browser, page } = await web.openProgram()));
  after(async () => browser?.close());

  it('starts with the result hidden', async () => {
    await page.waitForSelector(web.controlSelector(MAIN, 'txtNewShim'), { hidden: true });
    await page.waitForSelector(web.controlSelector(MAIN, 'lblNewShim'), { hidden: true });
  });

  for (const c of CASES) {
    it(c.name, async () => {
      await web.click(page, MAIN, 'cmdReset');
      await web.typeInto(page, MAIN, 'txtGap', c.gap);
      await web.typeInto(page, MAIN, 'txtOldShim', c.shim);
      if (c.button) await web.click(page, MAIN, c.button);
      else await web.typeInto(page, MAIN, 'txtSpec', c.desired);
      assert.equal(await web.valueOf(page, MAIN, 'txtSpec'), c.desired);
      await web.click(page, MAIN, 'cmdCalculate');
      const box = await web.messageBox(page);
      assert.deepEqual({ caption: box.caption, text: box.text, buttons: box.buttons }, SHIM_SIZES);
      await web.answerBox(page, 'OK');
      await web.control(page, MAIN, 'txtNewShim');
      assert.equal(await web.valueOf(page, MAIN, 'txtNewShim'), c.result);
      await web.control(page, MAIN, 'lblNewShim');
      // What was typed stays.
      assert.equal(await web.valueOf(page, MAIN, 'txtGap'), c.gap);
      assert.equal(await web.valueOf(page, MAIN, 'txtOldShim'), c.shim);
    });
  }

  it('Calculate with the keyboard: Tab from box to box and on to Calculate, Space presses it', async () => {
    await web.click(page, MAIN, 'cmdReset');
    await web.typeInto(page, MAIN, 'txtGap', '0.20');
    await page.keyboard.press('Tab');
    await page.keyboard.type('2.45');
    await page.keyboard.press('Tab');
    await page.keyboard.type('0.175');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement?.dataset.name), 'cmdCalculate');
    await page.keyboard.press('Space');
    await web.messageBox(page);
    await page.keyboard.press('Enter');
    await web.noBoxOpen(page);
    assert.equal(await web.valueOf(page, MAIN, 'txtNewShim'), '2.475');
  });

  it('Reset empties every box and hides the result', async () => {
    await web.click(page, MAIN, 'cmdReset');
    for (const name of ['txtGap', 'txtOldShim', 'txtSpec']) assert.equal(await web.valueOf(page, MAIN, name), '', name);
    await page.waitForSelector(web.controlSelector(MAIN, 'txtNewShim'), { hidden: true });
    await page.waitForSelector(web.controlSelector(MAIN, 'lblNewShim'), { hidden: true });
    web.assertNoPageErrors(page);
  });
});
