#pragma once

#include "protocol/CommandId.h"
#include "protocol/ProtocolTypes.h"
#include "settings/StoredSettings.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace kestrava {

// How two values of a setting are compared when a profile is checked against a receiver.
enum class SettingCompare {
    Text,      // byte for byte
    Number,    // as integers ("05" equals "5")
    Frequency, // as the 32-bit float the radio frame is built from (459.225 equals 459.225006)
    Switch,    // as on or off ("TRUE", "true" and "1" are the same)
};

// How recvcfg.ini holds a key's value.
enum class SettingStorage {
    None,            // not kept in the file
    Text,            // the code-page bytes the file holds
    Integer,         // "%d", read by its leading decimal number
    Octet,           // "%d", the low 8 bits of its leading decimal number
    Switch,          // "true" or "false"; any text but exactly "false" reads as true
    Digits,          // one decimal digit per byte of the NMEA choice
    Frequency,       // "%3f" MHz of a float32, read as a decimal fraction
    OptionalOctet,   // "%d", low 8 bits; written only once a receiver reported it
    OptionalInteger, // "%d"; written only once a receiver reported it
};

// The groups of settings: the values one read command reports and one set command changes.
enum class SettingGroupId {
    NetParams,
    ApnParams,
    CollectParams,
    FileParams,
    StoreLocation,
    StaticVoice,
    Band,
    Voice,
    Nmea,
    RadioChannels,
    AirBaud,
    Passwords,
    Program, // the program's own keys (the firmware image), no receiver's
};

// Which receivers have a setting, by the type code of their main information.
enum class SettingReceivers {
    All,
    NotStaticOnly, // every receiver but the static-only types
    WithWifi,      // only receivers with a WiFi module
};

// The StoredSettings member a key fills, as a function that reaches it.
using StoredField = std::variant<
    std::monostate, ByteString& (*)(StoredSettings&), std::int32_t& (*)(StoredSettings&),
    Byte& (*)(StoredSettings&), bool& (*)(StoredSettings&),
    std::optional<Byte>& (*)(StoredSettings&), std::optional<std::int32_t>& (*)(StoredSettings&),
    NmeaOutputChoice& (*)(StoredSettings&), float& (*)(StoredSettings&, std::size_t channel)>;

// The whole numbers a key may take; both 0 when the key is no number or is checked elsewhere.
struct SettingRange {
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;

    bool any() const { return minimum != 0 || maximum != 0; }
};

// How the command line checks a value before the group's form sees it.
enum class SettingCheck {
    Form,           // the group's form alone (with the page's words)
    Range,          // a whole number within the key's range, then the form
    RangeAfterForm, // at most three digits, then the form, then the range where the form left
                    // it unchecked (the page checks the group IDs only in IntRTK mode)
};

// One key of a setting group: its name in recvcfg.ini and on the command line, how the file
// keeps it, its defaults, its range and help, how it compares and where it is kept.
struct SettingKeyRow {
    SettingGroupId group;
    const char* section;
    const char* key;
    SettingStorage storage;
    const char* firstRun; // what a first run writes; null where it is computed (the channels)
    const char* fallback; // what a key missing from an existing file reads as
    SettingRange range;
    SettingCheck check;
    // The value's form and range, for --help; null for the program's keys. In an indexed key
    // "%d" stands for the channel number.
    const char* help;
    SettingCompare compare;
    bool readable; // whether the receiver reports it (get prints it)
    SettingReceivers receivers;
    StoredField field;
    // Indexed keys stand for `channels` keys, the key followed by 0, 1 ...; the file writes the
    // consecutive indexed keys of a section channel by channel, the command line key by key.
    int channels = 0;
};

// One group: the command that reads it and the one that sets it.
struct SettingGroupRow {
    SettingGroupId id;
    std::optional<CommandId> read; // none for groups the receiver does not report
    std::optional<CommandId> set;  // the first command of the set; none for the program's keys
};

// Every setting in one place: the settings file, the command line's get, set, diff and apply,
// its --help, and the pages' Read and Set buttons follow these rows.
class SettingTable {
public:
    // Every key, in the order of the settings file (sections in their file order); keys the file
    // does not keep come last.
    static std::span<const SettingKeyRow> keys();
    // Every group, in the order the command line reads and prints them.
    static std::span<const SettingGroupRow> groups();
    static const SettingGroupRow& group(SettingGroupId id);
    // The row of Section.Key, spelt in any letter case (an indexed key with its number); null
    // when there is none.
    static const SettingKeyRow* find(std::string_view section, std::string_view key);

    // The name of the channel-th key of an indexed row, or the key itself.
    static std::string keyName(const SettingKeyRow& row, int channel = 0);

    // The help of the channel-th key of an indexed row, or the row's help.
    static std::string help(const SettingKeyRow& row, int channel = 0);

    // Whether a receiver of this type code has the setting.
    static bool offered(SettingReceivers receivers, Byte typeCode);
};

} // namespace kestrava
