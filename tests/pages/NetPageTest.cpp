// The Net page shows a NetParams record exactly and keeps its enabling rules.
#include "FindControl.h"

#include "pages/CDialogAPN.h"
#include "pages/CDialogNETWORK.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace kestrava;

namespace {

QString EditText(const QWidget& page, int id) {
    return FindControl<QLineEdit>(page, id)->text();
}

bool Enabled(const QWidget& page, int id) {
    return FindControl<QWidget>(page, id)->isEnabled();
}

class NetPage : public testing::Test {
protected:
    NetPage() { page.FillNetLists(); }
    CDialogNETWORK page;
};

} // namespace

// ---- showing a record ----

TEST_F(NetPage, groupIdsAreShownAsSevenAndThreeDigits) {
    struct Case {
        std::int32_t groupId1;
        Byte groupId2;
        Byte userId;
        const char* userGroup;
        const char* subGroup;
    };
    for (const Case& c : {Case{1, 1, 1, "0001001", "001"}, Case{1234, 123, 0, "1234123", "000"},
                          Case{9999, 255, 255, "9999255", "255"}}) {
        NetParams params;
        params.groupId1 = c.groupId1;
        params.groupId2 = c.groupId2;
        params.userId = c.userId;
        page.ShowNetParams(params);
        EXPECT_EQ(EditText(page, 1096), c.userGroup);
        EXPECT_EQ(EditText(page, 1097), c.subGroup);
    }
}

TEST_F(NetPage, serverAddressIsTheUrlOnlyWhenTheUrlIsInUse) {
    NetParams params;
    params.ip = {192, 168, 1, 10};
    params.url = "caster.example.net";
    params.isUrl = false;
    page.ShowNetParams(params);
    EXPECT_EQ(EditText(page, 1085), "192.168.1.10");

    params.isUrl = true;
    page.ShowNetParams(params);
    EXPECT_EQ(EditText(page, 1085), "caster.example.net");
}

TEST_F(NetPage, textsAndPortFillTheirEditsThroughTheGivenConverter) {
    page.SetTextConverter(
        [](const ByteString& bytes) { return QString::fromLatin1(bytes.data(), bytes.size()); });
    NetParams params;
    params.port = 2101;
    params.apnName = "CMNET";
    params.phoneNumber = "01234567";
    params.vrsName = "Jos\xE9";
    params.vrsPassword = "pw";
    params.sourceNode = "RTCM";
    page.ShowNetParams(params);
    EXPECT_EQ(EditText(page, 1087), "2101");
    EXPECT_EQ(EditText(page, 1081), "CMNET");
    EXPECT_EQ(EditText(page, 1036), "01234567");
    EXPECT_EQ(EditText(page, 1089), QString::fromUtf8("Jos\u00e9"));
    EXPECT_EQ(EditText(page, 1091), "pw");
    EXPECT_EQ(EditText(page, 1093), "RTCM");
}

TEST_F(NetPage, aModeOutsideTheListsKeepsTheSelection) {
    NetParams params;
    params.communicationMode = 1;
    params.netMode = 1;
    page.ShowNetParams(params);
    params.communicationMode = 7;
    params.netMode = 2;
    page.ShowNetParams(params);
    EXPECT_EQ(FindControl<QComboBox>(page, 35920)->currentIndex(), 1);
    EXPECT_EQ(FindControl<QComboBox>(page, 1045)->currentIndex(), 1);
}

// ---- enabling rules ----

TEST_F(NetPage, enablingRulesFollowCommunicationAndNetMode) {
    struct Case {
        Byte communication;
        Byte net;
        bool phone;      // 1036
        bool apnKeyPort; // 1081, 1013, 1087
        bool vrs;        // 1089, 1091, 1093
    };
    for (const Case& c : {Case{0, 0, false, true, true}, Case{1, 0, true, false, true},
                          Case{2, 1, false, true, false}, Case{1, 1, true, false, false}}) {
        SCOPED_TRACE(testing::Message() << int{c.communication} << "/" << int{c.net});
        NetParams params;
        params.communicationMode = c.communication;
        params.netMode = c.net;
        page.ShowNetParams(params);
        EXPECT_EQ(Enabled(page, 1036), c.phone);
        for (int id : {1081, 1013, 1087}) {
            EXPECT_EQ(Enabled(page, id), c.apnKeyPort) << id;
        }
        for (int id : {1089, 1091, 1093}) {
            EXPECT_EQ(Enabled(page, id), c.vrs) << id;
        }
        for (int id : {1096, 1097}) {
            EXPECT_EQ(Enabled(page, id), !c.vrs) << id;
        }
        EXPECT_TRUE(Enabled(page, 1085));
    }
}

TEST_F(NetPage, choosingGsmInTheListAppliesTheRuleAtOnce) {
    auto* communication = FindControl<QComboBox>(page, 35920);
    communication->setCurrentIndex(1);
    EXPECT_TRUE(Enabled(page, 1036));
    EXPECT_FALSE(Enabled(page, 1013));
    communication->setCurrentIndex(0);
    EXPECT_FALSE(Enabled(page, 1036));
    EXPECT_TRUE(Enabled(page, 1013));
}

TEST_F(NetPage, keyStaysLockedDuringAnUpdateEvenWhenTheModeAllowsIt) {
    NetParams gsm;
    gsm.communicationMode = 1;
    page.ShowNetParams(gsm);
    page.EnableCommandControls(false);
    FindControl<QComboBox>(page, 35920)->setCurrentIndex(0);
    EXPECT_FALSE(Enabled(page, 1013));
    EXPECT_FALSE(Enabled(page, 1098));
    page.EnableCommandControls(true);
    EXPECT_TRUE(Enabled(page, 1013));
    EXPECT_TRUE(Enabled(page, 1099));
}

TEST_F(NetPage, theApnDialogPointerIsClearedWhenTheDialogCloses) {
    auto* dialog = new CDialogAPN;
    page.SetApnDialog(dialog);
    EXPECT_EQ(page.ApnDialog(), dialog);
    delete dialog;
    EXPECT_EQ(page.ApnDialog(), nullptr);
}
