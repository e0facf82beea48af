// The one line that stands in for the game while it cannot start or must wait, with the files the
// server did not send, which explain a failed start.
const status = document.getElementById('status');
const fetchProblems = [];

export function noteFetchProblem(line) {
  fetchProblems.push(line);
}

// An empty line hides the status.
export function showLine(line) {
  const explained = line === '' ? [] : [line, ...fetchProblems];
  status.textContent = explained.join('\n');
  status.hidden = line === '';
}
