#include "emulator/ReceiverSettings.h"

#include <cstring>

namespace kestrava {

namespace {

constexpr Byte kOk = 0;
constexpr Byte kRefused = 1;

void putText(Bytes& out, std::size_t at, const char* text, std::size_t width) {
    for (std::size_t i = 0; i < width && text[i] != 0; ++i) {
        out[at + i] = static_cast<Byte>(text[i]);
    }
}

Bytes status(Byte value) {
    return Bytes{value};
}

} // namespace

ReceiverSettings::ReceiverSettings(const ReceiverProfile& profile)
    : m_profile(profile), m_netParams(kNetParamsShort, 0), m_apn(kApnSize, 0) {
    // A caster link to 192.168.1.20:2101, mount point "BASE01", login "user:pass".
    m_netParams[0] = 1;
    m_netParams[2] = 0x04;
    m_netParams[3] = 0xD2; // group 1234
    m_netParams[4] = 56;
    m_netParams[5] = 7;
    m_netParams[6] = 192;
    m_netParams[7] = 168;
    m_netParams[8] = 1;
    m_netParams[9] = 20;
    m_netParams[10] = 0x08;
    m_netParams[11] = 0x35; // 2101
    putText(m_netParams, 13, "13800000000", 16);
    putText(m_netParams, 29, "cmnet", 30);
    putText(m_netParams, 59, "dXNlcjpwYXNz", 30);
    putText(m_netParams, 89, "BASE01", 30);
    putText(m_apn, 0, "apnuser", 50);
    putText(m_apn, 50, "apnpass", 50);
    m_voiceBlock[0] = 1;
    m_voiceBlock[1] = profile.recording ? 1 : 0;
    m_voiceBlock[31] = 7;
}

Bytes ReceiverSettings::mainInfo() const {
    Bytes info(kMainInfoSize, 0);
    putText(info, 0, m_profile.serialNumber.c_str(), 8);
    info[13] = m_profile.version;
    info[14] = m_profile.receiverType;
    info[15] = m_profile.eFlag ? 0 : 1;
    info[16] = m_profile.byte16;
    info[17] = m_profile.boardCode();
    info[19] = m_profile.gprsModule;
    info[21] = m_profile.sFlag ? 1 : 0;
    info[37] = m_profile.moduleFirmware;
    info[38] = m_profile.moduleHardware;
    return info;
}

std::optional<Bytes> ReceiverSettings::handle(Byte cls, Byte sub, const Bytes& payload) {
    const std::size_t length = payload.size();
    const auto command = static_cast<unsigned>((cls << 8) | sub);
    constexpr auto key = [](char c, char s) { return static_cast<unsigned>((c << 8) | s); };
    switch (command) {
    case key('V', 'C'):
        return mainInfo();
    case key('G', 'C'):
        if (length == 0) {
            return m_netParams;
        }
        if (length != kNetParamsShort && length != kNetParamsLong) {
            return status(kRefused);
        }
        m_netParams = payload;
        return status(kOk);
    case key('G', 'A'):
        if (length == 0) {
            return m_apn;
        }
        if (length != kApnSize) {
            return status(kRefused);
        }
        m_apn = payload;
        return status(kOk);
    case key('G', 'Y'): {
        if (length != 60) {
            return status(1);
        }
        const ByteString old(reinterpret_cast<const char*>(payload.data()),
                             strnlen(reinterpret_cast<const char*>(payload.data()), 30));
        if (old != kWifiOldPassword) {
            return status(3);
        }
        if (m_profile.wifiResult == 0) {
            m_wifiPassword.assign(reinterpret_cast<const char*>(payload.data()) + 30,
                                  strnlen(reinterpret_cast<const char*>(payload.data()) + 30, 30));
        }
        return status(m_profile.wifiResult);
    }
    case key('I', 'C'):
        if (length != 32) {
            return status(kRefused);
        }
        m_remoteDigest.assign(payload.begin(), payload.end());
        return status(kOk);
    case key('F', 'J'):
        if (length == 0) {
            return Bytes(m_collect.begin(), m_collect.end());
        }
        if (length != 2 || payload[0] == 0 || payload[1] > 90) {
            return status(kRefused);
        }
        m_collect = {payload[0], payload[1]};
        return status(kOk);
    case key('F', 'E'):
        if (length == 0) {
            return status(m_storeLocation);
        }
        m_storeLocation = payload[0] == 1 ? 1 : 0;
        return status(kOk);
    case key('F', 'K'):
        if (length == 0) {
            return Bytes(m_naming.begin(), m_naming.end());
        }
        if (length != 4) {
            return status(kRefused);
        }
        std::memcpy(m_naming.data(), payload.data(), 4);
        return status(kOk);
    case key('I', 'K'):
        if (length == 0) {
            return Bytes(m_voiceBlock.begin(), m_voiceBlock.end());
        }
        if (length != kVoiceBlockSize || payload[31] < 1 || payload[31] > 10) {
            return status(kRefused);
        }
        std::memcpy(m_voiceBlock.data(), payload.data(), kVoiceBlockSize);
        return status(kOk);
    case key('V', 'V'):
        if (length == 1) {
            return Bytes{0x01, static_cast<Byte>(m_staticVoice ? 1 : 0)};
        }
        if (length != 2 || payload[1] > 1) {
            return status(kRefused);
        }
        m_staticVoice = payload[1] == 1;
        return status(kOk);
    case key('S', 'I'):
        if (length != 4) {
            return std::nullopt;
        }
        if (payload[2] == 0xAA) {
            m_voiceOn = true;
        } else if (payload[2] == 0x55) {
            m_voiceOn = false;
        } else if (payload[2] == 0xBB) {
            m_staticVoice = false;
        } else {
            return std::nullopt;
        }
        return payload;
    case key('G', 'F'):
        if (length == 0) {
            return Bytes{m_bands[0], m_bands[1], m_profile.gprsModule};
        }
        if (length != 2) {
            return status(kRefused);
        }
        m_bands = {payload[0], payload[1]};
        return status(kOk);
    default:
        return std::nullopt;
    }
}

} // namespace kestrava
