// The functions the page calls (through the module's ccall): plain C, text
// in as UTF-8, text out as UTF-8 that stays valid until the next call on the
// same session. A null session or text is taken as empty and answered
// without a crash.

#include <emscripten/emscripten.h>
#include <string>

#include "browser_keys.h"
#include "studio_session.h"

namespace {

using Keyweave::Studio::Session;

// The session and its last answer.
struct Handle {
    Session session;
    std::string answer;
};

std::string Text(const char* text) { return text != nullptr ? text : ""; }

const char* Answer(Handle* handle, std::string text) {
    if (handle == nullptr) return "";
    handle->answer = std::move(text);
    return handle->answer.c_str();
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE Handle* kw_new() { return new Handle; }
EMSCRIPTEN_KEEPALIVE void kw_delete(Handle* handle) { delete handle; }

EMSCRIPTEN_KEEPALIVE void kw_set_screen(Handle* handle, int width, int height) {
    if (handle != nullptr) handle->session.SetScreen(width, height);
}

EMSCRIPTEN_KEEPALIVE const char* kw_store(Handle* handle, const char* name, const char* text) {
    return handle ? Answer(handle, handle->session.Store(Text(name), Text(text))) : "";
}

EMSCRIPTEN_KEEPALIVE const char* kw_open(Handle* handle, const char* name, const char* background) {
    return handle ? Answer(handle, handle->session.Open(Text(name), Text(background))) : "";
}

EMSCRIPTEN_KEEPALIVE const char* kw_import(Handle* handle, const char* name, const char* json) {
    return handle ? Answer(handle, handle->session.Import(Text(name), Text(json))) : "";
}

EMSCRIPTEN_KEEPALIVE const char* kw_play(Handle* handle, const char* name, const char* script) {
    return handle ? Answer(handle, handle->session.Play(Text(name), Text(script))) : "";
}

EMSCRIPTEN_KEEPALIVE const char* kw_live_start(Handle* handle, const char* name) {
    return handle ? Answer(handle, handle->session.LiveStart(Text(name))) : "";
}

EMSCRIPTEN_KEEPALIVE const char* kw_live_line(Handle* handle, const char* line) {
    return handle ? Answer(handle, handle->session.LiveLine(Text(line))) : "";
}

EMSCRIPTEN_KEEPALIVE void kw_live_advance(Handle* handle, double ms) {
    if (handle != nullptr) handle->session.LiveAdvance(ms);
}

EMSCRIPTEN_KEEPALIVE double kw_live_next_due(Handle* handle) {
    return handle != nullptr ? handle->session.LiveNextDue() : -1.0;
}

EMSCRIPTEN_KEEPALIVE const char* kw_live_events(Handle* handle) {
    return handle ? Answer(handle, handle->session.LiveEvents()) : "";
}

EMSCRIPTEN_KEEPALIVE const char* kw_live_finish(Handle* handle) {
    return handle ? Answer(handle, handle->session.LiveFinish()) : "";
}

EMSCRIPTEN_KEEPALIVE const char* kw_live_script(Handle* handle) {
    return handle ? Answer(handle, handle->session.LiveScript()) : "";
}

// The script's word for a browser key ("W", "0x57"), or "" for a key the
// engine has no scan code for.
EMSCRIPTEN_KEEPALIVE const char* kw_browser_key(Handle* handle, const char* code) {
    const uint32_t scanCode = Keyweave::Studio::ScanCodeOfBrowserKey(Text(code));
    return Answer(handle, scanCode == 0 ? std::string() : Keyweave::Studio::ScriptKeyWord(scanCode));
}

}  // extern "C"
