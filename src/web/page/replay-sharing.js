// Once a game is over, the page offers the session's replay: "Share replay" makes a link that opens
// the page playing it, and copies the link where the browser lets it (or shows it to copy);
// "Download replay" saves the same file that the desktop's --record writes.
import { replayLinkFor, replayLinksWork } from './replay-link.js';
import { sayUnderPicture } from './session-line.js';

const share = document.getElementById('share-replay');
const download = document.getElementById('download-replay');
const linkField = document.getElementById('share-link');

// A day and a time in the name keep the downloads of several sessions apart.
function fileName() {
  const now = new Date();
  const two = number => String(number).padStart(2, '0');
  return `quorvantile-${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}-` +
         `${two(now.getHours())}${two(now.getMinutes())}${two(now.getSeconds())}.replay`;
}

function showLink(link) {
  linkField.value = link;
  linkField.hidden = false;
  linkField.focus();
  linkField.select();
}

async function shareLink(text) {
  if (!replayLinksWork()) {
    sayUnderPicture('This browser cannot make replay links; "Download replay" saves the replay as a file.');
    return;
  }
  const link = await replayLinkFor(text);
  try {
    await navigator.clipboard.writeText(link);
    linkField.hidden = true;
    sayUnderPicture('The link to this replay is copied: paste it to share the game.');
  } catch {
    showLink(link);
    sayUnderPicture('Copy this link to share the game:');
  }
}

function save(text) {
  const address = URL.createObjectURL(new Blob([text], { type: 'text/plain' }));
  const anchor = document.createElement('a');
  anchor.href = address;
  anchor.download = fileName();
  document.body.append(anchor);
  anchor.click();
  anchor.remove();
  // Some browsers read the file only after the click has returned.
  setTimeout(() => URL.revokeObjectURL(address), 60000);
}

// `replayText` gives the session's replay as its file would hold it now, or null.
export function attachReplaySharing(replayText) {
  const withReplay = use => () => {
    const text = replayText();
    if (text === null) {
      sayUnderPicture('This session has no replay to give: the console says why.');
      return;
    }
    use(text);
  };
  share.addEventListener('click', withReplay(shareLink));
  download.addEventListener('click', withReplay(save));
  linkField.addEventListener('focus', () => linkField.select());
  return {
    offer() {
      share.hidden = false;
      download.hidden = false;
    },
  };
}
