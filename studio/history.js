// The keymap's history: every edit, typed or made on the picture, is the
// whole text after it. Undo and redo walk the list; the text last saved (or
// opened) tells whether there is work to lose.

const MOST_CHARACTERS = 64 * 1024 * 1024;  // oldest steps go past this much text
const TYPING_PAUSE_MS = 800;  // keystrokes closer together are one step

export class History {
  constructor() {
    this.reset('');
  }

  // A new keymap (opened, imported, new): nothing to undo; unsaved only
  // when it is not a file's text (an import).
  reset(text, { unsaved = false } = {}) {
    this.steps = [text];
    this.at = 0;
    this.saved = unsaved ? null : text;
    this.lastTyped = -Infinity;
  }

  get text() { return this.steps[this.at]; }
  get canUndo() { return this.at > 0; }
  get canRedo() { return this.at < this.steps.length - 1; }
  get unsaved() { return this.text !== this.saved; }

  // The text after an edit. Typing (`typed`) joins the step before it when
  // the keys came in one go; anything else is a step of its own.
  record(text, { typed = false, now = performance.now() } = {}) {
    if (text === this.text) return;
    const joins = typed && now - this.lastTyped < TYPING_PAUSE_MS && this.at > 0 && !this.canRedo;
    this.lastTyped = typed ? now : -Infinity;
    this.steps.length = this.at + 1;  // what was undone cannot be redone after a new edit
    if (joins) this.steps[this.at] = text;
    else this.steps.push(text);
    this.at = this.steps.length - 1;
    let size = this.steps.reduce((sum, step) => sum + step.length, 0);
    while (size > MOST_CHARACTERS && this.at > 1) {
      size -= this.steps.shift().length;
      --this.at;
    }
  }

  // The text one step back (or forward), or null when there is none.
  undo() {
    if (!this.canUndo) return null;
    this.lastTyped = -Infinity;
    return this.steps[--this.at];
  }

  redo() {
    if (!this.canRedo) return null;
    this.lastTyped = -Infinity;
    return this.steps[++this.at];
  }

  markSaved() { this.saved = this.text; }
}
