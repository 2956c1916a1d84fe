#pragma once
// UTF-16 strings as the host passes them (file paths), and their conversion.

#include <string>
#include <string_view>

#include "keyweave/keyweave.h"

namespace Keyweave {

using WideChar = KeyweaveChar16;
using WideString = std::basic_string<WideChar>;
using WideStringView = std::basic_string_view<WideChar>;

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(WideStringView text);
// UTF-8 to UTF-16; a malformed byte becomes U+FFFD.
WideString ToWide(std::string_view text);

// A host string that may be null.
inline WideString WideFromHost(const WideChar* text) { return text ? WideString(text) : WideString(); }

}  // namespace Keyweave
