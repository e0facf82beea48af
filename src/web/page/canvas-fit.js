// The picture at the largest whole number of device pixels per picture pixel that fits the visible
// area less the page's controls (the whole screen in full screen), placed on whole device pixels so
// that every picture pixel is a crisp square block; fitted again whenever the room changes.
const stage = document.getElementById('stage');
const canvas = document.getElementById('game');
const controls = document.getElementById('controls');

// At least 1: a window smaller than the picture scrolls.
export function largestWholeScale(roomWidth, roomHeight, width, height) {
  const kRounding = 1e-9;  // a room of exactly k pictures is k, whatever the division rounds to
  return Math.max(1, Math.floor(Math.min(roomWidth / width, roomHeight / height) + kRounding));
}

function visibleArea() {
  const view = window.visualViewport;
  if (document.fullscreenElement === stage || !view) return [window.innerWidth, window.innerHeight];
  return [view.width, view.height];
}

export function fitCanvas() {
  const ratio = window.devicePixelRatio || 1;
  const fullScreen = document.fullscreenElement === stage;
  const [viewWidth, viewHeight] = visibleArea();
  const roomHeight = viewHeight - (fullScreen ? 0 : controls.getBoundingClientRect().height);
  // In device pixels from here on.
  const scale = largestWholeScale(viewWidth * ratio, roomHeight * ratio, canvas.width, canvas.height);
  const width = canvas.width * scale;
  const height = canvas.height * scale;
  const left = Math.max(0, Math.floor((viewWidth * ratio - width) / 2));
  // The picture and the controls under it are centred together.
  const top = Math.max(0, Math.floor((roomHeight * ratio - height) / 2));
  canvas.style.width = `${width / ratio}px`;
  canvas.style.height = `${height / ratio}px`;
  canvas.style.left = `${left / ratio}px`;
  canvas.style.top = `${top / ratio}px`;
  stage.style.width = `${Math.max(viewWidth, (left + width) / ratio)}px`;
  stage.style.height = `${(top + height) / ratio}px`;
}

// A change of the device pixel ratio alone (a window moved to another screen) fires no resize.
function watchPixelRatio() {
  const query = window.matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
  query.addEventListener('change', () => {
    fitCanvas();
    watchPixelRatio();
  }, { once: true });
}

export function keepCanvasFitted() {
  window.addEventListener('resize', fitCanvas);
  window.visualViewport?.addEventListener('resize', fitCanvas);
  document.addEventListener('fullscreenchange', fitCanvas);
  // Buttons that come or go change the room left for the picture.
  new ResizeObserver(fitCanvas).observe(controls);
  watchPixelRatio();
}
