// The Advanced page's buttons, slider and data output dialog against the receiver emulator.
#include "FindControl.h"
#include "PagesOnEmulator.h"

#include "pages/CDialogDataOutSet.h"
#include "support/SliderGroove.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace kestrava {
namespace {

const QString kOpenFirst = QStringLiteral("Please open port first");

// A left click at pos, as the mouse delivers it.
void leftClick(QWidget* widget, QPoint pos) {
    const QPointF global = widget->mapToGlobal(QPointF(pos));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(pos), global, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void keyPress(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

class AdvancedPageOnEmulator : public test::PagesOnEmulator {
protected:
    void press(int id) { FindControl<QAbstractButton>(expand, id)->click(); }
    QComboBox* list(int id) { return FindControl<QComboBox>(expand, id); }

    // The voice code and volume the receiver holds, read back through the page.
    std::pair<int, int> readVoiceBack() {
        press(1014);
        port->pump();
        return {settings.voice, settings.volume};
    }

    // Runs the page's "Data Output" with the dialog answered by `answer` once it is shown.
    void dataOutput(const std::function<void(CDialogDataOutSet&)>& answer) {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<CDialogDataOutSet*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
        press(1057);
    }
};

TEST_F(AdvancedPageOnEmulator, everyCommandButtonAsksForAnOpenPort) {
    start();
    host->answers = {true};
    for (int id : {1132, 1133, 1014, 1013, 1137, 1138, 1057, 1056}) {
        press(id);
    }
    EXPECT_EQ(host->messages, QStringList(8, kOpenFirst));
    EXPECT_FALSE(expand.IsSignalTestRunning());
    press(1042); // the display buttons need no port
    EXPECT_FALSE(expand.IsDisplayOn());
    EXPECT_EQ(host->messages.size(), 8);
}

TEST_F(AdvancedPageOnEmulator, voiceTypeSetReadsTheBlockThenSetsTheChosenCode) {
    start(); // type 'Q', E variant
    open();
    list(1011)->setCurrentIndex(2); // "User Defined"
    press(1013);
    port->pump();
    EXPECT_EQ(view.tip, "Set Voice Type Successfully");
    EXPECT_EQ(settings.voice, 3);
    list(1011)->setCurrentIndex(0);
    EXPECT_EQ(readVoiceBack().first, 3);
    EXPECT_EQ(expand.VoiceItem(), 2);
    list(1011)->setCurrentIndex(1); // "Default" on an E variant is 2
    press(1013);
    port->pump();
    EXPECT_EQ(readVoiceBack().first, 2);
}

TEST_F(AdvancedPageOnEmulator, aMouseClickOnTheSliderSetsTheVolumeAndTheKeyboardDoesNot) {
    start();
    open();
    expand.resize(640, 480);
    expand.show();
    auto* slider = FindControl<QSlider>(expand, 1197);
    slider->setValue(10);
    // A click on the groove at a quarter of its length, far left of the handle at the top end.
    leftClick(slider, test::PointOnGroove(*slider, 0.25));
    ASSERT_LT(slider->value(), 10) << slider->width() << "x" << slider->height();
    const int chosen = slider->value();
    port->pump();
    EXPECT_EQ(view.tip, "Set volume successfully");
    EXPECT_EQ(settings.volume, chosen);

    port->clearWrites();
    slider->setFocus();
    keyPress(slider, Qt::Key_Right);
    EXPECT_EQ(slider->value(), chosen + 2);
    EXPECT_TRUE(port->writes().empty());
    EXPECT_EQ(readVoiceBack().second, chosen);
}

TEST_F(AdvancedPageOnEmulator, noBandIsSelectedBeforeABandReadAndSetSendsTheChosenOnes) {
    start(); // module 3: 2G and 3G lists
    open();
    EXPECT_EQ(list(1136)->count(), 4);
    EXPECT_EQ(list(1136)->currentIndex(), -1);
    EXPECT_EQ(list(1044)->currentIndex(), -1);
    host->answers = {true, false, true};
    press(1138);
    EXPECT_EQ(host->messages, QStringList{QStringLiteral("Please choose baudrate to set")});
    EXPECT_TRUE(port->writes().empty());

    press(1137);
    port->pump();
    EXPECT_EQ(list(1136)->currentIndex(), 0);
    EXPECT_EQ(list(1044)->currentIndex(), 0);
    list(1136)->setCurrentIndex(2);
    list(1044)->setCurrentIndex(5);
    port->clearWrites();
    press(1138); // No
    EXPECT_TRUE(port->writes().empty());
    press(1138); // Yes
    port->pump();
    EXPECT_EQ(view.tip, "Set frequency band successfully");
    EXPECT_EQ(emulator().settings().bands()[0], 2);
    EXPECT_EQ(emulator().settings().bands()[1], 5);
}

TEST_F(AdvancedPageOnEmulator, dataOutputStoresAllSixteenBytesAndSendsThemToEitherBoard) {
    for (BoardKind board : {BoardKind::Packet, BoardKind::Text}) {
        ReceiverProfile profile;
        profile.board = board;
        start(profile);
        open();
        host->font = QFont(QStringLiteral("Serif"), 13);
        dataOutput([this](CDialogDataOutSet& dialog) {
            for (QWidget* control : dialog.findChildren<QWidget*>()) {
                EXPECT_EQ(control->font().pointSize(), 13) << control->objectName().toStdString();
            }
            FindControl<QCheckBox>(dialog, 1052)->setChecked(true);   // ZDA
            FindControl<QComboBox>(dialog, 1180)->setCurrentIndex(1); // every 2 s
            FindControl<QCheckBox>(dialog, 1030)->setChecked(false);  // GGA off
            FindControl<QPushButton>(dialog, 1144)->click();
        });
        port->pump();
        NmeaOutputChoice expected;
        expected.setOn(NmeaOutputChoice::ZDA, 1);
        expected.setRate(NmeaOutputChoice::ZDA, 1);
        EXPECT_EQ(settings.nmea, expected);
        EXPECT_EQ(emulator().board().periodMs(0, NmeaOutputChoice::ZDA), 2000u);
        EXPECT_EQ(emulator().board().periodMs(0, NmeaOutputChoice::GGA), 0u);
        EXPECT_TRUE(host->messages.isEmpty());
    }
}

TEST_F(AdvancedPageOnEmulator, dataOutputCancelChangesNothing) {
    start();
    open();
    settings.nmea.setOn(NmeaOutputChoice::GST, 1);
    const NmeaOutputChoice before = settings.nmea;
    dataOutput([](CDialogDataOutSet& dialog) {
        FindControl<QCheckBox>(dialog, 1053)->setChecked(false);
        FindControl<QPushButton>(dialog, 1145)->click();
    });
    EXPECT_EQ(settings.nmea, before);
    EXPECT_TRUE(port->writes().empty());
}

TEST_F(AdvancedPageOnEmulator, dataOutputForAnUnknownBoardIsStoredAndTheUserIsTold) {
    ReceiverProfile profile;
    profile.board = BoardKind::Other;
    start(profile);
    open();
    dataOutput([](CDialogDataOutSet& dialog) {
        FindControl<QCheckBox>(dialog, 1051)->setChecked(true);
        FindControl<QPushButton>(dialog, 1144)->click();
    });
    EXPECT_EQ(settings.nmea.clearAll(), 1);
    EXPECT_TRUE(port->writes().empty());
    EXPECT_EQ(view.boxes, QStringList{QStringLiteral(
                              "The motherboard type is unknown, so the data output setting was "
                              "not sent")});
}

TEST_F(AdvancedPageOnEmulator, voiceButtonsSwitchTheVoice) {
    ReceiverProfile profile;
    profile.receiverType = '4';
    start(profile);
    open();
    press(1133);
    port->pump();
    EXPECT_FALSE(emulator().settings().voiceOn());
    EXPECT_EQ(view.tip, "Close voice successfully");
    press(1132);
    port->pump();
    EXPECT_TRUE(emulator().settings().voiceOn());
}

} // namespace
} // namespace kestrava
