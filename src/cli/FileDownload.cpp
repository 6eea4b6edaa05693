#include "cli/FileDownload.h"

#include "cli/Interruption.h"
#include "cli/ReceiverSession.h"
#include "cli/SettingGroup.h"
#include "exchange/CommandExchange.h"
#include "exchange/DownloadTarget.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace kestrava {
namespace {

constexpr int kProgressPollMs = 250;

std::string minutesAndSeconds(double seconds) {
    const long whole = static_cast<long>(std::max(0.0, seconds) + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

} // namespace

FileDownload::FileDownload(ReceiverSession& session, std::ostream& err, bool progress)
    : m_session(session), m_err(err), m_progress(progress) {}

int FileDownload::run(const FileRowText& row, const QString& path) {
    ConsoleView& view = m_session.view();
    CommandExchange& exchange = m_session.exchange();
    const qsizetype boxes = view.messages.size();
    view.downloaded = 0;
    view.downloadEnded = false;

    QElapsedTimer clock;
    clock.start();
    exchange.request(RequestChain::Download,
                     requestargs::StartDownload{row.downloadName, path, row.sizeBytes});

    std::size_t seen = 0;
    qint64 lastChange = 0;
    while (!view.downloadEnded && exchange.portOpen()) {
        m_session.waitUntil([&] { return view.downloadEnded || view.downloaded != seen; },
                            kProgressPollMs);
        if (view.downloaded != seen) {
            seen = view.downloaded;
            lastChange = clock.elapsed();
        }
        if (m_progress) {
            showProgress(row.name, seen, row.sizeBytes, clock.elapsed() / 1000.0);
        }
        if (!view.downloadEnded && Interruption::requested()) {
            // Stopped by the user as Stop Load would: the receiver stops sending, the copy so far
            // stays in its .part file and the file already at path is untouched.
            exchange.request(CommandId::StopDownload);
            m_session.settle([&] { return view.downloadEnded; }, ReceiverSession::kCloseWaitMs);
            if (m_progress) {
                m_err << '\n';
            }
            m_err << "Interrupted: the download of " << row.name.toStdString() << " was stopped";
            if (QFileInfo::exists(DownloadTarget::partPath(path))) {
                m_err << "; the part received is kept in "
                      << QDir::toNativeSeparators(DownloadTarget::partPath(path)).toStdString();
            }
            m_err << '\n';
            return kCliNoReply;
        }
        if (!view.downloadEnded && clock.elapsed() - lastChange > kStallMs) {
            exchange.request(CommandId::StopDownload);
            if (m_progress) {
                m_err << '\n';
            }
            m_err << ReceiverSession::silenceText() << '\n';
            return kCliNoReply;
        }
    }
    if (!view.downloadEnded) {
        // The port went away: its notice ends the download and says what was kept.
        m_session.settle([&] { return view.downloadEnded; }, ReceiverSession::kCloseWaitMs);
    }
    if (m_progress) {
        m_err << '\n';
    }
    if (exchange.lastDownloadComplete()) {
        return kCliOk;
    }
    for (qsizetype i = boxes; i < view.messages.size(); ++i) {
        m_err << view.messages[i].toStdString() << '\n';
    }
    if (view.messages.size() == boxes) {
        m_err << (exchange.portOpen() ? "Fail to download static file\n"
                                      : "The receiver was lost: the download has stopped.\n");
    }
    return kCliFailed;
}

void FileDownload::showProgress(const QString& name, std::size_t bytes, std::uint32_t total,
                                double seconds) {
    const double rate = seconds > 0 ? static_cast<double>(bytes) / seconds : 0.0;
    const int percent =
        total > 0 ? static_cast<int>(std::min<std::size_t>(bytes * 100 / total, 100)) : 0;
    std::string left = "-:--";
    if (total > 0 && bytes >= total) {
        left = "0:00";
    } else if (rate > 0 && total > bytes) {
        left = minutesAndSeconds(static_cast<double>(total - bytes) / rate);
    }
    char line[200];
    std::snprintf(line, sizeof line, "\r%s  %zu/%u bytes  %3d%%  %.1f KB/s  %s left   ",
                  name.toStdString().c_str(), bytes, total, percent, rate / 1024.0, left.c_str());
    m_err << line << std::flush;
}

} // namespace kestrava
