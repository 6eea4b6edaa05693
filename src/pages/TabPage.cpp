#include "pages/TabPage.h"

#include "pages/ControlFactory.h"
#include "pages/PageHost.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <utility>

namespace kestrava {

TabPage::TabPage(QWidget* parent) : QWidget(parent) {}

void TabPage::SetTranslator(PageTranslator translate) {
    m_translate = std::move(translate);
}

void TabPage::SetTextConverter(TextConverter convert) {
    m_convert = std::move(convert);
}

void TabPage::AddCaption(QWidget* control, const char* english) {
    m_captions.Add(control, QString::fromLatin1(english));
}

QLabel* TabPage::AddLabel(int id, QWidget* parent, const char* english) {
    auto* control = MakeControl<QLabel>(id, parent);
    AddCaption(control, english);
    return control;
}

QGroupBox* TabPage::AddGroup(int id, QWidget* parent, const char* english) {
    auto* control = MakeControl<QGroupBox>(id, parent);
    AddCaption(control, english);
    return control;
}

QPushButton* TabPage::AddButton(int id, QWidget* parent, const char* english) {
    auto* control = MakeControl<QPushButton>(id, parent);
    control->setAutoDefault(false);
    if (english != nullptr) {
        AddCaption(control, english);
    }
    return control;
}

PageHost* TabPage::HostWithOpenPort() const {
    if (m_host == nullptr) {
        return nullptr;
    }
    if (!m_host->portOpen()) {
        m_host->showWarning(QStringLiteral("Please open port first"));
        return nullptr;
    }
    return m_host;
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
