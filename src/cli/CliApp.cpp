#include "cli/CliApp.h"

#include "cli/CommandArguments.h"
#include "cli/CommandCatalogue.h"
#include "cli/HexText.h"
#include "cli/ReplyPrinter.h"
#include "cli/TraceReplay.h"
#include "protocol/StreamSplitter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace kestrava {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitRefused = 2;

std::string_view modeName(std::int32_t mode) {
    switch (mode) {
    case FRAMING_DOLLAR:
        return "FRAMING_DOLLAR";
    case FRAMING_RADIO:
        return "FRAMING_RADIO";
    case FRAMING_PACKET:
        return "FRAMING_PACKET";
    case FRAMING_ASCII:
        return "FRAMING_ASCII";
    case FRAMING_IDLE:
        return "FRAMING_IDLE";
    default:
        return "unknown";
    }
}

std::string byteName(Byte b) {
    char text[16];
    if (b >= 0x21 && b < 0x7F) {
        std::snprintf(text, sizeof text, "0x%02x '%c'", b, static_cast<char>(b));
    } else {
        std::snprintf(text, sizeof text, "0x%02x", b);
    }
    return text;
}

std::string describe(const ExpectedReply& e) {
    const std::string_view kind = replyKindName(e.kind);
    return "class " + byteName(e.replyClass) + ", sub " + byteName(e.replySub) + ", kind " +
           std::to_string(e.kind) + " (" + std::string(kind.empty() ? "unknown" : kind) +
           "), mode " + std::to_string(e.mode) + " (" + std::string(modeName(e.mode)) + ")";
}

struct Built {
    const CatalogueEntry* entry = nullptr;
    Bytes frame;
    ExpectedReply expected;
    DecoderState state;
};

// Builds the named command from name=value tokens; reports to err and returns the exit status.
int buildCommand(const std::string& name, const std::vector<std::string>& tokens, Built& built,
                 std::ostream& err) {
    built.entry = CommandCatalogue::find(name);
    if (built.entry == nullptr) {
        err << "kestrava-cli: unknown command \"" << name
            << "\" (\"kestrava-cli commands\" lists them)\n";
        return kExitUsage;
    }
    std::string error;
    auto args = CommandArguments::parse(tokens, error);
    if (!args) {
        err << "kestrava-cli: " << name << ": " << error << '\n';
        return kExitUsage;
    }
    const std::size_t length = built.entry->build(*args, built.frame, built.expected, built.state);
    const auto unused = args->unused();
    if (args->ok() && !unused.empty()) {
        args->fail("unknown argument \"" + unused.front() + "\"" +
                   (built.entry->arguments.empty()
                        ? std::string(" (the command takes none)")
                        : " (takes " + std::string(built.entry->arguments) + ")"));
    }
    if (!args->ok()) {
        err << "kestrava-cli: " << name << ": " << args->error() << '\n';
        return length == 0 && args->error().find("cannot be sent") != std::string::npos
                   ? kExitRefused
                   : kExitUsage;
    }
    if (length == 0) {
        err << "kestrava-cli: " << name << ": the command cannot be built from these arguments\n";
        return kExitRefused;
    }
    built.frame.resize(length);
    return kExitOk;
}

int frameCommand(const std::vector<std::string>& rest, std::ostream& out, std::ostream& err) {
    if (rest.empty()) {
        err << "kestrava-cli: frame: which command? (\"kestrava-cli commands\" lists them)\n";
        return kExitUsage;
    }
    Built built;
    const int status = buildCommand(
        rest.front(), std::vector<std::string>(rest.begin() + 1, rest.end()), built, err);
    if (status != kExitOk) {
        return status;
    }
    out << HexText::format(built.frame) << '\n';
    if (built.entry->armsReply) {
        out << "arms: " << describe(built.expected) << '\n';
    } else {
        out << "arms: nothing (the reply record stays as it was)\n";
    }
    return kExitOk;
}

int decodeCommand(const std::vector<std::string>& rest, std::ostream& out, std::ostream& err) {
    if (rest.size() < 2 || rest.front() != "--after") {
        err << "kestrava-cli: decode: usage: decode --after COMMAND [NAME=VALUE...] HEX...\n";
        return kExitUsage;
    }
    std::vector<std::string> commandArgs;
    std::vector<std::string> hexTokens;
    for (std::size_t i = 2; i < rest.size(); ++i) {
        (rest[i].find('=') != std::string::npos ? commandArgs : hexTokens).push_back(rest[i]);
    }
    Built built;
    const int status = buildCommand(rest[1], commandArgs, built, err);
    if (status != kExitOk) {
        return status;
    }
    std::string error;
    const auto chunk = HexText::parse(hexTokens, error);
    if (!chunk) {
        err << "kestrava-cli: decode: " << error << '\n';
        return kExitUsage;
    }
    if (chunk->empty()) {
        err << "kestrava-cli: decode: no reply bytes given (hex after the command)\n";
        return kExitUsage;
    }
    out << "awaiting: " << describe(built.expected) << '\n';
    ReplyPrinter printer(out);
    // As the program does: a chunk is split only while a reply is awaited.
    if (built.expected.mode != FRAMING_IDLE) {
        SplitChunk(chunk->data(), chunk->size(), built.expected, built.state, printer);
    }
    if (printer.count() == 0) {
        out << "no reply\n";
    }
    return kExitOk;
}

int listCommands(std::ostream& out) {
    for (const CatalogueEntry& entry : CommandCatalogue::entries()) {
        out << "  " << entry.name;
        if (!entry.arguments.empty()) {
            out << ' ' << entry.arguments;
        }
        out << '\n';
    }
    return kExitOk;
}

int replayTrace(const std::vector<std::string>& rest, std::ostream& out, std::ostream& err) {
    if (rest.size() != 1) {
        err << "kestrava-cli: replay: usage: replay TRACEFILE\n";
        return kExitUsage;
    }
    std::error_code code;
    if (std::filesystem::is_directory(rest.front(), code)) {
        err << "kestrava-cli: replay: \"" << rest.front()
            << "\" is a folder; give the trace file written with --trace\n";
        return kExitUsage;
    }
    std::ifstream file(rest.front(), std::ios::binary);
    if (!file) {
        err << "kestrava-cli: replay: cannot read \"" << rest.front() << "\"\n";
        return kExitUsage;
    }
    TraceReplay::Summary summary;
    std::string error;
    if (!TraceReplay::run(file, out, summary, error)) {
        err << "kestrava-cli: replay: " << rest.front() << ": " << error << '\n';
        return kExitUsage;
    }
    if (file.bad()) {
        err << "kestrava-cli: replay: \"" << rest.front() << "\" could not be read to its end\n";
        return kExitUsage;
    }
    err << "replayed " << summary.chunks << " received chunks, " << summary.replies << " replies";
    if (summary.masked > 0) {
        err << "; " << summary.masked << " chunks with passwords left out were not decoded";
    }
    if (summary.truncated) {
        err << "; the last line was cut off and not replayed";
    }
    err << '\n';
    return kExitOk;
}

} // namespace

void CliApp::printHelp(std::ostream& out) {
    out << "Usage:\n"
           "  kestrava-cli frame COMMAND [NAME=VALUE...]\n"
           "      Print the exact bytes of COMMAND as hex, and on a second line the reply it\n"
           "      awaits (class and sub, kind, framing mode).\n"
           "  kestrava-cli decode --after COMMAND [NAME=VALUE...] HEX...\n"
           "      Arm the reply as COMMAND would, feed the hex bytes to the splitter as one\n"
           "      received chunk and print every reply delivered, or \"no reply\".\n"
           "      Hex may be written \"24 24 56\", \"242456\" or \"0x24 0x24\".\n"
           "  kestrava-cli commands\n"
           "      List every command with its arguments.\n"
           "  kestrava-cli replay TRACEFILE\n"
           "      Feed a protocol trace (written with --trace) through the splitter and\n"
           "      decoders again and print every reply as decode does.\n"
           "  kestrava-cli --help\n"
           "  kestrava-cli --version\n"
           "\n"
           "Commands and their arguments (texts are passed on as bytes):\n";
    listCommands(out);
    out << "\nExit status: 0 done, 1 bad usage or argument, 2 a command that cannot be built\n"
           "(for example a login too long for SetNetParams).\n"
           "\nExamples:\n"
           "  kestrava-cli frame ReadMainInfo\n"
           "  kestrava-cli frame SetCollectParams interval=5 cutoff=10\n"
           "  kestrava-cli decode --after ReadCollectParams 24 24 46 4a 02 00 05 0a 01 0d 0a\n";
}

int CliApp::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        printHelp(err);
        return kExitUsage;
    }
    const std::string& verb = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (verb == "--help" || verb == "-h" || verb == "help") {
        printHelp(out);
        return kExitOk;
    }
    const bool asksForHelp = std::find(rest.begin(), rest.end(), "--help") != rest.end() ||
                             std::find(rest.begin(), rest.end(), "-h") != rest.end();
    if (asksForHelp &&
        (verb == "frame" || verb == "decode" || verb == "commands" || verb == "replay")) {
        printHelp(out);
        return kExitOk;
    }
    if (verb == "frame") {
        return frameCommand(rest, out, err);
    }
    if (verb == "decode") {
        return decodeCommand(rest, out, err);
    }
    if (verb == "commands") {
        return listCommands(out);
    }
    if (verb == "replay") {
        return replayTrace(rest, out, err);
    }
    err << "kestrava-cli: unknown verb \"" << verb << "\" (try --help)\n";
    return kExitUsage;
}

} // namespace kestrava
