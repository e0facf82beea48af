// The game's main loop, driven by the page's clock: the program runs the passes that are due and
// says when the next one is. While the page is hidden (another tab, a locked phone, a minimised
// window) no pass runs at all; since the loop never catches up missed frames, play goes on from
// where it stopped once the page is shown again.
import { state } from './page-state.js';

// `runPasses` returns the milliseconds until the next pass is due, or a negative number when the
// loop has ended.
export function createMainLoop(runPasses) {
  let timer = null;
  let running = false;

  function arm(milliseconds) {
    if (timer !== null) clearTimeout(timer);
    timer = running && !document.hidden ? setTimeout(run, milliseconds) : null;
  }

  function run() {
    timer = null;
    const began = performance.now();
    const wait = runPasses();
    state.workMs += performance.now() - began;
    if (wait < 0) {
      running = false;
    } else if (timer === null) {  // unless the passes scheduled the loop themselves
      arm(wait);
    }
  }

  document.addEventListener('visibilitychange', () => arm(0));

  return {
    // The program asks for a pass after `milliseconds`; a negative value stops the loop.
    schedule(milliseconds) {
      running = milliseconds >= 0;
      arm(milliseconds);
    },
    // Input arrived: a pass now handles it.
    wake() {
      if (running) arm(0);
    },
  };
}
