// Pictures of the main window for the README: every tab page and both popup dialogs, connected to
// the built-in receiver emulator with its settings read, in English and in Chinese. Run by
// scripts/screenshots.sh under a virtual display; not part of the test run.
//   kestrava_window_shots <output folder> <language folder>
#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "exchange/CommandExchange.h"
#include "pages/CDialogAPN.h"
#include "pages/CDialogDataOutSet.h"
#include "pages/CDialogNETWORK.h"
#include "support/WaitUntil.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace kestrava;

namespace {

void settle(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

using test::waitUntil;

// Sends one read and lets its reply (and the chain after it) arrive.
void read(CKestravaDlg& window, const std::function<void(CommandExchange&)>& send) {
    send(window.exchange());
    settle(700);
}

void save(QWidget& widget, const QString& folder, const QString& name) {
    settle(200);
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    widget.grab().save(path);
    std::printf("%s %dx%d\n", qPrintable(path), widget.width(), widget.height());
}

void shootLanguage(CKestravaDlg& window, const QString& folder, const QString& suffix) {
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("1008"));
    const char* const names[] = {"net", "radio", "static", "basic", "advanced"};
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        save(window, folder,
             QStringLiteral("kestrava-%1-%2").arg(QLatin1String(names[tab]), suffix));
    }
    tabs->setCurrentIndex(0);

    const PageTranslator translate = [&window](const QString& english) {
        return window.translate(english);
    };
    auto* net = window.findChild<CDialogNETWORK*>();
    CDialogAPN apn(translate, &window);
    apn.setFont(window.font());
    net->SetApnDialog(&apn);
    apn.show();
    read(window, [](CommandExchange& e) { e.ReadApnParams(); });
    save(apn, folder, QStringLiteral("kestrava-apn-%1").arg(suffix));
    net->SetApnDialog(nullptr);
    apn.hide();

    CDialogDataOutSet output(translate, &window);
    output.setFont(window.font());
    output.ShowChoice(window.storedSettings().nmea);
    output.show();
    save(output, folder, QStringLiteral("kestrava-dataout-%1").arg(suffix));
    output.hide();
}

} // namespace

int main(int argc, char** argv) {
    Q_INIT_RESOURCE(app);
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: kestrava_window_shots <output folder> <language folder>\n", stderr);
        return 2;
    }
    // A box would stop the run: close each one, and say what it said.
    QTimer boxCloser;
    QObject::connect(&boxCloser, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "box: %s\n", qPrintable(box->text()));
            box->done(QMessageBox::Ok);
        }
    });
    boxCloser.start(50);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir settings;

    BuiltInEmulator emulator;
    QString error;
    if (!emulator.start(error)) {
        std::fprintf(stderr, "emulator: %s\n", qPrintable(error));
        return 1;
    }
    AppOptions options;
    options.settingsFolder = settings.path();
    options.languageFolder = QString::fromLocal8Bit(argv[2]);
    options.emulatorPort = emulator.devicePath();
    CKestravaDlg window(options);
    window.show();

    window.findChild<QPushButton*>(QStringLiteral("1061"))->click();
    if (!waitUntil([&] {
            return !window.findChild<QLabel*>(QStringLiteral("1070"))->text().isEmpty() ||
                   !window.findChild<QLabel*>(QStringLiteral("1072"))->text().isEmpty();
        })) {
        std::fputs("the emulator did not answer\n", stderr);
        return 1;
    }
    // Every page with what the receiver holds.
    read(window, [](CommandExchange& e) { e.ReadNetParams(); });
    read(window, [](CommandExchange& e) { e.ConnectInternalRadio(); });
    read(window, [](CommandExchange& e) { e.ReadRadioChannels(); });
    read(window, [](CommandExchange& e) { e.ReadAirBaud(); });
    read(window, [](CommandExchange& e) { e.ReadCollectParams(); });
    read(window, [](CommandExchange& e) { e.ReadFileNaming(); });
    read(window, [](CommandExchange& e) { e.ReadStoreLocation(); });
    read(window, [](CommandExchange& e) {
        e.setFileListPosition(0);
        e.ReadFileList();
    });
    read(window, [](CommandExchange& e) { e.ReadNetModuleBand(); });
    read(window, [](CommandExchange& e) { e.ReadVoiceBlock(false, 1); });
    read(window, [](CommandExchange& e) { e.ReadMainInfo(); });
    settle(1500);

    shootLanguage(window, folder, QStringLiteral("en"));
    auto* languages = window.findChild<QComboBox*>(QStringLiteral("1011"));
    const int chinese = languages->findText(QStringLiteral("chinese"));
    if (chinese >= 0) {
        languages->setCurrentIndex(chinese);
        emit languages->activated(chinese);
        read(window, [](CommandExchange& e) { e.ReadMainInfo(); });
        settle(1500);
        shootLanguage(window, folder, QStringLiteral("zh"));
    }
    return 0;
}
