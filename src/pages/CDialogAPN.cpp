#include "pages/CDialogAPN.h"

#include "pages/ControlFactory.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace kestrava {

CDialogAPN::CDialogAPN(PageTranslator translate, QWidget* parent)
    : QDialog(parent), m_translate(std::move(translate)) {
    auto* userLabel = MakeControl<QLabel>(1150, this);
    m_captions.Add(userLabel, QStringLiteral("Username:"));
    m_userName = MakeControl<QLineEdit>(1019, this);
    auto* passwordLabel = MakeControl<QLabel>(1151, this);
    m_captions.Add(passwordLabel, QStringLiteral("Password:"));
    m_password = MakeControl<QLineEdit>(1020, this);
    m_password->setEchoMode(QLineEdit::Password);

    auto* read = MakeControl<QPushButton>(1013, this);
    m_captions.Add(read, QStringLiteral("Read"));
    read->setAutoDefault(false);
    auto* set = MakeControl<QPushButton>(1152, this);
    m_captions.Add(set, QStringLiteral("Set"));
    set->setDefault(true);
    auto* cancel = MakeControl<QPushButton>(1153, this);
    m_captions.Add(cancel, QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(userLabel, 0, 0);
    fields->addWidget(m_userName, 0, 1);
    fields->addWidget(passwordLabel, 1, 0);
    fields->addWidget(m_password, 1, 1);
    fields->setColumnMinimumWidth(1, 180);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(read);
    buttons->addWidget(set);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(read, &QPushButton::clicked, this, &CDialogAPN::readClicked);
    connect(set, &QPushButton::clicked, this,
            [this] { emit setClicked(m_userName->text(), m_password->text()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    ApplyApnTexts();
}

void CDialogAPN::SetApnLogin(const QString& userName, const QString& password) {
    m_userName->setText(userName);
    m_password->setText(password);
}

void CDialogAPN::ShowApnParams(const QString& userName, const QString& password) {
    m_password->setText(password);
    m_userName->setText(userName);
}

void CDialogAPN::ApplyApnTexts() {
    setWindowTitle(TranslateText(m_translate, QStringLiteral("APN Set")));
    m_captions.Apply(m_translate);
}

QString CDialogAPN::UserName() const {
    return m_userName->text();
}

QString CDialogAPN::Password() const {
    return m_password->text();
}

} // namespace kestrava
