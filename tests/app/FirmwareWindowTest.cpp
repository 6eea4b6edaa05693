// The firmware update in the main window on the offscreen platform, against the built-in
// emulator over its pseudo-terminal (the fast transfer reopens the real port twice).
#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "exchange/CommandExchange.h"
#include "pages/CDialogBase.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace kestrava {
namespace {

using test::waitUntil;

// Answers every box the window shows: Yes to a question, OK otherwise; keeps the texts.
class BoxAnswerer {
public:
    BoxAnswerer() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            texts.append(box->text());
            QAbstractButton* yes = box->button(QMessageBox::Yes);
            (yes != nullptr ? yes : box->button(QMessageBox::Ok))->click();
        });
        m_timer.start(20);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

TEST(FirmwareWindow, aFastUpdateLocksOpenAndUpdateAndEndsWithTheBoxAt19200Again) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QDir(folder.path()).mkdir(QStringLiteral("lang"));
    ReceiverProfile profile;
    profile.hardwareCode = 98;
    profile.fastFirmware = true;
    BuiltInEmulator emulator;
    QString error;
    ASSERT_TRUE(emulator.start(error, profile)) << error.toStdString();
    AppOptions options;
    options.settingsFolder = folder.path();
    options.languageFolder = folder.filePath(QStringLiteral("lang"));
    options.emulatorPort = emulator.devicePath();
    CKestravaDlg window(options);
    window.show();

    const QString path = folder.filePath(QStringLiteral("rx.098.kvb"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(5000, '\x3C'));
    }
    auto* open = window.findChild<QPushButton*>(QStringLiteral("1061"), Qt::FindDirectChildrenOnly);
    auto* update =
        window.findChild<QPushButton*>(QStringLiteral("1013"), Qt::FindDirectChildrenOnly);
    auto* tip = window.findChild<QLabel*>(QStringLiteral("1177"), Qt::FindDirectChildrenOnly);
    auto* page = window.findChild<CDialogBase*>();
    ASSERT_TRUE(open && update && tip && page);
    open->click();
    ASSERT_TRUE(waitUntil([&] { return tip->text() == "Read main information successfully"; }))
        << tip->text().toStdString();

    page->findChild<QLineEdit*>(QStringLiteral("1019"))->setText(path);
    page->ShowFirmwareSettings(path, 1);
    // Looked at every time the progress moves, so a fast transfer cannot slip between samples.
    bool lockedWhileSending = false;
    BoxAnswerer boxes;
    auto* progress = page->findChild<QProgressBar*>();
    ASSERT_NE(progress, nullptr);
    QObject::connect(progress, &QProgressBar::valueChanged, [&](int value) {
        if (value > 0) {
            lockedWhileSending = lockedWhileSending || (!open->isEnabled() && !update->isEnabled());
        }
    });
    page->findChild<QPushButton*>(QStringLiteral("1013"))->click();
    ASSERT_TRUE(waitUntil([&] { return boxes.texts.size() >= 2; }))
        << boxes.texts.join('|').toStdString();
    EXPECT_EQ(boxes.texts, (QStringList{QStringLiteral("Are you sure to update?"),
                                        QStringLiteral("Update successfully,Please restart the "
                                                       "receiver")}));
    EXPECT_TRUE(lockedWhileSending);
    EXPECT_TRUE(open->isEnabled());
    EXPECT_TRUE(update->isEnabled());
    EXPECT_EQ(page->ProgressPos(), 0);
    // Back at 19200 with the port open: the main information reads again.
    ASSERT_TRUE(waitUntil([&] { return window.exchange().portOpen(); }));
    EXPECT_EQ(open->text(), "Close");
    update->click();
    EXPECT_TRUE(waitUntil([&] { return tip->text() == "Read main information successfully"; }))
        << tip->text().toStdString();
}

} // namespace
} // namespace kestrava
