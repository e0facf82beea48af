// One copy at a time: a Web Lock named after the game, held until the page goes away. A second tab
// says that the game runs elsewhere, and starts once that tab is closed.
import { state } from './page-state.js';
import { showLine } from './status-line.js';

// `granted` starts the game once the page holds the lock.
export function createSingleCopyLock(granted) {
  let release = null;

  function hold() {
    state.lock = 'held';
    granted();
    return new Promise(resolve => { release = resolve; });
  }

  return {
    request(name) {
      if (!navigator.locks) {
        showLine('Quorvantile cannot start: this page must come from https:// or from this computer ' +
                 '(127.0.0.1) for the browser to keep a second copy from running.');
        state.lock = 'unavailable';
        return;
      }
      navigator.locks.request(name, { ifAvailable: true }, lock => {
        if (lock) return hold();
        state.lock = 'waiting';
        showLine('Quorvantile already runs in another tab of this browser. ' +
                 'It starts here as soon as that tab is closed.');
        navigator.locks.request(name, hold);
        return null;
      });
    },
    release() {
      if (release) release();
      release = null;
    },
  };
}
