// The Static page: shown values, receiver variants, the file list, pending deletes and the
// download's progress.
#include "FindControl.h"

#include "pages/CDialogStaticManager.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using namespace kestrava;

namespace {

class StaticPage : public testing::Test {
protected:
    StaticPage() { page.InitStaticPage(); }

    void AddFiles(int count) {
        std::vector<FileListRow> rows;
        for (int i = 0; i < count; ++i) {
            FileListRow row;
            row.name = QStringLiteral("RAW%1.DAT").arg(i, 5, 10, QLatin1Char('0')).toStdString();
            row.sizeText = "1K";
            rows.push_back(row);
        }
        page.AppendFiles(rows);
    }

    bool Shown(int id) const { return !FindControl<QWidget>(page, id)->isHidden(); }
    bool Enabled(int id) const { return FindControl<QWidget>(page, id)->isEnabled(); }

    CDialogStaticManager page;
};

} // namespace

// ---- shown values ----

TEST_F(StaticPage, storedAndReadLocationsCheckTheirButtons) {
    struct Case {
        bool stored;
        int value;
        bool sdCard;
    };
    for (const Case& c : {Case{true, 1, true}, Case{true, 2, true}, Case{true, 0, false},
                          Case{false, 1, true}, Case{false, 2, false}, Case{false, 0, false}}) {
        if (c.stored) {
            page.ShowStoredLocation(c.value, 0);
        } else {
            page.ShowReadLocation(c.value);
        }
        EXPECT_EQ(!page.IsFlashSelected(), c.sdCard) << c.stored << " " << c.value;
    }
    page.ShowStoredLocation(0, 5);
    EXPECT_TRUE(page.IsRinexChecked());
}

TEST_F(StaticPage, collectParamsAndNamingFillTheirFields) {
    page.ShowCollectParams(2, 15);
    page.ShowFileNaming("_", "007");
    EXPECT_EQ(page.IntervalText(), "2");
    EXPECT_EQ(page.CutoffText(), "15");
    EXPECT_EQ(page.PrefixText(), "_");
    EXPECT_EQ(page.SerialNumberText(), "007");
}

// ---- receiver variants ----

TEST_F(StaticPage, receiverTypeChoosesLocationOrDownloadAndLocksStaticOnlyReceivers) {
    struct Case {
        char code;
        Byte voiceByte;
        bool location;
        bool fileCommands;
        bool voice;
    };
    for (const Case& c : {Case{'Z', 27, true, true, true}, Case{'[', 0, true, true, false},
                          Case{'5', 0, false, false, false}, Case{'A', 27, false, true, true}}) {
        SCOPED_TRACE(c.code);
        page.AdaptToReceiver(static_cast<Byte>(c.code), c.voiceByte);
        for (int id : {1110, 1111, 1112, 1030, 1058, 1059}) {
            EXPECT_EQ(Shown(id), c.location) << id;
        }
        for (int id : {1120, 1118, 1119, 1121}) {
            EXPECT_EQ(Shown(id), !c.location) << id;
        }
        for (int id : {1120, 1119, 1114, 1115, 1116, 1103, 1107, 1108, 1109}) {
            EXPECT_EQ(Enabled(id), c.fileCommands) << id;
        }
        for (int id : {1117, 1031, 1060, 1061}) {
            EXPECT_EQ(Shown(id), c.voice) << id;
        }
    }
}

TEST_F(StaticPage, disablingCommandsLeavesTheLocationButtonsAndEnablingRestoresThem) {
    FindControl<QRadioButton>(page, 1111)->setEnabled(false);
    page.EnableCommandControls(false);
    EXPECT_FALSE(Enabled(1013));
    EXPECT_FALSE(Enabled(1120));
    EXPECT_FALSE(Enabled(1111));
    EXPECT_TRUE(Enabled(1112));
    page.EnableCommandControls(true);
    for (int id :
         {1013, 1014, 1108, 1109, 1058, 1059, 1060, 1061, 1111, 1112, 1114, 1115, 1116, 1120}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
}

// ---- file list ----

TEST_F(StaticPage, appendedRowsShowNameSizeAndLocalCreationTime) {
    FileListRow row;
    row.name = "ABCD0001.DAT";
    row.sizeText = "2K";
    row.year = 2024;
    row.month = 3;
    row.day = 5;
    row.hour = 7;
    row.minute = 8;
    row.second = 10;
    page.AppendFiles({row});
    AddFiles(2);
    ASSERT_EQ(page.FileCount(), 3);
    EXPECT_EQ(page.FileText(0, 0), "ABCD0001.DAT");
    EXPECT_EQ(page.FileText(0, 1), "2K");
    EXPECT_EQ(page.FileText(0, 2),
              QLocale::system().toString(QDate(2024, 3, 5), QLocale::ShortFormat) + " 07:08:10");
    EXPECT_EQ(page.FileText(2, 0), "RAW00001.DAT");
}

TEST_F(StaticPage, deletedRowsAreRemovedExactlyWhateverTheOrderOfTheIndexes) {
    AddFiles(12);
    page.SetPendingDeleteRows({5, 2, 9, 9, 40});
    page.RemoveDeletedRows();
    EXPECT_TRUE(page.PendingDeleteRows().empty());
    QStringList left;
    for (int row = 0; row < page.FileCount(); ++row) {
        left << page.FileText(row, 0).mid(3, 5);
    }
    EXPECT_EQ(left.join(','), "00000,00001,00003,00004,00006,00007,00008,00010,00011");
}

TEST_F(StaticPage, aNewListingForgetsAPendingDeleteOfTheOldRows) {
    AddFiles(4);
    page.SetPendingDeleteRows({1});
    page.ClearFileList();
    AddFiles(3);
    page.RemoveDeletedRows();
    EXPECT_EQ(page.FileCount(), 3);
}

TEST_F(StaticPage, selectedRowsAreReportedInAscendingOrder) {
    AddFiles(6);
    auto* list = FindControl<QTreeWidget>(page, 1113);
    for (int row : {4, 1, 3}) {
        list->topLevelItem(row)->setSelected(true);
    }
    EXPECT_EQ(page.SelectedRows(), (std::vector<int>{1, 3, 4}));
}

// ---- download ----

TEST(StaticDownload, namesAndExpectedSizesComeFromTheRowTexts) {
    for (const auto& [fileName, name] : {std::pair{"RAW00001.DAT", "RAW00001"},
                                         std::pair{"NODOT", ""}, std::pair{"a.b.c", "a.b"}}) {
        EXPECT_EQ(CDialogStaticManager::DownloadNameOf(fileName), name) << fileName;
    }
    for (const auto& [sizeText, kilobytes] :
         {std::pair{"1K", 1}, std::pair{"2k", 2}, std::pair{"12345K", 12345}, std::pair{"K", 0},
          std::pair{"abc", 0}, std::pair{"", 0}}) {
        EXPECT_EQ(CDialogStaticManager::ExpectedSizeOf(sizeText), kilobytes) << sizeText;
    }
}

TEST_F(StaticPage, progressFollowsTheBytesAndStopsAtItsEnd) {
    struct Case {
        int expectedKb;
        std::vector<std::int64_t> blocks;
        int position;
    };
    for (const Case& c : {
             Case{1, {512}, 250}, Case{1, {512, 512}, 500},
             Case{1, {512, 512, 100}, 500}, // more than the rounded-down size: bar stays
             Case{2, {1000}, 244},          // 1000 × 500 ÷ 2048
             Case{2, {1000, 2000}, 244},    // a file larger than listed keeps its last place
             Case{40000, {20480000}, 250},  // tens of megabytes do not overflow the position
             Case{0, {4096}, 0},            // unknown size: no position, no division by zero
         }) {
        page.BeginDownload("/tmp/x.dat", "x", c.expectedKb);
        for (std::int64_t block : c.blocks) {
            page.AddDownloadProgress(block);
        }
        EXPECT_EQ(page.DownloadProgress(), c.position) << c.expectedKb;
    }
}

TEST_F(StaticPage, aDownloadTogglesTheButtonAndEndsIdle) {
    page.BeginDownload("/tmp/out/RAW00001.DAT", "RAW00001", 3);
    EXPECT_TRUE(page.IsDownloading());
    EXPECT_EQ(CaptionOf(page, 1120), "Stop Load");
    EXPECT_EQ(FindControl<QLineEdit>(page, 1119)->text(), "/tmp/out/RAW00001.DAT");
    page.AddDownloadProgress(1024);
    page.ResetDownload();
    EXPECT_FALSE(page.IsDownloading());
    EXPECT_EQ(CaptionOf(page, 1120), "Download Selected");
    EXPECT_EQ(page.DownloadProgress(), 0);
    page.BeginDownload("/tmp/out/RAW00001.DAT", "RAW00001", 3);
    EXPECT_EQ(page.ReceivedTotal(), 0);
}
