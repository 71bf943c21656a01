// The converter as a user meets it: the value typed, a direction chosen with the mouse,
// Convert; "Copy to Clipboard and exit" puts the value on the system clipboard and closes the
// window, and Ctrl+V pastes it into the main window's box.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./lib/browser');

const MAIN = 'frmClearmark';
const CONVERT = 'frmConvert';

const CONVERSIONS = [
  { typed: '1', direction: 'optInchesToMm', result: '25.4' },
  { typed: '25.4', direction: 'optMmToInches', result: '1' },
  { typed: '0.008', direction: 'optInchesToMm', result: '0.2032' },
];

describe('the converter', () => {
  let browser;
  let page;
  before(async () => {
    ({ browser, page } = await web.openProgram());
    await browser
      .defaultBrowserContext()
      .overridePermissions(new URL(web.BASE_URL).origin, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  });
  after(async () => browser?.close());

  // Each case opens the converter and closes it with its caption's Close button.
  for (const c of CONVERSIONS) {
    it(`${c.typed} with ${c.direction} gives ${c.result}`, async () => {
      await web.click(page, MAIN, 'cmdConverter');
      await web.windowOf(page, CONVERT);
      await web.typeInto(page, CONVERT, 'txtData', c.typed);
      await web.click(page, CONVERT, c.direction);
      assert.equal(await page.$eval(web.controlSelector(CONVERT, c.direction), (e) => e.checked), true);
      await web.click(page, CONVERT, 'cmdConvert1');
      await page.waitForFunction((s, v) => document.querySelector(s).value === v, {}, web.controlSelector(CONVERT, 'txtData'), c.result);
      await (await page.waitForSelector(`${web.windowSelector(CONVERT)} ::-p-aria([name="Close"][role="button"])`)).click();
      await page.waitForSelector(web.windowSelector(CONVERT), { hidden: true });
    });
  }

  it('copies the value, closes, and Ctrl+V pastes it into the measured gap', async () => {
    await web.click(page, MAIN, 'cmdConverter');
    await web.typeInto(page, CONVERT, 'txtData', '0.008');
    await web.click(page, CONVERT, 'optInchesToMm');
    await web.click(page, CONVERT, 'cmdConvert1');
    await page.waitForFunction((s) => document.querySelector(s).value === '0.2032', {}, web.controlSelector(CONVERT, 'txtData'));
    await web.click(page, CONVERT, 'cmdCopy');
    const box = await web.messageBox(page);
    assert.equal(box.text, 'Good data to copy. Data =  0.2032');
    assert.deepEqual(box.buttons, ['OK']);
    await web.answerBox(page, 'OK');
    await page.waitForSelector(web.windowSelector(CONVERT), { hidden: true });
    assert.equal(await page.evaluate(() => navigator.clipboard.readText()), '0.2032');

    await web.typeInto(page, MAIN, 'txtGap', '');
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyV');
    await page.keyboard.up('Control');
    await page.waitForFunction((s) => document.querySelector(s).value === '0.2032', {}, web.controlSelector(MAIN, 'txtGap'));
  });

  it('with nothing typed, Copy says so and keeps the window', async () => {
    await web.click(page, MAIN, 'cmdConverter');
    await web.typeInto(page, CONVERT, 'txtData', '');
    await web.click(page, CONVERT, 'cmdCopy');
    const box = await web.messageBox(page);
    assert.deepEqual(box, { caption: 'Error No Data', text: 'No Data to Copy', buttons: ['OK'], modal: true });
    await web.answerBox(page, 'OK');
    await web.windowOf(page, CONVERT);
    web.assertNoPageErrors(page);
  });

  // Last: the converter is left open.
  it('Converter brings the open converter back to the front', async () => {
    await web.click(page, MAIN, 'cmdConverter');
    await web.windowOf(page, CONVERT);
    await web.bringToFront(page, MAIN);
    await web.click(page, MAIN, 'cmdConverter');
    const front = () =>
      page.$$eval('#desktop section.window', (ws) =>
        ws.filter((w) => w.checkVisibility()).sort((a, b) => getComputedStyle(b).zIndex - getComputedStyle(a).zIndex)[0]?.dataset.form,
      );
    assert.equal(await front(), CONVERT, 'the converter stays behind the main window');
  });
});
