// A colour as the screens and panels name it: red, green and blue, 0..255 each. The logic
// decides colours with it; the windows turn it into a QColor or a style sheet.
#pragma once

namespace corvalo {

struct Color {
    int r = 0, g = 0, b = 0;
    bool operator==(const Color &) const = default;
};

} // namespace corvalo
