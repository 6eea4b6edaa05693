#include "app/MainWindowLayout.h"

#include "app/DialogUnits.h"
#include "app/PortComboBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabWidget>

#include <algorithm>
#include <initializer_list>

namespace kestrava {
namespace {

QWidget* control(QWidget& window, int id) {
    return window.findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

// The width a label needs for its whole text.
int labelWidth(QWidget* widget) {
    return widget != nullptr ? widget->sizeHint().width() : 0;
}

int labelHeight(QWidget* widget) {
    return widget != nullptr ? widget->sizeHint().height() : 0;
}

// The width a button needs: its text with a little room on either side.
int buttonWidth(QAbstractButton* button) {
    const QFontMetrics metrics(button->font());
    return metrics.horizontalAdvance(button->text()) +
           metrics.horizontalAdvance(QLatin1Char('x')) * 2 +
           button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) * 2;
}

// The width a drop-down list needs to show `widest` in its closed box.
int comboWidth(QComboBox* box, int widest) {
    QStyleOptionComboBox option;
    option.initFrom(box);
    const QSize content(widest, box->fontMetrics().height());
    return box->style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, box).width();
}

int widestItem(QComboBox* box, int role) {
    int widest = 0;
    for (int i = 0; i < box->count(); ++i) {
        const QVariant text = box->itemData(i, role);
        const QString shown = text.isValid() ? text.toString() : box->itemText(i);
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(shown));
    }
    return widest;
}

void place(QWidget* widget, int x, int y, int width, int height) {
    if (widget != nullptr) {
        widget->setGeometry(x, y, width, height);
    }
}

} // namespace

void MainWindowLayout::apply(QWidget& window) {
    const DialogUnits u(window.font());

    // The tab area: at least its dialog-unit size, and as large as its biggest page needs.
    auto* tabs = qobject_cast<QTabWidget*>(control(window, 1008));
    QRect tabArea = u.rect(4, 6, 274, 243);
    if (tabs != nullptr) {
        const QSize needed = tabs->minimumSizeHint();
        tabArea.setWidth(std::max(tabArea.width(), needed.width()));
        tabArea.setHeight(std::max(tabArea.height(), needed.height()));
        tabs->setGeometry(tabArea);
    }

    // The right-hand column, two units clear of the tab control.
    const int left = tabArea.right() + 1 + u.x(2);
    const int inset = u.x(3);

    auto* portLabel = control(window, 1010);
    auto* portList = qobject_cast<QComboBox*>(control(window, 1060));
    auto* openButton = qobject_cast<QAbstractButton*>(control(window, 1061));
    const int rowHeight =
        std::max(u.y(14), portList != nullptr ? portList->sizeHint().height() : 0);
    int portListWidth = u.x(37);
    if (portList != nullptr) {
        portListWidth =
            std::max(portListWidth,
                     comboWidth(portList, widestItem(portList, PortComboBox::kShortNameRole)));
    }
    int openWidth = u.x(37);
    if (openButton != nullptr) {
        openWidth = std::max(openWidth, buttonWidth(openButton));
    }
    const int portLabelHeight = std::max(u.y(8), labelHeight(portLabel));
    place(portLabel, left, u.y(6), std::max(u.x(24), labelWidth(portLabel)), portLabelHeight);
    const int portRowTop = u.y(6) + portLabelHeight + u.y(1);
    place(portList, left, portRowTop, portListWidth, rowHeight);
    place(openButton, left + portListWidth + u.x(4), portRowTop, openWidth, rowHeight);

    // The main information panel: a group as wide as its longest caption needs.
    static constexpr int kPanel[][3] = {{1062, 1041, 44},  {1063, 1064, 63},  {1067, 1068, 103},
                                        {1069, 1070, 124}, {1071, 1072, 145}, {1073, 1074, 167},
                                        {1075, 1076, 188}, {1077, 1078, 211}};
    int captionWidth = u.x(77);
    for (const auto& row : kPanel) {
        captionWidth = std::max(captionWidth, labelWidth(control(window, row[0])));
    }
    auto* refresh = qobject_cast<QAbstractButton*>(control(window, 1013));
    if (refresh != nullptr) {
        captionWidth = std::max(captionWidth, buttonWidth(refresh));
    }
    QWidget* position = control(window, 1242);
    const int columnWidth =
        std::max({captionWidth + 2 * inset, portListWidth + u.x(4) + openWidth, u.x(83),
                  position != nullptr ? position->sizeHint().width() : 0});

    auto* group = qobject_cast<QGroupBox*>(control(window, 1154));
    const int groupTop = std::max(u.y(31), portRowTop + rowHeight + u.y(2));
    const int shift = groupTop - u.y(31); // rows move down with the group
    const int lineHeight = std::max(u.y(9), labelHeight(control(window, 1062)));
    int panelBottom = 0;
    for (const auto& row : kPanel) {
        const int top = std::max(u.y(row[2]) + shift, panelBottom + u.y(1));
        place(control(window, row[0]), left + inset, top, captionWidth, lineHeight);
        place(control(window, row[1]), left + inset, top + lineHeight, captionWidth, lineHeight);
        panelBottom = top + 2 * lineHeight;
    }
    const int groupBottom = std::max(u.y(233), panelBottom + u.y(4));
    place(group, left, groupTop, columnWidth, groupBottom - groupTop);
    const int refreshHeight =
        std::max(u.y(14), refresh != nullptr ? refresh->sizeHint().height() : 0);
    place(refresh, left + inset, groupBottom + u.y(2), captionWidth, refreshHeight);

    // The Position block under it, as wide as the column.
    int columnBottom = groupBottom + u.y(2) + refreshHeight;
    if (position != nullptr) {
        const int top = columnBottom + u.y(3);
        const int height = position->sizeHint().height();
        place(position, left, top, columnWidth, height);
        columnBottom = top + height;
    }

    const int rightEdge = left + columnWidth + u.x(4);

    // The bottom row: language caption and list, the red "Tip:" and the tip line.
    // The tab area reaches down as far as the column does.
    if (tabs != nullptr && columnBottom > tabArea.bottom() + 1) {
        tabArea.setBottom(columnBottom - 1);
        tabs->setGeometry(tabArea);
    }
    const int bottomTop = std::max({tabArea.bottom() + 1, columnBottom}) + u.y(1);
    auto* languageLabel = control(window, 1192);
    auto* languageList = qobject_cast<QComboBox*>(control(window, 1011));
    auto* tipCaption = control(window, 1176);
    auto* tipLine = qobject_cast<QLabel*>(control(window, 1177));

    const int listHeight =
        std::max(u.y(12), languageList != nullptr ? languageList->sizeHint().height() : 0);
    const int languageLabelWidth = std::max(u.x(35), labelWidth(languageLabel));
    const int languageLabelHeight = std::max(u.y(8), labelHeight(languageLabel));
    place(languageLabel, u.x(5), bottomTop + (listHeight - languageLabelHeight) / 2,
          languageLabelWidth, languageLabelHeight);
    const int listLeft = std::max(u.x(46), u.x(5) + languageLabelWidth + u.x(4));
    int listWidth = u.x(62);
    if (languageList != nullptr) {
        listWidth = std::max(listWidth, comboWidth(languageList, widestItem(languageList, -1)));
    }
    place(languageList, listLeft, bottomTop, listWidth, listHeight);

    const int tipLeft = std::max(u.x(113), listLeft + listWidth + u.x(5));
    const int tipWidth = std::max(u.x(31), labelWidth(tipCaption));
    const int tipHeight = std::max(u.y(11), labelHeight(tipCaption));
    place(tipCaption, tipLeft, bottomTop + u.y(1), tipWidth, tipHeight);
    const int lineLeft = tipLeft + tipWidth + u.x(5);
    const int width = std::max({u.x(379), rightEdge, lineLeft + u.x(120)});
    const int lineWidth = width - lineLeft - u.x(4);
    int lineHeightTip = u.y(28);
    if (tipLine != nullptr) {
        lineHeightTip = std::max(lineHeightTip, tipLine->heightForWidth(lineWidth));
    }
    place(tipLine, lineLeft, bottomTop + u.y(1), lineWidth, lineHeightTip);
    const int height = std::max(u.y(281), bottomTop + u.y(1) + lineHeightTip + u.y(2));
    window.setFixedSize(width, height);
}

} // namespace kestrava
