#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava {

// How an INI file is stored: bytes of the system code page, or UTF-16LE after the byte-order
// mark FF FE.
enum class IniEncoding { CodePage, Utf16Le };

// The text of an INI file with the read, write and delete-section operations that the settings
// and language files rely on. The rules are those of the Windows INI profile functions, so files
// written through those functions and files written here are interchangeable:
// - lines are "[Section]" and "key=value"; section and key names match without regard to case
//   (ASCII letters); the first matching section and the first matching key in it count;
// - a read trims white space around the value, then drops one pair of surrounding quotes;
// - a write replaces the value of an existing key in place, otherwise adds the key after the
//   last non-blank line of the section, otherwise adds the section at the end of the file;
// - every other line (comments, unknown lines, other sections) is kept as it stands.
// Lines are read up to LF with one trailing CR removed, and written with CR LF.
class IniDocument {
public:
    // The profile functions' buffer for one value: 199 characters and the terminator.
    static constexpr std::size_t kValueBuffer = 200;

    IniDocument() = default;
    explicit IniDocument(std::u16string_view text, IniEncoding encoding = IniEncoding::CodePage);

    IniEncoding encoding() const { return m_encoding; }
    void setEncoding(IniEncoding encoding) { m_encoding = encoding; }

    // The value of `key` in `section`, trimmed and unquoted, or nothing when either is missing.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;

    // The value or `fallback`, cut to `buffer` - 1 characters as a caller's buffer would cut it.
    std::u16string readString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view fallback,
                              std::size_t buffer = kValueBuffer) const;

    // Sets `key` in `section` to `value`. A value is one line of text: it ends at its first NUL,
    // CR or LF, so no value can break the file into further keys or sections.
    void writeString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value);

    // Removes every section named `section`: its heading and all lines up to the next heading.
    void deleteSection(std::u16string_view section);

    bool hasSection(std::u16string_view section) const;

    // The whole file text, every line ending in CR LF.
    std::u16string text() const;

    const std::vector<std::u16string>& lines() const { return m_lines; }

private:
    // What a line is, worked out once when the line enters the document.
    struct LineInfo {
        enum class Kind { Blank, Heading, Key, Other } kind = Kind::Other;
        std::u16string name; // section name of a heading, key name of a key line
    };

    static LineInfo classify(std::u16string_view line);
    void insertLine(std::size_t at, std::u16string line);

    struct SectionSpan {
        std::size_t heading; // index of the "[...]" line
        std::size_t end;     // one past the section's last line
    };

    std::optional<SectionSpan> findSection(std::u16string_view section, std::size_t from) const;
    std::optional<std::size_t> findKey(const SectionSpan& span, std::u16string_view key) const;

    std::vector<std::u16string> m_lines;
    std::vector<LineInfo> m_info; // parallel to m_lines
    IniEncoding m_encoding = IniEncoding::CodePage;
};

} // namespace kestrava
