// The pointer on the canvas, through Pointer Events alone, so that each press reaches the game once
// whatever the browser also synthesises. A mouse is the desktop's mouse: its moves, and presses and
// releases of its left and right buttons. A finger or a pen is a mouse with its left button: touching
// down moves the cursor there and presses, moving moves the cursor, lifting releases.
import { kMessage } from './game-mouse.js';

// By the number a pointer event gives the button, with its bit among the buttons held.
const kButtons = new Map([
  [0, { down: kMessage.leftDown, up: kMessage.leftUp, bit: 1 }],
  [2, { down: kMessage.rightDown, up: kMessage.rightUp, bit: 2 }],
]);

export function attachPointerInput(canvas, mouse) {
  // The finger or pen that acts as the mouse; a second finger changes nothing.
  let touchId = null;

  function clientPosition(event) {
    const box = canvas.getBoundingClientRect();
    return [Math.floor((event.clientX - box.left) * canvas.width / box.width),
            Math.floor((event.clientY - box.top) * canvas.height / box.height)];
  }

  // Like the desktop's window, the picture hears of positions inside it only; a release always
  // arrives, at the nearest point inside.
  function inside([x, y]) {
    return x >= 0 && y >= 0 && x < canvas.width && y < canvas.height;
  }
  function clamped([x, y]) {
    return [Math.min(Math.max(x, 0), canvas.width - 1), Math.min(Math.max(y, 0), canvas.height - 1)];
  }

  function post(message, position) {
    mouse.post(message, position[0], position[1]);
  }

  function mouseButton(event, pressed) {
    const button = kButtons.get(event.button);
    const position = clientPosition(event);
    if (button && inside(position)) post(pressed ? button.down : button.up, position);
  }

  function onPointerDown(event) {
    event.preventDefault();  // no compatibility mouse events, no text selection
    if (event.pointerType === 'mouse') {
      mouseButton(event, true);
      return;
    }
    const position = clientPosition(event);
    if (!event.isPrimary || touchId !== null || !inside(position)) return;
    touchId = event.pointerId;
    post(kMessage.move, position);
    post(kMessage.leftDown, position);
  }

  function onPointerMove(event) {
    if (event.pointerType === 'mouse' && event.button !== -1) {
      // A second button pressed or released while another is held comes as a move.
      mouseButton(event, (event.buttons & (kButtons.get(event.button)?.bit ?? 0)) !== 0);
      return;
    }
    const acts = event.pointerType === 'mouse' || event.pointerId === touchId || (touchId === null && event.isPrimary);
    const position = clientPosition(event);
    if (acts && inside(position)) post(kMessage.move, position);
  }

  function onPointerUp(event) {
    if (event.pointerType === 'mouse') {
      mouseButton(event, false);
      return;
    }
    if (event.pointerId !== touchId) return;
    touchId = null;
    post(kMessage.leftUp, clamped(clientPosition(event)));
  }

  canvas.addEventListener('pointerdown', onPointerDown);
  canvas.addEventListener('pointermove', onPointerMove);
  canvas.addEventListener('pointerup', onPointerUp);
  canvas.addEventListener('pointercancel', onPointerUp);
  // No menu from a right click or a long press.
  canvas.addEventListener('contextmenu', event => event.preventDefault());
}
