// A job saved and opened back in the page, both ways the page has: through the File System
// Access API where the browser has it (here a stand-in picker in memory, as no dialog can be
// answered in a test), and, without it, as a download and a file chosen in the browser's
// file chooser. The file is the desktop's job format either way.
'use strict';
const { describe, it, before, after, afterEach } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const web = require('./lib/browser');
const sheet = require('./lib/sheet');

const { SHEET } = sheet;
const SUGGESTED = 'Triumph Bonneville T100 2026-12-09.clearmark';

// The pickers in memory: a save writes the file under its suggested name, an open picks the
// file the test names in window.__pickNext (the last one saved if none). Every request is kept.
function fakePickers() {
  const files = new Map();
  window.__files = files;
  window.__pickerCalls = [];
  const handle = (name) => ({
    kind: 'file',
    name,
    async getFile() {
      return new File([files.get(name) ?? ''], name, { type: 'application/json' });
    },
    async createWritable() {
      let text = '';
      return {
        async write(data) {
          if (data && typeof data === 'object' && 'type' in data && data.type === 'write') data = data.data;
          text += typeof data === 'string' ? data : await new Blob([data]).text();
        },
        async truncate() {},
        async seek() {},
        async close() {
          files.set(name, text);
        },
        async abort() {},
      };
    },
    async queryPermission() {
      return 'granted';
    },
    async requestPermission() {
      return 'granted';
    },
    async isSameEntry(other) {
      return other?.name === name;
    },
  });
  window.showSaveFilePicker = async (options = {}) => {
    window.__pickerCalls.push({ kind: 'save', options: JSON.parse(JSON.stringify(options)) });
    const name = options.suggestedName || 'job.clearmark';
    if (!files.has(name)) files.set(name, '');
    return handle(name);
  };
  window.showOpenFilePicker = async (options = {}) => {
    window.__pickerCalls.push({ kind: 'open', options: JSON.parse(JSON.stringify(options)) });
    const name = window.__pickNext || [...files.keys()].pop();
    return [handle(name)];
  };
}

function noPickers() {
  for (const name of ['showSaveFilePicker', 'showOpenFilePicker', 'showDirectoryPicker']) {
    delete window[name];
    delete Window.prototype[name];
  }
}

// A box a failed test left open is closed, so that the next test meets the windows.
async function closeLeftBox(page) {
  if (page && (await page.$('dialog.msgbox[open]'))) await page.keyboard.press('Escape');
}

// The job file as the desktop writes it (ui/sheet/job.cpp): the worked job with its plan.
function assertDesktopJob(text) {
  assert.ok(text.endsWith('\n'), 'the file ends with a line end');
  const job = JSON.parse(text);
  assert.deepEqual(Object.keys(job).slice(0, 6), ['format', 'version', 'bike', 'date', 'odometer', 'sheet']);
  assert.equal(job.format, 'clearmark-job');
  assert.equal(job.version, 1);
  assert.deepEqual({ bike: job.bike, date: job.date, odometer: job.odometer }, sheet.JOB);
  assert.equal(job.sheet.cylinders, '2');
  assert.equal(job.sheet.spares, sheet.SPARES);
  assert.equal(job.sheet.unit, 'mm');
  assert.deepEqual(job.sheet.rows, sheet.TWIN.map(({ gap, shim }) => ({ gap, shim })));
  assert.equal(job.plan.valves.length, 8);
  assert.deepEqual(job.plan.bought, [2525000]);
  assert.deepEqual(job.plan.valves[1], { source: 'keep', shim: 2500000, newGap: 180000, inRange: true });
}

// Waits until check() holds in the page; a message box that comes instead fails, with its text.
async function untilOrBox(page, what, check, ...args) {
  const outcome = await page.waitForFunction(
    (source, ...a) => {
      if (new Function(`return (${source})`)()(...a)) return 'done';
      const box = document.querySelector('dialog.msgbox[open] .msgbox-text');
      return box ? `a box says: ${box.textContent}` : false;
    },
    {},
    check.toString(),
    ...args,
  );
  assert.equal(await outcome.jsonValue(), 'done', what);
}

async function planWorkedJob(page) {
  await sheet.openSheet(page);
  await sheet.typeWorkedJob(page);
  await web.click(page, SHEET, 'cmdPlan');
  await page.waitForFunction((s) => document.querySelector(s).value !== '', {}, web.controlSelector(SHEET, 'txtBuy'));
}

// A new, empty sheet: File > New, then nothing of the job is left.
async function newSheet(page) {
  await web.chooseMenu(page, SHEET, 'File', 'New');
  await page.waitForFunction((s) => document.querySelector(s).value === '', {}, web.controlSelector(SHEET, 'txtBike'));
  assert.equal(await web.valueOf(page, SHEET, 'txtGap1'), '');
}

async function assertWorkedJobShown(page) {
  for (const [key, value] of Object.entries(sheet.JOB)) {
    const name = 'txt' + key[0].toUpperCase() + key.slice(1);
    assert.equal(await web.valueOf(page, SHEET, name), value, name);
  }
  assert.deepEqual(await sheet.shownPlan(page), sheet.EXPECTED_PLAN);
  // Named by its file, with no mark of unsaved changes.
  assert.equal(await sheet.caption(page), `${SUGGESTED} - Valve Sheet`, 'the opened job has no unsaved changes');
}

describe('a job in a file, through the File System Access API', () => {
  let browser;
  let page;
  before(async () => ({ browser, page } = await web.openProgram({ before: (p) => p.evaluateOnNewDocument(fakePickers) })));
  afterEach(() => closeLeftBox(page));
  after(async () => browser?.close());

  it('File > Save writes the desktop job format under the suggested name', async () => {
    await planWorkedJob(page);
    await web.chooseMenu(page, SHEET, 'File', 'Save');
    await untilOrBox(page, 'the job was not saved', (n) => window.__files.get(n), SUGGESTED);
    const calls = await page.evaluate(() => window.__pickerCalls);
    assert.equal(calls.length, 1);
    assert.equal(calls[0].kind, 'save');
    assert.equal(calls[0].options.suggestedName, SUGGESTED);
    assertDesktopJob(await page.evaluate((n) => window.__files.get(n), SUGGESTED));
    // Saved: the caption names the file and loses its mark of unsaved changes.
    await page.waitForFunction((s, c) => document.querySelector(s).getAttribute('aria-label') === c, {}, web.windowSelector(SHEET), `${SUGGESTED} - Valve Sheet`);
  });

  it('a second Save writes to the same file without asking again', async () => {
    await web.typeInto(page, SHEET, 'txtOdometer', '24 311 km');
    await web.chooseMenu(page, SHEET, 'File', 'Save');
    await page.waitForFunction((n) => JSON.parse(window.__files.get(n) || '{}').odometer === '24 311 km', {}, SUGGESTED);
    assert.equal((await page.evaluate(() => window.__pickerCalls)).length, 1);
    await web.typeInto(page, SHEET, 'txtOdometer', sheet.JOB.odometer);
    // An edit leaves the plan behind the sheet: planned again, the plan is saved with the job.
    await web.click(page, SHEET, 'cmdPlan');
    await web.chooseMenu(page, SHEET, 'File', 'Save');
    await page.waitForFunction((n, o) => JSON.parse(window.__files.get(n)).odometer === o, {}, SUGGESTED, sheet.JOB.odometer);
  });

  it('File > Open shows the job again, plan and all', async () => {
    await newSheet(page);
    await page.evaluate((n) => (window.__pickNext = n), SUGGESTED);
    await web.chooseMenu(page, SHEET, 'File', 'Open...');
    await page.waitForFunction((s, b) => document.querySelector(s).value === b, {}, web.controlSelector(SHEET, 'txtBike'), sheet.JOB.bike);
    await assertWorkedJobShown(page);
    assert.equal((await page.evaluate(() => window.__pickerCalls)).at(-1).kind, 'open');
  });

  it('a file that is no job is refused, the sheet unchanged', async () => {
    await page.evaluate(() => {
      window.__files.set('notes.clearmark', 'shopping list\n');
      window.__pickNext = 'notes.clearmark';
    });
    await web.chooseMenu(page, SHEET, 'File', 'Open...');
    const box = await web.messageBox(page);
    assert.equal(box.text, 'notes.clearmark is not a Clearmark job. The sheet was not changed.');
    await web.answerBox(page, 'OK');
    assert.equal(await web.valueOf(page, SHEET, 'txtBike'), sheet.JOB.bike);
    web.assertNoPageErrors(page);
  });
});

describe('a job in a file, as a download and a chosen file', () => {
  let browser;
  let page;
  let downloads;
  before(async () => {
    ({ browser, page } = await web.openProgram({ before: (p) => p.evaluateOnNewDocument(noPickers) }));
    downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'clearmark-downloads-'));
    const session = await browser.target().createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads, eventsEnabled: true });
  });
  afterEach(() => closeLeftBox(page));
  after(async () => {
    await browser?.close();
    if (downloads) fs.rmSync(downloads, { recursive: true, force: true });
  });

  it('the page has no pickers', async () => {
    assert.equal(await page.evaluate(() => typeof window.showSaveFilePicker), 'undefined');
  });

  it('File > Save downloads the desktop job format', async () => {
    await planWorkedJob(page);
    await web.chooseMenu(page, SHEET, 'File', 'Save');
    const file = path.join(downloads, SUGGESTED);
    const deadline = Date.now() + 10000;
    while (!fs.existsSync(file) && Date.now() < deadline) {
      const box = await page.$eval('dialog.msgbox[open] .msgbox-text', (e) => e.textContent).catch(() => null);
      assert.equal(box, null, 'the job was not saved');
      await new Promise((r) => setTimeout(r, 100));
    }
    assert.ok(fs.existsSync(file), `no ${SUGGESTED} downloaded; the folder holds ${fs.readdirSync(downloads)}`);
    assertDesktopJob(fs.readFileSync(file, 'utf8'));
  });

  it('File > Open reads the file chosen in the file chooser', async () => {
    await web.chooseMenu(page, SHEET, 'File', 'New');
    // A download leaves the job unsaved as far as the page knows, or saved: either is answered.
    const asked = await page.waitForSelector('dialog.msgbox[open]', { visible: true, timeout: 2000 }).catch(() => null);
    if (asked) await web.answerBox(page, 'No');
    await page.waitForFunction((s) => document.querySelector(s).value === '', {}, web.controlSelector(SHEET, 'txtBike'));
    const [chooser] = await Promise.all([page.waitForFileChooser(), web.chooseMenu(page, SHEET, 'File', 'Open...')]);
    assert.equal(chooser.isMultiple(), false);
    await chooser.accept([path.join(downloads, SUGGESTED)]);
    await page.waitForFunction((s, b) => document.querySelector(s).value === b, {}, web.controlSelector(SHEET, 'txtBike'), sheet.JOB.bike);
    await assertWorkedJobShown(page);
    web.assertNoPageErrors(page);
  });
});
