// The page on a phone's screen, 360 x 740: one window shown at a time, the others listed in
// the window list; in every window each control can be scrolled to and clicked, and no text
// is smaller than on a wide screen.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./lib/browser');

const MAIN = 'frmClearmark';
const PHONE = { width: 360, height: 740, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const WIDE = { width: 1280, height: 900 };

// Each window, its caption, and how it is opened from the main window.
const WINDOWS = [
  { form: 'frmClearmark', caption: "Dorvan's Clearmark" },
  { form: 'frmConvert', caption: 'Conversion Form', open: (page) => web.click(page, MAIN, 'cmdConverter') },
  { form: 'frmHelpCalculator', caption: 'How To Use Calculator', open: (page) => web.chooseMenu(page, MAIN, 'Help', 'Help') },
  { form: 'frmValveSheet', caption: 'Valve Sheet', open: (page) => web.chooseMenu(page, MAIN, 'Tools', 'Valve Sheet...') },
  { form: 'frmShimBox', caption: 'Shim Box', open: (page) => web.chooseMenu(page, MAIN, 'Tools', 'Shim Box...') },
  { form: 'frmAbout', caption: 'About Clearmark', open: (page) => web.chooseMenu(page, MAIN, 'Help', 'About') },
];

// Each shown control of a window and the size its text is seen at (its font size times the
// page's zoom).
function textSizes(form) {
  const zoom = window.visualViewport?.scale ?? 1;
  const sizes = {};
  for (const e of document.querySelectorAll(`#desktop section.window[data-form="${form}"] [data-name]`))
    if (e.checkVisibility()) sizes[e.dataset.name] = parseFloat(getComputedStyle(e).fontSize) * zoom;
  return sizes;
}

// What keeps a user from a window's controls: one that the scrolling a user can do (the
// page's, or a box's with scroll bars) does not bring into view, so that too little of it
// shows to be clicked, or one that something else covers there.
function unreachable(form) {
  const problems = [];
  const userScrolls = (e, axis) => e === document.scrollingElement || ['auto', 'scroll'].includes(getComputedStyle(e)[`overflow${axis}`]);
  for (const e of document.querySelectorAll(`#desktop section.window[data-form="${form}"] [data-name]`)) {
    if (!e.checkVisibility() || e.getBoundingClientRect().width === 0) continue;
    const boxes = [];
    for (let a = e.parentElement; a; a = a.parentElement) boxes.push([a, a.scrollLeft, a.scrollTop]);
    e.scrollIntoView({ block: 'center', inline: 'center' });
    // Scrolling no user can do is undone.
    for (const [a, left, top] of boxes) {
      if (!userScrolls(a, 'X')) a.scrollLeft = left;
      if (!userScrolls(a, 'Y')) a.scrollTop = top;
    }
    // The part of it that shows: within the screen and every box that clips it.
    const r = e.getBoundingClientRect();
    let [left, top, right, bottom] = [r.left, r.top, r.right, r.bottom];
    const view = window.visualViewport;
    [left, top, right, bottom] = [Math.max(left, 0), Math.max(top, 0), Math.min(right, view.width), Math.min(bottom, view.height)];
    for (const [a] of boxes) {
      if (a === document.documentElement || a === document.body) continue;
      const style = getComputedStyle(a);
      if (style.overflowX === 'visible' && style.overflowY === 'visible') continue;
      const c = a.getBoundingClientRect();
      const inner = { left: c.left + a.clientLeft, top: c.top + a.clientTop };
      [left, top] = [Math.max(left, inner.left), Math.max(top, inner.top)];
      [right, bottom] = [Math.min(right, inner.left + a.clientWidth), Math.min(bottom, inner.top + a.clientHeight)];
    }
    if (right - left < Math.min(r.width, 8) || bottom - top < Math.min(r.height, 8)) {
      problems.push(`${e.dataset.name}: does not show (${Math.round(Math.max(0, right - left))} x ${Math.round(Math.max(0, bottom - top))} px of it)`);
      continue;
    }
    const x = (left + right) / 2;
    const y = (top + bottom) / 2;
    const hit = document.elementFromPoint(x, y);
    if (e.matches('input, button') && !(hit === e || e.contains(hit) || hit?.control === e))
      problems.push(`${e.dataset.name}: covered by ${hit?.outerHTML.slice(0, 60)}`);
  }
  window.scrollTo(0, 0);
  return problems;
}

async function shownWindows(page) {
  return page.evaluate(() =>
    [...document.querySelectorAll('#desktop section.window')].filter((w) => w.checkVisibility()).map((w) => w.dataset.form),
  );
}

// The window list's entry for the caption, clicked.
async function showFromList(page, caption) {
  const listed = () => page.$$eval('nav.window-list :is(button, a)', (es) => es.map((e) => e.textContent.trim()));
  const entry = await page.waitForFunction(
    (c) =>
      [...document.querySelectorAll('nav.window-list button, nav.window-list a, nav.window-list [role=tab], nav.window-list [role=option]')].find(
        (e) => e.checkVisibility() && (e.getAttribute('aria-label') || e.textContent).trim().replace(/\*$/, '') === c,
      ),
    { timeout: 5000 },
    caption,
  ).catch(async () => assert.fail(`no entry ${JSON.stringify(caption)} in the window list: ${JSON.stringify(await listed())}`));
  await entry.click();
}

async function openEach(page, { narrow }) {
  const sizes = {};
  for (const w of WINDOWS) {
    if (w.open) {
      if (narrow) await showFromList(page, WINDOWS[0].caption);
      await w.open(page);
    }
    await web.windowOf(page, w.form);
    sizes[w.form] = await page.evaluate(textSizes, w.form);
    // On a wide screen the windows may overlap: each goes before the next is opened.
    if (!narrow && w.open) {
      const close = await page.waitForSelector(`${web.windowSelector(w.form)} ::-p-aria([name="Close"][role="button"])`);
      await close.click();
      await page.waitForSelector(web.windowSelector(w.form), { hidden: true });
    }
  }
  return sizes;
}

describe('a 360 x 740 screen', () => {
  let browser;
  let page;
  let wideSizes;
  before(async () => {
    ({ browser, page } = await web.openProgram({ viewport: WIDE }));
    wideSizes = await openEach(page, { narrow: false });
    await page.setViewport(PHONE);
    await page.reload({ waitUntil: 'load' });
    await web.waitReady(page);
  });
  after(async () => browser?.close());

  it('has no page-wide horizontal scrolling beyond the screen at start', async () => {
    const width = await page.evaluate(() => document.documentElement.scrollWidth);
    assert.ok(width <= 360, `the page is ${width} px wide`);
  });

  let narrowSizes;
  it('opens every window, one shown at a time, all in the window list', async () => {
    narrowSizes = await openEach(page, { narrow: true });
    assert.equal((await shownWindows(page)).length, 1);
    const listed = await page.$$eval('nav.window-list', (lists) => lists.filter((l) => l.checkVisibility()).map((l) => l.textContent));
    assert.equal(listed.length, 1, 'no window list shown');
    for (const w of WINDOWS) assert.ok(listed[0].includes(w.caption), `${w.caption} is not in the window list: ${listed[0]}`);
  });

  // About, opened last, is checked first, where it is (it may take all input while it is
  // open), then closed with OK; the others are shown from the window list.
  const ABOUT = WINDOWS.at(-1);
  for (const w of [ABOUT, ...WINDOWS.slice(0, -1)])
    it(`${w.caption}: every control reachable, no text smaller than on a wide screen`, async () => {
      if (w !== ABOUT) {
        if ((await shownWindows(page)).includes(ABOUT.form)) {
          await web.click(page, ABOUT.form, 'cmdOK');
          await page.waitForSelector(web.windowSelector(ABOUT.form), { hidden: true });
        }
        await showFromList(page, w.caption);
      }
      await page.waitForFunction((f) => document.querySelector(`#desktop section.window[data-form="${f}"]`)?.checkVisibility(), {}, w.form);
      assert.deepEqual(await shownWindows(page), [w.form]);
      assert.deepEqual(await page.evaluate(unreachable, w.form), []);
      const smaller = Object.entries(wideSizes[w.form])
        .filter(([name, size]) => name in narrowSizes[w.form] && narrowSizes[w.form][name] < size - 0.1)
        .map(([name, size]) => `${name}: ${narrowSizes[w.form][name].toFixed(1)} px, ${size.toFixed(1)} px wide`);
      assert.deepEqual(smaller, []);
      const now = await page.evaluate(textSizes, w.form);
      const tooSmall = Object.entries(now).filter(([, size]) => size < 11).map(([name, size]) => `${name}: ${size} px`);
      assert.deepEqual(tooSmall, [], 'text below 8.25 pt');
    });

  it('the calculation works by touch-sized clicks and typing on the phone screen', async () => {
    await showFromList(page, WINDOWS[0].caption);
    await web.typeInto(page, MAIN, 'txtGap', '0.20');
    await web.typeInto(page, MAIN, 'txtOldShim', '2.45');
    await web.click(page, MAIN, 'cmdIntake');
    await web.click(page, MAIN, 'cmdCalculate');
    await web.answerBox(page, 'OK');
    assert.equal(await web.valueOf(page, MAIN, 'txtNewShim'), '2.475');
    web.assertNoPageErrors(page);
  });
});
