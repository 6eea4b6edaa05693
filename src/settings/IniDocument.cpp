#include "settings/IniDocument.h"
#include "settings/TextTrim.h"

namespace kestrava {

namespace {

char16_t foldCase(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool sameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a "[name]" line, or nothing for any other line. A heading without its closing
// bracket names the rest of the line.
std::optional<std::u16string_view> headingName(std::u16string_view line) {
    const auto text = trimmed(line);
    if (text.empty() || text.front() != u'[') {
        return std::nullopt;
    }
    auto name = text.substr(1);
    const auto close = name.find(u']');
    if (close != std::u16string_view::npos) {
        name = name.substr(0, close);
    }
    return trimmed(name);
}

// The key name of a "key=value" line, or nothing for comments and lines without '='.
std::optional<std::u16string_view> keyName(std::u16string_view line) {
    const auto text = trimmed(line);
    if (text.empty() || text.front() == u';') {
        return std::nullopt;
    }
    const auto equals = text.find(u'=');
    if (equals == std::u16string_view::npos) {
        return std::nullopt;
    }
    return trimmed(text.substr(0, equals));
}

bool isSpace(char16_t c) {
    return isTextSpace(c);
}
bool isSpace(char c) {
    return isTextSpace(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

// The value part of a "key=value" line, in characters or in bytes alike: white space trimmed,
// then one pair of surrounding quotes dropped.
template <typename Char>
std::basic_string_view<Char> valueOf(std::basic_string_view<Char> line) {
    auto text = line.substr(line.find(Char('=')) + 1);
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    if (text.size() >= 2 && (text.front() == Char('"') || text.front() == Char('\'')) &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

// A value ends at its first NUL, CR or LF.
template <typename Char>
std::basic_string_view<Char> singleLine(std::basic_string_view<Char> value) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == Char(0) || value[i] == Char('\r') || value[i] == Char('\n')) {
            return value.substr(0, i);
        }
    }
    return value;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

} // namespace

IniDocument::IniDocument(std::u16string_view text, IniEncoding encoding) : m_encoding(encoding) {
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find(u'\n', start);
        const bool last = end == std::u16string_view::npos;
        if (last) {
            end = text.size();
        }
        auto line = text.substr(start, end - start);
        if (!last && !line.empty() && line.back() == u'\r') {
            line.remove_suffix(1);
        }
        insertLine(m_lines.size(), std::u16string(line));
        start = last ? text.size() : end + 1;
    }
}

IniDocument IniDocument::fromCodePage(std::string_view bytes, const CodePage& codePage) {
    IniDocument document;
    document.m_encoding = IniEncoding::CodePage;
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        document.m_byteOrderMark = kUtf8Mark;
        bytes.remove_prefix(kUtf8Mark.size());
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) {
            end = bytes.size();
        }
        auto line = bytes.substr(start, end - start);
        if (!last && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        document.insertLine(document.m_lines.size(), codePage.toUtf16(line), std::string(line));
        start = last ? bytes.size() : end + 1;
    }
    return document;
}

std::string IniDocument::codePageBytes(const CodePage& codePage) const {
    std::string out = m_byteOrderMark;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        out += m_info[i].bytes ? *m_info[i].bytes : codePage.fromUtf16(m_lines[i]);
        out += "\r\n";
    }
    return out;
}

IniDocument::LineInfo IniDocument::classify(std::u16string_view line) {
    LineInfo info;
    const auto text = trimmed(line);
    if (text.empty()) {
        info.kind = LineKind::Blank;
    } else if (const auto heading = headingName(line)) {
        info.kind = LineKind::Heading;
        info.name = *heading;
    } else if (text.front() == u';') {
        info.kind = LineKind::Comment;
    } else if (const auto key = keyName(line)) {
        info.kind = LineKind::Key;
        info.name = *key;
    }
    return info;
}

void IniDocument::insertLine(std::size_t at, std::u16string line,
                             std::optional<std::string> bytes) {
    auto info = classify(line);
    info.bytes = std::move(bytes);
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    m_info.insert(m_info.begin() + static_cast<std::ptrdiff_t>(at), std::move(info));
}

std::optional<IniDocument::SectionSpan> IniDocument::findSection(std::u16string_view section,
                                                                 std::size_t from) const {
    using Kind = LineKind;
    for (std::size_t i = from; i < m_lines.size(); ++i) {
        if (m_info[i].kind != Kind::Heading || !sameName(m_info[i].name, section)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < m_lines.size() && m_info[end].kind != Kind::Heading) {
            ++end;
        }
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::findKey(const SectionSpan& span,
                                                std::u16string_view key) const {
    for (std::size_t i = span.heading + 1; i < span.end; ++i) {
        if (m_info[i].kind == LineKind::Key && sameName(m_info[i].name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::u16string> IniDocument::value(std::u16string_view section,
                                                 std::u16string_view key) const {
    const auto span = findSection(section, 0);
    if (!span) {
        return std::nullopt;
    }
    const auto line = findKey(*span, key);
    if (!line) {
        return std::nullopt;
    }
    return std::u16string(valueOf(std::u16string_view(m_lines[*line])));
}

std::optional<std::string> IniDocument::valueBytes(std::u16string_view section,
                                                   std::u16string_view key) const {
    const auto span = findSection(section, 0);
    if (!span) {
        return std::nullopt;
    }
    const auto line = findKey(*span, key);
    if (!line || !m_info[*line].bytes) {
        return std::nullopt;
    }
    return std::string(valueOf(std::string_view(*m_info[*line].bytes)));
}

std::u16string IniDocument::lineValue(std::size_t index) const {
    return std::u16string(valueOf(std::u16string_view(m_lines[index])));
}

std::string IniDocument::lineValueBytes(std::size_t index, const CodePage& codePage) const {
    if (m_info[index].bytes) {
        return std::string(valueOf(std::string_view(*m_info[index].bytes)));
    }
    return codePage.fromUtf16(lineValue(index));
}

std::string IniDocument::lineBytes(std::size_t index, const CodePage& codePage) const {
    return m_info[index].bytes ? *m_info[index].bytes : codePage.fromUtf16(m_lines[index]);
}

std::u16string IniDocument::readString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view fallback, std::size_t buffer) const {
    auto result = value(section, key).value_or(std::u16string(fallback));
    const std::size_t room = buffer == 0 ? 0 : buffer - 1;
    if (result.size() > room) {
        result.resize(room);
    }
    return result;
}

void IniDocument::writeString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view value) {
    setKey(section, key, singleLine(value), std::nullopt, nullptr);
}

void IniDocument::writeBytes(std::u16string_view section, std::u16string_view key,
                             std::string_view value, const CodePage& codePage) {
    value = singleLine(value);
    if (m_encoding != IniEncoding::CodePage) {
        writeString(section, key, codePage.toUtf16(value));
        return;
    }
    const std::u16string text = codePage.toUtf16(value);
    setKey(section, key, singleLine(std::u16string_view(text)), value, &codePage);
}

void IniDocument::setKey(std::u16string_view section, std::u16string_view key,
                         std::u16string_view value, std::optional<std::string_view> bytes,
                         const CodePage* codePage) {
    // The line's bytes, when the value comes as bytes: the key name converted, the value as is.
    auto lineBytes = [&](std::u16string_view name) -> std::optional<std::string> {
        if (!bytes || codePage == nullptr) {
            return std::nullopt;
        }
        return codePage->fromUtf16(name) + "=" + std::string(*bytes);
    };
    const auto span = findSection(section, 0);
    if (!span) {
        insertLine(m_lines.size(), u"[" + std::u16string(section) + u"]");
        insertLine(m_lines.size(), std::u16string(key) + u"=" + std::u16string(value),
                   lineBytes(key));
        return;
    }
    if (const auto line = findKey(*span, key)) {
        // Keep the key as the file spells it; only the value changes (the name stays the same).
        m_lines[*line] = m_info[*line].name + u"=" + std::u16string(value);
        m_info[*line].bytes = lineBytes(m_info[*line].name);
        return;
    }
    std::size_t after = span->end;
    while (after > span->heading + 1 && m_info[after - 1].kind == LineKind::Blank) {
        --after;
    }
    insertLine(after, std::u16string(key) + u"=" + std::u16string(value), lineBytes(key));
}

void IniDocument::deleteSection(std::u16string_view section) {
    std::size_t from = 0;
    while (const auto span = findSection(section, from)) {
        const auto first = static_cast<std::ptrdiff_t>(span->heading);
        const auto last = static_cast<std::ptrdiff_t>(span->end);
        m_lines.erase(m_lines.begin() + first, m_lines.begin() + last);
        m_info.erase(m_info.begin() + first, m_info.begin() + last);
        from = span->heading;
    }
}

bool IniDocument::hasSection(std::u16string_view section) const {
    return findSection(section, 0).has_value();
}

std::u16string IniDocument::text() const {
    std::u16string out;
    for (const auto& line : m_lines) {
        out += line;
        out += u"\r\n";
    }
    return out;
}

} // namespace kestrava
