#pragma once

#include "cli/CommandArguments.h"
#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava {

// Every receiver command of the command table (CommandTable) by its name, in the table's order,
// with the arguments it takes on the command line and a builder that frames it. The builder reads
// its arguments (problems are recorded in args), fills out, arms expected as the command does, and
// may set up the decoder state that its reply will be judged against (the firmware transfer's
// hardware code, address and refusal counter).
struct CatalogueEntry {
    std::string_view name;
    std::string arguments; // usage text of the arguments, empty when there are none
    bool armsReply = true; // false: the command leaves ExpectedReply as it was
    std::function<std::size_t(CommandArguments& args, Bytes& out, ExpectedReply& expected,
                              DecoderState& state)>
        build;
};

class CommandCatalogue {
public:
    static const std::vector<CatalogueEntry>& entries();
    // The entry of that exact name, or nullptr.
    static const CatalogueEntry* find(std::string_view name);
};

} // namespace kestrava
