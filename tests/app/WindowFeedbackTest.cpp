// What the window tells the user, offscreen against the receiver emulator: every page button that
// awaits an answer ends with an outcome in the tip line (also when the receiver stays silent), a
// port that cannot be opened says why, values not read from this receiver are marked as such,
// and the port list follows the ports and takes a typed device path.
#include "ModalAnswerer.h"
#include "support/WaitUntil.h"

#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "app/PortComboBox.h"
#include "emulator/SimAnnouncement.h"
#include "exchange/CommandExchange.h"
#include "pages/CDialogAPN.h"
#include "pages/TabPage.h"
#include "support/ServedEmulator.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include <unistd.h>

namespace kestrava {
namespace {

using test::ModalAnswerer;
using test::ServedEmulator;
using test::waitUntil;

const QString kNoReply = QStringLiteral("No reply from receiver");
const QString kNoRadioReply = QStringLiteral(
    "No reply from receiver,please check whether connect to internal radio successfully");

class WindowFeedback : public ::testing::Test {
protected:
    void makeWindow(FaultPlan faults = {}) {
        ASSERT_TRUE(m_folder.isValid());
        QDir(m_folder.path()).mkdir(QStringLiteral("lang"));
        m_emulator = std::make_unique<ServedEmulator>(ReceiverProfile{}, faults);
        AppOptions options;
        options.settingsFolder = m_folder.path();
        options.languageFolder = m_folder.filePath(QStringLiteral("lang"));
        options.emulatorPort = QString::fromStdString(m_emulator->devicePath());
        window = std::make_unique<CKestravaDlg>(options);
        window->show();
    }

    QWidget* page(int tab) const {
        return window->findChild<QTabWidget*>(QStringLiteral("1008"))->widget(tab);
    }
    template <typename T>
    T* control(int tab, int id) const {
        return page(tab)->findChild<T*>(QString::number(id));
    }
    template <typename T>
    T* windowControl(int id) const {
        return window->findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly);
    }
    QString tip() const { return windowControl<QLabel>(1177)->text(); }
    void pressOpen() const { windowControl<QPushButton>(1061)->click(); }

    QTemporaryDir m_folder;
    std::unique_ptr<ServedEmulator> m_emulator;
    std::unique_ptr<CKestravaDlg> window;
};

// ---- Silence ------------------------------------------------------------------------------

constexpr int kNetTab = 0;
constexpr int kRadioTab = 1;
constexpr int kStaticTab = 2;
constexpr int kBasicTab = 3;
constexpr int kAdvancedTab = 4;

struct SilentButton {
    const char* name;
    int tab;
    int button;
    QString shown;
    std::function<void(QWidget& page)> prepare; // typed values a Set needs; may be empty
};

void type(QWidget& page, int id, const QString& text) {
    auto* edit = page.findChild<QLineEdit*>(QString::number(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->setText(text);
}

class SilentWindow : public WindowFeedback, public ::testing::WithParamInterface<SilentButton> {};

TEST_P(SilentWindow, thePageButtonEndsWithNoReplyInTheTip) {
    FaultPlan silent;
    silent.dropAll = true;
    makeWindow(silent);
    ModalAnswerer answerer;
    answerer.answers = {true}; // Yes to the format question
    pressOpen();
    ASSERT_TRUE(waitUntil([&] { return tip() == kNoReply; })) << tip().toStdString();
    // The wait shortened for the test; the window gives each command its full reply wait.
    EXPECT_EQ(window->exchange().replyWait(), CommandExchange::kReplyWaitMs);
    window->exchange().setReplyWait(300);

    const SilentButton& c = GetParam();
    if (c.prepare) {
        c.prepare(*page(c.tab));
    }
    window->exchange().ShowTip(QStringLiteral("before"));
    auto* button = control<QPushButton>(c.tab, c.button);
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_TRUE(waitUntil([&] { return tip() == c.shown; }, 8000))
        << "tip: " << tip().toStdString()
        << "; boxes: " << answerer.boxes.join(" | ").toStdString();
    EXPECT_TRUE(answerer.boxes.isEmpty()) << answerer.boxes.join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    PageButtons, SilentWindow,
    ::testing::Values(SilentButton{"netRead", kNetTab, 1098, kNoReply, {}},
                      SilentButton{"netSet", kNetTab, 1099, kNoReply,
                                   [](QWidget& p) {
                                       type(p, 1089, QStringLiteral("user"));
                                       type(p, 1091, QStringLiteral("secret"));
                                       type(p, 1085, QStringLiteral("10.0.0.1"));
                                       type(p, 1087, QStringLiteral("2101"));
                                   }},
                      SilentButton{"radioConnect", kRadioTab, 1123, kNoReply, {}},
                      SilentButton{"radioRead", kRadioTab, 1125, kNoRadioReply, {}},
                      SilentButton{"airBaudRead", kRadioTab, 1130, kNoRadioReply, {}},
                      SilentButton{"collectRead", kStaticTab, 1013, kNoReply, {}},
                      SilentButton{"collectSet", kStaticTab, 1014, kNoReply, {}},
                      SilentButton{"namingRead", kStaticTab, 1108, kNoReply, {}},
                      SilentButton{"namingSet", kStaticTab, 1109, kNoReply, {}},
                      SilentButton{"locationRead", kStaticTab, 1058, kNoReply, {}},
                      SilentButton{"locationSet", kStaticTab, 1059, kNoReply, {}},
                      SilentButton{"staticVoiceRead", kStaticTab, 1060, kNoReply, {}},
                      SilentButton{"filesRead", kStaticTab, 1114, kNoReply, {}},
                      SilentButton{"format", kStaticTab, 1115, kNoReply, {}},
                      SilentButton{"remotePasswordSet", kBasicTab, 1022, kNoReply,
                                   [](QWidget& p) {
                                       type(p, 1020, QStringLiteral("abcd1234"));
                                       type(p, 1021, QStringLiteral("abcd1234"));
                                   }},
                      SilentButton{"voiceRead", kAdvancedTab, 1014, kNoReply, {}},
                      SilentButton{"voiceSet", kAdvancedTab, 1013, kNoReply, {}},
                      SilentButton{"bandRead", kAdvancedTab, 1137, kNoReply, {}}),
    [](const auto& param) { return std::string(param.param.name); });

// ---- Open ---------------------------------------------------------------------------------

TEST_F(WindowFeedback, aTypedDeviceThatCannotBeOpenedSaysWhyWithAWarningSign) {
    makeWindow();
    auto* ports = windowControl<PortComboBox>(1060);
    ASSERT_NE(ports, nullptr);
    ports->lineEdit()->setText(QStringLiteral("/nonexistent/ttyKS9"));
    EXPECT_EQ(ports->chosenDevice(), "/nonexistent/ttyKS9");
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            icon = box->icon();
            box->accept();
        }
    });
    poll.start(15);
    pressOpen();
    ASSERT_TRUE(waitUntil([&] { return !text.isEmpty(); }));
    EXPECT_EQ(text, "Open fail: No such file or directory");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_FALSE(window->exchange().portOpen());
}

TEST_F(WindowFeedback, aTypedDevicePathIsOpenedAndStaysListed) {
    makeWindow();
    // The emulator's terminal typed by hand, as a user would type a device the list lacks.
    const QString device = QString::fromStdString(m_emulator->devicePath());
    auto* ports = windowControl<PortComboBox>(1060);
    ports->lineEdit()->setText(device);
    pressOpen();
    ASSERT_TRUE(waitUntil([&] { return tip() == "Read main information successfully"; }))
        << tip().toStdString();
    EXPECT_TRUE(ports->devices().contains(device));
}

// ---- The port list -------------------------------------------------------------------------

TEST_F(WindowFeedback, aRunningEmulatorAndItsLinkJoinTheListAndLeaveItKeepingTheChoice) {
    // The announcements of this test only, not those of the emulators the user runs.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", m_folder.path().toLocal8Bit());
    const auto restore = qScopeGuard([runtime] {
        if (runtime.isEmpty()) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", runtime);
        }
    });
    makeWindow();
    auto* ports = windowControl<PortComboBox>(1060);
    const QString chosen = ports->chosenDevice();
    ASSERT_FALSE(chosen.isEmpty());

    // Another emulator announces its terminal and link, as kestrava-sim does while it serves.
    ServedEmulator other;
    const QString device = QString::fromStdString(other.devicePath());
    const QString link = m_folder.filePath(QStringLiteral("ttyKS"));
    ASSERT_TRUE(QFile::link(device, link));
    ASSERT_TRUE(SimAnnouncement::announce({other.devicePath(), link.toStdString(), ::getpid()}));
    EXPECT_TRUE(waitUntil(
        [&] { return ports->devices().contains(device) && ports->devices().contains(link); }, 5000))
        << ports->devices().join(", ").toStdString();
    EXPECT_EQ(ports->chosenDevice(), chosen);

    SimAnnouncement::withdraw();
    QFile::remove(link);
    EXPECT_TRUE(waitUntil([&] { return !ports->devices().contains(link); }, 5000));
    EXPECT_EQ(ports->chosenDevice(), chosen);
}

// ---- The emulator's options -----------------------------------------------------------------

struct OptionsCase {
    const char* name;
    QStringList arguments;
    std::function<void(const AppOptions&)> check;
};

class ProgramOptions : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(ProgramOptions, areParsedAsTheProgramAndTheEmulatorTakeThem) {
    GetParam().check(
        AppOptions::parse(QStringList{QStringLiteral("kestrava")} + GetParam().arguments));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ProgramOptions,
    ::testing::Values(OptionsCase{"profileAfterEmulator",
                                  {"--emulator", "--profile", "static"},
                                  [](const AppOptions& o) {
                                      EXPECT_TRUE(o.error.isEmpty()) << o.error.toStdString();
                                      EXPECT_TRUE(o.emulator);
                                      EXPECT_EQ(o.simulation.profile.receiverType, '5');
                                  }},
                      OptionsCase{"typeAndFaultsBesideTheProgramsOwn",
                                  {"--emulator", "--type", "P", "--settings", "/x", "--drop-all"},
                                  [](const AppOptions& o) {
                                      EXPECT_TRUE(o.error.isEmpty()) << o.error.toStdString();
                                      EXPECT_EQ(o.simulation.profile.receiverType, 'P');
                                      EXPECT_TRUE(o.simulation.faults.dropAll);
                                      EXPECT_EQ(o.settingsFolder, "/x");
                                  }},
                      OptionsCase{"versionAfterEmulatorIsTheReceivers",
                                  {"--emulator", "--version", "30"},
                                  [](const AppOptions& o) {
                                      EXPECT_FALSE(o.version);
                                      EXPECT_EQ(o.simulation.profile.version, 30);
                                  }},
                      OptionsCase{"versionAloneIsTheProgramsOwn",
                                  {"--version"},
                                  [](const AppOptions& o) { EXPECT_TRUE(o.version); }},
                      OptionsCase{"emulatorOptionWithoutEmulator",
                                  {"--profile", "static"},
                                  [](const AppOptions& o) {
                                      EXPECT_EQ(o.error, "unknown option \"--profile\"");
                                  }},
                      OptionsCase{"badEmulatorValue",
                                  {"--emulator", "--type", "PP"},
                                  [](const AppOptions& o) {
                                      EXPECT_EQ(o.error, "emulator: bad value for --type: PP");
                                  }},
                      OptionsCase{
                          "linkIsTheSimulatorsOnly",
                          {"--emulator", "--link", "/tmp/ks"},
                          [](const AppOptions& o) { EXPECT_TRUE(o.error.contains("--link")); }}),
    [](const auto& param) { return std::string(param.param.name); });

// The built-in emulator as the options make it: a receiver whose pages offer the firmware update
// and the file download, so both can be tried without hardware.
TEST_F(WindowFeedback, theBuiltInEmulatorTakesTheProfileOptions) {
    const AppOptions parsed = AppOptions::parse({"kestrava", "--emulator", "--type", "P"});
    ASSERT_TRUE(parsed.error.isEmpty()) << parsed.error.toStdString();
    BuiltInEmulator emulator;
    QString error;
    ASSERT_TRUE(emulator.start(error, parsed.simulation)) << error.toStdString();
    AppOptions options = parsed;
    options.settingsFolder = m_folder.path();
    options.languageFolder = m_folder.filePath(QStringLiteral("lang"));
    options.emulatorPort = emulator.devicePath();
    window = std::make_unique<CKestravaDlg>(options);
    window->show();
    pressOpen();
    ASSERT_TRUE(waitUntil([&] { return tip() == "Read main information successfully"; }))
        << tip().toStdString();
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("1008"));
    tabs->setCurrentIndex(kBasicTab);
    EXPECT_TRUE(control<QPushButton>(kBasicTab, 1013)->isVisible()); // Start Update
    tabs->setCurrentIndex(kStaticTab);
    EXPECT_TRUE(control<QPushButton>(kStaticTab, 1120)->isVisible()); // Download Selected
    EXPECT_TRUE(control<QPushButton>(kStaticTab, 1120)->isEnabled());
    window.reset();
}

// ---- Values of the last session -----------------------------------------------------------

TEST_F(WindowFeedback, valuesNotReadFromThisReceiverAreMarkedUntilARead) {
    // The last session's link, as the settings file keeps it.
    {
        QFile ini(m_folder.filePath(QStringLiteral("recvcfg.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[NetParams]\r\nAPNName=LASTAPN\r\n");
    }
    makeWindow();
    auto* apn = control<QLineEdit>(kNetTab, 1081);
    auto* channels = page(kRadioTab)->findChild<QWidget*>(QStringLiteral("1038"));
    EXPECT_EQ(apn->text(), "LASTAPN");
    EXPECT_TRUE(TabPage::IsMarkedUnread(apn));
    EXPECT_TRUE(TabPage::IsMarkedUnread(channels));
    EXPECT_EQ(apn->toolTip(), "Not read from this receiver yet");
    // The rate and the static voice flag the file keeps are the last receiver's too.
    auto* airBaud = page(kRadioTab)->findChild<QWidget*>(QStringLiteral("1129"));
    auto* staticVoice = page(kStaticTab)->findChild<QWidget*>(QStringLiteral("1031"));
    ASSERT_NE(airBaud, nullptr);
    ASSERT_NE(staticVoice, nullptr);
    EXPECT_TRUE(TabPage::IsMarkedUnread(airBaud));
    EXPECT_TRUE(TabPage::IsMarkedUnread(staticVoice));

    pressOpen();
    ASSERT_TRUE(waitUntil([&] { return tip() == "Read main information successfully"; }));
    // Kept, not cleared: a Set sends it and the settings file keeps it.
    EXPECT_EQ(apn->text(), "LASTAPN");
    EXPECT_TRUE(TabPage::IsMarkedUnread(apn));

    control<QPushButton>(kNetTab, 1098)->click();
    ASSERT_TRUE(waitUntil([&] { return tip() == "Read parameters successfully"; }));
    EXPECT_FALSE(TabPage::IsMarkedUnread(apn));
    EXPECT_TRUE(apn->toolTip().isEmpty());
    EXPECT_TRUE(TabPage::IsMarkedUnread(channels)); // not read yet
    control<QPushButton>(kStaticTab, 1060)->click(); // the static voice flag's Read
    EXPECT_TRUE(waitUntil([&] { return !TabPage::IsMarkedUnread(staticVoice); }));

    // Another opening may reach another receiver.
    pressOpen(); // Close
    ASSERT_TRUE(waitUntil([&] { return !window->exchange().portOpen(); }));
    waitUntil([] { return false; }, 300); // the port-closed notice
    pressOpen();                          // Open
    ASSERT_TRUE(waitUntil([&] { return tip() == "Read main information successfully"; }));
    EXPECT_TRUE(TabPage::IsMarkedUnread(apn));
}

// ---- Passwords -----------------------------------------------------------------------------

TEST_F(WindowFeedback, everyPasswordEditIsMasked) {
    makeWindow();
    struct Edit {
        int tab;
        int id;
    };
    for (const Edit& e : {Edit{kNetTab, 1091}, Edit{kBasicTab, 1020}, Edit{kBasicTab, 1021},
                          Edit{kBasicTab, 1200}}) {
        auto* edit = control<QLineEdit>(e.tab, e.id);
        ASSERT_NE(edit, nullptr) << e.id;
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password) << e.id;
    }
    CDialogAPN apn({}, window.get());
    EXPECT_EQ(apn.findChild<QLineEdit*>(QStringLiteral("1020"))->echoMode(), QLineEdit::Password);
}

} // namespace
} // namespace kestrava
