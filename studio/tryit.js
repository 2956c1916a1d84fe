// Try-it mode: the page's keyboard, mouse and game pads drive the engine in
// real time. Each input becomes a line of a play script ("at 1234",
// "press W", "mouse 50 40"), played at once by the engine on its manual
// clock; every animation frame moves that clock to the page's time, and the
// fingers are drawn in the same frame. The lines played make a script that
// keyweave play replays to the same timeline.
//
// While mouse-look is on, the pointer is locked to the screen as a host
// holds it: each move is the middle of the screen moved by the mouse's
// movement, so the look finger never walks off. Esc frees the pointer; a
// click on the screen takes it back.


import { pollPads, releasePads } from './gamepad.js';
import { keyLine } from './keyboard.js';

const BUTTONS = ['left', 'middle', 'right'];
const SHOOTING_STARTED = 1;
const SHOOTING_ENDED = 0;

export class TryIt {
  constructor(engine, picture, timeline, report) {
    this.engine = engine;
    this.picture = picture;
    this.timeline = timeline;
    this.report = report;
    this.active = false;
    this.onKey = (event) => this.key(event);
    this.onMouse = (event) => this.mouse(event);
    this.onMenu = (event) => event.preventDefault();
    this.onWheel = (event) => this.wheel(event);
    this.onLock = () => this.lockChanged();
  }

  start(keymapName) {
    this.timeline.clear();
    this.timeline.add(this.engine.liveStart(keymapName));
    this.origin = performance.now();
    this.now = 0;
    this.lastAt = 0;
    this.active = true;
    this.held = new Set();
    this.pendingKey = null;
    this.pads = new Map();  // id: the last report line's values
    this.shooting = false;
    document.addEventListener('pointerlockchange', this.onLock);
    document.body.classList.add('trying');
    window.addEventListener('keydown', this.onKey, true);
    window.addEventListener('keyup', this.onKey, true);
    for (const type of ['pointermove', 'pointerdown', 'pointerup']) this.picture.container.addEventListener(type, this.onMouse);
    this.picture.container.addEventListener('contextmenu', this.onMenu);
    this.picture.container.addEventListener('wheel', this.onWheel, { passive: false });
    const frame = () => {
      if (!this.active) return;
      this.tick();
      requestAnimationFrame(frame);
    };
    requestAnimationFrame(frame);
  }

  // Ends the mode: every held key and button lets go, what is queued plays
  // to its end, and the script played is returned.
  stop() {
    if (!this.active) return '';
    for (const word of this.held) this.line(`release ${word}`);
    releasePads(this);
    this.line(`at ${this.clock()}`, true);
    this.timeline.add(this.engine.liveFinish());
    this.picture.drawFingers();
    this.active = false;
    this.lockPointer(false);
    document.removeEventListener('pointerlockchange', this.onLock);
    document.body.classList.remove('trying');
    window.removeEventListener('keydown', this.onKey, true);
    window.removeEventListener('keyup', this.onKey, true);
    for (const type of ['pointermove', 'pointerdown', 'pointerup']) this.picture.container.removeEventListener(type, this.onMouse);
    this.picture.container.removeEventListener('contextmenu', this.onMenu);
    this.picture.container.removeEventListener('wheel', this.onWheel);
    return this.engine.liveScript();
  }

  // The page's time in whole ms since the start, never going back.
  clock() {
    this.now = Math.max(this.now, Math.floor(performance.now() - this.origin));
    return this.now;
  }

  // Plays one script line now, after an "at" for the current time.
  line(text, atOnly = false) {
    const time = this.clock();
    if (time !== this.lastAt || atOnly) {
      this.engine.liveLine(`at ${time}`);
      this.lastAt = time;
    }
    if (atOnly) return;
    const error = this.engine.liveLine(text);
    if (error) this.report(error);
  }

  tick() {
    pollPads(this);
    this.engine.liveAdvance(this.clock());
    const events = this.engine.liveEvents();
    for (const { json } of events) {
      if (json.event === 'shooting' && json.code === SHOOTING_STARTED) this.lockPointer(true);
      if (json.event === 'shooting' && json.code === SHOOTING_ENDED) this.lockPointer(false);
    }
    const touched = this.timeline.add(events);
    if (touched) this.picture.drawFingers();
    if (this.pendingKey !== null) {
      // The key's effect is in this frame: from the key event to now.
      performance.measure('key-to-frame', { start: this.pendingKey, end: performance.now() });
      this.pendingKey = null;
    }
  }

  key(event) {
    // Keys typed into the page's fields (the keymap's text among them) are theirs.
    if (event.target.closest?.('textarea, input, .cm-editor')) return;
    event.preventDefault();
    const line = keyLine(this.engine, this.held, event, (message) => this.report(message));
    if (line === null) return;
    this.line(line);
    if (this.pendingKey === null) this.pendingKey = event.timeStamp;
  }

  // A notch of the wheel is a tap of the keymap's wheel keys.
  wheel(event) {
    event.preventDefault();
    if (event.deltaY !== 0) this.line(`tap ${event.deltaY > 0 ? 'MouseWheelDown' : 'MouseWheelUp'}`);
  }

  // Percent of the screen under the pointer; while it is locked, the middle
  // of the screen moved by the event's movement.
  pointAt(event) {
    if (document.pointerLockElement === this.picture.container) {
      const box = this.picture.guest.getBoundingClientRect();
      return this.picture.clamp({ x: 50 + (event.movementX / box.width) * 100, y: 50 + (event.movementY / box.height) * 100 });
    }
    return this.picture.clamp(this.picture.percentAt(event));
  }

  lockPointer(on) {
    this.shooting = on;
    const surface = this.picture.container;
    if (on && document.pointerLockElement !== surface) {
      surface.requestPointerLock?.()?.catch?.(() => this.report('Cannot lock the pointer for mouse-look: click the screen'));
    } else if (!on && document.pointerLockElement === surface) {
      document.exitPointerLock();
    }
  }

  lockChanged() {
    if (this.active && this.shooting && !document.pointerLockElement) {
      this.report('Mouse-look paused: the pointer is free (Esc). Click the screen to take it back');
    }
  }

  mouse(event) {
    const at = this.pointAt(event);
    if (event.type === 'pointermove') {
      this.line(`mouse ${at.x.toFixed(2)} ${at.y.toFixed(2)}`);
      // The host puts the pointer back in the middle after each move.
      if (document.pointerLockElement === this.picture.container) this.line('mouse 50.00 50.00');
      return;
    }
    const button = BUTTONS[event.button];
    if (button === 'middle' || button === undefined) return;
    event.preventDefault();
    // A click on the screen while mouse-look is on takes the pointer back.
    if (this.shooting && event.type === 'pointerdown' && !document.pointerLockElement) this.lockPointer(true);
    this.line(`mouse ${at.x.toFixed(2)} ${at.y.toFixed(2)}`);
    this.line(`button ${button} ${event.type === 'pointerdown' ? 'down' : 'up'}`);
  }
}
