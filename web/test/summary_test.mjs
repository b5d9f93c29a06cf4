// The page shows what korvane-sheet shows, in either language: the counts, the lines under
// them, each box's text while empty, each control's reason, the legend and a tube pointed at,
// compared with the window itself (tests/sheet_probe, offscreen).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { after, before, test } from 'node:test';

import { launch, openPage } from './support.mjs';

const probe = process.env.KORVANE_SHEET_PROBE;
if (!probe)
  throw new Error('KORVANE_SHEET_PROBE must name the sheet_probe program');

let browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser.close();
});

/// What the window shows of the options, in a language.
function windowShows(language, options) {
  return JSON.parse(execFileSync(probe, [language, ...options.map(([n, v]) => `${n}=${v}`)],
    { encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'],
      env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } }));
}

/// The same read off the page.
async function pageShows(page, tube) {
  const shown = await page.evaluate(() => ({
    counts: form.counts.map((count) => document.getElementById(count.id).textContent),
    hints: form.controls.filter((control) => control.widget === 'box')
      .map((control) => [control.id, document.getElementById(control.id).placeholder]),
    reasons: form.controls.map((control) =>
      [control.id, document.getElementById(control.id + '-reason').textContent]),
    arrangement: document.getElementById('arrangement').textContent,
    baffles: [...document.querySelectorAll('#baffles p')].map((line) => line.textContent),
    legend: drawing.scene && shown.drawnFor === wanted ? drawing.scene.legend.map((entry) => entry.text) : [],
    caption: drawing.scene && shown.drawnFor === wanted ? drawing.scene.caption : [],
  }));
  // The drawings' words: what the page paints is what its files are written with.
  shown.drawn_legend = shown.legend;
  if (tube) {
    shown.tube = { x: tube.x, y: tube.y, text: await page.evaluate(({ x, y }) =>
      window.korvane.cores.drawer.call('tube_at', { x, y }).then((answer) => render(answer.tube.text)),
    tube) };
  }
  return shown;
}

// Every count and line the summary has: passes, best centring, the standard, U-tubes with their
// bends, tie rods, baffle cuts, the layout circle given, a centre tube, and a refusal.
const layouts = [
  [['shell', '600'], ['tube', '25'], ['pitch', '32'], ['passes', '2']],
  [['shell', '1000'], ['tube', '25'], ['pitch', '32'], ['passes', '4'], ['centre-tube', '57'],
    ['centre', 'best']],
  [['shell', '800'], ['tube', '19'], ['pitch', '25'], ['passes', '4'], ['bundle', 'u-tube'],
    ['bend-radius', '40'], ['tie-rods', 'gb151'], ['baffle-cut', '25']],
  [['shell', '600'], ['tube', '25'], ['passes', '2'], ['gb151', '']],
  [['otl', '1184'], ['tube', '28'], ['pitch', '36'], ['pattern', '45'], ['passes', '8'],
    ['baffle-cut', '20,30']],
  [['shell', '1200'], ['tube', '25'], ['pitch', '32'], ['passes', '6'], ['tie-rods', 'tema'],
    ['centre', 'straddle']],
  [['shell', '600'], ['tube', '25'], ['pitch', '20'], ['clearance', '-1'], ['passes', '3']],
  // The heads: each rule's line, the head in the arrangement, a shell beyond the rule's numbers.
  [['shell', '600'], ['tube', '25'], ['pitch', '32'], ['passes', '2'], ['head', 'floating'],
    ['baffle-cut', '25']],
  [['shell', '900'], ['tube', '19'], ['pitch', '25'], ['passes', '4'], ['head', 'pull-through'],
    ['tie-rods', 'gb151']],
  [['shell', '2700'], ['tube', '25'], ['pitch', '32'], ['head', 'floating']],
  // Inches, shown beside their millimetres in the caption.
  [['shell', '23.25in'], ['tube', '3/4in'], ['pitch', '15/16in'], ['passes', '4'],
    ['centre-tube', '1 1/2in']],
  // Ribbon lanes under both lane models, a plate with its count, figures and legend line.
  [['shell', '1000'], ['tube', '25'], ['pitch', '32'], ['passes', '8'], ['arrangement', 'ribbon']],
  [['shell', '900'], ['tube', '19'], ['pitch', '25'], ['passes', '6'], ['arrangement', 'ribbon'],
    ['lanes', 'shift'], ['impingement', '200,260,40'], ['tie-rods', '6']],
  [['shell', '600'], ['tube', '25'], ['pitch', '32'], ['passes', '2'], ['impingement', '600']],
];

for (const language of ['zh', 'en']) {
  test(`the page shows what korvane-sheet shows, ${language === 'zh' ? 'in Chinese' : 'in English'}`,
    async () => {
      const context = await browser.newContext({ locale: language === 'zh' ? 'zh-CN' : 'en-US',
        viewport: { width: 1280, height: 900 } });
      for (const options of layouts) {
        const expected = windowShows(language, options);
        const hash = '#' + options.map(([n, v]) => (v === '' ? n : `${n}=${v}`)).join('&');
        const { page } = await openPage(browser, { context, hash });
        const shows = await pageShows(page, expected.tube);
        assert.deepEqual(shows, expected, JSON.stringify(options));
        // In English a drawing says nothing in Chinese: every caption source is translated.
        if (language === 'en')
          for (const line of shows.caption.concat(shows.legend))
            assert.doesNotMatch(line, /[\u3000-\u9fff\uff00-\uffef]/, line);
        await page.close();
      }
      await context.close();
    });
}
