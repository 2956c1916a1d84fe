// The two conversions of Play on a device that need no browser: the
// engine's key bytes into Android key events, and its touch contacts into a
// touch screen's pointers.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { AndroidKeyCode as K, AndroidKeyEventMeta as Meta } from '@yume-chan/scrcpy';
import { ANDROID_KEY_OF_SCAN_CODE, KeyBytes } from '../play/android-keys.js';
import { TOUCH_DOWN, TOUCH_MOVE, TOUCH_UP, TouchPointers, pixelOf } from '../play/touches.js';

const studio = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');

// The bytes a PC keyboard sends for a key going down or up.
const bytesOf = (scanCode, down) => [...(scanCode > 0xff ? [0xE0] : []), (scanCode & 0x7f) | (down ? 0 : 0x80)];

test('every key the page hands the engine has an Android key code, E0 keys apart from their twins', () => {
  const browserKeys = fs.readFileSync(path.join(studio, 'wasm/browser_keys.cpp'), 'utf8');
  const scanCodes = [...browserKeys.matchAll(/\{"\w+", (0x[0-9A-F]+)\}/g)].map((m) => Number(m[1]));
  assert.ok(scanCodes.length > 100, `${scanCodes.length} browser keys read`);
  const missing = scanCodes.filter((code) => !ANDROID_KEY_OF_SCAN_CODE.has(code)).map((c) => c.toString(16));
  assert.deepEqual(missing, []);
  // The keys sent with the prefix are other keys than the ones without it.
  const twins = [[0x1C, 0xE01C, K.Enter, K.NumpadEnter], [0x48, 0xE048, K.Numpad8, K.ArrowUp],
    [0x1D, 0xE01D, K.ControlLeft, K.ControlRight], [0x38, 0xE038, K.AltLeft, K.AltRight],
    [0x53, 0xE053, K.NumpadDecimal, K.Delete], [0x35, 0xE035, K.Slash, K.NumpadDivide]];
  for (const [plain, prefixed, plainKey, prefixedKey] of twins) {
    assert.equal(ANDROID_KEY_OF_SCAN_CODE.get(plain), plainKey, plain.toString(16));
    assert.equal(ANDROID_KEY_OF_SCAN_CODE.get(prefixed), prefixedKey, prefixed.toString(16));
  }
  // Keys a game is played with land on their own Android keys.
  const anchors = [[0x11, K.KeyW], [0x1E, K.KeyA], [0x39, K.Space], [0x01, K.Escape], [0x0E, K.Backspace],
    [0x02, K.Digit1], [0x0B, K.Digit0], [0x3B, K.F1], [0x58, K.F12], [0x2A, K.ShiftLeft], [0xE04B, K.ArrowLeft]];
  for (const [code, key] of anchors) assert.equal(ANDROID_KEY_OF_SCAN_CODE.get(code), key, code.toString(16));
  // No two keys of the main block share an Android key (the second
  // backslash key of European keyboards is the one exception).
  const seen = new Map();
  for (const [code, key] of ANDROID_KEY_OF_SCAN_CODE) {
    if (seen.has(key) && !(key === K.Backslash && code === 0x56)) assert.fail(`${code.toString(16)} and ${seen.get(key).toString(16)}`);
    seen.set(key, code);
  }
});

test('key bytes become key events: the E0 prefix, releases, and the meta state of held modifiers', () => {
  const bytes = new KeyBytes();
  const feed = (list) => list.map((byte) => bytes.feed(byte)).filter((event) => event !== null);
  assert.deepEqual(feed(bytesOf(0xE048, true)), [{ keyCode: K.ArrowUp, down: true, metaState: 0 }]);
  assert.deepEqual(feed(bytesOf(0xE048, false)), [{ keyCode: K.ArrowUp, down: false, metaState: 0 }]);
  // The prefix belongs to one key only: the next plain byte is the keypad's 8.
  assert.deepEqual(feed(bytesOf(0x48, true)), [{ keyCode: K.Numpad8, down: true, metaState: 0 }]);
  // Shift held: an upper-case A; the right Ctrl adds its own bits.
  const shift = Meta.Shift | Meta.ShiftLeft;
  assert.deepEqual(feed([...bytesOf(0x2A, true), ...bytesOf(0x1E, true)]),
    [{ keyCode: K.ShiftLeft, down: true, metaState: shift }, { keyCode: K.KeyA, down: true, metaState: shift }]);
  const both = shift | Meta.Ctrl | Meta.CtrlRight;
  assert.deepEqual(feed(bytesOf(0xE01D, true)), [{ keyCode: K.ControlRight, down: true, metaState: both }]);
  assert.deepEqual(feed([...bytesOf(0x2A, false), ...bytesOf(0xE01D, false), ...bytesOf(0x1E, false)]),
    [{ keyCode: K.ShiftLeft, down: false, metaState: Meta.Ctrl | Meta.CtrlRight },
      { keyCode: K.ControlRight, down: false, metaState: 0 }, { keyCode: K.KeyA, down: false, metaState: 0 }]);
  // A key without an Android key is named by its scan code.
  assert.deepEqual(feed(bytesOf(0x54, true)), [{ scanCode: 0x54, down: true }]);
  bytes.feed(0xE0);
  bytes.reset();
  assert.deepEqual(feed([0x1C]), [{ keyCode: K.Enter, down: true, metaState: 0 }]);
});

test('touch contacts become one pointer per slot, lifted where they last touched, in the screen\'s pixels', () => {
  const pointers = new TouchPointers();
  const convert = (slot, state, x, y) => pointers.convert({ slot, state, x, y }, 720, 1600);
  // The mouse's slot moves while up: the device sees nothing.
  assert.deepEqual(convert(13, 'lifted', 50, 50), []);
  assert.deepEqual(convert(15, 'down', 18, 72), [{ action: TOUCH_DOWN, pointerId: 15, x: 130, y: 1152 }]);
  assert.deepEqual(convert(2, 'down', 84, 70), [{ action: TOUCH_DOWN, pointerId: 2, x: 605, y: 1120 }]);
  assert.deepEqual(convert(15, 'move', 18, 69.76), [{ action: TOUCH_MOVE, pointerId: 15, x: 130, y: 1116 }]);
  // The engine puts a lifted finger elsewhere; it lifts where it touched.
  assert.deepEqual(convert(2, 'up', 62, 45), [{ action: TOUCH_UP, pointerId: 2, x: 605, y: 1120 }]);
  assert.deepEqual(convert(2, 'up', 0, 0), []);
  // Edges stay on the screen; a player who leaves lifts what is down.
  assert.deepEqual(convert(4, 'down', 100, 100), [{ action: TOUCH_DOWN, pointerId: 4, x: 719, y: 1599 }]);
  assert.deepEqual(pointers.liftAll(1600, 720), [
    { action: TOUCH_UP, pointerId: 15, x: 288, y: 502 }, { action: TOUCH_UP, pointerId: 4, x: 1599, y: 719 }]);
  assert.deepEqual(pointers.liftAll(1600, 720), []);
  // A move for a slot never seen down (after a reset) touches first.
  assert.deepEqual(convert(7, 'move', 10, 10), [{ action: TOUCH_DOWN, pointerId: 7, x: 72, y: 160 }]);
  assert.equal(pixelOf(0, 720), 0);
  assert.equal(pixelOf(50, 720), 360);
});
