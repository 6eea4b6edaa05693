#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QString>
#include <QWidget>

// The control of `page` named by its control id; nullptr when it is missing or of another kind.
template <class W>
W* FindControl(const QWidget& page, int id) {
    return page.findChild<W*>(QString::number(id));
}

// The caption a user sees on a label, button or group box.
inline QString CaptionOf(const QWidget& page, int id) {
    QWidget* control = FindControl<QWidget>(page, id);
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        return group->title();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
    return QStringLiteral("<no caption control %1>").arg(id);
}
