// Times the long conversations of the program against the receiver emulator on a
// pseudo-terminal, paced at the real line rate with 20 ms of receiver latency, and prints each
// beside its stop-and-wait limit: every command's and every reply's bytes at 10 bits a byte,
// plus the latency once per command. A ratio near 1 means the program waits for nothing but the
// line and the receiver.
//
//   kestrava_transfer_bench [--image-kb N] [--download-kb N] [--main-info-runs N]
#include "emulator/Emulator.h"
#include "emulator/PtyTransport.h"
#include "emulator/StaticFile.h"
#include "emulator/SteadyClock.h"
#include "exchange/CommandExchange.h"
#include "exchange/ExchangeView.h"
#include "exchange/FirmwareJob.h"
#include "exchange/FirmwareUpdater.h"
#include "exchange/ProtocolTrace.h"
#include "exchange/QtReplyTimers.h"
#include "exchange/SerialExchangePort.h"
#include "exchange/TracingExchangePort.h"
#include "serial/CSerialPort.h"
#include "settings/StoredSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace kestrava {
namespace {

constexpr double kLatencySeconds = 0.020;

// The view counts what the exchange receives and notes how a download ends.
class CountingView : public ExchangeView {
public:
    void setTipText(const QString&) override {}
    void showMessage(const QString& text) override { lastMessage = text; }
    void echoReceived(const std::uint8_t*, std::size_t count) override { received += count; }
    void endDownload() override { downloadEnded = true; }

    std::size_t received = 0;
    bool downloadEnded = false;
    QString lastMessage;
};

// The serial port as the exchange sees it, counting every command written.
class CountingPort : public ExchangePort {
public:
    explicit CountingPort(ExchangePort& inner) : m_inner(inner) {}
    void setOwner(SerialPortOwner* owner) override { m_inner.setOwner(owner); }
    bool readerAlive() const override { return m_inner.readerAlive(); }
    bool open(const QString& name, std::int32_t baud) override { return m_inner.open(name, baud); }
    bool queueWrite(const std::uint8_t* bytes, std::size_t length) override {
        written += length;
        ++writes;
        return m_inner.queueWrite(bytes, length);
    }
    void shutdown() override { m_inner.shutdown(); }
    void setHoldInputOpen(bool hold) override { m_inner.setHoldInputOpen(hold); }
    QString portName() const override { return m_inner.portName(); }
    void setChunkComplete(std::function<bool(const std::uint8_t*, std::size_t)> c) override {
        m_inner.setChunkComplete(std::move(c));
    }

    std::size_t written = 0;
    std::size_t writes = 0;

private:
    ExchangePort& m_inner;
};

bool runUntil(const std::function<bool()>& done, int guardMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < guardMs) {
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

// The emulator on its pseudo-terminal and the program's exchange on the real serial port.
class Rig {
public:
    // With trace, the exchange talks through the protocol trace, as with --trace.
    explicit Rig(ReceiverProfile profile, ProtocolTrace* trace = nullptr) {
        std::string error;
        m_pty = PtyTransport::open(error);
        if (!m_pty) {
            std::fprintf(stderr, "no pseudo-terminal: %s\n", error.c_str());
            std::exit(1);
        }
        Emulator::Timing timing;
        timing.latency = SimTime{20'000};
        timing.pacing = true;
        m_emulator = std::make_unique<Emulator>(std::move(profile), m_clock, timing);
        m_serve = std::thread([this] { m_pty->serve(*m_emulator, m_clock, m_stop); });
        m_serialPort = std::make_unique<SerialExchangePort>(m_serial);
        ExchangePort* below = m_serialPort.get();
        if (trace != nullptr) {
            m_tracing = std::make_unique<TracingExchangePort>(*m_serialPort, *trace);
            below = m_tracing.get();
        }
        port = std::make_unique<CountingPort>(*below);
        exchange = std::make_unique<CommandExchange>(*port, m_timers, view, m_settings);
        if (m_tracing) {
            m_tracing->attach(*exchange);
        }
    }

    ~Rig() {
        // The reader ends and its port-closed notice is served while the exchange still
        // listens; only then does the exchange go.
        m_serial.signalShutdown();
        runUntil([this] { return !m_serial.readerAlive(); }, 2000);
        runUntil([] { return false; }, 100);
        exchange.reset();
        m_stop.store(true);
        m_serve.join();
    }

    bool open() {
        std::optional<bool> arrived;
        QObject::connect(exchange.get(), &CommandExchange::mainInfoChainEnded,
                         [&arrived](bool ok) { arrived = ok; });
        if (!exchange->openPort(QString::fromStdString(m_pty->slavePath()))) {
            return false;
        }
        runUntil([&] { return arrived.has_value(); }, 30000);
        QObject::disconnect(exchange.get(), &CommandExchange::mainInfoChainEnded, nullptr, nullptr);
        return arrived.value_or(false);
    }

    void resetCounts() {
        port->written = 0;
        port->writes = 0;
        view.received = 0;
    }

    // Stop-and-wait limit of what was counted since resetCounts, at baud.
    double limitSeconds(unsigned baud) const {
        return static_cast<double>(port->written + view.received) * 10.0 / baud +
               static_cast<double>(port->writes) * kLatencySeconds;
    }

    Emulator& emulator() { return *m_emulator; }

    CountingView view;
    std::unique_ptr<CountingPort> port;
    std::unique_ptr<CommandExchange> exchange;

private:
    SteadyClock m_clock;
    std::unique_ptr<PtyTransport> m_pty;
    std::unique_ptr<Emulator> m_emulator;
    std::atomic<bool> m_stop{false};
    std::thread m_serve;
    CSerialPort m_serial;
    std::unique_ptr<SerialExchangePort> m_serialPort;
    std::unique_ptr<TracingExchangePort> m_tracing;
    QtReplyTimers m_timers;
    StoredSettings m_settings;
};

void printRow(const char* what, double seconds, double limit) {
    std::printf("| %-34s | %9.2f | %9.2f | %5.3f |\n", what, seconds, limit,
                seconds > 0 ? limit / seconds : 0.0);
    std::fflush(stdout);
}

void firmware(const char* what, int code, bool fast, int imageKb, const QString& folder,
              bool traced = false) {
    ReceiverProfile profile;
    profile.hardwareCode = code;
    profile.fastFirmware = fast;
    ProtocolTrace trace;
    if (traced) {
        QString error;
        if (!trace.open(folder + QStringLiteral("/bench.trace"), error)) {
            std::printf("| %-34s | no trace: %s |\n", what, error.toStdString().c_str());
            return;
        }
    }
    Rig rig(profile, traced ? &trace : nullptr);
    if (!rig.open()) {
        std::printf("| %-34s | no main information |\n", what);
        return;
    }
    const QString path = folder + QStringLiteral("/bench.0%1.kvb").arg(code);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return;
    }
    QByteArray image(imageKb * 1024, '\0');
    for (int i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>((i * 31 + 7) & 0xFF);
    }
    file.write(image);
    file.close();

    FirmwareUpdater updater(*rig.exchange);
    QElapsedTimer clock;
    std::optional<bool> ok;
    QObject::connect(&updater, &FirmwareUpdater::handshakeAnswered, [&] {
        rig.resetCounts();
        clock.start();
    });
    double seconds = 0;
    double limit = 0;
    QObject::connect(&updater, &FirmwareUpdater::finished, [&](bool success, const QString&) {
        seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        limit = rig.limitSeconds(fast ? 115200 : 19200);
        ok = success;
    });
    FirmwareJob job{path, code, 1, image.size()};
    updater.start(job);
    runUntil([&] { return ok.has_value(); }, 3600 * 1000);
    if (!ok.value_or(false) ||
        rig.emulator().firmware().image() != Bytes(image.begin(), image.end())) {
        std::printf("| %-34s | failed |\n", what);
        return;
    }
    printRow(what, seconds, limit);
}

void mainInformation(int runs) {
    Rig rig{ReceiverProfile{}};
    if (!rig.open()) {
        std::printf("| main information | no reply |\n");
        return;
    }
    double seconds = 0;
    double limit = 0;
    for (int i = 0; i < runs; ++i) {
        std::optional<bool> arrived;
        auto connection = QObject::connect(rig.exchange.get(), &CommandExchange::mainInfoChainEnded,
                                           [&arrived](bool ok) { arrived = ok; });
        rig.resetCounts();
        QElapsedTimer clock;
        clock.start();
        rig.exchange->update();
        runUntil([&] { return arrived.has_value(); }, 30000);
        seconds += static_cast<double>(clock.nsecsElapsed()) / 1e9;
        limit += rig.limitSeconds(19200);
        QObject::disconnect(connection);
    }
    printRow("main information chain (per read)", seconds / runs, limit / runs);
}

void download(int downloadKb, const QString& folder) {
    ReceiverProfile profile;
    profile.files = {StaticFile("BENCH001", "STH", static_cast<std::uint32_t>(downloadKb) * 1024,
                                0x5A21, 0x6000)};
    Rig rig(profile);
    if (!rig.open()) {
        std::printf("| download | no main information |\n");
        return;
    }
    rig.resetCounts();
    QElapsedTimer clock;
    clock.start();
    rig.exchange->request(CommandId::StartDownload,
                          requestargs::StartDownload{QStringLiteral("BENCH001"),
                                                     folder + QStringLiteral("/BENCH001.STH")});
    runUntil([&] { return rig.view.downloadEnded; }, 3600 * 1000);
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const QFile copy(folder + QStringLiteral("/BENCH001.STH"));
    if (copy.size() != static_cast<qint64>(downloadKb) * 1024) {
        std::printf("| download | failed (%lld bytes) |\n", static_cast<long long>(copy.size()));
        return;
    }
    char what[64];
    std::snprintf(what, sizeof what, "download %d KB, 19200", downloadKb);
    printRow(what, seconds, rig.limitSeconds(19200));
}

int intArg(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return std::atoi(argv[i + 1]);
        }
    }
    return fallback;
}

} // namespace
} // namespace kestrava

int main(int argc, char** argv) {
    using namespace kestrava;
    QCoreApplication app(argc, argv);
    const int imageKb = intArg(argc, argv, "--image-kb", 256);
    const int downloadKb = intArg(argc, argv, "--download-kb", 200);
    const int runs = intArg(argc, argv, "--main-info-runs", 5);
    QTemporaryDir folder;

    std::printf("| %-34s | %9s | %9s | %5s |\n", "conversation (20 ms latency)", "time, s",
                "limit, s", "ratio");
    std::printf("|%s|%s|%s|%s|\n", std::string(36, '-').c_str(), std::string(11, '-').c_str(),
                std::string(11, '-').c_str(), std::string(7, '-').c_str());
    char what[64];
    std::snprintf(what, sizeof what, "firmware %d KB, 98 layout, 19200", imageKb);
    firmware(what, 98, false, imageKb, folder.path());
    std::snprintf(what, sizeof what, "firmware %d KB, 88 layout, 19200", imageKb);
    firmware(what, 88, false, imageKb, folder.path());
    std::snprintf(what, sizeof what, "firmware %d KB, fast, 115200", imageKb);
    firmware(what, 98, true, imageKb, folder.path());
    // The protocol trace must cost nothing on the line: the same transfer with --trace.
    std::snprintf(what, sizeof what, "firmware %d KB, 98 layout, traced", imageKb);
    firmware(what, 98, false, imageKb, folder.path(), true);
    std::snprintf(what, sizeof what, "firmware %d KB, fast, traced", imageKb);
    firmware(what, 98, true, imageKb, folder.path(), true);
    mainInformation(runs);
    download(downloadKb, folder.path());
    return 0;
}
