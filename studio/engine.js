// The engine module: the keymap reader, the engine on a manual clock, the
// diagnostics and the importer, compiled to WebAssembly. Every call takes
// and gives text; answers in JSON are parsed here.

export async function loadEngine() {
  const module = await globalThis.KeyweaveStudio();
  const api = {
    create: module.cwrap('kw_new', 'number', []),
    setScreen: module.cwrap('kw_set_screen', null, ['number', 'number', 'number']),
    store: module.cwrap('kw_store', 'string', ['number', 'string', 'string']),
    open: module.cwrap('kw_open', 'string', ['number', 'string', 'string']),
    importKeymap: module.cwrap('kw_import', 'string', ['number', 'string', 'string']),
    play: module.cwrap('kw_play', 'string', ['number', 'string', 'string']),
    liveStart: module.cwrap('kw_live_start', 'string', ['number', 'string']),
    liveLine: module.cwrap('kw_live_line', 'string', ['number', 'string']),
    liveAdvance: module.cwrap('kw_live_advance', null, ['number', 'number']),
    liveNextDue: module.cwrap('kw_live_next_due', 'number', ['number']),
    liveEvents: module.cwrap('kw_live_events', 'string', ['number']),
    liveFinish: module.cwrap('kw_live_finish', 'string', ['number']),
    liveScript: module.cwrap('kw_live_script', 'string', ['number']),
    browserKey: module.cwrap('kw_browser_key', 'string', ['number', 'string']),
  };
  const session = api.create();
  let picture = '';  // the engine sends a picture only when it changed
  return {
    setScreen: (width, height) => api.setScreen(session, width, height),
    // Stores a file (a keymap, a game-pad database) under its name; false when it cannot be.
    store: (name, text) => api.store(session, name, text) !== '',
    // {readable, svg, bindings, diagnostics, unlisted} of the stored keymap.
    open: (name, background) => {
      const result = JSON.parse(api.open(session, name, background || ''));
      if (result.svg === null) result.svg = picture;
      else picture = result.svg;
      return result;
    },
    // A QtScrcpy or scrcpy-mask (JSON) or PlayCover (.playmap) keymap:
    // {ok, text, converted, dropped, fieldsDropped, notes} or {ok: false, error}.
    importKeymap: (name, content) => JSON.parse(api.importKeymap(session, name, content)),
    // {ok, error, events: [{json, text}]}.
    play: (name, script) => JSON.parse(api.play(session, name, script)),
    liveStart: (name) => JSON.parse(api.liveStart(session, name)),
    // '' or why the line cannot be played.
    liveLine: (line) => api.liveLine(session, line),
    liveAdvance: (ms) => api.liveAdvance(session, ms),
    // When the next queued step falls due (ms after the start), or -1.
    liveNextDue: () => api.liveNextDue(session),
    liveEvents: () => JSON.parse(api.liveEvents(session)),
    liveFinish: () => JSON.parse(api.liveFinish(session)),
    liveScript: () => api.liveScript(session),
    // The play script's word for a KeyboardEvent.code, or ''.
    browserKey: (code) => api.browserKey(session, code),
  };
}
