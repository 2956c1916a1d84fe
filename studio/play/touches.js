// The engine's touch contacts as a touch screen's pointers. The engine
// reports every contact that changed (slot, state, x and y in percent of the
// screen); the device wants a pointer per finger that goes down, moves and
// goes up, in its own pixels. The slot is the finger's identity, so it is
// the pointer id. A finger lifts where it last touched: the position of a
// contact that goes up is only where the engine put it last. A contact that
// was up and stays up ("lifted") changes place without touching, and the
// device sees nothing of it.

export const TOUCH_DOWN = 0;
export const TOUCH_UP = 1;
export const TOUCH_MOVE = 2;

// A percent of the screen as a pixel of a side `size` pixels long.
export function pixelOf(percent, size) {
  return Math.min(size - 1, Math.max(0, Math.round((percent / 100) * size)));
}

export class TouchPointers {
  constructor() {
    this.down = new Map();  // slot: {x, y} in percent, where it last touched
  }

  // The pointer events of one touch event of the timeline
  // ({slot, state, x, y}), on a screen of `width` x `height` pixels:
  // [{action, pointerId, x, y}], empty when the device sees nothing.
  convert(event, width, height) {
    const at = (x, y) => ({ x: pixelOf(x, width), y: pixelOf(y, height) });
    const last = this.down.get(event.slot);
    if (event.state === 'down' || event.state === 'move') {
      this.down.set(event.slot, { x: event.x, y: event.y });
      const action = last ? TOUCH_MOVE : TOUCH_DOWN;
      return [{ action, pointerId: event.slot, ...at(event.x, event.y) }];
    }
    if (!last) return [];  // lifted: up before and after
    this.down.delete(event.slot);
    return [{ action: TOUCH_UP, pointerId: event.slot, ...at(last.x, last.y) }];
  }

  // Every finger still down, lifted where it last touched: for a player who
  // leaves the game (the tab loses focus, the mode ends).
  liftAll(width, height) {
    const ups = [];
    for (const [slot, last] of this.down) {
      ups.push({ action: TOUCH_UP, pointerId: slot, x: pixelOf(last.x, width), y: pixelOf(last.y, height) });
    }
    this.down.clear();
    return ups;
  }

  // Forgets every finger: the device that had them is gone.
  clear() {
    this.down.clear();
  }
}
