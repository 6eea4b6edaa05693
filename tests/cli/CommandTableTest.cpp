// Every row of the command table, built as the command line builds it: the bytes are those known
// for it, the emulator takes them as one command of the row's framing, they arm the reply of the
// row and the trace names them by the row. Every command the program can build is named by its
// own name in a trace.
#include "protocol/CommandTable.h"
#include "cli/CommandArguments.h"
#include "cli/CommandCatalogue.h"
#include "emulator/CommandAssembler.h"
#include "protocol/CommandNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kestrava {
namespace {

using Encoder = CommandRow::Encoder;

// Arguments for the entries that cannot be built from their defaults, or whose defaults would
// hide a variant the names must tell apart.
const std::map<std::string, std::vector<std::string>> kArguments = {
    {"DeleteFiles", {"names=KV000001"}},
    {"StartDownload", {"name=KV000001"}},
    {"SetVolume", {"volume=5"}},
    {"SetNetParams", {"user=u", "password=p"}},
};

// Frames known byte for byte, restated from the receiver's documentation.
const std::map<std::string, Bytes> kKnownFrames = {
    {"ReadMainInfo", {0x24, 0x24, 0x56, 0x43, 0x00, 0x00, 0x15, 0x0D, 0x0A}},
    {"ConnectInternalRadio", {0x24, 0x24, 0x47, 0x51, 0x01, 0x00, 0x0A, 0x1D, 0x0D, 0x0A}},
    {"StopSnrTest", {0x24, 0x24, 0x47, 0x51, 0x01, 0x00, 0x00, 0x17, 0x0D, 0x0A}},
    {"ReadFileNaming", {0x24, 0x24, 0x46, 0x4B, 0x00, 0x00, 0x0D, 0x0D, 0x0A}},
    {"VoiceSwitch", {0x24, 0x24, 0x53, 0x49, 0x04, 0x00, 0xFF, 0xFF, 0xAA, 0xFF, 0x4B, 0x0D, 0x0A}},
    {"ReadRadioChannels", {0x96, 0x05, 0x80, 0x63, 0x00, 0x00, 0x70}},
    {"ReadAirBaud", {0x96, 0x05, 0x80, 0x72, 0x00, 0x00, 0x61}},
    {"ReadBoardSerial", {0x02, 0x00, 0x06, 0x00, 0x06, 0x03}},
    {"ReadBoardVersion",
     {'\r', '\n', 'l', 'o', 'g', ' ', 'v', 'e', 'r', 's', 'i', 'o', 'n', '\r', '\n'}},
};

// The kind of command the emulator must make of a row's bytes.
HostCommand::Type hostTypeOf(const CommandRow& tableRow) {
    switch (tableRow.encoder) {
    case Encoder::Dollar:
        return HostCommand::Type::Dollar;
    case Encoder::Firmware:
        return tableRow.id == CommandId::FirmwareStart ? HostCommand::Type::FirmwareStart
                                                       : HostCommand::Type::FirmwareBlock;
    case Encoder::Radio:
        return HostCommand::Type::Radio;
    case Encoder::BoardPacket:
        return HostCommand::Type::Packet;
    case Encoder::BoardText:
    case Encoder::BoardPacketOrText: // the text form by default
        break;
    }
    return HostCommand::Type::Text;
}

TEST(CommandTable, everyRowIsBuiltAsItsRowSaysAndTakenByTheEmulatorAsOneCommand) {
    const auto& entries = CommandCatalogue::entries();
    ASSERT_EQ(entries.size(), CommandTable::all().size());
    std::size_t index = 0;
    for (const CommandRow& tableRow : CommandTable::all()) {
        const std::string name(tableRow.name);
        SCOPED_TRACE(name);
        const CatalogueEntry& entry = entries[index++];
        ASSERT_EQ(entry.name, tableRow.name); // listed in the table's order
        EXPECT_EQ(CommandTable::find(tableRow.name), &tableRow);

        const auto given = kArguments.find(name);
        std::string error;
        auto args = CommandArguments::parse(
            given != kArguments.end() ? given->second : std::vector<std::string>{}, error);
        ASSERT_TRUE(args) << error;
        Bytes frame;
        ExpectedReply armed;
        DecoderState state;
        const std::size_t length = entry.build(*args, frame, armed, state);
        ASSERT_GT(length, 0u) << args->error();
        ASSERT_EQ(length, frame.size());
        if (const auto known = kKnownFrames.find(name); known != kKnownFrames.end()) {
            EXPECT_EQ(frame, known->second);
        }

        // The reply armed is one of the row's forms.
        if (tableRow.armsReply) {
            EXPECT_EQ(armed.mode, tableRow.replyFraming);
            bool ofTheRow = false;
            for (std::size_t form = 0; form < tableRow.variantCount; ++form) {
                ofTheRow = ofTheRow || armed.kind == tableRow.kind(form);
            }
            EXPECT_TRUE(ofTheRow) << "kind " << armed.kind;
            if (tableRow.encoder == Encoder::Dollar || tableRow.encoder == Encoder::Firmware) {
                EXPECT_EQ(armed.replyClass, tableRow.cls);
                EXPECT_EQ(armed.replySub, tableRow.sub);
            }
        } else {
            EXPECT_TRUE(armed.isIdle());
            EXPECT_EQ(armed.kind, KindNone);
        }
        EXPECT_EQ(CommandNames::identify(frame.data(), frame.size(), armed), tableRow.name);

        // The emulator cuts the bytes into commands of the row's framing, and nothing is left.
        CommandAssembler assembler;
        if (hostTypeOf(tableRow) == HostCommand::Type::FirmwareBlock) {
            assembler.setFirmwareBlockSize(frame.size());
        }
        assembler.append(frame);
        std::vector<HostCommand> taken;
        while (auto command = assembler.next()) {
            taken.push_back(*command);
        }
        ASSERT_FALSE(taken.empty());
        EXPECT_FALSE(assembler.hasPartial());
        for (const HostCommand& command : taken) {
            EXPECT_EQ(command.type, hostTypeOf(tableRow));
        }
        if (hostTypeOf(tableRow) != HostCommand::Type::Text) {
            ASSERT_EQ(taken.size(), 1u);
            // A dollar frame may be followed by padding (the WiFi password's zero byte).
            EXPECT_TRUE(
                std::equal(taken.front().bytes.begin(), taken.front().bytes.end(), frame.begin()));
            if (tableRow.encoder == Encoder::Dollar || tableRow.encoder == Encoder::Firmware) {
                EXPECT_EQ(taken.front().bytes[2], tableRow.cls);
                EXPECT_EQ(taken.front().bytes[3], tableRow.sub);
            }
        }
    }
}

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

// Rows that share a header are told apart in the trace; the voice-block setters only by the
// kind they armed, so one armed for none of them is no setter.
TEST(CommandTable, aVoiceBlockSetArmedForNoSetterIsNamedAsSuch) {
    const Bytes frame = {0x24, 0x24, 'I', 'K', 0x01, 0x00, 0x05, 0x00, 0x0D, 0x0A};
    ExpectedReply armed;
    armed.arm('I', 'K', KindMainInfo);
    EXPECT_EQ(CommandNames::identify(frame.data(), frame.size(), armed), "SetVoiceBlock");
    const Bytes unknown = {0x24, 0x24, 'Z', 'Z', 0x00, 0x00, 0x00, 0x0D, 0x0A};
    EXPECT_EQ(CommandNames::identify(unknown.data(), unknown.size(), armed), "unknown");
}

} // namespace
} // namespace kestrava
