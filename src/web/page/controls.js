// The page's buttons beside the picture: "End game", the way to end a game by touch, and "Full
// screen" where the browser can show the picture alone on the screen. Both are buttons, so the
// keyboard reaches and presses them too.
import { kMessage } from './game-mouse.js';

export function attachControls(mouse, stage) {
  // A right click, where the game last heard the mouse: it ends a game, and changes nothing once
  // the game is over.
  document.getElementById('end-game').addEventListener('click', () => {
    const [x, y] = mouse.position;
    mouse.post(kMessage.rightDown, x, y);
    mouse.post(kMessage.rightUp, x, y);
  });

  const fullScreen = document.getElementById('full-screen');
  if (!document.fullscreenEnabled || typeof stage.requestFullscreen !== 'function') return;
  fullScreen.hidden = false;
  fullScreen.addEventListener('click', () => {
    stage.requestFullscreen().catch(error => console.warn(`Quorvantile: the browser refused full screen (${error.message}).`));
  });
}
