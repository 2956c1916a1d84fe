#pragma once
// The four fuzz targets, as plain functions: the libFuzzer entry points call
// them, and so does the regression test that replays the hostile inputs kept
// in tests/fuzz/regressions/. Each runs one input to its end and returns the
// broken invariants it found, one line each; empty when all held. Crashes,
// leaks and undefined behaviour are for the sanitizers to catch.

#include <cstddef>
#include <cstdint>
#include <string>

namespace Keyweave::Fuzz {

// A whole keymap file, loaded the way the engine loads one.
std::string RunKeymapInput(const uint8_t* data, size_t size);

// A whole game-pad database, read for one known pad and for the generic entry.
std::string RunDatabaseInput(const uint8_t* data, size_t size);

// A host session: a fresh engine on a manual clock fed the operations that
// the input decodes to (see engine_target.cpp).
std::string RunEngineInput(const uint8_t* data, size_t size);

// A host calling the exported functions themselves, in any order and with
// any values, on a manual clock (see exports_target.cpp).
std::string RunExportsInput(const uint8_t* data, size_t size);

}  // namespace Keyweave::Fuzz
