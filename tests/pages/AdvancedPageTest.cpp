// The Advanced page: voice variant and values, band lists by module, the received-data display
// and the signal test caption.
#include "FindControl.h"

#include "pages/CDialogExpand.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QSlider>

#include <string>

using namespace kestrava;

namespace {

class AdvancedPage : public testing::Test {
protected:
    AdvancedPage() {
        page.InitExpandPage();
        page.ApplyExpandTexts();
    }

    bool Shown(int id) const { return !FindControl<QWidget>(page, id)->isHidden(); }
    int Count(int id) const { return FindControl<QComboBox>(page, id)->count(); }

    void Echo(const std::string& text) { page.EchoReceived(text.data(), text.size()); }

    CDialogExpand page;
};

} // namespace

// ---- voice ----

TEST_F(AdvancedPage, receiverTypeChoosesVoiceButtonsOrVoiceList) {
    for (const auto& [code, buttons] : {std::pair{'4', true}, std::pair{'P', true},
                                        std::pair{'Q', false}, std::pair{'Z', false}}) {
        page.ShowExpandVariant(static_cast<Byte>(code));
        EXPECT_EQ(Shown(1132), buttons) << code;
        EXPECT_EQ(Shown(1133), buttons) << code;
        for (int id : {1011, 1014, 1013, 1197}) {
            EXPECT_EQ(Shown(id), !buttons) << code << " " << id;
        }
        EXPECT_FALSE(Shown(1022));
    }
}

TEST_F(AdvancedPage, voiceParamsSelectTheItemOfTheCodeAndOnlyValidVolumes) {
    page.ShowVoiceParams(2, 10);
    for (const auto& [code, item] :
         {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 1}, std::pair{3, 2}, std::pair{9, 1}}) {
        page.ShowVoiceParams(code, 0);
        EXPECT_EQ(page.VoiceItem(), item) << code;
    }
    page.ShowVoiceParams(1, 4);
    EXPECT_EQ(page.Volume(), 4);
    page.ShowVoiceParams(1, 11);
    EXPECT_EQ(page.Volume(), 4);
}

TEST(AdvancedVoice, setCodeDependsOnItemReceiverAndVariant) {
    struct Case {
        int item;
        char code;
        bool variantE;
        int voiceCode;
    };
    for (const Case& c :
         {Case{0, 'A', false, 0}, Case{1, 'Z', false, 2}, Case{1, 'Q', true, 2},
          Case{1, 'Q', false, 1}, Case{2, 'A', false, 3}, Case{-1, 'A', false, 2}}) {
        EXPECT_EQ(CDialogExpand::VoiceCodeForItem(c.item, static_cast<Byte>(c.code), c.variantE),
                  c.voiceCode)
            << c.item << " " << c.code << " " << c.variantE;
    }
}

// ---- band lists ----

TEST_F(AdvancedPage, bandListsFollowTheModuleCode) {
    struct Case {
        int module;
        int items2G;
        int items3G;
        bool shown3G;
    };
    for (const Case& c :
         {Case{3, 4, 7, true}, Case{9, 4, 8, true}, Case{4, 4, 0, false}, Case{6, 8, 0, false},
          Case{1, 0, 0, false}, Case{9, 4, 8, true}, Case{0, 0, 0, true}}) {
        page.FillBandLists(c.module, 0, 0);
        EXPECT_EQ(Count(1136), c.items2G) << c.module;
        EXPECT_EQ(Count(1044), c.items3G) << c.module;
        EXPECT_EQ(Shown(1044), c.shown3G) << c.module;
    }
}

TEST_F(AdvancedPage, bandIndexesOutsideTheListsSelectNothing) {
    page.FillBandLists(3, 5, 7);
    EXPECT_EQ(page.Band2GIndex(), -1);
    EXPECT_EQ(page.Band3GIndex(), -1);
    page.FillBandLists(9, 3, 7);
    EXPECT_EQ(page.Band2GIndex(), 3);
    EXPECT_EQ(page.Band3GIndex(), 7);
    page.FillBandLists(6, 7, 7);
    EXPECT_EQ(page.Band2GIndex(), 7);
    EXPECT_EQ(page.Band3GIndex(), 0); // hidden 3G list
}

// ---- display ----

TEST_F(AdvancedPage, displayStartsOverOnceItPassesFourThousandCharacters) {
    Echo(std::string(3990, 'a'));
    EXPECT_EQ(page.DisplayText().size(), 3990);
    Echo(std::string(20, 'b'));
    EXPECT_EQ(page.DisplayText(), "");
    EXPECT_EQ(FindControl<QPlainTextEdit>(page, 1139)->toPlainText(), "");
    Echo("$$GQ");
    EXPECT_EQ(FindControl<QPlainTextEdit>(page, 1139)->toPlainText(), "$$GQ");
}

TEST_F(AdvancedPage, pausedOrDisabledDisplayDropsWhatArrives) {
    Echo("one ");
    CaptionOf(page, 1042);
    FindControl<QAbstractButton>(page, 1042)->click();
    EXPECT_EQ(CaptionOf(page, 1042), "Display");
    Echo("lost ");
    FindControl<QAbstractButton>(page, 1042)->click();
    Echo("two ");
    page.EnableCommandControls(false);
    Echo("lost too");
    page.EnableCommandControls(true);
    EXPECT_EQ(page.DisplayText(), "one two ");
    FindControl<QAbstractButton>(page, 1040)->click();
    EXPECT_EQ(page.DisplayText(), "");
}

TEST_F(AdvancedPage, aLanguageChangeKeepsTheSignalTestStateAndVoiceSelection) {
    page.SetSignalTestRunning(true);
    page.ShowVoiceParams(0, 5);
    page.ApplyExpandTexts();
    EXPECT_TRUE(page.IsSignalTestRunning());
    EXPECT_EQ(CaptionOf(page, 1056), "Stop Test");
    EXPECT_EQ(page.VoiceItem(), 0);
    FindControl<QComboBox>(page, 1011)->setCurrentIndex(-1);
    page.ApplyExpandTexts();
    EXPECT_EQ(page.VoiceItem(), 1);
}
