#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kestrava {

CAboutDlg::CAboutDlg(const std::function<QString(const QString&)>& translate, QWidget* parent)
    : QDialog(parent) {
    const auto translatedText = [&translate](const QString& english) {
        return translate ? translate(english) : english;
    };
    setObjectName(QStringLiteral("100"));
    setWindowTitle(translatedText(QStringLiteral("About Kestrava")));
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(32, 32));
    auto* text = new QLabel(translatedText(QStringLiteral("Kestrava, Version 1.0.0.0")), this);
    text->setObjectName(QStringLiteral("about-line"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

} // namespace kestrava
