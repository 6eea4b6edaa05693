#pragma once

#include "settings/IoResult.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>

namespace kestrava {

// Replaces the file at `target` by `bytes` so that, whatever happens meanwhile (crash, kill,
// full disk, power cut), the file afterwards holds either its complete old text or the complete
// new one: the new text goes to a fresh temporary file in the same folder, is flushed to the
// disk, and is then renamed over the target. On failure the temporary file is removed, the
// target is untouched and the result says why.
// A `target` that is a symbolic link stays a link: the file it leads to is the one replaced.
// A target file that is read-only is the user's "do not write": it is left as it is, and the
// result is a failure marked readOnly.
// `beforeReplace` runs after the temporary file is complete and before the rename; it exists
// so that tests can interrupt the save at its most delicate moment.
IoResult WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                             const std::function<void()>& beforeReplace = {});

// The temporary files of WriteFileAtomically(target) are "<file name>.tmp<pid>-<n>" beside the
// file the target leads to. A crash between their write and their rename leaves one behind;
// this removes those that are stale: made by a process that is no longer running, or older
// than kStaleTemporaryAge whoever made them. One younger than kTemporaryGrace is never touched:
// its writer may be busy with it (in a process this one cannot see). Returns how many went.
std::size_t RemoveStaleTemporaries(const std::filesystem::path& target);

inline constexpr std::chrono::seconds kTemporaryGrace{10};
inline constexpr std::chrono::hours kStaleTemporaryAge{1};

} // namespace kestrava
