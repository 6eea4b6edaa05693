// Any file text, in either encoding, must parse, answer reads, load into StoredSettings, and
// take writes that read back exactly; writing the text out and parsing it again is stable.
#include "fuzz/FuzzCheck.h"
#include "settings/CodePage.h"
#include "settings/IniDocument.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace kestrava;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const CodePage page = Latin1CodePage();
    auto document = IniFile::decode(bytes, page);

    // Serialising is stable after the first pass (line ends become CR LF).
    const auto once = IniFile::encode(document, page);
    const auto reparsed = IniFile::decode(once, page);
    check(IniFile::encode(reparsed, page) == once);
    check(reparsed.lines() == document.lines());

    // The whole settings load path, then a save into the same text and a load again.
    const SettingsFile settingsFile(".", page);
    StoredSettings settings;
    settingsFile.read(document, settings);
    for (const auto& value : {document.readString(u"NetParams", u"URL", u"x"),
                              document.readString(u"netparams", u"port", u"", 1)}) {
        check(value.size() < IniDocument::kValueBuffer);
    }
    auto saved = document;
    settingsFile.write(settings, saved);
    StoredSettings again = StoredSettings::firstRunDefaults();
    settingsFile.read(IniFile::decode(IniFile::encode(saved, page), page), again);
    check(again.net.port == settings.net.port && again.net.ip == settings.net.ip &&
          again.net.isUrl == settings.net.isUrl && again.voice == settings.voice &&
          again.cutOff == settings.cutOff && again.nmea == settings.nmea);

    // A write reads back, and a deleted section is gone.
    document.writeString(u"Setting", u"Language", u"chinese");
    check(document.readString(u"SETTING", u"language", u"") == u"chinese");
    document.deleteSection(u"NetParams");
    check(!document.hasSection(u"NetParams"));
    check(document.readString(u"NetParams", u"Port", u"1000") == u"1000");
    return 0;
}
