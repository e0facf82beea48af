// What tests and measurements read from the page: when the first pictures appeared, how many
// pictures and mouse messages went to the game, the page's own work in milliseconds, whether a
// session of a fixed number of frames is done, the single-copy lock, whether the page is kept for
// offline play, and (a function) how many frames the game has run.
export const state = {
  firstPictureMs: null,
  firstFrameMs: null,
  pictures: 0,
  messages: {},
  workMs: 0,
  scriptDone: false,
  lock: 'none',
  offline: 'none',
  frames: () => 0,
};
window.quorvantile = state;
