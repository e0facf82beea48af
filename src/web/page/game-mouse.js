// The mouse as the game knows it: window messages with positions in client pixels of the picture.
import { state } from './page-state.js';

// The window messages of the mouse, as the program numbers them.
export const kMessage = { move: 0x0200, leftDown: 0x0201, leftUp: 0x0202, rightDown: 0x0204, rightUp: 0x0205 };
const kMessageNames = new Map(Object.entries(kMessage).map(([name, message]) => [message, name]));

// `wake` runs the game's loop soon, so that the message is handled without waiting for a frame.
export function createGameMouse(program, wake) {
  let position = [0, 0];
  return {
    post(message, x, y) {
      program._qv_web_mouse(message, x, y);
      position = [x, y];
      const name = kMessageNames.get(message);
      state.messages[name] = (state.messages[name] || 0) + 1;
      wake();
    },
    // Where the game last heard the mouse.
    get position() {
      return position;
    },
  };
}
