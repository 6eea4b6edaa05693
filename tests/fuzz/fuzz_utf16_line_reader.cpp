// Any byte sequence must read as lines that obey the line rules, account for every code unit,
// and support a translation lookup.
#include "fuzz/FuzzCheck.h"
#include "settings/CStdioFileEx.h"
#include "settings/LanguageManager.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace kestrava;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CStdioFileEx file;
    file.openBytes(bytes);
    std::u16string line;
    std::u16string first;
    std::size_t units = 0;
    std::size_t count = 0;
    while (file.readLine(line)) {
        check(!line.empty() && line.size() <= CStdioFileEx::kMaxLine);
        const bool endsInCrLf =
            line.size() >= 2 && line[line.size() - 2] == u'\r' && line.back() == u'\n';
        // Only a line of nothing but CR LF keeps its CR LF, and no CR LF stays inside a line.
        check(!endsInCrLf || line.size() == 2);
        check(line.size() == 2 || line.find(u"\r\n") == std::u16string::npos);
        units += line.size();
        if (count++ == 0) {
            first = line;
        }
    }
    check(!file.failed());
    // Every code unit is in a line or in a removed CR LF; a trailing odd byte is dropped.
    check(units <= size / 2 && (size / 2 - units) % 2 == 0);

    // The lookup over the same bytes finds a line that is there.
    CStdioFileEx again;
    again.openBytes(bytes);
    again.skip(2);
    const auto translation = LanguageManager::findTranslation(again, first);
    if (translation) {
        check(translation->size() <= CStdioFileEx::kMaxLine);
    }
    return 0;
}
