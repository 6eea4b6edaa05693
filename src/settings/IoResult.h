#pragma once

#include <string>

namespace kestrava {

// Outcome of a file operation that the caller must be able to report: success, or failure with
// a short English description (file name and system error) for a log or a message box.
struct IoResult {
    bool ok = true;
    std::string message;

    static IoResult success() { return {}; }
    static IoResult failure(std::string text) { return {false, std::move(text)}; }
    explicit operator bool() const { return ok; }
};

} // namespace kestrava
