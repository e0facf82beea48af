#!/usr/bin/env node
// Measures the browser edition: the size of the page's files, the time from opening the page to its
// first frame, the page's own work (its main loop: the game's passes, converting and putting the
// picture) per second of play, and the CPU share of all the browser's processes while a scripted
// player pours for SECONDS seconds in headless Chromium, while the game sits idle for as long, and
// for a page that does nothing but put a 448 x 640 picture every 17 ms (the floor any such page pays).
// usage: scripts/web-play-and-measure.mjs [WEB_DIR] [SECONDS]   (after `make web`)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { pagePoint, serve, sourceDir, startBrowser } from '../tests/web/browser.mjs';

const webDir = path.resolve(process.argv[2] || path.join(sourceDir, 'build/web'));
const seconds = Number(process.argv[3] || 10);

// The published folder holds exactly the page's files.
function pageSize() {
  let bytes = 0;
  let compressed = 0;
  for (const name of fs.readdirSync(webDir).sort()) {
    const data = fs.readFileSync(path.join(webDir, name));
    bytes += data.length;
    compressed += zlib.gzipSync(data, { level: 9 }).length;
    console.log(`  ${name.padEnd(28)} ${String(data.length).padStart(8)} bytes`);
  }
  console.log(`page: ${bytes} bytes (${(bytes / 1024).toFixed(0)} KiB), ${compressed} bytes gzipped`);
}

// The processor time (in clock ticks) of `root` and of every process below it, by process.
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
  const inTree = new Map();
  for (const [pid, used] of ticks) {
    for (let at = pid; at > 1; at = parents.get(at) ?? 0) {
      if (at === root) {
        inTree.set(pid, used);
        break;
      }
    }
  }
  return inTree;
}

// The time the processes alive at the end used since `before`; those that ended meanwhile (a page
// closed) are left out.
function ticksSince(before, after) {
  let total = 0;
  for (const [pid, used] of after) total += used - (before.get(pid) ?? 0);
  return total;
}

const ticksPerSecond = Number(execFileSync('getconf', ['CLK_TCK']).toString());
const sleep = milliseconds => new Promise(resolve => setTimeout(resolve, milliseconds));

// Runs `during` for `seconds` and says what share of one core the browser's processes used meanwhile.
async function cpuShare(browser, what, during) {
  const root = browser.process().pid;
  const startTicks = treeTicks(root);
  const started = Date.now();
  await during(() => Date.now() - started < seconds * 1000);
  const elapsed = (Date.now() - started) / 1000;
  const used = ticksSince(startTicks, treeTicks(root)) / ticksPerSecond;
  console.log(`${what}: the browser's processes used ${(100 * used / elapsed).toFixed(0)} % of one core ` +
              `(${used.toFixed(2)} s in ${elapsed.toFixed(1)} s)`);
  return elapsed;
}

// A player pouring along the top of the field: a move every 40 ms, a click every second.
async function pour(page, going) {
  for (let step = 0; going(); ++step) {
    const x = 60 + (step * 7) % 330;
    const [pageX, pageY] = await pagePoint(page, x, 120 + (step % 40));
    await page.mouse.move(pageX, pageY);
    if (step % 25 === 0) await page.mouse.click(pageX, pageY);
    await sleep(40);
  }
}

async function measureGame(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForFunction(() => window.quorvantile.firstFrameMs !== null, { timeout: 20000 });
  const times = await page.evaluate(() => window.quorvantile);
  console.log(`first picture ${times.firstPictureMs.toFixed(0)} ms, first frame ${times.firstFrameMs.toFixed(0)} ms ` +
              'after the page was opened');

  const before = await page.evaluate(() => ({ ...window.quorvantile }));
  const elapsed = await cpuShare(browser, `playing for ${seconds} s`, going => pour(page, going));
  const after = await page.evaluate(() => ({ ...window.quorvantile }));
  console.log(`  ${((after.pictures - before.pictures) / elapsed).toFixed(1)} pictures a second; the page's own ` +
              `work ${((after.workMs - before.workMs) / elapsed).toFixed(1)} ms per second of play`);
  await cpuShare(browser, `idle for ${seconds} s`, async going => {
    while (going()) await sleep(100);
  });
  await page.close();
}

// Nothing but a 448 x 640 picture put every 17 ms, shown at the size the game's page shows it.
async function measureFloor(browser) {
  const page = await browser.newPage();
  await page.setContent(`<body style="margin:0;background:#000"><canvas width="448" height="640"></canvas><script>
    const context = document.querySelector('canvas').getContext('2d', { alpha: false });
    const picture = new ImageData(448, 640);
    setInterval(() => context.putImageData(picture, 0, 0), 17);
  </script></body>`);
  await cpuShare(browser, 'a page that puts a 448 x 640 picture every 17 ms', async going => {
    while (going()) await sleep(100);
  });
  await page.close();
}

pageSize();
const { url, stop } = await serve(webDir);
const { browser, close } = await startBrowser();
try {
  await measureGame(browser, url);
  await measureFloor(browser);
} finally {
  await close();
  stop();
}
