// The Net page and its APN dialog in the whole window, offscreen, against
// the built-in emulator over a pseudo-terminal, driven by key and mouse events as a user would.
#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "emulator/Emulator.h"
#include "exchange/CommandExchange.h"
#include "pages/CDialogAPN.h"
#include "pages/CDialogNETWORK.h"
#include "pages/PositionPanel.h"
#include "support/WaitUntil.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace kestrava {
namespace {

using test::waitUntil;

template <typename T>
T* child(QWidget& parent, int id) {
    return parent.findChild<T*>(QString::number(id));
}

std::string fieldText(const Bytes& payload, std::size_t at, std::size_t width) {
    std::string text;
    for (std::size_t i = at; i < at + width && i < payload.size() && payload[i] != 0; ++i) {
        text += static_cast<char>(payload[i]);
    }
    return text;
}

// Replaces an edit's text by typing: select all, then the keys of text.
void typeInto(QWidget& page, int id, const QString& text) {
    auto* edit = child<QLineEdit>(page, id);
    ASSERT_NE(edit, nullptr) << id;
    ASSERT_TRUE(edit->isEnabled()) << id;
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void click(QWidget& page, int id) {
    auto* button = child<QPushButton>(page, id);
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Answers the next message box with OK once it shows, keeping its text. The poll belongs to
// owner, so it ends with it even when no box comes.
void answerNextBox(QObject* owner, QString& text) {
    auto* poll = new QTimer(owner);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, &text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            poll->stop();
            poll->deleteLater();
            box->accept();
        }
    });
    poll->start();
}

class NetWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        QDir(m_folder.path()).mkdir(QStringLiteral("lang"));
        QString error;
        ASSERT_TRUE(m_emulator.start(error)) << error.toStdString();
        AppOptions options;
        options.settingsFolder = m_folder.path();
        options.languageFolder = m_folder.filePath(QStringLiteral("lang"));
        options.emulatorPort = m_emulator.devicePath();
        window = std::make_unique<CKestravaDlg>(options);
        window->show();
        net = window->findChild<CDialogNETWORK*>();
        ASSERT_NE(net, nullptr);
    }

    void openPort() {
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("1061")), Qt::LeftButton);
        // The chain ends with the motherboard's version in the panel.
        ASSERT_TRUE(waitUntil([&] {
            return !window->findChild<QLabel*>(QStringLiteral("1072"))->text().isEmpty();
        })) << tip().toStdString();
    }

    QString tip() { return window->findChild<QLabel*>(QStringLiteral("1177"))->text(); }
    QString text(QWidget& page, int id) { return child<QLineEdit>(page, id)->text(); }

    const ReceiverSettings& receiver() {
        m_emulator.stop();
        return m_emulator.emulator()->settings();
    }

    QTemporaryDir m_folder;
    BuiltInEmulator m_emulator;
    std::unique_ptr<CKestravaDlg> window;
    CDialogNETWORK* net = nullptr;
};

TEST_F(NetWindow, readShowsTheReceiversLinkAndSetWritesWhatTheUserTyped) {
    EXPECT_EQ(text(*net, 1081), "CMNET"); // a first run starts from the defaults
    QString box;
    answerNextBox(window.get(), box);
    click(*net, 1098);
    EXPECT_EQ(box, "Please open port first");

    openPort();
    click(*net, 1098);
    ASSERT_TRUE(waitUntil([&] { return tip() == "Read parameters successfully"; }));
    EXPECT_EQ(text(*net, 1093), "BASE01");
    EXPECT_EQ(text(*net, 1096), "1234056");
    EXPECT_EQ(text(*net, 1085), "192.168.1.20");
    EXPECT_EQ(child<QComboBox>(*net, 1045)->currentIndex(), 1);

    auto* mode = child<QComboBox>(*net, 1045);
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Up); // IntRTK -> VRS
    ASSERT_EQ(mode->currentIndex(), 0);
    typeInto(*net, 1089, QStringLiteral("surveyor"));
    typeInto(*net, 1091, QStringLiteral("s3cret"));
    typeInto(*net, 1085, QStringLiteral("caster.example.net"));
    typeInto(*net, 1087, QStringLiteral("2102"));
    typeInto(*net, 1093, QStringLiteral("MOUNT1"));
    click(*net, 1099);
    ASSERT_TRUE(waitUntil([&] { return tip() == "Set net params successfully"; }))
        << tip().toStdString();
    EXPECT_EQ(window->storedSettings().net.sourceNode, "MOUNT1");

    // A refused Set: the message, and nothing reaches the receiver.
    typeInto(*net, 1087, QStringLiteral("70000"));
    typeInto(*net, 1093, QStringLiteral("OTHER"));
    answerNextBox(window.get(), box);
    click(*net, 1099);
    EXPECT_EQ(box, "The port should be an integer between 0-65535");
    EXPECT_EQ(window->storedSettings().net.sourceNode, "MOUNT1");

    const Bytes& held = receiver().netParams();
    EXPECT_EQ(held[0], 0);                      // VRS
    EXPECT_EQ(held[10] * 256 + held[11], 2102); // port
    EXPECT_EQ(held[119], 1);                    // the server is a name
    EXPECT_EQ(fieldText(held, 120, 30), "caster.example.net");
    EXPECT_EQ(fieldText(held, 89, 30), "MOUNT1");
}

TEST_F(NetWindow, keyOpensTheApnDialogWhoseSetReachesTheReceiver) {
    openPort();
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CDialogAPN*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        sawDialog = true;
        typeInto(*dialog, 1019, QStringLiteral("apn-user"));
        typeInto(*dialog, 1020, QStringLiteral("apn-pass"));
        QTest::keyClick(child<QLineEdit>(*dialog, 1020), Qt::Key_Return); // Enter is Set
        waitUntil([&] { return tip() == "Set APN params successfully"; });
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    click(*net, 1013);
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(tip(), "Set APN params successfully");
    EXPECT_EQ(window->storedSettings().apnUserName, "apn-user");
    const Bytes& apn = receiver().apn();
    EXPECT_EQ(fieldText(apn, 0, 50), "apn-user");
    EXPECT_EQ(fieldText(apn, 50, 50), "apn-pass");
}

TEST(PositionWindow, theLiveFixShowsAsTheReceiverReportsItAndEmptiesOnClose) {
    QTemporaryDir folder;
    BuiltInEmulator emulator;
    ReceiverProfile profile;
    profile.fixQuality = 5;
    profile.satellites = 11;
    profile.correctionAge = 2;
    QString error;
    ASSERT_TRUE(emulator.start(error, profile)) << error.toStdString();
    AppOptions options;
    options.settingsFolder = folder.path();
    options.languageFolder = folder.filePath(QStringLiteral("lang"));
    options.emulatorPort = emulator.devicePath();
    CKestravaDlg window(options);
    window.show();
    auto* position = window.findChild<PositionPanel*>(QStringLiteral("1242"));
    ASSERT_NE(position, nullptr);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("1061")), Qt::LeftButton);
    ASSERT_TRUE(waitUntil(
        [&] { return !window.findChild<QLabel*>(QStringLiteral("1072"))->text().isEmpty(); }));
    EXPECT_TRUE(position->FieldText(PositionPanel::Fix).isEmpty()) << "no NMEA yet";
    NmeaOutputChoice choice;
    choice.setOn(NmeaOutputChoice::GGA, 1);
    window.exchange().request(CommandId::SetNmeaOutput, requestargs::SetNmeaOutput{choice});
    ASSERT_TRUE(waitUntil([&] { return position->FieldText(PositionPanel::Fix) == "RTK float"; }));
    EXPECT_EQ(position->FieldText(PositionPanel::Satellites), "11");
    EXPECT_EQ(position->FieldText(PositionPanel::Age), "2.0 s");
    EXPECT_EQ(position->FieldText(PositionPanel::Latitude), "30.25205667 N");
    // Reads go on while the receiver streams its position.
    window.exchange().request(CommandId::ReadNetParams);
    ASSERT_TRUE(waitUntil([&] {
        return window.findChild<QLabel*>(QStringLiteral("1177"))->text() ==
               "Read parameters successfully";
    }));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("1061")), Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return position->FieldText(PositionPanel::Fix).isEmpty(); }));
}

} // namespace
} // namespace kestrava
