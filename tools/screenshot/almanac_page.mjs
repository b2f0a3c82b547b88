// The almanac page for 26 October 2007 in the emulator, as a picture:
//   node almanac_page.mjs LUMENO_PROGRAM OUTPUT.png

import { startBrowser, startEmulator } from './emulator_session.mjs';

const [lumeno, output] = process.argv.slice(2);
if (!lumeno || !output) {
  console.error('usage: node almanac_page.mjs LUMENO_PROGRAM OUTPUT.png');
  process.exit(2);
}

const emulator = await startEmulator(lumeno);
const browser = await startBrowser();
try {
  const page = browser.context.pages()[0] || (await browser.context.newPage());
  await page.goto(emulator.url);
  await page.fill('#date-input', '2007-10-26');
  await page.dispatchEvent('#date-input', 'change');
  await page.click('button[data-plugin="LM_almanac"]');
  const frame = page.frameLocator('iframe.viewer');
  await frame.locator('table').waitFor();
  await page.waitForTimeout(300);
  await page.screenshot({ path: output });
  console.log('wrote ' + output);
} finally {
  await browser.close();
  await emulator.stop();
}
