// The scrcpy server: the program that runs on the device, films its screen
// and injects the touches and keys. It comes with every scrcpy install as
// the file `scrcpy-server`, which the player picks once; the page reads its
// version, keeps the file in the browser's storage (IndexedDB) for next time
// and starts it with the client options of the same version.

// Two of the versions are left out of the package's index.
import { AdbScrcpyOptions2_1_1 } from '@yume-chan/adb-scrcpy/esm/2_1_1.js';
import { AdbScrcpyOptions2_3_1 } from '@yume-chan/adb-scrcpy/esm/2_3_1.js';
import {
  AdbScrcpyOptions2_0, AdbScrcpyOptions2_1, AdbScrcpyOptions2_2, AdbScrcpyOptions2_3, AdbScrcpyOptions2_4, AdbScrcpyOptions2_5, AdbScrcpyOptions2_6, AdbScrcpyOptions2_7,
  AdbScrcpyOptions3_0, AdbScrcpyOptions3_0_1, AdbScrcpyOptions3_0_2, AdbScrcpyOptions3_1, AdbScrcpyOptions3_2,
  AdbScrcpyOptions3_3, AdbScrcpyOptions3_3_1, AdbScrcpyOptions3_3_2, AdbScrcpyOptions3_3_3,
} from '@yume-chan/adb-scrcpy';

// The server versions the client speaks, each with its options.
const OPTIONS = new Map([
  ['2.0', AdbScrcpyOptions2_0], ['2.1', AdbScrcpyOptions2_1], ['2.1.1', AdbScrcpyOptions2_1_1],
  ['2.2', AdbScrcpyOptions2_2], ['2.3', AdbScrcpyOptions2_3], ['2.3.1', AdbScrcpyOptions2_3_1],
  ['2.4', AdbScrcpyOptions2_4], ['2.5', AdbScrcpyOptions2_5], ['2.6', AdbScrcpyOptions2_6],
  ['2.6.1', AdbScrcpyOptions2_6], ['2.7', AdbScrcpyOptions2_7], ['3.0', AdbScrcpyOptions3_0],
  ['3.0.1', AdbScrcpyOptions3_0_1], ['3.0.2', AdbScrcpyOptions3_0_2], ['3.1', AdbScrcpyOptions3_1],
  ['3.2', AdbScrcpyOptions3_2], ['3.3', AdbScrcpyOptions3_3], ['3.3.1', AdbScrcpyOptions3_3_1],
  ['3.3.2', AdbScrcpyOptions3_3_2], ['3.3.3', AdbScrcpyOptions3_3_3],
]);
export const SUPPORTED = `${[...OPTIONS.keys()][0]} to ${[...OPTIONS.keys()].at(-1)}`;

// Where the server goes on the device.
export const SERVER_PATH = '/data/local/tmp/keyweave-scrcpy-server.jar';

// The client options for a server of `version`: video (H.264) and control,
// no audio, the connection through a forward tunnel, no clipboard sync.
export function serverOptions(version) {
  const Options = OPTIONS.get(version);
  return new Options({ audio: false, tunnelForward: true, clipboardAutosync: false }, { version });
}

// The server checks the version the client names against its own and
// refuses another; its refusal carries the version it was built as.
const MARK = 'The server version (';

// The version of a server file (its bytes), or throws with why not.
export async function serverVersion(bytes, name) {
  const dex = await zipEntry(bytes, 'classes.dex');
  if (!dex) throw new Error(`Cannot read ${name}: it is not a scrcpy server (no classes.dex inside)`);
  const text = new TextDecoder('latin1').decode(dex);
  const at = text.indexOf(MARK);
  const end = at < 0 ? -1 : text.indexOf(')', at + MARK.length);
  if (end < 0) throw new Error(`Cannot read ${name}: it is not a scrcpy server (it names no version)`);
  return text.slice(at + MARK.length, end);
}

// Throws with what to do when the client cannot start a server of `version`.
export function checkVersion(version, name) {
  if (!OPTIONS.has(version)) {
    throw new Error(`Cannot use ${name}: it is scrcpy server ${version}, and Keyweave plays with servers ${SUPPORTED}; ` +
      'pick the scrcpy-server file of a scrcpy release among those');
  }
}

// The bytes of one file of a zip archive (stored or deflated), or null.
async function zipEntry(bytes, wanted) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  let end = bytes.length - 22;
  while (end >= 0 && view.getUint32(end, true) !== 0x06054b50) --end;
  if (end < 0) return null;
  const count = view.getUint16(end + 10, true);
  let at = view.getUint32(end + 16, true);
  for (let i = 0; i < count && at + 46 <= bytes.length; ++i) {
    if (view.getUint32(at, true) !== 0x02014b50) return null;
    const method = view.getUint16(at + 10, true);
    const size = view.getUint32(at + 20, true);
    const nameLength = view.getUint16(at + 28, true);
    const skip = nameLength + view.getUint16(at + 30, true) + view.getUint16(at + 32, true);
    const name = new TextDecoder().decode(bytes.subarray(at + 46, at + 46 + nameLength));
    if (name === wanted) {
      const local = view.getUint32(at + 42, true);
      const start = local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
      const data = bytes.subarray(start, start + size);
      if (method === 0) return data;
      if (method !== 8) return null;
      const inflated = new Blob([data]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
      return new Uint8Array(await new Response(inflated).arrayBuffer());
    }
    at += 46 + skip;
  }
  return null;
}

// ---- the kept file ----

const STORE = 'server';

function database() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open('keyweave-play', 1);
    request.onupgradeneeded = () => request.result.createObjectStore(STORE);
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function transact(mode, work) {
  const db = await database();
  return new Promise((resolve, reject) => {
    const request = work(db.transaction(STORE, mode).objectStore(STORE));
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  }).finally(() => db.close());
}

// {name, version, bytes} kept from last time, or undefined.
export function keptServer() {
  return transact('readonly', (store) => store.get('file')).catch(() => undefined);
}

export function keepServer(server) {
  return transact('readwrite', (store) => store.put(server, 'file'));
}
