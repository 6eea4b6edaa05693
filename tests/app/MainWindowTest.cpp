#include "ModalAnswerer.h"
#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "support/WaitUntil.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace kestrava {
namespace {

using test::waitUntil;

template <typename T>
T* control(QWidget& window, int id) {
    return window.findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

// A language file: UTF-16LE with its byte-order mark, an English line then its translation.
void writeLanguage(const QString& path, const QStringList& lines) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray bytes("\xFF\xFE", 2);
    for (const QString& line : lines) {
        const QString withBreak = line + QStringLiteral("\r\n");
        bytes.append(reinterpret_cast<const char*>(withBreak.utf16()), withBreak.size() * 2);
    }
    file.write(bytes);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        QDir(m_folder.path()).mkdir(QStringLiteral("lang"));
        writeLanguage(m_folder.filePath(QStringLiteral("lang/english.lang")), {});
        writeLanguage(m_folder.filePath(QStringLiteral("lang/chinese.lang")),
                      {QStringLiteral("Please open the port first"), QStringLiteral("请先打开端口"),
                       QStringLiteral("Port opened"), QStringLiteral("端口已打开")});
    }

    // The window with the emulator of that profile first in its port list.
    std::unique_ptr<CKestravaDlg> openWindow(ReceiverProfile profile = {},
                                             const QString& traceFile = {}) {
        QString error;
        m_emulator = std::make_unique<BuiltInEmulator>();
        EXPECT_TRUE(m_emulator->start(error, std::move(profile))) << error.toStdString();
        AppOptions options;
        options.traceFile = traceFile;
        options.settingsFolder = m_folder.path();
        options.languageFolder = m_folder.filePath(QStringLiteral("lang"));
        options.emulatorPort = m_emulator->devicePath();
        auto window = std::make_unique<CKestravaDlg>(options);
        window->show();
        return window;
    }

    static QString value(QWidget& window, int id) { return control<QLabel>(window, id)->text(); }

    static void pressOpen(QWidget& window) { control<QPushButton>(window, 1061)->click(); }

    QTemporaryDir m_folder;
    std::unique_ptr<BuiltInEmulator> m_emulator;
};

TEST_F(MainWindow, openFillsThePanelAndCloseEmptiesIt) {
    auto window = openWindow();
    EXPECT_EQ(control<QComboBox>(*window, 1060)->itemText(0), "Kestrava receiver emulator");
    EXPECT_EQ(control<QComboBox>(*window, 1060)->currentIndex(), 0);
    EXPECT_EQ(value(*window, 1177), "Please open the port first");

    pressOpen(*window);
    ASSERT_TRUE(waitUntil([&] { return !value(*window, 1072).isEmpty(); }))
        << "tip: " << value(*window, 1177).toStdString();
    EXPECT_EQ(control<QPushButton>(*window, 1061)->text(), "Close");
    EXPECT_EQ(value(*window, 1041), "2.5  E");
    EXPECT_EQ(value(*window, 1064), "KS260107");
    EXPECT_EQ(value(*window, 1068), "Trimble");
    EXPECT_EQ(value(*window, 1074), "UC864");
    EXPECT_EQ(value(*window, 1076), "1.2");
    EXPECT_EQ(value(*window, 1078), "1.0");
    EXPECT_EQ(value(*window, 1177), "Read main information successfully");

    pressOpen(*window);
    EXPECT_EQ(control<QPushButton>(*window, 1061)->text(), "Open");
    EXPECT_EQ(value(*window, 1177), "Port closed");
    EXPECT_TRUE(value(*window, 1064).isEmpty());
    EXPECT_TRUE(value(*window, 1070).isEmpty());
}

TEST_F(MainWindow, aTraceThatCannotBeWrittenIsSaidInTheTipLine) {
    auto window = openWindow({}, QStringLiteral("/dev/full"));
    ASSERT_TRUE(waitUntil([&] {
        return value(*window, 1177) == "Fail to write the protocol trace";
    })) << value(*window, 1177).toStdString();
    // The port works as without the trace, and the failure is not said again.
    pressOpen(*window);
    ASSERT_TRUE(waitUntil([&] { return !value(*window, 1072).isEmpty(); }));
    EXPECT_EQ(value(*window, 1177), "Read main information successfully");
}

TEST_F(MainWindow, aStaticOnlyReceiverLocksTheTabsOnStaticAndBasic) {
    ReceiverProfile profile;
    profile.receiverType = '5';
    auto window = openWindow(profile);
    pressOpen(*window);
    auto* tabs = control<QTabWidget>(*window, 1008);
    ASSERT_TRUE(waitUntil([&] { return tabs->currentIndex() == 2; }));
    EXPECT_FALSE(control<QLabel>(*window, 1074)->isEnabled());
    EXPECT_TRUE(value(*window, 1074).isEmpty());

    tabs->setCurrentIndex(0); // "Net" is refused
    EXPECT_EQ(tabs->currentIndex(), 2);
    tabs->setCurrentIndex(3); // "Basic" is allowed
    EXPECT_EQ(tabs->currentIndex(), 3);

    pressOpen(*window); // closing the port lifts the lock
    tabs->setCurrentIndex(0);
    EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST_F(MainWindow, aLanguageSwitchShowsTheTipAgainInTheNewLanguage) {
    auto window = openWindow();
    auto* languages = control<QComboBox>(*window, 1011);
    const int chinese = languages->findText(QStringLiteral("chinese"));
    ASSERT_GE(chinese, 0);
    languages->setCurrentIndex(chinese);
    emit languages->activated(chinese);
    EXPECT_EQ(value(*window, 1177), QStringLiteral("请先打开端口"));
    EXPECT_EQ(control<QPushButton>(*window, 1061)->text(), "Open"); // no translation: English
}

// With no langsetting.ini the texts are English; a lone chinese.lang must not be shown as the
// language in effect.
TEST_F(MainWindow, withNoMatchingLanguageFileTheListShowsEnglish) {
    ASSERT_TRUE(QFile::remove(m_folder.filePath(QStringLiteral("lang/english.lang"))));
    auto window = openWindow();
    auto* languages = control<QComboBox>(*window, 1011);
    EXPECT_EQ(languages->currentText(), "english");
    EXPECT_GE(languages->findText(QStringLiteral("chinese")), 0);
    EXPECT_EQ(value(*window, 1177), "Please open the port first");
}

TEST_F(MainWindow, messageBoxButtonsSpeakTheChosenLanguage) {
    writeLanguage(m_folder.filePath(QStringLiteral("lang/chinese.lang")),
                  {QStringLiteral("OK"), QStringLiteral("确定")});
    auto window = openWindow();
    auto* languages = control<QComboBox>(*window, 1011);
    const int chinese = languages->findText(QStringLiteral("chinese"));
    languages->setCurrentIndex(chinese);
    emit languages->activated(chinese);

    QStringList buttons;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            for (QAbstractButton* button : box->buttons()) {
                buttons << button->text();
            }
            box->done(QMessageBox::Ok);
        }
    });
    window->showMessage(QStringLiteral("Open fail"));
    EXPECT_EQ(buttons, QStringList{QStringLiteral("确定")});
}

TEST_F(MainWindow, theCloseBoxSavesTheSettingsAndEscapeDoesNot) {
    const QString settings = m_folder.filePath(QStringLiteral("recvcfg.ini"));
    {
        auto window = openWindow();
        ASSERT_TRUE(QFile::exists(settings)); // a first run writes the file at once
        ASSERT_TRUE(QFile::remove(settings));
        window->close();
        EXPECT_TRUE(QFile::exists(settings));
    }
    ASSERT_TRUE(QFile::remove(settings));
    {
        auto window = openWindow();
        ASSERT_TRUE(QFile::remove(settings));
        window->reject(); // what Esc does
        EXPECT_FALSE(QFile::exists(settings));
    }
}

// UTF-16LE with its mark, as the program writes langsetting.ini.
void writeUtf16(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\xFF\xFE", 2));
    file.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void makeReadOnly(const QString& path) {
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
}

TEST_F(MainWindow, aReadOnlySettingsFileIsNotWrittenAndTheCloseSaysSoOnce) {
    const QString settings = m_folder.filePath(QStringLiteral("recvcfg.ini"));
    {
        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[NetParams]\r\nPort=5\r\n");
    }
    makeReadOnly(settings);
    test::ModalAnswerer answerer;
    {
        auto window = openWindow();
        window->close();
        EXPECT_TRUE(waitUntil([&] { return !answerer.boxes.isEmpty(); }));
    }
    ASSERT_EQ(answerer.boxes.size(), 1) << answerer.boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(answerer.boxes.front(),
              QStringLiteral("The settings were not saved: %1 is read-only.").arg(settings));
    EXPECT_EQ(readAll(settings), QByteArray("[NetParams]\r\nPort=5\r\n"));
}

TEST_F(MainWindow, aReadOnlyLanguageChoiceIsMentionedOnlyOnce) {
    const QString choice = m_folder.filePath(QStringLiteral("langsetting.ini"));
    writeUtf16(choice, QStringLiteral("[Setting]\r\nLanguage=english\r\n"));
    makeReadOnly(choice);
    const QByteArray before = readAll(choice);
    test::ModalAnswerer answerer;
    auto window = openWindow();
    auto* languages = control<QComboBox>(*window, 1011);
    for (const char* name : {"chinese", "english", "chinese"}) {
        const int index = languages->findText(QString::fromLatin1(name));
        ASSERT_GE(index, 0) << name;
        languages->setCurrentIndex(index);
        emit languages->activated(index);
    }
    QElapsedTimer settle;
    settle.start();
    waitUntil([&] { return settle.elapsed() > 200; });
    EXPECT_EQ(answerer.boxes.size(), 1) << answerer.boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(readAll(choice), before);
    EXPECT_EQ(value(*window, 1177), QStringLiteral("请先打开端口")); // the choice still applies
}

TEST_F(MainWindow, anAbsurdFontSizeGivesAUsableFont) {
    writeUtf16(m_folder.filePath(QStringLiteral("langsetting.ini")),
               QStringLiteral("[Setting]\r\nLanguage=english\r\nSize=2147483647\r\n"));
    auto window = openWindow();
    EXPECT_GE(window->font().pixelSize(), 8);
    EXPECT_LE(window->font().pixelSize(), 72);
}

TEST_F(MainWindow, theRadioRateAndStaticVoiceKeptLastTimeAreShown) {
    QFile file(m_folder.filePath(QStringLiteral("recvcfg.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[HZParams]\r\nAirBaud=9600\r\n[OtherParams]\r\nStaticVoice=1\r\nBand2G=2\r\n");
    file.close();
    auto window = openWindow();
    auto* tabs = control<QTabWidget>(*window, 1008);
    EXPECT_EQ(tabs->widget(1)->findChild<QComboBox*>(QStringLiteral("1129"))->currentText(),
              "9600");
    EXPECT_TRUE(tabs->widget(2)->findChild<QCheckBox*>(QStringLiteral("1031"))->isChecked());
    window->close();
    const QByteArray saved = readAll(file.fileName());
    EXPECT_TRUE(saved.contains("AirBaud=9600\r\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("StaticVoice=1\r\nBand2G=2\r\n")) << saved.toStdString();
}

TEST(AppOptionsTest, theSettingsFolderIsCreatedWhenMissing) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QFile plain(root.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    struct Case {
        QString folder;
        bool ok;
    };
    for (const Case& c :
         {Case{root.filePath(QStringLiteral("new/deeper")), true}, Case{root.path(), true},
          Case{QString(), true}, Case{root.filePath(QStringLiteral("plain")), false},
          Case{root.filePath(QStringLiteral("plain/sub")), false}}) {
        AppOptions options;
        options.settingsFolder = c.folder;
        QString error;
        EXPECT_EQ(options.makeSettingsFolder(error), c.ok) << c.folder.toStdString();
        if (c.ok) {
            EXPECT_TRUE(c.folder.isEmpty() || QFileInfo(c.folder).isDir());
            EXPECT_TRUE(error.isEmpty());
        } else {
            EXPECT_TRUE(error.contains(c.folder)) << error.toStdString();
            EXPECT_TRUE(error.contains(QStringLiteral("cannot be created")));
        }
    }
}

} // namespace
} // namespace kestrava
