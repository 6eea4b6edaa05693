#pragma once

#include "cli/PortVerbs.h"
#include "cli/SettingGroup.h"

#include <QString>

#include <string>
#include <vector>

namespace kestrava {

// password remote NEW | password wifi NEW: the Basic page's two password groups. The password
// is checked by the page's form; the receiver must confirm the change.
class PasswordVerb {
public:
    static PortVerb verb();

    // Checks the arguments before the port is opened; empty when they are fine.
    static std::string check(const std::vector<std::string>& args);
    static int run(PortVerbContext& context);

    // The two sets, checked with the page's form and confirmed by the receiver; shared with the
    // write-only Passwords settings of profiles. The message is what the window would show.
    static CliOutcome setRemote(ReceiverSession& session, const QString& password);
    static CliOutcome setWifi(ReceiverSession& session, const QString& password);
    // The refusal of the form alone, sending nothing; empty when the password is acceptable.
    static std::string checkRemote(const QString& password);
    static std::string checkWifi(const QString& password);
};

} // namespace kestrava
