#include "cli/TerminalCheck.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define KESTRAVA_ISATTY _isatty
#define KESTRAVA_FILENO _fileno
#else
#include <unistd.h>
#define KESTRAVA_ISATTY isatty
#define KESTRAVA_FILENO fileno
#endif

namespace kestrava {

bool TerminalCheck::isTerminal(const std::ostream& stream) {
    return &stream == &std::cerr && KESTRAVA_ISATTY(KESTRAVA_FILENO(stderr)) != 0;
}

bool TerminalCheck::inputIsTerminal() {
    return KESTRAVA_ISATTY(KESTRAVA_FILENO(stdin)) != 0;
}

} // namespace kestrava
