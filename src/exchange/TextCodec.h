#pragma once

#include "protocol/ProtocolTypes.h"
#include "settings/CodePage.h"

#include <QString>

namespace kestrava {

// Converts payload text between the receiver's bytes and the user interface's text with the
// system's 8-bit encoding (on Windows the ANSI code page), the one conversion used at the frame
// boundary everywhere in the program.
class TextCodec {
public:
    static QString toText(const ByteString& bytes);
    static ByteString toBytes(const QString& text);

    // The same conversion for the standard-C++ settings library.
    static CodePage codePage();
};

} // namespace kestrava
