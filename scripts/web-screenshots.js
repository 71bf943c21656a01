// The browser version's pictures in docs/web/: the page with every window open at 1280 x 800,
// and each window on a phone's 360 x 740 screen. Run by scripts/web-screenshots on a page that
// make web built, served on 127.0.0.1.
//   node scripts/web-screenshots.js URL OUT
'use strict';
const puppeteer = require(process.env.PUPPETEER_CORE || '../tests/web/node_modules/puppeteer-core');

const [url, out] = process.argv.slice(2);
const menuEntry = async (page, menu, entry) => {
  await page.click(`section[data-form="frmClearmark"] .menubar [role=menuitem][aria-haspopup]:nth-of-type(${menu})`);
  await page.click(`section[data-form="frmClearmark"] [data-name="${entry}"]`);
};

(async () => {
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: 'new',
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--hide-scrollbars'],
  });
  try {
    const page = await browser.newPage();
    const open = async (width, height, mobile) => {
      await page.setViewport({ width, height, isMobile: mobile, hasTouch: mobile, deviceScaleFactor: 1 });
      await page.goto(url);
      await page.waitForFunction(() => document.documentElement.dataset.clearmark === 'ready');
    };
    const windows = [
      ['frmClearmark', null],
      ['frmConvert', async () => page.click('[data-name="cmdConverter"]')],
      ['frmHelpCalculator', async () => menuEntry(page, 2, 'mnuHelp2')],
      ['frmAbout', async () => menuEntry(page, 2, 'mnuAbout')],
      ['frmValveSheet', async () => menuEntry(page, 1, 'mnuValveSheet')],
      ['frmShimBox', async () => menuEntry(page, 1, 'mnuShimBox')],
    ];
    // Wide: the windows side by side, the valve sheet and the shim box over the others, each
    // moved to its place as it opens.
    await open(1280, 800, false);
    const place = async () => page.evaluate(() => {
      const at = { frmClearmark: [16, 16], frmConvert: [530, 16], frmAbout: [860, 16],
                   frmHelpCalculator: [530, 280], frmValveSheet: [16, 430], frmShimBox: [870, 560] };
      for (const [form, [left, top]] of Object.entries(at)) {
        const panel = document.querySelector(`section[data-form="${form}"]`);
        if (panel) { panel.style.left = left + 'px'; panel.style.top = top + 'px'; }
      }
    });
    for (const [, show] of windows) {
      if (show) await show();
      await place();
    }
    await page.screenshot({ path: `${out}/clearmark-1280x800.png` });
    // A phone: each window in turn, as the window list shows it.
    for (const [form, show] of windows) {
      await open(360, 740, true);
      if (show) await show();
      await page.screenshot({ path: `${out}/${form}-360x740.png` });
    }
  } finally {
    await browser.close();
  }
})().catch((e) => { console.error(e); process.exit(1); });
