#pragma once

#include "settings/SettingTable.h"

#include <map>
#include <string>
#include <vector>

namespace kestrava {

class ReceiverSession;

// One setting as the command line addresses it: Section.Key, with the section and key names of
// recvcfg.ini where the file has the setting.
struct SettingKey {
    std::string section;
    std::string key;
    std::string help; // the value's form and range, for --help
    // Whether get prints it (false for settings the receiver cannot report, such as passwords
    // and the NMEA output choice).
    bool readable = true;
    SettingCompare compare = SettingCompare::Text;

    std::string name() const { return section + '.' + key; }
};

// Values by canonical Section.Key name (as SettingKey::name() spells it).
using SettingValues = std::map<std::string, std::string>;

// What a verb tells its caller: the exit status and, when it failed, the message the window
// would show (already in its final words).
struct CliOutcome {
    int status = 0;
    std::string message;

    bool ok() const { return status == 0; }
};

// The exit statuses of the verbs that talk to a receiver.
enum CliExit : int {
    kCliOk = 0,
    kCliUsage = 1,      // bad usage, an unknown setting, a malformed file
    kCliRefused = 2,    // the input was refused before anything was sent
    kCliNoReply = 3,    // the receiver did not answer in time
    kCliFailed = 4,     // the receiver answered that it failed
    kCliPortFailed = 5, // the port could not be opened
};

// One group of settings that one read command reports and one set command changes (the network
// parameters, the APN login, the collection parameters ...). A group reads its values from the
// receiver and writes a complete set of them back: `set` reads the current values of every group
// it touches, changes the given keys and hands the group the whole set, which it validates with
// the page's form (so the command line refuses with the page's words), sends and confirms.
class SettingGroup {
public:
    virtual ~SettingGroup() = default;

    // The group's keys, in the order get prints them.
    virtual std::vector<SettingKey> keys() const = 0;

    // Reads the group's readable values from the receiver into values.
    virtual CliOutcome read(ReceiverSession& session, SettingValues& values) = 0;

    // Checks the complete set of the group's values with the page's form, sending nothing: the
    // outcome write would refuse with. Groups whose form needs no more than write checks may
    // leave it to write.
    virtual CliOutcome check(const SettingValues& values) const {
        (void)values;
        return {};
    }

    // Whether key is carried to the receiver at all with these values (the group's complete
    // set). A server address given by name leaves the IPv4 numbers unsent, and the reverse: a
    // profile's value for such a key can neither differ nor be proved.
    virtual bool carries(const SettingKey& key, const SettingValues& values) const {
        (void)key;
        (void)values;
        return true;
    }

    // Validates the complete set of the group's values (its readable values as read, with the
    // changes applied; write-only keys only when given), sends it and waits for the receiver's
    // confirmation.
    virtual CliOutcome write(ReceiverSession& session, const SettingValues& values) = 0;
};

} // namespace kestrava
