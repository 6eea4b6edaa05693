// The setting table against the settings file it describes: its default columns are what a
// first run and a missing key really give, its storage column matches the member a key fills,
// and every range its help names is the range the command line checks.
#include "settings/SettingTable.h"

#include "settings/CodePage.h"
#include "settings/IniDocument.h"
#include "settings/SettingsFile.h"
#include "settings/TextNumbers.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace kestrava {
namespace {

std::string ascii(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

// Each key that is written whatever the record holds: the file's text for it.
std::optional<std::string> written(const IniDocument& document, const SettingKeyRow& row) {
    const auto value = document.value(AsciiToUtf16(row.section), AsciiToUtf16(row.key));
    return value ? std::optional<std::string>(ascii(*value)) : std::nullopt;
}

// The first "minimum-maximum" a help text names, as two numbers.
std::optional<std::pair<int, int>> namedRange(const std::string& help) {
    for (std::size_t dash = help.find('-'); dash != std::string::npos;
         dash = help.find('-', dash + 1)) {
        std::size_t begin = dash;
        while (begin > 0 && std::isdigit(static_cast<unsigned char>(help[begin - 1]))) {
            --begin;
        }
        std::size_t end = dash + 1;
        while (end < help.size() && std::isdigit(static_cast<unsigned char>(help[end]))) {
            ++end;
        }
        if (begin < dash && end > dash + 1) {
            return std::pair{std::stoi(help.substr(begin, dash - begin)),
                             std::stoi(help.substr(dash + 1, end - dash - 1))};
        }
    }
    return std::nullopt;
}

bool plainKey(const SettingKeyRow& row) {
    return row.storage != SettingStorage::None && row.channels == 0;
}

TEST(SettingTable, firstRunColumnIsWhatAFirstRunWrites) {
    const SettingsFile file(".", Latin1CodePage());
    IniDocument document;
    file.write(StoredSettings::firstRunDefaults(), document);
    for (const SettingKeyRow& row : SettingTable::keys()) {
        if (!plainKey(row)) {
            continue;
        }
        const auto text = written(document, row);
        if (row.firstRun == nullptr) {
            EXPECT_FALSE(text) << row.key << " is written before a receiver reported it";
        } else {
            EXPECT_EQ(text.value_or("(missing)"), row.firstRun) << row.section << '.' << row.key;
        }
    }
    // The channels are computed: 459.225 MHz and 0.1 MHz more per channel.
    EXPECT_EQ(ascii(document.readString(u"HZParams", u"HZSend0", u"")), "459.225006");
    EXPECT_EQ(ascii(document.readString(u"HZParams", u"HZReceive15", u"")), "460.725098");
}

TEST(SettingTable, fallbackColumnIsWhatAMissingKeyReadsAs) {
    const SettingsFile file(".", Latin1CodePage());
    IniDocument empty;
    empty.writeString(u"Unrelated", u"Key", u"1"); // an existing file without any of the keys
    StoredSettings read = StoredSettings::firstRunDefaults();
    file.read(empty, read);
    IniDocument document;
    file.write(read, document);
    for (const SettingKeyRow& row : SettingTable::keys()) {
        if (!plainKey(row) || row.storage == SettingStorage::OptionalOctet ||
            row.storage == SettingStorage::OptionalInteger) {
            continue;
        }
        EXPECT_EQ(written(document, row).value_or("(missing)"), row.fallback)
            << row.section << '.' << row.key;
    }
    EXPECT_EQ(read.channels[3].transmit, 0.0f);
}

TEST(SettingTable, storageColumnMatchesTheMemberTheKeyFills) {
    using S = SettingStorage;
    // By the variant's alternatives, in their order.
    const std::set<S> allowed[] = {
        {S::None},     {S::Text},          {S::Integer},         {S::Octet},
        {S::Switch},   {S::OptionalOctet}, {S::OptionalInteger}, {S::Digits},
        {S::Frequency}};
    for (const SettingKeyRow& row : SettingTable::keys()) {
        EXPECT_EQ(allowed[row.field.index()].count(row.storage), 1u) << row.key;
        EXPECT_EQ(row.channels > 0, row.storage == S::Frequency) << row.key;
    }
}

TEST(SettingTable, everyRangeTheHelpNamesIsTheKeysRange) {
    int checked = 0;
    for (const SettingKeyRow& row : SettingTable::keys()) {
        const std::string help = SettingTable::help(row);
        const auto named = namedRange(help);
        if (row.range.any() && named) {
            EXPECT_EQ(named->first, row.range.minimum) << row.key << ": " << help;
            EXPECT_EQ(named->second, row.range.maximum) << row.key << ": " << help;
            ++checked;
        }
        if (row.check != SettingCheck::Form) {
            EXPECT_TRUE(row.range.any()) << row.key << " is checked against no range";
        }
    }
    EXPECT_GE(checked, 10);
}

TEST(SettingTable, namesAreFoundInAnyLetterCaseAndIndexedKeysByTheirNumber) {
    struct Case {
        const char* section;
        const char* key;
        const char* found; // the row's key, or null
    };
    const Case cases[] = {{"netparams", "groupid2", "GroupID2"}, {"HZParams", "hzsend15", "HZSend"},
                          {"HZParams", "HZSend16", nullptr},     {"HZParams", "HZSend", nullptr},
                          {"OtherParams", "FWPath", "FWPath"},   {"NetParams", "Nope", nullptr},
                          {"ANPParams", "APNName", nullptr}};
    for (const Case& c : cases) {
        const SettingKeyRow* row = SettingTable::find(c.section, c.key);
        if (c.found == nullptr) {
            EXPECT_EQ(row, nullptr) << c.section << '.' << c.key;
        } else if (row == nullptr) {
            ADD_FAILURE() << c.section << '.' << c.key << " not found";
        } else {
            EXPECT_STREQ(row->key, c.found);
        }
    }
    EXPECT_EQ(SettingTable::help(*SettingTable::find("HZParams", "HZReceive3"), 3)
                  .rfind("receive frequency of channel 3,", 0),
              0u);
}

TEST(SettingTable, passwordsAreOfferedAsTheWindowShowsTheirGroups) {
    struct Case {
        SettingReceivers receivers;
        Byte type;
        bool offered;
    };
    const Case cases[] = {
        {SettingReceivers::NotStaticOnly, '4', false},
        {SettingReceivers::NotStaticOnly, '6', false},
        {SettingReceivers::NotStaticOnly, '7', true},
        {SettingReceivers::NotStaticOnly, 'Q', true},
        {SettingReceivers::WithWifi, 'Y', false},
        {SettingReceivers::WithWifi, 'Z', true},
        {SettingReceivers::All, '5', true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SettingTable::offered(c.receivers, c.type), c.offered) << c.type;
    }
}

} // namespace
} // namespace kestrava
