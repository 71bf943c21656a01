// What a screen reader meets in the page, read from Chromium's accessibility tree: each
// window's name, and the role, name (and text) of every control, as the desktop's
// screen-reader test (tests/accessibility/screen_reader.py) reads them from the desktop
// program; the menus' entries once a menu is open; the message boxes.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const web = require('./lib/browser');

const MAIN = 'frmClearmark';
// The desktop reader's roles, as the browser names them; a label is the text it shows.
const ROLE = { 'push button': 'button', text: 'textbox', 'radio button': 'radio', 'check box': 'checkbox', 'menu item': 'menuitem', label: 'StaticText', image: 'image' };
const CONTROL_ROLES = new Set(['button', 'textbox', 'radio', 'checkbox', 'menuitem', 'combobox', 'link', 'spinbutton', 'slider', 'listbox', 'searchbox']);

const HINT = 'Enter values in Millimeters or use the Converter';
// The main window's controls that show, as the desktop reader reads them: [role, name, text].
const mainControls = (shown, values = {}) =>
  [
    ['label', HINT],
    ['label', 'Exhaust Average Spec'],
    ['label', 'Intake Average Spec'],
    ['label', 'Original Shim Size'],
    ['label', 'Desired Gap Specification'],
    ['label', 'Measured Clearance Gap'],
    ['push button', 'EX'],
    ['push button', 'IN'],
    ['push button', 'Converter'],
    ['push button', 'Reset'],
    ['push button', 'Calculate'],
    ['push button', 'Exit'],
    ['text', 'Measured Clearance Gap', values.gap ?? ''],
    ['text', 'Original Shim Size', values.old ?? ''],
    ['text', 'Desired Gap Specification', values.desired ?? ''],
    ['menu item', 'Tools'],
    ['menu item', 'Help'],
  ].concat(shown ? [['label', 'New Shim Size (approx)'], ['text', 'New Shim Size (approx)', values.new]] : []);

const LEAD = 'Enter the measurement below, then check which method';
const CONVERTER = [
  ['label', LEAD],
  ['text', LEAD, ''],
  ['radio button', 'MM to Inches'],
  ['radio button', 'Inches to MM'],
  ['push button', 'Convert'],
  ['push button', 'Reset'],
  ['push button', 'Copy to Clipboard  and exit'],
];
const SHIMS = 'Shims in the box, in millimeters:';
const SHIM_BOX = [
  ['label', SHIMS],
  ['text', SHIMS, ''],
  ['text', 'Shims counted', 'No shims'],
  ['push button', 'Save'],
  ['push button', 'Close'],
  // In the browser only: where the box may be lost.
  ['label', "The shim box is kept in this browser for this page only. The browser clears it when you clear this site's data, and may clear it when it runs short of space unless it granted persistent storage."],
];
const ABOUT = [
  ['label', 'Clearmark'],
  ['label', 'Version 1.0.0'],
  ['push button', 'OK'],
  ['push button', 'System Info...'],
];
// Part of the valve sheet: the desktop reader checks these are there, among many more.
const SHEET_SOME = [
  ['text', 'Cylinders', '2'],
  ['text', 'Intake gap from', '0.15'],
  ['text', 'Exhaust aim', '0.275'],
  ['text', 'Shim step', '0.025'],
  ['text', 'Spare shims', ''],
  ['radio button', 'Millimeters'],
  ['radio button', 'Inches'],
  ['check box', 'Leave valves in range alone'],
  ['text', 'Cylinder 2 exhaust 2 gap', ''],
  ['text', 'Cylinder 2 exhaust 2 new gap', ''],
  ['text', 'Buy', ''],
  ['text', 'Bike', ''],
  ['text', 'Odometer', ''],
  ['push button', 'Plan'],
  ['push button', 'Fitted'],
  ['push button', 'Close'],
  ['menu item', 'File'],
];
const MENUS = {
  [MAIN]: { Tools: ['Valve Sheet...', 'Shim Box...'], Help: ['About', 'Help'] },
  frmValveSheet: { File: ['New', 'Open...', 'Save', 'Save As...', 'Print...', 'Print Blank Sheet...', 'Next Check', 'Shim Box...', 'Close'] },
};

// The tree as a list, a control with its name but without its insides; the texts side by side in one element (a label's text may come in
// several pieces, e.g. around its access key's letter) as one text, as a reader reads them.
function flatten(node, out = []) {
  if (!node) return out;
  out.push(node);
  let text = null;
  for (const child of node.children ?? []) {
    if (child.role === 'StaticText') {
      if (text) text.name += child.name;
      else out.push((text = { role: 'StaticText', name: child.name }));
      continue;
    }
    text = null;
    // A control's own texts make its name: they are not read again.
    if (CONTROL_ROLES.has(child.role)) out.push(child);
    else flatten(child, out);
  }
  return out;
}

// The accessibility tree of an element: every node, so that each label keeps its own texts.
const snapshot = (page, root) => page.accessibility.snapshot({ root, interestingOnly: false });

// The window's node and everything a reader meets in it.
async function readWindow(page, form) {
  const root = await web.windowOf(page, form);
  const tree = await snapshot(page, root);
  return { name: tree?.name, role: tree?.role, nodes: flatten(tree).slice(1) };
}

// Names compared with their runs of blanks as one, as a browser computes a name from the
// text it shows ("Copy to Clipboard  and exit").
const key = (role, name) => `${role} ${JSON.stringify((name ?? '').replace(/\s+/g, ' ').trim())}`;

// Every expected control is read with its name (and text); every control read is expected,
// but for the caption's Close button; every text read is a label or a control's own.
function assertReads(read, expected, { caption, strict = true }) {
  const found = new Map();
  for (const n of read.nodes) found.set(key(n.role, n.name), n);
  for (const [role, name, text] of expected) {
    const node = found.get(key(ROLE[role], name));
    assert.ok(node, `${caption}: ${role} ${JSON.stringify(name)} not read; read ${[...found.keys()].join(', ')}`);
    if (text !== undefined) assert.equal(node.value ?? '', text, `${caption}: the text of ${name}`);
  }
  if (!strict) return;
  const names = new Set(expected.map(([, name]) => key('', name)));
  const wanted = new Set(expected.map(([role, name]) => key(ROLE[role], name)));
  for (const n of read.nodes) {
    if (CONTROL_ROLES.has(n.role))
      assert.ok(wanted.has(key(n.role, n.name)) || key(n.role, n.name) === key('button', 'Close'), `${caption}: ${n.role} ${JSON.stringify(n.name)} read, not expected`);
    else if (n.role === 'StaticText')
      assert.ok(names.has(key('', n.name)) || n.name === caption || (n.name ?? '').trim() === '', `${caption}: text ${JSON.stringify(n.name)} read, not expected`);
  }
}

// A menu of the window opened with a click: its entries as read, then closed with Esc.
async function readMenu(page, form, menu) {
  const bar = await page.$(`${web.windowSelector(form)} [role=menubar]`);
  const opener = await bar.waitForSelector(`::-p-aria([name="${menu}"][role="menuitem"])`);
  await opener.click();
  const list = await page.waitForFunction(
    (f) => [...document.querySelectorAll(`#desktop section.window[data-form="${f}"] [role=menu]`)].find((m) => m.checkVisibility()),
    {},
    form,
  );
  const tree = await snapshot(page, list);
  await page.keyboard.press('Escape');
  await page.waitForFunction((m) => !m.checkVisibility(), {}, list);
  return flatten(tree).filter((n) => n.role === 'menuitem').map((n) => n.name);
}

describe('accessible names', () => {
  let browser;
  let page;
  before(async () => ({ browser, page } = await web.openProgram()));
  after(async () => browser?.close());

  it("the main window, as the desktop's reader reads it", async () => {
    const read = await readWindow(page, MAIN);
    assert.equal(read.name, "Dorvan's Clearmark");
    assertReads(read, mainControls(false), { caption: read.name });
  });

  for (const [form, menus] of Object.entries(MENUS).slice(0, 1))
    for (const [menu, entries] of Object.entries(menus))
      it(`the main window's ${menu} menu`, async () => {
        assert.deepEqual(await readMenu(page, form, menu), entries);
      });

  it('the result and the box about shim sizes, as read', async () => {
    await web.typeInto(page, MAIN, 'txtGap', '0.20');
    await web.typeInto(page, MAIN, 'txtOldShim', '2.45');
    await web.click(page, MAIN, 'cmdIntake');
    await web.click(page, MAIN, 'cmdCalculate');
    const dialog = await page.waitForSelector('dialog.msgbox[open]');
    const box = await snapshot(page, dialog);
    assert.ok(['dialog', 'alertdialog'].includes(box.role), `the box is read as ${box.role}`);
    assert.equal(box.name, 'Please Adjust your new shim size as follows (for Triumph Motorcycles):');
    const nodes = flatten(box);
    assert.ok(
      nodes.some((n) => n.role === 'StaticText' && n.name.startsWith('Triumph shims come in 0.025mm increments')),
      'the box text is not read',
    );
    assert.deepEqual(nodes.filter((n) => n.role === 'button').map((n) => n.name), ['OK']);
    await web.answerBox(page, 'OK');
    const read = await readWindow(page, MAIN);
    assertReads(read, mainControls(true, { gap: '0.20', old: '2.45', desired: '0.175', new: '2.475' }), { caption: read.name });
  });

  const WINDOWS = [
    { form: 'frmConvert', caption: 'Conversion Form', expected: CONVERTER, open: (p) => web.click(p, MAIN, 'cmdConverter') },
    { form: 'frmShimBox', caption: 'Shim Box', expected: SHIM_BOX, open: (p) => web.chooseMenu(p, MAIN, 'Tools', 'Shim Box...') },
    { form: 'frmAbout', caption: 'About Clearmark', expected: ABOUT, strict: false, open: (p) => web.chooseMenu(p, MAIN, 'Help', 'About') },
    { form: 'frmValveSheet', caption: 'Valve Sheet', expected: SHEET_SOME, strict: false, open: (p) => web.chooseMenu(p, MAIN, 'Tools', 'Valve Sheet...') },
  ];
  for (const w of WINDOWS)
    it(`${w.caption}, as the desktop's reader reads it`, async () => {
      await w.open(page);
      const read = await readWindow(page, w.form);
      assert.equal(read.name, w.caption);
      assertReads(read, w.expected, { caption: w.caption, strict: w.strict !== false });
      if (w.form === 'frmValveSheet') {
        const rows = read.nodes.filter((n) => n.role === 'textbox' && n.name.startsWith('Cylinder '));
        assert.equal(rows.length, 32, 'the row boxes read');
        assert.deepEqual(await readMenu(page, w.form, 'File'), MENUS.frmValveSheet.File);
        const fitted = read.nodes.find((n) => n.role === 'button' && n.name === 'Fitted');
        assert.equal(fitted.disabled, true, 'Fitted is read as disabled before a plan');
      }
      const close = await page.waitForSelector(`${web.windowSelector(w.form)} ::-p-aria([name="Close"][role="button"])`);
      await close.click();
      await page.waitForSelector(web.windowSelector(w.form), { hidden: true });
    });

  it('no control in any window without a name', async () => {
    const controls = await page.$$('#desktop section.window :is(input, button, select, textarea)[data-name]');
    let read = 0;
    for (const control of controls) {
      if (!(await control.evaluate((e) => e.checkVisibility()))) continue;
      const tree = await page.accessibility.snapshot({ root: control, interestingOnly: false });
      assert.ok(tree?.name, `${await control.evaluate((e) => e.dataset.name)} has no accessible name`);
      ++read;
    }
    assert.ok(read >= 10, `only ${read} controls shown`);
    web.assertNoPageErrors(page);
  });
});
