// Every command the program can build is named by its own name in a trace: the catalogue of the
// command-line tool builds each one, and the name read back from its bytes must be the entry's.
#include "protocol/CommandNames.h"
#include "cli/CommandArguments.h"
#include "cli/CommandCatalogue.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrava {
namespace {

// Arguments for the entries that cannot be built from their defaults, or whose defaults would
// hide a variant the names must tell apart.
const std::map<std::string, std::vector<std::string>> kArguments = {
    {"DeleteFiles", {"names=KV000001"}},
    {"StartDownload", {"name=KV000001"}},
    {"SetVolume", {"volume=5"}},
    {"SetNetParams", {"user=u", "password=p"}},
};

TEST(CommandNames, everyCatalogueCommandIsNamedFromItsBytes) {
    int named = 0;
    for (const CatalogueEntry& entry : CommandCatalogue::entries()) {
        const std::string name(entry.name);
        const auto given = kArguments.find(name);
        std::string error;
        auto args = CommandArguments::parse(
            given != kArguments.end() ? given->second : std::vector<std::string>{}, error);
        ASSERT_TRUE(args) << name << ": " << error;
        Bytes frame;
        ExpectedReply armed;
        DecoderState state;
        const std::size_t length = entry.build(*args, frame, armed, state);
        ASSERT_GT(length, 0u) << name << ": " << args->error();
        EXPECT_EQ(CommandNames::identify(frame.data(), length, armed), name);
        ++named;
    }
    EXPECT_GE(named, 40);
}

TEST(CommandNames, bytesThatAreNoCommandAreUnknown) {
    const Bytes noise{0x41, 0x42, 0x43};
    const Bytes shortDollar{0x24, 0x24, 0x56};
    EXPECT_EQ(CommandNames::identify(noise.data(), noise.size(), {}), "unknown");
    EXPECT_EQ(CommandNames::identify(shortDollar.data(), shortDollar.size(), {}), "unknown");
    EXPECT_EQ(CommandNames::identify(nullptr, 0, {}), "unknown");
}

} // namespace
} // namespace kestrava
