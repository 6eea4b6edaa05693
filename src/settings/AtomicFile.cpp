#include "settings/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace kestrava {

namespace {

namespace fs = std::filesystem;

// Links followed one by one; more than this many is a loop.
constexpr int kMaxLinkHops = 40;

std::string describe(const fs::path& path, const std::string& what, int error) {
    return what + " " + path.string() + ": " + std::generic_category().message(error);
}

long currentProcessId() {
#if defined(_WIN32)
    return static_cast<long>(::_getpid());
#else
    return static_cast<long>(::getpid());
#endif
}

// Whether the process `pid` may still be running. Unknown counts as running.
bool processRunning(long pid) {
    if (pid <= 0) {
        return false;
    }
    if (pid == currentProcessId()) {
        return true;
    }
#if defined(_WIN32)
    return true;
#else
    if (static_cast<long>(static_cast<pid_t>(pid)) != pid) {
        return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#endif
}

// The file `path` leads to: every link followed, a relative link taken from its own folder.
// A path that does not exist (or a link to nothing) is returned as it stands.
fs::path followLinks(fs::path path, std::error_code& code) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        const auto status = fs::symlink_status(path, code);
        if (status.type() == fs::file_type::not_found) {
            code.clear();
            return path;
        }
        if (code || !fs::is_symlink(status)) {
            return path;
        }
        const auto next = fs::read_symlink(path, code);
        if (code) {
            return path;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    code = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return path;
}

// A regular file that nobody may write, or that this process may not write.
bool isReadOnly(const fs::path& file) {
    std::error_code code;
    const auto status = fs::status(file, code);
    if (code || !fs::is_regular_file(status)) {
        return false;
    }
    constexpr auto anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & anyWrite) == fs::perms::none) {
        return true;
    }
#if defined(_WIN32)
    return false;
#else
    return ::access(file.c_str(), W_OK) != 0 && errno == EACCES;
#endif
}

// Forces the file's data to the disk before it becomes visible under the target's name.
bool syncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

// Makes the rename itself durable; best effort, the data is already safe either way.
void syncFolder(const fs::path& folder) {
#if !defined(_WIN32)
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder;
#endif
}

std::string temporaryStem(const fs::path& file) {
    return file.filename().string() + ".tmp";
}

// The writer's process id of a temporary of `file` named `name`, or nothing when the name is
// not one of those temporaries ("<file name>.tmp<digits>-<digits>", nothing more).
std::optional<long> temporaryOwner(const fs::path& file, const std::string& name) {
    const std::string stem = temporaryStem(file);
    if (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0) {
        return std::nullopt;
    }
    const std::string rest = name.substr(stem.size());
    const auto dash = rest.find('-');
    auto digits = [](const std::string& text) {
        return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    };
    if (dash == std::string::npos || !digits(rest.substr(0, dash)) ||
        !digits(rest.substr(dash + 1))) {
        return std::nullopt;
    }
    // An id too long for any process cannot be running.
    return dash > 9 ? 0L : std::stol(rest.substr(0, dash));
}

// Creates a temporary file beside `file` that did not exist before ("wbx": exclusive create).
std::FILE* createTemporary(const fs::path& file, fs::path& created, int& error) {
    static std::atomic<unsigned> counter{0};
    error = 0;
    const std::string stem = temporaryStem(file) + std::to_string(currentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = file.parent_path() / (stem + std::to_string(counter++));
        errno = 0;
        if (std::FILE* handle = std::fopen(created.string().c_str(), "wbx")) {
            return handle;
        }
        error = errno;
        if (error != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

} // namespace

IoResult WriteFileAtomically(const fs::path& target, std::string_view bytes,
                             const std::function<void()>& beforeReplace) {
    std::error_code code;
    const fs::path file = followLinks(target, code);
    if (code) {
        return IoResult::failure(describe(target, "Cannot follow the link", code.value()));
    }
    if (isReadOnly(file)) {
        return IoResult::readOnlyFile(file.string() + " is read-only and was left as it is");
    }

    fs::path temporary;
    int error = 0;
    std::FILE* handle = createTemporary(file, temporary, error);
    if (handle == nullptr) {
        return IoResult::failure(describe(file, "Cannot create a temporary file for", error));
    }
    errno = 0;
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), handle) == bytes.size() && syncToDisk(handle);
    error = errno;
    const bool closed = std::fclose(handle) == 0;
    if (!written || !closed) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return IoResult::failure(describe(file, "Cannot write", error != 0 ? error : EIO));
    }

    // The new file takes the old one's permissions, so a save never widens or narrows access.
    const auto old = fs::status(file, code);
    if (!code && fs::exists(old)) {
        fs::permissions(temporary, old.permissions(), code);
    }

    if (beforeReplace) {
        beforeReplace();
    }
    fs::rename(temporary, file, code);
    if (code) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return IoResult::failure(describe(file, "Cannot replace", code.value()));
    }
    syncFolder(file.parent_path());
    return IoResult::success();
}

std::size_t RemoveStaleTemporaries(const fs::path& target) {
    std::error_code code;
    const fs::path file = followLinks(target, code);
    if (code) {
        return 0;
    }
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    std::size_t removed = 0;
    const auto now = fs::file_time_type::clock::now();
    fs::directory_iterator it(folder, code);
    for (; !code && it != fs::directory_iterator(); it.increment(code)) {
        std::error_code entryCode;
        if (!it->is_regular_file(entryCode) || it->is_symlink(entryCode)) {
            continue;
        }
        const auto owner = temporaryOwner(file, it->path().filename().string());
        if (!owner) {
            continue;
        }
        const auto written = it->last_write_time(entryCode);
        if (entryCode) {
            continue;
        }
        const auto age = now - written;
        if (age < kTemporaryGrace || (age < kStaleTemporaryAge && processRunning(*owner))) {
            continue;
        }
        if (fs::remove(it->path(), entryCode)) {
            ++removed;
        }
    }
    return removed;
}

} // namespace kestrava
