// "Check Caster" as a user meets it, against a real caster on loopback (str2str): the mount
// points listed, a wrong password and an unknown mount point told apart, an accepted login in
// words, the choice handed back to the Net page; and the Position block fed with NMEA.
#include "FindControl.h"
#include "emulator/InMemoryLink.h"
#include "ntrip/Rtcm3Framer.h"
#include "pages/CDialogCaster.h"
#include "pages/CDialogNETWORK.h"
#include "pages/PositionPanel.h"
#include "settings/StoredSettings.h"
#include "support/FakePageHost.h"
#include "support/InMemoryExchangePort.h"
#include "support/ManualReplyTimers.h"
#include "support/Str2StrCaster.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

namespace kestrava {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class QuietView : public ExchangeView {
public:
    void setTipText(const QString&) override {}
    void showMessage(const QString&) override {}
};

std::vector<std::uint8_t> baseFrames() {
    return test::rtcmFrames(
        {StationPosition::fromGeodetic({30.2519, 120.12595, 35.2}, 7).encode(false),
         {0x43, 0x20, 1, 2, 3, 4}});
}

class CasterDialogOnRealCaster : public ::testing::Test {
protected:
#ifdef _WIN32
    void SetUp() override {
        GTEST_SKIP() << "str2str, the real caster, is a Linux program";
    }
#endif
    CDialogCaster::Target target(const QString& mountPoint, const QString& password) const {
        CDialogCaster::Target t;
        t.host = QStringLiteral("127.0.0.1");
        t.port = caster.port();
        t.mountPoint = mountPoint;
        t.user = QStringLiteral("surveyor");
        t.password = password;
        return t;
    }
    QString finish(CDialogCaster& dialog) {
        QString shown;
        const QMetaObject::Connection heard =
            QObject::connect(&dialog, &CDialogCaster::checkFinished,
                             [&shown](const QString& text) { shown = text; });
        EXPECT_TRUE(test::pumpUntil([&shown] { return !shown.isEmpty(); }, 15000));
        QObject::disconnect(heard);
        return shown;
    }

    test::Str2StrCaster caster{"surveyor", "secret", "MP1",
                               "Hangzhou;RTCM 3.2;1005(1),1074(1);2;GPS+GLO;NET1;CHN;30.25;"
                               "120.13;0;0;sNTRIP;none;B;N;9600;",
                               baseFrames()};
};

TEST_F(CasterDialogOnRealCaster, listsTheMountPointsAndTellsTheLoginsApartInWords) {
    CDialogCaster dialog(target(QString(), QStringLiteral("secret")));
    dialog.SetListenMs(1500);
    dialog.StartList();
    EXPECT_TRUE(dialog.Busy());
    EXPECT_EQ(finish(dialog), "The caster lists 1 mount points");
    ASSERT_EQ(dialog.MountPointCount(), 1);
    dialog.SelectMountPoint(QStringLiteral("MP1"));
    dialog.StartLogin();
    const QString accepted = finish(dialog);
    EXPECT_THAT(accepted.toStdString(), StartsWith("Login accepted: RTCM 3 1005, 1074 at "));
    EXPECT_THAT(accepted.toStdString(), HasSubstr("base at 30.25190 N, 120.12595 E"));

    CDialogCaster wrong(target(QStringLiteral("MP1"), QStringLiteral("nope")));
    wrong.StartLogin();
    EXPECT_EQ(finish(wrong), "The caster refused the user name or password");

    CDialogCaster unknown(target(QStringLiteral("MP2"), QStringLiteral("secret")));
    unknown.StartLogin();
    EXPECT_EQ(finish(unknown), "Mount point MP2 is not on this caster");
}

TEST_F(CasterDialogOnRealCaster, speaksTheChosenLanguage) {
    const PageTranslator chinese = [](const QString& english) {
        return english == QStringLiteral("Mount point %1 is not on this caster")
                   ? QStringLiteral("该差分服务器上没有源节点 %1")
                   : english;
    };
    CDialogCaster dialog(target(QStringLiteral("MP9"), QStringLiteral("secret")), chinese);
    dialog.StartLogin();
    EXPECT_EQ(finish(dialog), QStringLiteral("该差分服务器上没有源节点 MP9"));
}

TEST_F(CasterDialogOnRealCaster, aMountPointPickedInTheDialogFillsTheNetPage) {
    CDialogNETWORK page;
    // The check needs no receiver; the host is there for the page's messages.
    InMemoryLink link;
    test::InMemoryExchangePort port(link);
    test::ManualReplyTimers timers;
    QuietView view;
    StoredSettings settings;
    CommandExchange exchange(port, timers, view, settings);
    test::FakePageHost host(exchange, settings);
    page.SetHost(&host);
    page.FillNetLists();
    FindControl<QLineEdit>(page, 1085)->setText(QStringLiteral("127.0.0.1"));
    FindControl<QLineEdit>(page, 1087)->setText(QString::number(caster.port()));
    FindControl<QLineEdit>(page, 1093)->setText(QStringLiteral("OLD"));
    bool listed = false;
    QTimer::singleShot(0, [&] {
        CDialogCaster* dialog = page.CasterDialog();
        ASSERT_NE(dialog, nullptr);
        listed = test::pumpUntil(
            [dialog] { return dialog->MountPointCount() == 1 && !dialog->Busy(); }, 15000);
        dialog->SelectMountPoint(QStringLiteral("MP1"));
        dialog->accept();
    });
    page.OnCheckCaster();
    EXPECT_TRUE(listed);
    EXPECT_EQ(FindControl<QLineEdit>(page, 1093)->text(), "MP1");
    EXPECT_TRUE(host.messages.isEmpty());

    FindControl<QLineEdit>(page, 1085)->clear();
    page.OnCheckCaster();
    EXPECT_EQ(host.messages, QStringList{"Please fill in the caster's IP/URL first"});
}

std::string gga(int quality) {
    std::string body = "GPGGA,021503.00,3015.1234,N,12007.5678,E," + std::to_string(quality) +
                       ",14,0.6,35.2,M,7.1,M,1.0,0000";
    unsigned sum = 0;
    for (const char c : body) {
        sum ^= static_cast<unsigned char>(c);
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

TEST(PositionPanel, showsTheFixTheNmeaReportsAndEmptiesWithoutIt) {
    PositionPanel panel;
    EXPECT_TRUE(panel.FieldText(PositionPanel::Fix).isEmpty());
    EXPECT_FALSE(panel.Position());
    for (const auto& [quality, words] : std::vector<std::pair<int, const char*>>{
             {4, "RTK fixed"}, {5, "RTK float"}, {2, "DGPS"}, {1, "GPS"}, {0, "No fix"}}) {
        const std::string line = "\x24\x24\x56\x43 reply bytes\r\n" + gga(quality);
        panel.Feed(reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
        EXPECT_EQ(panel.FieldText(PositionPanel::Fix), words);
    }
    EXPECT_EQ(panel.FieldText(PositionPanel::Satellites), "14");
    EXPECT_EQ(panel.FieldText(PositionPanel::Hdop), "0.6");
    EXPECT_EQ(panel.FieldText(PositionPanel::Age), "1.0 s");
    EXPECT_EQ(panel.FieldText(PositionPanel::Latitude), "30.25205667 N");
    EXPECT_EQ(panel.FieldText(PositionPanel::Longitude), "120.12613000 E");
    EXPECT_EQ(panel.FieldText(PositionPanel::Height), "35.20 m");
    EXPECT_FALSE(panel.Position()) << "no fix, no position to measure from";
    const std::string fixed = gga(4);
    panel.Feed(reinterpret_cast<const std::uint8_t*>(fixed.data()), fixed.size());
    ASSERT_TRUE(panel.Position());
    EXPECT_NEAR(panel.Position()->latitude, 30.25205667, 1e-8);
    panel.ApplyPositionTexts([](const QString& english) {
        return english == QStringLiteral("RTK fixed") ? QStringLiteral("RTK固定解") : english;
    });
    EXPECT_EQ(panel.FieldText(PositionPanel::Fix), QStringLiteral("RTK固定解"));
    // No GGA for a while: blank again.
    EXPECT_TRUE(test::pumpUntil([&panel] { return panel.FieldText(PositionPanel::Fix).isEmpty(); },
                                PositionPanel::kStaleMs + 2000));
    EXPECT_TRUE(panel.FieldText(PositionPanel::Latitude).isEmpty());
}

} // namespace
} // namespace kestrava
