#include "settings/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kestrava {

namespace {

std::string describe(const std::filesystem::path& path, const std::string& what, int error) {
    return what + " " + path.string() + ": " + std::generic_category().message(error);
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
void syncFolder(const std::filesystem::path& folder) {
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

// Creates a temporary file beside `target` that did not exist before ("wbx": exclusive create).
std::FILE* createTemporary(const std::filesystem::path& target, std::filesystem::path& created,
                           int& error) {
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto name = target.filename().string() + ".tmp" + std::to_string(device() % 1000000) +
                          "-" + std::to_string(counter++);
        created = target.parent_path() / name;
        errno = 0;
        if (std::FILE* file = std::fopen(created.string().c_str(), "wbx")) {
            return file;
        }
        error = errno;
        if (error != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

} // namespace

IoResult WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                             const std::function<void()>& beforeReplace) {
    std::filesystem::path temporary;
    int error = 0;
    std::FILE* file = createTemporary(target, temporary, error);
    if (file == nullptr) {
        return IoResult::failure(describe(target, "Cannot create a temporary file for", error));
    }
    errno = 0;
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && syncToDisk(file);
    error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return IoResult::failure(describe(target, "Cannot write", error != 0 ? error : EIO));
    }

    // The new file takes the old one's permissions, so a save never widens or narrows access.
    std::error_code code;
    const auto old = std::filesystem::status(target, code);
    if (!code && std::filesystem::exists(old)) {
        std::filesystem::permissions(temporary, old.permissions(), code);
    }

    if (beforeReplace) {
        beforeReplace();
    }
    std::filesystem::rename(temporary, target, code);
    if (code) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return IoResult::failure(describe(target, "Cannot replace", code.value()));
    }
    syncFolder(target.parent_path());
    return IoResult::success();
}

} // namespace kestrava
