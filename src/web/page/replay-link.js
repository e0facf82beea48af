// A replay travels in a link as its text, deflated with the browser's CompressionStream and written
// in base64url, in the address's fragment (index.html#replay=...), which no server ever sees.
const kFragmentStart = '#replay=';
// A replay played at the game's pace grows by a few kilobytes a minute; a link that unpacks to more
// than this is refused before it can fill the page's memory.
const kMostReplayBytes = 16 * 1024 * 1024;

function base64url(bytes) {
  let text = '';
  for (let at = 0; at < bytes.length; at += 0x8000) text += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
  return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function bytesOfBase64url(encoded) {
  if (!/^[A-Za-z0-9_-]*$/.test(encoded)) throw new Error('it holds characters that no replay link has');
  let text;
  try {
    text = atob(encoded.replace(/-/g, '+').replace(/_/g, '/'));
  } catch {
    throw new Error('it was cut short');
  }
  return Uint8Array.from(text, character => character.charCodeAt(0));
}

// The inflated bytes, read no further than the limit.
async function inflate(bytes) {
  const reader = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate')).getReader();
  const chunks = [];
  let size = 0;
  for (;;) {
    let read;
    try {
      read = await reader.read();
    } catch {
      throw new Error('it is damaged, and its replay does not unpack');
    }
    if (read.done) break;
    size += read.value.length;
    if (size > kMostReplayBytes) {
      reader.cancel();
      throw new Error(`its replay unpacks to more than ${kMostReplayBytes >> 20} MiB`);
    }
    chunks.push(read.value);
  }
  const whole = new Uint8Array(size);
  chunks.reduce((at, chunk) => { whole.set(chunk, at); return at + chunk.length; }, 0);
  return whole;
}

export const replayLinksWork = () => typeof CompressionStream === 'function' && typeof DecompressionStream === 'function';

// The link that opens this page playing the replay `text`.
export async function replayLinkFor(text) {
  const deflated = await new Response(new Blob([text]).stream().pipeThrough(new CompressionStream('deflate'))).arrayBuffer();
  const page = new URL(window.location.href);
  page.search = '';
  page.hash = '';
  return `${page.href}${kFragmentStart}${base64url(new Uint8Array(deflated))}`;
}

export const addressHasReplay = () => window.location.hash.startsWith(kFragmentStart);

// The text of the replay in the page's address, as bytes; an Error that says, in the page's words,
// why the link cannot be read.
export async function replayOfAddress() {
  if (!replayLinksWork()) throw new Error('this browser cannot unpack replay links');
  const bytes = bytesOfBase64url(window.location.hash.slice(kFragmentStart.length));
  if (bytes.length === 0) throw new Error('it holds no replay');
  return inflate(bytes);
}
