#pragma once

#include <string>

namespace kestrava {

// One setting of a profile brought onto a receiver: its Section.Key name, what the receiver held
// before, what the profile asks for, and what became of it in the words the command line prints
// after "Section.Key: " ("set", "unchanged", "FAILED (receiver 10)", "would set 10 -> 12", ...).
struct ProfileLine {
    std::string key;
    std::string receiver; // empty when the receiver cannot report it
    std::string profile;
    std::string outcome;
    bool differs = false; // the profile changes it (a dry run: it would be sent)

    std::string text() const { return key + ": " + outcome; }
};

} // namespace kestrava
