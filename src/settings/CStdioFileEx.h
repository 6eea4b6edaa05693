#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <memory>
#include <string>

namespace kestrava {

// Line reader for UTF-16LE text files. Reads two bytes at a time as one code unit; a line ends
// at a CR LF pair, when it reaches kMaxLine code units, or at the end of the file, and a single
// trailing byte ends the file. The CR LF is removed from a line that has other characters; a
// line of only CR LF is returned as those two characters. No byte-order mark handling of its
// own: callers skip it with skip().
class CStdioFileEx {
public:
    static constexpr std::size_t kMaxLine = 1024;

    CStdioFileEx() = default;

    // Opens a file for reading; false when it cannot be opened.
    bool open(const std::filesystem::path& path);
    // Reads from bytes in memory instead of a file.
    void openBytes(std::string bytes);

    bool isOpen() const { return m_in != nullptr; }

    // Skips `count` bytes (the byte-order mark) without looking at them.
    void skip(std::size_t count);

    // The next line, or false at the end of the file (a read that yields no code unit).
    bool readLine(std::u16string& line);

    // True once a read failed for a reason other than the end of the file.
    bool failed() const { return m_failed; }

private:
    // One code unit, or false at the end of the file or after a short trailing byte.
    bool readUnit(char16_t& unit);

    std::unique_ptr<std::istream> m_in;
    bool m_atEnd = false;
    bool m_failed = false;
};

} // namespace kestrava
