// The Net and Basic pages' own handlers with the real exchange on the receiver emulator in
// memory: what reaches the receiver, what is stored, and what the user is told.
#include "FindControl.h"

#include "exchange/ExchangeFixture.h"
#include "pages/CDialogBase.h"
#include "pages/CDialogNETWORK.h"
#include "support/FakePageHost.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

namespace kestrava::test {
namespace {

class PageHandlers : public ExchangeFixture {
protected:
    void SetUp() override {
        start();
        host = std::make_unique<FakePageHost>(*exchange, settings);
        net.SetHost(host.get());
        net.FillNetLists();
        net.ShowNetParams(StoredSettings::firstRunDefaults().net);
        base.SetHost(host.get());
        type(net, 1089, QStringLiteral("surveyor"));
        type(net, 1091, QStringLiteral("s3cret"));
        type(base, 1020, QStringLiteral("abc123"));
        type(base, 1021, QStringLiteral("abc123"));
        type(base, 1200, QStringLiteral("abcdefgh"));
    }

    static void type(QWidget& page, int id, const QString& text) {
        FindControl<QLineEdit>(page, id)->setText(text);
    }
    static void click(QWidget& page, int id) { FindControl<QPushButton>(page, id)->click(); }

    std::unique_ptr<FakePageHost> host;
    CDialogNETWORK net;
    CDialogBase base;
};

TEST_F(PageHandlers, everyButtonThatSendsAsksForTheOpenPortFirst) {
    for (int id : {1098, 1099, 1013}) {
        click(net, id);
    }
    for (int id : {1022, 1039}) { // remote and WiFi "Set"
        click(base, id);
    }
    EXPECT_EQ(host->messages, QStringList(5, QStringLiteral("Please open port first")));
    EXPECT_TRUE(port->writes().empty());
}

TEST_F(PageHandlers, onlyAWellFormedRemotePasswordAnswerCountsAsSuccess) {
    openQuietly();
    click(base, 1022);
    port->pump();
    EXPECT_EQ(view.tip, "Set remote password successfully");

    faults().badChecksumNext = 1;
    click(base, 1022);
    port->pump();
    EXPECT_EQ(view.tip, "Set remote password unconfirmed");
    EXPECT_TRUE(host->messages.isEmpty());
}

} // namespace
} // namespace kestrava::test
