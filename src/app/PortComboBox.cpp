#include "app/PortComboBox.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace kestrava {

PortComboBox::PortComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // a device path is typed whole, not completed to an entry
    connect(this, &QComboBox::currentIndexChanged, this, [this] { showCurrentEntry(); });
    connect(this, &QComboBox::activated, this, [this] { showCurrentEntry(); });
}

QString PortComboBox::shownText() const {
    const int index = currentIndex();
    if (index < 0) {
        return QString();
    }
    const QVariant shortName = itemData(index, kShortNameRole);
    return shortName.isValid() && !shortName.toString().isEmpty() ? shortName.toString()
                                                                  : itemText(index);
}

void PortComboBox::showCurrentEntry() {
    lineEdit()->setText(shownText());
    lineEdit()->setCursorPosition(0);
}

bool PortComboBox::typing() const {
    const QString text = lineEdit()->text();
    return !text.isEmpty() && text != shownText();
}

QStringList PortComboBox::devices() const {
    QStringList names;
    for (int i = 0; i < count(); ++i) {
        names.append(itemData(i).toString());
    }
    return names;
}

void PortComboBox::setPorts(const QList<Port>& ports) {
    if (ports == m_ports && count() == ports.size()) {
        return;
    }
    m_ports = ports;
    const bool keepTyped = typing();
    const QString typed = lineEdit()->text();
    const QString chosen = currentIndex() >= 0 ? currentData().toString() : QString();
    {
        const QSignalBlocker block(this);
        clear();
        for (const Port& port : ports) {
            addItem(port.text, port.device);
            const int index = count() - 1;
            if (!port.shortName.isEmpty()) {
                setItemData(index, port.shortName, kShortNameRole);
            }
            if (!port.description.isEmpty()) {
                setItemData(index, port.description, Qt::ToolTipRole);
            }
        }
        const int index = findData(chosen);
        setCurrentIndex(index >= 0 ? index : (count() > 0 ? 0 : -1));
    }
    if (keepTyped) {
        lineEdit()->setText(typed);
    } else {
        showCurrentEntry();
    }
}

QString PortComboBox::chosenDevice() const {
    const QString text = lineEdit()->text().trimmed();
    if (currentIndex() >= 0 && (text.isEmpty() || text == shownText())) {
        return currentData().toString();
    }
    for (int i = 0; i < count(); ++i) {
        if (text == itemText(i) || text == itemData(i).toString() ||
            text == itemData(i, kShortNameRole).toString()) {
            return itemData(i).toString();
        }
    }
#ifndef Q_OS_WIN
    // "ttyUSB0" or "pts/5" names the device file as the list shows it.
    if (!text.isEmpty() && !text.startsWith(QLatin1Char('/')) &&
        QFileInfo::exists(QStringLiteral("/dev/") + text)) {
        return QStringLiteral("/dev/") + text;
    }
#endif
    return text;
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

} // namespace kestrava
