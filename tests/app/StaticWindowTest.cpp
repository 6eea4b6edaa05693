// The Static page in the window, offscreen, against the receiver emulator on a pseudo-terminal:
// typed values and clicks go in, the emulator's state and the page's controls are checked.
#include "ModalAnswerer.h"
#include "support/WaitUntil.h"

#include "app/AppOptions.h"
#include "app/CKestravaDlg.h"
#include "emulator/StaticFile.h"
#include "exchange/CommandExchange.h"
#include "support/ServedEmulator.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <functional>

namespace kestrava {
namespace {

using test::ModalAnswerer;
using test::ServedEmulator;

using test::waitUntil;

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray emulatorContents(const StaticFile& file) {
    const Bytes bytes = file.contents();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

const QByteArray kOldContents("the surveyor's own file");

class StaticWindow : public ::testing::Test {
protected:
    void makeWindow(ReceiverProfile profile = {}, FaultPlan faults = {}) {
        ASSERT_TRUE(m_folder.isValid());
        m_emulator = std::make_unique<ServedEmulator>(std::move(profile), faults);
        AppOptions options;
        options.settingsFolder = m_folder.path();
        options.languageFolder = m_folder.filePath(QStringLiteral("lang"));
        options.emulatorPort = QString::fromStdString(m_emulator->devicePath());
        window = std::make_unique<CKestravaDlg>(options);
        window->show();
    }
    void open(ReceiverProfile profile = {}, FaultPlan faults = {}) {
        makeWindow(std::move(profile), faults);
        QTest::mouseClick(
            window->findChild<QPushButton*>(QStringLiteral("1061"), Qt::FindDirectChildrenOnly),
            Qt::LeftButton); // the window's Open
        ASSERT_TRUE(waitUntil([&] { return tip() == "Read main information successfully"; }))
            << tip().toStdString();
        window->findChild<QTabWidget*>(QStringLiteral("1008"))->setCurrentIndex(2);
    }

    // A control of the Static page by its id (the window's own controls reuse some ids), or of
    // the window for the ids only it has.
    template <typename T>
    T* control(int id) const {
        QWidget* page = window->findChild<QTabWidget*>(QStringLiteral("1008"))->widget(2);
        T* found = page->findChild<T*>(QString::number(id));
        if (found == nullptr) {
            found = window->findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly);
        }
        EXPECT_NE(found, nullptr) << id;
        return found;
    }
    void click(int id) const { QTest::mouseClick(control<QAbstractButton>(id), Qt::LeftButton); }
    void type(int id, const QString& typed) const {
        QLineEdit* edit = id == 1011 ? control<QComboBox>(id)->lineEdit() : control<QLineEdit>(id);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, typed);
    }
    QString text(int id) const {
        return id == 1011 ? control<QComboBox>(id)->currentText() : control<QLineEdit>(id)->text();
    }
    QString tip() const { return control<QLabel>(1177)->text(); }
    // Clicks and waits for the tip; false when it does not come.
    bool clickFor(int id, const char* expectedTip) {
        click(id);
        return waitUntil([&] { return tip() == QString::fromLatin1(expectedTip); });
    }
    QTreeWidget* files() const { return control<QTreeWidget>(1113); }
    bool listFiles() { return clickFor(1114, "Read static file finished"); }
    // Long enough for a whole download on a busy machine.
    bool boxShown(const char* message) {
        return waitUntil([&] { return answerer.boxes.contains(QString::fromLatin1(message)); },
                         60000);
    }
    QString target(const char* name) const { return m_folder.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_folder;
    std::unique_ptr<ServedEmulator> m_emulator;
    std::unique_ptr<CKestravaDlg> window;
    ModalAnswerer answerer;
};

TEST_F(StaticWindow, eachSetReachesTheReceiverAndEachReadShowsWhatItHolds) {
    open();
    type(1011, QStringLiteral("30"));
    type(1105, QStringLiteral("15"));
    ASSERT_TRUE(clickFor(1014, "Set static collect params successfully"));
    type(1011, QStringLiteral("1"));
    type(1105, QStringLiteral("0"));
    ASSERT_TRUE(clickFor(1013, "Read parameters successfully"));
    EXPECT_EQ(text(1011), "30");
    EXPECT_EQ(text(1105), "15");

    type(1103, QStringLiteral("B"));
    type(1107, QStringLiteral("7"));
    click(1109);
    // The set is followed by a read of what the receiver now holds.
    ASSERT_TRUE(waitUntil([&] { return text(1107) == "007"; }));
    EXPECT_EQ(text(1103), "B");

    click(1112); // FLASH
    control<QCheckBox>(1030)->setChecked(true);
    ASSERT_TRUE(clickFor(1059, "Set Whether to record Rinex Successfully"));
    click(1111);
    control<QCheckBox>(1030)->setChecked(false);
    ASSERT_TRUE(clickFor(1058, "Read Whether to record Rinex Successfully"));
    EXPECT_TRUE(control<QRadioButton>(1112)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(1030)->isChecked());

    control<QCheckBox>(1031)->setChecked(false);
    ASSERT_TRUE(clickFor(1061, "Set StaticVoice Successfully"));
    control<QCheckBox>(1031)->setChecked(true);
    ASSERT_TRUE(clickFor(1060, "Read StaticVoice Parameter Successfully"));
    EXPECT_FALSE(control<QCheckBox>(1031)->isChecked());

    const StoredSettings& stored = window->storedSettings();
    EXPECT_EQ(stored.collectInterval, 30);
    EXPECT_EQ(stored.cutOff, 15);
    EXPECT_EQ(stored.filePrefix, "B");
    EXPECT_EQ(stored.staticLocation, 0);
    EXPECT_EQ(stored.rinex, 1);
    EXPECT_EQ(stored.staticVoice, 0);

    window.reset();
    const Emulator& emulator = m_emulator->stop();
    EXPECT_EQ(emulator.settings().collect(), (std::array<Byte, 2>{30, 15}));
    EXPECT_EQ(emulator.settings().naming(), (std::array<Byte, 4>{'B', '0', '0', '7'}));
    EXPECT_EQ(emulator.settings().storeLocation(), 0);
    EXPECT_EQ(emulator.settings().voiceBlock()[1], 1);
    EXPECT_FALSE(emulator.settings().staticVoice());
    EXPECT_TRUE(answerer.boxes.isEmpty()) << answerer.boxes.join('|').toStdString();
}

TEST_F(StaticWindow, everyButtonAsksForTheOpenPortFirst) {
    makeWindow();
    window->findChild<QTabWidget*>(QStringLiteral("1008"))->setCurrentIndex(2);
    const int buttons[] = {1013, 1014, 1108, 1109, 1058, 1059, 1060, 1061, 1114, 1115, 1116, 1120};
    for (int id : buttons) {
        click(id);
    }
    const auto count = static_cast<qsizetype>(std::size(buttons));
    ASSERT_TRUE(waitUntil([&] { return answerer.boxes.size() == count; }));
    EXPECT_EQ(answerer.boxes.count(QStringLiteral("Please open port first")), count);
    EXPECT_TRUE(answerer.questions.isEmpty());
}

TEST_F(StaticWindow, sixteenFilesShowSixteenRowsAndDeletingRows2And5And9RemovesExactlyThose) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(16);
    open(profile);
    ASSERT_TRUE(listFiles());
    ASSERT_EQ(files()->topLevelItemCount(), 16);
    EXPECT_EQ(files()->topLevelItem(0)->text(0), "KV000000.STH");

    for (int row : {2, 5, 9}) {
        files()->topLevelItem(row)->setSelected(true);
    }
    answerer.answers = {true};
    click(1116);
    ASSERT_TRUE(waitUntil([&] { return files()->topLevelItemCount() == 13; }));
    QStringList shown;
    for (int row = 0; row < files()->topLevelItemCount(); ++row) {
        shown.append(files()->topLevelItem(row)->text(0));
    }
    for (const char* gone : {"KV000002.STH", "KV000005.STH", "KV000009.STH"}) {
        EXPECT_FALSE(shown.contains(QString::fromLatin1(gone))) << gone;
    }
    EXPECT_EQ(answerer.questions,
              QStringList{QStringLiteral("Are you sure to delete selected static files?")});

    window.reset();
    const Emulator& emulator = m_emulator->stop();
    QStringList held;
    for (const StaticFile& file : emulator.store().files()) {
        held.append(QString::fromStdString(file.name() + "." + file.extension()));
    }
    EXPECT_EQ(held, shown);
}

// A name shorter than eight characters keeps its extension in the list, and the commands carry
// its name field: the copy comes whole and the deletion reaches the receiver. An empty file is 0K.
TEST_F(StaticWindow, shortNamesKeepTheirExtensionAndAreDownloadedAndDeleted) {
    const StaticFile shortName("AB", "DAT", 5000, 0x4904, 0x3BB3);
    ReceiverProfile profile;
    profile.receiverType = 'A'; // keeps its files: the download controls are shown
    profile.files = {shortName, StaticFile("EMPTY", "STH", 0, 0x4904, 0x3BB3)};
    open(profile);
    ASSERT_TRUE(listFiles());
    ASSERT_EQ(files()->topLevelItemCount(), 2);
    EXPECT_EQ(files()->topLevelItem(0)->text(0), "AB.DAT");
    EXPECT_EQ(files()->topLevelItem(0)->text(1), "4K");
    EXPECT_EQ(files()->topLevelItem(1)->text(0), "EMPTY.STH");
    EXPECT_EQ(files()->topLevelItem(1)->text(1), "0K");

    files()->topLevelItem(0)->setSelected(true);
    const QString path = target("AB.DAT");
    answerer.files = {path};
    click(1120);
    ASSERT_TRUE(boxShown("Download static file completed"));
    EXPECT_TRUE(contentsOf(path) == emulatorContents(shortName));

    files()->clearSelection();
    files()->topLevelItem(1)->setSelected(true);
    answerer.answers = {true};
    click(1116);
    ASSERT_TRUE(waitUntil([&] { return files()->topLevelItemCount() == 1; }));
    window.reset();
    const Emulator& emulator = m_emulator->stop();
    ASSERT_EQ(emulator.store().files().size(), 1u);
    EXPECT_EQ(emulator.store().files().front().name(), "AB");
}

TEST_F(StaticWindow, beyond256FilesTheTipLineSaysOnlyTheFirst256CanBeListed) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(300);
    open(profile);
    ASSERT_TRUE(clickFor(1114, "Only the first 256 files can be listed")) << tip().toStdString();
    EXPECT_EQ(files()->topLevelItemCount(), 256);
}

TEST_F(StaticWindow, aSelectionTooLargeForOneCommandIsRefusedAndStaysSelected) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(130);
    open(profile);
    ASSERT_TRUE(listFiles());
    files()->selectAll();
    answerer.answers = {true};
    click(1116);
    ASSERT_TRUE(boxShown("Fail to delete static file"));
    EXPECT_EQ(files()->selectedItems().size(), 130);
    EXPECT_EQ(files()->topLevelItemCount(), 130);
    window.reset();
    EXPECT_EQ(m_emulator->stop().store().files().size(), 130u);
}

TEST_F(StaticWindow, formatWhileRecordingIsRefusedAndKeepsTheFiles) {
    ReceiverProfile profile;
    profile.recording = true;
    open(profile);
    ASSERT_TRUE(listFiles());
    answerer.answers = {true};
    click(1115);
    ASSERT_TRUE(boxShown("Recording raw file,cannot do the Format operation"));
    EXPECT_EQ(files()->topLevelItemCount(), 10);
    window.reset();
    EXPECT_EQ(m_emulator->stop().store().files().size(), 10u);
}

class StaticDownload : public StaticWindow {
protected:
    const StaticFile kFile{"BIG00001", "STH", 30000, 0x4904, 0x3BB3};

    void openWith(FaultPlan faults = {}, std::uint32_t size = 30000) {
        ReceiverProfile profile;
        // Receivers that record to a card hide the download controls: this one keeps its files.
        profile.receiverType = 'A';
        profile.files = {StaticFile("BIG00001", "STH", size, 0x4904, 0x3BB3)};
        open(profile, faults);
        ASSERT_TRUE(control<QPushButton>(1120)->isVisible());
        ASSERT_TRUE(listFiles());
        files()->topLevelItem(0)->setSelected(true);
    }
    QString button() const { return control<QPushButton>(1120)->text(); }
};

TEST_F(StaticDownload, theCopyIsByteIdenticalAndReplacesTheOldFileOnlyWhenComplete) {
    openWith();
    const QString path = target("BIG00001.STH");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(kOldContents);
    }
    answerer.files = {path};
    answerer.answers = {true}; // replace it
    click(1120);
    EXPECT_EQ(button(), "Stop Load");
    ASSERT_TRUE(boxShown("Download static file completed"));
    EXPECT_EQ(answerer.questions,
              QStringList{QStringLiteral("The file has existed,do you want to instead it?")});
    EXPECT_TRUE(contentsOf(path) == emulatorContents(kFile));
    EXPECT_FALSE(QFile::exists(path + ".part"));
    EXPECT_EQ(control<QLineEdit>(1119)->text(), path);
    EXPECT_EQ(button(), "Download Selected");
}

TEST_F(StaticDownload, noToTheOverwriteQuestionStartsNothing) {
    openWith();
    const QString path = target("BIG00001.STH");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(kOldContents);
    }
    answerer.files = {path};
    answerer.answers = {false};
    click(1120);
    ASSERT_TRUE(waitUntil([&] { return !answerer.questions.isEmpty(); }));
    EXPECT_EQ(button(), "Download Selected");
    EXPECT_TRUE(contentsOf(path) == kOldContents);
}

TEST_F(StaticDownload, aFailedDownloadKeepsThePartFileAndLeavesTheOldTargetUntouched) {
    FaultPlan faults;
    faults.downloadFailBlock = 3;
    openWith(faults);
    const QString path = target("BIG00001.STH");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(kOldContents);
    }
    answerer.files = {path};
    answerer.answers = {true};
    click(1120);
    ASSERT_TRUE(boxShown("Fail to download static file"));
    EXPECT_TRUE(contentsOf(path) == kOldContents);
    EXPECT_TRUE(contentsOf(path + ".part") == emulatorContents(kFile).left(3 * 4095));
    EXPECT_EQ(button(), "Download Selected");
}

TEST_F(StaticDownload, aBlockDeliveredTwiceFailsInTheTipLineAndKeepsThePart) {
    FaultPlan faults;
    faults.downloadTwiceBlock = 2;
    openWith(faults);
    const QString path = target("BIG00001.STH");
    answerer.files = {path};
    click(1120);
    const QString failed = QStringLiteral(
        "The line delivered a reply that was not asked for: the download has failed");
    ASSERT_TRUE(waitUntil([&] { return tip() == failed; }, 60000)) << tip().toStdString();
    ASSERT_TRUE(waitUntil([&] { return !answerer.boxes.isEmpty(); }));
    EXPECT_EQ(answerer.boxes.back(),
              failed + QStringLiteral("\nThe part received is kept in %1.")
                           .arg(QDir::toNativeSeparators(path + QStringLiteral(".part"))));
    EXPECT_EQ(button(), "Download Selected");
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(contentsOf(path + ".part") == emulatorContents(kFile).left(2 * 4095));
}

TEST_F(StaticDownload, stopLeavesThePageIdleAndASecondDownloadStartsAfresh) {
    constexpr std::uint32_t kSize = 120000;
    openWith({}, kSize);
    const QString path = target("BIG00001.STH");
    answerer.files = {path, path};
    click(1120);
    auto* progress = control<QProgressBar>(1121);
    ASSERT_TRUE(waitUntil([&] { return progress->value() > 0; }));
    click(1120); // Stop Load
    EXPECT_EQ(button(), "Download Selected");
    EXPECT_EQ(progress->value(), 0);
    EXPECT_FALSE(window->exchange().downloadTargetOpen());
    EXPECT_TRUE(QFile::exists(path + ".part"));
    EXPECT_FALSE(QFile::exists(path));

    answerer.answers = {};
    click(1120);
    ASSERT_TRUE(boxShown("Download static file completed"));
    const StaticFile file("BIG00001", "STH", kSize, 0x4904, 0x3BB3);
    EXPECT_TRUE(contentsOf(path) == emulatorContents(file));
    EXPECT_FALSE(QFile::exists(path + ".part"));
}

} // namespace
} // namespace kestrava
