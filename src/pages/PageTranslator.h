#pragma once

#include <QString>

#include <functional>

namespace kestrava {

// The language lookup the pages use for every caption they show: English key in, text of the
// chosen language out. An empty translator shows the English texts.
using PageTranslator = std::function<QString(const QString& english)>;

// The text of `english` in the current language; the key itself when there is no translator.
inline QString TranslateText(const PageTranslator& translate, const QString& english) {
    return translate ? translate(english) : english;
}

} // namespace kestrava
