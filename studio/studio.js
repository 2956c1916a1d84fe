// Keyweave Studio: a keymap's text beside its picture over the game's
// screen, read, drawn, checked and played by the engine itself.

import { KeymapEditor } from './editor.js';
import { loadEngine } from './engine.js';
import { pollPads, prepareDatabase, releasePads } from './gamepad.js';
import { History } from './history.js';
import { Picture } from './picture.js';
import { Placer } from './place.js';
import { controlBindings, deleteBinding, moveBinding, parseRule, writtenBindings } from './rules.js';
import { Timeline } from './timeline.js';
import { TryIt } from './tryit.js';

const $ = (id) => document.getElementById(id);
const status = $('status');

const state = { name: 'keymap.cfg', package: '', background: '', bindings: [], pending: false, steps: null, selected: null,
  example: false, keyDown: null };
const history = new History();

// Messages that start with "Cannot" are failures; the others say what went well.
function report(message) {
  status.textContent = message;
  status.className = /^Cannot/.test(message) ? 'error' : 'done';
}

const engine = await loadEngine();
// The keymap's text (editor.js: CodeMirror, bundled by tools/studio.sh).
const editor = new KeymapEditor($('editor'), { label: 'Keymap text', onType: typed, onDoubleClick: editLineAtCursor });
const picture = new Picture($('picture'));
const timeline = new Timeline(picture);
const tryIt = new TryIt(engine, picture, timeline, report);
const placer = new Placer($('place-panel'), {
  keyName: (code) => engine.browserKey(code),
  text: () => editor.value,
  write: (changed, message) => { edit(changed); report(status.textContent || message); },
  report,
  locate: (x, y) => picture.clientPoint(x, y),
  mark: (points) => picture.mark(points),
});

function screen() {
  return { width: Number($('screen-width').value) || 1920, height: Number($('screen-height').value) || 1080 };
}

// Reads the text with the engine: the picture, the bindings' handles and
// the diagnostics at their lines.
function redraw() {
  const start = performance.now();
  clearTimeout(state.pending);
  state.pending = false;
  const size = screen();
  engine.setScreen(size.width, size.height);
  if (!engine.store(state.name, editor.value)) {
    report(`Cannot store ${state.name} in the page's memory`);
    return;
  }
  const result = engine.open(state.name, state.background);
  const read = performance.now();
  performance.measure('redraw-engine', { start, end: read });
  state.bindings = result.bindings;
  // Handles only for the bindings the text writes: not for the ones the
  // engine makes itself (mouse-look's RightClick over its MouseMove tap).
  // Typing in a comment changes neither the picture nor the marks: they stay.
  // A binding's note (the comment at the end of its rule) is its label, and
  // the game-pad controls' bindings get handles from their lines.
  const written = [...writtenBindings(editor.value, result.bindings), ...controlBindings(editor.value)];
  const shown = JSON.stringify([size, written]) + result.svg;
  if (shown !== state.shown) picture.show(result.svg, written, size, dragged, select, editBinding);
  state.shown = shown;
  const drawn = performance.now();
  performance.measure('redraw-picture', { start: read, end: drawn });
  showDiagnostics(result.diagnostics, result.readable, result.unlisted || 0);
  performance.measure('redraw-diagnostics', { start: drawn });
  const kept = state.selected && state.bindings.find((b) => b.keys === state.selected.keys && b.kind === state.selected.kind);
  select(kept || null);
  state.redrawMs = performance.measure('redraw', { start }).duration;
}

// A small keymap is read again in the next frame; a big one once typing
// pauses, for at least twice as long as reading it takes, so that the keys
// typed in one go never wait for it.
const BIG_TEXT = 64 * 1024;
const TYPING_PAUSE_MS = 400;

function redrawSoon() {
  if (editor.length > BIG_TEXT) {
    clearTimeout(state.pending);
    state.pending = setTimeout(redraw, Math.max(TYPING_PAUSE_MS, 2 * (state.redrawMs || 0)));
    return;
  }
  if (state.pending) return;
  state.pending = true;
  requestAnimationFrame(() => state.pending && redraw());
}

const MOST_LISTED = 200;  // diagnostics listed under the text; the gutter marks more

// `unlisted`: diagnostics past the ones the engine sends, counted only.
function showDiagnostics(items, readable, unlisted) {
  report(readable ? '' : 'Cannot load this keymap: the engine would not read it (see the first error)');
  const lineCount = editor.lineCount;
  const shown = JSON.stringify([lineCount, unlisted, items]);
  if (shown === state.diagnostics) return;
  state.diagnostics = shown;
  editor.mark(items);  // line numbers in the diagnostic's colour, the offending text underlined
  const list = $('diagnostics');
  list.replaceChildren();
  for (const item of items.slice(0, MOST_LISTED)) {
    const entry = document.createElement('li');
    entry.className = item.severity;
    entry.dataset.line = item.line;
    entry.textContent = `line ${item.line}: ${item.severity === 'warning' ? 'warning: ' : ''}${item.message}`;
    entry.addEventListener('click', () => editor.selectLine(item.line, item.column, item.length));
    list.appendChild(entry);
  }
  if (items.length + unlisted > MOST_LISTED) {
    const more = document.createElement('li');
    more.className = 'more';
    more.textContent = `and ${items.length + unlisted - MOST_LISTED} more` +
      (unlisted ? ` (the first ${items.length} are marked at their lines; keyweave check lists them all)` : ' (marked at their lines)');
    list.appendChild(more);
  }
}

function dragged(binding, x, y, radius) {
  const changed = moveBinding(editor.value, binding, x, y, radius);
  if (changed === null) {
    report(`Cannot find the rule of ${binding.keys} at (${binding.x}, ${binding.y}) in the text`);
    redraw();
    return;
  }
  edit(changed);
}

// Every change the page makes to the keymap's text (the picture, the panel)
// goes through here: the new text, a step of the history.
function edit(changed) {
  editor.value = changed;
  state.steps = null;
  history.record(changed);
  showHistory();
  redraw();
}

// ---- undo, redo and the guard against lost work ----

function showHistory() {
  $('undo').disabled = !history.canUndo;
  $('redo').disabled = !history.canRedo;
}

function stepHistory(back) {
  const changed = back ? history.undo() : history.redo();
  if (changed === null) return;
  editor.value = changed;
  state.steps = null;
  showHistory();
  redraw();
}

// True when nothing unsaved would be lost, or the author agrees to lose it.
function mayDiscard(what) {
  return !history.unsaved || window.confirm(`${what} discards the unsaved changes to ${state.name}. Go on?`);
}

const PACKAGE = /^[A-Za-z][A-Za-z0-9_]*(\.[A-Za-z][A-Za-z0-9_]*)+$/;

// Asks for the game's package name (com.studio.game), which names the
// keymap's file; '' when none is given.
function askPackage() {
  const answer = window.prompt('The game\'s package name (for example com.studio.game): it names the keymap file', '');
  if (answer === null || answer.trim() === '') return '';
  if (!PACKAGE.test(answer.trim())) {
    report(`Cannot use "${answer.trim()}" as a package name: it is words of letters, digits and _ joined by dots`);
    return '';
  }
  return answer.trim();
}

function setPackage(name) {
  state.package = name;
  state.name = name ? `${name}.cfg` : 'keymap.cfg';
}

// ---- placing, selecting and deleting bindings ----

function select(binding) {
  if (tryIt.active) return;
  state.selected = binding;
  picture.select(binding?.keys, binding?.kind);
  $('delete-binding').disabled = !binding;
}

// A click on a binding's dot opens the panel on its rule; a rule of
// several actions is edited in the action at the dot.
function editBinding(binding) {
  if (tryIt.active) return;
  const rule = parseRule(editor.value.split('\n')[binding.line]);
  const near = (value, target) => Math.abs(Number(value) - target) < 0.006;
  const segment = Math.max(0, rule?.actions.findIndex((action) => {
    const [x, y] = (action.match(/\(([^)]*)\)/)?.[1] ?? '').split(',');
    return near(x, binding.x) && near(y, binding.y);
  }) ?? 0);
  setAdding(false);
  placer.edit(binding.line, segment);
}

// A double click on a rule line in the text opens the panel on it (the way
// to bindings without a place on the picture: Key, Tilt).
function editLineAtCursor() {
  placer.edit(editor.caretLine - 1, 0);  // a line without a binding: the double click only selects a word
}

function deleteSelected() {
  const binding = state.selected;
  if (!binding) return;
  const changed = deleteBinding(editor.value, binding);
  if (changed === null) {
    report(`Cannot find the rule of ${binding.keys} at (${binding.x}, ${binding.y}) in the text`);
    return;
  }
  state.selected = null;
  edit(changed);
  report(status.textContent || `Deleted the binding of ${binding.keys}`);
}

function setAdding(on) {
  document.body.classList.toggle('adding', on);
  $('add-binding').setAttribute('aria-pressed', String(on));
  if (!on) placer.close();
}

// A click (or a drag) on the screen in "Add binding" mode, or a double
// click, opens the placing panel at that point; with the panel open, it sets
// the binding's points again. A click on a binding's dot edits it instead.
function gestureFrom(down) {
  if (tryIt.active || down.button !== 0 || down.target.closest('.handle')) return;
  if (!document.body.classList.contains('adding') && !placer.open) return;
  const start = picture.percentAt(down);
  if (!picture.insideScreen(start)) return;
  down.preventDefault();
  const surface = $('picture');
  surface.setPointerCapture(down.pointerId);
  const path = [start];
  const move = (event) => path.push(picture.clamp(picture.percentAt(event)));
  const up = (event) => {
    surface.removeEventListener('pointermove', move);
    surface.removeEventListener('pointerup', up);
    const gesture = { start, end: picture.clamp(picture.percentAt(event)), path, screen: screen() };
    if (placer.open) placer.regesture(gesture);
    else placer.start(gesture);
  };
  surface.addEventListener('pointermove', move);
  surface.addEventListener('pointerup', up);
}

function placeAt(event) {
  if (tryIt.active || event.target.closest('.handle')) return;
  const at = picture.percentAt(event);
  if (!picture.insideScreen(at)) return;
  placer.start({ start: at, end: at, path: [at], screen: screen() });
}

function newKeymap() {
  if (!mayDiscard('A new keymap')) return;
  if (tryIt.active) toggleTryIt();
  forgetExample();
  openText('', '');
  setPackage(askPackage());
  setAdding(true);
  if (status.className !== 'error') {
    report('A new keymap: click "Screenshot…" for the game\'s picture, then click where a binding goes');
  }
}

// The example's screenshot and play script belong to the example: the
// author's own keymap starts without them.
function forgetExample() {
  if (!state.example) return;
  state.example = false;
  state.background = '';
  $('script-text').value = '';
  state.steps = null;
}

// A keymap's text, as opened: its file name gives the package when it is one.
function openText(name, content, unsaved = false) {
  if (tryIt.active) toggleTryIt();
  const base = name.replace(/^.*[\\/]/, '').replace(/\.(cfg|txt)$/i, '');
  setPackage(PACKAGE.test(base) ? base : '');
  if (!state.package && base) state.name = `${base}.cfg`;
  timeline.clear();  // the last keymap's
  picture.clearFingers();
  editor.value = content;
  history.reset(content, { unsaved });
  showHistory();
  redraw();
}

function importKeymap(name, content) {
  const result = engine.importKeymap(name, content);
  if (!result.ok) {
    report(result.error);
    return;
  }
  forgetExample();
  openText(name.replace(/\.(json|playmap)$/i, '.cfg'), result.text, true);  // not saved as a keymap yet
  const fields = `${result.fieldsDropped} field${result.fieldsDropped === 1 ? '' : 's'}`;
  report(`Imported ${name}: ${result.converted} converted, ${result.dropped} dropped, ${fields} dropped`);
}

// A screenshot becomes the background only once the browser has read it as
// an image: anything else leaves the background as it was.
function setBackground(file) {
  const url = URL.createObjectURL(file);
  const image = new Image();
  image.onload = () => {  // the screenshot's size is the screen's
    if (state.background.startsWith('blob:')) URL.revokeObjectURL(state.background);
    state.background = url;
    $('screen-width').value = image.naturalWidth;
    $('screen-height').value = image.naturalHeight;
    redraw();
    report(`Screenshot ${file.name}: ${image.naturalWidth} × ${image.naturalHeight}`);
  };
  image.onerror = () => {
    URL.revokeObjectURL(url);
    report(`Cannot use ${file.name} as the screenshot: it is not an image the browser can read`);
  };
  image.src = url;
}

// What a file opens as: a screenshot, an import or a keymap; anything else
// is refused.
function openFile(file) {
  if (file.type.startsWith('image/')) return setBackground(file);
  const importing = /\.(json|playmap)$/i.test(file.name);
  if (!importing && !/\.(cfg|txt)$/i.test(file.name)) {
    report(`Cannot open ${file.name}: it is not a keymap (.cfg), a QtScrcpy or scrcpy-mask keymap (.json), a PlayCover keymap (.playmap) or a screenshot`);
    return;
  }
  if (!mayDiscard(`Opening ${file.name}`)) return;
  return file.text().then((content) => {
    if (importing) importKeymap(file.name, content);
    else {
      forgetExample();
      openText(file.name, content);
    }
  });
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
    state.example = true;
    $('script-text').value = script;
    openText(`${name}.cfg`, keymap);
  } catch (error) {
    report(error.message);
  }
}

function save() {
  if (!state.package) setPackage(askPackage());
  if (!state.package) {
    if (status.className !== 'error') report('Cannot save the keymap without the game\'s package name: it names the file');
    return;
  }
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([editor.value], { type: 'text/plain' }));
  link.download = state.name;
  link.click();
  URL.revokeObjectURL(link.href);
  history.markSaved();
  report(`Saved ${state.name}`);
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

// The author changed the text: a step of the history (keys typed in one go
// join one step), read again soon.
function typed() {
  state.steps = null;
  history.record(editor.value, { typed: true });
  showHistory();
  redrawSoon();
  if (state.keyDown === null) return;
  // A keystroke's cost, what the author waits for: from the key going down
  // (seen on the window before the editor handles it) to the end of the
  // first frame drawn after the change: the editor's work on the key, the
  // page's on the change, and that frame's layout and paint.
  const start = state.keyDown;
  state.keyDown = null;
  requestAnimationFrame(() => setTimeout(() => performance.measure('keystroke', { start, end: performance.now() })));
}
window.addEventListener('keydown', (event) => {
  if (editor.element.contains(event.target)) state.keyDown = event.timeStamp;
}, { capture: true });
$('screen-width').addEventListener('change', redraw);
$('screen-height').addEventListener('change', redraw);
$('open-file').addEventListener('change', (event) => event.target.files[0] && openFile(event.target.files[0]));
$('import-file').addEventListener('change', (event) => event.target.files[0] && openFile(event.target.files[0]));
$('background-file').addEventListener('change', (event) => event.target.files[0] && setBackground(event.target.files[0]));
$('example').addEventListener('change', (event) => {
  const name = event.target.value;
  event.target.value = '';
  if (name && mayDiscard('Opening an example')) openExample(name);
});
$('undo').addEventListener('click', () => stepHistory(true));
$('redo').addEventListener('click', () => stepHistory(false));
window.addEventListener('beforeunload', (event) => {
  if (!history.unsaved) return;
  event.preventDefault();
  event.returnValue = '';
});
$('save').addEventListener('click', save);
$('new-keymap').addEventListener('click', newKeymap);
$('add-binding').addEventListener('click', () => setAdding(!document.body.classList.contains('adding')));
$('delete-binding').addEventListener('click', deleteSelected);
$('picture').addEventListener('pointerdown', gestureFrom);
$('picture').addEventListener('dblclick', (event) => { if (!placer.open) placeAt(event); });
// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo: in the keymap's text too,
// where the page's history is the editor's.
window.addEventListener('keydown', (event) => {
  if (tryIt.active || placer.open || !(event.ctrlKey || event.metaKey) || event.altKey) return;
  if (event.target.closest?.('textarea, input, select')) return;
  const back = event.code === 'KeyZ' && !event.shiftKey;
  if (!back && !(event.code === 'KeyZ' && event.shiftKey) && event.code !== 'KeyY') return;
  event.preventDefault();
  stepHistory(back);
});
window.addEventListener('keydown', (event) => {
  if (tryIt.active || document.body.classList.contains('playing') || placer.open || event.target.closest?.('textarea, input, select, .cm-editor')) return;
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
  text: () => editor.value,
  // The whole text replaced as the author's paste replaces it.
  pasteText: (value) => editor.paste(value),
  bindings: () => state.bindings,
  timeline: () => timeline.lines,
  fingers: () => picture.fingersDown(),
  stopTrying: () => { if (tryIt.active) toggleTryIt(); return state.script; },
  play: onDevice,
};
