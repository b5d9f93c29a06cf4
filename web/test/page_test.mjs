// korvane.html in Debian's Chromium, opened from disk: its figures against the programs', its
// refusals, its files, its address, its languages, the keyboard, a narrow screen, the network.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';

import { countJson, enterLayout, layoutJson, launch, openPage, pageUrl, settle, typeInto }
  from './support.mjs';

const work = mkdtempSync(join(tmpdir(), 'korvane-page-'));
let browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser.close();
});

const countsOf = (page) => page.evaluate(() => ({
  inCircle: document.getElementById('in-circle').textContent,
  laneRemoved: document.getElementById('lane-removed').textContent,
  centreRemoved: document.getElementById('centre-removed').textContent,
  total: document.getElementById('total').textContent,
  perPass: document.getElementById('per-pass').textContent,
}));

/// The passes' spread over the mean pass as the page says it after them, worked from the counts.
function balanceText(layout) {
  const counts = layout.per_pass;
  if (counts.length < 2 || layout.total === 0)
    return '';
  const spread = Math.max(...counts) - Math.min(...counts);
  const tenths = Math.floor((2000 * spread * counts.length + layout.total) / (2 * layout.total));
  return `，最大偏差 ${Math.floor(tenths / 10)}.${tenths % 10}%`;
}

describe('管板布置 gives korvane-layout\'s figures', () => {
  // Every pattern, pass count and centring, decimals, Sn as H,V, b, d0, DL, full-width digits
  // and the designers' options.
  const layouts = [
    [['shell', '600'], ['tube', '25'], ['pitch', '32']],
    [['shell', '600'], ['tube', '25'], ['pitch', '32'], ['passes', '2']],
    [['shell', '1000'], ['tube', '25'], ['pitch', '32'], ['passes', '4'], ['centre-tube', '57']],
    [['shell', '800'], ['tube', '19'], ['pitch', '25'], ['pattern', '60'], ['passes', '6']],
    [['shell', '1200'], ['tube', '25'], ['pitch', '32'], ['pattern', '90'], ['passes', '8']],
    [['otl', '1184'], ['tube', '28'], ['pitch', '36'], ['pattern', '45'], ['passes', '8']],
    [['shell', '700'], ['tube', '19.05'], ['pitch', '23.8125'], ['passes', '2'], ['centre', 'straddle']],
    [['shell', '650.5'], ['tube', '25.4'], ['pitch', '31.75'], ['passes', '4'], ['centre', 'best']],
    [['shell', '900'], ['tube', '25'], ['pitch', '32'], ['passes', '4'], ['lane-spacing', '50,60']],
    [['shell', '900'], ['tube', '25'], ['pitch', '32'], ['passes', '6'], ['lane-spacing', '44']],
    [['shell', '500'], ['tube', '16'], ['pitch', '20'], ['clearance', '12.5']],
    [['shell', '500'], ['tube', '16'], ['pitch', '20'], ['pattern', '90'], ['centre', 'straddle']],
    [['otl', '480.25'], ['tube', '14'], ['pitch', '19'], ['pattern', '60'], ['passes', '2']],
    [['shell', '1500'], ['tube', '38'], ['pitch', '48'], ['passes', '8'], ['centre-tube', '89']],
    [['shell', '325'], ['tube', '19'], ['pitch', '25'], ['pattern', '45'], ['passes', '4']],
    [['shell', '２００'], ['tube', '１９'], ['pitch', '２５']],
    [['shell', '400'], ['tube', '10'], ['pitch', '13.000001'], ['pattern', '30'], ['passes', '2']],
    [['shell', '1000'], ['tube', '25'], ['pitch', '32'], ['pattern', '45'], ['passes', '6'],
      ['centre', 'best'], ['centre-tube', '57']],
    [['shell', '600'], ['tube', '25'], ['pitch', '32'], ['passes', '2'], ['lanes', 'shift']],
    [['shell', '800'], ['tube', '25'], ['pitch', '32'], ['passes', '4'], ['lanes', 'shift'],
      ['lane-spacing', '44']],
    [['shell', '600'], ['tube', '25'], ['passes', '2'], ['gb151', '']],
    [['shell', '1000'], ['tube', '19'], ['passes', '4'], ['gb151', ''], ['pattern', '90']],
    [['shell', '800'], ['tube', '19'], ['pitch', '25'], ['passes', '4'], ['bundle', 'u-tube'],
      ['tie-rods', 'gb151']],
    [['shell', '800'], ['tube', '19'], ['pitch', '25'], ['passes', '2'], ['bundle', 'u-tube'],
      ['bend-radius', '40']],
    [['shell', '1200'], ['tube', '25'], ['pitch', '32'], ['passes', '2'], ['tie-rods', '8']],
    [['shell', '1200'], ['tube', '25'], ['pitch', '32'], ['passes', '2'], ['tie-rods', 'tema']],
    [['shell', '600'], ['tube', '25'], ['pitch', '32'], ['passes', '2'], ['baffle-cut', '25']],
    [['shell', '600'], ['tube', '25'], ['pitch', '32'], ['passes', '6'],
      ['baffle-cut', '20,25,30']],
    [['otl', '2000'], ['tube', '12'], ['pitch', '15'], ['passes', '8'], ['pattern', '60']],
    [['shell', '100'], ['tube', '25'], ['pitch', '32']],
    [['shell', '60'], ['tube', '25'], ['pitch', '25'], ['centre', 'straddle']],
    [['shell', '999.999999'], ['tube', '25'], ['pitch', '32'], ['passes', '4'],
      ['lane-spacing', '60,70'], ['clearance', '10'], ['centre-tube', '30']],
  ];
  let page;
  before(async () => {
    ({ page } = await openPage(browser));
  });

  test(`${layouts.length} layouts typed into the boxes`, async () => {
    for (const options of layouts) {
      // Ticking GB/T 151 sets the lanes to shift, as in korvane-sheet: the page then sends both.
      const sent = options.some(([name]) => name === 'gb151') &&
          !options.some(([name]) => name === 'lanes') ? [...options, ['lanes', 'shift']] : options;
      await enterLayout(page, sent);
      const expected = layoutJson(sent);
      const shown = await page.evaluate(() => window.korvane.layout);
      assert.deepEqual(shown, expected, JSON.stringify(options));
      assert.deepEqual(await countsOf(page), {
        inCircle: String(expected.in_circle), laneRemoved: String(expected.lane_removed),
        centreRemoved: String(expected.centre_removed), total: String(expected.total),
        perPass: expected.per_pass.join(' / ') + balanceText(expected),
      }, JSON.stringify(options));
      assert.equal(await page.locator('#sheet.stale').count(), 0, JSON.stringify(options));
    }
  });

  test('the counts are the elements named as the window names them', async () => {
    await enterLayout(page, layouts[2]);
    const expected = layoutJson(layouts[2]);
    assert.equal(expected.total, 736);
    for (const [name, value] of [['布管限定圆内管数', expected.in_circle],
      ['隔板槽去掉', expected.lane_removed], ['中心管去掉', expected.centre_removed],
      ['总管数', expected.total]])
      assert.equal(await page.getByLabel(name, { exact: true }).textContent(), String(value), name);
    assert.match(await page.getByLabel('各管程管数').textContent(),
      /^\d+ \/ \d+ \/ \d+ \/ \d+，最大偏差 \d+\.\d%$/);
    for (const name of ['给定', '直径', '管子外径 d', '管心距 p', '布管方式', '管程数', '中心布置',
      '隔板槽中心距 Sn', '边缘间隙 b', '中心管外径 d0', '隔板槽', '换热器型式', '管束', '弯管半径 R', '拉杆',
      '折流板缺口 %', '按 GB/T 151 取值'])
      assert.equal(await page.getByLabel(name, { exact: true }).count(), 1, name);
    // The default Sn as the window shows it, rounded down to what can be typed.
    assert.equal(await page.getAttribute('#lane-spacing', 'placeholder'),
      '默认 √3·p = 55.425625, 2p = 64 mm');
  });
});

describe('排管计算 gives korvane-count\'s figures and texts', () => {
  // Ties, warnings and run-time errors among ordinary designs, and texts as people type them.
  const values = ['600', '32', '25', '57', '', '0', '19', '1000', '25.4', '1e3', 'abc', '-5',
    '６００', ' 32', '&H20', '12,5', '1d2', '31.75', '8', '1e300', '0.0001', '2147483648'];
  const counts = [['600', '32', '25', '57'], ['600', '32', '25', ''], ['400', '25', '19', '25'],
    ['600', '0', '25', ''], ['', '', '', ''], ['1e300', '1', '1', '']];
  let seed = 20261209;
  const next = () => {
    seed = (seed * 1103515245 + 12345) % 2147483648;
    return seed;
  };
  while (counts.length < 210)
    counts.push([0, 1, 2, 3].map(() => values[next() % values.length]));
  let page;
  before(async () => {
    ({ page } = await openPage(browser));
    await page.getByRole('tab', { name: '排管计算' }).click();
  });

  test(`${counts.length} calculations typed and run`, async () => {
    const boxes = ['壳内经', '管心距', '管外经', '中心管外径'];
    let errors = 0, warnings = 0;
    for (const texts of counts) {
      for (let i = 0; i < 4; ++i)
        await typeInto(page, `#${['Text4', 'Text3', 'Text5', 'Text1'][i]}`, texts[i]);
      const before = await page.getByLabel('结果').textContent();
      await page.getByRole('button', { name: '计算' }).click();
      await settle(page);
      const expected = countJson(texts);
      assert.deepEqual(await page.evaluate(() => window.korvane.count), expected,
        JSON.stringify(texts));
      const shown = await page.getByRole('region', { name: '信息' }).locator('li').allTextContents();
      const report = expected.error ? [`实时错误 '${expected.error.number}':\n\n${expected.error.description}`] : [];
      assert.deepEqual(shown, [...expected.messages, ...report], JSON.stringify(texts));
      assert.equal(await page.getByLabel('结果').textContent(),
        expected.result === null ? before : expected.result, JSON.stringify(texts));
      errors += expected.error ? 1 : 0;
      warnings += expected.messages.length > 3 || expected.messages.some((m) => m.includes('过小')) ? 1 : 0;
    }
    // The table reaches the window's warnings and its run-time errors.
    assert.ok(errors >= 10, `only ${errors} run-time errors`);
    assert.ok(warnings >= 5, `only ${warnings} warnings`);
    for (const name of boxes)
      assert.equal(await page.getByRole('textbox', { name, exact: true }).count(), 1, name);
  });
});

describe('input the page cannot take', () => {
  let page;
  before(async () => {
    ({ page } = await openPage(browser, { hash: '#shell=600&tube=25&pitch=32&passes=2' }));
  });

  test('each box is marked with korvane-sheet\'s reason, the drawing greyed, exports off', async () => {
    const cases = [
      ['#tube', 'abc', '#tube-reason', '不是数字'],
      ['#tube', '25.1234567', '#tube-reason', '小数不能超过 6 位'],
      ['#pitch', '20', '#pitch-reason', '小于管子外径：管子会重叠'],
      ['#diameter', '-600', '#diameter-reason', '须大于 0'],
      ['#diameter', '200000', '#diameter-reason', '不能大于 100000 mm'],
      ['#centre-tube', '-1', '#centre-tube-reason', '不能为负（0 为无中心管）'],
      ['#lane-spacing', '40,50', '#lane-spacing-reason', '此管程数没有竖直隔板槽，不用第二个值'],
      ['#clearance', '300', '#clearance-reason', '边缘间隙过大：布管限定圆 DL 不大于 0'],
      ['#tie-rods', 'some', '#tie-rods-reason', '须为整数根数、gb151 或 tema'],
      ['#baffle-cut', '50', '#baffle-cut-reason', '须在 15% 到 45% 之间'],
      ['#tie-rods', '5000', '#tie-rods-reason', '拉杆过多：管束边缘的管子不够'],
      ['#tie-rods', '1000000', '#tie-rods-reason', '拉杆不能多于 999999 根'],
      ['#baffle-cut', '15,16,17,18,19,20,21,22,23', '#baffle-cut-reason', '最多比较 8 个缺口'],
      ['#impingement', '200,150', '#impingement-reason', '防冲板不能窄于接管内径'],
      ['#impingement', '600', '#impingement-reason', '接管内径须大于 0 且小于壳体内径'],
      // Longer than the WebAssembly stack: a reason like any other, not a dead worker.
      ['#tube', '1'.repeat(1_310_000), '#tube-reason', '不能大于 100000 mm'],
      ['#clearance', 'x'.repeat(2_000_000), '#clearance-reason', '不是数字'],
    ];
    const typed = { '#diameter': '600', '#tube': '25', '#pitch': '32' };
    for (const [box, text, reasonBox, reason] of cases) {
      if (text.length > 1000)
        await page.locator(box).fill(text);
      else
        await typeInto(page, box, text);
      await settle(page);
      assert.equal(await page.textContent(reasonBox), reason, `${box} ${text.slice(0, 40)}`);
      // A refusal's own line, not a worker's failure.
      assert.equal(await page.textContent('#status'), '输入有误：图为上次有效的布置', box);
      assert.equal(await page.getAttribute(box, 'aria-invalid'), 'true', `${box} ${text.slice(0, 40)}`);
      assert.equal(await page.locator('#sheet.stale').count(), 1, `${box} ${text.slice(0, 40)}`);
      assert.equal(await page.locator('#counts.stale').count(), 1, `${box} ${text.slice(0, 40)}`);
      assert.equal(await page.locator('.export:enabled').count(), 0, `${box} ${text.slice(0, 40)}`);
      // The last good counts stay, greyed and said to be so.
      assert.match(await page.textContent('#total'), /^\d+$/);
      assert.equal(await page.getAttribute('#total', 'aria-description'),
        '输入有误：为上次有效布置的数值');
      // Mended, all comes back.
      await typeInto(page, box, typed[box] || '');
      await settle(page);
      assert.equal(await page.textContent(reasonBox), '');
      assert.equal(await page.getAttribute(box, 'aria-invalid'), null);
      assert.equal(await page.locator('#sheet.stale').count(), 0, `${box} mended`);
      assert.equal(await page.locator('.export:enabled').count(), 4, `${box} mended`);
    }
  });

  test('a failure inside a worker becomes a message and the page goes on', async () => {
    // A request the C++ cannot read is its exception, answered; a script error in the worker
    // ends it, and a fresh one takes over.
    const refused = await page.evaluate(() => window.korvane.cores.counter
      .call('count', { inputs: 5 }).then(() => 'answered', (error) => error.message));
    assert.match(refused, /type|inputs|number|array/i);
    const aborted = await page.evaluate(() => window.korvane.cores.drawer
      .call('layout', { options: [], draw: 1n }).then(() => 'answered', (error) => error.message));
    assert.notEqual(aborted, 'answered');
    await typeInto(page, '#diameter', '800');
    await settle(page);
    assert.equal(await page.textContent('#total'), String(layoutJson(
      [['shell', '800'], ['tube', '25'], ['pitch', '32'], ['passes', '2']]).total));
    assert.equal(await page.locator('#sheet.stale').count(), 0);
  });

  test('after a worker fails, the last figures go grey until the next good answer', async () => {
    // While poisoned, a worker's layout calls carry what its script cannot pass on: each fails
    // as an abort inside it would, and a fresh worker takes over.
    const poison = (name, on) => page.evaluate(([name, on]) => {
      const core = window.korvane.cores[name];
      core.call = on ? function (job, request, timeout) {
        const poisoned = job === 'layout' ? { ...request, poison: 1n } : request;
        return Object.getPrototypeOf(core).call.call(core, job, poisoned, timeout);
      } : Object.getPrototypeOf(core).call;
    }, [name, on]);
    const sheetShot = async () => (await page.locator('#sheet').screenshot()).length;
    await typeInto(page, '#diameter', '800');
    await settle(page);
    const drawn = await sheetShot();
    for (const [worker, grey] of [['counter', '#counts.stale'], ['drawer', '#sheet.stale']]) {
      await poison(worker, true);
      await typeInto(page, '#diameter', '750');
      await settle(page);
      await poison(worker, false);
      assert.equal(await page.locator(grey).count(), 1, worker);
      assert.match(await page.textContent('#status'), /^计算出错，已重新启动计算模块：/, worker);
      // The last drawing is still there, in the fresh worker too, greyed.
      assert.ok(await sheetShot() > drawn / 3, `${worker}: the drawing went blank`);
      await typeInto(page, '#diameter', '800');
      await settle(page);
      assert.equal(await page.locator('.stale').count(), 0, worker);
      assert.equal(await page.textContent('#status'), '', worker);
    }
  });
});

describe('out of the page', () => {
  let page;
  const options = [['shell', '600'], ['tube', '25'], ['pitch', '32'], ['passes', '4'],
    ['centre-tube', '57'], ['baffle-cut', '25']];
  before(async () => {
    ({ page } = await openPage(browser, { hash: '#' + options.map(([n, v]) => `${n}=${v}`).join('&') }));
  });

  const save = async (button) => {
    const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
    const file = join(work, download.suggestedFilename());
    await download.saveAs(file);
    return file;
  };

  test('SVG, DXF, CSV and PNG as the programs write them', async () => {
    const expected = layoutJson(options);
    const csv = readFileSync(await save('#save-csv'), 'utf8');
    assert.equal(csv.trimEnd().split('\n').length, expected.total + 1);
    assert.equal(csv, execFileSync(process.env.KORVANE_LAYOUT, [...options.map(([n, v]) => `--${n}=${v}`),
      '--tubes', '-'], { encoding: 'utf8' }).split('\n').filter((line) => /^(n,|\d)/.test(line))
      .join('\n') + '\n');

    const svg = await save('#save-svg');
    const dxf = await save('#save-dxf');
    const programDxf = join(work, 'program.dxf');
    execFileSync(process.env.KORVANE_LAYOUT, [...options.map(([n, v]) => `--${n}=${v}`),
      '--draw', programDxf]);
    // Bytes, not text: the DXF's Chinese is GBK, which a UTF-8 reading would blur.
    assert.ok(readFileSync(dxf).equals(readFileSync(programDxf)), 'the DXF differs from the program\'s');
    assert.ok(readFileSync(dxf).includes(Buffer.from([0xd7, 0xdc])), 'no GBK 总 in the DXF');
    const checked = execFileSync(process.env.KORVANE_PYTHON || 'python3', ['-c', `
import sys, ezdxf, xml.etree.ElementTree as ET
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
if auditor.has_errors or auditor.has_fixes:
    sys.exit("audit: %s" % [str(e.message) for e in auditor.errors + auditor.fixes])
holes = [e for e in doc.modelspace() if e.dxftype() == "CIRCLE"]
svg = ET.parse(sys.argv[2]).getroot()
circles = svg.findall(".//{http://www.w3.org/2000/svg}circle")
print(len(holes), len(circles))
`, dxf, svg], { encoding: 'utf8' }).trim().split(' ').map(Number);
    // Every hole that fits is drawn in both, with the circles, the centre tube and legend.
    assert.ok(checked[0] > expected.in_circle, `DXF circles ${checked[0]}`);
    assert.ok(checked[1] > expected.in_circle, `SVG circles ${checked[1]}`);

    const png = readFileSync(await save('#save-png'));
    assert.equal(png.subarray(1, 4).toString('latin1'), 'PNG');
    // Twice the page's 1200 units at least.
    assert.ok(png.readUInt32BE(16) >= 2400, `PNG ${png.readUInt32BE(16)} wide`);
  });

  test('in English the drawing and its files speak English, the DXF in ASCII', async () => {
    const expected = layoutJson(options);
    await page.click('#language');
    await settle(page);
    const cjk = /[\u3000-\u9fff\uff00-\uffef]/;
    const painted = await page.evaluate(() => drawing.scene.caption.concat(
      drawing.scene.legend.map((entry) => entry.text)));
    assert.ok(painted.includes(`Total tubes ${expected.total}`), painted.join('\n'));
    for (const line of painted)
      assert.doesNotMatch(line, cjk, line);
    const svg = readFileSync(await save('#save-svg'), 'utf8');
    assert.ok(svg.includes(`Total tubes ${expected.total}`));
    assert.doesNotMatch(svg, cjk);
    const dxfFile = await save('#save-dxf');
    assert.ok(readFileSync(dxfFile).every((byte) => byte < 0x80), 'a byte beyond ASCII in the DXF');
    const texts = JSON.parse(execFileSync(process.env.KORVANE_PYTHON || 'python3', ['-c', `
import sys, json, ezdxf
from ezdxf.lldxf.encoding import decode_dxf_unicode
doc = ezdxf.readfile(sys.argv[1])
print(json.dumps([decode_dxf_unicode(t.dxf.text) for t in doc.modelspace() if t.dxftype() == "TEXT"]))
`, dxfFile], { encoding: 'utf8' }));
    // What CAD shows is what the page paints, the escapes read back.
    for (const line of painted)
      assert.ok(texts.includes(line), line);
    assert.ok(texts.some((line) => line.includes('y = ±')), 'the cut line\'s ± read back');
    // Back in Chinese, the files are the program's again, byte for byte.
    await page.click('#language');
    await settle(page);
    const programDxf = join(work, 'program-again.dxf');
    execFileSync(process.env.KORVANE_LAYOUT, [...options.map(([n, v]) => `--${n}=${v}`),
      '--draw', programDxf]);
    assert.ok(readFileSync(await save('#save-dxf')).equals(readFileSync(programDxf)));
  });

  test('hovering a tube shows its number, place and pass as the hole list has them', async () => {
    await page.click('#fit');
    const csv = execFileSync(process.env.KORVANE_LAYOUT, [...options.map(([n, v]) => `--${n}=${v}`),
      '--tubes', '-'], { encoding: 'utf8' }).split('\n').filter((line) => /^\d/.test(line));
    const [n, x, y, pass] = csv[Math.floor(csv.length / 3)].split(',');
    const at = await page.evaluate(([x, y]) => {
      const view = window.korvane.view();
      const frame = view.frame;
      const box = document.getElementById('sheet').getBoundingClientRect();
      return [box.left + view.x + (frame.centre_x + frame.scale * x) * view.scale,
        box.top + view.y + (frame.centre_y - frame.scale * y) * view.scale];
    }, [Number(x), Number(y)]);
    await page.mouse.move(at[0], at[1]);
    await page.waitForSelector('#tip:not([hidden])');
    const round = (v) => String(Math.round(Number(v) * 1000) / 1000).replace(/^-0$/, '0');
    assert.equal(await page.textContent('#tip'),
      `管 ${n}\nx = ${round(x)} mm，y = ${round(y)} mm\n第 ${pass} 管程`);
    // The centre tube took the holes at the centre.
    const centre = await page.evaluate(() => {
      const view = window.korvane.view();
      const frame = view.frame;
      const box = document.getElementById('sheet').getBoundingClientRect();
      return [box.left + view.x + frame.centre_x * view.scale, box.top + view.y + frame.centre_y * view.scale];
    });
    await page.mouse.move(centre[0] + 1, centre[1] + 1);
    await page.waitForFunction(() => document.getElementById('tip').textContent.includes('已去掉'));
  });

  test('zoom by wheel, keys and buttons, pan by keys, fit', async () => {
    await page.click('#fit');
    const width = async () => page.evaluate(() => {
      const view = window.korvane.view();
      return view.frame.width * view.scale;
    });
    const fitted = await width();
    const box = await page.locator('#sheet').boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.mouse.wheel(0, -300);
    assert.ok(await width() > fitted * 1.5);
    await page.click('#fit');
    assert.ok(Math.abs(await width() - fitted) < 1);
    await page.focus('#sheet');
    await page.keyboard.press('+');
    assert.ok(await width() > fitted * 1.2);
    const left = await page.evaluate(() => window.korvane.view().x);
    await page.keyboard.press('ArrowLeft');
    assert.ok(await page.evaluate(() => window.korvane.view().x) > left);
    await page.click('#zoom-out');
    await page.keyboard.press('0');
    assert.ok(Math.abs(await width() - fitted) < 1);
  });

  test('on a touch screen: a pinch zooms, a tap shows the tube', async () => {
    const { context, page: touch } = await openPage(browser, { hash: '#shell=600&tube=25&pitch=32',
      touch: true });
    const box = await touch.locator('#sheet').boundingBox();
    const scale = () => touch.evaluate(() => window.korvane.view().scale);
    const before = await scale();
    const cdp = await context.newCDPSession(touch);
    const at = (dx) => [{ x: box.x + box.width / 2 - dx, y: box.y + box.height / 2, id: 1 },
      { x: box.x + box.width / 2 + dx, y: box.y + box.height / 2, id: 2 }];
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: at(40) });
    for (const dx of [60, 80, 100, 120])
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: at(dx) });
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    // Spread to three times as wide, the drawing is about three times as large.
    const ratio = (await scale()) / before;
    assert.ok(ratio > 2 && ratio < 4, `pinch zoomed ${ratio} times`);
    await touch.click('#fit');
    // The centre tube's place: a tap there tells what is there.
    const centre = await touch.evaluate(() => {
      const view = window.korvane.view();
      const sheet = document.getElementById('sheet').getBoundingClientRect();
      return [sheet.left + view.x + view.frame.centre_x * view.scale,
        sheet.top + view.y + view.frame.centre_y * view.scale];
    });
    await touch.touchscreen.tap(centre[0], centre[1]);
    await touch.waitForSelector('#tip:not([hidden])');
    assert.match(await touch.textContent('#tip'), /^管 \d+\nx = 0 mm，y = 0 mm\n第 1 管程$/);
    await context.close();
  });

  test('printed, the drawing and its counts fill one page', async () => {
    const pdf = await page.pdf({ format: 'A4' });
    const pages = pdf.toString('latin1').match(/\/Type\s*\/Page[^s]/g) || [];
    assert.equal(pages.length, 1);
  });
});

describe('where a designer expects it', () => {
  test('the inputs are in the address, and a link opens the same layout', async () => {
    const { context, page } = await openPage(browser);
    await enterLayout(page, [['shell', '750'], ['tube', '19'], ['pitch', '25'], ['pattern', '90'],
      ['passes', '4'], ['centre-tube', '38'], ['lane-spacing', '40,44']]);
    const url = page.url();
    assert.match(url, /#shell=750&tube=19&pitch=25&pattern=90&passes=4&lane-spacing=40,44&centre-tube=38$/);
    const layout = await page.evaluate(() => window.korvane.layout);
    // 复制链接 puts that address on the clipboard.
    await context.grantPermissions(['clipboard-read', 'clipboard-write']).catch(() => {});
    await page.click('#copy-link');
    await page.waitForFunction(() => document.getElementById('status').textContent !== '');
    assert.equal(await page.textContent('#status'), '已复制链接');
    const other = await openPage(browser, { hash: new URL(url).hash });
    assert.deepEqual(await other.page.evaluate(() => window.korvane.layout), layout);
    assert.equal(await other.page.inputValue('#lane-spacing'), '40,44');
    await other.context.close();
    // The last inputs come back, in the same browser, without a link.
    const again = await context.newPage();
    await again.goto(pageUrl);
    await settle(again);
    assert.deepEqual(await again.evaluate(() => window.korvane.layout), layout);
    // A link with a choice that is not one says so, and takes the rest.
    const wrong = await openPage(browser, { hash: '#shell=600&tube=25&pitch=32&pattern=33&passes=２' });
    assert.match(await wrong.page.textContent('#link-note'), /--pattern 须为 30、60、90、45 之一，而不是 '33'/);
    assert.equal(await wrong.page.inputValue('#passes'), '2');
    await wrong.context.close();
    // Every option of a link the page does not take is said, and stays said after the counts
    // and the drawing have come.
    const links = [
      ['#shell=600&tube=25&pitch=20&passes=3', /--passes 须为 1、2、4、6、8 之一，而不是 '3'/],
      ['#otl=584&clearance=8&tube=25&pitch=32', /--clearance：给定布管限定圆时不用边缘间隙/],
      ['#shell=600&otl=584&tube=25&pitch=32', /--shell：壳体内径与布管限定圆只能给定一个/],
      ['#shell=600&shell=700&tube=25&pitch=32', /--shell：重复给出/],
    ];
    for (const [hash, said] of links) {
      const opened = await openPage(browser, { hash });
      await opened.page.waitForTimeout(300);
      await settle(opened.page);
      assert.match(await opened.page.textContent('#link-note'), said, hash);
      await opened.context.close();
    }
    await context.close();
  });

  test('English when the browser asks for it, and by the switch', async () => {
    const { context, page } = await openPage(browser, { locale: 'en-US',
      hash: '#shell=600&tube=25&pitch=32&passes=2' });
    assert.equal(await page.getByLabel('Total tubes', { exact: true }).textContent(), '266');
    assert.equal(await page.getByRole('tab', { name: 'Tube sheet' }).count(), 1);
    await typeInto(page, '#tube', 'abc');
    await settle(page);
    assert.equal(await page.textContent('#tube-reason'), 'is not a number');
    await page.click('#language');
    assert.equal(await page.textContent('#tube-reason'), '不是数字');
    assert.equal(await page.getByLabel('总管数', { exact: true }).textContent(), '266');
    await context.close();
  });

  test('the pass arrangement rests at one and two passes; ribbon lanes and a plate count as korvane-layout counts them', async () => {
    const { context, page } = await openPage(browser, { hash: '#shell=900&tube=19&pitch=25&passes=2' });
    assert.equal(await page.isDisabled('#pass-arrangement'), true);
    await page.selectOption('#passes', '6');
    await settle(page);
    assert.equal(await page.isDisabled('#pass-arrangement'), false);
    await page.selectOption('#pass-arrangement', 'ribbon');
    await typeInto(page, '#impingement', '200,260,40');
    await settle(page);
    const want = layoutJson([['shell', '900'], ['tube', '19'], ['pitch', '25'], ['passes', '6'],
      ['arrangement', 'ribbon'], ['impingement', '200,260,40']]);
    assert.equal(await page.textContent('#total'), String(want.total));
    assert.equal(await page.textContent('#impingement-removed'), String(want.impingement_removed));
    assert.ok(want.impingement_removed > 0);
    assert.match(page.url(), /arrangement=ribbon/);
    assert.match(decodeURIComponent(page.url()), /impingement=200,260,40/);
    // Quadrant is for 4 passes: refused on its own choice, in korvane-sheet's words.
    await page.selectOption('#pass-arrangement', 'quadrant');
    await settle(page);
    assert.equal(await page.textContent('#pass-arrangement-reason'),
      '此管程数没有这种布置：象限式为 4 管程，混合式为 6、8 管程，带状式为 4、6、8 管程');
    await context.close();
  });

  test('the keyboard alone reaches everything, in order, with a visible focus', async () => {
    const { context, page } = await openPage(browser, { hash: '#shell=600&tube=25&pitch=32&passes=2' });
    // The page starts in the diameter, as the window does; before it, the tabs and the language.
    assert.equal(await page.evaluate(() => document.activeElement.id), 'diameter');
    const back = [];
    for (let i = 0; i < 3; ++i) {
      await page.keyboard.press('Shift+Tab');
      back.push(await page.evaluate(() => document.activeElement.id));
    }
    assert.deepEqual(back, ['given', 'tab-layout', 'language']);
    await page.focus('#diameter');
    const order = [];
    for (let i = 0; i < 29; ++i) {
      await page.keyboard.press('Tab');
      order.push(await page.evaluate(() => {
        const element = document.activeElement;
        const style = getComputedStyle(element);
        return `${element.id}:${style.outlineStyle !== 'none' && style.outlineWidth !== '0px'}`;
      }));
    }
    const ids = order.map((entry) => entry.split(':')[0]);
    const expected = ['tube', 'pitch', 'pattern',
      'passes', 'centre', 'lanes', 'lane-spacing', 'clearance', 'centre-tube', 'head', 'bundle',
      'tie-rods', 'baffle-cut', 'impingement', 'gb151', 'design-title', 'open-design', 'save-design',
      'zoom-in', 'zoom-out', 'fit', 'numbers', 'save-svg',
      'save-dxf', 'save-png', 'save-csv', 'copy-link', 'print', 'sheet'];
    assert.deepEqual(ids.slice(0, expected.length), expected);
    assert.ok(order.every((entry) => entry.endsWith(':true')), order.join(' '));
    // The calculator by keys: the tab list's arrows, Tab through the boxes, Space on 计算.
    await page.focus('#tab-layout');
    await page.keyboard.press('ArrowRight');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'tab-count');
    for (const text of ['600', '32', '25', '57']) {
      await page.keyboard.press('Tab');
      await page.keyboard.type(text);
    }
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'Command1');
    await page.keyboard.press('Space');
    await settle(page);
    assert.equal(await page.getByLabel('结果').textContent(), '276');
    await context.close();
  });

  test('at 360 px wide nothing runs off the side', async () => {
    const { context, page } = await openPage(browser, { viewport: { width: 360, height: 740 },
      hash: '#shell=600&tube=25&pitch=32&passes=2' });
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= 360),
      `${await page.evaluate(() => document.documentElement.scrollWidth)} px wide`);
    await page.screenshot({ path: join(process.env.KORVANE_SHOTS || work, 'narrow.png'), fullPage: true });
    await context.close();
  });

  test('on a 4K screen and in dark mode', async () => {
    const { context, page } = await openPage(browser, { viewport: { width: 3840, height: 2160 },
      hash: '#shell=600&tube=25&pitch=32&passes=2' });
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= 3840));
    // The type grows with the screen, and the drawing takes the room.
    assert.equal(await page.evaluate(() => getComputedStyle(document.documentElement).fontSize), '20px');
    assert.ok((await page.locator('#sheet').boundingBox()).width > 2500);
    const light = await page.evaluate(() => getComputedStyle(document.documentElement).backgroundColor);
    await page.emulateMedia({ colorScheme: 'dark' });
    const dark = await page.evaluate(() => getComputedStyle(document.documentElement).backgroundColor);
    assert.notEqual(dark, light);
    assert.equal(dark, 'rgb(21, 25, 29)');
    await context.close();
  });

  test('opened from disk, the page asks no server for anything', async () => {
    const context = await browser.newContext({ locale: 'zh-CN' });
    const requests = [];
    context.on('request', (request) => requests.push(request.url()));
    await context.route(/^(https?|wss?|ftp):/, (route) => route.abort());
    const { page } = await openPage(browser, { context, hash: '#shell=600&tube=25&pitch=32&passes=2' });
    await page.getByRole('tab', { name: '排管计算' }).click();
    await typeInto(page, '#Text4', '600');
    await page.getByRole('button', { name: '计算' }).click();
    await settle(page);
    const outside = requests.filter((url) => !/^(file|blob|data):/.test(url));
    assert.deepEqual(outside, []);
    assert.equal(requests.filter((url) => url.startsWith('file:')).length, 1);
    await context.close();
  });
});

writeFileSync(join(work, 'README'), 'korvane.html test downloads\n');
