#include "settings/CStdioFileEx.h"

#include <fstream>
#include <sstream>

namespace kestrava {

bool CStdioFileEx::open(const std::filesystem::path& path) {
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    m_atEnd = false;
    m_failed = false;
    if (!*file) {
        m_in.reset();
        return false;
    }
    m_in = std::move(file);
    return true;
}

void CStdioFileEx::openBytes(std::string bytes) {
    m_in = std::make_unique<std::istringstream>(std::move(bytes), std::ios::binary);
    m_atEnd = false;
    m_failed = false;
}

void CStdioFileEx::skip(std::size_t count) {
    for (std::size_t i = 0; i < count && !m_atEnd && m_in; ++i) {
        if (m_in->get() == std::char_traits<char>::eof()) {
            m_atEnd = true;
            m_failed = m_in->bad();
        }
    }
}

bool CStdioFileEx::readUnit(char16_t& unit) {
    if (m_atEnd || !m_in) {
        return false;
    }
    char bytes[2];
    m_in->read(bytes, 2);
    if (m_in->gcount() < 2) {
        // The end of the file, or a single trailing byte that is dropped and ends it.
        m_atEnd = true;
        m_failed = m_in->bad();
        return false;
    }
    unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[0]) |
                                 (static_cast<unsigned char>(bytes[1]) << 8));
    return true;
}

bool CStdioFileEx::readLine(std::u16string& line) {
    line.clear();
    char16_t unit = 0;
    while (line.size() < kMaxLine && readUnit(unit)) {
        line.push_back(unit);
        const auto n = line.size();
        if (n >= 2 && line[n - 2] == u'\r' && line[n - 1] == u'\n') {
            if (n > 2) {
                line.erase(n - 2);
            }
            break;
        }
    }
    return !line.empty();
}

} // namespace kestrava
