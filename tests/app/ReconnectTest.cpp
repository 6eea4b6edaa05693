#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "support/WaitUntil.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace kestrava {
namespace {

using test::waitUntil;

// The receiver on a pseudo-terminal reached through a link of fixed name, the way a USB serial
// adapter keeps its name across unplugging: pulling the cable ends the terminal and removes the
// link; plugging it in starts a new terminal (another receiver, if wanted) behind the same link.
class Receiver {
public:
    explicit Receiver(QString link) : m_link(std::move(link)) {}

    bool plugIn(ReceiverProfile profile = {}) {
        QString error;
        m_emulator = std::make_unique<BuiltInEmulator>();
        if (!m_emulator->start(error, std::move(profile))) {
            ADD_FAILURE() << error.toStdString();
            return false;
        }
        QFile::remove(m_link);
        return QFile::link(m_emulator->devicePath(), m_link);
    }

    void pull() {
        QFile::remove(m_link);
        m_emulator.reset(); // the terminal closes: the open device hangs up
    }

private:
    QString m_link;
    std::unique_ptr<BuiltInEmulator> m_emulator;
};

class Reconnect : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        // The loss is reported in a box; close every box as it comes, and count them.
        QObject::connect(&m_boxCloser, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_boxes << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        m_boxCloser.start(20);
    }

    std::unique_ptr<CKestravaDlg> openWindow() {
        AppOptions options;
        options.settingsFolder = m_folder.path();
        options.languageFolder = m_folder.filePath(QStringLiteral("lang"));
        options.emulatorPort = m_link;
        auto window = std::make_unique<CKestravaDlg>(options);
        window->show();
        return window;
    }

    static QString text(QWidget& window, int id) {
        return window.findChild<QLabel*>(QString::number(id), Qt::FindDirectChildrenOnly)->text();
    }
    static QPushButton* openButton(QWidget& window) {
        return window.findChild<QPushButton*>(QStringLiteral("1061"));
    }

    QTemporaryDir m_folder;
    QString m_link = m_folder.filePath(QStringLiteral("ttyRECEIVER"));
    QTimer m_boxCloser;
    QStringList m_boxes;
};

TEST_F(Reconnect, aReceiverThatComesBackIsOpenedAndReadAgain) {
    Receiver receiver(m_link);
    ASSERT_TRUE(receiver.plugIn(*ReceiverProfile::named("static")));
    auto window = openWindow();
    openButton(*window)->click();
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("1008"));
    ASSERT_TRUE(waitUntil([&] { return tabs->currentIndex() == 2; })); // static-only: locked

    receiver.pull();
    ASSERT_TRUE(waitUntil([&] { return text(*window, 1064).isEmpty(); }));
    EXPECT_FALSE(m_boxes.isEmpty()) << "the loss is reported";
    EXPECT_EQ(text(*window, 1177), "Receiver lost, waiting for it to come back...");
    EXPECT_EQ(openButton(*window)->text(), "Close");

    // Another receiver, not static-only, comes back behind the same name.
    ASSERT_TRUE(receiver.plugIn());
    ASSERT_TRUE(waitUntil([&] {
        return text(*window, 1177) == "Receiver reconnected, main information read again";
    })) << text(*window, 1177).toStdString();
    EXPECT_EQ(text(*window, 1064), "KS260107");
    EXPECT_EQ(text(*window, 1074), "UC864");
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("1074"))->isEnabled());
    tabs->setCurrentIndex(0); // the old receiver's lock is gone
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(openButton(*window)->text(), "Close");
}

TEST_F(Reconnect, closeStopsTheWaiting) {
    Receiver receiver(m_link);
    ASSERT_TRUE(receiver.plugIn());
    auto window = openWindow();
    openButton(*window)->click();
    ASSERT_TRUE(waitUntil([&] { return !text(*window, 1064).isEmpty(); }));

    receiver.pull();
    ASSERT_TRUE(waitUntil([&] { return text(*window, 1064).isEmpty(); }));
    openButton(*window)->click(); // Close: give up waiting
    EXPECT_EQ(openButton(*window)->text(), "Open");
    EXPECT_EQ(text(*window, 1177), "Port closed");

    ASSERT_TRUE(receiver.plugIn());
    waitUntil([] { return false; }, 1500); // three looks' worth of time
    EXPECT_TRUE(text(*window, 1064).isEmpty());
    EXPECT_EQ(openButton(*window)->text(), "Open");
}

} // namespace
} // namespace kestrava
