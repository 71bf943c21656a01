// Debian's Chromium for the browser tests, headed on the display scripts/test-web sets up,
// with a fresh profile each launch; and the page's parts as the tests meet them (windows,
// controls by their design names, message boxes), driven with real input through the
// DevTools protocol.
'use strict';
const assert = require('node:assert/strict');
const puppeteer = require('puppeteer-core');

const BASE_URL = process.env.CLEARMARK_WEB_URL || 'http://127.0.0.1:8000/';
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
// How long the program may take to start, and an answer to come.
const READY_MS = 30000;
const STEP_MS = 10000;

// Each launch has a fresh profile (--user-data-dir) in the temporary folder, removed when the
// browser is closed.
async function launch() {
  return puppeteer.launch({
    executablePath: CHROMIUM,
    headless: process.env.CLEARMARK_HEADLESS === '1',
    defaultViewport: { width: 1280, height: 900 },
    args: [
      '--no-sandbox',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--disable-gpu',
      '--window-size=1280,1000',
      '--password-store=basic',
    ],
  });
}

// A page of a fresh browser, the program loaded and ready; what the page throws is kept in
// page.errors for the test to check. before(page) runs ahead of the load (e.g. scripts for
// every new document).
async function openProgram({ viewport, before, url = BASE_URL } = {}) {
  const browser = await launch();
  const [page] = await browser.pages();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(String(error)));
  page.on('console', (message) => {
    if (message.type() === 'error' || process.env.CLEARMARK_WEB_VERBOSE)
      console.log(`[page ${message.type()}] ${message.text()}`);
  });
  page.setDefaultTimeout(STEP_MS);
  if (viewport) await page.setViewport(viewport);
  if (before) await before(page);
  await page.goto(url, { waitUntil: 'load' });
  await waitReady(page);
  return { browser, page };
}

// Waits for the program's state ("ready": the main window shown; "ended": after Exit); a page
// that says the program could not start or has stopped fails at once, with what it says.
async function waitReady(page, state = 'ready') {
  const reached = await page.waitForFunction(
    (s) => {
      if (document.documentElement.dataset.clearmark === s) return s;
      const failed = document.getElementById('failed');
      return failed && !failed.hidden ? `failed: ${failed.textContent.replace(/\s+/g, ' ').trim()}` : false;
    },
    { timeout: READY_MS },
    state,
  );
  assert.equal(await reached.jsonValue(), state, 'the program did not get there');
}

const windowSelector = (form) => `#desktop section.window[data-form="${form}"]`;
// A control by its design name: the innermost element carrying it (an option button's
// wrapper and its input may both carry it; the input is the control).
const controlSelector = (form, name) =>
  `${windowSelector(form)} [data-name="${name}"]:not(:has([data-name="${name}"]))`;

async function windowOf(page, form) {
  return page.waitForSelector(windowSelector(form), { visible: true });
}

// A control, ready for a click: when another window covers it (windows open over each other
// as on a desktop), its own window is brought to the front first, as a user does, with a
// click on the part of its caption bar that shows.
async function control(page, form, name) {
  const element = await page.waitForSelector(controlSelector(form, name), { visible: true });
  if (await element.evaluate(coveredByAnotherWindow)) await bringToFront(page, form);
  return element;
}

function coveredByAnotherWindow(e) {
  e.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  const r = e.getBoundingClientRect();
  const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
  const other = hit?.closest('section.window');
  return !!other && other !== e.closest('section.window');
}

// A point of the window's caption bar that shows (no button, no other window over it).
function visibleCaption(w) {
  const bar = w.querySelector('.caption') || w;
  const r = bar.getBoundingClientRect();
  for (let x = r.left + 4; x < r.right - 30; x += 8) {
    const hit = document.elementFromPoint(x, r.top + r.height / 2);
    if (hit && w.contains(hit) && !hit.closest('button')) return { x, y: r.top + r.height / 2 };
  }
  return null;
}

async function captionPoint(page, form) {
  const point = await page.$eval(windowSelector(form), visibleCaption);
  const front = await page.$$eval('#desktop section.window', (ws) => ws.filter((w) => w.checkVisibility()).map((w) => `${w.dataset.form} at z ${getComputedStyle(w).zIndex}`));
  assert.ok(point, `no part of ${form}'s caption bar shows: another window covers it (${front.join(', ')})`);
  return point;
}

async function bringToFront(page, form) {
  // A window wholly under another: the one over it is dragged aside first, as a user does.
  if (!(await page.$eval(windowSelector(form), visibleCaption))) {
    const over = await page.$eval(windowSelector(form), (w) => {
      const r = (w.querySelector('.caption') || w).getBoundingClientRect();
      return document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2)?.closest('section.window')?.dataset.form;
    });
    if (over && over !== form) await moveWindow(page, over, 700, 0);
  }
  const { x, y } = await captionPoint(page, form);
  await page.mouse.click(x, y);
}

// Drags a window by its caption bar, as a user moves a window out of another's way.
async function moveWindow(page, form, dx, dy) {
  const { x, y } = await captionPoint(page, form);
  await page.mouse.move(x, y);
  await page.mouse.down();
  for (let step = 1; step <= 5; ++step) await page.mouse.move(x + (dx * step) / 5, y + (dy * step) / 5);
  await page.mouse.up();
}

// Types into a text box as a user does: a triple click into it selects what it held, the
// keys replace it. What the box then holds is checked: typing that does not arrive fails here.
async function typeInto(page, form, name, text) {
  const box = await control(page, form, name);
  await box.click({ count: 3 });
  if (text === '') await page.keyboard.press('Backspace');
  else await page.keyboard.type(text);
  const held = await box.evaluate((e) => e.value);
  assert.equal(held, text, `${form}.${name} holds ${JSON.stringify(held)} after typing ${JSON.stringify(text)}`);
}

async function click(page, form, name) {
  await (await control(page, form, name)).click();
}

async function valueOf(page, form, name) {
  return page.$eval(controlSelector(form, name), (e) => e.value);
}

// A window's menu: the menu bar's button, then the entry, both clicked.
async function chooseMenu(page, form, menu, entry) {
  const bar = `${windowSelector(form)} [role=menubar]`;
  const opener = await (await page.waitForSelector(bar)).waitForSelector(`::-p-aria([name="${menu}"][role="menuitem"])`);
  await opener.click();
  const item = await page.waitForFunction(
    (barSelector, name) => {
      const items = [...document.querySelectorAll(`${barSelector} [role=menu] [role=menuitem]`)];
      return items.find((i) => i.offsetParent !== null && accessibleText(i) === name);
      function accessibleText(e) {
        return (e.getAttribute('aria-label') || e.textContent).replace(/\s+/g, ' ').trim();
      }
    },
    {},
    bar,
    entry,
  );
  await item.click();
}

// The open message box: its caption, text and button names.
async function messageBox(page) {
  const box = await page.waitForSelector('dialog.msgbox[open]', { visible: true });
  return box.evaluate((d) => ({
    caption:
      d.getAttribute('aria-label') ||
      (d.getAttribute('aria-labelledby') && document.getElementById(d.getAttribute('aria-labelledby'))?.textContent) ||
      '',
    text: d.querySelector('.msgbox-text').textContent,
    buttons: [...d.querySelectorAll('button')].filter((b) => b.offsetParent !== null).map((b) => b.getAttribute('aria-label') || b.textContent.trim()),
    modal: d.matches(':modal'),
  }));
}

async function answerBox(page, button) {
  const box = await page.waitForSelector('dialog.msgbox[open]', { visible: true });
  const target = await box.waitForSelector(`::-p-aria([name="${button}"][role="button"])`);
  await target.click();
  await page.waitForFunction((b) => !b.isConnected || !b.open, {}, box);
}

async function noBoxOpen(page) {
  await page.waitForFunction(() => !document.querySelector('dialog.msgbox[open]'));
}

// Ends with every check of the page's own errors: none thrown while the test ran.
function assertNoPageErrors(page) {
  assert.deepEqual(page.errors, [], 'the page threw');
}

module.exports = {
  BASE_URL,
  launch,
  openProgram,
  waitReady,
  windowSelector,
  controlSelector,
  windowOf,
  control,
  bringToFront,
  moveWindow,
  typeInto,
  click,
  valueOf,
  chooseMenu,
  messageBox,
  answerBox,
  noBoxOpen,
  assertNoPageErrors,
};
