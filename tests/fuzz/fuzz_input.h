#pragma once
// Reads values off a fuzz input, front to back. Past the end every read gives
// zero, so any input, however short, decodes to something.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace Keyweave::Fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return position_ >= size_; }

    uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }
    bool Bit() { return (Byte() & 1) != 0; }
    // Little-endian; the low part is read first.
    uint16_t Word() {
        const uint8_t low = Byte();
        return static_cast<uint16_t>(low | Byte() << 8);
    }
    uint32_t Dword() {
        const uint16_t low = Word();
        return low | static_cast<uint32_t>(Word()) << 16;
    }
    int32_t Int() { return static_cast<int32_t>(Dword()); }

    // A screen fraction: mostly inside 0..1 in steps of 1/200, sometimes just
    // outside it, and now and then a value no host should send.
    float Fraction() {
        const uint8_t byte = Byte();
        if (byte <= 200) return static_cast<float>(byte) / 200.0f;
        switch (byte) {
            case 250:
                return std::numeric_limits<float>::quiet_NaN();
            case 251:
                return std::numeric_limits<float>::infinity();
            case 252:
                return -std::numeric_limits<float>::infinity();
            case 253:
                return std::numeric_limits<float>::max();
            case 254:
                return -1e9f;
            case 255:
                return std::numeric_limits<float>::denorm_min();
            default:
                return static_cast<float>(byte - 225) / 20.0f;  // -1.2 ... 1.2
        }
    }

    // A 32-bit count: mostly small, sometimes any value at all.
    uint32_t Count() {
        const uint8_t byte = Byte();
        return byte < 0xF0 ? byte * 4u : Dword();
    }

    // The next `length`-prefixed run of bytes (a 16-bit length), cut short at
    // the end of the input.
    std::string_view Chunk() {
        const size_t wanted = Word();
        const size_t length = wanted < size_ - position_ ? wanted : size_ - position_;
        const std::string_view chunk(reinterpret_cast<const char*>(data_ + position_), length);
        position_ += chunk.size();
        return chunk;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

}  // namespace Keyweave::Fuzz
