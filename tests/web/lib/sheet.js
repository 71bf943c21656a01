// The valve sheet's worked Triumph twin (as in tests/ui/sheet/worked_job.h and the desktop's
// screen-reader test): what is typed into each row, and the plan the sheet makes of it.
'use strict';
const web = require('./browser');

const SHEET = 'frmValveSheet';

// Row by row, in the sheet's order: valve, gap, shim, plan, new gap.
const TWIN = [
  ['Cylinder 1 intake 1', '0.100', '2.450', 'fit 2.375 from cylinder 2 intake 1', '0.175'],
  ['Cylinder 1 intake 2', '0.180', '2.500', 'keep', '0.180'],
  ['Cylinder 1 exhaust 1', '0.320', '2.400', 'fit 2.450 from cylinder 1 intake 1', '0.270'],
  ['Cylinder 1 exhaust 2', '0.240', '2.550', 'buy 2.525', '0.265'],
  ['Cylinder 2 intake 1', '0.230', '2.375', 'fit 2.450 from cylinder 2 exhaust 1', '0.155'],
  ['Cylinder 2 intake 2', '0.150', '2.600', 'keep', '0.150'],
  ['Cylinder 2 exhaust 1', '0.210', '2.450', 'fit 2.400 from cylinder 1 exhaust 1', '0.260'],
  ['Cylinder 2 exhaust 2', '0.280', '2.425', 'keep', '0.280'],
].map(([valve, gap, shim, plan, newGap]) => ({ valve, gap, shim, plan, newGap }));
const SPARES = '2.475';
const BUY = '1 \u00d7 2.525';
const LEFT_OVER = '2.475, 2.550';
const JOB = { bike: 'Triumph Bonneville T100', date: '2026-12-09', odometer: '24 310 km' };

async function openSheet(page) {
  await web.chooseMenu(page, 'frmClearmark', 'Tools', 'Valve Sheet...');
  return web.windowOf(page, SHEET);
}

// The worked job typed in: the bike, date and odometer, the spares, each row's gap and shim.
async function typeWorkedJob(page) {
  await web.typeInto(page, SHEET, 'txtBike', JOB.bike);
  await web.typeInto(page, SHEET, 'txtDate', JOB.date);
  await web.typeInto(page, SHEET, 'txtOdometer', JOB.odometer);
  await web.typeInto(page, SHEET, 'txtSpares', SPARES);
  for (const [i, row] of TWIN.entries()) {
    await web.typeInto(page, SHEET, `txtGap${i + 1}`, row.gap);
    await web.typeInto(page, SHEET, `txtShim${i + 1}`, row.shim);
  }
}

// The sheet's plan as shown: each row's plan and new gap, what to buy, what is left over.
async function shownPlan(page) {
  const plan = [];
  for (const [i, row] of TWIN.entries())
    plan.push({
      valve: row.valve,
      plan: await web.valueOf(page, SHEET, `txtPlan${i + 1}`),
      newGap: await web.valueOf(page, SHEET, `txtNewGap${i + 1}`),
    });
  return { plan, buy: await web.valueOf(page, SHEET, 'txtBuy'), leftOver: await web.valueOf(page, SHEET, 'txtLeftOver') };
}

const EXPECTED_PLAN = {
  plan: TWIN.map(({ valve, plan, newGap }) => ({ valve, plan, newGap })),
  buy: BUY,
  leftOver: LEFT_OVER,
};

async function caption(page) {
  return page.$eval(web.windowSelector(SHEET), (w) => w.getAttribute('aria-label'));
}

module.exports = { SHEET, TWIN, SPARES, JOB, EXPECTED_PLAN, openSheet, typeWorkedJob, shownPlan, caption };
