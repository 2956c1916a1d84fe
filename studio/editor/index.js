// The keymap's text: an editor that lays out only the lines in view (a
// megabyte of keymap types as fast as a few lines), with line numbers, the
// diagnostics marked at their lines and their offending text underlined.
// It keeps no history of its own: the page's history is the one for every
// edit, typed or made on the picture.

import { Annotation, EditorState, RangeSet, StateEffect, StateField } from '@codemirror/state';
import { Decoration, EditorView, GutterMarker, keymap, lineNumberMarkers, lineNumbers } from '@codemirror/view';
import { insertNewline, standardKeymap } from '@codemirror/commands';

// Changes the page makes itself (an edit on the picture, undo, a file
// opened): not typing.
const fromPage = Annotation.define();
const setMarks = StateEffect.define();

class LineMark extends GutterMarker {
  constructor(severity) {
    super();
    this.elementClass = severity;
  }

  eq(other) { return other.elementClass === this.elementClass; }
}
const lineMarks = { error: new LineMark('error'), warning: new LineMark('warning') };

// The marks of `items` (line, column, length, severity) in `doc`: a line
// number takes the severity of its last diagnostic, the underline is the
// first one of the line that names its text.
function buildMarks(doc, items) {
  const numbers = new Map(), underlined = new Map();
  for (const item of items) {
    if (item.line < 1 || item.line > doc.lines) continue;
    numbers.set(item.line, item.severity);
    if (item.column && !underlined.has(item.line)) underlined.set(item.line, item);
  }
  const gutter = [...numbers].map(([line, severity]) => (lineMarks[severity] ?? lineMarks.error).range(doc.line(line).from));
  const underlines = [];
  for (const [line, item] of underlined) {
    const { from, to } = doc.line(line);
    const start = Math.min(to, from + item.column - 1), end = Math.min(to, start + item.length);
    if (end <= start) continue;
    underlines.push(Decoration.mark({ tagName: 'mark', class: item.severity, attributes: { 'data-line': String(line) } })
      .range(start, end));
  }
  return { numbers: RangeSet.of(gutter, true), underlines: Decoration.set(underlines, true) };
}

// The marks follow the text as it is edited, until the next diagnostics.
const marks = StateField.define({
  create: () => ({ numbers: RangeSet.empty, underlines: Decoration.none }),
  update(value, transaction) {
    const set = transaction.effects.find((effect) => effect.is(setMarks));
    if (set) return buildMarks(transaction.state.doc, set.value);
    if (!transaction.docChanged) return value;
    return { numbers: value.numbers.map(transaction.changes), underlines: value.underlines.map(transaction.changes) };
  },
  provide: (field) => [lineNumberMarkers.from(field, (value) => value.numbers),
    EditorView.decorations.from(field, (value) => value.underlines)],
});

// The smallest change that turns `before` into `after`: what lies between
// their common start and common end.
function difference(before, after) {
  let start = 0;
  const most = Math.min(before.length, after.length);
  while (start < most && before.charCodeAt(start) === after.charCodeAt(start)) ++start;
  let end = 0;
  while (end < most - start && before.charCodeAt(before.length - 1 - end) === after.charCodeAt(after.length - 1 - end)) ++end;
  return { from: start, to: before.length - end, insert: after.slice(start, after.length - end) };
}

export class KeymapEditor {
  // `onType()`: the author changed the text (typing, pasting, dropping
  // text); `onDoubleClick()`: a double click in the text, the caret on its line.
  constructor(parent, { label, onType, onDoubleClick }) {
    this.view = new EditorView({
      parent,
      state: EditorState.create({
        extensions: [
          lineNumbers(),
          marks,
          // Enter writes a line break alone; Tab is left to the browser, so
          // it moves the focus on instead of staying in the text.
          keymap.of([{ key: 'Enter', run: insertNewline }, ...standardKeymap]),
          EditorView.contentAttributes.of({ id: 'keymap-text', 'aria-label': label, spellcheck: 'false',
            autocorrect: 'off', autocapitalize: 'off' }),
          EditorView.domEventHandlers({
            // A dropped file is the page's to open, not text to insert.
            drop: (event) => event.dataTransfer?.files.length > 0,
            dblclick: () => { onDoubleClick(); return false; },
          }),
          EditorView.updateListener.of((update) => {
            if (update.docChanged && !update.transactions.some((t) => t.annotation(fromPage))) onType();
          }),
        ],
      }),
    });
    this.cached = { doc: null, text: '' };
  }

  get value() {
    const doc = this.view.state.doc;
    if (this.cached.doc !== doc) this.cached = { doc, text: doc.toString() };
    return this.cached.text;
  }

  // The page's own change: only the part that differs is replaced, so the
  // caret and the scroll stay where they were.
  set value(text) {
    const change = difference(this.value, text);
    if (change.from === change.to && change.insert === '') return;
    this.view.dispatch({ changes: change, annotations: fromPage.of(true) });
  }

  // As the author pastes it over the whole text: typing, for the page.
  paste(text) {
    this.view.dispatch({ changes: { from: 0, to: this.view.state.doc.length, insert: text }, userEvent: 'input.paste' });
  }

  get length() { return this.view.state.doc.length; }
  get lineCount() { return this.view.state.doc.lines; }
  // The caret's line, from 1.
  get caretLine() { return this.view.state.doc.lineAt(this.view.state.selection.main.head).number; }
  get element() { return this.view.dom; }

  // Selects the text of a line, or `length` characters of it from `column`
  // (from 1), and shows it.
  selectLine(line, column = 0, length = 0) {
    const doc = this.view.state.doc;
    const { from, to } = doc.line(Math.max(1, Math.min(line, doc.lines)));
    const anchor = column > 0 ? Math.min(to, from + column - 1) : from;
    const head = column > 0 ? Math.min(to, anchor + length) : to;
    this.view.focus();
    this.view.dispatch({ selection: { anchor, head }, effects: EditorView.scrollIntoView(anchor, { y: 'center' }) });
  }

  // The diagnostics to mark: line, column and length (from 1; 0 when the
  // whole line is meant), severity.
  mark(items) {
    this.view.dispatch({ effects: setMarks.of(items) });
  }
}
