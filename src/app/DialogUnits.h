#pragma once

#include <QFont>
#include <QRect>

namespace kestrava {

// Converts the window's layout, given in dialog units, into pixels for a font, the way dialog
// templates are laid out: a horizontal unit is a quarter of the font's average character width,
// a vertical unit an eighth of its height. The window keeps its proportions in any font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int left, int top, int width, int height) const;

private:
    int m_baseX;
    int m_baseY;
};

} // namespace kestrava
