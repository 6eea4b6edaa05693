#pragma once

#include <QComboBox>

namespace kestrava {

// The port list. Its popup is as wide as its longest entry, whatever the width of the closed
// box; the closed box shows an entry's short name (kShortNameRole) when it has one, and elides
// what still does not fit in the middle, so the start and the end of a name stay readable.
class PortComboBox : public QComboBox {
    Q_OBJECT

public:
    static constexpr int kShortNameRole = Qt::UserRole + 1;

    explicit PortComboBox(QWidget* parent = nullptr);

    // The text the closed box shows for the current entry, before eliding.
    QString shownText() const;

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kestrava
