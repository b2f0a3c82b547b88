// The emulator in a real browser (Debian's chromium, never a downloaded one):
// the almanac page read, its About box dismissed and Back seen on the
// calendar side; several tabs on one device; a hostile document inert.

import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createInterface } from 'node:readline';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';

const LUMENO = process.env.LUMENO_BIN;
const HOSTILE_PLUGINS = process.env.HOSTILE_PLUGINS;

async function startEmulator(extraArgs = []) {
  const home = mkdtempSync(join(tmpdir(), 'lumeno-browser-'));
  const child = spawn(LUMENO, ['serve', '--port', '0', ...extraArgs], {
    env: { ...process.env, XDG_DATA_HOME: home },
    stdio: ['ignore', 'pipe', 'inherit'],
  });
  const url = await new Promise((resolve, reject) => {
    createInterface({ input: child.stdout }).once('line', resolve);
    child.once('exit', (code) => reject(new Error('lumeno serve exited with ' + code)));
  });
  return {
    url,
    origin: new URL(url).origin,
    async stop() {
      if (child.exitCode === null) {
        child.kill('SIGTERM');
        await new Promise((resolve) => child.once('exit', resolve));
      }
      rmSync(home, { recursive: true, force: true });
    },
  };
}

let context, userDataDir;
before(async () => {
  userDataDir = mkdtempSync(join(tmpdir(), 'lumeno-chromium-'));
  context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
});
after(async () => {
  await context.close();
  rmSync(userDataDir, { recursive: true, force: true });
});

async function openPage(page, plugin, date) {
  await page.fill('#date-input', date);
  await page.dispatchEvent('#date-input', 'change');
  await page.click(`button[data-plugin="${plugin}"]`);
  await page.waitForSelector('body[data-mode="page"]');
}

test('almanac for 2007-10-26: table, About, Back gives 40002', async () => {
  const emulator = await startEmulator();
  try {
    const page = await context.newPage();
    await page.goto(emulator.url);
    assert.equal(new URL(page.url()).search, '', 'the token leaves the address bar');
    await page.waitForSelector('button[data-plugin="LM_almanac"]');
    assert.match(await page.textContent('button[data-plugin="LM_almanac"]'), /黄道吉日 1\.3/);

    await openPage(page, 'LM_almanac', '2007-10-26');
    const viewer = page.frameLocator('iframe.viewer');
    const rows = viewer.locator('table tr');
    await rows.first().waitFor();
    assert.equal(await rows.count(), 9);
    assert.deepEqual(await rows.nth(0).locator('td').allTextContents(), ['公元', '2007年10月26日']);
    assert.deepEqual(await rows.nth(2).locator('td').allTextContents(), ['忌', '出行 祈福 安葬 作灶']);
    assert.equal((await rows.nth(8).locator('td').allTextContents())[0], '彭祖百忌');
    assert.equal(await page.textContent('.taskbar .title'), '黄道吉日');
    assert.equal(await page.textContent('.softkey[data-index="0"]'), '返回');

    // A second tab shows the same device; a reload finds the page still open.
    const second = await context.newPage();
    await second.goto(emulator.origin + '/');
    await second.frameLocator('iframe.viewer').locator('table').waitFor();
    await second.close();
    await page.reload();
    await page.frameLocator('iframe.viewer').locator('table').waitFor();

    await page.click('.softkey[data-index="1"]');
    await page.waitForSelector('.msgbox');
    assert.equal(await page.textContent('.msgbox-title'), '關於');
    assert.match(await page.textContent('.msgbox-text'), /^黄道吉日 V1\.3\n/);
    // The page behind the message box takes no input.
    const behind = await page.evaluate(async () => {
      const version = Number(document.body.dataset.version);
      const answer = await fetch('/api/input', {
        method: 'POST', headers: { 'Content-Type': 'application/json' },
        body: JSON.stringify({ action: 'softkey', index: 0, version }),
      });
      return answer.status;
    });
    assert.equal(behind, 422);
    await page.click('.msgbox button[data-answer="ok"]');
    await page.waitForSelector('.msgbox', { state: 'detached' });

    await page.click('.softkey[data-index="0"]');
    await page.waitForSelector('body[data-mode="calendar"]');
    assert.equal(await page.getAttribute('#last-result', 'data-show-day'), '40002');
    assert.equal(await page.locator('iframe.viewer').count(), 0);
    await page.close();
  } finally {
    await emulator.stop();
  }
});

test('a hostile document shows as inert markup and nothing leaves the browser', async () => {
  const emulator = await startEmulator(['--plugins', HOSTILE_PLUGINS]);
  try {
    const page = await context.newPage();
    const foreign = [];
    page.on('request', (r) => { if (!r.url().startsWith(emulator.origin)) foreign.push(r.url()); });
    // Nothing may leave even if the page failed: every foreign request is
    // stopped here and recorded.
    await page.route('**/*', (route) => {
      if (route.request().url().startsWith(emulator.origin)) return route.continue();
      return route.abort();
    });
    const dialogs = [];
    page.on('dialog', (d) => { dialogs.push(d.message()); d.dismiss(); });
    await page.goto(emulator.url);
    await page.waitForSelector('button[data-plugin="LM_hostile_test"]');
    await openPage(page, 'LM_hostile_test', '2007-10-26');

    const frameElement = page.locator('iframe.viewer');
    assert.equal(await frameElement.getAttribute('sandbox'), '');
    assert.match(await frameElement.getAttribute('srcdoc'), /Content-Security-Policy" content="default-src 'none'/);
    const viewer = page.frameLocator('iframe.viewer');
    await viewer.locator('#headline').waitFor();
    assert.equal(await viewer.locator('#headline').textContent(), 'Hostile record');
    assert.equal(await viewer.locator('script, iframe, meta[http-equiv="refresh"], link, form').count(), 0);
    assert.equal(await viewer.locator('[onerror], [onmouseover], [href], [src]').count(), 0);
    await viewer.locator('p').first().hover();
    await viewer.locator('#away').click();
    await page.waitForTimeout(1500);
    assert.equal(await viewer.locator('#headline').textContent(), 'Hostile record', 'still on the document');
    assert.deepEqual(foreign, []);
    assert.deepEqual(dialogs, []);

    await page.click('.softkey[data-index="0"]');
    await page.waitForSelector('body[data-mode="calendar"]');
    assert.equal(await page.getAttribute('#last-result', 'data-show-day'), '40002');
    await page.close();
  } finally {
    await emulator.stop();
  }
});

test('standard controls answer a person in the browser', async () => {
  const emulator = await startEmulator(['--plugins', HOSTILE_PLUGINS]);
  try {
    const page = await context.newPage();
    await page.goto(emulator.url);
    await page.waitForSelector('button[data-plugin="LM_controls_test"]');
    await openPage(page, 'LM_controls_test', '2007-10-26');
    const echo = page.locator('.win[data-id="1007"]');
    const says = async (text) => {
      await page.waitForFunction(
        (t) => document.querySelector('.win[data-id="1007"]')?.textContent === t, text);
    };
    await says('list=-1 month=0 year=2007 edit=');

    await page.click('.win[data-id="1001"] .row[data-index="2"]');
    await says('list=2 month=0 year=2007 edit=');
    assert.equal(await page.locator('.win[data-id="1001"] .row.selected').textContent(), '丙');

    await page.selectOption('.win[data-id="1002"] select', '1');
    await says('list=2 month=1 year=2007 edit=');

    await page.selectOption('.win[data-id="1003"] select', '0');
    await says('list=2 month=1 year=2006 edit=');
    await page.fill('.win[data-id="1003"] input', '1999');
    await page.press('.win[data-id="1003"] input', 'Tab');
    await says('list=2 month=1 year=1999 edit=');

    await page.fill('.win[data-id="1004"]', '二十八');
    await page.press('.win[data-id="1004"]', 'Tab');
    await says('list=2 month=1 year=1999 edit=二十八');

    await page.click('.win[data-id="1005"]');
    await page.waitForSelector('.win[data-id="1006"][aria-valuenow="75"]');

    // Up on the focused list moves the selection through the platform.
    await page.focus('.win[data-id="1001"]');
    await page.keyboard.press('ArrowUp');
    await says('list=1 month=1 year=1999 edit=二十八');

    // The page's own painting reaches the screen.
    assert.equal(await page.locator('canvas.paint').count(), 1);
    assert.equal(await echo.count(), 1);

    await page.click('.softkey[data-index="0"]');
    await page.waitForSelector('body[data-mode="calendar"]');
    assert.equal(await page.getAttribute('#last-result', 'data-show-day'), '40002');
    await page.close();
  } finally {
    await emulator.stop();
  }
});
