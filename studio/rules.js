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
  const equals = rule.indexOf('=', rule.search(/\S/) + 1);  // after the first key: "=" is a key name too
  if (open < 0 || close < 0 || equals < 0) return null;
  return { open, close, keys: rule.slice(0, equals).trim(), values: rule.slice(open + 1, close).split(',') };
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
  const lines = text.split('\n');
  const rules = new Map();  // place: [{keys, pad, line}]
  lines.forEach((line, index) => {
    if (!line.includes('(')) return;
    const tuple = firstTuple(line);
    if (!tuple || tuple.values.length < 2) return;
    const x = Number(tuple.values[0].trim()), y = Number(tuple.values[1].trim());
    if (tuple.values[0].trim() === '' || !Number.isFinite(x) || !Number.isFinite(y)) return;
    const place = at(x, y);
    if (!rules.has(place)) rules.set(place, []);
    rules.get(place).push({ keys: tuple.keys, pad: /SwipeHold/.test(line), line: index });
  });
  const written = [];
  for (const binding of bindings) {
    const rule = (rules.get(at(binding.x, binding.y)) || [])
      .find((r) => (binding.kind === 'SwipeHold' && r.pad) || sameKeys(r.keys, binding.keys));
    if (rule) written.push({ ...binding, line: rule.line, note: noteOf(lines[rule.line]) });
  }
  return written;
}

// The game-pad controls' own bindings ([gamepad2]), from their lines: they
// have a place on the picture too.
export function controlBindings(text) {
  const found = [];
  let section = null;
  text.split('\n').forEach((line, index) => {
    section = sectionOf(line) ?? section;
    if (section !== 'gamepad2') return;
    const rule = parseRule(line);
    const at = rule?.actions[0].match(/^(\w+)\s*\(([-\d.]+),([-\d.]+)/);
    if (!at) return;
    found.push({ keys: rule.keys, kind: `gamepad2 ${at[1]}`, x: Number(at[2]), y: Number(at[3]), radius: 0,
      line: index, note: noteOf(line) });
  });
  return found;
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

const keysOf = (line) => (parseRule(line)?.keys ?? '').replace(/\s+/g, '');
const isRule = (line) => /^\s*[^#\s][^=]*\s=\s/.test(line);

// The text with `rules` ("W = Tap (10,20)") at the end of its `section`
// ([keys] unless said), which is made when missing, the first with its
// `note`. Rules of the same keys in that section go: a later rule would
// replace them anyway. `drop(line)` names more rule lines to take out
// (the old direction pad); `directive` is a header directive the rules
// need, put above the first section when the text lacks it.
export function addRules(text, rules, { drop = () => false, directive = '', section = 'keys', note = '' } = {}) {
  let lines = text === '' ? [] : text.split('\n');
  if (directive && !lines.some((line) => line.trim() === directive)) {
    const first = lines.findIndex((line) => sectionOf(line) !== null);
    lines.splice(first < 0 ? lines.length : first, 0, directive);
  }
  let start = lines.findIndex((line) => sectionOf(line) === section);
  if (start < 0) {
    while (lines.length && lines.at(-1).trim() === '') lines.pop();
    if (lines.length) lines.push('');
    lines.push(`[${section}]`);
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
  lines.splice(at, 0, ...rules.map((rule, i) => (i === 0 ? withNote(rule, note) : rule)));
  const result = lines.join('\n');
  return result.endsWith('\n') ? result : result + '\n';
}

// The text without the rule lines that hold the binding, or null when it
// has none.
export function deleteBinding(text, binding) {
  return deleteLines(text, ruleLines(text, binding));
}

// The text without the rule lines at `indices`, or null when there are none.
export function deleteLines(text, indices) {
  if (indices.length === 0) return null;
  const found = new Set(indices);
  return text.split('\n').filter((_, index) => !found.has(index)).join('\n');
}

// ---- editing a rule in place, and notes ----

// A rule line taken apart: its indent, keys, actions (split at ";"), and the
// comment at its end with the blanks before it.
export function parseRule(line) {
  if (!isRule(line)) return null;
  const hash = line.indexOf('#');
  const rule = hash < 0 ? line : line.slice(0, hash);
  const body = rule.trimEnd();
  const equals = body.indexOf('=', body.search(/\S/) + 1);
  return {
    indent: line.match(/^\s*/)[0],
    keys: body.slice(0, equals).trim(),
    actions: body.slice(equals + 1).split(';').map((action) => action.trim()),
    comment: line.slice(body.length),
  };
}

// The section (lower case, "keys") the line at `index` is in, or null.
export function sectionAt(lines, index) {
  for (let at = index; at >= 0; --at) {
    const section = sectionOf(lines[at]);
    if (section !== null) return section;
  }
  return null;
}

// A binding's note is the comment at the end of its (first) rule line:
// `Space = Tap (90,56)   # jump`. The engine cuts it off where it reads the
// action, in [keys], [gamepad] key rules and [gamepad2] alike.
export function noteOf(line) {
  const rule = parseRule(line ?? '');
  return rule ? rule.comment.replace(/^\s*#\s?/, '').trim() : '';
}

// The rule line with `note` at its end ('': none). A ";" would start another
// action, so a note has none.
export function withNote(line, note) {
  const rule = parseRule(line);
  if (!rule) return line;
  const base = `${rule.indent}${rule.keys} = ${rule.actions.join('; ')}`;
  const clean = note.replace(/;/g, ',').trim();
  if (!clean) return base;
  return `${base}${rule.comment.match(/^\s*(?=#)/)?.[0] || '   '}# ${clean}`;
}

// Lines of `section` whose rule is for `keys` (blanks ignored), but for the
// lines in `except`.
export function boundLines(text, section, keys, except = []) {
  const lines = text.split('\n');
  const wanted = keys.replace(/\s+/g, '');
  const found = [];
  lines.forEach((line, index) => {
    if (except.includes(index) || !isRule(line) || keysOf(line) !== wanted) return;
    if (sectionAt(lines, index) === section) found.push(index);
  });
  return found;
}

// The text with the rule lines at `indices` replaced by `rules` ("KEYS =
// ACTION" each) where the first of them stood, and its note set to `note`
// (null: left as it is, '': removed). When the lines were one rule of one
// line, only its action number `segment` changes: the rule's other actions,
// indent and end comment stay.
export function replaceRules(text, indices, rules, { segment = 0, note = null } = {}) {
  const lines = text.split('\n');
  const first = Math.min(...indices);
  let written = rules;
  if (indices.length === 1 && rules.length === 1) {
    const old = parseRule(lines[first]);
    const now = parseRule(rules[0]);
    if (old && now) {
      const actions = old.actions.slice();
      actions[Math.min(segment, actions.length - 1)] = now.actions.join('; ');
      written = [`${old.indent}${now.keys} = ${actions.join('; ')}${old.comment}`];
    }
  } else {
    written = rules.map((rule, i) => {
      const old = parseRule(lines[indices[i]] ?? '');
      return old ? old.indent + rule + old.comment : rule;
    });
  }
  const out = [];
  lines.forEach((line, index) => {
    if (index === first) out.push(...written);
    else if (!indices.includes(index)) out.push(line);
  });
  if (note !== null) out[first] = withNote(out[first], note);
  return out.join('\n');
}
