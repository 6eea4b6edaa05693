#include "pages/TabPage.h"

#include "pages/ControlFactory.h"
#include "pages/PageHost.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <utility>

namespace kestrava {

namespace {

constexpr const char* kUnreadProperty = "unreadValue";
constexpr const char* kUnreadWatchedProperty = "unreadValueWatched";

const char* const kUnreadTip = QT_TR_NOOP("Not read from this receiver yet");

} // namespace

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

bool TabPage::IsMarkedUnread(const QWidget* control) {
    return control != nullptr && control->property(kUnreadProperty).toBool();
}

void TabPage::ApplyCaptions() const {
    m_captions.Apply(m_translate);
    for (QWidget* control : findChildren<QWidget*>()) {
        if (IsMarkedUnread(control)) {
            control->setToolTip(Tr(QString::fromLatin1(kUnreadTip)));
        }
    }
}

void TabPage::MarkUnread(const QList<QWidget*>& controls, bool unread) {
    for (QWidget* control : controls) {
        if (control == nullptr || IsMarkedUnread(control) == unread) {
            continue;
        }
        control->setProperty(kUnreadProperty, unread);
        control->setToolTip(unread ? Tr(QString::fromLatin1(kUnreadTip)) : QString());
        if (auto* list = qobject_cast<QTreeWidget*>(control)) {
            const QBrush dim = list->palette().brush(QPalette::PlaceholderText);
            for (int row = 0; row < list->topLevelItemCount(); ++row) {
                QTreeWidgetItem* item = list->topLevelItem(row);
                for (int column = 0; column < list->columnCount(); ++column) {
                    item->setData(column, Qt::ForegroundRole, unread ? QVariant(dim) : QVariant());
                }
            }
            continue;
        }
        if (unread) {
            QPalette palette = control->palette();
            const QColor dim = palette.color(QPalette::PlaceholderText);
            for (QPalette::ColorRole role :
                 {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
                palette.setColor(QPalette::Active, role, dim);
                palette.setColor(QPalette::Inactive, role, dim);
            }
            control->setPalette(palette);
        } else {
            control->setPalette(QPalette()); // the parent's again
        }
        auto* edit = qobject_cast<QLineEdit*>(control);
        if (edit != nullptr) {
            // Slanted too: a dim text alone would look like a disabled edit's.
            if (unread) {
                QFont font = edit->font();
                font.setItalic(true);
                edit->setFont(font);
            } else {
                edit->setFont(QFont()); // the parent's again
            }
        } else if (auto* box = qobject_cast<QComboBox*>(control)) {
            edit = box->lineEdit();
        }
        if (edit != nullptr && !control->property(kUnreadWatchedProperty).toBool()) {
            control->setProperty(kUnreadWatchedProperty, true);
            connect(edit, &QLineEdit::textEdited, this,
                    [this, control] { MarkUnread({control}, false); });
        }
    }
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
