#pragma once

#include <QGroupBox>
#include <QLayout>
#include <QPushButton>
#include <QSizePolicy>
#include <QString>
#include <QWidget>

namespace kestrava {

// Creates a control of type W and names it by its decimal control id, so that tests and
// accessibility tools find every control of a page with findChild<W*>("1081").
template <class W>
W* MakeControl(int id, QWidget* parent) {
    auto* control = new W(parent);
    control->setObjectName(QString::number(id));
    return control;
}

// Tightens the margins and spacing of every group box below `root`, so that a page fits the
// main window's tab area at a 9-point font the way a compact dialog does.
inline void CompactGroups(QWidget* root) {
    for (QGroupBox* group : root->findChildren<QGroupBox*>()) {
        if (QLayout* layout = group->layout()) {
            layout->setContentsMargins(6, 4, 6, 4);
            layout->setSpacing(4);
        }
    }
}

// Lets a short button ("Read", "Set") give up width when its row is crowded instead of forcing
// the page wider; it still takes its natural width when there is room.
inline void LetButtonShrink(QPushButton* button) {
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    button->setMinimumWidth(52);
}

} // namespace kestrava
