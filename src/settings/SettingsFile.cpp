#include "settings/SettingsFile.h"

#include "settings/AtomicFile.h"
#include "settings/IniFile.h"
#include "settings/SettingTable.h"
#include "settings/TextNumbers.h"

#include <algorithm>
#include <string>
#include <utility>
#include <variant>

namespace kestrava {

namespace {

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

// Reads one key into the member it fills, as the key's storage reads it.
struct FieldReader {
    const SectionReader& section;
    std::u16string_view key;
    std::u16string_view fallback;
    StoredSettings& s;

    void operator()(std::monostate) const {}
    void operator()(ByteString& (*field)(StoredSettings&)) const {
        field(s) = section.bytes(key, fallback);
    }
    void operator()(std::int32_t& (*field)(StoredSettings&)) const {
        field(s) = section.integer(key, fallback);
    }
    void operator()(Byte& (*field)(StoredSettings&)) const {
        field(s) = section.byte(key, fallback);
    }
    void operator()(bool& (*field)(StoredSettings&)) const {
        field(s) = section.text(key, fallback) != u"false";
    }
    void operator()(std::optional<Byte>& (*field)(StoredSettings&)) const {
        field(s) =
            section.has(key) ? std::optional<Byte>(section.byte(key, fallback)) : std::nullopt;
    }
    void operator()(std::optional<std::int32_t>& (*field)(StoredSettings&)) const {
        field(s) = section.has(key) ? std::optional<std::int32_t>(section.integer(key, fallback))
                                    : std::nullopt;
    }
    // Digit by digit: each character is a number of its own; a short text leaves the bytes
    // beyond it as they were.
    void operator()(NmeaOutputChoice& (*field)(StoredSettings&)) const {
        auto& bytes = field(s).bytes;
        const std::u16string text = section.text(key, fallback);
        for (std::size_t i = 0; i < std::min(text.size(), bytes.size()); ++i) {
            bytes[i] =
                static_cast<Byte>(static_cast<std::uint32_t>(LeadingDecimal(text.substr(i, 1))));
        }
    }
    void operator()(float& (*)(StoredSettings&, std::size_t)) const {}
};

// Writes the member a key fills, as the key's storage keeps it.
struct FieldWriter {
    SectionWriter& section;
    std::u16string key;
    StoredSettings& s;

    void operator()(std::monostate) const {}
    void operator()(ByteString& (*field)(StoredSettings&)) const { section.bytes(key, field(s)); }
    void operator()(std::int32_t& (*field)(StoredSettings&)) const {
        section.integer(key, field(s));
    }
    void operator()(Byte& (*field)(StoredSettings&)) const { section.integer(key, field(s)); }
    void operator()(bool& (*field)(StoredSettings&)) const {
        section.text(key, field(s) ? u"true" : u"false");
    }
    void operator()(std::optional<Byte>& (*field)(StoredSettings&)) const {
        section.optionalInteger(key, field(s));
    }
    void operator()(std::optional<std::int32_t>& (*field)(StoredSettings&)) const {
        section.optionalInteger(key, field(s));
    }
    void operator()(NmeaOutputChoice& (*field)(StoredSettings&)) const {
        std::u16string digits;
        for (const Byte b : field(s).bytes) {
            digits += DecimalText(b);
        }
        section.text(key, digits);
    }
    void operator()(float& (*)(StoredSettings&, std::size_t)) const {}
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
    for (const SettingKeyRow& row : SettingTable::keys()) {
        if (row.storage == SettingStorage::None) {
            continue;
        }
        const std::u16string sectionName = AsciiToUtf16(row.section);
        const SectionReader section(document, sectionName, m_codePage);
        const std::u16string fallback = AsciiToUtf16(row.fallback);
        if (row.channels > 0) {
            auto* field = std::get<float& (*)(StoredSettings&, std::size_t)>(row.field);
            for (int channel = 0; channel < row.channels; ++channel) {
                const std::u16string key = AsciiToUtf16(SettingTable::keyName(row, channel));
                field(s, static_cast<std::size_t>(channel)) =
                    LeadingFraction(section.text(key, fallback));
            }
            continue;
        }
        const std::u16string key = AsciiToUtf16(row.key);
        std::visit(FieldReader{section, key, fallback, s}, row.field);
    }
}

void SettingsFile::write(const StoredSettings& settings, IniDocument& document) const {
    StoredSettings s = settings;
    const auto rows = SettingTable::keys();
    std::size_t i = 0;
    while (i < rows.size()) {
        if (rows[i].storage == SettingStorage::None) {
            ++i;
            continue;
        }
        // Each section is deleted once and rewritten key by key.
        const std::string_view name = rows[i].section;
        const std::u16string sectionName = AsciiToUtf16(name);
        SectionWriter section(document, sectionName, m_codePage);
        for (; i < rows.size() && rows[i].section == name; ++i) {
            const SettingKeyRow& row = rows[i];
            if (row.storage == SettingStorage::None) {
                continue;
            }
            if (row.channels == 0) {
                std::visit(FieldWriter{section, AsciiToUtf16(row.key), s}, row.field);
                continue;
            }
            // The indexed keys that follow one another are written channel by channel.
            std::size_t last = i;
            while (last + 1 < rows.size() && rows[last + 1].section == name &&
                   rows[last + 1].channels == row.channels) {
                ++last;
            }
            for (int channel = 0; channel < row.channels; ++channel) {
                for (std::size_t k = i; k <= last; ++k) {
                    auto* field = std::get<float& (*)(StoredSettings&, std::size_t)>(rows[k].field);
                    section.text(AsciiToUtf16(SettingTable::keyName(rows[k], channel)),
                                 FixedSixText(field(s, static_cast<std::size_t>(channel))));
                }
            }
            i = last;
        }
    }
}

} // namespace kestrava
