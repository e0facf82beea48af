// A test page passes a seed and a number of frames in its address, the headless runner's --seed and
// --frames: the game plays that many frames from that seed, and the loop then stops. With a mouse
// script as well (--input, URL-encoded), the script plays the session instead of the player's mouse.
const kScriptPath = '/session.input';

// The program's arguments for the session; null for a player's page.
export function scriptedArguments(program) {
  const parameters = new URLSearchParams(window.location.search);
  if (!['seed', 'frames', 'input'].some(name => parameters.has(name))) return null;
  const options = [];
  if (parameters.has('seed')) options.push('--seed', parameters.get('seed'));
  if (parameters.has('frames')) options.push('--frames', parameters.get('frames'));
  if (parameters.has('input')) {
    program.FS.writeFile(kScriptPath, parameters.get('input'));
    options.push('--input', kScriptPath);
  }
  return options;
}
