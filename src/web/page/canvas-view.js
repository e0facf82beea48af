// The canvas, the game's client area: opened once the game may run, and given the rows of each
// picture that changed.
import { fitCanvas } from './canvas-fit.js';
import { state } from './page-state.js';

const play = document.getElementById('play');
const canvas = document.getElementById('game');
const context = canvas.getContext('2d', { alpha: false });

export function openCanvas(title, width, height) {
  document.title = title;
  canvas.width = width;
  canvas.height = height;
  play.hidden = false;
  fitCanvas();
}

// `rgba` is the whole canvas, top row first; `rows` holds pairs of top row and row count, the only
// rows that changed since the last picture.
export function present(rgba, width, height, rows) {
  const picture = new ImageData(new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4), width, height);
  for (let at = 0; at + 1 < rows.length; at += 2) {
    context.putImageData(picture, 0, 0, 0, rows[at], width, rows[at + 1]);
  }
  // The first picture is the start-up paint; the second follows the first frame.
  state.pictures += 1;
  if (state.pictures === 1) state.firstPictureMs = performance.now();
  if (state.pictures === 2) state.firstFrameMs = performance.now();
  canvas.dispatchEvent(new Event('quorvantile-picture'));
}

// The browser may drop a canvas's pixels (a phone short of memory); it says so once they can be
// drawn again, blank.
export function onCanvasRestored(handler) {
  canvas.addEventListener('contextrestored', handler);
}
