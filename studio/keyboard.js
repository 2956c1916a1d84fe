// A browser key event as a play-script line, shared by try-it and play on a
// device: "press W" or "release W", or null when it changes nothing (a
// repeat, a key already in that state). A key that has no PC scan code is
// reported and dropped. `held` is the set of script words held down.
export function keyLine(engine, held, event, report) {
  if (event.repeat) return null;
  const word = engine.browserKey(event.code);
  if (!word) {
    report(`Cannot use the key ${event.code}: it has no PC scan code`);
    return null;
  }
  const pressed = event.type === 'keydown';
  if (pressed === held.has(word)) return null;
  if (pressed) held.add(word);
  else held.delete(word);
  return `${pressed ? 'press' : 'release'} ${word}`;
}
