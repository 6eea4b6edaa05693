#pragma once

#include "exchange/ExchangeView.h"

#include <QString>

#include <ostream>

namespace kestrava {

class ReceiverSession;

// One static file copied from the receiver as the window's "Download Selected" does: the copy
// grows in PATH.part and takes the place of PATH only when the receiver reports completion and
// the listed size has arrived. With a terminal, a progress line (bytes, percent, rate, time left)
// is kept up to date on err.
class FileDownload {
public:
    // With no new bytes for this long the receiver is told to stop and the download fails.
    static constexpr int kStallMs = 10000;

    FileDownload(ReceiverSession& session, std::ostream& err, bool progress);

    // An exit status: 0 only when the complete file is at path. Failures are explained on err.
    int run(const FileRowText& row, const QString& path);

private:
    void showProgress(const QString& name, std::size_t bytes, std::uint32_t total, double seconds);

    ReceiverSession& m_session;
    std::ostream& m_err;
    bool m_progress;
};

} // namespace kestrava
