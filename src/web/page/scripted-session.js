// A test page passes a seed, a number of frames and a mouse script in its address, and the game
// plays that session instead of the player's mouse: the headless runner's --seed, --frames and
// --input, the script URL-encoded. With `record` in place of the script, the session is played by
// hand, and the page keeps the mouse messages the game received, each with the frame it came
// before, as the lines of a script for the headless runner.
import { kMessage } from './game-mouse.js';
import { state } from './page-state.js';

const kScriptPath = '/session.input';
const kScriptWords = new Map([[kMessage.move, 'move'], [kMessage.leftDown, 'ldown'], [kMessage.leftUp, 'lup'],
                              [kMessage.rightDown, 'rdown'], [kMessage.rightUp, 'rup']]);

export function noteRecordedInput(frame, message, x, y) {
  state.recorded.push(`${frame} ${kScriptWords.get(message)} ${x} ${y}`);
}

// The program's arguments for the session; none for a player's page.
export function scriptedArguments(program) {
  const parameters = new URLSearchParams(window.location.search);
  if (!['seed', 'frames', 'input', 'record'].some(name => parameters.has(name))) return [];
  const options = parameters.has('record') ? ['--record'] : [];
  if (parameters.has('seed')) options.push('--seed', parameters.get('seed'));
  if (parameters.has('frames')) options.push('--frames', parameters.get('frames'));
  if (parameters.has('input')) {
    program.FS.writeFile(kScriptPath, parameters.get('input'));
    options.push('--input', kScriptPath);
  }
  return options;
}
