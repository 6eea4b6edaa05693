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

std::u16string_view valueOf(std::u16string_view line) {
    auto text = trimmed(line.substr(line.find(u'=') + 1));
    if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

std::u16string_view singleLine(std::u16string_view value) {
    const auto stop = value.find_first_of(std::u16string_view(u"\0\r\n", 3));
    return stop == std::u16string_view::npos ? value : value.substr(0, stop);
}

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

IniDocument::LineInfo IniDocument::classify(std::u16string_view line) {
    LineInfo info;
    if (trimmed(line).empty()) {
        info.kind = LineInfo::Kind::Blank;
    } else if (const auto heading = headingName(line)) {
        info.kind = LineInfo::Kind::Heading;
        info.name = *heading;
    } else if (const auto key = keyName(line)) {
        info.kind = LineInfo::Kind::Key;
        info.name = *key;
    }
    return info;
}

void IniDocument::insertLine(std::size_t at, std::u16string line) {
    auto info = classify(line);
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    m_info.insert(m_info.begin() + static_cast<std::ptrdiff_t>(at), std::move(info));
}

std::optional<IniDocument::SectionSpan> IniDocument::findSection(std::u16string_view section,
                                                                 std::size_t from) const {
    using Kind = LineInfo::Kind;
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
        if (m_info[i].kind == LineInfo::Kind::Key && sameName(m_info[i].name, key)) {
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
    return std::u16string(valueOf(m_lines[*line]));
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
    value = singleLine(value);
    const auto span = findSection(section, 0);
    if (!span) {
        insertLine(m_lines.size(), u"[" + std::u16string(section) + u"]");
        insertLine(m_lines.size(), std::u16string(key) + u"=" + std::u16string(value));
        return;
    }
    if (const auto line = findKey(*span, key)) {
        // Keep the key as the file spells it; only the value changes (the name stays the same).
        m_lines[*line] = m_info[*line].name + u"=" + std::u16string(value);
        return;
    }
    std::size_t after = span->end;
    while (after > span->heading + 1 && m_info[after - 1].kind == LineInfo::Kind::Blank) {
        --after;
    }
    insertLine(after, std::u16string(key) + u"=" + std::u16string(value));
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
