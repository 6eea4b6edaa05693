#pragma once

#include "emulator/ReceiverProfile.h"
#include "protocol/ProtocolTypes.h"

#include <array>
#include <optional>

namespace kestrava {

// The receiver's own settings and the dollar commands that read and set them. A set changes the
// state that the matching read returns. Answers are reply payloads (the reply frame has the
// command's class and sub bytes); nothing means the receiver does not answer.
class ReceiverSettings {
public:
    static constexpr std::size_t kMainInfoSize = 40;
    static constexpr std::size_t kNetParamsShort = 160;
    static constexpr std::size_t kNetParamsLong = 190;
    static constexpr std::size_t kApnSize = 100;
    static constexpr std::size_t kVoiceBlockSize = 32;
    static constexpr char kWifiOldPassword[] = "mvkqzjtrwplxbfhnyagcsuodie";

    explicit ReceiverSettings(const ReceiverProfile& profile);

    std::optional<Bytes> handle(Byte cls, Byte sub, const Bytes& payload);

    Bytes mainInfo() const;
    const Bytes& netParams() const { return m_netParams; }
    const Bytes& apn() const { return m_apn; }
    const ByteString& wifiPassword() const { return m_wifiPassword; }
    const ByteString& remoteDigest() const { return m_remoteDigest; }
    const std::array<Byte, 2>& collect() const { return m_collect; }
    Byte storeLocation() const { return m_storeLocation; }
    const std::array<Byte, 4>& naming() const { return m_naming; }
    const std::array<Byte, kVoiceBlockSize>& voiceBlock() const { return m_voiceBlock; }
    bool staticVoice() const { return m_staticVoice; }
    bool voiceOn() const { return m_voiceOn; }
    const std::array<Byte, 2>& bands() const { return m_bands; }

private:
    const ReceiverProfile& m_profile;
    Bytes m_netParams;
    Bytes m_apn;
    ByteString m_wifiPassword = "kestrava01";
    ByteString m_remoteDigest;
    std::array<Byte, 2> m_collect = {1, 10};
    Byte m_storeLocation = 1;
    std::array<Byte, 4> m_naming = {'K', '0', '0', '1'};
    std::array<Byte, kVoiceBlockSize> m_voiceBlock{};
    bool m_staticVoice = true;
    bool m_voiceOn = true;
    std::array<Byte, 2> m_bands = {0, 0};
};

} // namespace kestrava
