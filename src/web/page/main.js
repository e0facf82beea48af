// The page around the game: it fetches the pictures and the score font, reads a replay link, starts
// the program, and is its window: the canvas, the pointer, the buttons beside the picture, the
// single-copy lock and the clock that drives the main loop.
import { keepCanvasFitted } from './canvas-fit.js';
import { onCanvasRestored, openCanvas, present } from './canvas-view.js';
import { attachControls } from './controls.js';
import { createGameMouse } from './game-mouse.js';
import { createMainLoop } from './main-loop.js';
import { keepForOffline } from './offline.js';
import { state } from './page-state.js';
import { attachPointerInput } from './pointer-input.js';
import { attachReplaySharing } from './replay-sharing.js';
import { followReplayLinks, linkedReplay, refuseReplay, showRunState, watchArguments } from './replay-watch.js';
import { loadScoreFont, textMask } from './score-font.js';
import { scriptedArguments } from './scripted-session.js';
import { createSingleCopyLock } from './single-copy.js';
import { noteFetchProblem, showLine } from './status-line.js';

const kPictures = ['back1_sml.bmp', 'back2_sml.bmp'];

// A picture the server did not send stays missing, and the game says so as it starts; the page
// adds which file it was and where it belongs.
async function fetchPicture(name) {
  try {
    const response = await fetch(name);
    if (response.ok) return { name, bytes: new Uint8Array(await response.arrayBuffer()) };
    noteFetchProblem(`The server did not send ${name} (HTTP ${response.status}); it belongs beside index.html.`);
  } catch (error) {
    noteFetchProblem(`${name} could not be fetched (${error.message}); it belongs beside index.html.`);
  }
  return { name, bytes: null };
}

async function start() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    showLine('Quorvantile cannot start: this browser does not run WebAssembly.');
    return;
  }
  if (typeof window.createQuorvantile !== 'function') {
    showLine('Quorvantile cannot start: the program quorvantile.js did not load.');
    return;
  }
  let program = null;
  const loop = createMainLoop(() => program._qv_web_run_passes());
  const lock = createSingleCopyLock(() => program._qv_web_lock_granted());
  const sharing = attachReplaySharing(() => {
    const text = program._qv_web_replay_text();
    return text ? program.UTF8ToString(text) : null;
  });
  const pageSide = {
    showLine, openCanvas, present, textMask, showRunState, refuseReplay,
    offerReplay: sharing.offer,
    requestLock: lock.request,
    releaseLock: lock.release,
    schedule: loop.schedule,
    scriptDone: () => { state.scriptDone = true; },
  };
  // The program loads while the pictures, the font and a linked replay arrive.
  const loading = window.createQuorvantile({ qvPage: pageSide, printErr: line => console.warn(line) })
    .then(module => ({ module }), error => ({ error }));
  const [pictures, , replay, loaded] =
    await Promise.all([Promise.all(kPictures.map(fetchPicture)), loadScoreFont(), linkedReplay(), loading]);
  if (loaded.error) {
    showLine(`Quorvantile cannot start: the program did not load (${loaded.error}).`);
    return;
  }
  program = loaded.module;
  state.frames = () => program._qv_web_frames_run();

  const mouse = createGameMouse(program, loop.wake);
  attachPointerInput(document.getElementById('game'), mouse);
  attachControls(mouse, document.getElementById('stage'));
  keepCanvasFitted();
  onCanvasRestored(() => {
    program._qv_web_canvas_lost();
    loop.wake();
  });
  window.addEventListener('pagehide', () => {
    program._qv_web_close();
    lock.release();
  });
  // A page brought back from the browser's history cache had its game shut down: start afresh.
  window.addEventListener('pageshow', event => {
    if (event.persisted) window.location.reload();
  });

  for (const { name, bytes } of pictures) {
    if (bytes) program.FS.writeFile(name, bytes);
  }
  followReplayLinks();
  program.callMain(scriptedArguments(program) ?? watchArguments(program, replay));
  // Only now, so that keeping the page's files for offline play does not slow its start.
  keepForOffline();
}

start();
