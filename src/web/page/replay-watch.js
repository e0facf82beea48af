// A page opened with a replay link plays the replay at the game's pace, the player's pointer
// ignored, and then hands the game over. A link that cannot be read, or whose replay the game
// refuses, is said under the picture, and a new game starts instead.
import { addressHasReplay, replayOfAddress } from './replay-link.js';
import { sayUnderPicture } from './session-line.js';

const kReplayPath = '/link.replay';
let watching = false;

export function refuseReplay(why) {
  sayUnderPicture(`This replay link cannot be played: ${why}. A new game starts instead.`);
}

// The replay of the page's address, read while the program loads: its bytes, or null when the
// address has none or it cannot be read (which is said).
export async function linkedReplay() {
  if (!addressHasReplay()) return null;
  try {
    return await replayOfAddress();
  } catch (error) {
    refuseReplay(error.message);
    return null;
  }
}

// The program's arguments to watch `replay`; none without one.
export function watchArguments(program, replay) {
  if (!replay) return [];
  program.FS.writeFile(kReplayPath, replay);
  return ['--replay', kReplayPath];
}

// The program's title for the page, and whether a replay plays it now.
export function showRunState(title, replaying) {
  document.title = title;
  if (replaying) {
    sayUnderPicture('A replay plays: the game is yours once it ends.');
  } else if (watching) {
    sayUnderPicture('The replay has ended: the game is yours.');
  }
  watching = replaying;
}

// A link to another replay, pasted over this page's address, loads nothing by itself: the page
// starts again with it.
export function followReplayLinks() {
  window.addEventListener('hashchange', () => {
    if (addressHasReplay()) window.location.reload();
  });
}
