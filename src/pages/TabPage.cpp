#include "pages/TabPage.h"

#include <QKeyEvent>

#include <utility>

namespace kestrava {

TabPage::TabPage(QWidget* parent) : QWidget(parent) {}

void TabPage::SetTranslator(PageTranslator translate) {
    m_translate = std::move(translate);
}

void TabPage::SetTextConverter(TextConverter convert) {
    m_convert = std::move(convert);
}

void TabPage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace kestrava
