#include "pages/CaptionTable.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace kestrava {

void CaptionTable::Add(QWidget* control, const QString& english) {
    m_entries.push_back({control, english});
    SetCaption(control, english);
}

void CaptionTable::Apply(const PageTranslator& translate) const {
    for (const Entry& entry : m_entries) {
        if (entry.control) {
            SetCaption(entry.control, TranslateText(translate, entry.english));
        }
    }
}

QString CaptionTable::KeyOf(const QWidget* control) const {
    for (const Entry& entry : m_entries) {
        if (entry.control == control) {
            return entry.english;
        }
    }
    return {};
}

void CaptionTable::SetCaption(QWidget* control, const QString& text) {
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    }
}

} // namespace kestrava
