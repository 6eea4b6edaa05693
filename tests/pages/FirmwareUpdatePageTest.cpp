// The Basic page's firmware controls with the real exchange on the receiver emulator in memory.
#include "FindControl.h"

#include "emulator/InMemoryLink.h"
#include "exchange/CommandExchange.h"
#include "exchange/FirmwareUpdater.h"
#include "exchange/RecordingView.h"
#include "exchange/TextCodec.h"
#include "forms/FirmwareForm.h"
#include "pages/CDialogBase.h"
#include "pages/FirmwareUpdateHandler.h"
#include "settings/StoredSettings.h"
#include "support/FakePageHost.h"
#include "support/InMemoryExchangePort.h"
#include "support/ManualReplyTimers.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kestrava::test {
namespace {

class FirmwarePage : public ::testing::Test {
protected:
    void SetUp() override { wire(); }

    void wire(ReceiverProfile profile = {}, FaultPlan faults = {}) {
        handler.reset();
        updater.reset();
        exchange.reset();
        link = std::make_unique<InMemoryLink>(std::move(profile), Emulator::Timing{}, faults);
        port = std::make_unique<InMemoryExchangePort>(*link);
        exchange = std::make_unique<CommandExchange>(*port, timers, view, settings);
        updater = std::make_unique<FirmwareUpdater>(*exchange);
        host = std::make_unique<FakePageHost>(*exchange, settings);
        page.SetHost(host.get());
        handler = std::make_unique<FirmwareUpdateHandler>(page, *updater);
    }

    QString makeFile(const QString& name, int size) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, '\x5A'));
        return path;
    }

    void choose(const QString& path, int type) {
        FindControl<QLineEdit>(page, 1019)->setText(path);
        FindControl<QComboBox>(page, 1011)->setCurrentIndex(type);
    }

    QPushButton* button(int id) { return FindControl<QPushButton>(page, id); }
    void press() { button(1013)->click(); }

    QTemporaryDir dir;
    ManualReplyTimers timers;
    RecordingView view;
    StoredSettings settings;
    CDialogBase page;
    std::unique_ptr<InMemoryLink> link;
    std::unique_ptr<InMemoryExchangePort> port;
    std::unique_ptr<CommandExchange> exchange;
    std::unique_ptr<FirmwareUpdater> updater;
    std::unique_ptr<FakePageHost> host;
    std::unique_ptr<FirmwareUpdateHandler> handler;
};

TEST_F(FirmwarePage, startRefusesBeforeSendingAnything) {
    struct Case {
        const char* name; // a file made in the folder; empty: a path that does not exist
        int size;
        int type;
        const char* message;
    };
    const Case cases[] = {
        {"", 0, 0, "Please check whether the file exist"},
        {"gm_main.098.bin", 100, 0, "This is not an .kvb update FW file"},
        {"main_gm.098.kvb", 100, 0, "Please check whether this an Module FW"},
        {"main_gm.098.kvb", 100, 1, "Please check whether this is a Receiver FW"},
        {"GM_MAIN.098.KVB", 0, 0, "The FW file is empty"},
        {"main.344.kvb", 100, 1, "The FW file name must end in .088.kvb or .098.kvb"},
        {"main.kvb", 100, 1, "The FW file name must end in .088.kvb or .098.kvb"},
    };
    ASSERT_TRUE(port->open(QStringLiteral("sim"), 19200));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host->messages.clear();
        host->answers = {true};
        port->clearWrites();
        const QString path = *c.name == 0 ? dir.filePath(QStringLiteral("missing.098.kvb"))
                                          : makeFile(QString::fromLatin1(c.name), c.size);
        choose(path, c.type);
        press();
        EXPECT_EQ(host->messages, QStringList{QString::fromLatin1(c.message)});
        EXPECT_TRUE(port->writes().empty());
        EXPECT_FALSE(updater->running());
    }
}

TEST_F(FirmwarePage, theNameChecksLookAtTheFileNameNotItsFolder) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("gm_tools")));
    const QString inGmFolder = makeFile(QStringLiteral("gm_tools/rx.098.kvb"), 100);
    EXPECT_TRUE(FirmwareForm::check(inGmFolder, 1).ok());
    EXPECT_EQ(FirmwareForm::check(inGmFolder, 0).refusal(),
              "Please check whether this an Module FW");
    EXPECT_EQ(FirmwareForm::fileNameOf(QStringLiteral("C:\\gm\\main.098.kvb")), "main.098.kvb");
    EXPECT_EQ(FirmwareForm::hardwareCodeOf(QStringLiteral("x.088.kvb")), 88);
}

TEST_F(FirmwarePage, portClosedOrNoMeansNothingStarts) {
    choose(makeFile(QStringLiteral("gm_main.098.kvb"), 100), 0);
    press();
    EXPECT_EQ(host->messages, QStringList{QStringLiteral("Please open port first")});
    EXPECT_TRUE(host->questions.isEmpty());

    host->messages.clear();
    ASSERT_TRUE(port->open(QStringLiteral("sim"), 19200));
    host->answers = {false};
    press();
    EXPECT_EQ(host->questions, QStringList{QStringLiteral("Are you sure to update?")});
    EXPECT_TRUE(host->messages.isEmpty());
    EXPECT_TRUE(port->writes().empty());
}

TEST_F(FirmwarePage, anUpdateDisablesTheControlsShowsProgressAndEndsWithTheBox) {
    const QString path = makeFile(QStringLiteral("main.098.kvb"), 1000);
    choose(path, 1);
    ASSERT_TRUE(port->open(QStringLiteral("sim"), 19200));
    host->answers = {true};
    std::vector<int> positions;
    bool controlsOffWhileSending = true;
    QObject::connect(updater.get(), &FirmwareUpdater::progressChanged, [&](int position) {
        positions.push_back(page.ProgressPos() == position ? position : -1);
        for (int id : {1014, 1013, 1022, 1039}) {
            controlsOffWhileSending = controlsOffWhileSending && !button(id)->isEnabled();
        }
    });
    press();
    EXPECT_EQ(page.PageTip(), "Tip: Please open the receiver power");
    EXPECT_EQ(settings.firmwareType, 1);
    EXPECT_EQ(TextCodec::toText(settings.firmwarePath), path);
    port->pump();

    EXPECT_EQ(positions, (std::vector<int>{76, 153, 230, 300}));
    EXPECT_TRUE(controlsOffWhileSending);
    EXPECT_EQ(host->messages,
              QStringList{QStringLiteral("Update successfully,Please restart the receiver")});
    for (int id : {1014, 1013, 1022, 1039}) {
        EXPECT_TRUE(button(id)->isEnabled()) << id;
    }
    EXPECT_EQ(page.ProgressPos(), 0);
    EXPECT_EQ(page.PageTip(), "");
}

TEST_F(FirmwarePage, whileTheHandshakeWaitsTheButtonStopsTheUpdate) {
    FaultPlan silent;
    silent.dropAll = true;
    wire({}, silent);
    choose(makeFile(QStringLiteral("main.098.kvb"), 1000), 1);
    ASSERT_TRUE(port->open(QStringLiteral("sim"), 19200));
    host->answers = {true};
    press();
    EXPECT_EQ(button(1013)->text(), "Stop Update");
    EXPECT_TRUE(button(1013)->isEnabled());
    EXPECT_FALSE(button(1014)->isEnabled());
    timers.advance(2000);

    press();
    EXPECT_FALSE(updater->running());
    EXPECT_EQ(button(1013)->text(), "Start Update");
    EXPECT_TRUE(button(1013)->isEnabled());
    EXPECT_TRUE(button(1014)->isEnabled());
    EXPECT_TRUE(host->messages.isEmpty());
    EXPECT_EQ(page.PageTip(), "");
    const std::size_t writes = port->writes().size();
    timers.advance(5000);
    EXPECT_EQ(port->writes().size(), writes);
}

TEST_F(FirmwarePage, chooseFileOffersTheTwoImageKindsAndKeepsThePathOnCancel) {
    host->files = {QStringLiteral("/fw/main.088.kvb"), QString()};
    button(1014)->click();
    EXPECT_EQ(FindControl<QLineEdit>(page, 1019)->text(), "/fw/main.088.kvb");
    button(1014)->click();
    EXPECT_EQ(FindControl<QLineEdit>(page, 1019)->text(), "/fw/main.088.kvb");
    EXPECT_EQ(host->fileFilters.front(), "FW file (*.098.kvb);;FW file (*.088.kvb);;(*.*) (*)");
}

} // namespace
} // namespace kestrava::test
