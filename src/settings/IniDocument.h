#pragma once

#include "settings/CodePage.h"

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
// A document read from code-page bytes keeps each line's bytes as they were read; while a line
// is unchanged those bytes are what is written back, so text that the code page cannot convert
// (bytes of another code page, invalid sequences) survives a save exactly.
class IniDocument {
public:
    // The profile functions' buffer for one value: 199 characters and the terminator.
    static constexpr std::size_t kValueBuffer = 200;

    // What a line is: ';' starts a comment; a line that is none of these is Other.
    enum class LineKind { Blank, Comment, Heading, Key, Other };

    IniDocument() = default;
    explicit IniDocument(std::u16string_view text, IniEncoding encoding = IniEncoding::CodePage);

    // The document of a file in the code page, each line keeping its bytes. A leading UTF-8
    // byte-order mark is no part of the first line and is written back as it was.
    static IniDocument fromCodePage(std::string_view bytes, const CodePage& codePage);

    // The file bytes of the document in the code page: unchanged lines as they were read, every
    // other line converted, each line ending in CR LF.
    std::string codePageBytes(const CodePage& codePage) const;

    IniEncoding encoding() const { return m_encoding; }
    void setEncoding(IniEncoding encoding) { m_encoding = encoding; }

    // The value of `key` in `section`, trimmed and unquoted, or nothing when either is missing.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;

    // The value or `fallback`, cut to `buffer` - 1 characters as a caller's buffer would cut it.
    std::u16string readString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view fallback,
                              std::size_t buffer = kValueBuffer) const;

    // The value of `key` in `section` as the bytes the file holds (trimmed and unquoted as
    // value() is), when that line was read from code-page bytes and is unchanged.
    std::optional<std::string> valueBytes(std::u16string_view section,
                                          std::u16string_view key) const;

    // Sets `key` in `section` to `value`. A value is one line of text: it ends at its first NUL,
    // CR or LF, so no value can break the file into further keys or sections.
    void writeString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value);

    // writeString for a value in code-page bytes: a code-page document writes the bytes as they
    // stand (so they survive exactly), a UTF-16 document their conversion.
    void writeBytes(std::u16string_view section, std::u16string_view key, std::string_view value,
                    const CodePage& codePage);

    // Removes every section named `section`: its heading and all lines up to the next heading.
    void deleteSection(std::u16string_view section);

    bool hasSection(std::u16string_view section) const;

    // The whole file text, every line ending in CR LF.
    std::u16string text() const;

    const std::vector<std::u16string>& lines() const { return m_lines; }

    // Line by line, for readers that check a whole file; `index` counts from 0.
    LineKind lineKind(std::size_t index) const { return m_info[index].kind; }
    // The section name of a heading, the key name of a key line.
    const std::u16string& lineName(std::size_t index) const { return m_info[index].name; }
    // The value of a key line, as value() reads it.
    std::u16string lineValue(std::size_t index) const;
    // The same as code-page bytes: as the file holds them when kept, else converted.
    std::string lineValueBytes(std::size_t index, const CodePage& codePage) const;
    // The whole line as code-page bytes, for messages.
    std::string lineBytes(std::size_t index, const CodePage& codePage) const;

private:
    // What a line is, worked out once when the line enters the document, and the bytes it was
    // read as (while it is unchanged).
    struct LineInfo {
        LineKind kind = LineKind::Other;
        std::u16string name; // section name of a heading, key name of a key line
        std::optional<std::string> bytes;
    };

    static LineInfo classify(std::u16string_view line);
    void insertLine(std::size_t at, std::u16string line,
                    std::optional<std::string> bytes = std::nullopt);
    void setKey(std::u16string_view section, std::u16string_view key, std::u16string_view value,
                std::optional<std::string_view> bytes, const CodePage* codePage);

    struct SectionSpan {
        std::size_t heading; // index of the "[...]" line
        std::size_t end;     // one past the section's last line
    };

    std::optional<SectionSpan> findSection(std::u16string_view section, std::size_t from) const;
    std::optional<std::size_t> findKey(const SectionSpan& span, std::u16string_view key) const;

    std::vector<std::u16string> m_lines;
    std::vector<LineInfo> m_info; // parallel to m_lines
    IniEncoding m_encoding = IniEncoding::CodePage;
    std::string m_byteOrderMark; // a UTF-8 mark before the first line of a code-page file
};

} // namespace kestrava
