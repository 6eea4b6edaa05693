#include "forms/FormText.h"

#include "exchange/TextCodec.h"

namespace kestrava {

std::u16string_view FormText::view(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

ByteString FormText::bytes(const QString& text) {
    return TextCodec::toBytes(text);
}

bool FormText::fits(const QString& text, std::size_t maxBytes) {
    return bytes(text).size() <= maxBytes;
}

bool FormText::sendable(const QString& text) {
    if (text.contains(QChar(u'\0'))) {
        return false;
    }
    return TextCodec::toText(bytes(text)) == text;
}

} // namespace kestrava
