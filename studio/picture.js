// The keymap's picture (drawn by the engine's own picture code, as keyweave
// render draws it) with the page's layers on its guest screen: handles to
// drag the bindings, and the fingers with their trails in try-it mode.

const SVG = 'http://www.w3.org/2000/svg';
const TRAIL = 40;  // points of a finger's trail that stay drawn
// One colour a finger slot, told apart on any screenshot; the legend names them.
export const FINGER_COLOURS = ['#e65100', '#1565c0', '#2e7d32', '#ad1457', '#6a1b9a', '#00838f', '#f9a825', '#4e342e', '#37474f', '#c62828'];
let pictures = 0;  // each picture's clip gets an id of its own
const STEP = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };

function element(name, attributes, parent) {
  const node = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  if (parent) parent.appendChild(node);
  return node;
}

export class Picture {
  constructor(container) {
    this.container = container;
    this.screen = { width: 1920, height: 1080 };
    this.contacts = new Map();  // slot: {x, y, down, trail: [[x, y], ...]}
    this.clipId = `guest-clip-${++pictures}`;
  }

  // Shows a new picture; `onDrag(binding, x, y, radius)` is called when a
  // handle is let go somewhere else (positions in percent), `onSelect(binding)`
  // when a handle is pressed, `onOpen(binding)` when it is clicked without
  // moving (or Enter is pressed on it). A binding's `note` is written under
  // its dot.
  show(svgText, bindings, screen, onDrag, onSelect, onOpen) {
    const focused = document.activeElement?.closest?.('#picture .handle');
    const refocus = focused && `.handle.${focused.classList.contains('reach') ? 'reach' : 'move'}` +
      `[data-keys="${CSS.escape(focused.dataset.keys)}"][data-kind="${CSS.escape(focused.dataset.kind)}"]`;
    this.screen = screen;
    this.container.innerHTML = svgText;
    this.svg = this.container.querySelector('svg');
    this.guest = this.svg.querySelector('g.guest-screen');
    this.clipToScreen();
    this.handles = element('g', { class: 'handles' }, this.guest);
    this.fingers = element('g', { class: 'fingers' }, this.guest);
    const unit = Math.max(6, Math.min(screen.width, screen.height) / 54);
    this.notes = element('g', { class: 'notes' }, this.guest);
    for (const binding of bindings) this.addHandle(binding, unit, onDrag, onSelect, onOpen);
    this.spreadNotes(unit);
    this.drawFingers();
    if (refocus) this.handles.querySelector(refocus)?.focus();
  }

  // Notes of neighbouring bindings would run into each other and into the
  // engine's labels: a note that meets one already placed moves a line down,
  // or up over its dot, or further, or aside, to the first place inside the
  // screen where it meets none.
  spreadNotes(unit) {
    // A label's box with its halo.
    const boxOf = (label) => {
      const box = label.getBBox(), halo = Number(label.getAttribute('stroke-width') || 0) / 2;
      return { x: box.x - halo, y: box.y - halo, width: box.width + 2 * halo, height: box.height + 2 * halo };
    };
    const placed = [...this.guest.querySelectorAll(':is(g.binding, g.area, g.screen-centre) text')].map(boxOf);
    const meets = (a, b) => a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
    const inside = (box) => box.y >= 0 && box.y + box.height <= this.screen.height;
    const labels = [...this.notes.children].sort((a, b) => Number(a.getAttribute('x')) - Number(b.getAttribute('x')));
    for (const label of labels) {
      const x = Number(label.getAttribute('x')), y = Number(label.getAttribute('y')), width = boxOf(label).width;
      const fits = () => {
        const box = boxOf(label);
        return inside(box) && !placed.some((other) => meets(box, other));
      };
      // Lines down and up; then the same half its width aside, then a whole width.
      const free = [0, 0.5, -0.5, 1, -1].some((across) => [0, 1, -2, 2, -3, 3, -4, 4, -5, 5].some((lines) => {
        label.setAttribute('x', x + across * width);
        label.setAttribute('y', y + lines * unit * 1.6);
        return fits();
      }));
      if (!free) {
        label.setAttribute('x', x);
        label.setAttribute('y', y);
      }
      placed.push(boxOf(label));
    }
  }

  // What a binding draws past the screen's edge (a skill's circle) is cut
  // at the edge: the game shows nothing there.
  clipToScreen() {
    const clip = element('clipPath', { id: this.clipId }, this.svg);
    element('rect', { x: 0, y: 0, width: this.screen.width, height: this.screen.height }, clip);
    for (const group of this.guest.querySelectorAll(':scope > g.binding')) group.setAttribute('clip-path', `url(#${this.clipId})`);
  }

  px(x) { return (x / 100) * this.screen.width; }
  py(y) { return (y / 100) * this.screen.height; }

  // Percent of the guest screen under a pointer event.
  percentAt(event) {
    const point = this.svg.createSVGPoint();
    point.x = event.clientX;
    point.y = event.clientY;
    const local = point.matrixTransform(this.guest.getScreenCTM().inverse());
    return { x: (local.x / this.screen.width) * 100, y: (local.y / this.screen.height) * 100 };
  }

  // Marks the points of the binding being placed or edited (percent): a
  // ring on each, a line through them; none when `points` is empty.
  mark(points) {
    this.guest?.querySelector('g.marks')?.remove();
    if (!this.guest || points.length === 0) return;
    const unit = Math.max(6, Math.min(this.screen.width, this.screen.height) / 54);
    const marks = element('g', { class: 'marks', 'pointer-events': 'none' }, this.guest);
    const style = { fill: 'none', stroke: '#d500f9', 'stroke-width': unit * 0.3 };
    if (points.length > 1) {
      element('polyline', { ...style, points: points.map(([x, y]) => `${this.px(x)},${this.py(y)}`).join(' '),
        'stroke-dasharray': unit }, marks);
    }
    for (const [x, y] of points) element('circle', { ...style, cx: this.px(x), cy: this.py(y), r: unit * 1.6 }, marks);
  }

  // Where a point of the guest screen (percent) is in the window.
  clientPoint(x, y) {
    const point = this.svg.createSVGPoint();
    point.x = this.px(x);
    point.y = this.py(y);
    const shown = point.matrixTransform(this.guest.getScreenCTM());
    return { x: shown.x, y: shown.y };
  }

  insideScreen(percent) {
    return percent.x >= 0 && percent.x <= 100 && percent.y >= 0 && percent.y <= 100;
  }

  // Lights the handles of the bindings with these keys for a moment.
  flash(keys) {
    for (const dot of this.handles.querySelectorAll('circle.handle')) {
      if (dot.dataset.keys !== keys) continue;
      dot.classList.add('fired');
      clearTimeout(dot.fadeTimer);
      dot.fadeTimer = setTimeout(() => dot.classList.remove('fired'), 400);
    }
  }

  // Marks the handles of the bindings with these keys and kind.
  select(keys, kind) {
    for (const dot of this.handles.querySelectorAll('circle.handle')) {
      dot.classList.toggle('selected', dot.dataset.keys === keys && dot.dataset.kind === kind);
    }
  }

  addHandle(binding, unit, onDrag, onSelect, onOpen) {
    // A ring on the binding's own circle: the whole disc takes the pointer,
    // and the label in its middle stays readable.
    const dot = element('circle', {
      class: 'handle move', cx: this.px(binding.x), cy: this.py(binding.y), r: unit * 1.4,
      fill: 'transparent', 'pointer-events': 'all', stroke: '#263238', 'stroke-opacity': 0.6, 'stroke-width': unit * 0.15,
      'data-keys': binding.keys, 'data-kind': binding.kind, tabindex: 0, role: 'button',
      'aria-label': `${binding.keys}: ${binding.kind} at ${binding.x}, ${binding.y}`,
    }, this.handles);
    element('title', {}, dot).textContent = `${binding.keys}: drag (or arrow keys) to move, click (or Enter) and press Delete to remove`;
    dot.addEventListener('pointerdown', () => onSelect(binding));
    this.keysMove(dot, binding, onSelect, (dx, dy) => onDrag(binding, binding.x + dx, binding.y + dy), (b) => onOpen?.(b));
    this.dragWith(dot, (at) => {
      dot.setAttribute('cx', this.px(at.x));
      dot.setAttribute('cy', this.py(at.y));
    }, (at) => onDrag(binding, at.x, at.y), () => onOpen?.(binding));
    if (binding.note && !this.notes.querySelector(`[data-line="${binding.line}"]`)) {
      const label = element('text', {
        class: 'note', x: this.px(binding.x), y: this.py(binding.y) + unit * 2.6, 'text-anchor': 'middle',
        'font-size': unit * 1.5, 'font-family': 'system-ui, sans-serif', fill: '#fff', stroke: '#212121',
        'stroke-width': unit * 0.35, 'paint-order': 'stroke', 'data-line': binding.line, 'data-keys': binding.keys,
      }, this.notes);
      // A short label: what comes before a colon, cut at 20 characters.
      const head = binding.note.split(':')[0].trim();
      const short = head.length > 20 ? `${head.slice(0, 19)}…` : head;
      label.textContent = short;
      if (short !== binding.note) element('title', {}, label).textContent = binding.note;
    }
    if (binding.radius > 0) {
      const size = unit * 1.4;
      const square = element('rect', {
        class: 'handle reach', x: this.px(binding.x + binding.radius) - size / 2, y: this.py(binding.y) - size / 2,
        width: size, height: size, fill: '#fb8c00', stroke: '#263238', 'data-keys': binding.keys,
        'data-kind': binding.kind, tabindex: 0, role: 'button', 'aria-label': `${binding.keys}: reach ${binding.radius}`,
      }, this.handles);
      element('title', {}, square).textContent = `${binding.keys}: drag (or Left and Right) to change the reach`;
      const reach = (at) => Math.max(0.5, Math.abs(at.x - binding.x));
      this.keysMove(square, binding, onSelect,
        (dx) => dx && onDrag(binding, binding.x, binding.y, Math.max(0.5, binding.radius + dx)));
      this.dragWith(square, (at) => square.setAttribute('x', this.px(binding.x + reach(at)) - size / 2),
        (at) => onDrag(binding, binding.x, binding.y, reach(at)));
    }
  }

  // The keyboard on a focused handle: focus selects, Enter opens it, the
  // arrow keys move by 0.5 % of the screen (5 % with Shift).
  keysMove(node, binding, onSelect, move, onOpen = () => {}) {
    node.addEventListener('focus', () => onSelect(binding));  // Delete then removes the dot in focus
    node.addEventListener('keydown', (event) => {
      if (document.body.classList.contains('trying')) return;
      if (event.key === 'Enter' || event.key === ' ') {
        event.preventDefault();
        onSelect(binding);
        onOpen(binding);
        return;
      }
      const step = STEP[event.key];
      if (!step) return;
      event.preventDefault();
      const size = event.shiftKey ? 5 : 0.5;
      onSelect(binding);
      move(step[0] * size, step[1] * size);
    });
  }

  dragWith(node, move, drop, click = () => {}) {
    node.addEventListener('pointerdown', (event) => {
      if (document.body.classList.contains('trying')) return;
      event.preventDefault();
      node.setPointerCapture(event.pointerId);
      let last = null;
      const onMove = (moveEvent) => { last = this.clamp(this.percentAt(moveEvent)); move(last); };
      const onUp = () => {
        node.removeEventListener('pointermove', onMove);
        node.removeEventListener('pointerup', onUp);
        if (last) drop(last);
        else click();
      };
      node.addEventListener('pointermove', onMove);
      node.addEventListener('pointerup', onUp);
    });
  }

  clamp(at) {
    const keep = (value) => Math.min(100, Math.max(0, value));
    return { x: keep(at.x), y: keep(at.y) };
  }

  // ---- fingers ----
  clearFingers() {
    this.contacts.clear();
    this.drawFingers();
  }

  // A touch event of the timeline (JSON form: slot, state, x, y in percent).
  touch(event) {
    let contact = this.contacts.get(event.slot);
    if (!contact) {
      contact = { trail: [] };
      this.contacts.set(event.slot, contact);
    }
    contact.x = event.x;
    contact.y = event.y;
    contact.down = event.state === 'down' || event.state === 'move';
    if (event.state === 'down') contact.trail = [];
    if (contact.down || event.state === 'up') {
      contact.trail.push([event.x, event.y]);
      if (contact.trail.length > TRAIL) contact.trail.shift();
    }
  }

  // The fingers now down, as [slot, x, y] in percent.
  fingersDown() {
    return [...this.contacts.entries()].filter(([, c]) => c.down).map(([slot, c]) => [slot, c.x, c.y]);
  }

  drawFingers() {
    if (!this.fingers) return;
    this.fingers.replaceChildren();
    const unit = Math.max(6, Math.min(this.screen.width, this.screen.height) / 54);
    for (const [slot, contact] of this.contacts) {
      const colour = fingerColour(slot);
      if (contact.trail.length > 1) {
        element('polyline', {
          class: 'trail', points: contact.trail.map(([x, y]) => `${this.px(x)},${this.py(y)}`).join(' '),
          fill: 'none', stroke: colour, 'stroke-width': unit * 0.35, 'stroke-opacity': 0.7,
        }, this.fingers);
      }
      if (!contact.down) continue;
      element('circle', {
        class: 'finger', cx: this.px(contact.x), cy: this.py(contact.y), r: unit * 1.3, 'data-slot': slot,
        fill: colour, 'fill-opacity': 0.55, stroke: colour, 'stroke-width': unit * 0.25,
      }, this.fingers);
    }
    this.showLegend();
  }

  // Which colour is which finger: the slots touched so far, down or not.
  showLegend() {
    const legend = document.getElementById('finger-legend');
    if (!legend) return;
    const slots = [...this.contacts.keys()].sort((a, b) => a - b);
    const key = slots.map((slot) => `${slot}${this.contacts.get(slot).down ? '*' : ''}`).join();
    if (legend.dataset.shown === key) return;
    legend.dataset.shown = key;
    legend.replaceChildren(...slots.map((slot) => {
      const item = document.createElement('li');
      item.style.setProperty('--finger', fingerColour(slot));
      item.textContent = `finger ${slot}${this.contacts.get(slot).down ? ' (down)' : ''}`;
      return item;
    }));
  }
}

export function fingerColour(slot) {
  return FINGER_COLOURS[Math.abs(Number(slot)) % FINGER_COLOURS.length];
}
