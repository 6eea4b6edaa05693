// The Radio and Advanced pages in the running window, against the built-in emulator over a
// pseudo-terminal: the user clicks, types and answers boxes; the emulator is then asked what it
// holds.
#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "emulator/Emulator.h"
#include "emulator/FrameLog.h"
#include "pages/CDialogDataOutSet.h"
#include "support/SliderGroove.h"
#include "support/WaitUntil.h"

#include <gmock/gmock.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <sstream>

namespace kestrava {
namespace {

using ::testing::HasSubstr;

using test::waitUntil;

void sendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), Qt::LeftButton,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void leftClick(QWidget* widget, QPoint pos) {
    sendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

void doubleClick(QWidget* widget, QPoint pos) {
    leftClick(widget, pos);
    sendMouse(widget, QEvent::MouseButtonDblClick, pos, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

void type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

class PagesInWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        QDir(m_folder.path()).mkdir(QStringLiteral("lang"));
        // Every box the window shows is answered: questions with `answerYes`, the rest with OK.
        QObject::connect(&m_boxes, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            boxTexts.append(box->text());
            if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
                (answerYes ? yes : box->button(QMessageBox::No))->click();
            } else {
                box->accept();
            }
        });
        m_boxes.start(20);
    }

    void openWindow(ReceiverProfile profile = {}) {
        QString error;
        m_emulator = std::make_unique<BuiltInEmulator>();
        ASSERT_TRUE(m_emulator->start(error, std::move(profile))) << error.toStdString();
        m_emulator->inspect([this](Emulator& emulator) { emulator.setLog(&m_log); });
        AppOptions options;
        options.settingsFolder = m_folder.path();
        options.languageFolder = m_folder.filePath(QStringLiteral("lang"));
        options.emulatorPort = m_emulator->devicePath();
        window = std::make_unique<CKestravaDlg>(options);
        window->show();
        window->findChild<QAbstractButton*>(QStringLiteral("1061"))->click();
        ASSERT_TRUE(waitUntil([this] { return tip() == "Read main information successfully"; }))
            << tip().toStdString();
    }

    // A control of the page on show (ids repeat between pages and the window).
    template <typename T>
    T* control(int id) {
        QWidget* page = window->findChild<QTabWidget*>(QStringLiteral("1008"))->currentWidget();
        return page->findChild<T*>(QString::number(id));
    }
    QAbstractButton* button(int id) { return control<QAbstractButton>(id); }
    QString tip() { return window->findChild<QLabel*>(QStringLiteral("1177"))->text(); }
    void showTab(int index) {
        window->findChild<QTabWidget*>(QStringLiteral("1008"))->setCurrentIndex(index);
        QApplication::processEvents();
    }

    // Clicks and waits for the tip.
    void clickFor(int id, const char* expectedTip) {
        button(id)->click();
        EXPECT_TRUE(waitUntil([&] { return tip() == QString::fromLatin1(expectedTip); }))
            << "waiting for \"" << expectedTip << "\", tip: " << tip().toStdString();
    }

    // Reads the emulator's state in peace.
    void inspect(const std::function<void(Emulator&)>& look) { m_emulator->inspect(look); }
    std::string log() {
        std::string text;
        inspect([&](Emulator&) { text = m_logText.str(); });
        return text;
    }

    QStringList boxTexts;
    bool answerYes = true;
    std::unique_ptr<CKestravaDlg> window;

private:
    QTemporaryDir m_folder;
    QTimer m_boxes;
    std::ostringstream m_logText;
    FrameLog m_log{m_logText};
    std::unique_ptr<BuiltInEmulator> m_emulator;

protected:
    // Declared last: the window goes before the emulator it talks to.
    void TearDown() override { window.reset(); }
};

TEST_F(PagesInWindow, theRadioTableIsEditedInPlaceAndWrittenToTheRadio) {
    openWindow();
    showTab(1);
    clickFor(1123, "Internal radio module connected successfully");
    EXPECT_TRUE(boxTexts.contains("Connect to internal radio module successfully"));
    clickFor(1130, "Read parameters successfully"); // air baud
    EXPECT_EQ(control<QComboBox>(1129)->currentText(), "19200");
    EXPECT_EQ(window->storedSettings().airBaud, 19200);
    control<QComboBox>(1129)->setCurrentIndex(0);
    clickFor(1039, "Set air baudrate successfully");
    EXPECT_EQ(window->storedSettings().airBaud, 9600);

    button(1127)->click(); // defaults for 460M
    auto* list = control<QTreeWidget>(1038);
    auto* editor = control<QLineEdit>(1019);
    const auto cellCentre = [list](int row, int column) {
        QRect rect = list->visualItemRect(list->topLevelItem(row));
        return QPoint(list->header()->sectionViewportPosition(column) +
                          list->header()->sectionSize(column) / 2,
                      rect.center().y());
    };
    doubleClick(list->viewport(), cellCentre(2, 1));
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), "459.425");
    // The editor lies over the cell.
    const QPoint cellOnPage = list->viewport()->mapTo(editor->parentWidget(), cellCentre(2, 1));
    EXPECT_TRUE(editor->geometry().contains(cellOnPage));

    editor->selectAll();
    type(editor, QStringLiteral("46.125"));
    doubleClick(list->viewport(), cellCentre(4, 2)); // refused: the format message
    EXPECT_TRUE(waitUntil([&] {
        return boxTexts.contains("Please make sure the frequency value is with the format xxx.xxx");
    }));
    button(1126)->click(); // refused again, nothing sent
    editor->selectAll();
    type(editor, QStringLiteral("461.050"));
    clickFor(1126, "Set radio frequency successfully");

    inspect([](Emulator& emulator) {
        EXPECT_EQ(emulator.radio().transmit()[2], 18442); // 461.050 MHz in 25 kHz steps
        EXPECT_EQ(emulator.radio().receive()[2], 18377);  // 459.425 kept
        EXPECT_EQ(emulator.radio().transmit()[15], 18429);
    });
    EXPECT_EQ(window->storedSettings().channels[2].transmit, 461.05f);
}

TEST_F(PagesInWindow, voiceVolumeAndBandAreSetOnTheReceiver) {
    openWindow();
    showTab(4);
    auto* voice = control<QComboBox>(1011);
    voice->setCurrentIndex(0); // "Disable Voice"
    clickFor(1013, "Set Voice Type Successfully");

    auto* slider = control<QSlider>(1197);
    ASSERT_TRUE(slider->isVisible());
    slider->setValue(1);
    leftClick(slider, test::PointOnGroove(*slider, 0.9)); // on the groove, right of the handle
    ASSERT_GT(slider->value(), 1);
    const int volume = slider->value();
    EXPECT_TRUE(waitUntil([&] { return tip() == "Set volume successfully"; }))
        << tip().toStdString();

    voice->setCurrentIndex(2);
    clickFor(1014, "Read Voice Parameter Successfully");
    EXPECT_EQ(voice->currentIndex(), 0);
    EXPECT_EQ(window->storedSettings().volume, volume);

    auto* band2G = control<QComboBox>(1136);
    EXPECT_EQ(band2G->currentIndex(), -1);
    clickFor(1137, "Read parameters successfully");
    const StoredSettings& stored = window->storedSettings();
    ASSERT_TRUE(stored.band2g && stored.band3g);
    EXPECT_EQ(*stored.band2g, band2G->currentIndex());
    band2G->setCurrentIndex(3);
    control<QComboBox>(1044)->setCurrentIndex(6);
    clickFor(1138, "Set frequency band successfully");
    inspect([](Emulator& emulator) {
        EXPECT_EQ(emulator.settings().bands()[0], 3);
        EXPECT_EQ(emulator.settings().bands()[1], 6);
    });
    EXPECT_EQ(stored.band2g, 3);
    EXPECT_EQ(stored.band3g, 6);
}

TEST_F(PagesInWindow, dataOutputReachesEitherBoardAsItsOwnCommands) {
    for (BoardKind board : {BoardKind::Text, BoardKind::Packet}) {
        ReceiverProfile profile;
        profile.board = board;
        openWindow(profile);
        showTab(4);
        QTimer::singleShot(50, [] {
            auto* dialog = qobject_cast<CDialogDataOutSet*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QAbstractButton*>(QStringLiteral("1016"))->click(); // COM2
            dialog->findChild<QAbstractButton*>(QStringLiteral("1052"))->click(); // ZDA
            dialog->findChild<QComboBox*>(QStringLiteral("1180"))->setCurrentIndex(5);
            dialog->findChild<QAbstractButton*>(QStringLiteral("1144"))->click();
        });
        button(1057)->click();
        const NmeaOutputChoice stored = window->storedSettings().nmea;
        EXPECT_EQ(stored.port(), 1);
        EXPECT_EQ(stored.on(NmeaOutputChoice::ZDA), 1);
        EXPECT_EQ(stored.rate(NmeaOutputChoice::ZDA), 5);
        EXPECT_TRUE(waitUntil([&] {
            std::uint32_t period = 0;
            inspect([&](Emulator& emulator) {
                period = emulator.board().periodMs(1, NmeaOutputChoice::ZDA);
            });
            return period == 200;
        }));
        // The text board got "log com2 ..." lines, the packet board an application file packet.
        EXPECT_THAT(log(),
                    HasSubstr(board == BoardKind::Text ? "6C 6F 67 20 63 6F 6D 32" : "02 00 64"));
        window.reset();
    }
}

TEST_F(PagesInWindow, theSignalTestShowsTheModemsLinesUntilStopped) {
    openWindow();
    showTab(4);
    button(1056)->click();
    EXPECT_EQ(button(1056)->text(), "Stop Test");
    auto* display = control<QPlainTextEdit>(1139);
    EXPECT_TRUE(waitUntil([&] { return display->toPlainText().contains("+CSQ: "); }, 4000))
        << display->toPlainText().toStdString();
    button(1056)->click();
    EXPECT_EQ(button(1056)->text(), "Test GPRS SNR");
    EXPECT_TRUE(waitUntil([&] {
        bool running = true;
        inspect([&](Emulator& emulator) { running = emulator.signalTestRunning(); });
        return !running;
    }));
}

} // namespace
} // namespace kestrava
