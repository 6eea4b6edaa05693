#pragma once

#include "settings/CodePage.h"
#include "settings/IniDocument.h"
#include "settings/IoResult.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrava {

// Reads and writes INI documents in either encoding: a file that starts with FF FE is UTF-16LE
// (a trailing odd byte is ignored), any other file is text in the system code page, converted
// with the caller's `CodePage` (its unchanged lines are written back byte for byte). A document
// is written back in the encoding it was read in.
class IniFile {
public:
    enum class LoadState { Loaded, Missing, Unreadable };

    // Reads `path` into `document`. A missing or unreadable file leaves `document` empty.
    static LoadState load(const std::filesystem::path& path, const CodePage& codePage,
                          IniDocument& document);

    // Writes `document` to `path` in one atomic replacement (see WriteFileAtomically: through a
    // symbolic link, and never over a read-only file).
    static IoResult save(const std::filesystem::path& path, const IniDocument& document,
                         const CodePage& codePage);

    static IniDocument decode(std::string_view bytes, const CodePage& codePage);
    static std::string encode(const IniDocument& document, const CodePage& codePage);
};

} // namespace kestrava
