#pragma once

#include "settings/CodePage.h"
#include "settings/IniDocument.h"
#include "settings/IoResult.h"
#include "settings/StoredSettings.h"

#include <filesystem>

namespace kestrava {

// recvcfg.ini in the settings folder (the program passes the folder of its executable): loads
// and saves a StoredSettings record. Texts are converted between the record's code-page bytes
// and the file's text with the caller's CodePage.
class SettingsFile {
public:
    static constexpr const char* kFileName = "recvcfg.ini";

    SettingsFile(const std::filesystem::path& folder, CodePage codePage);

    const std::filesystem::path& path() const { return m_path; }

    // Fills `settings`: the first-run defaults, overlaid by every key of an existing file (a
    // missing key takes its own fallback, which may differ from the first-run value). Without a
    // file the defaults are saved at once and the result is that save's; an unreadable file
    // gives the fallbacks and a failure. Being the start of a run, it first removes the stale
    // temporary files that an interrupted save left beside the file.
    // Text fields keep the bytes the file holds, so a value is written back as it was read.
    IoResult load(StoredSettings& settings) const;

    // Rewrites the six sections in their fixed order (each deleted, then written key by key),
    // keeping every other line of the file byte for byte, in one atomic replacement: a failed
    // save leaves the old file complete and is reported. A file that is a symbolic link is
    // saved to where it leads; a read-only file is not touched (a failure marked readOnly).
    IoResult save(const StoredSettings& settings) const;

    // The document transformations behind load and save, without the file.
    void read(const IniDocument& document, StoredSettings& settings) const;
    void write(const StoredSettings& settings, IniDocument& document) const;

private:
    std::filesystem::path m_path;
    CodePage m_codePage;
};

} // namespace kestrava
