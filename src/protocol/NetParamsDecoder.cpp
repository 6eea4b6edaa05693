#include "protocol/NetParamsDecoder.h"

#include "protocol/Base64.h"

#include <array>

namespace kestrava {

namespace {

constexpr std::size_t kLoginOffset = 59;
constexpr std::size_t kShortLoginWidth = 30;
constexpr std::size_t kLongHeadWidth = 28;
constexpr std::size_t kLongTailOffset = 160;
constexpr std::size_t kLongTailWidth = 29;
constexpr std::size_t kLoginTextSize = 60;
constexpr Byte kLongFormMarker = 0xAA;

// Appends width bytes of the payload from offset (zero where the payload ends) at text[at].
void copyField(const FieldReader& payload, std::size_t offset, std::size_t width,
               std::array<Byte, kLoginTextSize>& text, std::size_t at) {
    for (std::size_t i = 0; i < width && at + i < text.size(); ++i) {
        text[at + i] = payload.byte(offset + i);
    }
}

} // namespace

ByteString NetParamsDecoder::loginField(const FieldReader& payload, std::size_t frameLength) {
    std::array<Byte, kLoginTextSize> text{};
    std::size_t length = kLoginTextSize;
    if (frameLength < kLongFormFrame) {
        copyField(payload, kLoginOffset, kShortLoginWidth, text, 0);
        length = kShortLoginWidth;
    } else if (payload.byte(87) == 0 && payload.byte(88) == kLongFormMarker) {
        copyField(payload, kLoginOffset, kLongHeadWidth, text, 0);
        copyField(payload, kLongTailOffset, kLongTailWidth, text, kLongHeadWidth);
    } else {
        copyField(payload, kLoginOffset, kLongTailWidth, text, 0);
    }
    for (Byte& b : text) {
        if (b == 0xFF) {
            b = 0;
        }
    }
    return ByteString(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

void NetParamsDecoder::splitLogin(const ByteString& login, NetParams& params) {
    const std::size_t colon = login.find(':');
    if (colon == ByteString::npos) {
        params.vrsName.clear();
        params.vrsPassword = login;
    } else {
        params.vrsName = login.substr(0, colon);
        params.vrsPassword = login.substr(colon + 1);
    }
}

std::optional<NetParams> NetParamsDecoder::decode(const FieldReader& payload,
                                                  std::size_t frameLength) {
    if (!payload.has(0, kMinPayload)) {
        return std::nullopt;
    }
    NetParams params;
    params.netMode = payload.byte(0);
    params.communicationMode = payload.byte(1);
    params.groupId1 = static_cast<std::int32_t>(payload.bigEndian16(2));
    params.groupId2 = payload.byte(4);
    params.userId = payload.byte(5);
    for (std::size_t i = 0; i < params.ip.size(); ++i) {
        params.ip[i] = payload.byte(6 + i);
    }
    params.port = static_cast<std::int32_t>(payload.bigEndian16(10));
    params.phoneNumber = payload.text(13, 16);
    params.apnName = payload.text(29, 30);
    params.sourceNode = payload.text(89, 30);
    params.isUrl = payload.byte(119) != 0;
    params.url = payload.text(120, 40);
    splitLogin(Base64::decode(std::string_view(loginField(payload, frameLength))), params);
    return params;
}

} // namespace kestrava
