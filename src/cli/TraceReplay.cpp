#include "cli/TraceReplay.h"

#include "cli/HexText.h"
#include "cli/ReplyPrinter.h"
#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/StreamSplitter.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace kestrava {
namespace {

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    while (true) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

// One byte written as one or two hex digits.
bool hexByte(const std::string& text, Byte& value) {
    unsigned parsed = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, parsed, 16);
    if (text.empty() || text.size() > 2 || ec != std::errc() || at != end || parsed > 0xFF) {
        return false;
    }
    value = static_cast<Byte>(parsed);
    return true;
}

enum class Awaited { None, Read, Malformed };

// Reads "awaits class CC sub SS kind K mode M" from a send comment. None: the comment records
// no awaited reply (a trace written without the exchange).
Awaited parseAwaited(const std::string& comment, ExpectedReply& armed) {
    const auto at = comment.find("awaits class ");
    if (at == std::string::npos) {
        return Awaited::None;
    }
    std::istringstream in(comment.substr(at));
    std::string word;
    std::string cls;
    std::string sub;
    int kind = 0;
    int mode = 0;
    std::string w1;
    std::string w2;
    std::string w3;
    std::string w4;
    if (!(in >> word >> w1 >> cls >> w2 >> sub >> w3 >> kind >> w4 >> mode) || w1 != "class" ||
        w2 != "sub" || w3 != "kind" || w4 != "mode") {
        return Awaited::Malformed;
    }
    Byte clsByte = 0;
    Byte subByte = 0;
    if (!hexByte(cls, clsByte) || !hexByte(sub, subByte)) {
        return Awaited::Malformed;
    }
    armed.arm(clsByte, subByte, kind, mode);
    return Awaited::Read;
}

// The hex field without its "***" words (the trace's masked password fields); masked tells
// whether there were any.
std::string withoutMasks(const std::string& hex, bool& masked) {
    std::istringstream words(hex);
    std::string word;
    std::string kept;
    masked = false;
    while (words >> word) {
        if (word == "***") {
            masked = true;
            continue;
        }
        kept += kept.empty() ? word : " " + word;
    }
    return kept;
}

} // namespace

bool TraceReplay::run(std::istream& trace, std::ostream& out, Summary& summary,
                      std::string& error) {
    ExpectedReply expected;
    DecoderState state;
    ReplyPrinter printer(out);
    std::string line;
    int number = 0;
    while (std::getline(trace, line)) {
        ++number;
        if (trace.eof()) {
            // No line break after it: the writer was cut off in the middle of this line.
            summary.truncated = !line.empty();
            break;
        }
        ++summary.lines;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::vector<std::string> fields = splitTabs(line);
        if (fields.size() < 4) {
            error = "line " + std::to_string(number) + ": expected 4 tab-separated fields";
            return false;
        }
        const std::string& event = fields[1];
        if (event != "send" && event != "recv") {
            continue;
        }
        bool masked = false;
        std::string hexError;
        const auto bytes = HexText::parse({withoutMasks(fields[2], masked)}, hexError);
        if (!bytes) {
            error = "line " + std::to_string(number) + ": " + hexError;
            return false;
        }
        if (event == "send") {
            ExpectedReply armed;
            switch (parseAwaited(fields[3], armed)) {
            case Awaited::Read:
                expected = armed;
                break;
            case Awaited::Malformed:
                error = "line " + std::to_string(number) +
                        ": the awaited reply is not \"awaits class HH sub HH kind N mode N\" with "
                        "hex bytes for class and sub";
                return false;
            case Awaited::None:
                break;
            }
            if (!masked) {
                state.sent.note(bytes->data(), bytes->size()); // as the program noted it
            }
            continue;
        }
        ++summary.chunks;
        if (masked) {
            // The chunk's passwords were left out of the trace: what the program decoded from
            // it cannot be decoded again.
            ++summary.masked;
            continue;
        }
        if (expected.mode != FRAMING_IDLE && !bytes->empty()) {
            const std::size_t before = printer.count();
            SplitChunk(bytes->data(), bytes->size(), expected, state, printer);
            summary.replies += static_cast<int>(printer.count() - before);
        }
    }
    return true;
}

} // namespace kestrava
