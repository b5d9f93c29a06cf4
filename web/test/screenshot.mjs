// The README's picture of the page: node web/test/screenshot.mjs docs/page.png
import { launch, openPage } from './support.mjs';

const browser = await launch();
const { page } = await openPage(browser, { viewport: { width: 1280, height: 860 },
  hash: '#shell=600&tube=25&pitch=32&passes=4&centre-tube=57&baffle-cut=25' });
await page.screenshot({ path: process.argv[2] || 'page.png' });
await browser.close();
