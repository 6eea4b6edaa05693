#include "settings/SettingsFile.h"

#include "settings/AtomicFile.h"
#include "settings/IniFile.h"
#include "settings/TextNumbers.h"

#include <algorithm>
#include <string>
#include <utility>

namespace kestrava {

namespace {

constexpr std::u16string_view kNet = u"NetParams";
constexpr std::u16string_view kApn = u"ANPParams";
constexpr std::u16string_view kHz = u"HZParams";
constexpr std::u16string_view kCollect = u"CollectParams";
constexpr std::u16string_view kFile = u"FileParams";
constexpr std::u16string_view kOther = u"OtherParams";

std::u16string channelKey(std::u16string_view stem, std::size_t channel) {
    return std::u16string(stem) + DecimalText(static_cast<std::int64_t>(channel));
}

// Reads one section's keys with their fallbacks, cut to the profile buffer.
class SectionReader {
public:
    SectionReader(const IniDocument& document, std::u16string_view section, const CodePage& page)
        : m_document(document), m_section(section), m_page(page) {}

    std::u16string text(std::u16string_view key, std::u16string_view fallback) const {
        return m_document.readString(m_section, key, fallback);
    }
    // A text field keeps the bytes the file holds, whatever the code page makes of them.
    ByteString bytes(std::u16string_view key, std::u16string_view fallback) const {
        if (const auto raw = m_document.valueBytes(m_section, key)) {
            if (m_document.value(m_section, key)->size() < IniDocument::kValueBuffer) {
                return *raw;
            }
        }
        return m_page.fromUtf16(text(key, fallback));
    }
    bool has(std::u16string_view key) const { return m_document.value(m_section, key).has_value(); }
    std::int32_t integer(std::u16string_view key, std::u16string_view fallback) const {
        return LeadingDecimal(text(key, fallback));
    }
    // Byte fields keep the low 8 bits of the number, as storing into the byte does.
    Byte byte(std::u16string_view key, std::u16string_view fallback) const {
        return static_cast<Byte>(static_cast<std::uint32_t>(integer(key, fallback)) & 0xFFu);
    }

private:
    const IniDocument& m_document;
    std::u16string_view m_section;
    const CodePage& m_page;
};

class SectionWriter {
public:
    SectionWriter(IniDocument& document, std::u16string_view section, const CodePage& page)
        : m_document(document), m_section(section), m_page(page) {
        m_document.deleteSection(m_section);
    }

    void text(std::u16string_view key, std::u16string_view value) {
        m_document.writeString(m_section, key, value);
    }
    void bytes(std::u16string_view key, const ByteString& value) {
        m_document.writeBytes(m_section, key, value, m_page);
    }
    void integer(std::u16string_view key, std::int64_t value) { text(key, DecimalText(value)); }
    template <typename Number>
    void optionalInteger(std::u16string_view key, const std::optional<Number>& value) {
        if (value) {
            integer(key, *value);
        }
    }

private:
    IniDocument& m_document;
    std::u16string_view m_section;
    const CodePage& m_page;
};

} // namespace

SettingsFile::SettingsFile(const std::filesystem::path& folder, CodePage codePage)
    : m_path(folder / kFileName), m_codePage(std::move(codePage)) {}

IoResult SettingsFile::load(StoredSettings& settings) const {
    RemoveStaleTemporaries(m_path);
    settings = StoredSettings::firstRunDefaults();
    IniDocument document;
    switch (IniFile::load(m_path, m_codePage, document)) {
    case IniFile::LoadState::Missing:
        return save(settings);
    case IniFile::LoadState::Unreadable:
        read(document, settings);
        return IoResult::failure("Cannot read " + m_path.string());
    case IniFile::LoadState::Loaded:
        break;
    }
    read(document, settings);
    return IoResult::success();
}

IoResult SettingsFile::save(const StoredSettings& settings) const {
    IniDocument document;
    if (IniFile::load(m_path, m_codePage, document) == IniFile::LoadState::Unreadable) {
        // Rewriting would throw away whatever the file holds besides the six sections.
        return IoResult::failure("Cannot read " + m_path.string());
    }
    write(settings, document);
    return IniFile::save(m_path, document, m_codePage);
}

void SettingsFile::read(const IniDocument& document, StoredSettings& s) const {
    const SectionReader net(document, kNet, m_codePage);
    s.net.apnName = net.bytes(u"APNName", u"CMNET");
    s.net.communicationMode = net.byte(u"CommunicationMode", u"0");
    s.net.groupId1 = net.integer(u"GroupID1", u"1");
    s.net.groupId2 = net.byte(u"GroupID2", u"1");
    s.net.ip[0] = net.byte(u"IP1", u"192");
    s.net.ip[1] = net.byte(u"IP2", u"0");
    s.net.ip[2] = net.byte(u"IP3", u"0");
    s.net.ip[3] = net.byte(u"IP4", u"1");
    s.net.isUrl = net.text(u"isUrl", u"false") != u"false";
    s.net.netMode = net.byte(u"NetMode", u"0");
    s.net.phoneNumber = net.bytes(u"phoneNumber", u"01234567");
    s.net.port = net.integer(u"Port", u"1000");
    s.net.sourceNode = net.bytes(u"SourceNode", u"");
    s.net.url = net.bytes(u"URL", u"http://");
    s.net.userId = net.byte(u"UserID", u"1");
    s.net.vrsName = net.bytes(u"VRSName", u"");
    s.net.vrsPassword = net.bytes(u"VRSPassWord", u"");

    const SectionReader apn(document, kApn, m_codePage);
    s.apnUserName = apn.bytes(u"APNUsername", u"");
    s.apnPassword = apn.bytes(u"APNPassWord", u"");

    const SectionReader collect(document, kCollect, m_codePage);
    s.collectInterval = collect.integer(u"CollecInterval", u"1");
    s.cutOff = collect.integer(u"CutOff", u"15");

    const SectionReader file(document, kFile, m_codePage);
    s.filePrefix = file.bytes(u"FilePrefix", u"");
    s.fileSn = file.bytes(u"FileSN", u"");

    const SectionReader hz(document, kHz, m_codePage);
    for (std::size_t i = 0; i < s.channels.size(); ++i) {
        s.channels[i].transmit = LeadingFraction(hz.text(channelKey(u"HZSend", i), u"0.0"));
        s.channels[i].receive = LeadingFraction(hz.text(channelKey(u"HZReceive", i), u"0.0"));
    }
    if (hz.has(u"AirBaud")) {
        s.airBaud = hz.integer(u"AirBaud", u"");
    }

    const SectionReader other(document, kOther, m_codePage);
    s.staticLocation = other.byte(u"StaticLocation", u"0");
    s.firmwareType = other.byte(u"FWType", u"0");
    s.firmwarePath = other.bytes(u"FWPath", u"");
    // Digit by digit: each character is a number of its own; a short text leaves the bytes
    // beyond it as they were.
    const auto nmea = other.text(u"NMEA", u"0010101010101010");
    for (std::size_t i = 0; i < std::min(nmea.size(), s.nmea.bytes.size()); ++i) {
        s.nmea.bytes[i] =
            static_cast<Byte>(static_cast<std::uint32_t>(LeadingDecimal(nmea.substr(i, 1))));
    }
    s.rinex = other.byte(u"Rinex", u"0");
    s.voice = other.byte(u"Voice", u"0");
    s.volume = other.byte(u"Volume", u"10");
    const auto optionalByte = [&other](std::u16string_view key) -> std::optional<Byte> {
        return other.has(key) ? std::optional<Byte>(other.byte(key, u"")) : std::nullopt;
    };
    s.staticVoice = optionalByte(u"StaticVoice");
    s.band2g = optionalByte(u"Band2G");
    s.band3g = optionalByte(u"Band3G");
}

void SettingsFile::write(const StoredSettings& s, IniDocument& document) const {
    {
        SectionWriter net(document, kNet, m_codePage);
        net.bytes(u"APNName", s.net.apnName);
        net.integer(u"CommunicationMode", s.net.communicationMode);
        net.integer(u"GroupID1", s.net.groupId1);
        net.integer(u"GroupID2", s.net.groupId2);
        net.integer(u"IP1", s.net.ip[0]);
        net.integer(u"IP2", s.net.ip[1]);
        net.integer(u"IP3", s.net.ip[2]);
        net.integer(u"IP4", s.net.ip[3]);
        net.text(u"isUrl", s.net.isUrl ? u"true" : u"false");
        net.integer(u"NetMode", s.net.netMode);
        net.bytes(u"phoneNumber", s.net.phoneNumber);
        net.integer(u"Port", s.net.port);
        net.bytes(u"SourceNode", s.net.sourceNode);
        net.bytes(u"URL", s.net.url);
        net.integer(u"UserID", s.net.userId);
        net.bytes(u"VRSName", s.net.vrsName);
        net.bytes(u"VRSPassWord", s.net.vrsPassword);
    }
    {
        SectionWriter apn(document, kApn, m_codePage);
        apn.bytes(u"APNUsername", s.apnUserName);
        apn.bytes(u"APNPassWord", s.apnPassword);
    }
    {
        SectionWriter collect(document, kCollect, m_codePage);
        collect.integer(u"CollecInterval", s.collectInterval);
        collect.integer(u"CutOff", s.cutOff);
    }
    {
        SectionWriter file(document, kFile, m_codePage);
        file.bytes(u"FilePrefix", s.filePrefix);
        file.bytes(u"FileSN", s.fileSn);
    }
    {
        SectionWriter hz(document, kHz, m_codePage);
        for (std::size_t i = 0; i < s.channels.size(); ++i) {
            hz.text(channelKey(u"HZSend", i), FixedSixText(s.channels[i].transmit));
            hz.text(channelKey(u"HZReceive", i), FixedSixText(s.channels[i].receive));
        }
        hz.optionalInteger(u"AirBaud", s.airBaud);
    }
    {
        SectionWriter other(document, kOther, m_codePage);
        other.integer(u"StaticLocation", s.staticLocation);
        other.integer(u"FWType", s.firmwareType);
        other.bytes(u"FWPath", s.firmwarePath);
        std::u16string nmea;
        for (const Byte b : s.nmea.bytes) {
            nmea += DecimalText(b);
        }
        other.text(u"NMEA", nmea);
        other.integer(u"Rinex", s.rinex);
        other.integer(u"Voice", s.voice);
        other.integer(u"Volume", s.volume);
        other.optionalInteger(u"StaticVoice", s.staticVoice);
        other.optionalInteger(u"Band2G", s.band2g);
        other.optionalInteger(u"Band3G", s.band3g);
    }
}

} // namespace kestrava
