#pragma once

#include <array>

namespace kestrava {

// Ctrl-C, a kill (SIGTERM) and a closed terminal (SIGHUP) while a receiver verb runs: the first
// asks every session to stop at its next wait, so ports are closed, the SNR test and downloads
// are stopped and partial copies kept; a second one ends the program at once.
class Interruption {
public:
    // While a guard lives, the signals set the flag instead of ending the program. The outermost
    // guard clears the flag and installs the handlers; guards made inside it (a session per port,
    // each on its own thread) only share them.
    class Guard {
    public:
        Guard();
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        std::array<void (*)(int), 3> m_previous{};
        bool m_outermost = false;
    };

    static bool requested();
    // What a signal does; tests call it in place of pressing Ctrl-C.
    static void request();
    static void clear();

    // The exit status of a verb that was interrupted (128 + SIGINT, as shells report it).
    static constexpr int kExitStatus = 130;
};

} // namespace kestrava
