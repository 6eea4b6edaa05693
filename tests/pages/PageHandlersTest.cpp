// The Net page, the APN dialog and the Basic page's password groups driven through their own
// handlers, with the real exchange on the receiver emulator in memory: what reaches the
// receiver, what is stored, and what the user is told.
#include "FindControl.h"

#include "exchange/ExchangeFixture.h"
#include "exchange/TextCodec.h"
#include "pages/CDialogAPN.h"
#include "pages/CDialogBase.h"
#include "pages/CDialogNETWORK.h"
#include "support/FakePageHost.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <string>

namespace kestrava::test {
namespace {

// Wire constants, restated.
const std::string kAbc123Digest = "e99a18c428cb38d5f260853678922e03"; // MD5 of "abc123"

std::string fieldText(const Bytes& payload, std::size_t at, std::size_t width) {
    std::string text;
    for (std::size_t i = at; i < at + width && i < payload.size() && payload[i] != 0; ++i) {
        text += static_cast<char>(payload[i]);
    }
    return text;
}

class PageHandlers : public ExchangeFixture {
protected:
    void SetUp() override {
        start();
        host = std::make_unique<FakePageHost>(*exchange, settings);
        net.SetHost(host.get());
        net.FillNetLists();
        net.ShowNetParams(StoredSettings::firstRunDefaults().net);
        base.SetHost(host.get());
    }

    void type(QWidget& page, int id, const QString& text) {
        FindControl<QLineEdit>(page, id)->setText(text);
    }
    void click(QWidget& page, int id) { FindControl<QPushButton>(page, id)->click(); }

    // A valid VRS record on the page.
    void typeValidVrs() {
        type(net, 1089, QStringLiteral("surveyor"));
        type(net, 1091, QStringLiteral("s3cret"));
        type(net, 1085, QStringLiteral("10.1.2.3"));
        type(net, 1087, QStringLiteral("2102"));
        type(net, 1093, QStringLiteral("MOUNT1"));
    }

    const Bytes& receiverNet() { return link->emulator().settings().netParams(); }

    std::unique_ptr<FakePageHost> host;
    CDialogNETWORK net;
    CDialogBase base;
};

TEST_F(PageHandlers, everyButtonThatSendsAsksForTheOpenPortFirst) {
    typeValidVrs();
    type(base, 1020, QStringLiteral("abc123"));
    type(base, 1021, QStringLiteral("abc123"));
    type(base, 1200, QStringLiteral("abcdefgh"));
    for (int id : {1098, 1099, 1013}) {
        click(net, id);
    }
    for (int id : {1022, 1039}) {
        click(base, id);
    }
    EXPECT_EQ(host->messages, QStringList(5, QStringLiteral("Please open port first")));
    EXPECT_TRUE(port->writes().empty());
}

TEST_F(PageHandlers, setStoresTheRecordAndTheReceiverHoldsIt) {
    openQuietly();
    typeValidVrs();
    click(net, 1099);
    port->pump();
    EXPECT_TRUE(host->messages.isEmpty()) << host->messages.join('|').toStdString();
    EXPECT_EQ(view.tip, "Set net params successfully");

    EXPECT_EQ(TextCodec::toText(settings.net.vrsName), "surveyor");
    EXPECT_EQ(settings.net.port, 2102);
    const Bytes& held = receiverNet();
    ASSERT_GE(held.size(), 160u);
    EXPECT_EQ(held[6], 10);
    EXPECT_EQ(held[9], 3);
    EXPECT_EQ(held[10] * 256 + held[11], 2102);
    EXPECT_EQ(fieldText(held, 89, 30), "MOUNT1");
    EXPECT_EQ(fieldText(held, 59, 30), "c3VydmV5b3I6czNjcmV0"); // Base64 of "surveyor:s3cret"
}

TEST_F(PageHandlers, aRefusedSetShowsItsMessageStoresNothingAndSendsNothing) {
    struct Case {
        int control;
        QString text;
        const char* message;
    };
    const Case cases[] = {
        {1089, QStringLiteral("   "), "Username and password cannot be blank"},
        {1087, QStringLiteral("70000"), "The port should be an integer between 0-65535"},
        {1036, QString(17, '5'), "The phone number must not exceed 16 bytes"},
        {1081, QString(31, 'a'), "The APN must not exceed 30 bytes"},
        {1085, QString(31, 'u'), "The IP/URL must not exceed 30 bytes"},
        {1093, QString(31, 'm'), "The mount point must not exceed 30 bytes"},
        {1089, QString(40, 'n'), "Username and password together must not exceed 41 bytes"},
    };
    openQuietly();
    const NetParams before = settings.net;
    for (const Case& c : cases) {
        typeValidVrs();
        type(net, 1036, QStringLiteral("01234567"));
        type(net, 1081, QStringLiteral("CMNET"));
        type(net, c.control, c.text);
        host->messages.clear();
        click(net, 1099);
        EXPECT_EQ(host->messages, QStringList{QString::fromLatin1(c.message)});
    }
    EXPECT_EQ(settings.net, before);
    EXPECT_TRUE(port->writes().empty());
}

TEST_F(PageHandlers, intRtkGroupDigitsAbove255AreRefusedNotWrapped) {
    openQuietly();
    FindControl<QComboBox>(net, 1045)->setCurrentIndex(1);
    type(net, 1096, QStringLiteral("1234999"));
    type(net, 1097, QStringLiteral("001"));
    click(net, 1099);
    EXPECT_EQ(host->messages,
              QStringList{"The last three digits of the User Group Id should be between 000-255"});
    EXPECT_TRUE(port->writes().empty());

    host->messages.clear();
    type(net, 1096, QStringLiteral("1234255"));
    click(net, 1099);
    port->pump();
    EXPECT_TRUE(host->messages.isEmpty());
    EXPECT_EQ(receiverNet()[2] * 256 + receiverNet()[3], 1234);
    EXPECT_EQ(receiverNet()[4], 255);
}

TEST_F(PageHandlers, readAsksTheReceiver) {
    openQuietly();
    click(net, 1098);
    EXPECT_EQ(view.tip, "Reading net parameters...");
    port->pump();
    EXPECT_EQ(view.tip, "Read parameters successfully");
    EXPECT_EQ(settings.net.sourceNode, "BASE01");
}

// Runs `act` on the APN dialog once it is shown modally, then closes it with Cancel.
void onApnDialog(const std::function<void(CDialogAPN&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<CDialogAPN*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no APN dialog";
            return;
        }
        act(*dialog);
        FindControl<QPushButton>(*dialog, 1153)->click();
    });
}

TEST_F(PageHandlers, keyOpensTheApnDialogWithTheStoredLoginAndItsSetReachesTheReceiver) {
    openQuietly();
    settings.apnUserName = "stored";
    settings.apnPassword = "pw";
    QString shownUser;
    onApnDialog([&](CDialogAPN& dialog) {
        shownUser = dialog.UserName();
        EXPECT_EQ(net.ApnDialog(), &dialog);
        FindControl<QLineEdit>(dialog, 1019)->setText(QStringLiteral("apn-user"));
        FindControl<QLineEdit>(dialog, 1020)->setText(QString());
        FindControl<QPushButton>(dialog, 1152)->click();
        port->pump();
    });
    net.show();
    click(net, 1013);
    EXPECT_EQ(shownUser, "stored");
    EXPECT_EQ(net.ApnDialog(), nullptr);
    EXPECT_EQ(settings.apnUserName, "apn-user");
    EXPECT_EQ(settings.apnPassword, "");
    EXPECT_EQ(view.tip, "Set APN params successfully");
    EXPECT_EQ(fieldText(link->emulator().settings().apn(), 0, 50), "apn-user");
    EXPECT_EQ(fieldText(link->emulator().settings().apn(), 50, 50), "");
}

TEST_F(PageHandlers, anApnTextBeyondFiftyBytesIsRefusedBeforeItIsStored) {
    openQuietly();
    onApnDialog([&](CDialogAPN& dialog) {
        FindControl<QLineEdit>(dialog, 1019)->setText(QString(60, 'u'));
        FindControl<QPushButton>(dialog, 1152)->click();
    });
    net.show();
    click(net, 1013);
    EXPECT_EQ(host->messages, QStringList{"The APN username must not exceed 50 bytes"});
    EXPECT_TRUE(settings.apnUserName.empty());
    EXPECT_TRUE(port->writes().empty());
}

TEST_F(PageHandlers, remotePasswordIsSentAsItsDigestAndOnlyAConfirmedAnswerIsSuccess) {
    openQuietly();
    type(base, 1020, QStringLiteral(" abc123 "));
    type(base, 1021, QStringLiteral("abc123"));
    click(base, 1022);
    port->pump();
    EXPECT_EQ(link->emulator().settings().remoteDigest(), kAbc123Digest);
    EXPECT_EQ(view.tip, "Set remote password successfully");

    faults().badChecksumNext = 1;
    click(base, 1022);
    port->pump();
    EXPECT_EQ(view.tip, "Set remote password unconfirmed");

    type(base, 1021, QStringLiteral("ABC123"));
    click(base, 1022);
    EXPECT_EQ(host->messages, QStringList{"Please make sure put the same password"});
}

TEST_F(PageHandlers, wifiPasswordReachesTheReceiverAndRefusalsNameTheRule) {
    openQuietly();
    type(base, 1200, QStringLiteral("short"));
    click(base, 1039);
    type(base, 1200, QStringLiteral("with blank"));
    click(base, 1039);
    EXPECT_EQ(host->messages,
              (QStringList{"The password must 8-30 chars",
                           "The password can be combined by only digit and letter"}));
    EXPECT_TRUE(port->writes().empty());

    type(base, 1200, QStringLiteral("newWifi2024"));
    click(base, 1039);
    port->pump();
    EXPECT_EQ(link->emulator().settings().wifiPassword(), "newWifi2024");
    EXPECT_EQ(view.tip, "Set Wifi Password successfully");
}

} // namespace
} // namespace kestrava::test
