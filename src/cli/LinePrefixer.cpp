#include "cli/LinePrefixer.h"

namespace kestrava {

LinePrefixer::LinePrefixer(std::ostream& target, std::mutex& lock, std::string prefix)
    : m_target(target), m_lock(lock), m_prefix(std::move(prefix)) {}

LinePrefixer::~LinePrefixer() {
    if (!m_line.empty()) {
        emitLine(); // a last line without its end still reaches the user
    }
}

LinePrefixer::int_type LinePrefixer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char character = traits_type::to_char_type(c);
    m_line.push_back(character);
    if (character == '\n') {
        emitLine();
    }
    return c;
}

std::streamsize LinePrefixer::xsputn(const char* text, std::streamsize count) {
    for (std::streamsize i = 0; i < count; ++i) {
        overflow(traits_type::to_int_type(text[i]));
    }
    return count;
}

int LinePrefixer::sync() {
    return 0; // lines are written as they end
}

void LinePrefixer::emitLine() {
    if (m_line.back() != '\n') {
        m_line.push_back('\n');
    }
    const std::lock_guard<std::mutex> guard(m_lock);
    m_target << m_prefix << m_line;
    m_target.flush();
    m_line.clear();
}

} // namespace kestrava
