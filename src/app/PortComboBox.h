#pragma once

#include <QComboBox>
#include <QList>
#include <QString>

namespace kestrava {

// The port list. Its entries carry the device to open (Qt::UserRole); a device path can also be
// typed in. Its popup is as wide as its longest entry, whatever the width of the closed box; the
// closed box shows an entry's short name (kShortNameRole) when it has one. The entries can be
// replaced while the window runs (ports come and go) without losing the entry chosen or a text
// being typed.
class PortComboBox : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kShortNameRole = Qt::UserRole + 1;

    struct Port {
        QString device;      // what is opened: /dev/ttyUSB0, COM3, a link's path
        QString text;        // the entry in the popup
        QString shortName;   // what the closed box shows; empty: the entry's text
        QString description; // the tool tip; empty: none

        friend bool operator==(const Port&, const Port&) = default;
    };

    explicit PortComboBox(QWidget* parent = nullptr);

    // The text the closed box shows for the current entry.
    QString shownText() const;

    // Replaces the entries (nothing changes when they are the same). The entry chosen stays
    // chosen while its device is listed (else the first entry is); a text the user is typing
    // stays as it is.
    void setPorts(const QList<Port>& ports);
    // The devices listed, in order.
    QStringList devices() const;

    // What Open opens: the chosen entry's device; or what was typed, the device of an entry it
    // names (its text, short name or device), or a typed name of a device file ("ttyUSB0").
    QString chosenDevice() const;
    // Whether the box holds a text that is not the current entry's.
    bool typing() const;

    void showPopup() override;

private:
    void showCurrentEntry();

    QList<Port> m_ports;
};

} // namespace kestrava
