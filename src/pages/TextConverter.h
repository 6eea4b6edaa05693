#pragma once

#include "protocol/ProtocolTypes.h"

#include <QString>

#include <functional>

namespace kestrava {

// Converts a text field as the receiver sends it (bytes in its 8-bit code page) into display
// text. The pages never guess an encoding: the owner hands them the converter the exchange uses.
using TextConverter = std::function<QString(const ByteString& bytes)>;

// The system's 8-bit encoding; what a page uses until it is given a converter of its own.
inline QString SystemCodePageText(const ByteString& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Applies `convert`, or the system's 8-bit encoding when `convert` is empty.
inline QString ConvertText(const TextConverter& convert, const ByteString& bytes) {
    return convert ? convert(bytes) : SystemCodePageText(bytes);
}

} // namespace kestrava
