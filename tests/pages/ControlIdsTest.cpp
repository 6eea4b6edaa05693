// Every control of every page and dialog exists once, named by its control id, and is of the
// kind its table gives.
#include "pages/CDialogAPN.h"
#include "pages/CDialogBase.h"
#include "pages/CDialogDataOutSet.h"
#include "pages/CDialogExpand.h"
#include "pages/CDialogNETWORK.h"
#include "pages/CDialogRadioManager.h"
#include "pages/CDialogStaticManager.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

using namespace kestrava;

namespace {

struct ExpectedControl {
    int id;
    const char* kind;
};

constexpr const char* G = "QGroupBox";
constexpr const char* L = "QLabel";
constexpr const char* E = "QLineEdit";
constexpr const char* B = "QPushButton";
constexpr const char* C = "QComboBox";
constexpr const char* R = "QRadioButton";
constexpr const char* X = "QCheckBox";
constexpr const char* P = "QProgressBar";
constexpr const char* V = "QTreeWidget";

void ExpectControls(const QWidget& page, const std::vector<ExpectedControl>& table) {
    for (const ExpectedControl& expected : table) {
        SCOPED_TRACE(testing::Message() << "control " << expected.id);
        const QString name = QString::number(expected.id);
        const QList<QWidget*> found = page.findChildren<QWidget*>(name);
        ASSERT_EQ(found.size(), 1);
        EXPECT_TRUE(found.front()->inherits(expected.kind))
            << "is a " << found.front()->metaObject()->className();
    }
}

} // namespace

TEST(ControlIds, netPageHasEveryControlOfItsTable) {
    CDialogNETWORK page;
    ExpectControls(page, {{1161, G}, {1079, L}, {35920, C}, {1080, L}, {1081, E}, {1013, B},
                          {1162, G}, {1082, L}, {1045, C},  {1083, L}, {1036, E}, {1163, G},
                          {1084, L}, {1085, E}, {1086, L},  {1087, E}, {1164, G}, {1088, L},
                          {1089, E}, {1090, L}, {1091, E},  {1092, L}, {1093, E}, {1165, G},
                          {1094, L}, {1096, E}, {1095, L},  {1097, E}, {1098, B}, {1099, B}});
}

TEST(ControlIds, apnDialogHasEveryControlOfItsTable) {
    CDialogAPN dialog;
    ExpectControls(dialog,
                   {{1150, L}, {1019, E}, {1151, L}, {1020, E}, {1013, B}, {1152, B}, {1153, B}});
}

TEST(ControlIds, basicPageHasEveryControlOfItsTable) {
    CDialogBase page;
    ExpectControls(page,
                   {{1157, G}, {1142, L}, {1020, E}, {1143, L}, {1021, E}, {1022, B}, {1198, G},
                    {1199, L}, {1200, E}, {1202, L}, {1039, B}, {1155, G}, {1140, L}, {1011, C},
                    {1014, B}, {1019, E}, {1013, B}, {1174, L}, {1018, P}, {1189, L}});
}

TEST(ControlIds, radioPageHasEveryControlOfItsTable) {
    CDialogRadioManager page;
    ExpectControls(page, {{1166, G},
                          {1123, B},
                          {1124, L},
                          {1038, V},
                          {1125, B},
                          {1126, B},
                          {1127, B},
                          {1015, R},
                          {1016, R},
                          {1019, E},
                          {1167, G},
                          {1128, L},
                          {1129, C},
                          {1130, B},
                          {1039, B},
                          {1131, L}});
}

TEST(ControlIds, staticPageHasEveryControlOfItsTable) {
    CDialogStaticManager page;
    ExpectControls(page,
                   {{1168, G}, {1100, L}, {1011, C}, {1104, L}, {1105, E}, {1013, B}, {1014, B},
                    {1102, L}, {1103, E}, {1106, L}, {1107, E}, {1108, B}, {1109, B}, {1110, L},
                    {1111, R}, {1112, R}, {1030, X}, {1058, B}, {1059, B}, {1117, L}, {1031, X},
                    {1060, B}, {1061, B}, {1169, G}, {1113, V}, {1114, B}, {1115, B}, {1116, B},
                    {1120, B}, {1118, L}, {1119, E}, {1121, P}});
}

TEST(ControlIds, advancedPageHasEveryControlOfItsTable) {
    CDialogExpand page;
    ExpectControls(page, {{1158, G},
                          {1132, B},
                          {1133, B},
                          {1022, B},
                          {1011, C},
                          {1014, B},
                          {1013, B},
                          {1197, "QSlider"},
                          {1159, G},
                          {1203, L},
                          {1136, C},
                          {1204, L},
                          {1044, C},
                          {1137, B},
                          {1138, B},
                          {1160, G},
                          {1057, B},
                          {1056, B},
                          {1139, "QPlainTextEdit"},
                          {1040, B},
                          {1042, B}});
}

TEST(ControlIds, dataOutputDialogHasEveryControlOfItsTable) {
    CDialogDataOutSet dialog;
    ExpectControls(dialog,
                   {{1015, R}, {1016, R}, {1051, X}, {1170, G}, {1030, X}, {1011, C}, {1035, X},
                    {1044, C}, {1049, X}, {1045, C}, {1043, X}, {1178, C}, {1050, X}, {1179, C},
                    {1052, X}, {1180, C}, {1053, X}, {1181, C}, {1182, L}, {1183, L}, {1184, L},
                    {1185, L}, {1186, L}, {1187, L}, {1188, L}, {1144, B}, {1145, B}});
}
