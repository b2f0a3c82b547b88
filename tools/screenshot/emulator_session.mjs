// Starts `lumeno serve` on a free port with a throw-away device root and
// Debian's chromium (never a downloaded browser), for pictures of the
// emulator.

import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createInterface } from 'node:readline';
import { chromium } from 'playwright-core';

export const CHROMIUM = '/usr/bin/chromium';

export async function startEmulator(lumeno, extraArgs = []) {
  const home = mkdtempSync(join(tmpdir(), 'lumeno-shot-'));
  const child = spawn(lumeno, ['serve', '--port', '0', ...extraArgs], {
    env: { ...process.env, XDG_DATA_HOME: home },
    stdio: ['ignore', 'pipe', 'inherit'],
  });
  const lines = createInterface({ input: child.stdout });
  const url = await new Promise((resolve, reject) => {
    lines.once('line', resolve);
    child.once('exit', (code) => reject(new Error('lumeno serve exited with ' + code)));
  });
  const stop = async () => {
    if (child.exitCode === null) {
      child.kill('SIGTERM');
      await new Promise((resolve) => child.once('exit', resolve));
    }
    rmSync(home, { recursive: true, force: true });
  };
  return { url, stop };
}

export async function startBrowser() {
  const userDataDir = mkdtempSync(join(tmpdir(), 'lumeno-chromium-'));
  const context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: CHROMIUM,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    viewport: { width: 700, height: 560 },
  });
  const close = async () => {
    await context.close();
    rmSync(userDataDir, { recursive: true, force: true });
  };
  return { context, close };
}
