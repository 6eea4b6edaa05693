#include "protocol/StaticCommands.h"

#include "protocol/BuilderSupport.h"
#include "protocol/PayloadWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace kestrava {

namespace {

constexpr std::size_t kNameWidth = 8;

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(kSpace);
    return text.substr(first, last - first + 1);
}

std::string_view withoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

} // namespace

std::size_t ReadCollectParams(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::ReadCollectParams);
}

std::size_t SetCollectParams(Bytes& out, ExpectedReply& expected, Byte intervalSeconds,
                             Byte cutoffDegrees) {
    const std::array<Byte, 2> payload = {intervalSeconds, cutoffDegrees};
    return buildArmedDollar(out, expected, CommandId::SetCollectParams, payload);
}

std::size_t ReadStoreLocation(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::ReadStoreLocation);
}

std::size_t SetStoreLocation(Bytes& out, ExpectedReply& expected, bool storageCard) {
    const std::array<Byte, 1> payload = {static_cast<Byte>(storageCard ? 1 : 0)};
    return buildArmedDollar(out, expected, CommandId::SetStoreLocation, payload);
}

std::size_t ReadFileNaming(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::ReadFileNaming);
}

std::size_t SetFileNaming(Bytes& out, ExpectedReply& expected, const ByteString& prefix,
                          const ByteString& serial) {
    const std::string_view p = trimmed(prefix);
    std::string_view s = trimmed(serial);
    if (s.size() > 3) {
        s = s.substr(0, 3);
    }
    std::array<Byte, 4> payload = {0, '0', '0', '0'};
    if (!p.empty()) {
        payload[0] = static_cast<Byte>(p.front());
    }
    // Right-align the serial in its three characters, '0' in front.
    std::copy(s.begin(), s.end(), payload.begin() + 1 + static_cast<std::ptrdiff_t>(3 - s.size()));
    return buildArmedDollar(out, expected, CommandId::SetFileNaming, payload);
}

std::size_t ReadFileList(Bytes& out, ExpectedReply& expected, Byte firstIndex) {
    const std::array<Byte, 3> payload = {0x08, firstIndex, 0x00};
    return buildArmedDollar(out, expected, CommandId::ReadFileList, payload);
}

std::size_t DeleteFiles(Bytes& out, ExpectedReply& expected, std::span<const ByteString> names) {
    const std::size_t count = std::min(names.size(), kMaxDeleteFiles);
    PayloadWriter p(count * kNameWidth);
    for (std::size_t i = 0; i < count; ++i) {
        p.text(i * kNameWidth, kNameWidth, withoutExtension(names[i]));
    }
    return buildArmedDollar(out, expected, CommandId::DeleteFiles, p.bytes());
}

std::size_t FormatFiles(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::FormatFiles);
}

std::size_t ReadRecordingState(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::ReadRecordingState);
}

std::size_t StartDownload(Bytes& out, ExpectedReply& expected, const ByteString& name) {
    PayloadWriter p(kNameWidth);
    p.text(0, kNameWidth, name);
    return buildArmedDollar(out, expected, CommandId::StartDownload, p.bytes());
}

std::size_t NextDownloadBlock(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::NextDownloadBlock);
}

std::size_t StopDownload(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollarCode(out, expected, CommandId::StopDownload);
}

} // namespace kestrava
