#pragma once

#include "settings/IoResult.h"

#include <filesystem>
#include <functional>
#include <string_view>

namespace kestrava {

// Replaces the file at `target` by `bytes` so that, whatever happens meanwhile (crash, kill,
// full disk, power cut), the file afterwards holds either its complete old text or the complete
// new one: the new text goes to a fresh temporary file in the same folder, is flushed to the
// disk, and is then renamed over the target. On failure the temporary file is removed, the
// target is untouched and the result says why.
// `beforeReplace` runs after the temporary file is complete and before the rename; it exists
// so that tests can interrupt the save at its most delicate moment.
IoResult WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                             const std::function<void()>& beforeReplace = {});

} // namespace kestrava
