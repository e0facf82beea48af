#!/usr/bin/env node
// Measures the browser edition: the size of the page's files, the time from opening the page to its
// first frame, and the CPU share of all the browser's processes while a scripted player pours for
// SECONDS seconds in headless Chromium.
// usage: scripts/web-play-and-measure.mjs [WEB_DIR] [SECONDS]   (after `make web`)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { pagePoint, serve, sourceDir, startBrowser } from '../tests/web/browser.mjs';

const webDir = path.resolve(process.argv[2] || path.join(sourceDir, 'build/web'));
const seconds = Number(process.argv[3] || 10);
const kPageFiles = ['index.html', 'page.js', 'page.css', 'quorvantile.js', 'quorvantile.wasm', 'back1_sml.bmp',
                    'back2_sml.bmp', 'score-font.ttf', 'score-font-licence.txt'];

function pageSize() {
  let bytes = 0;
  let compressed = 0;
  for (const name of kPageFiles) {
    const data = fs.readFileSync(path.join(webDir, name));
    bytes += data.length;
    compressed += zlib.gzipSync(data, { level: 9 }).length;
    console.log(`  ${name.padEnd(24)} ${String(data.length).padStart(8)} bytes`);
  }
  console.log(`page: ${bytes} bytes (${(bytes / 1024).toFixed(0)} KiB), ${compressed} bytes gzipped`);
}

// The processor time (in clock ticks) of `root` and every process below it.
function treeTicks(root) {
  const parents = new Map();
  const ticks = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      parents.set(Number(entry), Number(fields[1]));
      ticks.set(Number(entry), Number(fields[11]) + Number(fields[12]));
    } catch {
      // the process ended while being read
    }
  }
  let total = 0;
  for (const [pid, used] of ticks) {
    for (let at = pid; at > 1; at = parents.get(at) ?? 0) {
      if (at === root) {
        total += used;
        break;
      }
    }
  }
  return total;
}

pageSize();
const ticksPerSecond = Number(execFileSync('getconf', ['CLK_TCK']).toString());
const { url, stop } = await serve(webDir);
const { browser, close } = await startBrowser();
try {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForFunction(() => window.quorvantile.firstFrameMs !== null, { timeout: 20000 });
  const times = await page.evaluate(() => window.quorvantile);
  console.log(`first picture ${times.firstPictureMs.toFixed(0)} ms, first frame ${times.firstFrameMs.toFixed(0)} ms ` +
              'after the page was opened');

  const root = browser.process().pid;
  const startTicks = treeTicks(root);
  const startPictures = await page.evaluate(() => window.quorvantile.pictures);
  const started = Date.now();
  for (let step = 0; Date.now() - started < seconds * 1000; ++step) {
    const x = 60 + (step * 7) % 330;
    const [pageX, pageY] = await pagePoint(page, x, 120 + (step % 40));
    await page.mouse.move(pageX, pageY);
    if (step % 25 === 0) await page.mouse.click(pageX, pageY);
    await new Promise(resolve => setTimeout(resolve, 40));
  }
  const elapsed = (Date.now() - started) / 1000;
  const used = (treeTicks(root) - startTicks) / ticksPerSecond;
  const pictures = (await page.evaluate(() => window.quorvantile.pictures)) - startPictures;
  console.log(`played ${elapsed.toFixed(1)} s: ${(pictures / elapsed).toFixed(1)} pictures a second; ` +
              `the browser's processes used ${used.toFixed(2)} s of processor time, ` +
              `${(100 * used / elapsed).toFixed(0)} % of one core`);
} finally {
  await close();
  stop();
}
