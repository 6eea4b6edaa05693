#include "settings/LanguageManager.h"
#include "settings/TextTrim.h"

#include "settings/AtomicFile.h"
#include "settings/IniFile.h"
#include "settings/TextNumbers.h"

#include <exception>
#include <system_error>
#include <utility>

namespace kestrava {

namespace {

constexpr std::u16string_view kSection = u"Setting";
constexpr std::u16string_view kDefaultLanguage = u"english.lang";
constexpr std::u16string_view kDefaultFace = u"Arial";
constexpr std::u16string_view kDefaultSize = u"15";

bool endsWithLangExtension(const std::u16string& name) {
    constexpr std::u16string_view extension = u".lang";
    if (name.size() <= extension.size()) {
        return false;
    }
    const auto tail = std::u16string_view(name).substr(name.size() - extension.size());
#if defined(_WIN32)
    // The platform's file names ignore case.
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const char16_t c = tail[i];
        const char16_t lower = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
        if (lower != extension[i]) {
            return false;
        }
    }
    return true;
#else
    return tail == extension;
#endif
}

} // namespace

LanguageManager::LanguageManager(std::filesystem::path settingsFolder,
                                 std::filesystem::path languageFolder, FileErrorReporter* reporter,
                                 CodePage codePage)
    : m_settingsPath(std::move(settingsFolder) / kSettingsFileName),
      m_languageFolder(std::move(languageFolder)), m_reporter(reporter),
      m_codePage(std::move(codePage)), m_language(kDefaultLanguage), m_fontFace(kDefaultFace),
      m_fontSize(kDefaultSize), m_font{m_fontFace, UiFont::saneHeight(LeadingDecimal(m_fontSize))} {
}

void LanguageManager::initialise() {
    RemoveStaleTemporaries(m_settingsPath);
    IniDocument document;
    IniFile::load(m_settingsPath, m_codePage, document);
    m_language = document.readString(kSection, u"Language", kDefaultLanguage);
    m_fontFace = document.readString(kSection, u"Font", kDefaultFace);
    m_fontSize = document.readString(kSection, u"Size", kDefaultSize);
    // The text stays as the file has it (it is written back so); the font gets a usable height.
    m_font = UiFont{m_fontFace, UiFont::saneHeight(LeadingDecimal(m_fontSize))};
}

std::filesystem::path LanguageManager::languageFile() const {
    return m_languageFolder / std::filesystem::path(m_language + u".lang");
}

std::optional<std::u16string> LanguageManager::findTranslation(CStdioFileEx& file,
                                                               const std::u16string& english) {
    std::u16string line;
    while (file.readLine(line)) {
        if (trimmed(line) == english) {
            std::u16string translation;
            file.readLine(translation);
            return translation;
        }
    }
    return std::nullopt;
}

std::u16string LanguageManager::translate(const std::u16string& english) const {
    std::filesystem::path path;
    try {
        path = languageFile();
    } catch (const std::exception&) {
        return english; // a language name that is no valid file name has no file
    }
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code)) {
        return english;
    }
    CStdioFileEx file;
    if (!file.open(path)) {
        reportReadError(path);
        return english;
    }
    file.skip(2); // the byte-order mark, taken on trust
    auto translation = findTranslation(file, english);
    if (file.failed()) {
        reportReadError(path);
    }
    return translation ? *translation : english;
}

IoResult LanguageManager::chooseLanguage(const std::u16string& name) {
    IniDocument document;
    switch (IniFile::load(m_settingsPath, m_codePage, document)) {
    case IniFile::LoadState::Missing:
        // A new file is UTF-16LE and starts with the section heading.
        document = IniDocument(u"[Setting]", IniEncoding::Utf16Le);
        break;
    case IniFile::LoadState::Unreadable:
        m_language = name;
        return IoResult::failure("Cannot read " + m_settingsPath.string());
    case IniFile::LoadState::Loaded:
        break;
    }
    document.writeString(kSection, u"Language", name);
    document.writeString(kSection, u"Font", m_fontFace);
    document.writeString(kSection, u"Size", m_fontSize);
    m_language = name;
    return IniFile::save(m_settingsPath, document, m_codePage);
}

std::vector<std::u16string> LanguageManager::languageList() const {
    std::vector<std::u16string> names;
    std::error_code code;
    std::filesystem::directory_iterator it(m_languageFolder, code);
    for (; !code && it != std::filesystem::directory_iterator(); it.increment(code)) {
        std::error_code kind;
        if (!it->is_regular_file(kind)) {
            continue;
        }
        std::u16string name;
        try {
            name = it->path().filename().u16string();
        } catch (const std::exception&) {
            continue; // a file name that is not valid text cannot be offered
        }
        if (endsWithLangExtension(name)) {
            names.push_back(name.substr(0, name.rfind(u'.')));
        }
    }
    return names;
}

std::optional<std::size_t>
LanguageManager::initialSelection(const std::vector<std::u16string>& list) const {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].starts_with(m_language)) {
            return i;
        }
    }
    return std::nullopt;
}

void LanguageManager::reportReadError(const std::filesystem::path& file) const {
    if (m_reporter == nullptr) {
        return;
    }
    std::u16string name;
    try {
        name = file.u16string();
    } catch (const std::exception&) {
        name = m_language + u".lang";
    }
    m_reporter->reportFileError(u"操作文件" + name + u"时发生异常!");
}

} // namespace kestrava
