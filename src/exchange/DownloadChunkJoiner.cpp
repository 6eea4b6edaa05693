#include "exchange/DownloadChunkJoiner.h"

namespace kestrava {
namespace {

constexpr std::size_t kHeader = 6; // "$$", 'F', 't', two length bytes
constexpr Byte kFrameHead[] = {0x24, 0x24, 0x46, 0x74};

struct Scan {
    std::size_t frames = 0;
    std::size_t cut = 0; // where the one frame starts that the bytes do not hold whole
    bool cutFrame = false;
};

// How many of "$$Ft" the bytes hold at i (up to 4, fewer only at their end).
std::size_t headMatch(const Bytes& bytes, std::size_t i) {
    std::size_t k = 0;
    while (k < 4 && i + k < bytes.size() && bytes[i + k] == kFrameHead[k]) {
        ++k;
    }
    return k;
}

// Walks the download frames frame by frame, so that a block's own payload is never taken for the
// start of another frame.
Scan scanFrames(const Bytes& bytes) {
    Scan scan;
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        const std::size_t matched = headMatch(bytes, i);
        const bool atEnd = i + matched == size;
        if (matched < 4 && !atEnd) {
            ++i;
            continue;
        }
        if (matched < 4 || size - i < kHeader) {
            // A header cut by the end of the chunk. Before any frame it is the block to wait for;
            // after one, only a dollar pair ("$$") counts, since a lone '$' may begin a sentence.
            if (scan.frames == 0) {
                scan.cut = i;
                scan.cutFrame = true;
                ++scan.frames;
            } else if (size - i >= 2) {
                ++scan.frames;
            }
            return scan;
        }
        ++scan.frames;
        const std::size_t length = bytes[i + 4] | (static_cast<std::size_t>(bytes[i + 5]) << 8);
        const std::size_t frame = length + 9;
        if (length == 0 || frame > DownloadChunkJoiner::kMaxFrame) {
            return scan; // not a data block: the splitter judges it as it stands
        }
        if (i + frame > size) {
            if (scan.frames == 1) {
                scan.cut = i;
                scan.cutFrame = true;
            }
            return scan;
        }
        i += frame;
    }
    return scan;
}

} // namespace

DownloadChunkJoiner::Result DownloadChunkJoiner::join(const std::uint8_t* bytes, std::size_t count,
                                                      Bytes& out) {
    out = std::move(m_kept);
    m_kept.clear();
    out.insert(out.end(), bytes, bytes + count);
    const Scan scan = scanFrames(out);
    if (scan.frames > 1) {
        return Result::SeveralFrames;
    }
    if (!scan.cutFrame) {
        return Result::Ready;
    }
    m_kept.assign(out.begin() + static_cast<std::ptrdiff_t>(scan.cut), out.end());
    out.clear();
    return Result::Held;
}

} // namespace kestrava
