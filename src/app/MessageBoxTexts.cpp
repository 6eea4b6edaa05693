#include "app/MessageBoxTexts.h"

#include <QAbstractButton>
#include <QEvent>
#include <QMessageBox>

#include <utility>

namespace kestrava {

MessageBoxTexts::MessageBoxTexts(Translate translate, QObject* parent)
    : QObject(parent), m_translate(std::move(translate)) {}

bool MessageBoxTexts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && m_translate) {
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            for (QAbstractButton* button : box->buttons()) {
                switch (box->standardButton(button)) {
                case QMessageBox::Ok:
                    button->setText(m_translate(QStringLiteral("OK")));
                    break;
                case QMessageBox::Yes:
                    button->setText(m_translate(QStringLiteral("Yes")));
                    break;
                case QMessageBox::No:
                    button->setText(m_translate(QStringLiteral("No")));
                    break;
                case QMessageBox::Cancel:
                    button->setText(m_translate(QStringLiteral("Cancel")));
                    break;
                default:
                    break;
                }
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kestrava
