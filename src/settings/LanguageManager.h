#pragma once

#include "settings/CStdioFileEx.h"
#include "settings/CodePage.h"
#include "settings/FileErrorReporter.h"
#include "settings/IoResult.h"
#include "settings/UiFont.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava {

// The chosen language, its lookups and the user interface font.
// langsetting.ini (UTF-16LE, section "Setting") in the settings folder keeps "Language", "Font"
// and "Size"; language files are "<language folder>/<language>.lang", UTF-16LE, pairs of lines:
// an English text, then its translation.
class LanguageManager {
public:
    static constexpr const char* kSettingsFileName = "langsetting.ini";

    // `settingsFolder` holds langsetting.ini (the program passes the folder of its executable);
    // `languageFolder` holds the language files; a relative folder is taken from the current
    // directory at each use. `reporter` may be null. `codePage` reads and writes a
    // langsetting.ini that has no byte-order mark (one the program creates always has it).
    LanguageManager(std::filesystem::path settingsFolder,
                    std::filesystem::path languageFolder = "lang",
                    FileErrorReporter* reporter = nullptr, CodePage codePage = Latin1CodePage());

    // Reads the three settings (defaults "english.lang", "Arial", "15" when missing); the font's
    // height is "Size" brought into UiFont's sane range. Being the start of a run, it first
    // removes the stale temporary files that an interrupted save left beside langsetting.ini.
    void initialise();

    // The translation of `english`, or `english` itself. The language file is read anew on every
    // call, so a changed file takes effect at the next lookup.
    std::u16string translate(const std::u16string& english) const;

    // Writes the settings with the new language (creating the file when missing) and switches
    // the lookups to it, even when the write fails; the font stays as it was for this run.
    IoResult chooseLanguage(const std::u16string& name);

    // The names of the "*.lang" files of the language folder without the extension, in the
    // order the folder lists them.
    std::vector<std::u16string> languageList() const;

    // The entry of `list` to select at start-up: the first that begins with the language.
    std::optional<std::size_t> initialSelection(const std::vector<std::u16string>& list) const;

    const std::u16string& language() const { return m_language; }
    const std::u16string& fontFace() const { return m_fontFace; }
    const std::u16string& fontSize() const { return m_fontSize; }
    const UiFont& font() const { return m_font; }
    std::filesystem::path settingsPath() const { return m_settingsPath; }
    std::filesystem::path languageFile() const;

    // The lookup over an open language file positioned after its byte-order mark: the line
    // after the first line that equals `english` once trimmed, untrimmed; the empty text when
    // that line is the last; nothing when no line matches.
    static std::optional<std::u16string> findTranslation(CStdioFileEx& file,
                                                         const std::u16string& english);

private:
    void reportReadError(const std::filesystem::path& file) const;

    std::filesystem::path m_settingsPath;
    std::filesystem::path m_languageFolder;
    FileErrorReporter* m_reporter;
    CodePage m_codePage;
    std::u16string m_language;
    std::u16string m_fontFace;
    std::u16string m_fontSize;
    UiFont m_font;
};

} // namespace kestrava
