#pragma once

#include "exchange/ExchangeView.h"

#include <QList>

#include <optional>
#include <string>
#include <vector>

namespace kestrava {

class ReceiverSession;
struct PortVerbContext;

// kestrava-cli --port DEV files list | download | delete | format: the Static page's file
// management from the command line, with the same commands, questions and messages.
class FilesVerb {
public:
    // Checks the arguments before the port is opened; empty when they are fine.
    static std::string check(const std::vector<std::string>& args);
    static int run(PortVerbContext& context);

    // Lists the receiver's files as "Read All Files" does; nothing when the listing stalled. The
    // exchange's fileListCut() tells whether files beyond the first 256 may have been left out.
    static std::optional<QList<FileRowText>> list(ReceiverSession& session);
    // One listing line: name, size as the page shows it, exact bytes, ISO 8601 date and time
    // ("-" when the receiver's date is impossible), separated by tabs.
    static std::string line(const FileRowText& row);
};

} // namespace kestrava
