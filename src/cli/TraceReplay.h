#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace kestrava {

// Replays a protocol trace: each "send" line re-arms the reply the command awaited (as its
// comment records it), each "recv" line is fed as one chunk through the splitter and decoders,
// exactly as the program does (only while a reply is awaited), and every delivered reply is
// printed as "decode" prints it. A last line without its line break (a trace cut off by a
// crash) is not replayed. A received chunk whose password fields the trace wrote as "***" cannot
// be decoded again and is only counted.
class TraceReplay {
public:
    struct Summary {
        int lines = 0;   // whole lines read
        int chunks = 0;  // received chunks fed to the splitter
        int replies = 0; // replies delivered
        int masked = 0;  // received chunks with passwords left out, not decoded
        bool truncated = false;
    };

    // False with error naming the line when a send or recv line is malformed: bytes that are not
    // hex, or a send line's awaited reply whose class or sub is not a hex byte.
    static bool run(std::istream& trace, std::ostream& out, Summary& summary, std::string& error);
};

} // namespace kestrava
