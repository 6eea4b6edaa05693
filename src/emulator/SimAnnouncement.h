#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace kestrava {

// How a running kestrava-sim lets the window find it: one small file per emulator in a folder of
// the user's own (XDG_RUNTIME_DIR/kestrava-sim, else /tmp/kestrava-sim-UID), naming the terminal
// it serves and the link it offers. The file is rewritten whenever the terminal changes (a pulled
// cable) and removed when the emulator ends; a file whose emulator died is skipped.
class SimAnnouncement {
public:
    struct Entry {
        std::string device; // the terminal, such as /dev/pts/5
        std::string link;   // the --link path; empty without one
        pid_t pid = 0;
    };

    // The folder of the announcements; an explicit one (tests) is used as it is.
    static std::string folder();

    // Announces the emulator of this process; false when the file cannot be written (the
    // emulator serves all the same).
    static bool announce(const Entry& entry, const std::string& where = folder());
    // Takes this process's announcement back.
    static void withdraw(const std::string& where = folder());

    // The emulators announced and still running, ordered by process id.
    static std::vector<Entry> running(const std::string& where = folder());
};

} // namespace kestrava
