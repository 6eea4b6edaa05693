// Save Profile and Apply Profile in the whole window, offscreen, against the built-in emulator
// over a pseudo-terminal: the file the user picks, the table of differences, the one Apply, and
// the outcome rows, which must be the command line's own lines for the same profile.
#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "app/ProfileActions.h"
#include "emulator/Emulator.h"
#include "exchange/CommandExchange.h"
#include "pages/CDialogProfile.h"
#include "app/ModalAnswerer.h"
#include "support/ServedEmulator.h"
#include "support/VerbRun.h"
#include "support/WaitUntil.h"

#include <gmock/gmock.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

namespace kestrava {
namespace {

using test::waitUntil;
using ::testing::HasSubstr;

class ProfileWindow : public ::testing::Test {
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
    }

    void openPort() {
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("1061")), Qt::LeftButton);
        ASSERT_TRUE(waitUntil([&] { return mainInfoShown(); })) << tip().toStdString();
    }
    bool mainInfoShown() {
        return !window->findChild<QLabel*>(QStringLiteral("1072"))->text().isEmpty();
    }
    QString tip() { return window->findChild<QLabel*>(QStringLiteral("1177"))->text(); }

    void trigger(const char* action) {
        auto* found = window->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }
    CDialogProfile* profileDialog() { return window->findChild<CDialogProfile*>(); }
    bool reaches(CDialogProfile::Stage stage) {
        return waitUntil(
            [&] { return profileDialog() != nullptr && profileDialog()->CurrentStage() == stage; },
            30000);
    }

    std::string write(const char* name, const std::string& text) {
        const std::string path =
            QDir(m_folder.path()).filePath(QString::fromLatin1(name)).toStdString();
        std::ofstream(path) << text;
        return path;
    }

    QTemporaryDir m_folder;
    BuiltInEmulator m_emulator;
    std::unique_ptr<CKestravaDlg> window;
};

TEST_F(ProfileWindow, applyShowsWhatDiffersAsksOnceAndReportsAsTheCommandLineDoes) {
    const std::string profile = write("base.ini", "[NetParams]\nPort=2105\n"
                                                  "[CollectParams]\nCutOff=12\nCollecInterval=1\n");
    openPort();
    test::ModalAnswerer answerer;
    answerer.files.push_back(QString::fromStdString(profile));
    trigger("profileApply");
    ASSERT_TRUE(reaches(CDialogProfile::Stage::Planned)) << tip().toStdString();
    CDialogProfile* dialog = profileDialog();
    EXPECT_FALSE(window->exchange().portOpen()); // the engine has the port meanwhile

    // Only what the profile changes, with the receiver's value and the profile's.
    ASSERT_GE(dialog->RowCount(), 2) << dialog->TableText().toStdString();
    QStringList keys;
    for (int row = 0; row < dialog->RowCount(); ++row) {
        keys.append(dialog->Cell(row, 0));
    }
    EXPECT_TRUE(keys.contains(QStringLiteral("NetParams.Port"))) << keys.join(',').toStdString();
    EXPECT_TRUE(keys.contains(QStringLiteral("CollectParams.CutOff")));
    EXPECT_THAT(dialog->TableText().toStdString(),
                HasSubstr("NetParams.Port: receiver 2101, profile 2105\n"));
    EXPECT_THAT(dialog->SummaryText().toStdString(), HasSubstr("Apply them and read them back?"));

    // The same profile on a second receiver of the same kind, by the command line.
    test::ServedEmulator twin;
    const test::VerbRun cli = test::runVerb(twin.devicePath(), {"apply", profile});
    ASSERT_EQ(cli.status, 0) << cli.err;

    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("apply")), Qt::LeftButton);
    ASSERT_TRUE(reaches(CDialogProfile::Stage::Applied));
    EXPECT_EQ(dialog->TableText().toStdString(), cli.out);
    EXPECT_THAT(dialog->SummaryText().toStdString(),
                HasSubstr("Every setting of the profile now holds on the receiver."));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("copy")), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), cli.out);

    // Closing the dialog gives the port back to the window, which reads the receiver again.
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("close")), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return window->exchange().portOpen() && mainInfoShown(); }));
    int cutOff = 0;
    m_emulator.inspect([&](Emulator& e) { cutOff = e.settings().collect()[1]; });
    EXPECT_EQ(cutOff, 12);
}

TEST_F(ProfileWindow, aRefusedValueStopsEverythingBeforeAnythingIsSent) {
    const std::string profile =
        write("bad.ini", "[NetParams]\nPort=2106\n[CollectParams]\nCutOff=91\n");
    openPort();
    test::ModalAnswerer answerer;
    answerer.files.push_back(QString::fromStdString(profile));
    trigger("profileApply");
    ASSERT_TRUE(reaches(CDialogProfile::Stage::Refused)) << tip().toStdString();
    CDialogProfile* dialog = profileDialog();
    test::ServedEmulator twin;
    const test::VerbRun cli = test::runVerb(twin.devicePath(), {"apply", profile});
    EXPECT_EQ(cli.status, 2);
    // The command line's refusal, word for word.
    std::string refusal = cli.err;
    while (!refusal.empty() && refusal.back() == '\n') {
        refusal.pop_back();
    }
    ASSERT_FALSE(refusal.empty());
    EXPECT_THAT(dialog->SummaryText().toStdString(), HasSubstr(refusal));
    EXPECT_THAT(dialog->SummaryText().toStdString(), HasSubstr("nothing was sent"));
    EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("apply"))->isEnabled());
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("close")), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return window->exchange().portOpen(); }));
    std::array<Byte, 2> collect{};
    int port = 0;
    m_emulator.inspect([&](Emulator& e) {
        collect = e.settings().collect();
        port = e.settings().netParams()[10] * 256 + e.settings().netParams()[11];
    });
    EXPECT_NE(collect[1], 91);
    EXPECT_EQ(port, 2101);
}

TEST_F(ProfileWindow, saveWritesWhatGetPrintsAndNeedsAnOpenPort) {
    test::ModalAnswerer answerer;
    trigger("profileSave");
    ASSERT_TRUE(waitUntil([&] { return !answerer.boxes.isEmpty(); }));
    EXPECT_EQ(answerer.boxes.front(), "Please open port first");

    openPort();
    const QString path = m_folder.filePath(QStringLiteral("saved.ini"));
    answerer.files.push_back(path);
    QSignalSpy saved(&window->profiles(), &ProfileActions::profileSaved);
    trigger("profileSave");
    ASSERT_TRUE(waitUntil([&] { return saved.count() == 1; }, 30000)) << tip().toStdString();
    EXPECT_TRUE(saved.at(0).at(0).toBool()) << saved.at(0).at(1).toString().toStdString();
    ASSERT_TRUE(waitUntil([&] { return window->exchange().portOpen() && mainInfoShown(); }));

    // Byte for byte what kestrava-cli get prints for this receiver.
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("1061")), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !window->exchange().portOpen(); }));
    const test::VerbRun get = test::runVerb(m_emulator.devicePath().toStdString(), {"get"});
    ASSERT_EQ(get.status, 0) << get.err;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), get.out);
}

} // namespace
} // namespace kestrava
