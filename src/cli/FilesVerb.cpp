#include "cli/FilesVerb.h"

#include "cli/FileDownload.h"
#include "cli/PortVerbs.h"
#include "cli/ReceiverSession.h"
#include "cli/SettingGroup.h"
#include "cli/TerminalCheck.h"
#include "exchange/CommandExchange.h"
#include "protocol/ReplyKind.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <utility>

namespace kestrava {
namespace {

const FileRowText* findRow(const QList<FileRowText>& rows, const QString& name) {
    for (const FileRowText& row : rows) {
        if (row.name == name) {
            return &row;
        }
    }
    const FileRowText* match = nullptr;
    for (const FileRowText& row : rows) {
        if (row.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (match != nullptr) {
                return nullptr; // two files differ only in letter case: ask for the exact name
            }
            match = &row;
        }
    }
    return match;
}

// Says so when the listing stopped where the one-byte position ends; true then.
bool reportCutListing(PortVerbContext& c) {
    if (!c.session.exchange().fileListCut()) {
        return false;
    }
    c.err << "Only the first 256 files can be listed\n";
    return true;
}

// A path that ends in a separator names a folder, whether it exists yet or not.
bool namesFolder(const QString& path) {
    return path.endsWith(QLatin1Char('/')) || path.endsWith(QDir::separator()) ||
           QFileInfo(path).isDir();
}

int listVerb(PortVerbContext& c) {
    const auto rows = FilesVerb::list(c.session);
    if (!rows) {
        c.err << ReceiverSession::silenceText() << '\n';
        return kCliNoReply;
    }
    for (const FileRowText& row : *rows) {
        c.out << FilesVerb::line(row) << '\n';
    }
    reportCutListing(c);
    return kCliOk;
}

// download NAME [--output PATH] | download --all [--output DIR]
int downloadVerb(PortVerbContext& c) {
    bool all = false;
    QString name;
    QString output;
    for (std::size_t i = 1; i < c.args.size(); ++i) {
        if (c.args[i] == "--all") {
            all = true;
        } else if (c.args[i] == "--output") {
            output = QString::fromStdString(c.args[++i]);
        } else {
            name = QString::fromStdString(c.args[i]);
        }
    }
    const auto rows = FilesVerb::list(c.session);
    if (!rows) {
        c.err << ReceiverSession::silenceText() << '\n';
        return kCliNoReply;
    }
    FileDownload download(c.session, c.err, TerminalCheck::isTerminal(c.err));
    if (!all) {
        const FileRowText* row = findRow(*rows, name);
        if (row == nullptr) {
            c.err << "No such file on the receiver: " << name.toStdString() << '\n';
            return kCliRefused;
        }
        QString path = output.isEmpty() ? row->name : output;
        if (namesFolder(path)) {
            if (!QDir().mkpath(path)) {
                c.err << "Cannot create the folder: " << path.toStdString() << '\n';
                return kCliFailed;
            }
            path = QDir(path).filePath(row->name);
        }
        const int status = download.run(*row, path);
        if (status == kCliOk) {
            c.out << path.toStdString() << '\n';
        }
        return status;
    }
    const QString folder = output.isEmpty() ? QStringLiteral(".") : output;
    if (!QDir().mkpath(folder)) {
        c.err << "Cannot create the folder: " << folder.toStdString() << '\n';
        return kCliFailed;
    }
    for (const FileRowText& row : *rows) {
        const QString path = QDir(folder).filePath(row.name);
        const int status = download.run(row, path);
        if (status != kCliOk) {
            return status;
        }
        c.out << path.toStdString() << '\n';
    }
    // Files beyond the first 256 may be on the receiver: "all" did not happen.
    return reportCutListing(c) ? kCliFailed : kCliOk;
}

int deleteVerb(PortVerbContext& c) {
    const auto rows = FilesVerb::list(c.session);
    if (!rows) {
        c.err << ReceiverSession::silenceText() << '\n';
        return kCliNoReply;
    }
    QStringList names;
    std::vector<const FileRowText*> chosen;
    for (std::size_t i = 1; i < c.args.size(); ++i) {
        const QString name = QString::fromStdString(c.args[i]);
        const FileRowText* row = findRow(*rows, name);
        if (row == nullptr) {
            c.err << "No such file on the receiver: " << c.args[i] << '\n';
            return kCliRefused;
        }
        // The receiver deletes a file once: naming it again would be answered as a failure.
        if (std::find(chosen.begin(), chosen.end(), row) != chosen.end()) {
            c.err << row->name.toStdString() << " is named more than once; it is deleted once\n";
            continue;
        }
        chosen.push_back(row);
        names.append(row->downloadName);
    }
    const ConsoleView& view = c.session.view();
    const qsizetype boxes = view.messages.size();
    const RequestOutcome deleted =
        c.session.request(CommandId::DeleteFiles, requestargs::DeleteFiles{names});
    if (deleted.repliedWith(KindFilesDeleted) && deleted.value == 0) {
        return kCliOk;
    }
    if (view.messages.size() > boxes) {
        c.err << view.messages.back().toStdString() << '\n';
        return kCliFailed;
    }
    c.err << ReceiverSession::silenceText() << '\n';
    return kCliNoReply;
}

bool confirmFormat(PortVerbContext& c) {
    for (std::size_t i = 1; i < c.args.size(); ++i) {
        if (c.args[i] == "--yes") {
            return true;
        }
    }
    if (!TerminalCheck::inputIsTerminal()) {
        c.err << "files format deletes every static file: add --yes to confirm\n";
        return false;
    }
    c.err << "Are you sure to delete all static files? [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

int formatVerb(PortVerbContext& c) {
    if (!confirmFormat(c)) {
        return kCliRefused;
    }
    // The recording state is read first: the format follows only while nothing is recorded.
    const RequestOutcome formatted = c.session.request(
        RequestChain::Format, requestargs::NoArguments{}, {}, 2 * ReceiverSession::kReplyWaitMs);
    if (formatted.repliedWith(KindRecordingState) && formatted.value != 0) {
        c.err << "Recording raw file,cannot do the Format operation\n";
        return kCliFailed;
    }
    if (!formatted.repliedWith(KindFilesFormatted)) {
        c.err << ReceiverSession::silenceText() << '\n';
        return kCliNoReply;
    }
    if (formatted.value != 0) {
        c.err << "Fail to delete static file\n";
        return kCliFailed;
    }
    c.err << "Format static files successfully\n";
    return kCliOk;
}

} // namespace

std::string FilesVerb::check(const std::vector<std::string>& args) {
    const std::string usage = "files: usage: files list | download NAME [--output PATH] | "
                              "download --all [--output DIR] | delete NAME... | format [--yes]";
    if (args.empty()) {
        return usage;
    }
    const std::string& what = args.front();
    if (what == "list") {
        return args.size() == 1 ? std::string() : usage;
    }
    if (what == "download") {
        bool all = false;
        int names = 0;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--all") {
                all = true;
            } else if (args[i] == "--output") {
                if (++i >= args.size()) {
                    return "files download: --output needs a path";
                }
            } else if (args[i].rfind("--", 0) == 0) {
                return "files download: unknown option \"" + args[i] + "\"";
            } else {
                ++names;
            }
        }
        if (all ? names != 0 : names != 1) {
            return "files download: name one file, or --all";
        }
        return {};
    }
    if (what == "delete") {
        return args.size() > 1 ? std::string() : "files delete: which files?";
    }
    if (what == "format") {
        return args.size() == 1 || (args.size() == 2 && args[1] == "--yes") ? std::string() : usage;
    }
    return usage;
}

int FilesVerb::run(PortVerbContext& context) {
    const std::string& what = context.args.front();
    if (what == "list") {
        return listVerb(context);
    }
    if (what == "download") {
        return downloadVerb(context);
    }
    if (what == "delete") {
        return deleteVerb(context);
    }
    return formatVerb(context);
}

std::optional<QList<FileRowText>> FilesVerb::list(ReceiverSession& session) {
    ConsoleView& view = session.view();
    CommandExchange& exchange = session.exchange();
    // Whether the listing got to its end: a page short of full, or a full one where the one-byte
    // position ends. The chain may end after this wait gave up, so what it sets is shared.
    const auto complete = std::make_shared<std::optional<bool>>();
    view.fileRows.clear();
    exchange.request(RequestChain::FileList, [complete, &exchange](const RequestOutcome& outcome) {
        const auto page = outcome.carried<std::span<const FileListRow>>(KindFileList);
        *complete =
            page && (page->size() < CommandExchange::kFileListPageSize || exchange.fileListCut());
    });
    // The pages come through the view, each asked for when the one before it arrived: wait page
    // by page.
    while (!complete->has_value()) {
        const qsizetype before = view.fileRows.size();
        session.waitUntil([&] { return complete->has_value() || view.fileRows.size() != before; },
                          ReceiverSession::kReplyWaitMs);
        if (!complete->has_value() && view.fileRows.size() == before) {
            return std::nullopt;
        }
    }
    if (!**complete) {
        return std::nullopt;
    }
    return view.fileRows;
}

std::string FilesVerb::line(const FileRowText& row) {
    const QString when = row.isoDateTime.isEmpty() ? QStringLiteral("-") : row.isoDateTime;
    return QStringLiteral("%1\t%2\t%3\t%4")
        .arg(row.name, row.size, QString::number(row.sizeBytes), when)
        .toStdString();
}

} // namespace kestrava
