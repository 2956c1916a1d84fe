#include "base/format.h"

#include <algorithm>
#include <fmt/printf.h>

namespace Keyweave {
namespace {

// A UTF-16 string argument, printed as UTF-8.
struct Utf16Argument {
    const WideChar* text;
};

}  // namespace
}  // namespace Keyweave

template <>
struct fmt::printf_formatter<Keyweave::Utf16Argument> {
    template <typename ParseContext>
    constexpr auto parse(ParseContext& context) {
        return context.begin();
    }

    template <typename FormatContext>
    auto format(const Keyweave::Utf16Argument& argument, FormatContext& context) const {
        auto out = context.out();
        if (argument.text == nullptr) {
            for (const char c : std::string_view("(null)")) *out++ = c;
        } else {
            Keyweave::ForEachUtf8Byte(Keyweave::WideStringView(argument.text), [&](char byte) { *out++ = byte; });
        }
        return out;
    }
};

namespace Keyweave {
namespace {

using Context = fmt::printf_context;
using Kind = FormatArgument::Kind;

// {fmt}'s own argument for one of ours. A UTF-16 string is kept in `utf16`,
// which must outlive the formatting.
fmt::basic_format_arg<Context> ToFmt(const FormatArgument& argument, Utf16Argument& utf16) {
    using fmt::detail::make_arg;
    switch (argument.kind()) {
        case Kind::kInt:
            return make_arg<Context>(argument.integer());
        case Kind::kUnsigned:
            return make_arg<Context>(argument.natural());
        case Kind::kLongLong:
            return make_arg<Context>(argument.longInteger());
        case Kind::kUnsignedLongLong:
            return make_arg<Context>(argument.longNatural());
        case Kind::kBool:
            return make_arg<Context>(argument.boolean());
        case Kind::kChar:
            return make_arg<Context>(argument.character());
        case Kind::kFloat:
            return make_arg<Context>(argument.single());
        case Kind::kDouble:
            return make_arg<Context>(argument.real());
        case Kind::kLongDouble:
            return make_arg<Context>(argument.longReal());
        case Kind::kText:
            return make_arg<Context>(argument.text());
        case Kind::kView:
            return make_arg<Context>(argument.view());
        case Kind::kPointer:
            return make_arg<Context>(argument.pointer());
        case Kind::kUtf16:
            utf16.text = argument.utf16();
            return make_arg<Context>(utf16);
    }
    return {};
}

}  // namespace

size_t FormatInto(char* buffer, size_t size, const char* format, FormatArguments arguments) {
    const size_t room = size == 0 ? 0 : size - 1;
    const size_t count = std::min(arguments.size(), kMostFormatArguments);
    std::array<fmt::basic_format_arg<Context>, kMostFormatArguments> values;
    std::array<Utf16Argument, kMostFormatArguments> utf16{};
    for (size_t i = 0; i < count; ++i) values[i] = ToFmt(arguments[i], utf16[i]);
    size_t length = 0;
    try {
        // Writes straight into the buffer and only counts what does not fit.
        fmt::detail::iterator_buffer<char*, char, fmt::detail::fixed_buffer_traits> out(buffer, room);
        fmt::detail::vprintf(out, fmt::string_view(format),
                             fmt::basic_format_args<Context>(values.data(), static_cast<int>(count)));
        length = out.count();
    } catch (const fmt::format_error& error) {
        return Format(buffer, size, "Cannot format \"%s\": %s", format, error.what());
    }
    if (size != 0) buffer[std::min(length, room)] = '\0';
    return length;
}

}  // namespace Keyweave
