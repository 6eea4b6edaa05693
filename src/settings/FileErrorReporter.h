#pragma once

#include <string>

namespace kestrava {

// Receives the message for a language file that could not be read; the GUI shows it in a
// message box as it stands (it is never translated).
class FileErrorReporter {
public:
    virtual ~FileErrorReporter() = default;
    virtual void reportFileError(const std::u16string& message) = 0;
};

} // namespace kestrava
