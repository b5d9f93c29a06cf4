// What the page's tests and its benchmark share: Debian's Chromium, headless, opening the built
// page from disk, and the programs the page must agree with.
import { execFileSync } from 'node:child_process';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

export const pagePath = process.env.KORVANE_PAGE;
export const layoutProgram = process.env.KORVANE_LAYOUT;
export const countProgram = process.env.KORVANE_COUNT;
if (!pagePath)
  throw new Error('KORVANE_PAGE must name the built korvane.html');
export const pageUrl = pathToFileURL(pagePath).href;

/// Chromium as the machine has it: no downloads of its own, no background connections.
export function launch() {
  return chromium.launch({
    executablePath: process.env.KORVANE_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--disable-dev-shm-usage'],
  });
}

/// Waits until the page has answered everything asked of it.
export async function settle(page) {
  await page.waitForFunction(() => document.documentElement.dataset.busy === '0', null,
    { timeout: 30000 });
}

/// A fresh context (its own storage) and the page in it, opened from disk and settled.
export async function openPage(browser,
  { hash = '', locale = 'zh-CN', viewport, context, touch = false } = {}) {
  const owner = context || await browser.newContext({ locale, viewport: viewport ||
      { width: 1280, height: 900 }, acceptDownloads: true, hasTouch: touch });
  const page = await owner.newPage();
  await page.goto(pageUrl + hash);
  await page.waitForFunction(() => window.korvane !== undefined);
  await settle(page);
  return { context: owner, page };
}

/// korvane-layout --json for the same options.
export function layoutJson(options) {
  const args = ['--json'];
  for (const [name, value] of options)
    args.push(name === 'gb151' ? '--gb151' : `--${name}=${value}`);
  return JSON.parse(execFileSync(layoutProgram, args, { encoding: 'utf8' }));
}

/// korvane-count --json for the four texts of the calculator's boxes.
export function countJson(texts) {
  try {
    return JSON.parse(execFileSync(countProgram, ['--json', '--', ...texts],
      { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }));
  } catch (error) {
    // A run-time error ends it with a failure status, its JSON printed all the same.
    if (error.stdout)
      return JSON.parse(error.stdout);
    throw error;
  }
}

/// Types a text into a box as a person does: the old text selected away, then key by key.
export async function typeInto(page, selector, text) {
  const box = page.locator(selector);
  await box.fill('');
  if (text !== '')
    await box.pressSequentially(text);
}

/// Sets the layout's inputs from korvane-layout's options, by the page's own controls.
export async function enterLayout(page, options) {
  const given = options.find(([name]) => name === 'shell' || name === 'otl');
  await page.selectOption('#given', given ? given[0] : 'shell');
  for (const [name, value] of Object.entries({ pattern: '30', passes: '1', centre: 'on-tube',
    lanes: 'remove', head: 'fixed', bundle: 'fixed' })) {
    const chosen = options.find(([option]) => option === name);
    // A choice that rests (the head beside a layout circle) is not the layout's.
    if (await page.locator('#' + name).isEnabled())
      await page.selectOption('#' + name, chosen ? chosen[1] : value);
  }
  await page.setChecked('#gb151', options.some(([name]) => name === 'gb151'));
  for (const id of ['diameter', 'tube', 'pitch', 'lane-spacing', 'clearance', 'centre-tube',
    'bend-radius', 'tie-rods', 'baffle-cut']) {
    const typed = options.find(([name]) => name === id ||
        (id === 'diameter' && (name === 'shell' || name === 'otl')));
    if (await page.locator('#' + id).isEnabled())
      await typeInto(page, '#' + id, typed ? typed[1] : '');
  }
  await settle(page);
}
