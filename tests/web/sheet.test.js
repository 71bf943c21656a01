// The valve sheet's worked example typed in the page: the Triumph twin's gaps and shims,
// Plan, the plan read back row by row; the rows follow the cylinder count; bad input is
// refused with a box; Close asks about the unsaved job.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./lib/browser');
const sheet = require('./lib/sheet');

const { SHEET } = sheet;

// The settings a new sheet starts with, by their boxes.
const DEFAULTS = {
  txtCylinders: '2',
  txtIntakeValves: '2',
  txtExhaustValves: '2',
  txtIntakeFrom: '0.15',
  txtIntakeTo: '0.20',
  txtIntakeAim: '0.175',
  txtExhaustFrom: '0.25',
  txtExhaustTo: '0.30',
  txtExhaustAim: '0.275',
  txtShimsFrom: '2.00',
  txtShimsTo: '3.20',
  txtShimStep: '0.025',
  txtSpares: '',
};

const rowShown = (page, name) =>
  page.$eval(web.controlSelector(SHEET, name), (e) => e.checkVisibility()).catch(() => false);

describe('the valve sheet', () => {
  let browser;
  let page;
  before(async () => ({ browser, page } = await web.openProgram()));
  after(async () => browser?.close());

  it('opens from Tools with the default settings, a date, and Fitted disabled', async () => {
    await sheet.openSheet(page);
    for (const [name, value] of Object.entries(DEFAULTS)) assert.equal(await web.valueOf(page, SHEET, name), value, name);
    assert.match(await web.valueOf(page, SHEET, 'txtDate'), /^\d{4}-\d\d-\d\d$/);
    assert.equal(await page.$eval(web.controlSelector(SHEET, 'cmdFitted'), (e) => e.disabled), true);
    for (const [i, row] of sheet.TWIN.entries())
      assert.equal(await page.$eval(web.controlSelector(SHEET, `lblValve${i + 1}`), (e) => e.textContent.trim()), row.valve);
    assert.equal(await rowShown(page, 'txtGap9'), false);
  });

  it('the rows follow the cylinder count as it is typed', async () => {
    await web.typeInto(page, SHEET, 'txtCylinders', '3');
    await page.waitForSelector(web.controlSelector(SHEET, 'txtGap12'), { visible: true });
    await web.typeInto(page, SHEET, 'txtCylinders', '2');
    await page.waitForSelector(web.controlSelector(SHEET, 'txtGap9'), { hidden: true });
  });

  it('plans the worked twin as the desktop does', async () => {
    await sheet.typeWorkedJob(page);
    await web.click(page, SHEET, 'cmdPlan');
    await page.waitForFunction((s) => document.querySelector(s).value !== '', {}, web.controlSelector(SHEET, 'txtBuy'));
    assert.deepEqual(await sheet.shownPlan(page), sheet.EXPECTED_PLAN);
    assert.equal(await page.$eval(web.controlSelector(SHEET, 'cmdFitted'), (e) => e.disabled), false);
    // The caption marks the unsaved changes.
    assert.equal(await sheet.caption(page), 'Valve Sheet*');
  });

  it('a shim that is no number is refused with a box, and the plan goes', async () => {
    await web.typeInto(page, SHEET, 'txtShim7', '2.4x');
    await web.click(page, SHEET, 'cmdPlan');
    assert.deepEqual(await web.messageBox(page), {
      caption: 'Valve Sheet',
      text: 'Cylinder 2 exhaust 1 shim is not a number',
      buttons: ['OK'],
      modal: true,
    });
    await web.answerBox(page, 'OK');
    await page.waitForFunction((s) => document.querySelector(s).value === '', {}, web.controlSelector(SHEET, 'txtBuy'));
  });

  it('Close asks to save the changes; No closes the sheet', async () => {
    await web.click(page, SHEET, 'cmdClose');
    const box = await web.messageBox(page);
    assert.deepEqual(box, { caption: 'Valve Sheet', text: 'Save changes to Valve Sheet?', buttons: ['Yes', 'No', 'Cancel'], modal: true });
    await web.answerBox(page, 'Cancel');
    await web.windowOf(page, SHEET);
    await web.click(page, SHEET, 'cmdClose');
    await web.messageBox(page);
    await web.answerBox(page, 'No');
    await page.waitForSelector(web.windowSelector(SHEET), { hidden: true });
    web.assertNoPageErrors(page);
  });
});
