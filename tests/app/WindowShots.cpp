// Pictures of the main window for the README: every tab page and both popup dialogs, connected to
// the built-in receiver emulator with its settings read, in English and in Chinese. Run by
// scripts/screenshots.sh under a virtual display; not part of the test run.
//   kestrava_window_shots <output folder> <language folder>
#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"
#include "app/ProfileActions.h"
#include "exchange/CommandExchange.h"
#include "ntrip/Rtcm3Framer.h"
#include "ntrip/StationPosition.h"
#include "pages/CDialogAPN.h"
#include "pages/CDialogCaster.h"
#include "pages/CDialogDataOutSet.h"
#include "pages/CDialogNETWORK.h"
#include "pages/CDialogProfile.h"
#include "support/WaitUntil.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTcpServer>
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

// Presses the button with the control id on the tab page, as the user does, and lets the reply
// (and the chain after it) fill the page.
void press(CKestravaDlg& window, int tab, int id) {
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("1008"));
    if (auto* button = tabs->widget(tab)->findChild<QPushButton*>(QString::number(id))) {
        button->click();
    } else {
        std::fprintf(stderr, "no button %d on tab %d\n", id, tab);
    }
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
    net->OnApnRead(); // the dialog's Read
    settle(700);
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

// The receiver's NMEA on this port: the Position block fills.
void shootPosition(CKestravaDlg& window, const QString& folder, const QString& suffix) {
    NmeaOutputChoice choice;
    choice.setPort(0);
    choice.setOn(NmeaOutputChoice::GGA, 1);
    window.exchange().request(CommandId::SetNmeaOutput, requestargs::SetNmeaOutput{choice});
    settle(2500);
    save(window, folder, QStringLiteral("kestrava-position-%1").arg(suffix));
}

// A caster on loopback (str2str from rtklib), checked from the Net page's dialog.
void shootCaster(CKestravaDlg& window, const QString& folder, const QString& suffix) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("str2str"));
    if (program.isEmpty()) {
        std::fputs("str2str not found (rtklib): no caster picture\n", stderr);
        return;
    }
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    QProcess caster;
    caster.start(program,
                 {QStringLiteral("-out"),
                  QStringLiteral("ntripc://surveyor:secret@:%1/HZ01:Hangzhou;RTCM 3.2;"
                                 "1005(10),1074(1),1084(1),1094(1);2;GPS+GLO+GAL;KNet;CHN;30.25;"
                                 "120.13;0;0;sNTRIP;none;B;N;9600;")
                      .arg(port)});
    caster.waitForStarted(3000);
    std::vector<std::uint8_t> second;
    for (const auto& payload :
         {StationPosition::fromGeodetic({30.3519, 120.05, 20.0}, 7).encode(false),
          std::vector<std::uint8_t>(120, 0x43), std::vector<std::uint8_t>(110, 0x43),
          std::vector<std::uint8_t>(100, 0x44)}) {
        std::vector<std::uint8_t> body = payload;
        if (body.size() > 20) { // observation messages of GPS, GLONASS and Galileo
            const int number = body.size() == 120 ? 1074 : body.size() == 110 ? 1084 : 1094;
            body[0] = static_cast<std::uint8_t>(number >> 4);
            body[1] = static_cast<std::uint8_t>((number & 0xF) << 4);
        }
        const auto frame = Rtcm3Framer::frame(body);
        second.insert(second.end(), frame.begin(), frame.end());
    }
    QTimer feed;
    QObject::connect(&feed, &QTimer::timeout, [&] {
        caster.write(reinterpret_cast<const char*>(second.data()),
                     static_cast<qint64>(second.size()));
    });
    feed.start(200);
    settle(1000);
    CDialogCaster::Target target;
    target.host = QStringLiteral("127.0.0.1");
    target.port = port;
    target.mountPoint = QStringLiteral("HZ01");
    target.user = QStringLiteral("surveyor");
    target.password = QStringLiteral("secret");
    CDialogCaster dialog(
        target, [&window](const QString& english) { return window.translate(english); }, &window);
    dialog.setFont(window.font());
    dialog.SetListenMs(3000);
    dialog.show();
    dialog.StartList();
    waitUntil([&] { return !dialog.Busy(); }, 10000);
    dialog.SelectMountPoint(QStringLiteral("HZ01"));
    dialog.StartLogin();
    settle(300);
    waitUntil([&] { return !dialog.Busy(); }, 10000);
    save(dialog, folder, QStringLiteral("kestrava-caster-%1").arg(suffix));
    dialog.hide();
    feed.stop();
    caster.terminate();
    caster.waitForFinished(3000);
}

// Apply Profile: what differs, then the outcome of every setting, read back.
void shootProfile(CKestravaDlg& window, const QString& folder, const QString& suffix,
                  const QString& settingsFolder) {
    const bool english = suffix == QStringLiteral("en");
    const QString path = QDir(settingsFolder).filePath(QStringLiteral("crew-a-%1.ini").arg(suffix));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QStringLiteral("[NetParams]\nPort=%1\nSourceNode=RTK02\n"
                              "[CollectParams]\nCollecInterval=5\nCutOff=%2\n"
                              "[HZParams]\nHZSend0=%3\nHZReceive0=%3\n"
                              "[OtherParams]\nVolume=%4\n")
                   .arg(english ? 2105 : 2106)
                   .arg(english ? 15 : 12)
                   .arg(english ? QStringLiteral("461.050") : QStringLiteral("461.075"))
                   .arg(english ? 5 : 6)
                   .toUtf8());
    file.close();
    CDialogProfile* dialog = window.profiles().applyProfileFrom(path);
    if (dialog == nullptr) {
        std::fputs("Apply Profile did not open\n", stderr);
        return;
    }
    dialog->setFont(window.font());
    dialog->resize(620, 380);
    waitUntil([&] { return dialog->CurrentStage() == CDialogProfile::Stage::Planned; }, 20000);
    save(*dialog, folder, QStringLiteral("kestrava-profile-plan-%1").arg(suffix));
    dialog->StartApply();
    waitUntil([&] { return dialog->CurrentStage() == CDialogProfile::Stage::Applied; }, 20000);
    save(*dialog, folder, QStringLiteral("kestrava-profile-%1").arg(suffix));
    dialog->close();
    waitUntil([&] { return window.exchange().portOpen(); }, 10000);
    settle(1500);
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
    ReceiverProfile receiver;
    receiver.fixQuality = 4; // RTK fixed, for the Position block
    receiver.satellites = 16;
    receiver.correctionAge = 1;
    if (!emulator.start(error, receiver)) {
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
    enum Tab { Net, Radio, Static, Basic, Advanced };
    press(window, Net, 1098);      // Read
    press(window, Radio, 1123);    // Connect Internal Radio
    press(window, Radio, 1125);    // Read Current HZ
    press(window, Radio, 1130);    // the air baud rate's Read
    press(window, Static, 1013);   // the collection's Read
    press(window, Static, 1108);   // the file naming's Read
    press(window, Static, 1058);   // the store location's Read, then the RINEX flag
    press(window, Static, 1060);   // the static voice flag's Read
    press(window, Static, 1114);   // Read All Files
    press(window, Advanced, 1137); // the bands' Read
    press(window, Advanced, 1014); // the voice's Read
    read(window, [](CommandExchange& e) { e.request(CommandId::ReadMainInfo); });
    settle(1500);

    shootLanguage(window, folder, QStringLiteral("en"));
    shootPosition(window, folder, QStringLiteral("en"));
    shootCaster(window, folder, QStringLiteral("en"));
    // The profile pictures come last: applying a profile changes what the receiver holds, and
    // its run opens the port again.
    auto* languages = window.findChild<QComboBox*>(QStringLiteral("1011"));
    const int english = languages->currentIndex();
    const int chinese = languages->findText(QStringLiteral("chinese"));
    const auto useLanguage = [&](int index) {
        languages->setCurrentIndex(index);
        emit languages->activated(index);
        read(window, [](CommandExchange& e) { e.request(CommandId::ReadMainInfo); });
        settle(1500);
    };
    if (chinese >= 0) {
        useLanguage(chinese);
        shootLanguage(window, folder, QStringLiteral("zh"));
        shootPosition(window, folder, QStringLiteral("zh"));
        shootCaster(window, folder, QStringLiteral("zh"));
        useLanguage(english);
    }
    shootProfile(window, folder, QStringLiteral("en"), settings.path());
    if (chinese >= 0) {
        useLanguage(chinese);
        shootProfile(window, folder, QStringLiteral("zh"), settings.path());
    }
    return 0;
}
