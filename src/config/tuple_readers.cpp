#include "config/tuple_readers.h"

#include <utility>

#include "config/number_reading.h"
#include "config/text_utilities.h"

namespace Keyweave::Tuples {
namespace {

Point Percent(float x, float y) { return {x / 100.0f, y / 100.0f}; }

bool RadiusInRange(float radius) { return radius >= 0.0f && radius <= kMaxRadius; }

}  // namespace

bool ReadPoint(std::string_view word, Point& point) {
    float x = 0, y = 0;
    if (Numbers::Scan(word, "(%f,%f)", {x, y}) != 2) return false;
    point = Percent(x, y);
    return true;
}

bool ReadTwoPoints(std::string_view word, Point& first, Point& second) {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (Numbers::Scan(word, "(%f,%f,%f,%f)", {x1, y1, x2, y2}) != 4) return false;
    first = Percent(x1, y1);
    second = Percent(x2, y2);
    return true;
}

bool ReadPointRadius(std::string_view word, Point& point, float& radius) {
    float x = 0, y = 0, r = kDefaultRadius;
    const int count = Numbers::Scan(word, "(%f,%f,%f)", {x, y, r});
    if (count < 2 || !RadiusInRange(r)) return false;
    point = Percent(x, y);
    radius = r;
    return true;
}

bool ReadPointRadiusInteger(std::string_view word, PointRadiusInteger& result) {
    float x = 0, y = 0, r = kDefaultRadius;
    int32_t n = 0;
    const int count = Numbers::Scan(word, "(%f,%f,%f,%d)", {x, y, r, n});
    if (count < 2 || !RadiusInRange(r)) return false;
    result.point = Percent(x, y);
    result.radius = r;
    result.integer = n;
    result.count = count;
    return true;
}

bool ReadTwoPointsValue(std::string_view word, Point& first, Point& second, float& value) {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0, v = 0;
    if (Numbers::Scan(word, "(%f,%f,%f,%f,%f)", {x1, y1, x2, y2, v}) != 5) return false;
    first = Percent(x1, y1);
    second = Percent(x2, y2);
    value = v / 100.0f;
    return true;
}

bool ReadValueList(std::string_view word, std::vector<float>& values) {
    std::string_view list = word;
    if (const size_t open = list.find('('); open != std::string_view::npos) list.remove_prefix(open + 1);
    list = list.substr(0, list.find(')'));
    std::vector<float> read;
    for (std::string_view piece : Text::Split(list, ',')) {
        float value = 0;
        if (Numbers::Scan(piece, "%f", {value}) != 1) return false;
        read.push_back(value);
    }
    values = std::move(read);
    return true;
}

}  // namespace Keyweave::Tuples
