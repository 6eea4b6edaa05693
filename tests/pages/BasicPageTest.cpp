// The Basic page: which groups a receiver shows, the firmware type and path, the update tip.
#include "FindControl.h"

#include "pages/CDialogBase.h"

#include <gtest/gtest.h>

#include <QComboBox>

using namespace kestrava;

TEST(BasicPage, receiverTypeDecidesWhichGroupsShow) {
    struct Case {
        char code;
        bool wifi;
        bool remote;
        bool firmware;
    };
    CDialogBase page;
    for (const Case& c :
         {Case{'A', false, true, true}, Case{'P', false, true, true}, Case{'Q', false, true, false},
          Case{'Y', false, true, false}, Case{'Z', true, true, false},
          Case{'5', false, false, false}, Case{'3', false, true, true}}) {
        SCOPED_TRACE(c.code);
        page.ShowBaseVariant(static_cast<Byte>(c.code));
        auto shown = [&page](int id) { return !FindControl<QWidget>(page, id)->isHidden(); };
        EXPECT_EQ(shown(1198), c.wifi);
        EXPECT_EQ(shown(1157), c.remote);
        for (int id : {1140, 1011, 1014, 1019, 1013, 1174, 1018}) {
            EXPECT_EQ(shown(id), c.firmware) << id;
        }
        EXPECT_EQ(shown(1189), !c.firmware);
    }
}

TEST(BasicPage, storedFirmwareSettingsShowAndARelabelSelectsModuleAgain) {
    CDialogBase page;
    page.ShowFirmwareSettings("C:\\fw\\main.098.kvb", 1);
    EXPECT_EQ(page.FirmwarePath(), "C:\\fw\\main.098.kvb");
    EXPECT_EQ(page.FirmwareType(), 1);
    page.ShowFirmwareSettings("", 2);
    EXPECT_EQ(page.FirmwareType(), 1);
    page.ApplyBaseTexts();
    EXPECT_EQ(page.FirmwareType(), 0);
}

TEST(BasicPage, resettingAnUpdateEmptiesTheTipAndTheBar) {
    CDialogBase page;
    page.SetTranslator([](const QString& english) { return "T:" + english; });
    page.SetProgressRange(0, 300);
    page.SetProgressPos(120);
    page.ShowUpdatingTip();
    EXPECT_EQ(page.PageTip(), "T:Tip: Updating,Please don't do other operation");
    EXPECT_EQ(page.ProgressPos(), 120);
    page.ResetUpdate();
    EXPECT_EQ(page.PageTip(), "");
    EXPECT_EQ(page.ProgressPos(), 0);
}
