#include "protocol/DollarCommands.h"

#include "protocol/Base64.h"
#include "protocol/BuilderSupport.h"
#include "protocol/Md5.h"
#include "protocol/PayloadWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kestrava {

namespace {

// Layout of the network parameter payload.
constexpr std::size_t kNetPayloadShort = 160;
constexpr std::size_t kNetPayloadLong = 190;
constexpr std::size_t kLoginOffset = 59;
constexpr std::size_t kLoginShortMax = 29;     // characters that fit the short form
constexpr std::size_t kLoginLongMax = 59;      // characters that fit the long form at all
constexpr std::size_t kLoginLongHead = 28;     // characters at offset 59 in the long form
constexpr std::size_t kLoginMarkerOffset = 88; // 0xAA marks the long form
constexpr std::size_t kLoginTailOffset = 160;
constexpr std::size_t kLoginTailWidth = 29; // offset 189 always stays zero
constexpr Byte kLoginLongMarker = 0xAA;

} // namespace

std::size_t ReadMainInfo(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::ReadMainInfo);
}

std::size_t ConnectInternalRadio(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollarCode(out, expected, CommandId::ConnectInternalRadio);
}

std::size_t StartSnrTest(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollarCode(out, expected, CommandId::StartSnrTest);
}

std::size_t StopSnrTest(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollarCode(out, expected, CommandId::StopSnrTest);
}

std::size_t ReadNetModuleBand(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::ReadNetModuleBand);
}

std::size_t SetNetModuleBand(Bytes& out, ExpectedReply& expected, Byte band2g, Byte band3g) {
    const std::array<Byte, 2> payload = {band2g, band3g};
    return buildArmedDollar(out, expected, CommandId::SetNetModuleBand, payload);
}

std::size_t ReadNetParams(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::ReadNetParams);
}

std::size_t SetNetParams(Bytes& out, ExpectedReply& expected, const NetParams& params) {
    ByteString joined = params.vrsName;
    joined += ':';
    joined += params.vrsPassword;
    const ByteString login = Base64::encode(joined);
    if (login.size() > kLoginLongMax) {
        return 0;
    }
    const bool longForm = login.size() > kLoginShortMax;

    PayloadWriter p(longForm ? kNetPayloadLong : kNetPayloadShort);
    p.byte(0, params.netMode);
    p.byte(1, params.communicationMode);
    p.bigEndian16(2, static_cast<std::uint32_t>(params.groupId1));
    p.byte(4, params.groupId2);
    p.byte(5, params.userId);
    if (!params.isUrl) {
        for (std::size_t i = 0; i < params.ip.size(); ++i) {
            p.byte(6 + i, params.ip[i]);
        }
    }
    p.bigEndian16(10, static_cast<std::uint32_t>(params.port));
    p.text(13, 16, params.phoneNumber);
    p.text(29, 30, params.apnName);
    if (longForm) {
        const std::string_view view(login);
        p.text(kLoginOffset, kLoginLongHead, view.substr(0, kLoginLongHead));
        p.byte(kLoginMarkerOffset, kLoginLongMarker);
        p.text(kLoginTailOffset, kLoginTailWidth, view.substr(kLoginLongHead));
    } else {
        p.text(kLoginOffset, kLoginShortMax + 1, login);
    }
    p.text(89, 30, params.sourceNode);
    p.byte(119, params.isUrl ? 1 : 0);
    if (params.isUrl) {
        p.text(120, 30, params.url);
    }
    return buildArmedDollar(out, expected, CommandId::SetNetParams, p.bytes());
}

std::size_t ReadApnParams(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollar(out, expected, CommandId::ReadApnParams);
}

std::size_t SetApnParams(Bytes& out, ExpectedReply& expected, const ByteString& user,
                         const ByteString& password) {
    PayloadWriter p(100);
    p.text(0, 50, user);
    p.text(50, 50, password);
    return buildArmedDollar(out, expected, CommandId::SetApnParams, p.bytes());
}

std::size_t SetWifiPassword(Bytes& out, ExpectedReply& expected, const ByteString& newPassword) {
    return SetWifiPassword(out, expected, ByteString(kWifiOldPasswordText), newPassword);
}

std::size_t SetWifiPassword(Bytes& out, ExpectedReply& expected, const ByteString& oldPassword,
                            const ByteString& newPassword) {
    PayloadWriter p(60);
    p.text(0, 30, oldPassword);
    p.text(30, 30, newPassword);
    buildArmedDollar(out, expected, CommandId::SetWifiPassword, p.bytes());
    // The receiver's WiFi command is written with one trailing zero byte after the frame.
    out.push_back(0x00);
    return out.size();
}

std::size_t SetRemotePassword(Bytes& out, ExpectedReply& expected, const ByteString& password) {
    const std::string digest = Md5::hexDigest(password);
    PayloadWriter p(32);
    p.text(0, 32, digest);
    return buildArmedDollar(out, expected, CommandId::SetRemotePassword, p.bytes());
}

} // namespace kestrava
