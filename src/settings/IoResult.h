#pragma once

#include <string>

namespace kestrava {

// Outcome of a file operation that the caller must be able to report: success, or failure with
// a short English description (file name and system error) for a log or a message box.
// `readOnly` marks the one failure that is the user's choice rather than a fault: the file is
// read-only, so it was deliberately left as it is.
struct IoResult {
    bool ok = true;
    std::string message;
    bool readOnly = false;

    static IoResult success() { return {}; }
    static IoResult failure(std::string text) { return {false, std::move(text)}; }
    static IoResult readOnlyFile(std::string text) { return {false, std::move(text), true}; }
    explicit operator bool() const { return ok; }
};

} // namespace kestrava
