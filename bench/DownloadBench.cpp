// Prints how long a static file download takes from the paced receiver emulator, against what
// the line allows a stop-and-wait transfer: every frame's bytes at 10 bits a byte, plus the
// receiver's latency once per command. Not a test: it only prints figures.
//
//   kestrava_download_bench [SIZE_BYTES]      (default 204800)
#include "cli/FileDownload.h"
#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

constexpr int kBaud = 19200;
constexpr int kLatencyMs = 20;
constexpr int kBlockBytes = 4095; // the largest download block the receiver sends
// Frame of a command or reply: "$$", two command letters, two length bytes, the payload, the
// checksum, CR LF.
constexpr long kFrameOverhead = 9;
constexpr long kStartDownloadFrame = kFrameOverhead + 8;
constexpr long kNextBlockFrame = kFrameOverhead;
constexpr long kStatusReplyFrame = kFrameOverhead + 1;

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const long size = argc > 1 ? std::atol(argv[1]) : 204800;

    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QStringLiteral(KESTRAVA_SIM_PATH),
              {QStringLiteral("--pace"), QStringLiteral("--latency"), QString::number(kLatencyMs),
               QStringLiteral("--baud"), QString::number(kBaud), QStringLiteral("--files"),
               QStringLiteral("0"), QStringLiteral("--file"),
               QStringLiteral("BENCH001.STH:%1").arg(size)});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "kestrava-sim did not start\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("BENCH001.STH"));
    double seconds = 0;
    bool complete = false;
    {
        kestrava::ReceiverSession session(std::cerr);
        if (session.open(device) != kestrava::ReceiverSession::OpenResult::Ok) {
            std::fprintf(stderr, "the emulator on %s did not answer\n", qPrintable(device));
            return 1;
        }
        kestrava::FileRowText row;
        row.name = QStringLiteral("BENCH001.STH");
        row.sizeBytes = static_cast<std::uint32_t>(size);
        kestrava::FileDownload download(session, std::cerr, false);
        QElapsedTimer clock;
        clock.start();
        complete = download.run(row, path) == 0;
        seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    }
    sim.terminate();
    sim.waitForFinished(3000);

    const long blocks = (size + kBlockBytes - 1) / kBlockBytes;
    // Start and its ready reply, one request per block with the block, and the last request
    // answered by the completion status.
    const long bytes = kStartDownloadFrame + kStatusReplyFrame +
                       blocks * (kNextBlockFrame + kFrameOverhead) + size + kNextBlockFrame +
                       kStatusReplyFrame;
    const long commands = blocks + 2;
    const double limit =
        static_cast<double>(bytes) * 10.0 / kBaud + commands * (kLatencyMs / 1000.0);
    std::printf("file: %ld bytes in %ld blocks, %s\n", size, blocks,
                complete && QFile(path).size() == size ? "complete" : "NOT COMPLETE");
    std::printf("line: %d baud, %d ms latency, %ld bytes on the wire, %ld commands\n", kBaud,
                kLatencyMs, bytes, commands);
    std::printf("transfer time:        %8.3f s\n", seconds);
    std::printf("stop-and-wait limit:  %8.3f s\n", limit);
    std::printf("ratio (limit/time):   %8.3f\n", limit / seconds);
    std::printf("overhead per command: %8.1f ms\n", (seconds - limit) * 1000.0 / commands);
    return complete ? 0 : 1;
}
