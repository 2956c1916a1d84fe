#pragma once
// The parenthesised number tuples of action texts. Each reader takes one word
// such as "(50,80)" and converts percent of the screen to fractions. They log
// nothing: the caller names the failure. Only the count of values converted
// decides success, so a missing closing parenthesis goes unnoticed.

#include <cstdint>
#include <string_view>
#include <vector>

#include "actions/action.h"

namespace Keyweave::Tuples {

// The radius a tuple gets when it gives none.
inline constexpr float kDefaultRadius = 6.0f;
// The largest radius a tuple may give, in percent.
inline constexpr float kMaxRadius = 50.0f;

// "(x,y)": two values.
[[nodiscard]] bool ReadPoint(std::string_view word, Point& point);

// "(x1,y1,x2,y2)": four values.
[[nodiscard]] bool ReadTwoPoints(std::string_view word, Point& first, Point& second);

// "(x,y[,r])": two values, or three with 0 <= r <= 50. The radius stays as
// written (not divided); kDefaultRadius when absent.
[[nodiscard]] bool ReadPointRadius(std::string_view word, Point& point, float& radius);

// "(x,y[,r[,n]])": two, three or four values, with 0 <= r <= 50.
struct PointRadiusInteger {
    Point point;
    float radius = kDefaultRadius;  // as written
    int32_t integer = 0;
    int count = 0;  // how many values were read: 2, 3 or 4
};
[[nodiscard]] bool ReadPointRadiusInteger(std::string_view word, PointRadiusInteger& result);

// "(x1,y1,x2,y2,v)": five values; v is divided by 100 as well.
[[nodiscard]] bool ReadTwoPointsValue(std::string_view word, Point& first, Point& second, float& value);

// A list of numbers as traces and macros write it: the text after the first
// "(" up to the next ")" (from the start when there is no "(", to the end
// when there is no ")"), split at every ",", each piece read as one number.
// The numbers are not converted. False when a piece does not read; an empty
// list is one empty piece, so "()" fails.
[[nodiscard]] bool ReadValueList(std::string_view word, std::vector<float>& values);

}  // namespace Keyweave::Tuples
