// Rewriting a keymap's text when a binding is dragged: the rule lines whose
// first point is the binding's place get the new place (and a direction
// pad's lines their new reach). Comments and everything else on the line
// stay as they were.

// A number as keymaps write it: at most two decimals.
export function keymapNumber(value) {
  return String(Math.round(value * 100) / 100);
}

function near(text, value) {
  const number = Number(text.trim());
  return text.trim() !== '' && Number.isFinite(number) && Math.abs(number - value) < 0.006;
}

// The rule part of a line (before its comment) and its first "(...)".
function firstTuple(line) {
  const hash = line.indexOf('#');
  const rule = hash < 0 ? line : line.slice(0, hash);
  const open = rule.indexOf('(');
  const close = rule.indexOf(')', open + 1);
  if (open < 0 || close < 0 || !rule.includes('=')) return null;
  return { open, close, keys: rule.slice(0, rule.indexOf('=')).trim(), values: rule.slice(open + 1, close).split(',') };
}

// A key combination the same however it is written: "Ctrl,A", "A+Ctrl".
export function sameKeys(written, keys) {
  const names = (list) => list.split(/[,+]/).map((name) => name.trim()).sort().join('+');
  return names(written) === names(keys);
}

// Which lines hold the binding: its keys' rule lines at its place, or, for a
// direction pad, every pad line around the same centre.
export function ruleLines(text, binding) {
  const lines = text.split('\n');
  const matches = [];
  lines.forEach((line, index) => {
    const tuple = firstTuple(line);
    if (!tuple || tuple.values.length < 2) return;
    if (!near(tuple.values[0], binding.x) || !near(tuple.values[1], binding.y)) return;
    const pad = binding.kind === 'SwipeHold' && /SwipeHold/.test(line);
    if (pad || sameKeys(tuple.keys, binding.keys)) matches.push(index);
  });
  return matches;
}

// The bindings that a line of the text writes (not the ones the engine makes
// itself), with the text read once: big keymaps have thousands of lines.
export function writtenBindings(text, bindings) {
  const at = (x, y) => `${Math.round(x * 100)},${Math.round(y * 100)}`;
  const rules = new Map();  // place: [{keys, pad}]
  for (const line of text.split('\n')) {
    if (!line.includes('(')) continue;
    const tuple = firstTuple(line);
    if (!tuple || tuple.values.length < 2) continue;
    const x = Number(tuple.values[0].trim()), y = Number(tuple.values[1].trim());
    if (tuple.values[0].trim() === '' || !Number.isFinite(x) || !Number.isFinite(y)) continue;
    const place = at(x, y);
    if (!rules.has(place)) rules.set(place, []);
    rules.get(place).push({ keys: tuple.keys, pad: /SwipeHold/.test(line) });
  }
  return bindings.filter((binding) => (rules.get(at(binding.x, binding.y)) || [])
    .some((rule) => (binding.kind === 'SwipeHold' && rule.pad) || sameKeys(rule.keys, binding.keys)));
}

// The text with the binding at (x, y), and its reach `radius` when given.
// Returns null when no line of the text holds the binding at its place.
export function moveBinding(text, binding, x, y, radius) {
  const lines = text.split('\n');
  const found = ruleLines(text, binding);
  if (found.length === 0) return null;
  for (const index of found) {
    const line = lines[index];
    const tuple = firstTuple(line);
    const values = tuple.values.slice();
    const keep = (old, value) => old.replace(/\S+/, keymapNumber(value));
    values[0] = keep(values[0], x);
    values[1] = keep(values[1], y);
    if (radius !== undefined && values.length >= 3) values[2] = keep(values[2], radius);
    lines[index] = line.slice(0, tuple.open + 1) + values.join(',') + line.slice(tuple.close);
  }
  return lines.join('\n');
}

// ---- placing and deleting ----

// The section a header line opens ("keys", "gamepad2"), or null.
function sectionOf(line) {
  const header = line.trim().match(/^\[([^\]]*)\]/);
  return header ? header[1].trim().toLowerCase().replace(/-/g, '_') : null;
}

const keysOf = (line) => (firstTuple(line) || { keys: line.split('=')[0] }).keys.replace(/\s+/g, '');
const isRule = (line) => /^\s*[^#\s][^=]*\s=\s/.test(line);

// The text with `rules` ("W = Tap (10,20)") at the end of its [keys] section,
// which is made when missing. Rules of the same keys in that section go:
// a later rule would replace them anyway. `drop(line)` names more rule lines
// to take out (the old direction pad); `directive` is a header directive the
// rules need, put above the first section when the text lacks it.
export function addRules(text, rules, { drop = () => false, directive = '' } = {}) {
  let lines = text === '' ? [] : text.split('\n');
  if (directive && !lines.some((line) => line.trim() === directive)) {
    const first = lines.findIndex((line) => sectionOf(line) !== null);
    lines.splice(first < 0 ? lines.length : first, 0, directive);
  }
  let start = lines.findIndex((line) => sectionOf(line) === 'keys');
  if (start < 0) {
    while (lines.length && lines.at(-1).trim() === '') lines.pop();
    if (lines.length) lines.push('');
    lines.push('[keys]');
    start = lines.length - 1;
  }
  const replaced = new Set(rules.map(keysOf));
  let end = start + 1;
  while (end < lines.length && sectionOf(lines[end]) === null) {
    if (isRule(lines[end]) && (replaced.has(keysOf(lines[end])) || drop(lines[end]))) lines.splice(end, 1);
    else ++end;
  }
  let at = end;
  while (at > start + 1 && lines[at - 1].trim() === '') --at;
  lines.splice(at, 0, ...rules);
  const result = lines.join('\n');
  return result.endsWith('\n') ? result : result + '\n';
}

// The text without the rule lines that hold the binding, or null when it
// has none.
export function deleteBinding(text, binding) {
  const found = new Set(ruleLines(text, binding));
  if (found.size === 0) return null;
  return text.split('\n').filter((_, index) => !found.has(index)).join('\n');
}
