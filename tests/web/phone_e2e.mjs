// The browser edition in headless Chromium on phones, played with a finger: the picture fits the
// screen crisply, a tap pours, a drag moves the cursor and nothing else, "End game" ends a game, a
// hidden page runs no frame, the page plays offline once visited, can be installed, draws its score
// without its font, and a session played by touch, downloaded with a tap on "Download replay", ends
// as recorded in the native runner, on the very picture the page shows.
// usage: node phone_e2e.mjs WEB_DIR NATIVE_RUNNER ASSETS_DIR [SCREENSHOT_DIR]
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {
  beadsPoured, canvasPixels, catchDownloads, framesPass, kHeight, kWidth, messageCounts, pagePoint, phone, serve,
  startBrowser, tapAt, waitFor, waitForPicture, watchForBeads,
} from './browser.mjs';
import {
  assertSameAsNative, assertTextLine, cursorFrame, endOfGameShown, expectedCursorFrame, marginClear, nativeReplayPicture,
} from './picture-checks.mjs';

const [webDir, nativeRunner, assetsDir] = process.argv.slice(2, 5).map(argument => path.resolve(argument));
const shots = process.argv[5] || fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-phone-shots-'));
fs.mkdirSync(shots, { recursive: true });

// Phones by their device pixel ratio: a Pixel 5 (393 x 851) upright and on its side, and two more.
const kPixel5 = phone(393, 851);
const kPhones = new Map([
  [3, [{ name: 'pixel-5', device: kPixel5 }, { name: 'pixel-5-landscape', device: phone(851, 393) },
       { name: '360x800', device: phone(360, 800) }]],
  [2, [{ name: '375x667', device: phone(375, 667) }]],
]);

async function openOnPhone(browser, device, url) {
  const page = await browser.newPage();
  await page.emulate(device);
  // A page to go back to, so that a swipe that navigates back would leave the game.
  await page.goto('about:blank');
  await page.goto(url);
  await waitFor(page, () => window.quorvantile.firstFrameMs !== null, 'the first frame');
  return page;
}

// The canvas lies inside the visible area, at the largest whole number of device pixels per
// picture pixel that leaves room for the controls, on whole device pixels. Layout measures in
// 64ths of a CSS pixel, so sizes and places are whole to within a tenth of a device pixel.
async function fitsTheScreen(page, name) {
  const fit = await page.evaluate(() => {
    const box = document.getElementById('game').getBoundingClientRect();
    const controls = document.getElementById('controls').getBoundingClientRect();
    return { box: box.toJSON(), controls: controls.toJSON(), ratio: devicePixelRatio,
             width: visualViewport.width, height: visualViewport.height };
  });
  const { box, controls, ratio } = fit;
  const whole = (value, what) => assert.ok(Math.abs(value - Math.round(value)) < 0.1, `${name}: ${what} is ${value}`);
  const scale = Math.round(box.width * ratio / kWidth);
  assert.ok(scale >= 1, `${name}: a scale of ${scale}`);
  whole(box.width * ratio / kWidth, 'the number of device pixels per picture pixel across');
  whole(box.height * ratio / kHeight, 'the number of device pixels per picture pixel down');
  assert.equal(Math.round(box.height * ratio / kHeight), scale, `${name}: square picture pixels`);
  whole(box.left * ratio, 'the left edge in device pixels');
  whole(box.top * ratio, 'the top edge in device pixels');
  const kSlack = 0.01;  // what floating point makes of a layout in device pixels
  assert.ok(box.left >= 0 && box.top >= 0 && box.right <= fit.width + kSlack && box.bottom <= fit.height + kSlack,
            `${name}: the picture lies inside the screen: ${JSON.stringify(fit)}`);
  assert.ok(controls.top + kSlack >= box.bottom && controls.bottom <= fit.height + kSlack,
            `${name}: the controls lie under the picture: ${JSON.stringify(fit)}`);
  const room = [fit.width * ratio, (fit.height - controls.height) * ratio];
  assert.ok((scale + 1) * kWidth > room[0] || (scale + 1) * kHeight > room[1], `${name}: a larger scale would fit`);
  return { box, scale };
}

// The screen shows every picture pixel as a block of its very colour, scale x scale device pixels.
async function crispOnTheScreen(page, name, { box, scale }) {
  let shot;
  let pixels = await canvasPixels(page);
  // Until the picture stands still for as long as the screenshot takes, as it does before any input.
  for (const deadline = Date.now() + 10000; ; pixels = await canvasPixels(page)) {
    shot = await page.screenshot({ type: 'png' });
    if ((await canvasPixels(page)).equals(pixels)) break;
    assert.ok(Date.now() < deadline, `${name}: the picture never stood still`);
  }
  const ratio = await page.evaluate(() => devicePixelRatio);
  const [screenWidth] = execFileSync('identify', ['-format', '%w %h', 'png:-'], { input: shot }).toString().split(' ').map(Number);
  const screen = execFileSync('convert', ['png:-', '-depth', '8', 'rgba:-'], { input: shot, maxBuffer: 256 << 20 });
  const [left, top] = [Math.round(box.left * ratio), Math.round(box.top * ratio)];
  let blurred = 0;
  for (let y = 0; y < kHeight * scale; ++y) {
    for (let x = 0; x < kWidth * scale; ++x) {
      const shown = ((top + y) * screenWidth + left + x) * 4;
      const drawn = (Math.floor(y / scale) * kWidth + Math.floor(x / scale)) * 4;
      if (screen[shown] !== pixels[drawn] || screen[shown + 1] !== pixels[drawn + 1] || screen[shown + 2] !== pixels[drawn + 2]) {
        ++blurred;
      }
    }
  }
  fs.writeFileSync(path.join(shots, `${name}-start.png`), shot);
  assert.equal(blurred, 0, `${name}: ${blurred} device pixels differ from their picture pixel`);
}

async function tap(page, x, y) {
  await tapAt(page, ...await pagePoint(page, x, y));
}

async function tapButton(page, id) {
  const button = await (await page.$(`#${id}`)).boundingBox();
  await tapAt(page, button.x + button.width / 2, button.y + button.height / 2);
}

const tapEndGame = page => tapButton(page, 'end-game');

// A tap pours under the finger, and reaches the game as one move, one press and one release.
async function tapPours(page, name) {
  const [x, y] = [224, 300];
  await watchForBeads(page, x, y);
  const before = await messageCounts(page);
  await tap(page, x, y);
  await beadsPoured(page, `${name}: beads under the finger`);
  await framesPass(page, 5);
  const after = await messageCounts(page);
  for (const message of ['move', 'leftDown', 'leftUp']) {
    assert.equal((after[message] || 0) - (before[message] || 0), 1, `${name}: one ${message} for one tap`);
  }
}

// Where the page stands: a drag on the canvas may change none of it.
const pageStanding = page => page.evaluate(() => ({
  scroll: [scrollX, scrollY], view: [visualViewport.offsetLeft, visualViewport.offsetTop, visualViewport.scale],
  address: location.href, history: history.length, sameDocument: window.quorvantileDragMark === true,
}));

// A finger dragged over the canvas moves the cursor frame with it, and the page neither scrolls,
// zooms nor navigates: left to right (back), right to left, and upwards. The drags begin, pass
// halfway and end in the middle of a cell, which a finger's position in whole CSS pixels (up to
// 1.5 picture pixels off) cannot leave.
async function dragMovesTheCursorOnly(page, name) {
  await page.evaluate(() => { window.quorvantileDragMark = true; });
  const standing = await pageStanding(page);
  for (const [[fromX, fromY], [toX, toY]] of [[[102, 402], [342, 402]], [[342, 302], [102, 302]], [[226, 562], [226, 122]]]) {
    const steps = 12;
    await page.touchscreen.touchStart(...await pagePoint(page, fromX, fromY));
    for (let step = 1; step <= steps; ++step) {
      const [x, y] = [fromX + (toX - fromX) * step / steps, fromY + (toY - fromY) * step / steps];
      await page.touchscreen.touchMove(...await pagePoint(page, x, y));
      if (step === steps / 2) {
        await waitForPicture(page, pixels => `${cursorFrame(pixels)}` === `${expectedCursorFrame(x, y)}`,
                             `${name}: the cursor frame halfway along the drag`);
      }
    }
    await waitForPicture(page, pixels => `${cursorFrame(pixels)}` === `${expectedCursorFrame(toX, toY)}`,
                         `${name}: the cursor frame where the finger stops`);
    await page.touchscreen.touchEnd();
  }
  await framesPass(page, 5);
  assert.deepEqual(await pageStanding(page), standing, `${name}: the page stays where it was`);
}

// "End game" ends the game by touch; the page offers the replay with two more buttons, for which the
// picture makes room; a tap on the picture then starts a new one.
async function endGameByTouch(page, name) {
  await tapEndGame(page);
  await waitForPicture(page, endOfGameShown, `${name}: the end-of-game lines`);
  await waitFor(page, () => !document.getElementById('download-replay').hidden, `${name}: the replay to be offered`);
  await waitFor(page, () => {
    const buttons = document.getElementById('buttons').getBoundingClientRect();
    return document.getElementById('game').getBoundingClientRect().bottom <= buttons.top && buttons.bottom <= visualViewport.height;
  }, `${name}: the picture to make room for the replay's buttons`);
  await fitsTheScreen(page, `${name} with the replay's buttons`);
  await page.screenshot({ path: path.join(shots, `${name}-game-over.png`) });
  await tap(page, 224, 300);
  await waitForPicture(page, marginClear, `${name}: a new game`);
}

async function playOnPhone(browser, url, { name, device }) {
  const page = await openOnPhone(browser, device, url);
  await framesPass(page, 3);
  await crispOnTheScreen(page, name, await fitsTheScreen(page, name));
  await tapPours(page, name);
  await dragMovesTheCursorOnly(page, name);
  await page.screenshot({ path: path.join(shots, `${name}-played.png`) });
  await endGameByTouch(page, name);
  await page.close();
}

// While another tab is in front, the game runs no frame; brought back, it goes on.
async function hiddenPageRunsNoFrame(browser, page) {
  const other = await browser.newPage();
  await other.bringToFront();
  await waitFor(page, () => document.hidden, 'the game page to be hidden');
  const frames = await page.evaluate(() => window.quorvantile.frames());
  await new Promise(resolve => setTimeout(resolve, 1000));  // some sixty frames' time
  assert.equal(await page.evaluate(() => window.quorvantile.frames()), frames, 'no frame while hidden');
  await other.close();
  await page.bringToFront();
  await framesPass(page, 5);
}

// Chromium finds nothing that keeps the page from being installed.
async function installable(page) {
  await waitFor(page, () => window.quorvantile.offline === 'ready', 'the service worker');
  const session = await page.createCDPSession();
  const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, [], 'installability errors');
  const { errors } = await session.send('Page.getAppManifest');
  assert.deepEqual(errors, [], 'manifest errors');
  await session.detach();
}

// Once visited, the page plays with its server gone.
async function playsOffline(browser) {
  const { url, stop } = await serve(webDir);
  const page = await openOnPhone(browser, kPixel5, url);
  await waitFor(page, () => window.quorvantile.offline === 'ready', 'the page to be kept for offline play');
  stop();
  await page.reload();
  await waitFor(page, () => window.quorvantile.firstFrameMs !== null, 'the first frame offline');
  await tapPours(page, 'offline');
  await page.screenshot({ path: path.join(shots, 'offline.png') });
  await page.close();
}

// Without its font file, the page draws the score with the program's own font, and says so once.
async function scoreWithoutTheFont(browser, url) {
  const page = await browser.newPage();
  await page.emulate(kPixel5);
  await page.setBypassServiceWorker(true);
  await page.setRequestInterception(true);
  page.on('request', request => (request.url().endsWith('/score-font.ttf')
    ? request.respond({ status: 404, body: 'not found' }) : request.continue()));
  const said = [];
  page.on('console', message => { if (/font/.test(message.text())) said.push(message.text()); });
  await page.goto(url);
  await waitFor(page, () => window.quorvantile.firstFrameMs !== null, 'the first frame');
  await tapPours(page, 'no font');
  const pixels = await canvasPixels(page);
  assertTextLine(pixels, 0, 'the score line');
  assertTextLine(pixels, 16, 'the bonus line');
  assert.equal(said.length, 1, `said once: ${said}`);
  assert.match(said[0], /score-font\.ttf did not load.*built-in font/);
  await page.screenshot({ path: path.join(shots, 'no-font.png') });
  await page.close();
}

// A session of a fixed number of frames played by touch: its replay, downloaded with a tap once the
// session is done, holds the taps and ends as recorded in the native runner, on the very picture
// the page shows.
async function touchSessionMatchesNative(browser, url) {
  const session = { seed: 23, frames: 400 };
  const page = await openOnPhone(browser, kPixel5, `${url}?seed=${session.seed}&frames=${session.frames}`);
  const untilFrame = frame => waitFor(page, frame => window.quorvantile.frames() >= frame, `frame ${frame}`, frame);
  await untilFrame(10);
  await tap(page, 100, 150);
  await untilFrame(40);
  await page.touchscreen.touchStart(...await pagePoint(page, 320, 200));
  for (let step = 1; step <= 8; ++step) await page.touchscreen.touchMove(...await pagePoint(page, 320 - 15 * step, 200 + 8 * step));
  await page.touchscreen.touchEnd();
  await untilFrame(90);
  await tapEndGame(page);
  await untilFrame(100);
  await tap(page, 224, 300);
  await waitFor(page, () => window.quorvantile.scriptDone, 'the end of the session');
  const sent = await messageCounts(page);
  const actual = await canvasPixels(page);
  const downloaded = (await catchDownloads(browser, shots)).next('the replay of the touch session');
  await tapButton(page, 'download-replay');
  const file = await downloaded;
  await page.screenshot({ path: path.join(shots, 'touch-session.png') });
  await page.close();
  const replay = fs.readFileSync(file, 'utf8');
  const presses = replay.split('\n').filter(line => / ldown /.test(line));
  assert.ok(presses.length === 3 && / rdown /.test(replay) && replay.startsWith(`# quorvantile replay 1\n# seed ${session.seed}\n`) &&
            replay.endsWith('\n') && replay.split('\n').at(-2).startsWith(`# end ${session.frames} `),
            `the session's replay:\n${replay}(the page sent ${JSON.stringify(sent)})`);
  assertSameAsNative(actual, nativeReplayPicture(nativeRunner, assetsDir, file), 'the touch session');
}

// Each pixel ratio needs a browser of its own.
async function withBrowser(devicePixelRatio, play) {
  const { browser, close } = await startBrowser({ devicePixelRatio });
  try {
    await play(browser);
  } finally {
    await close();
  }
}

const { url, stop } = await serve(webDir);
try {
  await withBrowser(2, async browser => {
    for (const phoneUnderTest of kPhones.get(2)) await playOnPhone(browser, url, phoneUnderTest);
  });
  await withBrowser(3, async browser => {
    for (const phoneUnderTest of kPhones.get(3)) await playOnPhone(browser, url, phoneUnderTest);
    const page = await openOnPhone(browser, kPixel5, url);
    await installable(page);
    await hiddenPageRunsNoFrame(browser, page);
    await page.close();
    await playsOffline(browser);
    await scoreWithoutTheFont(browser, url);
    await touchSessionMatchesNative(browser, url);
  });
  console.log(`phone test passed; screenshots in ${shots}`);
} finally {
  stop();
}
