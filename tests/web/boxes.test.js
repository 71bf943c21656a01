// Message boxes in the page: a modal <dialog> that takes every key and click while it is
// open, the windows behind it none; Enter, Esc and the mouse close it.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./lib/browser');

const MAIN = 'frmClearmark';
const CONVERT = 'frmConvert';
const BAD_DATA = { caption: 'Error', text: 'Bad data', buttons: ['OK'], modal: true };

// How the box is answered, and with what the calculation was given.
const CLOSINGS = [
  { name: 'Enter', gap: '', close: (page) => page.keyboard.press('Enter') },
  { name: 'Esc', gap: 'abc', close: (page) => page.keyboard.press('Escape') },
  { name: 'a click on OK', gap: '0.2.0', close: (page) => web.answerBox(page, 'OK') },
];

describe('message boxes', () => {
  let browser;
  let page;
  before(async () => ({ browser, page } = await web.openProgram()));
  after(async () => browser?.close());

  for (const c of CLOSINGS) {
    it(`Bad data is a modal box that ${c.name} closes`, async () => {
      await web.typeInto(page, MAIN, 'txtGap', c.gap);
      await web.typeInto(page, MAIN, 'txtOldShim', '2.45');
      await web.click(page, MAIN, 'cmdIntake');
      await web.click(page, MAIN, 'cmdCalculate');
      assert.deepEqual(await web.messageBox(page), BAD_DATA);
      assert.equal(await page.evaluate(() => !!document.activeElement?.closest('dialog.msgbox')), true, 'the box holds the focus');
      await c.close(page);
      await web.noBoxOpen(page);
      await page.waitForSelector(web.controlSelector(MAIN, 'txtNewShim'), { hidden: true });
      assert.equal(await web.valueOf(page, MAIN, 'txtGap'), c.gap);
    });
  }

  it('while a box is open, no other window takes a click or a key', async () => {
    await web.click(page, MAIN, 'cmdConverter');
    await web.windowOf(page, CONVERT);
    // The converter opens over the main window: moved aside, both show every control.
    await web.moveWindow(page, CONVERT, 560, 0);
    await web.typeInto(page, MAIN, 'txtGap', '0.1');
    await web.typeInto(page, CONVERT, 'txtData', '');
    // Every control a click would reach now, in either window, and what each holds.
    const reachable = await page.evaluate(() => {
      const found = [];
      for (const e of document.querySelectorAll('#desktop section.window [data-name]')) {
        const r = e.getBoundingClientRect();
        if (!e.matches('input, button') || !e.checkVisibility() || r.width === 0) continue;
        const x = r.left + r.width / 2;
        const y = r.top + r.height / 2;
        const hit = document.elementFromPoint(x, y);
        if (hit && (hit === e || e.contains(hit) || hit.control === e))
          found.push({ form: e.closest('section.window').dataset.form, name: e.dataset.name, x, y });
      }
      return found;
    });
    const names = reachable.map((r) => `${r.form}.${r.name}`);
    for (const form of [MAIN, CONVERT])
      assert.ok(names.filter((n) => n.startsWith(form + '.')).length >= 3, `few controls of ${form} reachable before the box: ${names}`);
    const state = () =>
      page.evaluate(() =>
        [...document.querySelectorAll('#desktop section.window')].map((w) => ({
          form: w.dataset.form,
          shown: w.checkVisibility(),
          values: [...w.querySelectorAll('input')].map((i) => `${i.dataset.name}=${i.type === 'radio' || i.type === 'checkbox' ? i.checked : i.value}`),
        })),
      );
    await web.click(page, CONVERT, 'cmdConvert1');
    const box = await web.messageBox(page);
    assert.deepEqual(box, { caption: 'Please Enter Data', text: 'No data', buttons: ['OK'], modal: true });
    const before = await state();
    // The points the box itself covers aside: those are clicks on the box.
    const cover = await (await page.$('dialog.msgbox[open]')).boundingBox();
    const behind = reachable.filter(({ x, y }) => x < cover.x || x > cover.x + cover.width || y < cover.y || y > cover.y + cover.height);
    assert.ok(behind.length >= 4, `few controls left uncovered by the box: ${JSON.stringify(behind)}`);
    for (const { x, y } of behind) {
      await page.mouse.click(x, y);
      await page.keyboard.type('7');
    }
    assert.deepEqual(await state(), before, 'a window behind the box took input');
    // The box is still there and keeps the focus, as on the desktop: Enter answers it.
    assert.deepEqual(await web.messageBox(page), box);
    assert.equal(await page.evaluate(() => !!document.activeElement?.closest('dialog.msgbox[open]')), true, 'the focus left the box');
    await page.keyboard.press('Enter');
    await web.noBoxOpen(page);
    // Once it is closed, the windows take input again.
    await web.typeInto(page, CONVERT, 'txtData', '6');
    assert.equal(await web.valueOf(page, CONVERT, 'txtData'), '6');
    web.assertNoPageErrors(page);
  });
});
