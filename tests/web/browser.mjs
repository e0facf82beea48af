// Shared by the browser test and the measurement script: serving the page, starting headless
// Chromium, and reading the canvas.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const sourceDir = path.resolve(here, '../..');

export const kWidth = 448;
export const kHeight = 640;

// Serves `folder` on 127.0.0.1 with the project's own server; resolves to { url, stop }.
export function serve(folder) {
  return new Promise((resolve, reject) => {
    const server = spawn(path.join(sourceDir, 'scripts/serve-web'), [folder, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
    let printed = '';
    server.stdout.on('data', chunk => {
      printed += chunk;
      const found = printed.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (found) resolve({ url: found[0], stop: () => server.kill() });
    });
    server.on('exit', code => reject(new Error(`serve-web ended with ${code}: ${printed}`)));
  });
}

// Headless Chromium with a profile of its own, so that nothing of another run is shared.
export async function startBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.QV_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    defaultViewport: { width: 600, height: 800 },
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  const close = async () => {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { browser, close };
}

// The canvas's pixels as red, green, blue, alpha bytes, top row first.
export async function canvasPixels(page) {
  const base64 = await page.evaluate(() => {
    const canvas = document.getElementById('game');
    const bytes = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(text);
  });
  return Buffer.from(base64, 'base64');
}

// Where client pixel (x, y) of the picture lies on the page.
export async function pagePoint(page, x, y) {
  const box = await (await page.$('#game')).boundingBox();
  return [box.x + (x + 0.5) * box.width / kWidth, box.y + (y + 0.5) * box.height / kHeight];
}

export async function waitFor(page, predicate, timeout, what) {
  try {
    await page.waitForFunction(predicate, { timeout, polling: 20 });
  } catch {
    throw new Error(`timed out after ${timeout} ms waiting for ${what}`);
  }
}
