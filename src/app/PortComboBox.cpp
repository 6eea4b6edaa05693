#include "app/PortComboBox.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

namespace kestrava {

PortComboBox::PortComboBox(QWidget* parent) : QComboBox(parent) {}

QString PortComboBox::shownText() const {
    const QVariant shortName = currentData(kShortNameRole);
    return shortName.isValid() ? shortName.toString() : currentText();
}

void PortComboBox::showPopup() {
    const QFontMetrics metrics(view()->font());
    int widest = 0;
    for (int i = 0; i < count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    }
    // Room for the item's own margins, the frame and a scroll bar should the list be long.
    const int extra = metrics.horizontalAdvance(QLatin1Char('x')) * 4 +
                      view()->verticalScrollBar()->sizeHint().width() + 2 * view()->frameWidth();
    view()->setMinimumWidth(std::max(width(), widest + extra));
    QComboBox::showPopup();
}

void PortComboBox::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    option.currentText = fontMetrics().elidedText(shownText(), Qt::ElideMiddle, field.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace kestrava
