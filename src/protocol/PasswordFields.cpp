#include "protocol/PasswordFields.h"

#include "protocol/CommandFrame.h"

#include <algorithm>
#include <initializer_list>

namespace kestrava {

namespace {

constexpr std::size_t kPayloadOffset = 6;

struct Field {
    std::size_t from; // payload offsets
    std::size_t to;
};

struct SecretFrame {
    Byte cls;
    Byte sub;
    std::size_t payloadLength;
    std::initializer_list<Field> fields;
};

// The frames that carry a secret, by their exact payload length: the answers of the setters (a
// status byte) carry none.
const SecretFrame kSecretFrames[] = {
    {'I', 'C', 32, {{0, 32}}},               // remote password digest
    {'G', 'Y', 60, {{0, 60}}},               // old and new WiFi password
    {'G', 'A', 100, {{50, 100}}},            // APN password
    {'G', 'C', 160, {{59, 89}}},             // caster login, short form
    {'G', 'C', 190, {{59, 89}, {160, 190}}}, // caster login, long form (head and tail)
};

} // namespace

std::vector<PasswordFields::Range> PasswordFields::find(const Byte* bytes, std::size_t count) {
    std::vector<Range> ranges;
    if (bytes == nullptr) {
        return ranges;
    }
    for (std::size_t i = 0; i + kPayloadOffset <= count; ++i) {
        if (bytes[i] != CommandFrame::kDollar || bytes[i + 1] != CommandFrame::kDollar) {
            continue;
        }
        const std::size_t length = CommandFrame::payloadLength(bytes + i);
        for (const SecretFrame& secret : kSecretFrames) {
            if (bytes[i + 2] != secret.cls || bytes[i + 3] != secret.sub ||
                length != secret.payloadLength) {
                continue;
            }
            for (const Field& field : secret.fields) {
                const std::size_t from = i + kPayloadOffset + field.from;
                const std::size_t to = std::min(count, i + kPayloadOffset + field.to);
                if (from < to) {
                    ranges.push_back({from, to});
                }
            }
            i += kPayloadOffset + length; // the frame's own bytes hold no further frame
            break;
        }
    }
    return ranges;
}

} // namespace kestrava
