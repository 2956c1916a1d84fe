// The character table: the key, and whether Shift is needed, that types each
// character on a US layout, in the order the characters are registered (a
// later entry for the same character would win). Characters without an entry
// (grave accent, tilde, carriage return, tab...) cannot be typed.
#include <iterator>

#include "codes/key_names.h"

namespace Keyweave {
namespace {

constexpr uint32_t Shifted(uint32_t code) { return code | kCharacterShiftBit; }

constexpr CharacterEntry kCharacters[] = {
    // Digit row, plain and shifted.
    {'1', 2},
    {'2', 3},
    {'3', 4},
    {'4', 5},
    {'5', 6},
    {'6', 7},
    {'7', 8},
    {'8', 9},
    {'9', 10},
    {'0', 11},
    {'!', Shifted(2)},
    {'@', Shifted(3)},
    {'#', Shifted(4)},
    {'$', Shifted(5)},
    {'%', Shifted(6)},
    {'^', Shifted(7)},
    {'&', Shifted(8)},
    {'*', Shifted(9)},
    {'(', Shifted(10)},
    {')', Shifted(11)},
    // Letters: lower case plain, upper case shifted.
    {'q', 16},
    {'w', 17},
    {'e', 18},
    {'r', 19},
    {'t', 20},
    {'y', 21},
    {'u', 22},
    {'i', 23},
    {'o', 24},
    {'p', 25},
    {'Q', Shifted(16)},
    {'W', Shifted(17)},
    {'E', Shifted(18)},
    {'R', Shifted(19)},
    {'T', Shifted(20)},
    {'Y', Shifted(21)},
    {'U', Shifted(22)},
    {'I', Shifted(23)},
    {'O', Shifted(24)},
    {'P', Shifted(25)},
    {'a', 30},
    {'s', 31},
    {'d', 32},
    {'f', 33},
    {'g', 34},
    {'h', 35},
    {'j', 36},
    {'k', 37},
    {'l', 38},
    {'A', Shifted(30)},
    {'S', Shifted(31)},
    {'D', Shifted(32)},
    {'F', Shifted(33)},
    {'G', Shifted(34)},
    {'H', Shifted(35)},
    {'J', Shifted(36)},
    {'K', Shifted(37)},
    {'L', Shifted(38)},
    {'z', 44},
    {'x', 45},
    {'c', 46},
    {'v', 47},
    {'b', 48},
    {'n', 49},
    {'m', 50},
    {'Z', Shifted(44)},
    {'X', Shifted(45)},
    {'C', Shifted(46)},
    {'V', Shifted(47)},
    {'B', Shifted(48)},
    {'N', Shifted(49)},
    {'M', Shifted(50)},
    // Punctuation, plain.
    {'-', 12},
    {'=', 13},
    {'[', 26},
    {']', 27},
    {'\\', 43},
    {';', 39},
    {'\'', 40},
    {',', 51},
    {'.', 52},
    {'/', 53},
    // Punctuation, shifted.
    {'_', Shifted(12)},
    {'+', Shifted(13)},
    {'{', Shifted(26)},
    {'}', Shifted(27)},
    {'|', Shifted(43)},
    {':', Shifted(39)},
    {'"', Shifted(40)},
    {'<', Shifted(51)},
    {'>', Shifted(52)},
    {'?', Shifted(53)},
    {' ', kKeySpace},
    {'\n', kKeyEnter},
    // The engine's own entries for keys without a printable character.
    {kCharacterShift, kKeyShift},
    {kCharacterBackspace, kKeyBackspace},
    {'\x03', kKeyCtrl},
    {'\x04', kKeyAlt},
    {'\x05', kKeyTab},
};
static_assert(std::size(kCharacters) == 99, "the character table has 99 entries");

// The value of a character's latest entry, or kNoKey without one.
uint32_t ValueOf(char character) {
    for (auto row = std::rbegin(kCharacters); row != std::rend(kCharacters); ++row) {
        if (row->character == character) return row->value;
    }
    return kNoKey;
}

}  // namespace

uint32_t CharacterKey(char character) {
    const uint32_t value = ValueOf(character);
    return value == kNoKey ? kNoKey : value & ~kCharacterShiftBit;
}

bool CharacterNeedsShift(char character) {
    const uint32_t value = ValueOf(character);
    return value != kNoKey && (value & kCharacterShiftBit) != 0;
}

std::span<const CharacterEntry> CharacterTable() { return kCharacters; }

}  // namespace Keyweave
