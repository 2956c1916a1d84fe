// Placing a new binding on the picture: a click on the screen in "Add
// binding" mode (or a double click at any time) opens a small panel there
// that asks for the kind of action and for its key, pressed on the keyboard.
// The rule is then written into the [keys] section of the text, at the
// point clicked, in percent of the screen.

import { keymapNumber } from './rules.js';

const DIRECTIONS = ['Up', 'Left', 'Down', 'Right'];
const SHOOTING = '# ENABLE_SHOOTING_MODE';
const ONE_KEY = ['Press the key for it'];

// The kinds offered: a name, one line on what it does, the keys it asks for
// and its rules at the point `at` ("x,y").
const KINDS = [
  { id: 'tap', name: 'Tap', help: 'a finger touches here while the key is held', keys: ONE_KEY,
    rules: ([key], at) => [`${key} = Tap (${at})`] },
  { id: 'pad', name: 'Direction pad', keys: DIRECTIONS.map((d) => `Press the key for ${d}`),
    help: 'four keys walk: a finger holds a joystick centred here and pushes it toward the keys held',
    rules: (keys, at) => keys.map((key, i) => `${key} = SwipeHold ${DIRECTIONS[i]} (${at},7)`),
    drop: (line) => /=\s*SwipeHold\b/.test(line) },  // one pad a keymap: the old one goes
  { id: 'swipe', name: 'Swipe', help: 'a quick swipe from here, a fifth of the screen in the direction chosen',
    keys: ONE_KEY, direction: true, rules: ([key], at, direction) => [`${key} = Swipe ${direction} (${at})`] },
  { id: 'taptap', name: 'Press and release', help: 'a short tap here when the key goes down, another when it comes up',
    keys: ONE_KEY, rules: ([key], at) => [`${key} = TapTap (${at},${at})`] },
  { id: 'look', name: 'Mouse-look', keys: [], directive: SHOOTING,
    help: 'the right mouse button turns it on and off; the look finger rests here and the mouse drags it',
    rules: (_, at) => [`MouseMove = Tap (${at})`] },
  { id: 'fire', name: 'Fire button', help: 'in mouse-look, the left mouse button presses here', keys: [],
    directive: SHOOTING, rules: (_, at) => [`LeftClick = Tap (${at})`] },
];

export class Placer {
  // `keyName(code)` is the keymap's name of a KeyboardEvent.code ('' if
  // none); `place(rules, options)` writes the rules into the text.
  constructor(panel, keyName, place, report) {
    this.panel = panel;
    this.keyName = keyName;
    this.place = place;
    this.report = report;
    this.at = null;
    const $ = (selector) => panel.querySelector(selector);
    this.prompt = $('.place-prompt');
    this.direction = $('select');
    const list = $('.place-kinds');
    for (const kind of KINDS) {
      const label = document.createElement('label');
      label.innerHTML = `<input type="radio" name="place-kind" value="${kind.id}"> <b>${kind.name}</b>: ${kind.help}`;
      list.appendChild(label);
    }
    list.querySelector('input').checked = true;
    list.addEventListener('change', () => this.restart());
    this.direction.addEventListener('change', () => this.direction.blur());  // keys go to the panel again
    $('.place-ok').addEventListener('click', () => this.finish());
    $('.place-cancel').addEventListener('click', () => this.close());
    this.onKey = (event) => this.key(event);
  }

  get open() { return this.at !== null; }

  kind() {
    const id = this.panel.querySelector('input[name=place-kind]:checked').value;
    return KINDS.find((kind) => kind.id === id);
  }

  // Opens the panel for the point `at` (percent), shown at the page's (left, top).
  start(at, left, top) {
    const tenth = (value) => keymapNumber(Math.round(value * 10) / 10);  // a tenth of a percent is fine enough
    this.at = { x: tenth(at.x), y: tenth(at.y) };
    this.panel.querySelector('.place-title').textContent = `New binding at (${this.at.x}, ${this.at.y})`;
    this.panel.style.left = `${left}px`;
    this.panel.style.top = `${top}px`;
    this.panel.hidden = false;
    window.addEventListener('keydown', this.onKey, true);
    this.restart();
  }

  restart() {
    this.keys = [];
    const kind = this.kind();
    this.direction.parentElement.hidden = !kind.direction;
    this.panel.querySelector('.place-ok').hidden = kind.keys.length > 0;
    this.prompt.textContent = kind.keys.length ? kind.keys[0] : 'Click Place (or press Enter)';
    document.activeElement?.blur();
  }

  close() {
    this.at = null;
    this.panel.hidden = true;
    window.removeEventListener('keydown', this.onKey, true);
  }

  key(event) {
    if (event.target === this.direction) return;  // choosing the swipe's direction
    event.preventDefault();
    event.stopPropagation();
    if (event.repeat) return;
    const kind = this.kind();
    if (event.code === 'Escape') return this.close();
    if (kind.keys.length === 0) {
      if (event.code === 'Enter') this.finish();
      return;
    }
    const name = this.keyName(event.code);
    if (!name || name.startsWith('0x')) {
      this.report(`Cannot bind ${event.code}: keymaps have no name for that key; press another one`);
      return;
    }
    if (this.keys.includes(name)) {
      this.report(`Cannot use ${name} twice in one direction pad; press another key`);
      return;
    }
    this.keys.push(name);
    if (this.keys.length < kind.keys.length) this.prompt.textContent = kind.keys[this.keys.length];
    else this.finish();
  }

  finish() {
    const kind = this.kind();
    if (this.keys.length < kind.keys.length) return;
    const rules = kind.rules(this.keys, `${this.at.x},${this.at.y}`, this.direction.value);
    this.close();
    this.place(rules, { drop: kind.drop, directive: kind.directive });
  }
}
