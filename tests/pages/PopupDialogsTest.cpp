// The APN and data output dialogs: what they show and what they hand back.
#include "FindControl.h"

#include "pages/CDialogAPN.h"
#include "pages/CDialogDataOutSet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

using namespace kestrava;

namespace {

NmeaOutputChoice ChoiceOf(std::array<Byte, 16> bytes) {
    NmeaOutputChoice choice;
    choice.bytes = bytes;
    return choice;
}

} // namespace

// ---- APN dialog ----

TEST(ApnDialog, setHandsBackTheTextsAsTypedAndEnterDoesTheSame) {
    CDialogAPN dialog;
    dialog.SetApnLogin("user", "secret");
    std::vector<std::pair<QString, QString>> sets;
    QObject::connect(&dialog, &CDialogAPN::setClicked,
                     [&sets](const QString& user, const QString& pw) {
                         sets.push_back({user, pw});
                     });
    FindControl<QLineEdit>(dialog, 1019)->setText(" a b ");
    FindControl<QLineEdit>(dialog, 1020)->setText("");
    FindControl<QAbstractButton>(dialog, 1152)->click();

    dialog.show();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(FindControl<QLineEdit>(dialog, 1020), &enter);

    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0].first, " a b ");
    EXPECT_EQ(sets[0].second, "");
    EXPECT_TRUE(dialog.isVisible()); // stays open across sets
}

// ---- data output dialog ----

TEST(DataOutDialog, storedChoicesComeBackUnchanged) {
    for (const auto& bytes :
         {std::array<Byte, 16>{},
          std::array<Byte, 16>{0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0},
          std::array<Byte, 16>{1, 1, 1, 5, 0, 4, 1, 3, 0, 2, 1, 1, 0, 0, 1, 5}}) {
        CDialogDataOutSet dialog;
        dialog.ShowChoice(ChoiceOf(bytes));
        EXPECT_EQ(dialog.Choice().bytes, bytes);
    }
}

TEST(DataOutDialog, rowsMapToTheirRecordBytes) {
    CDialogDataOutSet dialog;
    dialog.ShowChoice(NmeaOutputChoice{});
    FindControl<QRadioButton>(dialog, 1016)->setChecked(true);
    FindControl<QCheckBox>(dialog, 1052)->setChecked(true); // ZDA
    FindControl<QComboBox>(dialog, 1180)->setCurrentIndex(5);
    FindControl<QCheckBox>(dialog, 1049)->setChecked(true); // VTG, shown above RMC
    EXPECT_EQ(dialog.Choice().bytes,
              (std::array<Byte, 16>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 5, 0, 0}));
}

TEST(DataOutDialog, aRateBeyondTheListShowsTheFirstItem) {
    CDialogDataOutSet dialog;
    dialog.ShowChoice(ChoiceOf({0, 0, 1, 7, 1, 9, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(FindControl<QComboBox>(dialog, 1011)->currentText(), "1");
    const NmeaOutputChoice choice = dialog.Choice();
    EXPECT_EQ(choice.rate(NmeaOutputChoice::GGA), 0);
    EXPECT_EQ(choice.rate(NmeaOutputChoice::GSV), 0);
    EXPECT_EQ(choice.rate(NmeaOutputChoice::RMC), 0);
}
