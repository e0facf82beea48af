// The score display's font, shipped with the page, drawn two-coloured like a screen font. When the
// font file does not load, the program draws the score with its built-in font instead.
const kFontFile = 'score-font.ttf';
const kFontFamily = 'QuorvantileScore';

const textCanvas = document.createElement('canvas');
const textContext = textCanvas.getContext('2d', { willReadFrequently: true });
const metricsByLineHeight = new Map();
const masks = new Map();
let fontReady = false;

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

// Writes the text's ink (1) and background (0) into `mask`, rows `stride` bytes apart, and returns
// the width drawn; -1 when the font is not loaded.
export function textMask(text, lineHeight, mask, stride) {
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

export async function loadScoreFont() {
  try {
    const face = new FontFace(kFontFamily, `url(${kFontFile})`);
    document.fonts.add(await face.load());
    fontReady = true;
  } catch (error) {
    console.warn(`Quorvantile: the score font ${kFontFile} did not load (${error.message}); ` +
                 'the score is drawn with the built-in font.');
  }
}
