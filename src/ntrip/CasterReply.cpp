#include "ntrip/CasterReply.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace kestrava {
namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::optional<std::size_t> CasterReply::headerEnd(std::string_view received) {
    const std::size_t firstLine = received.find('\n');
    if (firstLine == std::string_view::npos) {
        return std::nullopt;
    }
    // A caster of the first NTRIP version sends the stream right after "ICY 200 OK": header
    // lines some add after it are no RTCM 3 and the framer passes over them.
    if (trimmed(received.substr(0, firstLine)).substr(0, 4) == "ICY ") {
        return firstLine + 1;
    }
    const std::size_t blank = received.find("\r\n\r\n");
    const std::size_t bareBlank = received.find("\n\n");
    if (blank == std::string_view::npos && bareBlank == std::string_view::npos) {
        return std::nullopt;
    }
    return std::min(blank == std::string_view::npos ? received.size() : blank + 4,
                    bareBlank == std::string_view::npos ? received.size() : bareBlank + 2);
}

CasterReply CasterReply::parse(std::string_view header) {
    CasterReply reply;
    const std::size_t firstLine = header.find('\n');
    reply.statusLine = std::string(trimmed(header.substr(0, firstLine)));
    const std::string status = lower(reply.statusLine);
    std::string contentType;
    std::size_t at = firstLine == std::string_view::npos ? header.size() : firstLine + 1;
    while (at < header.size()) {
        std::size_t end = header.find('\n', at);
        if (end == std::string_view::npos) {
            end = header.size();
        }
        const std::string_view line = trimmed(header.substr(at, end - at));
        at = end + 1;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string name = lower(trimmed(line.substr(0, colon)));
        const std::string value = lower(trimmed(line.substr(colon + 1)));
        if (name == "transfer-encoding" && value.find("chunked") != std::string::npos) {
            reply.chunked = true;
        } else if (name == "content-length") {
            char* stop = nullptr;
            const unsigned long long length = std::strtoull(value.c_str(), &stop, 10);
            if (!value.empty() && stop == value.c_str() + value.size()) {
                reply.contentLength = static_cast<std::size_t>(length);
            }
        } else if (name == "content-type") {
            contentType = value;
        }
    }
    if (status.rfind("sourcetable 200", 0) == 0) {
        reply.kind = Kind::Sourcetable;
        reply.status = 200;
    } else if (status.rfind("icy 200", 0) == 0) {
        reply.kind = Kind::Stream;
        reply.status = 200;
    } else if (status.rfind("http/1.", 0) == 0 && status.size() >= 12) {
        reply.status = std::atoi(status.c_str() + 9);
        if (reply.status == 200) {
            reply.kind = contentType.find("sourcetable") != std::string::npos ? Kind::Sourcetable
                                                                              : Kind::Stream;
        } else if (reply.status == 401) {
            reply.kind = Kind::Unauthorized;
        } else if (reply.status == 404) {
            reply.kind = Kind::NotFound;
        }
    }
    return reply;
}

} // namespace kestrava
