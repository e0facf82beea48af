// The browser edition in headless Chromium on a desktop, played with a mouse as a player plays it,
// and compared pixel for pixel with the native headless runner for scripted sessions.
// usage: node page_e2e.mjs WEB_DIR NATIVE_RUNNER ASSETS_DIR [SCREENSHOT_DIR]
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {
  beadsPoured, canvasPixels, framesPass, kHeight, kWidth, messageCounts, pagePoint, serve, startBrowser, waitFor,
  waitForPicture, watchForBeads,
} from './browser.mjs';
import {
  assertSameAsNative, assertTextLine, countIn, cursorFrame, endOfGameShown, expectedCursorFrame, isBlack, marginClear,
  nativePicture,
} from './picture-checks.mjs';

const [webDir, nativeRunner, assetsDir] = process.argv.slice(2, 5).map(argument => path.resolve(argument));
const shots = process.argv[5] || fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-web-shots-'));
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

async function openGame(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await waitFor(page, () => window.quorvantile.firstFrameMs !== null, 'the first frame');
  return page;
}

async function click(page, x, y, button) {
  const [pageX, pageY] = await pagePoint(page, x, y);
  await page.mouse.move(pageX, pageY);
  await page.mouse.down({ button });
  await page.mouse.up({ button });
}

// Presses Tab until the button has the keyboard's focus.
async function tabTo(page, id) {
  for (let presses = 0; presses < 10; ++presses) {
    await page.keyboard.press('Tab');
    if (await page.evaluate(id => document.activeElement?.id === id, id)) return;
  }
  throw new Error(`the keyboard does not reach #${id}`);
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
  await waitFor(page, (width, height) => {
    const box = document.getElementById('game').getBoundingClientRect();
    return box.width === width && box.height === height;
  }, 'the whole-number scale that fits', 2 * kWidth, 2 * kHeight);

  // Beads pour under the cursor after a left click, which reaches the game once.
  const [x, y] = [226, 302];  // the middle of a cell
  const [pageX, pageY] = await pagePoint(page, x, y);
  await page.mouse.move(pageX, pageY);
  await waitForPicture(page, pixels => `${cursorFrame(pixels)}` === `${expectedCursorFrame(x, y)}`, 'the cursor frame');
  await watchForBeads(page, x, y);
  const before = await messageCounts(page);
  await click(page, x, y, 'left');
  await beadsPoured(page, 'beads under the cursor');
  await framesPass(page, 5);
  const after = await messageCounts(page);
  for (const message of ['leftDown', 'leftUp']) {
    assert.equal((after[message] || 0) - (before[message] || 0), 1, `one ${message} for one click`);
  }
  await page.screenshot({ path: path.join(shots, '2-poured.png') });

  // A right click ends the game: the end-of-game lines appear, and no browser menu.
  await click(page, x, y, 'right');
  await waitForPicture(page, endOfGameShown, 'the end-of-game lines');
  await page.screenshot({ path: path.join(shots, '3-game-over.png') });

  // A left click starts anew and clears them from the margin.
  await click(page, x, y, 'left');
  await waitForPicture(page, marginClear, 'the end-of-game lines to go');
  await page.screenshot({ path: path.join(shots, '4-restarted.png') });

  // The buttons beside the picture answer the keyboard: "End game" ends this game too.
  await tabTo(page, 'end-game');
  await page.keyboard.press('Enter');
  await waitForPicture(page, endOfGameShown, 'the end-of-game lines after "End game"');
  await click(page, x, y, 'left');
  await waitForPicture(page, marginClear, 'a new game');
  await fullScreenFromTheKeyboard(page);
  return page;
}

// "Full screen" shows the picture alone on black at the largest whole scale the screen takes.
async function fullScreenFromTheKeyboard(page) {
  await tabTo(page, 'full-screen');
  await page.keyboard.press('Space');
  await waitFor(page, () => document.fullscreenElement?.id === 'stage', 'full screen');
  await waitFor(page, (width, height) => {
    const box = document.getElementById('game').getBoundingClientRect();
    const ratio = window.devicePixelRatio;
    const scale = Math.floor(Math.min(innerWidth * ratio / width, innerHeight * ratio / height));
    return box.width * ratio === scale * width && box.left >= 0 && box.right <= innerWidth && box.bottom <= innerHeight;
  }, 'the picture to fit the screen', kWidth, kHeight);
  assert.equal(await page.$eval('#end-game', button => {
    const box = button.getBoundingClientRect();
    return document.getElementById('stage').contains(document.elementFromPoint(box.x + 1, box.y + 1));
  }), true, 'the picture alone fills the screen');
  await page.screenshot({ path: path.join(shots, '5-full-screen.png') });
  await page.evaluate(() => document.exitFullscreen());
  await waitFor(page, () => document.fullscreenElement === null, 'the end of full screen');
}

async function secondTabWaits(browser, url, firstTab) {
  const second = await browser.newPage();
  await second.goto(url);
  await waitFor(second, () => window.quorvantile.lock === 'waiting', 'the second tab to wait');
  const line = await second.$eval('#status', element => element.textContent);
  assert.match(line, /already runs in another tab/);
  assert.equal(await second.$eval('#play', element => element.hidden), true, 'no second game');
  assert.equal(await second.evaluate(() => window.quorvantile.pictures), 0, 'no second game');
  await second.screenshot({ path: path.join(shots, '6-second-tab.png') });
  // Once the first tab is closed, the second one starts.
  await firstTab.close();
  await waitFor(second, () => window.quorvantile.firstFrameMs !== null, 'the second tab to start');
  assert.equal(await second.$eval('#status', element => element.hidden), true);
  await second.close();
}

// The lines a failed start shows speak of the page and its server, not of folders on a disk.
async function startUpFailures(browser, url) {
  const kFailures = [
    { name: 'back1_sml.bmp', reply: { status: 404, body: 'not found' }, shot: '7-missing-picture.png',
      says: [/cannot load the picture back1_sml\.bmp: not found$/m,
             /^The server did not send back1_sml\.bmp \(HTTP 404\); it belongs beside index\.html\.$/m] },
    { name: 'back2_sml.bmp', reply: { status: 200, body: 'BM not really' },
      says: [/cannot load the picture back2_sml\.bmp: .+; it is the copy beside index\.html on the server$/m] },
  ];
  for (const { name, reply, shot, says } of kFailures) {
    const page = await browser.newPage();
    await page.setBypassServiceWorker(true);  // the server, not a kept copy, answers
    await page.setRequestInterception(true);
    page.on('request', request => (request.url().endsWith(`/${name}`) ? request.respond(reply) : request.continue()));
    await page.goto(url);
    await waitFor(page, name => document.getElementById('status').textContent.includes(`cannot load the picture ${name}`),
                  `the line about ${name}`, name);
    const lines = await page.$eval('#status', element => element.textContent);
    for (const pattern of says) assert.match(lines, pattern);
    assert.doesNotMatch(lines, /director|folder/, 'no words of the desktop');
    assert.equal(await page.$eval('#play', element => element.hidden), true);
    if (shot) await page.screenshot({ path: path.join(shots, shot) });
    await page.close();
  }

  // A browser without WebAssembly.
  const old = await browser.newPage();
  await old.evaluateOnNewDocument(() => { delete window.WebAssembly; });
  await old.goto(url);
  await waitFor(old, () => /WebAssembly/.test(document.getElementById('status').textContent), 'the no-WebAssembly line');
  await old.close();
}

async function scriptedSessionMatchesNative(browser, url, session) {
  const expected = nativePicture(nativeRunner, assetsDir, shots, session.name, session);
  const page = await browser.newPage();
  await page.goto(`${url}?seed=${session.seed}&frames=${session.frames}&input=${encodeURIComponent(session.script)}`);
  await waitFor(page, () => window.quorvantile.scriptDone, `the scripted session ${session.name}`);
  const actual = await canvasPixels(page);
  await page.screenshot({ path: path.join(shots, `8-${session.name}.png`) });
  await page.close();
  assertSameAsNative(actual, expected, session.name);
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
  assert.deepEqual(await status('/quorvantile.webmanifest'), [200, 'application/manifest+json']);
  for (const outside of ['/../CMakeLists.txt', '/%2e%2e/CMakeLists.txt', '/..%2f..%2fMakefile']) {
    assert.equal((await status(outside))[0], 404, outside);
  }
}

// The published folder holds the page's files and nothing else: exactly the files its service
// worker keeps for offline play, and the worker itself.
function folderHoldsThePageAlone() {
  const worker = fs.readFileSync(path.join(webDir, 'service-worker.js'), 'utf8');
  const kept = [...worker.matchAll(/^ {2}\['([^']+)', '[0-9a-f]{64}'\],$/gm)].map(match => match[1]);
  assert.ok(kept.includes('index.html') && kept.includes('quorvantile.wasm'), `the worker keeps the page: ${kept}`);
  assert.deepEqual(fs.readdirSync(webDir).sort(), [...kept, 'service-worker.js'].sort());
}

folderHoldsThePageAlone();
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
