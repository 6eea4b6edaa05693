// Relabelling sets captions from their English keys through the language lookup, leaves the
// texts that are never translated alone, and can be repeated without translating twice.
#include "FindControl.h"

#include "pages/CDialogAPN.h"
#include "pages/CDialogBase.h"
#include "pages/CDialogDataOutSet.h"
#include "pages/CDialogExpand.h"
#include "pages/CDialogNETWORK.h"
#include "pages/CDialogRadioManager.h"
#include "pages/CDialogStaticManager.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTreeWidget>

#include <vector>

using namespace kestrava;

namespace {

QString Fake(const QString& english) {
    return QStringLiteral("T:") + english;
}

struct Caption {
    int id;
    const char* shown;
};

void ExpectCaptions(const QWidget& page, const std::vector<Caption>& table) {
    for (const Caption& expected : table) {
        SCOPED_TRACE(testing::Message() << "control " << expected.id);
        EXPECT_EQ(CaptionOf(page, expected.id), QString::fromUtf8(expected.shown));
    }
}

QString ItemText(const QWidget& page, int listId, int item) {
    return FindControl<QComboBox>(page, listId)->itemText(item);
}

} // namespace

TEST(Relabel, netPageTranslatesCaptionsAndIntRtkButNotTheOtherListItems) {
    CDialogNETWORK page;
    page.SetTranslator(Fake);
    page.FillNetLists();
    page.ApplyNetTexts();
    page.ApplyNetTexts();
    ExpectCaptions(page, {{1161, "T:Communication Setting"},
                          {1079, "T:Communication:"},
                          {1013, "T:Key"},
                          {1083, "T:PhoneNumber:"},
                          {1165, "T:IntRTK"},
                          {1095, "T:Sub Group ID:"},
                          {1099, "T:Set"}});
    EXPECT_EQ(ItemText(page, 35920, 0), "GPRS");
    EXPECT_EQ(ItemText(page, 35920, 2), "CDMA");
    EXPECT_EQ(ItemText(page, 1045, 0), "VRS");
    EXPECT_EQ(ItemText(page, 1045, 1), "T:IntRTK");
}

TEST(Relabel, radioPageTranslatesItsRunTimeKeysAndColumnsButNotBands) {
    CDialogRadioManager page;
    page.SetTranslator(Fake);
    page.InitRadioPage();
    page.ApplyRadioTexts();
    ExpectCaptions(page, {{1167, "T:Air Baud Rate"},
                          {1128, "T:Air Baud Rate:"},
                          {1125, "T:Read Current HZ"},
                          {1126, "T:Set HZ"},
                          {1124, "T:Tip: Please connect the internal radio first"},
                          {1015, "460M"},
                          {1016, "230M"}});
    auto* list = FindControl<QTreeWidget>(page, 1038);
    EXPECT_EQ(list->headerItem()->text(0), "T:CHANNEL");
    EXPECT_EQ(list->headerItem()->text(2), "T:RX(MHZ)");
    EXPECT_EQ(ItemText(page, 1129, 1), "19200");
}

TEST(Relabel, staticPageTranslatesCaptionsColumnsAndTheDownloadButtonByState) {
    CDialogStaticManager page;
    page.SetTranslator(Fake);
    page.InitStaticPage();
    page.ApplyStaticTexts();
    ExpectCaptions(page, {{1168, "T:Collect Params"},
                          {1104, "T:Elevation Angle:"},
                          {1102, "T:Prefixtion:"},
                          {1111, "T:SD Card"},
                          {1112, "T:FLASH"},
                          {1114, "T:Read All Files"},
                          {1115, "T:Format/Del All Files"},
                          {1120, "T:Download Selected"}});
    EXPECT_EQ(FindControl<QTreeWidget>(page, 1113)->headerItem()->text(1), "T:Size");
    EXPECT_EQ(ItemText(page, 1011, 2), "10");

    page.BeginDownload("/tmp/a.dat", "a", 1);
    page.ApplyStaticTexts();
    EXPECT_EQ(CaptionOf(page, 1120), "T:Stop Load");
}

TEST(Relabel, basicPageTranslatesCaptionsTypesAndTheUsbInstructions) {
    CDialogBase page;
    page.SetTranslator(Fake);
    page.ApplyBaseTexts();
    ExpectCaptions(page, {{1157, "T:Remote Connection Password"},
                          {1202, "T:(8-30chars)"},
                          {1039, "T:Set"},
                          {1155, "T:FW Update"},
                          {1013, "T:Start Update"},
                          {1174, ""}});
    EXPECT_EQ(ItemText(page, 1011, 0), "T:Module");
    EXPECT_EQ(ItemText(page, 1011, 1), "T:Receiver");
    EXPECT_TRUE(CaptionOf(page, 1189).contains("T:2.Copy firmware to Update Disk"));
}

TEST(Relabel, advancedPageTranslatesCaptionsVoiceItemsAndBandItems) {
    CDialogExpand page;
    page.SetTranslator(Fake);
    page.InitExpandPage();
    page.FillBandLists(9, 0, 0);
    page.ApplyExpandTexts();
    ExpectCaptions(page, {{1158, "T:Voice"},
                          {1159, "T:Net Module Band"},
                          {1203, "T:2G"},
                          {1057, "T:Data Output"},
                          {1056, "T:Test GPRS SNR"},
                          {1042, "T:Pause Display"},
                          {1040, "T:Clear Display"}});
    EXPECT_EQ(ItemText(page, 1011, 0), "T:Disable Voice");
    EXPECT_EQ(ItemText(page, 1136, 0), "T:GSM 900MHz + DCS 1800MHz");
    // Blanks around an item stay where they were; the key is the item without them.
    EXPECT_EQ(ItemText(page, 1044, 1), "T:1900MHz(FDD II) ");
    EXPECT_EQ(ItemText(page, 1044, 2), " T:850MHz(FDD V)");
}

TEST(Relabel, popupDialogsTranslateTitleAndCaptionsButNotPortsOrSentences) {
    CDialogAPN apn(Fake);
    EXPECT_EQ(apn.windowTitle(), "T:APN Set");
    ExpectCaptions(apn, {{1150, "T:Username:"}, {1152, "T:Set"}, {1153, "T:Cancel"}});

    CDialogDataOutSet dataOut(Fake);
    EXPECT_EQ(dataOut.windowTitle(), "T:Data");
    ExpectCaptions(dataOut, {{1170, "T:Data"},
                             {1051, "T:Clear All GPS Output First"},
                             {1144, "T:Set"},
                             {1015, "COM1"},
                             {1030, "GGA"},
                             {1043, "RMC"},
                             {1182, "s"}});
}
