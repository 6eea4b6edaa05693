// Prints how a commissioning station scales: the same profile applied to 1 and to 8 emulated
// receivers at once (the network, collection and radio groups changed), and a 256 KB fast
// firmware update on 1 and on 4 at once. Every emulator runs as kestrava-sim, paced at 19200 baud
// with 20 ms of latency. Not a test: it only prints figures.
//
//   kestrava_fleet_bench [RECEIVERS] [FIRMWARE_RECEIVERS]      (default 8 and 4)
#include "cli/FleetRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Emulators {
    std::vector<std::unique_ptr<QProcess>> processes;
    std::vector<std::string> ports;

    bool start(int count, const QStringList& extra) {
        for (int i = 0; i < count; ++i) {
            auto sim = std::make_unique<QProcess>();
            sim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            sim->start(QStringLiteral(KESTRAVA_SIM_PATH),
                       QStringList{QStringLiteral("--pace"), QStringLiteral("--latency"),
                                   QStringLiteral("20"), QStringLiteral("--baud"),
                                   QStringLiteral("19200"), QStringLiteral("--serial"),
                                   QStringLiteral("KB%1").arg(i, 6, 10, QLatin1Char('0'))} +
                           extra);
            if (!sim->waitForStarted() || !sim->waitForReadyRead(5000)) {
                std::fprintf(stderr, "kestrava-sim did not start\n");
                return false;
            }
            ports.push_back(QString::fromLocal8Bit(sim->readLine()).trimmed().toStdString());
            processes.push_back(std::move(sim));
        }
        return true;
    }
    ~Emulators() {
        for (auto& sim : processes) {
            sim->terminate();
            sim->waitForFinished(3000);
        }
    }
};

struct Figure {
    double seconds = 0;
    double cpu = 0;
    int status = 0;
};

Figure runOn(int receivers, const QStringList& simOptions, const std::vector<std::string>& verb) {
    Emulators emulators;
    if (!emulators.start(receivers, simOptions)) {
        return {0, 0, 1};
    }
    kestrava::FleetRun::Options options;
    options.ports = emulators.ports;
    options.verbAndArgs = verb;
    std::ostringstream out;
    std::ostringstream err;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    Figure figure;
    figure.status = kestrava::FleetRun::run(options, out, err);
    figure.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    figure.cpu = cpuSeconds() - cpuBefore;
    if (figure.status != 0) {
        std::fprintf(stderr, "%s%s", out.str().c_str(), err.str().c_str());
    }
    return figure;
}

void printRow(const char* what, const Figure& one, const Figure& all) {
    std::printf("| %-34s | %8.2f | %8.2f | %5.2f | %6.2f | %s |\n", what, one.seconds, all.seconds,
                one.seconds > 0 ? all.seconds / one.seconds : 0.0, all.cpu,
                one.status == 0 && all.status == 0 ? "all done" : "FAILED");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int receivers = argc > 1 ? std::atoi(argv[1]) : 8;
    const int firmwareReceivers = argc > 2 ? std::atoi(argv[2]) : 4;
    QTemporaryDir folder;

    const std::string profile = folder.filePath(QStringLiteral("base.ini")).toStdString();
    std::ofstream(profile) << "[NetParams]\nPort=2105\nSourceNode=MP7\n[CollectParams]\n"
                              "CollecInterval=5\nCutOff=12\n[HZParams]\nHZSend0=463.125\n"
                              "HZReceive0=463.125\n";
    const std::string image = folder.filePath(QStringLiteral("rx.098.kvb")).toStdString();
    {
        std::ofstream file(image, std::ios::binary);
        for (int i = 0; i < 256 * 1024; ++i) {
            file.put(static_cast<char>(i * 7 + 3));
        }
    }

    std::printf("| %-34s | %8s | %8s | %5s | %6s | %s |\n", "fleet (19200 baud, 20 ms latency)",
                "1, s", "N, s", "ratio", "CPU, s", "outcome");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", "------------------------------------", "----------",
                "----------", "-------", "--------", "----------");
    const std::vector<std::string> apply{"apply", profile};
    const Figure oneApply = runOn(1, {}, apply);
    const Figure manyApply = runOn(receivers, {}, apply);
    char label[64];
    std::snprintf(label, sizeof label, "apply net+collect+radio, N = %d", receivers);
    printRow(label, oneApply, manyApply);

    const std::vector<std::string> firmware{"firmware", image, "--type", "receiver", "--yes"};
    const QStringList fast{QStringLiteral("--fast-firmware")};
    const Figure oneFirmware = runOn(1, fast, firmware);
    const Figure manyFirmware = runOn(firmwareReceivers, fast, firmware);
    std::snprintf(label, sizeof label, "firmware 256 KB fast, N = %d", firmwareReceivers);
    printRow(label, oneFirmware, manyFirmware);
    return oneApply.status | manyApply.status | oneFirmware.status | manyFirmware.status;
}
