// The line under the picture that says what happens to the session: a replay plays or was refused,
// its link was copied.
const line = document.getElementById('session-line');

export function sayUnderPicture(text) {
  line.textContent = text;
  line.hidden = false;
}
