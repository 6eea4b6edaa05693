#pragma once

#include <cstdint>
#include <string>

namespace kestrava {

// The user interface font as the language settings describe it; the GUI turns it into a font
// of this face and height (logical units), normal weight, no italics, underline or strike-out.
struct UiFont {
    std::u16string face;
    std::int32_t height = 0;
    static constexpr int kWeight = 400;

    bool operator==(const UiFont&) const = default;
};

} // namespace kestrava
