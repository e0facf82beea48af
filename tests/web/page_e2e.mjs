// The browser edition in headless Chromium, played as a player plays it, and compared pixel for
// pixel with the native headless runner for a scripted session.
// usage: node page_e2e.mjs WEB_DIR NATIVE_RUNNER ASSETS_DIR [SCREENSHOT_DIR]
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { canvasPixels, kHeight, kWidth, pagePoint, serve, startBrowser, waitFor } from './browser.mjs';

const [webDir, nativeRunner, assetsDir] = process.argv.slice(2, 5).map(argument => path.resolve(argument));
const shotArgument = process.argv[5];
const shots = shotArgument || fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-web-shots-'));
fs.mkdirSync(shots, { recursive: true });

// Scripted sessions for the comparison with the native runner: one with pours in several places,
// the end of a game and a restart; and the start of a recorded one in which sparkles score.
const kSessions = [
  {
    name: 'pours-and-restart', seed: 11, frames: 150,
    script: ['1 move 100 120', '2 ldown 100 120', '3 lup 100 120', '25 move 300 200', '26 ldown 300 200',
             '60 move 380 520', '61 ldown 380 520', '80 rdown 380 520', '81 rup 380 520', '84 ldown 224 300',
             '86 ldown 60 560', '110 ldown 224 300'].join('\n') + '\n',
  },
  {
    name: 'bottom-carve', seed: 17, frames: 150,
    script: fs.readFileSync(path.join(assetsDir, '../tests/tools/golden/bottom_carve.input'), 'utf8'),
  },
];

function pixel(pixels, x, y) {
  const at = (y * kWidth + x) * 4;
  return [pixels[at], pixels[at + 1], pixels[at + 2]];
}

function countIn(pixels, left, top, right, bottom, accept) {
  let count = 0;
  for (let y = top; y < bottom; ++y) {
    for (let x = left; x < right; ++x) if (accept(pixel(pixels, x, y), x, y)) ++count;
  }
  return count;
}

const isBlack = ([r, g, b]) => r === 0 && g === 0 && b === 0;
const isWhite = ([r, g, b]) => r === 255 && g === 255 && b === 255;

// Text lines are black on white: some of each, and nothing else, in the line's band.
function assertTextLine(pixels, top, what) {
  const ink = countIn(pixels, 0, top, 100, top + 16, isBlack);
  const paper = countIn(pixels, 0, top, 100, top + 16, isWhite);
  assert.ok(ink > 50 && paper > 200, `${what}: ${ink} ink and ${paper} paper pixels at y ${top}`);
}

// The native runner's picture: a 24-bit bottom-up BMP, turned into canvas order.
function nativePicture(session, scriptPath) {
  const picture = path.join(shots, `${session.name}-native.bmp`);
  execFileSync(nativeRunner, ['--seed', String(session.seed), '--frames', String(session.frames), '--input', scriptPath,
                              '--picture', picture], { cwd: assetsDir, stdio: 'inherit' });
  const bmp = fs.readFileSync(picture);
  const offset = bmp.readUInt32LE(10);
  assert.equal(bmp.readInt32LE(18), kWidth);
  assert.equal(bmp.readInt32LE(22), kHeight);
  const rgba = Buffer.alloc(kWidth * kHeight * 4);
  for (let y = 0; y < kHeight; ++y) {
    const row = offset + (kHeight - 1 - y) * kWidth * 3;
    for (let x = 0; x < kWidth; ++x) {
      const at = (y * kWidth + x) * 4;
      rgba[at] = bmp[row + 3 * x + 2];
      rgba[at + 1] = bmp[row + 3 * x + 1];
      rgba[at + 2] = bmp[row + 3 * x];
      rgba[at + 3] = 255;
    }
  }
  return rgba;
}

async function openGame(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await waitFor(page, () => window.quorvantile.firstFrameMs !== null, 10000, 'the first frame');
  return page;
}

async function click(page, x, y, button) {
  const [pageX, pageY] = await pagePoint(page, x, y);
  await page.mouse.move(pageX, pageY);
  await page.mouse.down({ button });
  await page.mouse.up({ button });
}

async function playLikeAPlayer(browser, url) {
  const page = await openGame(browser, url);
  assert.equal(await page.title(), 'Quorvantile');
  const start = await canvasPixels(page);
  // The background picture fills the field; the margins stay black.
  assert.ok(countIn(start, 32, 32, 416, 608, p => !isBlack(p)) > 300 * 500, 'the background fills the field');
  assert.equal(countIn(start, 0, 608, 448, 640, p => !isBlack(p)), 0, 'the bottom margin is black');
  assertTextLine(start, 0, 'the score line');
  await page.screenshot({ path: path.join(shots, '1-start.png') });

  // A larger window shows every picture pixel as a 2 x 2 block, and the mouse still finds its cell.
  await page.setViewport({ width: 1000, height: 1400 });
  const box = await (await page.$('#game')).boundingBox();
  assert.deepEqual([box.width, box.height], [2 * kWidth, 2 * kHeight], 'the whole-number scale that fits');

  // Beads appear under the cursor within a second of a left click; the cursor marks stay put.
  const [x, y] = [224, 300];
  const [pageX, pageY] = await pagePoint(page, x, y);
  await page.mouse.move(pageX, pageY);
  await new Promise(resolve => setTimeout(resolve, 200));
  const before = await canvasPixels(page);
  const clickedAt = Date.now();
  await click(page, x, y, 'left');
  let changed = 0;
  while (Date.now() - clickedAt < 1000 && changed < 1000) {
    const now = await canvasPixels(page);
    changed = countIn(now, x - 30, y - 30, x + 30, y + 30,
                      (p, px, py) => (Math.abs(px - x) > 12 || Math.abs(py - y) > 12) &&
                                     p.some((value, i) => value !== pixel(before, px, py)[i]));
  }
  assert.ok(changed >= 1000, `beads under the cursor within a second: ${changed} pixels changed`);
  await new Promise(resolve => setTimeout(resolve, 500));
  await page.screenshot({ path: path.join(shots, '2-poured.png') });

  // A right click ends the game: the end-of-game lines appear, and no browser menu.
  await click(page, x, y, 'right');
  await new Promise(resolve => setTimeout(resolve, 200));
  const over = await canvasPixels(page);
  for (const top of [200, 220, 280]) assertTextLine(over, top, 'an end-of-game line');
  await page.screenshot({ path: path.join(shots, '3-game-over.png') });

  // A left click starts anew and clears them from the margin.
  await click(page, x, y, 'left');
  await new Promise(resolve => setTimeout(resolve, 200));
  const restarted = await canvasPixels(page);
  assert.equal(countIn(restarted, 0, 200, 32, 296, p => !isBlack(p)), 0, 'the end-of-game lines are gone');
  await page.screenshot({ path: path.join(shots, '4-restarted.png') });
  return page;
}

async function secondTabWaits(browser, url, firstTab) {
  const second = await browser.newPage();
  await second.goto(url);
  await waitFor(second, () => window.quorvantile.lock === 'waiting', 10000, 'the second tab to wait');
  const line = await second.$eval('#status', element => element.textContent);
  assert.match(line, /already runs in another tab/);
  assert.equal(await second.$eval('#game', element => element.hidden), true, 'no second game');
  assert.equal(await second.evaluate(() => window.quorvantile.pictures), 0, 'no second game');
  await second.screenshot({ path: path.join(shots, '5-second-tab.png') });
  // Once the first tab is closed, the second one starts.
  await firstTab.close();
  await waitFor(second, () => window.quorvantile.firstFrameMs !== null, 10000, 'the second tab to start');
  assert.equal(await second.$eval('#status', element => element.hidden), true);
  await second.close();
}

async function startUpFailures(browser, url) {
  // A picture the server does not have, and one that is no picture: the game names each.
  for (const [name, reply, shot] of [['back1_sml.bmp', { status: 404, body: 'not found' }, '6-missing-picture.png'],
                                     ['back2_sml.bmp', { status: 200, body: 'BM not really' }, null]]) {
    const page = await browser.newPage();
    await page.setRequestInterception(true);
    page.on('request', request => (request.url().endsWith(`/${name}`) ? request.respond(reply) : request.continue()));
    await page.goto(url);
    await waitFor(page, `document.getElementById('status').textContent.includes('cannot load the picture ${name}')`,
                  10000, `the line about ${name}`);
    assert.equal(await page.$eval('#game', element => element.hidden), true);
    if (shot) await page.screenshot({ path: path.join(shots, shot) });
    await page.close();
  }

  // A browser without WebAssembly.
  const old = await browser.newPage();
  await old.evaluateOnNewDocument(() => { delete window.WebAssembly; });
  await old.goto(url);
  await waitFor(old, () => /WebAssembly/.test(document.getElementById('status').textContent), 10000,
                'the no-WebAssembly line');
  await old.close();
}

async function scriptedSessionMatchesNative(browser, url, session) {
  const scriptPath = path.join(shots, `${session.name}.input`);
  fs.writeFileSync(scriptPath, session.script);
  const expected = nativePicture(session, scriptPath);
  const page = await browser.newPage();
  await page.goto(`${url}?seed=${session.seed}&frames=${session.frames}&input=${encodeURIComponent(session.script)}`);
  await waitFor(page, () => window.quorvantile.scriptDone, 20000, `the scripted session ${session.name}`);
  const actual = await canvasPixels(page);
  await page.screenshot({ path: path.join(shots, `7-${session.name}.png`) });
  await page.close();
  // Everything but the score and bonus lines, which only the page draws, at the top left.
  const inScoreLines = (x, y) => y < 32 && x < 224;
  let differing = 0;
  let first = null;
  for (let y = 0; y < kHeight; ++y) {
    for (let x = 0; x < kWidth; ++x) {
      if (inScoreLines(x, y)) continue;
      const a = pixel(actual, x, y);
      const e = pixel(expected, x, y);
      if (a.some((value, i) => value !== e[i])) {
        ++differing;
        first = first || `(${x}, ${y}): page ${a}, native ${e}`;
      }
    }
  }
  assert.equal(differing, 0, `${session.name}: ${differing} pixels differ from the native picture, first at ${first}`);
  assert.ok(countIn(actual, 32, 32, 416, 608, p => !isBlack(p)) > 0);
}

// The server hands out the page's files with their types, and nothing from outside its folder.
async function serverKeepsToItsFolder(url) {
  const { port } = new URL(url);
  const status = (requestPath) => new Promise((resolve, reject) => {
    http.get({ host: '127.0.0.1', port, path: requestPath }, response => {
      response.resume();
      resolve([response.statusCode, response.headers['content-type']]);
    }).on('error', reject);
  });
  assert.deepEqual(await status('/quorvantile.wasm'), [200, 'application/wasm']);
  for (const outside of ['/../CMakeLists.txt', '/%2e%2e/CMakeLists.txt', '/..%2f..%2fMakefile']) {
    assert.equal((await status(outside))[0], 404, outside);
  }
}

const { url, stop } = await serve(webDir);
const { browser, close } = await startBrowser();
try {
  await serverKeepsToItsFolder(url);
  const firstTab = await playLikeAPlayer(browser, url);
  await secondTabWaits(browser, url, firstTab);
  await startUpFailures(browser, url);
  for (const session of kSessions) await scriptedSessionMatchesNative(browser, url, session);
  console.log(`browser test passed; screenshots in ${shots}`);
} finally {
  await close();
  stop();
}
