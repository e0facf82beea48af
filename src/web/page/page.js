// The page around the game: it fetches the pictures and the score font, starts the program, and is
// its window: the canvas, the mouse, the single-copy lock and the clock that drives the main loop.
'use strict';

(() => {
  const kPictures = ['back1_sml.bmp', 'back2_sml.bmp'];
  const kFontFile = 'score-font.ttf';
  const kFontFamily = 'QuorvantileScore';
  const kScriptPath = '/session.input';
  // The window messages of the mouse, as the program numbers them.
  const kMessage = { move: 0x0200, leftDown: 0x0201, leftUp: 0x0202, rightDown: 0x0204, rightUp: 0x0205 };
  const kButtonMessages = [
    { down: kMessage.leftDown, up: kMessage.leftUp },  // button 0: left
    null,                                              // button 1: middle, not used
    { down: kMessage.rightDown, up: kMessage.rightUp } // button 2: right
  ];

  const status = document.getElementById('status');
  const canvas = document.getElementById('game');
  const canvasContext = canvas.getContext('2d', { alpha: false });

  // What tests and measurements read: when the first pictures appeared, whether a script is done.
  const state = { firstPictureMs: null, firstFrameMs: null, pictures: 0, scriptDone: false, lock: 'none' };
  window.quorvantile = state;

  let program = null;
  let loopTimer = null;
  let loopRunning = false;
  let releaseLock = null;
  let fontReady = false;

  // Pictures the server did not send, said beside a start-up failure, which they explain.
  const fetchProblems = [];

  function showLine(line) {
    const explained = line === '' ? [] : [line, ...fetchProblems];
    status.textContent = explained.join('\n');
    status.hidden = line === '';
  }

  // ---- The canvas: the largest whole number of screen pixels per picture pixel that fits.
  function fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    const scale = Math.max(1, Math.floor(Math.min(window.innerWidth * ratio / canvas.width,
                                                  window.innerHeight * ratio / canvas.height)));
    canvas.style.width = `${canvas.width * scale / ratio}px`;
    canvas.style.height = `${canvas.height * scale / ratio}px`;
  }

  function openCanvas(title, width, height) {
    document.title = title;
    canvas.width = width;
    canvas.height = height;
    canvas.hidden = false;
    fitCanvas();
  }

  // `rgba` is the whole canvas; `rows` holds pairs of top row and row count, the only rows that
  // changed since the last picture.
  function present(rgba, width, height, rows) {
    const pixels = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4);
    const picture = new ImageData(pixels, width, height);
    for (let at = 0; at + 1 < rows.length; at += 2) canvasContext.putImageData(picture, 0, 0, 0, rows[at], width, rows[at + 1]);
    // The first picture is the start-up paint; the second follows the first frame.
    state.pictures += 1;
    if (state.pictures === 1) state.firstPictureMs = performance.now();
    if (state.pictures === 2) state.firstFrameMs = performance.now();
  }

  // ---- The mouse, in client pixels of the picture.
  function clientPosition(event) {
    const box = canvas.getBoundingClientRect();
    return [Math.floor((event.clientX - box.left) * canvas.width / box.width),
            Math.floor((event.clientY - box.top) * canvas.height / box.height)];
  }

  function postMouse(message, event) {
    if (!program) return;
    const [x, y] = clientPosition(event);
    program._qv_web_mouse(message, x, y);
    if (loopRunning) schedule(0);
  }

  canvas.addEventListener('mousemove', event => postMouse(kMessage.move, event));
  canvas.addEventListener('mousedown', event => {
    const messages = kButtonMessages[event.button];
    if (messages) postMouse(messages.down, event);
    event.preventDefault();  // no text selection or scrolling by dragging
  });
  canvas.addEventListener('mouseup', event => {
    const messages = kButtonMessages[event.button];
    if (messages) postMouse(messages.up, event);
  });
  canvas.addEventListener('contextmenu', event => event.preventDefault());
  window.addEventListener('resize', fitCanvas);

  // ---- The main loop: the program says when its next pass is due.
  function runPasses() {
    loopTimer = null;
    const wait = program._qv_web_run_passes();
    if (wait < 0) {
      loopRunning = false;
    } else if (loopTimer === null) {
      loopTimer = setTimeout(runPasses, wait);
    }
  }

  function schedule(milliseconds) {
    if (loopTimer !== null) clearTimeout(loopTimer);
    loopTimer = null;
    loopRunning = milliseconds >= 0;
    if (loopRunning) loopTimer = setTimeout(runPasses, milliseconds);
  }

  // ---- One copy at a time: a Web Lock named after the game, held until the page goes away.
  function requestLock(name) {
    if (!navigator.locks) {
      showLine('Quorvantile cannot start: this page must come from https:// or from this computer ' +
               '(127.0.0.1) for the browser to keep a second copy from running.');
      state.lock = 'unavailable';
      return;
    }
    const holdUntilClosed = () => new Promise(resolve => { releaseLock = resolve; });
    const granted = () => {
      state.lock = 'held';
      program._qv_web_lock_granted();
      return holdUntilClosed();
    };
    navigator.locks.request(name, { ifAvailable: true }, lock => {
      if (lock) return granted();
      state.lock = 'waiting';
      showLine('Quorvantile already runs in another tab of this browser. ' +
               'It starts here as soon as that tab is closed.');
      navigator.locks.request(name, granted);
      return null;
    });
  }

  function unlock() {
    if (releaseLock) releaseLock();
    releaseLock = null;
  }

  window.addEventListener('pagehide', () => {
    if (program) program._qv_web_close();
    unlock();
  });
  // A page brought back from the browser's history cache had its game shut down: start afresh.
  window.addEventListener('pageshow', event => {
    if (event.persisted) window.location.reload();
  });

  // ---- The score font, shipped with the page, drawn two-coloured like a screen font.
  const textCanvas = document.createElement('canvas');
  const textContext = textCanvas.getContext('2d', { willReadFrequently: true });
  const metricsByLineHeight = new Map();
  const masks = new Map();

  // The largest size whose lines fit the line height, and a whole-pixel advance per character.
  function metricsFor(lineHeight) {
    let metrics = metricsByLineHeight.get(lineHeight);
    if (metrics) return metrics;
    for (let size = lineHeight; size >= 1; --size) {
      textContext.font = `${size}px ${kFontFamily}`;
      const measured = textContext.measureText('Mg');
      const ascent = Math.ceil(measured.fontBoundingBoxAscent);
      const descent = Math.ceil(measured.fontBoundingBoxDescent);
      if (ascent + descent <= lineHeight || size === 1) {
        metrics = { font: textContext.font, ascent, advance: Math.max(1, Math.round(textContext.measureText('0').width)) };
        break;
      }
    }
    metricsByLineHeight.set(lineHeight, metrics);
    return metrics;
  }

  function rasterise(text, lineHeight) {
    const metrics = metricsFor(lineHeight);
    const width = text.length * metrics.advance;
    const cells = new Uint8Array(width * lineHeight);
    if (width === 0) return { width, cells };
    textCanvas.width = width;
    textCanvas.height = lineHeight;
    textContext.font = metrics.font;
    textContext.fillStyle = '#000';
    textContext.textBaseline = 'alphabetic';
    for (let i = 0; i < text.length; ++i) textContext.fillText(text[i], i * metrics.advance, metrics.ascent);
    const alpha = textContext.getImageData(0, 0, width, lineHeight).data;
    for (let i = 0; i < cells.length; ++i) cells[i] = alpha[i * 4 + 3] >= 128 ? 1 : 0;
    return { width, cells };
  }

  function textMask(text, lineHeight, mask, stride) {
    if (!fontReady) return -1;
    const key = `${lineHeight}:${text}`;
    let drawn = masks.get(key);
    if (!drawn) {
      if (masks.size > 256) masks.clear();
      drawn = rasterise(text, lineHeight);
      masks.set(key, drawn);
    }
    const width = Math.min(drawn.width, stride);
    for (let row = 0; row < lineHeight; ++row) {
      mask.set(drawn.cells.subarray(row * drawn.width, row * drawn.width + width), row * stride);
    }
    return width;
  }

  async function loadFont() {
    try {
      const face = new FontFace(kFontFamily, `url(${kFontFile})`);
      document.fonts.add(await face.load());
      fontReady = true;
    } catch (error) {
      console.warn(`Quorvantile: the score font ${kFontFile} did not load (${error.message}); ` +
                   'the score is drawn with the built-in font.');
    }
  }

  // ---- Start-up.
  async function fetchPicture(name) {
    try {
      const response = await fetch(name);
      if (response.ok) return { name, bytes: new Uint8Array(await response.arrayBuffer()) };
      fetchProblems.push(`The server did not send ${name} (HTTP ${response.status}); it belongs beside index.html.`);
    } catch (error) {
      fetchProblems.push(`${name} could not be fetched: ${error.message}.`);
    }
    return { name, bytes: null };
  }

  // A test page passes a seed, a number of frames and a mouse script in its address, and the game
  // plays that session instead of the player's mouse.
  function scriptedArguments(module) {
    const parameters = new URLSearchParams(window.location.search);
    if (!['seed', 'frames', 'input'].some(name => parameters.has(name))) return [];
    const options = [];
    if (parameters.has('seed')) options.push('--seed', parameters.get('seed'));
    if (parameters.has('frames')) options.push('--frames', parameters.get('frames'));
    if (parameters.has('input')) {
      module.FS.writeFile(kScriptPath, parameters.get('input'));
      options.push('--input', kScriptPath);
    }
    return options;
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
    const [pictures] = await Promise.all([Promise.all(kPictures.map(fetchPicture)), loadFont()]);
    const pageSide = { showLine, requestLock, releaseLock: unlock, openCanvas, present, schedule, textMask,
                       scriptDone: () => { state.scriptDone = true; } };
    try {
      program = await window.createQuorvantile({ qvPage: pageSide, printErr: line => console.warn(line) });
    } catch (error) {
      showLine(`Quorvantile cannot start: the program did not load (${error}).`);
      return;
    }
    // A picture that did not arrive stays missing, and the game says so as it starts.
    for (const { name, bytes } of pictures) {
      if (bytes) program.FS.writeFile(name, bytes);
    }
    program.callMain(scriptedArguments(program));
  }

  start();
})();
