// A game on the device: the page's keyboard, mouse, wheel and game pads go
// into the engine as try-it mode sends them (one play-script line each, at
// the page's time), and what the engine answers goes to the device at once:
// touches as scrcpy touch injections, key bytes as Android key events.
//
// The engine runs on a manual clock. Input moves it to the input's time and
// plays the line; what the engine queued for later (a swipe's steps, the
// direction pad's glide, a tap's lift) is sent when it falls due, by a timer
// set for the engine's next due step. Drawing (the fingers over the video)
// waits for the next animation frame; sending never does.

import { AndroidKeyEventAction } from '@yume-chan/scrcpy';
import { keyLine } from '../keyboard.js';
import { KeyBytes } from './android-keys.js';
import { TOUCH_UP, TouchPointers } from './touches.js';

const BUTTONS = ['left', 'middle', 'right'];
const SHOOTING_STARTED = 1;
const SHOOTING_ENDED = 0;
const PAD_TICK_MS = 4;  // a held stick moves its finger this often

export class Player {
  // `pads`: {pollPads, releasePads} of the Studio's game-pad module;
  // `surface`: the element over the video that takes the mouse;
  // `report(message)` shows a message; `onEvents(events)` gets the engine's
  // events for the page's lists and overlay.
  constructor({ engine, pads, surface, report, onEvents }) {
    this.engine = engine;
    this.padsModule = pads;
    this.surface = surface;
    this.report = report;
    this.onEvents = onEvents;
    this.active = false;
    this.pointers = new TouchPointers();
    this.keyBytes = new KeyBytes();
    this.typing = false;
    this.unknownKeys = new Set();
    this.lateness = [];  // ms after its due time that each timed step was sent
    this.listeners = [
      [window, 'keydown', (event) => this.key(event), true],
      [window, 'keyup', (event) => this.key(event), true],
      [window, 'blur', () => this.releaseAll()],
      [document, 'visibilitychange', () => { if (document.hidden) this.releaseAll(); }],
      [document, 'pointerlockchange', () => this.lockChanged()],
      [surface, 'pointermove', (event) => this.mouse(event)],
      [surface, 'pointerdown', (event) => this.mouse(event)],
      [surface, 'pointerup', (event) => this.mouse(event)],
      [surface, 'wheel', (event) => this.wheel(event), { passive: false }],
      [surface, 'contextmenu', (event) => event.preventDefault()],
    ];
  }

  // Starts a game on `link` (a started DeviceLink) with the stored keymap
  // `keymapName`: a fresh engine, nothing held.
  start(link, keymapName) {
    this.link = link;
    this.engine.setScreen(link.width, link.height);
    this.onEvents(this.engine.liveStart(keymapName), true);
    this.origin = performance.now();
    this.now = 0;
    this.lastAt = 0;
    this.held = new Set();      // script words of the keys held
    this.buttons = new Set();   // mouse buttons held
    this.pads = new Map();      // for the game-pad module: id: the last report
    this.pointers.clear();
    this.keyBytes.reset();
    this.shooting = false;
    this.active = true;
    for (const [target, type, listener, options] of this.listeners) target.addEventListener(type, listener, options);
    if (this.typing) this.line('mapping off');
    const frame = () => {
      if (!this.active) return;
      this.inputStamp = undefined;  // what follows is no input's
      this.padsModule.pollPads(this);
      this.pump();
      requestAnimationFrame(frame);
    };
    requestAnimationFrame(frame);
  }

  // Ends the game: what is held lets go first while the device is there,
  // and a finger the engine would lift later lifts now.
  stop() {
    if (!this.active) return '';
    if (!this.link.gone) {
      this.releaseAll();
      for (const pointer of this.pointers.liftAll(this.link.width, this.link.height)) this.touch(pointer);
    }
    this.detach();
    return this.engine.liveScript();
  }

  // The device went away: nothing more is sent, and nothing the engine holds
  // survives (the next game starts a new engine).
  lost() {
    if (!this.active) return;
    this.detach();
    this.pointers.clear();
    this.keyBytes.reset();
  }

  detach() {
    this.active = false;
    clearTimeout(this.timer);
    this.timerAt = undefined;
    for (const [target, type, listener, options] of this.listeners) target.removeEventListener(type, listener, options);
    if (document.pointerLockElement) document.exitPointerLock();
  }

  // ---- the engine's clock ----

  // The page's time in whole ms since the start, never going back.
  clock() {
    this.now = Math.max(this.now, Math.floor(performance.now() - this.origin));
    return this.now;
  }

  // Plays one script line now, and sends what it made due.
  line(text) {
    if (!this.active) return;
    const time = this.clock();
    if (time !== this.lastAt) {
      this.engine.liveLine(`at ${time}`);
      this.lastAt = time;
    }
    const error = this.engine.liveLine(text);
    if (error) this.report(error);
    this.pump();
  }

  // Runs what is due, sends every event to the device and sets the timer
  // for the next queued step.
  pump() {
    if (!this.active) return;
    // How late the engine's timed steps leave: browser timers are coarse.
    const due = this.engine.liveNextDue();
    const now = this.clock();
    if (due >= 0 && due <= now && this.lateness.length < 100000) this.lateness.push(performance.now() - (this.origin + due));
    this.engine.liveAdvance(now);
    const events = this.engine.liveEvents();
    if (events.length) {
      for (const { json } of events) this.send(json);
      this.onEvents(events, false);
    }
    this.schedule();
  }

  schedule() {
    const due = this.engine.liveNextDue();
    let next = due < 0 ? Infinity : due;
    if (this.pads.size) next = Math.min(next, this.now + PAD_TICK_MS);
    if (next === this.timerAt) return;
    clearTimeout(this.timer);
    this.timerAt = next;
    if (next === Infinity) return;
    this.timer = setTimeout(() => {
      this.timerAt = undefined;
      this.inputStamp = undefined;
      this.pump();
    }, Math.max(0, Math.ceil(this.origin + next - performance.now())));  // never before its whole ms
  }

  // ---- to the device ----

  send(event) {
    const link = this.link;
    if (link.gone) return;
    if (event.event === 'touch') {
      for (const pointer of this.pointers.convert(event, link.width, link.height)) this.touch(pointer);
    } else if (event.event === 'key') {
      const key = this.keyBytes.feed(event.byte);
      if (key === null) return;
      if (key.keyCode === undefined) {
        const code = `0x${key.scanCode.toString(16).toUpperCase()}`;
        if (!this.unknownKeys.has(code)) this.report(`Cannot send the key ${code} to the device: it has no Android key code`);
        this.unknownKeys.add(code);
        return;
      }
      this.track(link.controller.injectKeyCode({
        action: key.down ? AndroidKeyEventAction.Down : AndroidKeyEventAction.Up,
        keyCode: key.keyCode, repeat: 0, metaState: key.metaState,
      }));
    } else if (event.event === 'shooting') {
      if (event.code === SHOOTING_STARTED) this.lockPointer(true);
      if (event.code === SHOOTING_ENDED) this.lockPointer(false);
    }
  }

  touch({ action, pointerId, x, y }) {
    const link = this.link;
    this.track(link.controller.injectTouch({
      action, pointerId: BigInt(pointerId), pointerX: x, pointerY: y,
      videoWidth: link.width, videoHeight: link.height,
      pressure: action === TOUCH_UP ? 0 : 1, actionButton: 0, buttons: 0,
    }));
  }

  // A message's promise settles when the transport has taken it: the input
  // that caused it is measured to that moment.
  track(promise) {
    const stamp = this.inputStamp;
    const handled = this.inputHandled;
    this.inputStamp = undefined;
    promise.then(() => {
      if (stamp === undefined) return;
      const end = performance.now();
      performance.measure('input-to-control', { start: stamp, end });
      performance.measure('handler-to-control', { start: handled, end });
      performance.measure('input-to-handler', { start: stamp, end: handled });
    }, () => {});
  }

  // Notes an input's time stamp (when the browser made the event) and the
  // moment the page took it.
  noteInput(event) {
    this.inputStamp = event.timeStamp;
    this.inputHandled = performance.now();
  }

  // ---- from the player ----

  key(event) {
    if (event.target.closest?.('textarea, .cm-editor, input:not([type=checkbox], [type=file])')) return;
    event.preventDefault();
    if (this.typing && event.type === 'keydown' && event.key.length === 1 && !event.ctrlKey && !event.metaKey && !event.altKey) {
      this.noteInput(event);
      if (!this.link.gone) this.track(this.link.controller.injectText(event.key));
      return;
    }
    const line = keyLine(this.engine, this.held, event, (message) => this.report(message));
    if (line === null) return;
    this.noteInput(event);
    this.line(line);
  }

  // Percent of the video under a pointer event; while the pointer is locked
  // (mouse-look), the middle of the screen moved by the event's movement, as
  // a host that puts its pointer back in the middle after each move reports
  // it.
  percentAt(event) {
    const box = this.surface.getBoundingClientRect();
    if (document.pointerLockElement === this.surface) {
      return { x: 50 + (event.movementX / box.width) * 100, y: 50 + (event.movementY / box.height) * 100 };
    }
    const keep = (value) => Math.min(100, Math.max(0, value));
    return { x: keep(((event.clientX - box.left) / box.width) * 100), y: keep(((event.clientY - box.top) / box.height) * 100) };
  }

  mouse(event) {
    const at = this.percentAt(event);
    const position = `mouse ${at.x.toFixed(2)} ${at.y.toFixed(2)}`;
    this.noteInput(event);
    if (event.type === 'pointermove') {
      this.line(position);
      // A host puts its pointer back in the middle after each move, and the
      // engine sees that move too: without it, two equal movements would be
      // one position, and the second would not move the look finger.
      if (document.pointerLockElement === this.surface) this.line('mouse 50.00 50.00');
      return;
    }
    const button = BUTTONS[event.button];
    if (button === 'middle' || button === undefined) return;
    event.preventDefault();
    // A click on the video while mouse-look is on takes the pointer back.
    if (this.shooting && event.type === 'pointerdown' && !document.pointerLockElement) this.lockPointer(true);
    const down = event.type === 'pointerdown';
    if (down === this.buttons.has(button)) return;
    down ? this.buttons.add(button) : this.buttons.delete(button);
    this.line(position);
    this.line(`button ${button} ${down ? 'down' : 'up'}`);
  }

  // A notch of the wheel is a tap of the keymap's wheel keys.
  wheel(event) {
    event.preventDefault();
    if (event.deltaY === 0) return;
    this.noteInput(event);
    this.line(`tap ${event.deltaY > 0 ? 'MouseWheelDown' : 'MouseWheelUp'}`);
  }

  // Every held key, button and pad lets go (the tab lost focus, the game
  // ends): a player who comes back finds nothing held.
  releaseAll() {
    if (!this.active) return;
    for (const word of this.held) this.line(`release ${word}`);
    this.held.clear();
    for (const button of this.buttons) this.line(`button ${button} up`);
    this.buttons.clear();
    this.padsModule.releasePads(this);
    if (document.pointerLockElement) document.exitPointerLock();
  }

  // In typing mode the keymap is off: characters go to the device's text
  // field as text, the other keys (Enter, Backspace, arrows) as keys.
  setTyping(on) {
    this.typing = on;
    this.line(`mapping ${on ? 'off' : 'on'}`);
  }

  lockPointer(on) {
    this.shooting = on;
    if (on && document.pointerLockElement !== this.surface) {
      const request = this.surface.requestPointerLock?.();
      request?.catch?.(() => {});
    } else if (!on && document.pointerLockElement === this.surface) {
      document.exitPointerLock();
    }
  }

  lockChanged() {
    if (!document.pointerLockElement && this.shooting) {
      this.report('Mouse-look paused: the pointer is free (Esc). Click the screen to take it back');
    }
  }
}
