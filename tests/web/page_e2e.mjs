// The browser edition in headless Chromium on a desktop, played with a mouse as a player plays it,
// and compared pixel for pixel with the native headless runner for scripted sessions. A played
// session's replay, downloaded or shared, ends as recorded in the native runner; a desktop
// recording opened as a link plays to the native runner's picture; damaged links are refused.
// usage: node page_e2e.mjs WEB_DIR NATIVE_RUNNER ASSETS_DIR [SCREENSHOT_DIR]
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import {
  beadsPoured, canvasPixels, catchDownloads, framesPass, kHeight, kWidth, messageCounts, pagePoint, serve, startBrowser,
  waitFor, waitForPicture, watchForBeads,
} from './browser.mjs';
import {
  assertSameAsNative, assertTextLine, countIn, cursorFrame, endOfGameShown, expectedCursorFrame, inFieldClearOfText, isBlack,
  marginClear, nativePicture, nativeReplayPicture,
} from './picture-checks.mjs';

const [webDir, nativeRunner, assetsDir] = process.argv.slice(2, 5).map(argument => path.resolve(argument));
const shots = process.argv[5] || fs.mkdtempSync(path.join(os.tmpdir(), 'quorvantile-web-shots-'));
fs.mkdirSync(shots, { recursive: true });

// Replay links as the page makes them: the replay's text, deflated, in base64url after #replay=.
const kLinkStart = '#replay=';
const linkOf = (url, text) => `${url}${kLinkStart}${zlib.deflateSync(text).toString('base64url')}`;
const replayOfLink = link =>
  zlib.inflateSync(Buffer.from(link.slice(link.indexOf(kLinkStart) + kLinkStart.length), 'base64url')).toString();

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

const replayButtonsShown = page =>
  page.evaluate(() => ['share-replay', 'download-replay'].map(id => !document.getElementById(id).hidden));

async function playLikeAPlayer(browser, url) {
  const page = await openGame(browser, url);
  assert.equal(await page.title(), 'Quorvantile');
  const start = await canvasPixels(page);
  // The background picture fills the field; the margins stay black.
  assert.ok(countIn(start, 32, 32, 416, 608, p => !isBlack(p)) > 300 * 500, 'the background fills the field');
  assert.equal(countIn(start, 0, 608, 448, 640, p => !isBlack(p)), 0, 'the bottom margin is black');
  assertTextLine(start, 0, 'the score line');
  assert.deepEqual(await replayButtonsShown(page), [false, false], 'no replay to offer before a game ends');
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
  await waitFor(page, () => !document.getElementById('download-replay').hidden, 'the replay to be offered');
  assert.deepEqual(await replayButtonsShown(page), [true, true], 'the game over offers its replay');
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

// The native runner plays the replay to its end line and finds it ends as recorded (else it fails).
function replayEndsAsRecorded(file) {
  execFileSync(nativeRunner, ['--replay', file], { cwd: assetsDir, stdio: 'inherit' });
}

// The session just played, downloaded from the keyboard, is the desktop's replay file of it; shared,
// its link holds the same session: shown where the page may not copy it, copied where it may.
async function playedSessionReplays(browser, page, url) {
  const downloads = await catchDownloads(browser, shots);
  const downloaded = downloads.next('the downloaded replay');
  await tabTo(page, 'download-replay');
  await page.keyboard.press('Enter');
  const file = await downloaded;
  assert.match(path.basename(file), /^quorvantile-[-0-9]+\.replay$/);
  const text = fs.readFileSync(file, 'utf8');
  assert.match(text, /^# quorvantile replay 1\n# seed \d+\n/);
  assert.match(text, /\n# end \d+( \S+){11}\n$/);
  const count = word => text.split('\n').filter(line => line.split(' ')[1] === word).length;
  assert.deepEqual([count('ldown'), count('rdown')], [3, 2], `the session's presses:\n${text}`);
  replayEndsAsRecorded(file);

  // No clipboard: the page shows the link.
  const context = browser.defaultBrowserContext();
  await context.overridePermissions(url, []);
  await tabTo(page, 'share-replay');
  await page.keyboard.press('Enter');
  await waitFor(page, () => !document.getElementById('share-link').hidden, 'the link to be shown');
  const shown = await page.$eval('#share-link', field => field.value);
  assert.ok(shown.startsWith(`${url}${kLinkStart}`), shown);
  const shared = path.join(shots, 'shared.replay');
  fs.writeFileSync(shared, replayOfLink(shown));
  assert.ok(replayOfLink(shown).startsWith(text.slice(0, text.indexOf('\n# end'))), 'the link holds the session');
  replayEndsAsRecorded(shared);
  await page.screenshot({ path: path.join(shots, '5b-link-shown.png') });

  // With the clipboard, the link goes there.
  await context.overridePermissions(url, ['clipboard-read', 'clipboard-sanitized-write']);
  await page.click('#share-replay');
  await waitFor(page, () => /copied/.test(document.getElementById('session-line').textContent), 'the link to be copied');
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  assert.ok(copied.startsWith(`${url}${kLinkStart}`) && replayOfLink(copied).startsWith(text.slice(0, 40)), copied);
  assert.equal(await page.$eval('#share-link', field => field.hidden), true, 'no link to copy by hand');
  await context.clearPermissionOverrides();
}

// In the page, before its scripts: keeps what the page showed after the first frame (its title and
// the line under the picture) and the canvas after frame `lastFrame`, which is the picture a replay
// of that many frames ends on.
function keepPicturesOfTheReplay(lastFrame) {
  window.addEventListener('quorvantile-picture', () => {
    const frames = window.quorvantile.frames();
    if (frames === 1 && !window.shownAtFirstFrame) {
      window.shownAtFirstFrame = { title: document.title, line: document.getElementById('session-line').textContent };
    }
    if (frames === lastFrame && !window.pictureOfLastFrame) {
      const canvas = document.getElementById('game');
      const bytes = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      let text = '';
      for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
      window.pictureOfLastFrame = btoa(text);
    }
  }, true);
}

// A desktop recording (a golden session, as a recording writes it: the header, the seed, the events
// and the end line) opened as a link plays at the game's pace under the title "Quorvantile (replay)",
// deaf to the player's clicks, ends on the field of the native runner's picture (the game is over by
// then: the page's end-of-game lines are not compared), and then hands the game over.
async function desktopReplayLinkPlays(browser, url) {
  const golden = path.join(assetsDir, '../tests/tools/golden/over_and_restart');
  const script = fs.readFileSync(`${golden}.input`, 'utf8');
  const [, seed, frames] = script.match(/^# seed (\d+) frames (\d+)/).map(Number);
  const lastLine = fs.readFileSync(`${golden}.trace`, 'utf8').split('\n')[frames];
  const events = script.split('\n').filter(line => /^\d/.test(line));
  const text = ['# quorvantile replay 1', `# seed ${seed}`, ...events, `# end ${lastLine.split(' ').slice(0, 12).join(' ')}`]
    .join('\n') + '\n';
  const file = path.join(shots, 'desktop.replay');
  fs.writeFileSync(file, text);
  const expected = nativeReplayPicture(nativeRunner, assetsDir, file);

  const page = await browser.newPage();
  await page.evaluateOnNewDocument(keepPicturesOfTheReplay, frames);
  await page.goto(linkOf(url, text));
  await waitFor(page, () => window.shownAtFirstFrame, 'the first frame of the replay');
  assert.deepEqual(await page.evaluate(() => window.shownAtFirstFrame),
                   { title: 'Quorvantile (replay)', line: 'A replay plays: the game is yours once it ends.' });
  const before = await messageCounts(page);
  for (const [x, y] of [[100, 500], [300, 150]]) await click(page, x, y, 'left');
  assert.equal((await messageCounts(page)).leftDown - (before.leftDown || 0), 2, 'the page sent the clicks');
  assert.ok(await page.evaluate(() => window.quorvantile.frames()) < frames, 'the clicks came while the replay played');
  await page.screenshot({ path: path.join(shots, '9-replay-plays.png') });

  await waitFor(page, () => window.pictureOfLastFrame, 'the last frame of the replay');
  await waitFor(page, () => document.title === 'Quorvantile', 'the title once the replay has ended');
  assert.equal(await page.$eval('#session-line', line => line.textContent), 'The replay has ended: the game is yours.');
  const actual = Buffer.from(await page.evaluate(() => window.pictureOfLastFrame), 'base64');
  assertSameAsNative(actual, expected, 'the desktop replay in the page', inFieldClearOfText);
  // The recorded game ended; the player's click starts a new one.
  await click(page, 224, 300, 'left');
  await waitForPicture(page, marginClear, 'a new game once the replay has ended');
  await page.close();
}

// A link whose replay cannot be read, or is not a replay, is refused under the picture, naming what
// is wrong; a new game starts instead, played by the mouse.
async function damagedLinksRefused(browser, url) {
  const kLinks = [
    { link: `${url}${kLinkStart}not*a*link`, says: 'it holds characters that no replay link has' },
    { link: linkOf(url, '# quorvantile replay 1\n# seed 5\n1 move 1 1\n').slice(0, -12), says: 'it is damaged, and its replay does not unpack' },
    { link: linkOf(url, '# quorvantile replay 1\n# seed 5\n3 jump 1 2\n'),
      says: "line 3: unknown event 'jump' (expected move, ldown, rdown, lup or rup): '3 jump 1 2'" },
  ];
  for (const [index, { link, says }] of kLinks.entries()) {
    const page = await browser.newPage();
    await page.goto(link);
    await waitFor(page, () => window.quorvantile.firstFrameMs !== null, `the first frame after a refused link ${index}`);
    assert.equal(await page.$eval('#session-line', line => line.textContent),
                 `This replay link cannot be played: ${says}. A new game starts instead.`);
    assert.equal(await page.title(), 'Quorvantile');
    const [x, y] = [226, 302];
    await watchForBeads(page, x, y);
    await click(page, x, y, 'left');
    await beadsPoured(page, `beads in the new game after refused link ${index}`);
    await page.screenshot({ path: path.join(shots, `10-refused-link-${index}.png`) });
    await page.close();
  }
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
  await playedSessionReplays(browser, firstTab, url);
  await secondTabWaits(browser, url, firstTab);
  await desktopReplayLinkPlays(browser, url);
  await damagedLinksRefused(browser, url);
  await startUpFailures(browser, url);
  for (const session of kSessions) await scriptedSessionMatchesNative(browser, url, session);
  console.log(`browser test passed; screenshots in ${shots}`);
} finally {
  await close();
  stop();
}
