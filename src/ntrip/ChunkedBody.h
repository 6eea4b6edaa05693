#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrava {

// Undoes HTTP/1.1 chunked transfer coding as the bytes arrive: hex size line (extensions after
// ';' ignored), the chunk, CRLF; a zero-size chunk ends the body. A size line that is not hex,
// or one longer than any caster sends, is a broken body.
class ChunkedBody {
public:
    // Appends the body bytes found in the next piece of the transfer to body.
    void feed(const std::uint8_t* bytes, std::size_t count, std::string& body);

    bool finished() const { return m_state == State::Done; }
    bool broken() const { return m_state == State::Broken; }

private:
    enum class State { Size, Data, DataEnd, Trailer, Done, Broken };

    State m_state = State::Size;
    std::string m_line;
    std::size_t m_left = 0;
};

} // namespace kestrava
