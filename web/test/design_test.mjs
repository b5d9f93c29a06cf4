// The design on korvane.html in Debian's Chromium: tubes edited by a click, a tap and keys count
// as korvane-layout counts them, undo and redo walk edits and inputs, a design saved by the page
// opens on the command line and in the window as the same bytes and the reverse, a bad file
// changes nothing, unsaved changes are asked about, and the address keeps short edits.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';

import { launch, openPage, settle } from './support.mjs';

const work = mkdtempSync(join(tmpdir(), 'korvane-design-'));
const layoutProgram = process.env.KORVANE_LAYOUT;
let browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser.close();
});

const program = (args) => execFileSync(layoutProgram, args, { encoding: 'utf8' });
const layoutOf = (args) => JSON.parse(program(['--json', ...args]));
const counts = (page) => page.evaluate(() => ({
  total: Number(document.getElementById('total').textContent),
  removed: Number(document.getElementById('edit-removed').textContent),
  dummies: Number(document.getElementById('dummy-tubes').textContent),
}));
const want = (args) => {
  const layout = layoutOf(args);
  return { total: layout.total, removed: layout.edit_removed, dummies: layout.dummy_tubes };
};

/// The tubes korvane-layout lists, with their sites, and where each is on the page's screen.
function listed(args) {
  return program([...args, '--tubes', '-']).split('\n').filter((line) => /^\d/.test(line))
    .map((line) => {
      const [n, x, y, pass, site] = line.split(',');
      return { n: Number(n), x: Number(x), y: Number(y), pass: Number(pass), site };
    });
}

async function screenPoint(page, tube) {
  return page.evaluate(([x, y]) => {
    const view = window.korvane.view();
    const frame = view.frame;
    const box = document.getElementById('sheet').getBoundingClientRect();
    return [box.left + view.x + (frame.centre_x + frame.scale * x) * view.scale,
      box.top + view.y + (frame.centre_y - frame.scale * y) * view.scale];
  }, [tube.x, tube.y]);
}

/// Clicks a tube and chooses an edit from its menu.
async function editByMenu(page, tube, item) {
  const [x, y] = await screenPoint(page, tube);
  await page.mouse.click(x, y);
  await page.waitForSelector('#edit-menu:not([hidden])');
  await page.getByRole('menuitem', { name: item }).click();
  await settle(page);
}

async function saved(page, click) {
  const [download] = await Promise.all([page.waitForEvent('download'), click()]);
  const file = join(work, `${Date.now()}-${download.suggestedFilename()}`);
  await download.saveAs(file);
  return file;
}

const base = ['--shell', '600', '--tube', '25', '--pitch', '32', '--passes', '2'];
const hash = '#shell=600&tube=25&pitch=32&passes=2';

describe('a design made on the page', () => {
  test('edits by menu and keys count as korvane-layout, undo and redo walk them', async () => {
    const { context, page } = await openPage(browser, { hash });
    const tubes = listed(base);
    const [a, b] = [tubes[10], tubes[40]];
    await editByMenu(page, a, '去掉此管');
    assert.deepEqual(await counts(page), want([...base, '--remove', a.site]));
    await editByMenu(page, b, '设为假管');
    assert.deepEqual(await counts(page), want([...base, '--remove', a.site, '--dummy', b.site]));
    // The keys act on the tube marked.
    await page.focus('#sheet');
    await page.keyboard.press('Backspace');
    await settle(page);
    assert.deepEqual(await counts(page), want([...base, '--remove', a.site]));
    await page.keyboard.press('d');
    await settle(page);
    const both = [...base, '--remove', a.site, '--dummy', b.site];
    assert.deepEqual(await counts(page), want(both));
    // An input is a step too; undo walks back over it and the edits, redo forward.
    await page.fill('#diameter', '650');
    await settle(page);
    const larger = ['--shell', '650', ...base.slice(2)];
    assert.deepEqual(await counts(page), want([...larger, '--remove', a.site, '--dummy', b.site]));
    await page.getByRole('button', { name: '撤销' }).click();
    await settle(page);
    assert.equal(await page.inputValue('#diameter'), '600');
    assert.deepEqual(await counts(page), want(both));
    await page.keyboard.press('Control+z');
    await settle(page);
    assert.deepEqual(await counts(page), want([...base, '--remove', a.site]));
    await page.keyboard.press('Control+y');
    await page.getByRole('button', { name: '重做' }).click();
    await settle(page);
    assert.deepEqual(await counts(page), want([...larger, '--remove', a.site, '--dummy', b.site]));
    // The address holds the edits, short as they are, and a reload brings them back.
    assert.match(page.url(), new RegExp(`remove=${a.site}&dummy=${b.site}$`));
    const again = await context.newPage();
    await again.goto(page.url());
    await again.waitForFunction(() => window.korvane !== undefined);
    await settle(again);
    assert.deepEqual(await counts(again), want([...larger, '--remove', a.site, '--dummy', b.site]));
    await context.close();
  });

  test('a tap on a touch screen offers the same edits', async () => {
    const { context, page } = await openPage(browser, { hash, touch: true });
    const tube = listed(base)[7];
    const [x, y] = await screenPoint(page, tube);
    await page.touchscreen.tap(x, y);
    await page.waitForSelector('#edit-menu:not([hidden])');
    assert.equal(await page.isDisabled('#edit-restore'), true);
    await page.tap('#edit-remove');
    await settle(page);
    assert.deepEqual(await counts(page), want([...base, '--remove', tube.site]));
    await context.close();
  });
});

describe('design files between the page, the window and the command line', () => {
  test('saved by the page: the same bytes when korvane-layout and korvane-sheet save it again',
    async () => {
      const { context, page } = await openPage(browser, { hash });
      const tubes = listed(base);
      await editByMenu(page, tubes[5], '去掉此管');
      await editByMenu(page, tubes[9], '设为假管');
      await page.fill('#design-title', 'E-101 管板');
      await settle(page);
      assert.match(await page.title(), /^\*E-101 管板 — /);
      const file = await saved(page, () => page.getByRole('button', { name: '保存设计' }).click());
      assert.doesNotMatch(await page.title(), /^\*/);
      const bytes = readFileSync(file);
      const byProgram = join(work, 'program.json'), byWindow = join(work, 'window.json');
      program(['--design', file, '--save-design', byProgram]);
      assert.ok(readFileSync(byProgram).equals(bytes));
      execFileSync(process.env.KORVANE_SHEET_PROBE, ['resave', file, byWindow],
        { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
      assert.ok(readFileSync(byWindow).equals(bytes));
      // And the window's file, opened on the page and saved again: the same bytes still.
      await page.setInputFiles('#design-file', byWindow);
      await settle(page);
      const fromWindow = await saved(page, () => page.keyboard.press('Control+s'));
      assert.ok(readFileSync(fromWindow).equals(bytes));
      const json = JSON.parse(bytes.toString('utf8'));
      assert.equal(json.title, 'E-101 管板');
      assert.deepEqual(json.edits, [{ site: tubes[5].site, action: 'remove' },
        { site: tubes[9].site, action: 'dummy' }]);
      await context.close();
    });

  test('saved by the command line, with keys it does not know: opened and saved the same',
    async () => {
      const made = join(work, 'made.json');
      program([...base, '--remove', 'r1c1', '--dummy', 'r2c2', '--title', 'E-7',
        '--save-design', made]);
      const text = JSON.parse(readFileSync(made, 'utf8'));
      text.project = { job: 7 };
      text.edits[0].note = 'drain';
      writeFileSync(made, JSON.stringify(text, null, 2) + '\n');
      const { context, page } = await openPage(browser);
      await page.setInputFiles('#design-file', made);
      await settle(page);
      assert.deepEqual(await counts(page), want(['--design', made]));
      assert.equal(await page.inputValue('#design-title'), 'E-7');
      assert.equal(await page.inputValue('#diameter'), '600');
      const file = await saved(page, () => page.keyboard.press('Control+s'));
      assert.ok(readFileSync(file).equals(readFileSync(made)));
      await context.close();
    });

  test('a bad file is refused with its reason and changes nothing', async () => {
    const { context, page } = await openPage(browser, { hash });
    await editByMenu(page, listed(base)[3], '去掉此管');
    const before = await counts(page);
    const bad = [
      ['notjson.json', '{"format": ', '不是 JSON 文件'],
      ['other.json', '{"format": "sketch", "version": 1}', '不是设计文件：格式不是 korvane-design'],
      ['later.json', '{"format": "korvane-design", "version": 3}',
        '版本 3 的设计文件，由较新的 Korvane 保存：本程序读版本 1'],
      ['action.json', '{"format": "korvane-design", "version": 1, "edits": [{"site": "r1c1", "action": "plug"}]}',
        '动作“plug”既不是 remove 也不是 dummy'],
      ['site.json', '{"format": "korvane-design", "version": 1, "edits": [{"site": "1,1", "action": "remove"}]}',
        '管位“1,1”不是 r3c-5 的形式'],
      ['big.json', ' '.repeat(16 * 1024 * 1024 + 1), '大于 16 MB'],
    ];
    for (const [name, content, reason] of bad) {
      const file = join(work, name);
      writeFileSync(file, content);
      await page.setInputFiles('#design-file', file);
      await settle(page);
      assert.equal(await page.textContent('#status'), `无法打开设计 ${name}：${reason}`);
      assert.deepEqual(await counts(page), before);
    }
    await context.close();
  });

  test('unsaved changes are asked about before they are lost', async () => {
    const other = join(work, 'other.json');
    program(['--shell', '700', '--tube', '25', '--pitch', '32', '--save-design', other]);
    const { context, page } = await openPage(browser, { hash });
    await editByMenu(page, listed(base)[3], '去掉此管');
    const dialogs = [];
    // The next question the page asks is answered yes or no, and its kind noted.
    const answerNext = (yes) => page.once('dialog', (dialog) => {
      dialogs.push(dialog.type());
      return yes ? dialog.accept() : dialog.dismiss();
    });
    answerNext(false);
    await page.setInputFiles('#design-file', other);
    await settle(page);
    assert.deepEqual(dialogs, ['confirm']);
    assert.equal(await page.inputValue('#diameter'), '600');
    answerNext(true);
    await page.setInputFiles('#design-file', other);
    await settle(page);
    assert.equal(await page.inputValue('#diameter'), '700');
    assert.equal((await counts(page)).removed, 0);
    // Another link over edits not saved asks too; one that keeps the edits does not.
    const opened = ['--shell', '700', '--tube', '25', '--pitch', '32'];
    await editByMenu(page, listed(opened)[3], '去掉此管');
    const follow = async (link) => {
      await page.evaluate((text) => { location.hash = text; }, link);
      await settle(page);
    };
    await follow(new URL(page.url()).hash.replace('shell=700', 'shell=710'));
    assert.equal(await page.inputValue('#diameter'), '710');
    assert.equal((await counts(page)).removed, 1);
    answerNext(false);
    await follow(hash);
    assert.equal(await page.inputValue('#diameter'), '710');
    assert.equal((await counts(page)).removed, 1);
    assert.match(page.url(), /shell=710.*remove=r/);
    answerNext(true);
    await follow(hash);
    assert.equal(await page.inputValue('#diameter'), '600');
    assert.equal((await counts(page)).removed, 0);
    // Leaving with changes not saved asks too.
    await page.fill('#design-title', 'changed');
    await settle(page);
    answerNext(false);
    await page.close({ runBeforeUnload: true });
    await new Promise((resolve) => setTimeout(resolve, 500));
    assert.deepEqual(dialogs, ['confirm', 'confirm', 'confirm', 'confirm', 'beforeunload']);
    await context.close();
  });

  test('the address keeps the edits while the link stays under 2,000 characters', async () => {
    const large = ['--shell', '1200', '--tube', '19', '--pitch', '25'];
    const sites = listed(large).map((tube) => tube.site);
    const many = join(work, 'many.json'), few = join(work, 'few.json');
    program([...large, '--remove', sites.slice(0, 300).join(','), '--save-design', many]);
    program([...large, '--remove', sites.slice(0, 3).join(','), '--save-design', few]);
    const { context, page } = await openPage(browser);
    await page.setInputFiles('#design-file', few);
    await settle(page);
    assert.match(page.url(), new RegExp(`remove=${sites.slice(0, 3).join(',')}$`));
    await page.setInputFiles('#design-file', many);
    await settle(page);
    assert.ok(page.url().length < 2000);
    assert.doesNotMatch(page.url(), /remove=/);
    assert.equal((await counts(page)).removed, 300);
    // The design itself is kept for the next visit all the same.
    const again = await context.newPage();
    await again.goto(page.url());
    await again.waitForFunction(() => window.korvane !== undefined);
    await settle(again);
    assert.equal((await counts(again)).removed, 300);
    assert.ok(await again.getByRole('button', { name: '打开设计' }).isVisible());
    await context.close();
  });
});
