#include "settings/SettingTable.h"

#include "protocol/ReceiverType.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kestrava {

namespace {

template <auto Member>
auto& own(StoredSettings& s) {
    return s.*Member;
}

template <auto Member>
auto& net(StoredSettings& s) {
    return s.net.*Member;
}

template <std::size_t Index>
Byte& ip(StoredSettings& s) {
    return s.net.ip[Index];
}

float& transmit(StoredSettings& s, std::size_t channel) {
    return s.channels[channel].transmit;
}

float& receive(StoredSettings& s, std::size_t channel) {
    return s.channels[channel].receive;
}

using G = SettingGroupId;
using S = SettingStorage;
using C = SettingCompare;
using K = SettingCheck;
using R = SettingReceivers;

constexpr int kChannels = 16;
constexpr const char* kNet = "NetParams";
constexpr const char* kApn = "ANPParams";
constexpr const char* kCollect = "CollectParams";
constexpr const char* kFile = "FileParams";
constexpr const char* kHz = "HZParams";
constexpr const char* kOther = "OtherParams";

// A readable key every receiver has, compared as text and checked by its group's form; the
// builders below change the rest.
SettingKeyRow key(G group, const char* section, const char* name, S storage, const char* firstRun,
                  const char* fallback, StoredField field, const char* help, C compare = C::Text) {
    return {group,   section, name,    storage, firstRun, fallback, {},
            K::Form, help,    compare, true,    R::All,   field,    0};
}
SettingKeyRow ranged(SettingKeyRow row, std::int32_t minimum, std::int32_t maximum,
                     K check = K::Form) {
    row.range = {minimum, maximum};
    row.check = check;
    return row;
}
SettingKeyRow onlyOn(SettingKeyRow row, R receivers) {
    row.receivers = receivers;
    return row;
}
SettingKeyRow setOnly(SettingKeyRow row) {
    row.readable = false;
    return row;
}
SettingKeyRow indexed(SettingKeyRow row, int channels) {
    row.channels = channels;
    return row;
}

// The file's sections in their order, each with its keys in order; the keys the file does not
// keep come last.
const SettingKeyRow kKeys[] = {
    key(G::NetParams, kNet, "APNName", S::Text, "CMNET", "CMNET", &net<&NetParams::apnName>,
        "access point name, at most 30 bytes"),
    ranged(key(G::NetParams, kNet, "CommunicationMode", S::Octet, "0", "0",
               &net<&NetParams::communicationMode>, "0 GPRS, 1 GSM, 2 CDMA", C::Number),
           0, 2, K::Range),
    ranged(key(G::NetParams, kNet, "GroupID1", S::Integer, "1", "1", &net<&NetParams::groupId1>,
               "first four digits of the user group ID, 0-9999 (IntRTK)", C::Number),
           0, 9999, K::Range),
    // Eight bits on the wire: 256-999 would arrive as something else.
    ranged(key(G::NetParams, kNet, "GroupID2", S::Octet, "1", "1", &net<&NetParams::groupId2>,
               "last three digits of the user group ID, 0-255 (IntRTK)", C::Number),
           0, 255, K::RangeAfterForm),
    ranged(key(G::NetParams, kNet, "IP1", S::Octet, "192", "192", &ip<0>,
               "server IPv4 address, first number 0-255 (when isUrl=false)", C::Number),
           0, 255, K::Range),
    ranged(key(G::NetParams, kNet, "IP2", S::Octet, "0", "0", &ip<1>,
               "server IPv4 address, second number 0-255", C::Number),
           0, 255, K::Range),
    ranged(key(G::NetParams, kNet, "IP3", S::Octet, "0", "0", &ip<2>,
               "server IPv4 address, third number 0-255", C::Number),
           0, 255, K::Range),
    ranged(key(G::NetParams, kNet, "IP4", S::Octet, "0", "1", &ip<3>,
               "server IPv4 address, fourth number 0-255", C::Number),
           0, 255, K::Range),
    key(G::NetParams, kNet, "isUrl", S::Switch, "false", "false", &net<&NetParams::isUrl>,
        "true: the server is URL; false: the server is IP1.IP2.IP3.IP4", C::Switch),
    ranged(key(G::NetParams, kNet, "NetMode", S::Octet, "0", "0", &net<&NetParams::netMode>,
               "0 VRS (caster login), 1 IntRTK (group IDs)", C::Number),
           0, 1, K::Range),
    key(G::NetParams, kNet, "phoneNumber", S::Text, "01234567", "01234567",
        &net<&NetParams::phoneNumber>, "dial number (GSM), at most 16 bytes"),
    ranged(key(G::NetParams, kNet, "Port", S::Integer, "2101", "1000", &net<&NetParams::port>,
               "server port, 0-65535 (not checked in GSM mode)", C::Number),
           0, 65535),
    key(G::NetParams, kNet, "SourceNode", S::Text, "RTCM", "", &net<&NetParams::sourceNode>,
        "mount point, at most 30 bytes"),
    key(G::NetParams, kNet, "URL", S::Text, "http://", "http://", &net<&NetParams::url>,
        "server name (when isUrl=true), at most 30 bytes"),
    ranged(key(G::NetParams, kNet, "UserID", S::Octet, "1", "1", &net<&NetParams::userId>,
               "sub group ID, 0-255 (IntRTK)", C::Number),
           0, 255, K::RangeAfterForm),
    key(G::NetParams, kNet, "VRSName", S::Text, "", "", &net<&NetParams::vrsName>,
        "caster user name (VRS; not blank); name and password together at most 41 bytes"),
    key(G::NetParams, kNet, "VRSPassWord", S::Text, "", "", &net<&NetParams::vrsPassword>,
        "caster password (VRS; not blank)"),

    key(G::ApnParams, kApn, "APNUsername", S::Text, "", "", &own<&StoredSettings::apnUserName>,
        "APN user name, at most 50 bytes (may be empty)"),
    key(G::ApnParams, kApn, "APNPassWord", S::Text, "", "", &own<&StoredSettings::apnPassword>,
        "APN password, at most 50 bytes (may be empty)"),

    ranged(key(G::CollectParams, kCollect, "CollecInterval", S::Integer, "1", "1",
               &own<&StoredSettings::collectInterval>, "recording interval in seconds, 1-255",
               C::Number),
           1, 255),
    ranged(key(G::CollectParams, kCollect, "CutOff", S::Integer, "15", "15",
               &own<&StoredSettings::cutOff>, "elevation cut-off in degrees, 0-90", C::Number),
           0, 90),

    onlyOn(key(G::FileParams, kFile, "FilePrefix", S::Text, "", "",
               &own<&StoredSettings::filePrefix>, "empty, or one letter, digit or underscore"),
           R::NotStaticOnly),
    onlyOn(ranged(key(G::FileParams, kFile, "FileSN", S::Text, "000", "",
                      &own<&StoredSettings::fileSn>, "file serial number, 0-999 (at most 3 digits)",
                      C::Number),
                  0, 999),
           R::NotStaticOnly),

    indexed(key(G::RadioChannels, kHz, "HZSend", S::Frequency, nullptr, "0.0", &transmit,
                "transmit frequency of channel %d, MHz as xxx.xxx in steps of 0.025 (reading "
                "connects the internal radio first)",
                C::Frequency),
            kChannels),
    indexed(key(G::RadioChannels, kHz, "HZReceive", S::Frequency, nullptr, "0.0", &receive,
                "receive frequency of channel %d, MHz as xxx.xxx in steps of 0.025", C::Frequency),
            kChannels),
    key(G::AirBaud, kHz, "AirBaud", S::OptionalInteger, nullptr, "", &own<&StoredSettings::airBaud>,
        "internal radio's air baud rate: 9600 or 19200", C::Number),

    ranged(key(G::StoreLocation, kOther, "StaticLocation", S::Octet, "0", "0",
               &own<&StoredSettings::staticLocation>, "1 = SD card, 0 = internal FLASH", C::Number),
           0, 1),
    setOnly(key(G::Program, kOther, "FWType", S::Octet, "0", "0",
                &own<&StoredSettings::firmwareType>, nullptr, C::Number)),
    setOnly(key(G::Program, kOther, "FWPath", S::Text, "", "", &own<&StoredSettings::firmwarePath>,
                nullptr)),
    setOnly(key(G::Nmea, kOther, "NMEA", S::Digits, "0000000000000000", "0010101010101010",
                &own<&StoredSettings::nmea>,
                "NMEA output, 16 digits: port (0 COM1, 1 COM2), clear all first (0/1), then for "
                "GGA, GSV, RMC, GSA, VTG, ZDA, GST on/off (0/1) and rate (0..5: 1, 2, 5, 10, "
                "0.5, 0.2 s)")),
    ranged(key(G::StoreLocation, kOther, "Rinex", S::Octet, "0", "0", &own<&StoredSettings::rinex>,
               "1 = record RINEX as well, 0 = not", C::Number),
           0, 1),
    ranged(key(G::Voice, kOther, "Voice", S::Octet, "2", "0", &own<&StoredSettings::voice>,
               "voice prompt type: 0 disabled, 1 or 2 default voice, 3 user-defined voice",
               C::Number),
           0, 3),
    ranged(key(G::Voice, kOther, "Volume", S::Octet, "10", "10", &own<&StoredSettings::volume>,
               "voice prompt volume, 1 to 10", C::Number),
           1, 10),
    ranged(key(G::StaticVoice, kOther, "StaticVoice", S::OptionalOctet, nullptr, "",
               &own<&StoredSettings::staticVoice>, "1 = static voice prompt on, 0 = off",
               C::Number),
           0, 1),
    key(G::Band, kOther, "Band2G", S::OptionalOctet, nullptr, "", &own<&StoredSettings::band2g>,
        "2G band of the net module: the item index of its list (UC864, HE910, GC864: 0..3; "
        "SL6087: 0..7)",
        C::Number),
    key(G::Band, kOther, "Band3G", S::OptionalOctet, nullptr, "", &own<&StoredSettings::band3g>,
        "3G band of the net module: the item index of its list (UC864: 0..6; HE910: 0..7); 0 is "
        "sent for modules without 3G",
        C::Number),

    onlyOn(setOnly(key(G::Passwords, "Passwords", "Remote", S::None, nullptr, nullptr, {},
                       "remote connection password, letters and digits (sent as its MD5 "
                       "digest)")),
           R::NotStaticOnly),
    onlyOn(setOnly(key(G::Passwords, "Passwords", "Wifi", S::None, nullptr, nullptr, {},
                       "WiFi password, 8-30 letters and digits (WiFi receivers)")),
           R::WithWifi),
};

using Id = CommandId;

// In the order get reads and prints them. The radio's groups come after the receiver's own:
// reading them connects the line through to the internal radio. Write-only settings last: they
// are not in the settings file.
const SettingGroupRow kGroups[] = {
    {G::NetParams, Id::ReadNetParams, Id::SetNetParams},
    {G::ApnParams, Id::ReadApnParams, Id::SetApnParams},
    {G::CollectParams, Id::ReadCollectParams, Id::SetCollectParams},
    {G::FileParams, Id::ReadFileNaming, Id::SetFileNaming},
    {G::StoreLocation, Id::ReadStoreLocation, Id::SetStoreLocation},
    {G::StaticVoice, Id::ReadStaticVoice, Id::SetStaticVoice},
    {G::Band, Id::ReadNetModuleBand, Id::SetNetModuleBand},
    {G::Voice, Id::ReadVoiceBlock, Id::ReadVoiceBlock},
    {G::Nmea, std::nullopt, Id::SetNmeaOutput},
    {G::RadioChannels, Id::ReadRadioChannels, Id::WriteRadioChannels},
    {G::AirBaud, Id::ReadAirBaud, Id::SetAirBaud},
    {G::Passwords, std::nullopt, Id::SetRemotePassword},
    {G::Program, std::nullopt, std::nullopt},
};

bool sameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::span<const SettingKeyRow> SettingTable::keys() {
    return kKeys;
}

std::span<const SettingGroupRow> SettingTable::groups() {
    return kGroups;
}

const SettingGroupRow& SettingTable::group(SettingGroupId id) {
    for (const SettingGroupRow& row : kGroups) {
        if (row.id == id) {
            return row;
        }
    }
    return kGroups[std::size(kGroups) - 1];
}

const SettingKeyRow* SettingTable::find(std::string_view section, std::string_view key) {
    for (const SettingKeyRow& row : kKeys) {
        if (!sameLetters(row.section, section)) {
            continue;
        }
        for (int channel = 0; channel < std::max(row.channels, 1); ++channel) {
            if (sameLetters(keyName(row, channel), key)) {
                return &row;
            }
        }
    }
    return nullptr;
}

std::string SettingTable::keyName(const SettingKeyRow& row, int channel) {
    return row.channels > 0 ? row.key + std::to_string(channel) : std::string(row.key);
}

std::string SettingTable::help(const SettingKeyRow& row, int channel) {
    std::string text = row.help != nullptr ? row.help : "";
    const auto mark = text.find("%d");
    if (row.channels > 0 && mark != std::string::npos) {
        text.replace(mark, 2, std::to_string(channel));
    }
    return text;
}

bool SettingTable::offered(SettingReceivers receivers, Byte typeCode) {
    switch (receivers) {
    case SettingReceivers::All:
        return true;
    case SettingReceivers::NotStaticOnly:
        return !ReceiverType::staticOnly(typeCode);
    case SettingReceivers::WithWifi:
        return ReceiverType::hasWifi(typeCode);
    }
    return false;
}

} // namespace kestrava
