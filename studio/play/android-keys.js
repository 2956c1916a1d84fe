// The engine's key bytes as an Android device's key events. The engine
// speaks a PC keyboard: set-1 scan codes, one byte each, bit 7 set for a
// release, and 0xE0 before the byte of a key that a PC keyboard sends with
// that prefix (the arrows, the right Ctrl and Alt, the keypad's Enter...).
// The device wants Android key codes with the modifiers held as a meta
// state.

import { AndroidKeyCode as K, AndroidKeyEventMeta as Meta } from '@yume-chan/scrcpy';

// Every PC key the page can hand the engine, by scan code (0xE0xx for the
// keys sent with the prefix).
export const ANDROID_KEY_OF_SCAN_CODE = new Map([
  [0x01, K.Escape], [0x02, K.Digit1], [0x03, K.Digit2], [0x04, K.Digit3], [0x05, K.Digit4],
  [0x06, K.Digit5], [0x07, K.Digit6], [0x08, K.Digit7], [0x09, K.Digit8], [0x0A, K.Digit9],
  [0x0B, K.Digit0], [0x0C, K.Minus], [0x0D, K.Equal], [0x0E, K.Backspace], [0x0F, K.Tab],
  [0x10, K.KeyQ], [0x11, K.KeyW], [0x12, K.KeyE], [0x13, K.KeyR], [0x14, K.KeyT],
  [0x15, K.KeyY], [0x16, K.KeyU], [0x17, K.KeyI], [0x18, K.KeyO], [0x19, K.KeyP],
  [0x1A, K.BracketLeft], [0x1B, K.BracketRight], [0x1C, K.Enter], [0x1D, K.ControlLeft],
  [0x1E, K.KeyA], [0x1F, K.KeyS], [0x20, K.KeyD], [0x21, K.KeyF], [0x22, K.KeyG],
  [0x23, K.KeyH], [0x24, K.KeyJ], [0x25, K.KeyK], [0x26, K.KeyL], [0x27, K.Semicolon],
  [0x28, K.Quote], [0x29, K.Backquote], [0x2A, K.ShiftLeft], [0x2B, K.Backslash],
  [0x2C, K.KeyZ], [0x2D, K.KeyX], [0x2E, K.KeyC], [0x2F, K.KeyV], [0x30, K.KeyB],
  [0x31, K.KeyN], [0x32, K.KeyM], [0x33, K.Comma], [0x34, K.Period], [0x35, K.Slash],
  [0x36, K.ShiftRight], [0x37, K.NumpadMultiply], [0x38, K.AltLeft], [0x39, K.Space],
  [0x3A, K.CapsLock], [0x3B, K.F1], [0x3C, K.F2], [0x3D, K.F3], [0x3E, K.F4], [0x3F, K.F5],
  [0x40, K.F6], [0x41, K.F7], [0x42, K.F8], [0x43, K.F9], [0x44, K.F10], [0x45, K.NumLock],
  [0x46, K.ScrollLock], [0x47, K.Numpad7], [0x48, K.Numpad8], [0x49, K.Numpad9],
  [0x4A, K.NumpadSubtract], [0x4B, K.Numpad4], [0x4C, K.Numpad5], [0x4D, K.Numpad6],
  [0x4E, K.NumpadAdd], [0x4F, K.Numpad1], [0x50, K.Numpad2], [0x51, K.Numpad3],
  [0x52, K.Numpad0], [0x53, K.NumpadDecimal], [0x56, K.Backslash], [0x57, K.F11], [0x58, K.F12],
  // Sent with the E0 prefix.
  [0xE01C, K.NumpadEnter], [0xE01D, K.ControlRight], [0xE035, K.NumpadDivide],
  [0xE037, K.PrintScreen], [0xE038, K.AltRight], [0xE047, K.Home], [0xE048, K.ArrowUp],
  [0xE049, K.PageUp], [0xE04B, K.ArrowLeft], [0xE04D, K.ArrowRight], [0xE04F, K.End],
  [0xE050, K.ArrowDown], [0xE051, K.PageDown], [0xE052, K.Insert], [0xE053, K.Delete],
  [0xE05B, K.MetaLeft], [0xE05C, K.MetaRight], [0xE05D, K.ContextMenu],
]);

// The meta state bits that a held modifier adds to every key event.
const MODIFIERS = new Map([
  [K.ShiftLeft, Meta.Shift | Meta.ShiftLeft], [K.ShiftRight, Meta.Shift | Meta.ShiftRight],
  [K.ControlLeft, Meta.Ctrl | Meta.CtrlLeft], [K.ControlRight, Meta.Ctrl | Meta.CtrlRight],
  [K.AltLeft, Meta.Alt | Meta.AltLeft], [K.AltRight, Meta.Alt | Meta.AltRight],
  [K.MetaLeft, Meta.Meta | Meta.MetaLeft], [K.MetaRight, Meta.Meta | Meta.MetaRight],
]);

const PREFIX = 0xE0;
const RELEASE = 0x80;

// Reads the engine's bytes one at a time, as a PC keyboard's controller
// would, and turns each whole key into an Android key event.
export class KeyBytes {
  constructor() {
    this.afterPrefix = false;
    this.held = new Map();  // Android key code of a held modifier: its meta bits
  }

  // {keyCode, down, metaState} for a byte that ends a key, {scanCode} alone
  // for a key without an Android key code, null for the prefix byte.
  feed(byte) {
    if (byte === PREFIX) {
      this.afterPrefix = true;
      return null;
    }
    const scanCode = (this.afterPrefix ? PREFIX << 8 : 0) | (byte & ~RELEASE);
    this.afterPrefix = false;
    const down = (byte & RELEASE) === 0;
    const keyCode = ANDROID_KEY_OF_SCAN_CODE.get(scanCode);
    if (keyCode === undefined) return { scanCode, down };
    const bits = MODIFIERS.get(keyCode);
    if (bits !== undefined) {
      if (down) this.held.set(keyCode, bits);
      else this.held.delete(keyCode);
    }
    return { keyCode, down, metaState: this.metaState() };
  }

  metaState() {
    let state = 0;
    for (const bits of this.held.values()) state |= bits;
    return state;
  }

  reset() {
    this.afterPrefix = false;
    this.held.clear();
  }
}
