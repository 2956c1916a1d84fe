// The binding panel: places a new binding where the author clicked (and
// dragged) on the picture, or edits the one selected. The author picks the
// kind of action, presses its key or key combination and sets its values in
// fields; the panel writes the rule into the text, and an edited rule back
// in its own line, keeping the line's place, its end comment and its note.
// A key that something else already uses is named before anything is
// written, and replacing it is the author's choice.

import { DEFAULTS, DIRECTIONS, KINDS, MOUSE_KEYS, PAD_BUTTONS, keep, readAction, tenth, whole } from './kinds.js';
import { addRules, boundLines, deleteLines, noteOf, parseRule, replaceRules, sectionAt } from './rules.js';

export class Placer {
  // `keyName(code)` is the keymap's name of a KeyboardEvent.code ('' if
  // none); `text()` the keymap's text and `write(text, message)` the way to
  // change it; `report(message)` says something on the page; `locate(x, y)`
  // is where a point of the screen (percent) is in the window, and
  // `mark(points)` shows the binding's points on the picture.
  constructor(panel, { keyName, text, write, report, locate, mark }) {
    Object.assign(this, { panel, keyName, text, write, report, locate, mark });
    this.isOpen = false;
    this.listening = null;
    const $ = (selector) => panel.querySelector(selector);
    this.$ = $;
    this.kindList = $('#place-kind');
    for (const kind of KINDS) this.kindList.add(new Option(kind.name, kind.id));
    this.kindList.addEventListener('change', () => {
      const named = (kind) => (['button', 'stick'].includes(kind.keys) ? kind.keys : 'key');
      const before = named(this.kind());
      this.v.kind = this.kindList.value;
      // A keyboard key is no game-pad button; each stick kind has its own stick.
      if (named(this.kind()) !== before || before === 'stick') this.v.keys = '';
      this.fromGesture();
      this.show();
    });
    for (const button of panel.querySelectorAll('.key-capture, .place-target')) {
      button.addEventListener('click', () => this.listen(button));
      button.addEventListener('blur', () => { if (this.listening === button) this.listen(null); });
    }
    $('#place-mouse-key').append(new Option('(a keyboard key)', ''), ...MOUSE_KEYS.map((k) => new Option(k, k)));
    $('#place-button').append(...PAD_BUTTONS.map((k) => new Option(k, k)));
    for (const input of panel.querySelectorAll('[data-field]')) {
      input.addEventListener('input', () => this.readField(input));
      input.addEventListener('change', () => this.readField(input));
    }
    $('#place-mouse-key').addEventListener('change', (event) => { if (event.target.value) this.setKeys(event.target.value); });
    $('#place-button').addEventListener('change', (event) => this.setKeys(event.target.value));
    $('#place-stick').addEventListener('change', (event) => this.setKeys(event.target.value));
    $('#place-replace').addEventListener('change', () => this.show());
    $('.place-ok').addEventListener('click', () => this.finish());
    $('.place-cancel').addEventListener('click', () => this.close());
    $('.place-duplicate').addEventListener('click', () => this.duplicate());
    $('.place-delete').addEventListener('click', () => this.remove());
    panel.addEventListener('submit', (event) => { event.preventDefault(); this.finish(); });
    panel.addEventListener('keydown', (event) => this.key(event));
    panel.addEventListener('keyup', (event) => this.keyUp(event));
    this.reposition = () => this.position();
  }

  get open() { return this.isOpen; }
  kind() { return KINDS.find((kind) => kind.id === this.v.kind); }

  // A new binding at the point `gesture.start` (percent), the drag's end and
  // path with it.
  start(gesture) {
    this.editing = null;
    this.v = { ...DEFAULTS, kind: this.v?.kind ?? 'tap', keys: '', padKeys: [] };
    this.gesture = gesture;
    this.fromGesture();
    this.openAt(`New binding at (${tenth(this.v.x)}, ${tenth(this.v.y)})`);
  }

  // Edits the rule at line `index` (all four lines of a direction pad),
  // action number `segment` of it; false when the line holds no binding the
  // panel knows.
  edit(index, segment = 0) {
    const lines = this.text().split('\n');
    const rule = parseRule(lines[index] ?? '');
    const section = sectionAt(lines, index);
    const found = rule && readAction(section, rule.keys, rule.actions[segment] ?? rule.actions[0]);
    if (!found) return false;
    let indices = [index];
    const v = { ...found.v, kind: found.kind.id, padKeys: [] };
    if (found.kind.id === 'pad') {  // the pad's other keys: the SwipeHold rules around the same centre
      indices = [];
      lines.forEach((line, i) => {
        const other = sectionAt(lines, i) === section ? parseRule(line) : null;
        const read = other ? readAction(section, other.keys, other.actions[0]) : null;
        if (read?.kind.id !== 'pad' || Math.abs(read.v.x - v.x) > 0.006 || Math.abs(read.v.y - v.y) > 0.006) return;
        indices.push(i);
        v.padKeys[DIRECTIONS.indexOf(read.v.direction)] = other.keys;
      });
    }
    v.note = noteOf(lines[Math.min(...indices)]);
    this.v = v;
    this.editing = { indices, segment, section };
    this.gesture = null;
    this.openAt(`Binding of ${found.kind.keys === 'pad' ? v.padKeys.filter(Boolean).join(', ') : v.keys} (line ${index + 1})`);
    return true;
  }

  openAt(title) {
    this.isOpen = true;
    this.$('.place-title').textContent = title;
    this.$('#place-replace').checked = false;
    this.kindList.value = this.v.kind;
    this.panel.hidden = false;
    this.show();
    window.addEventListener('resize', this.reposition);
    window.addEventListener('scroll', this.reposition, true);
    this.focusFirst();
  }

  close() {
    this.isOpen = false;
    this.mark([]);
    this.listen(null);
    this.panel.hidden = true;
    window.removeEventListener('resize', this.reposition);
    window.removeEventListener('scroll', this.reposition, true);
  }

  // A click or drag on the picture while the panel is open sets the
  // binding's points again.
  regesture(gesture) {
    this.gesture = gesture;
    this.fromGesture();
    this.show();
  }

  // The binding's points from the click and drag, as the kind reads them.
  fromGesture() {
    const g = this.gesture;
    if (!g) return;
    const v = this.v;
    const { start, end, path, screen } = g;
    const dx = end.x - start.x, dy = end.y - start.y;
    const moved = Math.hypot(dx, dy) >= 1;
    Object.assign(v, { x: start.x, y: start.y });
    const kind = this.kind();
    if (kind.shape === 'two') {
      const fallback = { taptap: [0, 0], mousehold: [15, 15], shootmode: [20, 25] }[kind.id] ?? [10, 0];
      v.x2 = moved ? end.x : keep(start.x + fallback[0]);
      v.y2 = moved ? end.y : keep(start.y + fallback[1]);
    }
    if (kind.shape === 'radius' && moved) v.r = Math.min(50, Math.hypot(dx, (dy * screen.height) / screen.width));
    if (kind.id === 'swipe' && moved) v.direction = Math.abs(dx) * screen.width > Math.abs(dy) * screen.height ?
      (dx > 0 ? 'Right' : 'Left') : (dy > 0 ? 'Down' : 'Up');
    if (kind.shape === 'path') {
      const step = Math.max(1, Math.ceil(path.length / 8));
      const kept = path.filter((_, i) => i % step === 0);
      if (moved && (kept.at(-1).x !== end.x || kept.at(-1).y !== end.y)) kept.push(end);
      v.path = moved ? kept.map((p) => [p.x, p.y]) : [[start.x, start.y], [keep(start.x + 10), start.y]];
    }
    if (this.open && !this.editing) this.$('.place-title').textContent = `New binding at (${tenth(v.x)}, ${tenth(v.y)})`;
  }

  // ---- the form ----

  show() {
    const kind = this.kind();
    const v = this.v;
    const $ = this.$;
    $('.place-help').textContent = kind.help;
    const fields = new Set(kind.fields ?? []);
    if (kind.shape !== 'none') fields.add('x').add('y');
    for (const row of this.panel.querySelectorAll('[data-row]')) row.hidden = !fields.has(row.dataset.row);
    for (const input of this.panel.querySelectorAll('[data-field]')) {
      const value = v[input.dataset.field];
      if (input.type === 'checkbox') input.checked = Boolean(value);
      else if (typeof value === 'number') input.value = input.dataset.field === 'r' || input.dataset.field.startsWith('x') ||
        input.dataset.field.startsWith('y') ? tenth(value) : whole(value);
      else input.value = value ?? '';
    }
    $('[data-row="back"]').hidden ||= v.mode !== 'Absolute';
    const labels = { taptap: ['Release x', 'Release y'], mousehold: ['Corner x', 'Corner y'], shootmode: ['Fire x', 'Fire y'] }[kind.id] ?? ['End x', 'End y'];
    $('[data-row="x2"] span').textContent = labels[0];
    $('[data-row="y2"] span').textContent = labels[1];
    $('.place-path').hidden = kind.shape !== 'path';
    $('.place-path').textContent = kind.shape === 'path' ? `A path of ${v.path?.length ?? 0} points: drag on the picture to draw another` : '';
    // The keys.
    const single = kind.keys === 'key', pad = kind.keys === 'pad';
    $('.place-keys').hidden = !single && !pad;
    const captures = this.panel.querySelectorAll('.key-capture');
    captures.forEach((button, i) => {
      const shown = pad || (single && i === 0);
      button.parentElement.hidden = !shown;
      const name = pad ? DIRECTIONS[i] : '';
      const value = pad ? v.padKeys[i] : v.keys;
      button.textContent = button === this.listening ? 'press a key…' : value || 'click, then press';
      button.setAttribute('aria-label', `${pad ? `Key for ${name}` : 'Key'}: ${value || 'none yet'}; focus and press a key or two together`);
      button.previousElementSibling.textContent = pad ? `Key for ${name}` : 'Key';
    });
    $('[data-row="mouse"]').hidden = !single;
    $('#place-mouse-key').value = MOUSE_KEYS.includes(v.keys) ? v.keys : '';
    $('[data-row="button"]').hidden = kind.keys !== 'button';
    $('[data-row="stick"]').hidden = kind.keys !== 'stick';
    if (kind.keys === 'button' && !PAD_BUTTONS.includes(v.keys)) v.keys = 'A';
    if (kind.keys === 'stick' && !/Stick$/.test(v.keys)) v.keys = kind.id === 'stickmove' ? 'RightStick' : 'LeftStick';
    $('#place-button').value = v.keys;
    $('#place-stick').value = v.keys;
    $('.place-target').textContent = this.listening === $('.place-target') ? 'press a key…' : v.target || 'click, then press';
    $('.place-target').setAttribute('aria-label', `Key the game receives: ${v.target || 'none yet'}`);
    $('#place-note').value = v.note ?? '';
    $('.place-duplicate').hidden = $('.place-delete').hidden = !this.editing;
    $('.place-ok').textContent = this.editing ? 'Apply' : 'Place';
    this.showConflicts();
    if (this.open) {
      this.position();
      this.mark(this.points());
    }
  }

  // The binding's points on the picture, as the kind reads them.
  points() {
    const kind = this.kind();
    const v = this.v;
    const number = (value) => Number(value) || 0;
    if (kind.shape === 'none') return [];
    if (kind.shape === 'path' && v.path) {
      const [dx, dy] = [v.x - v.path[0][0], v.y - v.path[0][1]];
      return v.path.map(([x, y]) => [x + dx, y + dy]);
    }
    if (kind.shape === 'two') return [[number(v.x), number(v.y)], [number(v.x2), number(v.y2)]];
    if (kind.shape === 'radius') return [[number(v.x), number(v.y)], [number(v.x) + number(v.r), number(v.y)]];
    return [[number(v.x), number(v.y)]];
  }

  readField(input) {
    const name = input.dataset.field;
    if (input.type === 'checkbox') this.v[name] = input.checked;
    else if (input.type === 'number') this.v[name] = input.value === '' ? '' : Number(input.value);
    else this.v[name] = input.value;
    if (name === 'mode') return this.show();
    this.mark(this.points());  // the form stays as typed
    this.position();
  }

  // The keys the binding would use, each with the section they go in.
  keysWanted() {
    const kind = this.kind();
    if (kind.keys === 'pad') return this.v.padKeys.filter(Boolean);
    if (kind.keys === 'key' || kind.keys === 'button' || kind.keys === 'stick') return this.v.keys ? [this.v.keys] : [];
    return [kind.keys];
  }

  // Rule lines that already use the binding's keys, other than its own.
  conflicts() {
    const kind = this.kind();
    const text = this.text();
    const section = kind.section ?? 'keys';
    const own = this.editing?.indices ?? [];
    const lines = text.split('\n');
    const found = new Map();
    for (const keys of this.keysWanted()) {
      for (const index of boundLines(text, section, keys, own)) found.set(index, lines[index].trim());
    }
    if (kind.id === 'pad') {  // one pad a keymap: the old one goes
      lines.forEach((line, index) => {
        if (!own.includes(index) && sectionAt(lines, index) === section && /=\s*SwipeHold\b/.test(line)) found.set(index, line.trim());
      });
    }
    return found;
  }

  showConflicts() {
    const box = this.$('.place-conflict');
    const found = this.conflicts();
    box.hidden = found.size === 0;
    if (!box.hidden) {
      const list = [...found.values()];
      const pad = list.some((line) => /SwipeHold/.test(line)) && this.kind().id !== 'pad' && !this.kind().section;
      this.$('.place-conflict-text').textContent = `Already bound: ${list.join('; ')}.` +
        (pad ? ' That key is part of the direction pad: replacing it leaves the pad without that direction.' : '') +
        ' Press another key, or tick the box to replace it.';
    }
    this.$('.place-ok').disabled = !this.complete() || (found.size > 0 && !this.$('#place-replace').checked);
  }

  complete() {
    const kind = this.kind();
    if (kind.keys === 'pad') return this.v.padKeys.filter(Boolean).length === 4;
    if (kind.keys === 'key' && !this.v.keys) return false;
    if (kind.fields?.includes('target') && !this.v.target) return false;
    return true;
  }

  focusFirst() {
    const kind = this.kind();
    let target = this.$('.place-ok');
    if (kind.keys === 'key' && !this.v.keys) target = this.$('.key-capture');
    if (kind.keys === 'pad') target = this.panel.querySelectorAll('.key-capture')[Math.min(3, this.v.padKeys.filter(Boolean).length)];
    if (kind.fields?.includes('target') && !this.v.target && kind.keys !== 'key') target = this.$('.place-target');
    if (target.disabled || target.closest('[hidden]')) target = this.kindList;
    if (target.matches('.key-capture, .place-target')) this.listen(target);
    else target.focus();
  }

  // A key-capture button waiting for its key (null: none waits). Only the
  // button waiting takes keys: Tab and Enter work as anywhere else on the
  // others.
  listen(button) {
    const before = this.listening;
    this.listening = button;
    this.held = null;
    for (const other of this.panel.querySelectorAll('.key-capture, .place-target')) {
      other.setAttribute('aria-pressed', String(other === button));
    }
    if (button) button.focus();
    if (before !== button && this.isOpen) this.show();
  }

  // ---- keys pressed in the panel ----

  key(event) {
    if (event.code === 'Escape') {
      event.preventDefault();
      return this.close();
    }
    const capture = this.listening && event.target === this.listening ? this.listening : null;
    if (!capture && event.code === 'Delete' && this.editing && !/^(INPUT|SELECT)$/.test(event.target.tagName)) {
      event.preventDefault();
      return this.remove();
    }
    if (!capture) {
      if (event.code === 'Enter' && event.target.tagName === 'INPUT' && event.target.type !== 'checkbox') {
        event.preventDefault();
        this.finish();
      }
      return;
    }
    event.preventDefault();
    event.stopPropagation();
    if (event.repeat) return;
    const name = this.keyName(event.code);
    if (!name || name.startsWith('0x')) {
      this.report(`Cannot bind ${event.code}: keymaps have no name for that key; press another one`);
      return;
    }
    this.report('');
    if (capture.classList.contains('place-target')) {
      this.v.target = name;
      this.listen(null);
      return this.advance(0);
    }
    const index = [...this.panel.querySelectorAll('.key-capture')].indexOf(capture);
    if (this.kind().keys === 'pad') {
      if (this.v.padKeys.some((key, i) => key === name && i !== index)) {
        this.report(`Cannot use ${name} twice in one direction pad; press another key`);
        return;
      }
      this.v.padKeys[index] = name;
      this.listen(null);
      return this.advance(index);
    }
    // A key held while another goes down makes a combination; a key let go
    // alone is the binding's key.
    if (this.held && this.held !== name) {
      this.v.keys = `${this.held},${name}`;
      this.listen(null);
      return this.advance(0);
    }
    this.held = name;
    this.v.keys = name;
    this.show();
  }

  keyUp(event) {
    if (!this.held || this.keyName(event.code) !== this.held) return;
    this.listen(null);
    this.advance(0);
  }

  // After a key: the next key to press, or Place when none is left (and
  // straight to the text when nothing else is asked).
  advance(index) {
    const captures = this.panel.querySelectorAll('.key-capture');
    this.show();
    if (this.kind().keys === 'pad' && index < 3) return this.listen(captures[index + 1]);
    const kind = this.kind();
    if (kind.fields?.includes('target') && !this.v.target) return this.listen(this.$('.place-target'));
    if (!this.editing && this.conflicts().size === 0 && this.complete()) return this.finish();
    this.$(this.conflicts().size ? '#place-replace' : '.place-ok').focus();
  }

  setKeys(name) {
    this.v.keys = name;
    this.show();
  }

  // ---- writing ----

  rules() {
    const kind = this.kind();
    const v = this.v;
    if (kind.keys === 'pad') return DIRECTIONS.map((d, i) => `${v.padKeys[i]} = ${kind.action(v, d)}`);
    const keys = ['key', 'button', 'stick'].includes(kind.keys) ? v.keys : kind.keys;
    return [`${keys} = ${kind.action(v)}`];
  }

  finish() {
    if (!this.complete()) return;
    const kind = this.kind();
    const found = this.conflicts();
    if (found.size > 0 && !this.$('#place-replace').checked) return this.showConflicts();
    const rules = this.rules();
    const section = kind.section ?? 'keys';
    let text = this.text();
    const editing = this.editing;
    // What the author agreed to replace goes first, from the bottom up; the
    // edited rule's lines move up with each line taken out above them.
    let own = editing ? editing.indices.slice() : [];
    for (const index of [...found.keys()].sort((a, b) => b - a)) {
      const count = text.split('\n').length;
      text = deleteLines(text, [index]);
      const removed = count - text.split('\n').length;
      own = own.map((i) => (i > index ? i - removed : i));
    }
    const directive = kind.directive && !text.split('\n').some((line) => line.trim() === kind.directive) ? kind.directive : '';
    if (editing && editing.section === section) {
      if (directive) text = addRules(text, [], { directive });
      const shift = directive ? 1 : 0;
      text = replaceRules(text, own.map((i) => i + shift), rules, { segment: editing.segment, note: this.v.note ?? '' });
    } else {
      if (editing) text = deleteLines(text, own) ?? text;
      text = addRules(text, rules, { directive: kind.directive, section, note: this.v.note ?? '' });
    }
    this.close();
    this.write(text, `${editing ? 'Changed' : 'Placed'}: ${rules.join('; ')}`);
  }

  // A copy of the binding edited, a little to the right: a new binding
  // whose key is still to press.
  duplicate() {
    const copy = { ...this.v, keys: '', padKeys: [], note: this.v.note };
    const shift = (value) => keep(Number(value) + 3);
    copy.x = shift(copy.x);
    if (copy.x2 !== undefined) copy.x2 = shift(copy.x2);
    if (copy.path) copy.path = copy.path.map(([x, y]) => [shift(x), y]);
    this.editing = null;
    this.v = copy;
    this.gesture = null;
    this.$('.place-title').textContent = `Copy at (${tenth(copy.x)}, ${tenth(copy.y)}): press its key`;
    this.show();
    this.focusFirst();
  }

  remove() {
    const text = deleteLines(this.text(), this.editing.indices);
    this.close();
    this.write(text, 'Deleted the binding');
  }

  // ---- where the panel stands ----

  // Beside the points edited, never over them, inside the window: to their
  // right, left, below or above, wherever it fits; where nothing fits, on
  // the side with the most room, scrolling inside.
  position() {
    const panel = this.panel;
    const margin = 8, gap = 18;
    const width = innerWidth, height = innerHeight;
    panel.style.maxHeight = '';
    panel.style.width = `${Math.min(360, width - 2 * margin)}px`;
    const w = panel.offsetWidth, h = panel.offsetHeight;
    const points = this.points();
    if (points.length === 0) points.push([Number(this.v.x) || 50, Number(this.v.y) || 50]);
    const shown = points.map(([x, y]) => this.locate(x, y));
    const box = {
      left: Math.min(...shown.map((p) => p.x)), right: Math.max(...shown.map((p) => p.x)),
      top: Math.min(...shown.map((p) => p.y)), bottom: Math.max(...shown.map((p) => p.y)),
    };
    const middle = (box.top + box.bottom) / 2, centre = (box.left + box.right) / 2;
    const clamp = (value, low, high) => Math.max(low, Math.min(value, high));
    const across = (extent, size, at) => clamp(at - size / 2, margin, Math.max(margin, extent - size - margin));
    const sides = [
      { room: width - box.right - gap - margin, need: w, left: box.right + gap, top: across(height, h, middle) },
      { room: box.left - gap - margin, need: w, left: box.left - gap - w, top: across(height, h, middle) },
      { room: height - box.bottom - gap - margin, need: h, left: across(width, w, centre), top: box.bottom + gap, below: true },
      { room: box.top - gap - margin, need: h, left: across(width, w, centre), top: box.top - gap - h, above: true },
    ];
    let side = sides.find((s) => s.room >= s.need && (s.below || s.above || h <= height - 2 * margin));
    if (!side) {  // below or above, whichever has more room, scrolling inside
      side = sides[2].room >= sides[3].room ? sides[2] : sides[3];
      panel.style.maxHeight = `${Math.max(120, side.room)}px`;
      if (side.above) side.top = box.top - gap - Math.min(h, Math.max(120, side.room));
    }
    panel.style.left = `${Math.round(side.left)}px`;
    panel.style.top = `${Math.round(Math.max(margin, side.top))}px`;
  }
}
