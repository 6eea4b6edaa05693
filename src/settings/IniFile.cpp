#include "settings/IniFile.h"

#include "settings/AtomicFile.h"

#include <fstream>
#include <system_error>

namespace kestrava {

namespace {

bool hasByteOrderMark(std::string_view bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

} // namespace

IniFile::LoadState IniFile::load(const std::filesystem::path& path, const CodePage& codePage,
                                 IniDocument& document) {
    document = IniDocument();
    std::error_code code;
    if (!std::filesystem::exists(path, code)) {
        return code ? LoadState::Unreadable : LoadState::Missing;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    char buffer[4096];
    // istream::read turns a failing read (a folder, a device error) into badbit, never a throw.
    while (in) {
        in.read(buffer, sizeof buffer);
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (!in.is_open() || in.bad()) {
        return LoadState::Unreadable;
    }
    document = decode(bytes, codePage);
    return LoadState::Loaded;
}

IoResult IniFile::save(const std::filesystem::path& path, const IniDocument& document,
                       const CodePage& codePage) {
    return WriteFileAtomically(path, encode(document, codePage));
}

IniDocument IniFile::decode(std::string_view bytes, const CodePage& codePage) {
    if (!hasByteOrderMark(bytes)) {
        return IniDocument::fromCodePage(bytes, codePage);
    }
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return IniDocument(text, IniEncoding::Utf16Le);
}

std::string IniFile::encode(const IniDocument& document, const CodePage& codePage) {
    if (document.encoding() == IniEncoding::CodePage) {
        return document.codePageBytes(codePage);
    }
    const auto text = document.text();
    std::string bytes("\xFF\xFE");
    bytes.reserve(2 + 2 * text.size());
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

} // namespace kestrava
