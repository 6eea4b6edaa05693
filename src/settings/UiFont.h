#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace kestrava {

// The user interface font as the language settings describe it; the GUI turns it into a font
// of this face and height (logical units), normal weight, no italics, underline or strike-out.
// A height of 0 asks for the platform's default size.
struct UiFont {
    std::u16string face;
    std::int32_t height = 0;
    static constexpr int kWeight = 400;

    // The heights a window can be laid out in; "Size" is a text anyone can edit.
    static constexpr std::int32_t kMinHeight = 8;
    static constexpr std::int32_t kMaxHeight = 72;

    // `height` brought into that range; no positive height (0 or below) is the default size.
    static constexpr std::int32_t saneHeight(std::int32_t height) {
        return height <= 0 ? 0 : std::clamp(height, kMinHeight, kMaxHeight);
    }

    bool operator==(const UiFont&) const = default;
};

} // namespace kestrava
