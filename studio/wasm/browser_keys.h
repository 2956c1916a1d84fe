#pragma once
// The browser's keys as the engine knows them: a KeyboardEvent's `code`
// (the key's place on the keyboard, whatever the layout) turned into the PC
// scan code of set 1 that a host hands the engine, 0xE0xx for the keys sent
// with the E0 prefix.

#include <cstdint>
#include <string>
#include <string_view>

namespace Keyweave::Studio {

// 0 for a code without a scan code (media keys, "Fn", "Unidentified").
uint32_t ScanCodeOfBrowserKey(std::string_view code);

// How a play script names the key: its keymap name where it has one that
// reads back as the same code ("W", "Up", "Num5"), else the scan code in
// hexadecimal ("0x57" for F11).
std::string ScriptKeyWord(uint32_t scanCode);

}  // namespace Keyweave::Studio
