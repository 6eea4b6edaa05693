// Voice type, volume and module band as chosen on the Advanced page or typed on the command line.
#include "forms/AdvancedForm.h"

#include <gtest/gtest.h>

namespace kestrava {
namespace {

const QString kChooseBand = QStringLiteral("Please choose baudrate to set");

TEST(AdvancedForm, voiceCodesAndVolumesOutsideTheirRangesAreRefused) {
    struct Case {
        const char* text;
        bool voiceOk;
        bool volumeOk;
    };
    for (const Case& c :
         {Case{"0", true, false}, Case{"3", true, true}, Case{"4", false, true},
          Case{"10", false, true}, Case{"11", false, false}, Case{"-1", false, false},
          Case{"", false, false}, Case{"2.0", false, false}}) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(AdvancedForm::voiceCode(text).ok(), c.voiceOk) << c.text;
        EXPECT_EQ(AdvancedForm::volume(text).ok(), c.volumeOk) << c.text;
    }
    EXPECT_EQ(AdvancedForm::volume(QStringLiteral("7")).record(), 7);
}

TEST(AdvancedForm, bandIndexesMustLieInTheModulesLists) {
    struct Case {
        int module;
        int index2G;
        int index3G;
        bool ok;
        int sent3G;
    };
    for (const Case& c :
         {Case{3, 3, 6, true, 6}, Case{3, 4, 0, false, 0}, Case{3, 0, 7, false, 0},
          Case{9, 0, 7, true, 7}, Case{3, 0, -1, false, 0}, Case{3, -1, 0, false, 0},
          Case{6, 7, -1, true, 0}, // no 3G list: 0 is sent whatever is chosen
          Case{4, 3, 5, true, 0}, Case{4, 4, 0, false, 0},
          Case{1, 0, 0, false, 0}}) { // an unknown module has no items
        const FormResult<BandChoice> result = AdvancedForm::band(c.module, c.index2G, c.index3G);
        ASSERT_EQ(result.ok(), c.ok) << c.module << " " << c.index2G << " " << c.index3G;
        if (c.ok) {
            EXPECT_EQ(result.record().band2G, c.index2G);
            EXPECT_EQ(result.record().band3G, c.sent3G);
        } else {
            EXPECT_EQ(result.refusal(), kChooseBand);
        }
    }
}

TEST(AdvancedForm, typedBandIndexesAreDigitsOnly) {
    EXPECT_TRUE(AdvancedForm::band(9, QStringLiteral("2"), QStringLiteral("7")).ok());
    EXPECT_FALSE(AdvancedForm::band(9, QStringLiteral("x"), QStringLiteral("1")).ok());
    EXPECT_FALSE(AdvancedForm::band(9, QStringLiteral("1"), QStringLiteral(" 1")).ok());
    EXPECT_TRUE(AdvancedForm::band(6, QStringLiteral("5"), QStringLiteral("junk")).ok());
}

TEST(AdvancedForm, voiceItemsAndCodesMapBothWays) {
    for (const auto& [code, item] :
         {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 1}, std::pair{3, 2}, std::pair{7, 1}}) {
        EXPECT_EQ(AdvancedForm::itemForVoiceCode(code), item) << code;
    }
}

} // namespace
} // namespace kestrava
