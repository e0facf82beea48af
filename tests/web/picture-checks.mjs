// What the browser tests look for in the game's picture (red, green, blue, alpha bytes, top row
// first, as canvasPixels reads them), and the native runner's picture of the same session.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { kHeight, kWidth } from './browser.mjs';

export function pixel(pixels, x, y) {
  const at = (y * kWidth + x) * 4;
  return [pixels[at], pixels[at + 1], pixels[at + 2]];
}

export function countIn(pixels, left, top, right, bottom, accept) {
  let count = 0;
  for (let y = top; y < bottom; ++y) {
    for (let x = left; x < right; ++x) if (accept(pixel(pixels, x, y), x, y)) ++count;
  }
  return count;
}

export const isBlack = ([r, g, b]) => r === 0 && g === 0 && b === 0;
export const isWhite = ([r, g, b]) => r === 255 && g === 255 && b === 255;

// Text lines are black on white: some of each, and nothing else, in the line's band.
export function textLineShown(pixels, top) {
  const ink = countIn(pixels, 0, top, 100, top + 16, isBlack);
  const paper = countIn(pixels, 0, top, 100, top + 16, isWhite);
  return ink > 50 && paper > 200;
}

export function assertTextLine(pixels, top, what) {
  assert.ok(textLineShown(pixels, top), `${what}: no black on white text at y ${top}`);
}

// The end-of-game lines stand in the left margin, at these rows.
export const kEndOfGameLines = [200, 220, 280];
export const endOfGameShown = pixels => kEndOfGameLines.every(top => textLineShown(pixels, top));
export const marginClear = pixels => countIn(pixels, 0, 200, 32, 296, p => !isBlack(p)) === 0;

// The top-left corner of the cursor's grey frame, 53 pixels a side; null when none is shown.
export function cursorFrame(pixels) {
  const isGrey = ([r, g, b]) => r === 128 && g === 128 && b === 128;
  for (let y = 0; y < kHeight; ++y) {
    let run = 0;
    for (let x = 0; x < kWidth; ++x) {
      run = isGrey(pixel(pixels, x, y)) ? run + 1 : 0;
      if (run === 53) return [x - 52, y];
    }
  }
  return null;
}

// Where the game puts the cursor's frame for the mouse at (x, y) away from the field's edges: on
// the 4-pixel tile under it, 24 pixels up and left of the tile's corner.
export const expectedCursorFrame = (x, y) => [32 + 4 * Math.floor((x - 32) / 4) - 24, 32 + 4 * Math.floor((y - 32) / 4) - 24];

// A 24-bit bottom-up BMP of the runner, in canvas order.
function canvasOrder(picture) {
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

// The native runner's picture after `frames` frames of `script` from `seed`.
export function nativePicture(nativeRunner, assetsDir, folder, name, { seed, frames, script }) {
  const scriptPath = path.join(folder, `${name}.input`);
  const picture = path.join(folder, `${name}-native.bmp`);
  fs.writeFileSync(scriptPath, script);
  execFileSync(nativeRunner, ['--seed', String(seed), '--frames', String(frames), '--input', scriptPath,
                              '--picture', picture], { cwd: assetsDir, stdio: 'inherit' });
  return canvasOrder(picture);
}

// The native runner's picture after the last frame of the replay in `replayPath`. The runner checks
// that its last frame ends as the replay's end line says: a run that does not fails the test.
export function nativeReplayPicture(nativeRunner, assetsDir, replayPath) {
  const picture = `${replayPath}-native.bmp`;
  execFileSync(nativeRunner, ['--replay', replayPath, '--picture', picture], { cwd: assetsDir, stdio: 'inherit' });
  return canvasOrder(picture);
}

// Where the page's picture must equal the native one: everywhere but in the score and bonus lines at
// the top left, which only the page draws; or, for a game that ends over, in the field but for the
// end-of-game lines that reach into it.
const kTextWidth = 224;
export const outsideScoreLines = (x, y) => !(y < 32 && x < kTextWidth);
export const inFieldClearOfText = (x, y) => x >= 32 && x < 416 && y >= 32 && y < 608 &&
  !(x < kTextWidth && kEndOfGameLines.some(top => y >= top && y < top + 16));

export function assertSameAsNative(actual, expected, what, compared = outsideScoreLines) {
  let differing = 0;
  let first = null;
  for (let y = 0; y < kHeight; ++y) {
    for (let x = 0; x < kWidth; ++x) {
      if (!compared(x, y)) continue;
      const a = pixel(actual, x, y);
      const e = pixel(expected, x, y);
      if (a.some((value, i) => value !== e[i])) {
        ++differing;
        first = first || `(${x}, ${y}): page ${a}, native ${e}`;
      }
    }
  }
  assert.equal(differing, 0, `${what}: ${differing} pixels differ from the native picture, first at ${first}`);
  assert.ok(countIn(actual, 32, 32, 416, 608, p => !isBlack(p)) > 0, `${what}: the field shows`);
}
