// Keyweave Studio: a keymap's text beside its picture over the game's
// screen, read, drawn, checked and played by the engine itself.

import { loadEngine } from './engine.js';
import { pollPads, prepareDatabase, releasePads } from './gamepad.js';
import { Picture } from './picture.js';
import { Placer } from './place.js';
import { addRules, deleteBinding, moveBinding, ruleLines } from './rules.js';
import { Timeline } from './timeline.js';
import { TryIt } from './tryit.js';

const $ = (id) => document.getElementById(id);
const text = $('keymap-text');
const status = $('status');

const state = { name: 'keymap.cfg', background: '', bindings: [], pending: false, steps: null, selected: null };

function report(message) { status.textContent = message; }

const engine = await loadEngine();
const picture = new Picture($('picture'));
const timeline = new Timeline(picture);
const tryIt = new TryIt(engine, picture, timeline, report);
const placer = new Placer($('place-panel'), (code) => engine.browserKey(code), placed, report);

function screen() {
  return { width: Number($('screen-width').value) || 1920, height: Number($('screen-height').value) || 1080 };
}

// Reads the text with the engine: the picture, the bindings' handles and
// the diagnostics at their lines.
function redraw() {
  state.pending = false;
  const size = screen();
  engine.setScreen(size.width, size.height);
  if (!engine.store(state.name, text.value)) {
    report(`Cannot store ${state.name} in the page's memory`);
    return;
  }
  const result = engine.open(state.name, state.background);
  state.bindings = result.bindings;
  // Handles only for the bindings the text writes: not for the ones the
  // engine makes itself (mouse-look's RightClick over its MouseMove tap).
  const written = result.bindings.filter((binding) => ruleLines(text.value, binding).length > 0);
  picture.show(result.svg, written, size, dragged, select);
  showDiagnostics(result.diagnostics, result.readable);
  const kept = state.selected && state.bindings.find((b) => b.keys === state.selected.keys && b.kind === state.selected.kind);
  select(kept || null);
}

function redrawSoon() {
  if (state.pending) return;
  state.pending = true;
  requestAnimationFrame(redraw);
}

function showDiagnostics(items, readable) {
  const lineCount = text.value.split('\n').length;
  const marks = new Map(items.map((item) => [item.line, item.severity]));
  const gutter = [];
  for (let line = 1; line <= lineCount; ++line) {
    const mark = marks.get(line);
    gutter.push(mark ? `<span class="${mark}">${line}</span>` : String(line));
  }
  $('gutter').innerHTML = gutter.join('\n');
  showUnderlines(items);
  const list = $('diagnostics');
  list.replaceChildren();
  for (const item of items) {
    const entry = document.createElement('li');
    entry.className = item.severity;
    entry.dataset.line = item.line;
    entry.textContent = `line ${item.line}: ${item.severity === 'warning' ? 'warning: ' : ''}${item.message}`;
    entry.addEventListener('click', () => selectLine(item.line, item.column, item.length));
    list.appendChild(entry);
  }
  report(readable ? '' : 'Cannot load this keymap: the engine would not read it (see the first error)');
}

// The offending text of each diagnostic that names one (column and length,
// in bytes of the line: the same as characters for ASCII), underlined.
function showUnderlines(items) {
  const escape = (s) => s.replace(/[&<>]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;' })[c]);
  const lines = text.value.split('\n');
  const marked = new Map();
  for (const item of items) {
    if (item.column && !marked.has(item.line)) marked.set(item.line, item);
  }
  $('underlines').innerHTML = lines.map((line, index) => {
    const item = marked.get(index + 1);
    if (!item) return escape(line);
    const start = item.column - 1, end = start + item.length;
    return escape(line.slice(0, start)) + `<mark class="${item.severity}" data-line="${item.line}">` +
      escape(line.slice(start, end)) + '</mark>' + escape(line.slice(end));
  }).join('\n') + '\n ';  // a last line of its own, so that it scrolls as far as the text does
  followScroll();
}

function followScroll() {
  $('underlines').scrollTop = text.scrollTop;
  $('underlines').scrollLeft = text.scrollLeft;
}

function selectLine(line, column = 0, length = 0) {
  const lines = text.value.split('\n');
  const start = lines.slice(0, line - 1).reduce((sum, l) => sum + l.length + 1, 0);
  text.focus();
  if (column > 0) {
    text.setSelectionRange(start + column - 1, start + column - 1 + length);
  } else {
    text.setSelectionRange(start, start + (lines[line - 1] || '').length);
  }
}

function dragged(binding, x, y, radius) {
  const changed = moveBinding(text.value, binding, x, y, radius);
  if (changed === null) {
    report(`Cannot find the rule of ${binding.keys} at (${binding.x}, ${binding.y}) in the text`);
    redraw();
    return;
  }
  text.value = changed;
  redraw();
}

// ---- placing, selecting and deleting bindings ----

function select(binding) {
  if (tryIt.active) return;
  state.selected = binding;
  picture.select(binding?.keys, binding?.kind);
  $('delete-binding').disabled = !binding;
}

function placed(rules, options) {
  text.value = addRules(text.value, rules, options);
  state.selected = null;
  redraw();
  report(status.textContent || `Placed: ${rules.join('; ')}`);
}

function deleteSelected() {
  const binding = state.selected;
  if (!binding) return;
  const changed = deleteBinding(text.value, binding);
  if (changed === null) {
    report(`Cannot find the rule of ${binding.keys} at (${binding.x}, ${binding.y}) in the text`);
    return;
  }
  text.value = changed;
  state.selected = null;
  redraw();
  report(status.textContent || `Deleted the binding of ${binding.keys}`);
}

function setAdding(on) {
  document.body.classList.toggle('adding', on);
  $('add-binding').setAttribute('aria-pressed', String(on));
  if (!on) placer.close();
}

// A click on the screen in "Add binding" mode, or a double click, opens the
// placing panel at that point; a click on a binding's dot selects it instead.
function placeAt(event) {
  if (tryIt.active || event.target.closest('.handle')) return;
  const at = picture.percentAt(event);
  if (!picture.insideScreen(at)) return;
  const pane = $('picture-pane').getBoundingClientRect();
  const left = Math.min(event.clientX - pane.left + 12, pane.width - 350);
  placer.start(at, Math.max(0, left), event.clientY - pane.top + 12);
}

function newKeymap() {
  if (tryIt.active) toggleTryIt();
  $('script-text').value = '';
  openText('keymap.cfg', '');
  setAdding(true);
  report('A new keymap: click "Screenshot…" for the game\'s picture, then click where a binding goes');
}

function openText(name, content) {
  if (tryIt.active) toggleTryIt();
  state.name = name.replace(/^.*[\\/]/, '') || 'keymap.cfg';
  if (!state.name.endsWith('.cfg')) state.name += '.cfg';
  timeline.clear();  // the last keymap's
  picture.clearFingers();
  text.value = content;
  redraw();
}

function importKeymap(name, content) {
  const result = engine.importKeymap(name, content);
  if (!result.ok) {
    report(result.error);
    return;
  }
  openText(name.replace(/\.(json|playmap)$/i, '.cfg'), result.text);
  const fields = `${result.fieldsDropped} field${result.fieldsDropped === 1 ? '' : 's'}`;
  report(`Imported ${name}: ${result.converted} converted, ${result.dropped} dropped, ${fields} dropped`);
}

function setBackground(file) {
  if (state.background) URL.revokeObjectURL(state.background);
  state.background = URL.createObjectURL(file);
  const image = new Image();
  image.onload = () => {  // the screenshot's size is the screen's
    $('screen-width').value = image.naturalWidth;
    $('screen-height').value = image.naturalHeight;
    redraw();
  };
  image.src = state.background;
}

async function openFile(file) {
  if (file.type.startsWith('image/')) return setBackground(file);
  const content = await file.text();
  if (/\.(json|playmap)$/i.test(file.name)) importKeymap(file.name, content);
  else openText(file.name, content);
}

async function openExample(name) {
  const fetchText = async (path) => {
    const response = await fetch(path);
    if (!response.ok) throw new Error(`Cannot fetch ${path}`);
    return response.text();
  };
  try {
    const [keymap, script] = await Promise.all([fetchText(`examples/${name}.cfg`), fetchText(`examples/${name}.play`)]);
    state.background = name === 'com.example.shooter' ? 'examples/shooter-screenshot.png' : '';
    $('script-text').value = script;
    openText(`${name}.cfg`, keymap);
  } catch (error) {
    report(error.message);
  }
}

function save() {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text.value], { type: 'text/plain' }));
  link.download = state.name;
  link.click();
  URL.revokeObjectURL(link.href);
}

function toggleTryIt() {
  const button = $('try-it');
  if (!tryIt.active && document.body.classList.contains('playing')) {
    report('Cannot try the keymap here while it plays on a device: leave "Play on a device" first');
    return;
  }
  if (tryIt.active) {
    state.script = tryIt.stop();
    $('script-text').value = state.script;
    button.setAttribute('aria-pressed', 'false');
    button.textContent = 'Try it';
    $('try-pane').hidden = true;
  } else {
    setAdding(false);
    redraw();
    $('try-pane').hidden = false;
    button.setAttribute('aria-pressed', 'true');
    button.textContent = 'Stop trying';
    document.activeElement?.blur();
    tryIt.start(state.name);
  }
}

// Plays the script box: all at once, or one script line a step.
function play(stepping) {
  if (tryIt.active) toggleTryIt();
  if (!stepping || state.steps === null) {
    redraw();
    const result = engine.play(state.name, $('script-text').value);
    if (!result.ok) report(result.error);
    timeline.clear();
    if (!stepping) {
      timeline.add(result.events);
      picture.drawFingers();
      return;
    }
    state.steps = { events: result.events, next: 0 };
  }
  const steps = state.steps;
  const chunk = [];
  do chunk.push(steps.events[steps.next++]);
  while (steps.next < steps.events.length && steps.events[steps.next].json.event !== 'input');
  timeline.add(chunk);
  picture.drawFingers();
  const done = steps.next >= steps.events.length;
  $('step-state').textContent = done ? 'played to the end' : `at ${chunk[0].text.trim()}`;
  if (done) state.steps = null;
}

text.addEventListener('input', () => { state.steps = null; redrawSoon(); });
text.addEventListener('scroll', () => { $('gutter').scrollTop = text.scrollTop; followScroll(); });
$('screen-width').addEventListener('change', redraw);
$('screen-height').addEventListener('change', redraw);
$('open-file').addEventListener('change', (event) => event.target.files[0] && openFile(event.target.files[0]));
$('import-file').addEventListener('change', (event) => event.target.files[0] && openFile(event.target.files[0]));
$('background-file').addEventListener('change', (event) => event.target.files[0] && setBackground(event.target.files[0]));
$('example').addEventListener('change', (event) => event.target.value && openExample(event.target.value));
$('save').addEventListener('click', save);
$('new-keymap').addEventListener('click', newKeymap);
$('add-binding').addEventListener('click', () => setAdding(!document.body.classList.contains('adding')));
$('delete-binding').addEventListener('click', deleteSelected);
$('picture').addEventListener('click', (event) => { if (document.body.classList.contains('adding')) placeAt(event); });
$('picture').addEventListener('dblclick', placeAt);
window.addEventListener('keydown', (event) => {
  if (tryIt.active || document.body.classList.contains('playing') || placer.open || event.target.closest?.('textarea, input, select')) return;
  if (event.code === 'Delete' || event.code === 'Backspace') deleteSelected();
  if (event.code === 'Escape') setAdding(false);
});
$('try-it').addEventListener('click', toggleTryIt);
$('play').addEventListener('click', () => { state.steps = null; play(false); });
$('step').addEventListener('click', () => play(true));
$('script-text').addEventListener('input', () => { state.steps = null; });
for (const type of ['dragenter', 'dragover']) {
  document.addEventListener(type, (event) => { event.preventDefault(); document.body.classList.add('dragging-file'); });
}
document.addEventListener('dragleave', () => document.body.classList.remove('dragging-file'));
document.addEventListener('drop', (event) => {
  event.preventDefault();
  document.body.classList.remove('dragging-file');
  for (const file of event.dataTransfer.files) openFile(file);
});

prepareDatabase(engine);
// Play on a device: its npm libraries come bundled (play.js, made by
// tools/studio.sh).
const { setUpPlay } = await import('./play.js');
const onDevice = setUpPlay({
  engine, pads: { pollPads, releasePads }, timeline, Picture, report,
  keymapName: () => state.name,
  keymapScreen: screen,
  stopTrying: () => { if (tryIt.active) toggleTryIt(); },
});
await openExample(new URLSearchParams(location.search).get('example') || 'com.example.shooter');
performance.mark('studio-ready');
// For the page's own tests and for anyone curious in the console.
window.studio = {
  ready: true,
  text: () => text.value,
  bindings: () => state.bindings,
  timeline: () => timeline.lines,
  fingers: () => picture.fingersDown(),
  stopTrying: () => { if (tryIt.active) toggleTryIt(); return state.script; },
  play: onDevice,
};
