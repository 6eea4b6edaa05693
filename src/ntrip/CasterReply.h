#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestrava {

// What a caster's answer to a request says, from its status line and header.
struct CasterReply {
    enum class Kind {
        Sourcetable, // "SOURCETABLE 200 OK", or HTTP 200 with a sourcetable body
        Stream,      // "ICY 200 OK", or HTTP 200 with the data
        Unauthorized,
        NotFound,
        Other, // any other status
    };

    Kind kind = Kind::Other;
    int status = 0;         // the HTTP status (200 for ICY and SOURCETABLE)
    std::string statusLine; // as received, without its line end
    bool chunked = false;   // Transfer-Encoding: chunked
    std::optional<std::size_t> contentLength;

    // Where the header ends in the bytes received so far: the offset of the body, or nothing
    // while the header is incomplete. An NTRIP 1 "ICY 200 OK" stream starts right after its
    // status line.
    static std::optional<std::size_t> headerEnd(std::string_view received);
    // Reads the header (the bytes before headerEnd's offset).
    static CasterReply parse(std::string_view header);
};

} // namespace kestrava
