#include "emulator/SimAnnouncement.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace kestrava {

namespace {

constexpr const char* kExtension = ".port";

std::filesystem::path fileOf(const std::string& where, pid_t pid) {
    return std::filesystem::path(where) / (std::to_string(pid) + kExtension);
}

#ifdef _WIN32
// kestrava-sim runs on Linux only; nothing is announced on Windows.
bool alive(pid_t) {
    return false;
}
#else
bool alive(pid_t pid) {
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}
#endif

} // namespace

std::string SimAnnouncement::folder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') {
        return (std::filesystem::path(runtime) / "kestrava-sim").string();
    }
#ifdef _WIN32
    return (std::filesystem::temp_directory_path() / "kestrava-sim").string();
#else
    return "/tmp/kestrava-sim-" + std::to_string(::getuid());
#endif
}

bool SimAnnouncement::announce(const Entry& entry, const std::string& where) {
    std::error_code code;
    std::filesystem::create_directories(where, code);
    const pid_t pid = entry.pid > 0 ? entry.pid : ::getpid();
    const std::filesystem::path file = fileOf(where, pid);
    // Written aside and renamed, so a reader never sees half a file.
    const std::filesystem::path part = file.string() + ".tmp";
    {
        std::ofstream out(part, std::ios::trunc);
        out << "device " << entry.device << '\n';
        if (!entry.link.empty()) {
            out << "link " << entry.link << '\n';
        }
        if (!out.flush()) {
            std::filesystem::remove(part, code);
            return false;
        }
    }
    std::filesystem::rename(part, file, code);
    return !code;
}

void SimAnnouncement::withdraw(const std::string& where) {
    std::error_code code;
    std::filesystem::remove(fileOf(where, ::getpid()), code);
}

std::vector<SimAnnouncement::Entry> SimAnnouncement::running(const std::string& where) {
    std::vector<Entry> entries;
    std::error_code code;
    for (std::filesystem::directory_iterator it(where, code), end; !code && it != end;
         it.increment(code)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() != kExtension) {
            continue;
        }
        Entry entry;
        try {
            entry.pid = static_cast<pid_t>(std::stol(path.stem().string()));
        } catch (...) {
            continue;
        }
        if (!alive(entry.pid)) {
            continue;
        }
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("device ", 0) == 0) {
                entry.device = line.substr(7);
            } else if (line.rfind("link ", 0) == 0) {
                entry.link = line.substr(5);
            }
        }
        if (!entry.device.empty()) {
            entries.push_back(std::move(entry));
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.pid < b.pid; });
    return entries;
}

} // namespace kestrava
