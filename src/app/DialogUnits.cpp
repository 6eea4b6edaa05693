#include "app/DialogUnits.h"

#include <QFontMetrics>

namespace kestrava {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    static const QString kAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = (metrics.horizontalAdvance(kAlphabet) / 26 + 1) / 2;
    m_baseY = metrics.height();
    if (m_baseX <= 0) {
        m_baseX = 6;
    }
    if (m_baseY <= 0) {
        m_baseY = 13;
    }
}

int DialogUnits::x(int units) const {
    return (units * m_baseX + 2) / 4;
}

int DialogUnits::y(int units) const {
    return (units * m_baseY + 4) / 8;
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return {x(left), y(top), x(width), y(height)};
}

} // namespace kestrava
