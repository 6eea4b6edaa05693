#include "exchange/DownloadChunkJoiner.h"

namespace kestrava {
namespace {

constexpr std::size_t kHeader = 6; // "$$", 'F', 't', two length bytes

// Where the first download frame starts that the bytes do not hold whole, or size when there
// is none.
std::size_t cutFrameStart(const Bytes& bytes) {
    const std::size_t size = bytes.size();
    for (std::size_t i = 0; i < size; ++i) {
        // Match as much of "$$Ft" as the bytes still hold.
        const Byte header[] = {0x24, 0x24, 0x46, 0x74};
        bool match = true;
        for (std::size_t k = 0; k < 4 && i + k < size && match; ++k) {
            match = bytes[i + k] == header[k];
        }
        if (!match) {
            continue;
        }
        if (size - i < kHeader) {
            return i; // the header itself is cut
        }
        const std::size_t length = bytes[i + 4] | (static_cast<std::size_t>(bytes[i + 5]) << 8);
        const std::size_t frame = length + 9;
        if (length == 0 || frame > DownloadChunkJoiner::kMaxFrame) {
            return size; // not a data block: the splitter judges it as it stands
        }
        return i + frame > size ? i : size;
    }
    return size;
}

} // namespace

bool DownloadChunkJoiner::join(const std::uint8_t* bytes, std::size_t count, Bytes& out) {
    out = std::move(m_kept);
    m_kept.clear();
    out.insert(out.end(), bytes, bytes + count);
    const std::size_t cut = cutFrameStart(out);
    if (cut == out.size()) {
        return true;
    }
    m_kept.assign(out.begin() + static_cast<std::ptrdiff_t>(cut), out.end());
    out.clear();
    return false;
}

} // namespace kestrava
