#include "ntrip/CasterReply.h"
#include "ntrip/ChunkedBody.h"
#include "ntrip/Sourcetable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

// Reads arbitrary bytes as a caster's answer: its header, a chunked body and a sourcetable.
// Every stream found must name its mount point, and a chunked body can never give more bytes
// than it was made of.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrava;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto end = CasterReply::headerEnd(text)) {
        if (*end > size) {
            std::abort();
        }
        (void)CasterReply::parse(text.substr(0, *end));
    }
    ChunkedBody chunks;
    std::string body;
    chunks.feed(data, size, body);
    if (body.size() > size) {
        std::abort();
    }
    for (const std::string_view table : {text, std::string_view(body)}) {
        const Sourcetable parsed = Sourcetable::parse(table);
        for (const StreamEntry& stream : parsed.streams()) {
            if (stream.mountPoint.empty() || parsed.find(stream.mountPoint) == nullptr) {
                std::abort();
            }
        }
    }
    return 0;
}
