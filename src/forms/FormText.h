#pragma once

#include "protocol/ProtocolTypes.h"

#include <QString>

#include <cstddef>
#include <string_view>

namespace kestrava {

// Helpers the forms share for looking at typed texts.
class FormText {
public:
    // The text as the rules of the input checks see it (UTF-16, exactly as typed).
    static std::u16string_view view(const QString& text);
    // The text in the receiver's 8-bit code page, as it will be sent.
    static ByteString bytes(const QString& text);
    // Whether the text fits a field of maxBytes bytes once converted to the 8-bit code page.
    static bool fits(const QString& text, std::size_t maxBytes);
    // Whether the receiver will hold exactly this text: no NUL (a field ends there) and every
    // character representable in the 8-bit code page (no substitute on the way).
    static bool sendable(const QString& text);
};

} // namespace kestrava
