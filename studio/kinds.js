// The kinds of binding the Studio's panel places and edits: for each, the
// rule it writes from the panel's values and how those values are read back
// from a rule.

import { keymapNumber } from './rules.js';

export const DIRECTIONS = ['Up', 'Left', 'Down', 'Right'];
const SHOOTING = '# ENABLE_SHOOTING_MODE';
export const MOUSE_KEYS = ['LeftClick', 'RightClick', 'MouseWheelUp', 'MouseWheelDown', 'ShootSensitivity', 'MouseMove'];
export const PAD_BUTTONS = ['A', 'B', 'X', 'Y', 'LeftButton', 'RightButton', 'LeftTrigger', 'RightTrigger', 'LeftClick',
  'RightClick', 'Select', 'Start', 'Hat_Up', 'Hat_Down', 'Hat_Left', 'Hat_Right'];

export const tenth = (value) => keymapNumber(Math.round(value * 10) / 10);  // a tenth of a percent is fine enough
export const whole = (value) => String(Math.round(Number(value)));
const pt = (x, y) => `${tenth(x)},${tenth(y)}`;
export const keep = (value) => Math.min(100, Math.max(0, value));

// The kinds of binding. `keys`: what names the binding ('key': a key or two
// pressed together, 'pad': four keys, 'button': a game-pad button, 'stick':
// a stick, or a fixed name); `shape`: what a click and drag on the picture
// set ('point', 'two': a second point, 'path', 'radius', 'none'); `fields`:
// the values shown; `action(v)`: the action text; `read(args, v)` fills the
// values from a rule's arguments.
export const KINDS = [
  { id: 'tap', name: 'Tap', help: 'a finger touches here while the key is held', keys: 'key', shape: 'point',
    action: (v) => `Tap (${pt(v.x, v.y)})` },
  { id: 'taptap', name: 'Press and release', help: 'a short tap on the first point when the key goes down, on the second when it comes up (drag to set it)',
    keys: 'key', shape: 'two', fields: ['x2', 'y2'], action: (v) => `TapTap (${pt(v.x, v.y)},${pt(v.x2, v.y2)})`,
    read: (a, v) => Object.assign(v, { x2: a[2] ?? v.x, y2: a[3] ?? v.y }) },
  { id: 'macros', name: 'Multi-tap', help: 'several taps on one press, a pause after each, the whole list repeated',
    keys: 'key', shape: 'point', fields: ['taps', 'pause', 'repeat'],
    action: (v) => {
      const taps = Math.max(1, Number(v.taps) || 1);
      const points = Array.from({ length: taps }, (_, i) => (v.points?.length === taps && i > 0 ? v.points[i] : [v.x, v.y]));
      return `TapMacros (${points.map(([x, y]) => `${pt(x, y)},${whole(v.pause)}`).join(',')},${whole(v.repeat)})`;
    },
    read: (a, v) => {
      const points = [];
      for (let i = 0; i + 3 < a.length; i += 3) points.push([a[i], a[i + 1]]);
      return Object.assign(v, { points, taps: points.length, pause: a[2] ?? 100, repeat: a.at(-1) ?? 1 });
    } },
  { id: 'swipe', name: 'Swipe', help: 'a quick swipe from here, a fifth of the screen in the direction (drag to choose it)',
    keys: 'key', shape: 'point', fields: ['direction'], word: true, action: (v) => `Swipe ${v.direction} (${pt(v.x, v.y)})` },
  { id: 'swipexy', name: 'Swipe between two points', help: 'a quick swipe from here to where the drag ends', keys: 'key',
    shape: 'two', fields: ['x2', 'y2'], action: (v) => `SwipeXY (${pt(v.x, v.y)},${pt(v.x2, v.y2)})`,
    read: (a, v) => Object.assign(v, { x2: a[2], y2: a[3] }) },
  { id: 'trace', name: 'Swipe path', help: 'a swipe along the path dragged on the picture', keys: 'key', shape: 'path',
    action: (v) => {  // the path follows its first point when that is moved
      const [dx, dy] = [v.x - v.path[0][0], v.y - v.path[0][1]];
      return `SwipeTrace (${v.path.map(([x, y]) => pt(keep(x + dx), keep(y + dy))).join(',')})`;
    },
    read: (a, v) => Object.assign(v, { path: pairs(a) }) },
  { id: 'pad', name: 'Direction pad', help: 'four keys walk: a finger holds a joystick centred here and pushes it toward the keys held (drag for its reach); the keymap\'s old pad goes',
    keys: 'pad', shape: 'radius', fields: ['r', 'glide'],
    action: (v, direction) => `SwipeHold ${direction} (${pt(v.x, v.y)},${tenth(v.r)}${v.glide === '' ? '' : `,${whole(v.glide)}`})`,
    read: (a, v) => Object.assign(v, { r: a[2] ?? 6, glide: a[3] ?? '' }) },
  { id: 'key', name: 'Another key', help: 'the game receives another key instead', keys: 'key', shape: 'none', fields: ['target'],
    action: (v) => `Key ${v.target}` },
  { id: 'tilt', name: 'Tilt', help: 'tilts the device, in degrees', keys: 'key', shape: 'none', fields: ['mode', 'pitch', 'roll', 'back'],
    action: (v) => `Tilt ${v.mode} (${whole(v.pitch)},${whole(v.roll)})${v.mode === 'Absolute' && v.back ? ' Return' : ''}` },
  { id: 'mouseswipe', name: 'Mouse joystick', help: 'a finger on this circle follows the mouse while the key is held (drag for the radius)',
    keys: 'key', shape: 'radius', fields: ['r'], action: (v) => `MouseSwipe (${pt(v.x, v.y)},${whole(v.r)})`,
    read: (a, v) => Object.assign(v, { r: a[2] ?? 10 }) },
  { id: 'mousehold', name: 'Mouse area', help: 'in this rectangle a finger follows the mouse while the left button is held (drag its corners)',
    keys: 'key', shape: 'two', fields: ['x2', 'y2'],
    action: (v) => `MouseHold (${pt(Math.min(v.x, v.x2), Math.min(v.y, v.y2))},${pt(Math.max(v.x, v.x2), Math.max(v.y, v.y2))})`,
    read: (a, v) => Object.assign(v, { x2: a[2], y2: a[3] }) },
  { id: 'touchmove', name: 'Free look', help: 'while the key is held a finger rests here and moves with the mouse', keys: 'key', shape: 'point',
    action: (v) => `TouchMove (${pt(v.x, v.y)})` },
  { id: 'tapswipe', name: 'Skill cast', help: 'a skill button aimed with the mouse within the circle (drag for its radius); releasing casts',
    keys: 'key', shape: 'radius', fields: ['r', 'always'],
    action: (v) => `TapSwipe (${pt(v.x, v.y)},${tenth(v.r)}${v.always ? ',1' : ''})`,
    read: (a, v) => Object.assign(v, { r: a[2] ?? 10, always: a[3] === 1 }) },
  { id: 'tapswipeclick', name: 'Skill cast with the left button', help: 'a skill aimed while the left button is held; releasing it casts',
    keys: 'key', shape: 'radius', fields: ['r'], action: (v) => `TapSwipeClick (${pt(v.x, v.y)},${tenth(v.r)})`,
    read: (a, v) => Object.assign(v, { r: a[2] ?? 10 }) },
  { id: 'tapcancel', name: 'Cancel a skill', help: 'the skill being aimed glides here and is dropped', keys: 'key', shape: 'point',
    action: (v) => `TapCancel (${pt(v.x, v.y)})` },
  { id: 'shootmode', name: 'Mouse-look with fire', help: 'the key switches mouse-look on and off: the look finger rests here, the left button fires at the end of the drag',
    keys: 'key', shape: 'two', fields: ['x2', 'y2', 'sens'], directive: SHOOTING,
    action: (v) => `ShootMode (${pt(v.x, v.y)},${pt(v.x2, v.y2)},${whole(v.sens)})`,
    read: (a, v) => Object.assign(v, { x2: a[2], y2: a[3], sens: a[4] ?? 35 }) },
  { id: 'shootmove', name: 'Mouse-look', help: 'the key switches a one-finger mouse-look on and off, resting here', keys: 'key', shape: 'point',
    fields: ['sens'], action: (v) => `ShootMove (${pt(v.x, v.y)},${whole(v.sens)})`, read: (a, v) => Object.assign(v, { sens: a[2] ?? 50 }) },
  { id: 'suspend', name: 'Pause mouse-look', help: 'mouse-look pauses while the key is held', keys: 'key', shape: 'none',
    directive: SHOOTING, action: () => 'SuspendShoot' },
  { id: 'look', name: 'Mouse-look (right button)', help: 'the right mouse button turns it on and off; the look finger rests here and the mouse drags it',
    keys: 'MouseMove', shape: 'point', directive: SHOOTING, action: (v) => `Tap (${pt(v.x, v.y)})` },
  { id: 'fire', name: 'Fire button', help: 'in mouse-look, the left mouse button presses here', keys: 'LeftClick', shape: 'point',
    directive: SHOOTING, action: (v) => `Tap (${pt(v.x, v.y)})` },
  { id: 'tapstick', name: 'Game pad: aimed button', help: 'a game-pad button taps here and the right stick moves the finger within the circle',
    keys: 'button', section: 'gamepad2', shape: 'radius', fields: ['r', 'speed'],
    action: (v) => `TapStick (${pt(v.x, v.y)},${whole(v.r)},${whole(v.speed)})`,
    read: (a, v) => Object.assign(v, { r: a[2], speed: a[3] }) },
  { id: 'stickpad', name: 'Game pad: stick joystick', help: 'the stick holds a joystick centred here (drag for its reach)',
    keys: 'stick', section: 'gamepad2', shape: 'radius', fields: ['r', 'speed'],
    action: (v) => `SwipeHold (${pt(v.x, v.y)},${whole(v.r)},${whole(v.speed)})`,
    read: (a, v) => Object.assign(v, { r: a[2], speed: a[3] }) },
  { id: 'stickmove', name: 'Game pad: stick look', help: 'the stick moves a finger from here to look around', keys: 'stick',
    section: 'gamepad2', shape: 'point', fields: ['speed'], action: (v) => `TouchMove (${pt(v.x, v.y)},${whole(v.speed)})`,
    read: (a, v) => Object.assign(v, { speed: a[2] }) },
  { id: 'padkey', name: 'Game pad: button presses a key', help: 'a game-pad button presses a keyboard key, which plays that key\'s binding',
    keys: 'button', section: 'gamepad', shape: 'none', fields: ['target'], action: (v) => v.target },
];

// The values a new binding starts with.
export const DEFAULTS = { r: 7, glide: '', taps: 2, pause: 100, repeat: 1, direction: 'Up', sens: 35, speed: 20, mode: 'Absolute',
  pitch: 0, roll: 30, back: true, always: false, target: '' };

function pairs(values) {
  const out = [];
  for (let i = 0; i + 1 < values.length; i += 2) out.push([values[i], values[i + 1]]);
  return out;
}

// Which kind a rule's action is, and its values, or null.
export function readAction(section, keys, action) {
  const word = action.match(/^(\w+)\s*(\w*)/);
  if (!word) return null;
  const args = (action.match(/\(([^)]*)\)/)?.[1] ?? '').split(',').filter((s) => s.trim() !== '').map(Number);
  const v = { ...DEFAULTS, x: args[0] ?? 50, y: args[1] ?? 50, keys };
  let id;
  if (section === 'gamepad') {
    id = 'padkey';
    v.target = action.trim();
  } else if (section === 'gamepad2') {
    id = { TapStick: 'tapstick', SwipeHold: 'stickpad', TouchMove: 'stickmove' }[word[1]];
  } else if (word[1] === 'Tap' && (keys === 'MouseMove' || keys === 'LeftClick')) {
    id = keys === 'MouseMove' ? 'look' : 'fire';
  } else {
    id = { Tap: 'tap', TapTap: 'taptap', TapMacros: 'macros', Swipe: 'swipe', SwipeXY: 'swipexy', SwipeTrace: 'trace',
      SwipeHold: 'pad', Key: 'key', Tilt: 'tilt', MouseSwipe: 'mouseswipe', MouseHold: 'mousehold', TouchMove: 'touchmove',
      TapSwipe: 'tapswipe', TapSwipeClick: 'tapswipeclick', TapCancel: 'tapcancel', ShootMode: 'shootmode',
      ShootMove: 'shootmove', SuspendShoot: 'suspend' }[word[1]];
  }
  const kind = KINDS.find((k) => k.id === id);
  if (!kind) return null;
  if (id === 'swipe' || id === 'pad') v.direction = word[2] || 'Up';
  if (id === 'key') v.target = word[2];
  if (id === 'tilt') Object.assign(v, { mode: word[2] || 'Absolute', pitch: args[0] ?? 0, roll: args[1] ?? 0, back: /\bReturn\b/.test(action) });
  kind.read?.(args, v);
  return { kind, v };
}
