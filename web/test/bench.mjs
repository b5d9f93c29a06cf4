// How fast korvane.html answers in Debian's headless Chromium: the first drawing opened from
// disk, the counts after each keystroke at 100,000 tubes, the drawing at 100,000 tubes, an edit's
// counts and drawing there, and the counts without a drawing above 200,000. Prints a Markdown
// table of medians for the README.
//   KORVANE_PAGE=build/web/korvane.html KORVANE_LAYOUT=build/layout_cli/korvane-layout \
//     node web/test/bench.mjs
import { execFileSync } from 'node:child_process';

import { launch, openPage, settle } from './support.mjs';

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const ms = (value) => `${value.toFixed(1)} ms`;
const timings = (page, what) =>
  page.evaluate((kind) => window.korvane.timings.filter((t) => t.what === kind), what);

const browser = await launch();
const rows = [];

// Opened from disk: from the start of navigation to the first layout drawn, in a fresh context
// each time (nothing cached, nothing stored).
const opened = [];
for (let i = 0; i < 9; ++i) {
  const { context, page } = await openPage(browser, { hash: '#shell=600&tube=25&pitch=32&passes=2' });
  opened.push((await timings(page, 'drawing'))[0].at);
  await context.close();
}
rows.push(['first layout drawn, opened from disk (283 tubes)', ms(median(opened)),
  ms(Math.max(...opened))]);

// Typing at about 100,000 tubes: decimals of the pitch added and taken away key by key.
{
  const { context, page } = await openPage(browser,
    { hash: '#otl=4200&tube=10&pitch=12.5&passes=2' });
  const before = (await timings(page, 'counts')).length;
  await page.focus('#pitch');
  await page.keyboard.press('End');
  // A quick typist's pace: a key every 60 ms.
  for (let round = 0; round < 4; ++round) {
    for (const digit of '00001') {
      await page.keyboard.type(digit);
      await page.waitForTimeout(60);
    }
    for (let k = 0; k < 5; ++k) {
      await page.keyboard.press('Backspace');
      await page.waitForTimeout(60);
    }
  }
  await settle(page);
  const counts = (await timings(page, 'counts')).slice(before);
  const tubes = Math.min(...counts.map((t) => t.tubes));
  const values = counts.map((t) => t.ms);
  rows.push([`counts after a keystroke (${counts.length} keys, ${tubes.toLocaleString('en')}+ tubes)`,
    ms(median(values)), ms(Math.max(...values))]);
  await context.close();
}

// The drawing at about 100,000 tubes, each change waited for.
{
  const { context, page } = await openPage(browser,
    { hash: '#otl=4200&tube=10&pitch=12.5&passes=2' });
  const values = [];
  let tubes = 0;
  for (const diameter of ['4190', '4200', '4210', '4220', '4230', '4240', '4250']) {
    await page.fill('#diameter', diameter);
    await settle(page);
    const last = (await timings(page, 'drawing')).pop();
    values.push(last.ms);
    tubes = last.tubes;
  }
  rows.push([`drawing after a change, the pause included (${tubes.toLocaleString('en')} tubes)`, ms(median(values)),
    ms(Math.max(...values))]);
  await context.close();
}

// An edit at about 100,000 tubes, from the key on the tube to its counts and to its drawing:
// the tube looked up, the edit made, the counts, and the drawing without the typing's pause.
{
  const options = ['--otl', '4200', '--tube', '10', '--pitch', '12.5', '--passes', '2'];
  const listed = execFileSync(process.env.KORVANE_LAYOUT || 'build/layout_cli/korvane-layout',
    [...options, '--tubes', '-'], { encoding: 'utf8', maxBuffer: 1 << 26 })
    .split('\n').filter((line) => /^\d/.test(line));
  const { context, page } = await openPage(browser,
    { hash: '#otl=4200&tube=10&pitch=12.5&passes=2' });
  const countsMs = [], drawnMs = [];
  for (let i = 0; i < 9; ++i) {
    const [, x, y] = listed[Math.floor(listed.length * (i + 1) / 10)].split(',');
    const took = await page.evaluate(async (point) => {
      const drawn = korvane.timings.filter((t) => t.what === 'drawing').length;
      const counted = korvane.timings.filter((t) => t.what === 'counts').length;
      const started = performance.now();
      if (!await editTubeAt(point, 'remove'))
        throw new Error('no tube to edit');
      while (korvane.timings.filter((t) => t.what === 'drawing').length === drawn)
        await new Promise((resolve) => requestAnimationFrame(resolve));
      const counts = korvane.timings.filter((t) => t.what === 'counts')[counted];
      const drawing = korvane.timings.filter((t) => t.what === 'drawing')[drawn];
      return { counts: counts.at - started, drawing: drawing.at - started };
    }, { x: Number(x), y: Number(y) });
    await settle(page);
    countsMs.push(took.counts);
    drawnMs.push(took.drawing);
  }
  const tubes = (await timings(page, 'drawing')).pop().tubes;
  rows.push([`an edit: its counts (${tubes.toLocaleString('en')} tubes)`, ms(median(countsMs)),
    ms(Math.max(...countsMs))]);
  rows.push([`an edit: its drawing`, ms(median(drawnMs)), ms(Math.max(...drawnMs))]);
  await context.close();
}

// Above 200,000 tubes the counts still come, without a drawing.
{
  const { context, page } = await openPage(browser, { hash: '#otl=6000&tube=10&pitch=12.5&passes=2' });
  const values = [];
  for (const diameter of ['6010', '6020', '6030', '6040', '6050', '6060', '6070', '6080', '6090']) {
    await page.fill('#diameter', diameter);
    await settle(page);
    values.push((await timings(page, 'counts')).pop().ms);
  }
  const status = await page.textContent('#status');
  if (!status.includes('不再绘图'))
    throw new Error(`no drawing expected above 200,000 tubes; status: ${status}`);
  rows.push([`counts without a drawing (${await page.textContent('#in-circle')} tubes)`,
    ms(median(values)), ms(Math.max(...values))]);
  await context.close();
}

await browser.close();
console.log('| measured in headless Chromium | median | slowest |');
console.log('|---|---|---|');
for (const row of rows)
  console.log(`| ${row.join(' | ')} |`);
