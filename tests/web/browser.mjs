// Shared by the browser tests and the measurement script: serving the page, starting headless
// Chromium, and reading and watching the canvas.
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

// Serves `folder` on 127.0.0.1 with the project's own server; resolves to { url, stop }. The
// server also stops when this process ends, however it ends, so that none outlives a failed test.
export function serve(folder) {
  return new Promise((resolve, reject) => {
    const server = spawn(path.join(sourceDir, 'scripts/serve-web'), [folder, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
    const stop = () => server.kill();
    process.once('exit', stop);
    let printed = '';
    server.stdout.on('data', chunk => {
      printed += chunk;
      const found = printed.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (found) resolve({ url: found[0], stop });
    });
    server.on('exit', code => reject(new Error(`serve-web ended with ${code}: ${printed}`)));
  });
}

// Headless Chromium with a profile of its own, so that nothing of another run is shared. Given a
// device pixel ratio, the browser runs as on a screen of that ratio, laying pages out in device
// pixels as a phone's browser does (an emulated ratio lays out in CSS pixels and scales the result,
// which no phone does); its pages then take their size and touch from `phone`.
export async function startBrowser({ devicePixelRatio } = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.QV_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    defaultViewport: devicePixelRatio ? null : { width: 600, height: 800 },
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync',
           ...(devicePixelRatio ? [`--force-device-scale-factor=${devicePixelRatio}`] : [])],
  });
  const close = async () => {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { browser, close };
}

// A phone's screen, width x height CSS pixels, for a browser started with its pixel ratio.
export const phone = (width, height) => ({
  userAgent: 'Mozilla/5.0 (Linux; Android 14) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/130.0.0.0 Mobile Safari/537.36',
  viewport: { width, height, deviceScaleFactor: 0, isMobile: true, hasTouch: true, isLandscape: width > height },
});

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

// Fetches the canvas until its pixels pass `check`, for as long as a busy machine may take; for what
// stays once it is there (a cursor frame, the end-of-game lines).
export async function waitForPicture(page, check, what) {
  const deadline = Date.now() + 10000;
  while (!check(await canvasPixels(page))) {
    if (Date.now() > deadline) throw new Error(`timed out after 10000 ms waiting for ${what}`);
  }
}

// A finger's tap at (x, y) on the page. The touch's start and end go out together: sent one after
// the other, each awaited, a busy machine can set them more than the half second apart that makes
// a long press, on which a browser clicks no button.
export async function tapAt(page, x, y) {
  const session = await page.createCDPSession();
  const touch = (type, touchPoints) => session.send('Input.dispatchTouchEvent', { type, touchPoints });
  await Promise.all([touch('touchStart', [{ x, y }]), touch('touchEnd', [])]);
  await session.detach();
}

// How many mouse messages of each kind the page has sent the game.
export const messageCounts = page => page.evaluate(() => ({ ...window.quorvantile.messages }));

// Where client pixel (x, y) of the picture lies on the page.
export async function pagePoint(page, x, y) {
  const box = await (await page.$('#game')).boundingBox();
  return [box.x + (x + 0.5) * box.width / kWidth, box.y + (y + 0.5) * box.height / kHeight];
}

// Waits for `predicate` (run in the page with `args`) to hold, for as long as a busy machine may take.
export async function waitFor(page, predicate, what, ...args) {
  const kDeadline = 10000;
  try {
    await page.waitForFunction(predicate, { timeout: kDeadline, polling: 20 }, ...args);
  } catch (error) {
    throw new Error(`timed out after ${kDeadline} ms waiting for ${what}: ${error.message}`);
  }
}

// Watches every picture the page shows from now on, for beads poured around picture pixel (x, y):
// at least 1000 pixels within 30 of it, outside the cursor's own square, that differ from the
// picture of now. Beads fall through that area within a few frames, so no test could count on
// seeing them in a picture it fetches at a time of its own; the page looks at each picture itself.
// Resolves when `beadsPoured` may be waited for.
export async function watchForBeads(page, x, y) {
  await page.evaluate((x, y) => {
    const canvas = document.getElementById('game');
    const context = canvas.getContext('2d');
    const area = () => context.getImageData(x - 30, y - 30, 60, 60).data;
    const before = area();
    window.beadsPoured = 0;
    const look = () => {
      const now = area();
      let changed = 0;
      for (let at = 0; at < now.length; at += 4) {
        const [dx, dy] = [(at / 4) % 60 - 30, Math.floor(at / 240) - 30];
        const moved = now[at] !== before[at] || now[at + 1] !== before[at + 1] || now[at + 2] !== before[at + 2];
        if (moved && (Math.abs(dx) > 12 || Math.abs(dy) > 12)) ++changed;
      }
      window.beadsPoured = Math.max(window.beadsPoured, changed);
      if (changed >= 1000) canvas.removeEventListener('quorvantile-picture', look);
    };
    canvas.addEventListener('quorvantile-picture', look);
  }, x, y);
}

export async function beadsPoured(page, what) {
  try {
    await waitFor(page, () => window.beadsPoured >= 1000, what);
  } catch (error) {
    throw new Error(`${error.message} (at most ${await page.evaluate(() => window.beadsPoured)} pixels changed)`);
  }
}

// Waits until the game has run `count` more frames.
export async function framesPass(page, count) {
  const start = await page.evaluate(() => window.quorvantile.frames());
  await waitFor(page, (until) => window.quorvantile.frames() >= until, `${count} frames`, start + count);
}

// Lets the browser save downloads, and gives `next`, which waits for the file of the next download
// a page starts (each in a folder of its own under `folder`) and resolves to its path.
export async function catchDownloads(browser, folder) {
  const session = await browser.target().createCDPSession();
  return {
    async next(what) {
      const into = fs.mkdtempSync(path.join(folder, 'download-'));
      await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: into, eventsEnabled: true });
      return new Promise((resolve, reject) => {
        const kDeadline = 10000;
        const timer = setTimeout(() => finish(new Error(`timed out after ${kDeadline} ms waiting for ${what}`)), kDeadline);
        const progress = event => {
          if (event.state === 'completed') finish(null, path.join(into, fs.readdirSync(into)[0]));
          if (event.state === 'canceled') finish(new Error(`the browser cancelled ${what}`));
        };
        function finish(error, file) {
          clearTimeout(timer);
          session.off('Browser.downloadProgress', progress);
          if (error) reject(error); else resolve(file);
        }
        session.on('Browser.downloadProgress', progress);
      });
    },
  };
}
