#include "cli/TraceReplay.h"

#include "cli/HexText.h"
#include "cli/ReplyPrinter.h"
#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/StreamSplitter.h"

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

// Reads "awaits class CC sub SS kind K mode M" from a send comment.
bool parseAwaited(const std::string& comment, ExpectedReply& armed) {
    const auto at = comment.find("awaits class ");
    if (at == std::string::npos) {
        return false;
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
    if (!(in >> word >> w1 >> cls >> w2 >> sub >> w3 >> kind >> word >> mode) || w1 != "class" ||
        w2 != "sub" || w3 != "kind") {
        return false;
    }
    armed.arm(static_cast<Byte>(std::stoi(cls, nullptr, 16)),
              static_cast<Byte>(std::stoi(sub, nullptr, 16)), kind, mode);
    return true;
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
        std::string hexError;
        const auto bytes = HexText::parse({fields[2]}, hexError);
        if (!bytes) {
            error = "line " + std::to_string(number) + ": " + hexError;
            return false;
        }
        if (event == "send") {
            ExpectedReply armed;
            if (parseAwaited(fields[3], armed)) {
                expected = armed;
            }
            continue;
        }
        ++summary.chunks;
        if (expected.mode != FRAMING_IDLE && !bytes->empty()) {
            const std::size_t before = printer.count();
            SplitChunk(bytes->data(), bytes->size(), expected, state, printer);
            summary.replies += static_cast<int>(printer.count() - before);
        }
    }
    return true;
}

} // namespace kestrava
