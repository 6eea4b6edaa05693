#include "cli/FirmwareVerb.h"

#include "cli/Interruption.h"
#include "cli/ReceiverSession.h"
#include "cli/SettingGroup.h"
#include "exchange/CommandExchange.h"
#include "exchange/FirmwareUpdater.h"
#include "forms/FirmwareForm.h"

#include <QElapsedTimer>

#include <cstdio>
#include <iostream>
#include <string>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kestrava {
namespace {

bool stderrIsTerminal() {
#ifdef Q_OS_UNIX
    return ::isatty(STDERR_FILENO) != 0;
#else
    return false;
#endif
}

bool stdinIsTerminal() {
#ifdef Q_OS_UNIX
    return ::isatty(STDIN_FILENO) != 0;
#else
    return true;
#endif
}

std::string progressLine(std::int64_t sent, std::int64_t size, qint64 elapsedMs) {
    const double seconds = static_cast<double>(elapsedMs) / 1000.0;
    const double rate = seconds > 0.0 ? static_cast<double>(sent) / seconds : 0.0;
    const double left = rate > 0.0 ? static_cast<double>(size - sent) / rate : 0.0;
    char line[160];
    std::snprintf(line, sizeof line, "\r%lld/%lld bytes %3lld%% %7.1f KB/s %4.0f s left ",
                  static_cast<long long>(sent), static_cast<long long>(size),
                  static_cast<long long>(size > 0 ? sent * 100 / size : 0), rate / 1024.0, left);
    return line;
}

} // namespace

std::string FirmwareVerb::parse(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--yes") {
            options.yes = true;
        } else if (arg == "--type" || arg == "--timeout") {
            if (i + 1 >= args.size()) {
                return "firmware: " + arg + " needs a value";
            }
            const std::string& value = args[++i];
            if (arg == "--type") {
                if (value == "module") {
                    options.type = FirmwareForm::kModule;
                } else if (value == "receiver") {
                    options.type = FirmwareForm::kReceiver;
                } else {
                    return "firmware: --type is module or receiver, not \"" + value + "\"";
                }
            } else {
                bool ok = false;
                const int seconds = QString::fromStdString(value).toInt(&ok);
                if (!ok || seconds < 1 || seconds > 86400) {
                    return "firmware: --timeout is a number of seconds from 1 to 86400";
                }
                options.timeoutSeconds = seconds;
            }
        } else if (arg.rfind("--", 0) == 0 || !options.file.empty()) {
            return "firmware: unexpected \"" + arg + "\"";
        } else {
            options.file = arg;
        }
    }
    if (options.file.empty()) {
        return "firmware: which FILE?";
    }
    return {};
}

PortVerb FirmwareVerb::verb() {
    return {"firmware",
            "FILE [--type module|receiver] [--yes] [--timeout SECONDS]",
            "Write the firmware image FILE (*.098.kvb or *.088.kvb) into the receiver, as the\n"
            "Basic page's Start Update does (type module unless given). Asks first unless\n"
            "--yes; waits up to SECONDS (default 60) for the receiver to be switched on.",
            false,
            [](const std::vector<std::string>& args, SettingsVerbs&) {
                Options options;
                return parse(args, options);
            },
            run};
}

int FirmwareVerb::run(PortVerbContext& c) {
    Options options;
    parse(c.args, options);
    const FormResult<FirmwareJob> form =
        FirmwareForm::check(QString::fromStdString(options.file), options.type);
    if (!form.ok()) {
        c.err << form.refusal().toStdString() << '\n';
        return kCliRefused;
    }
    if (!options.yes) {
        if (!stdinIsTerminal()) {
            c.err << "Are you sure to update? (give --yes to confirm without a terminal)\n";
            return kCliRefused;
        }
        c.err << "Are you sure to update? [y/N] " << std::flush;
        std::string answer;
        std::getline(std::cin, answer);
        if (answer != "y" && answer != "Y" && answer != "yes" && answer != "Yes") {
            return kCliRefused;
        }
    }

    CommandExchange& exchange = c.session.exchange();
    FirmwareUpdater updater(exchange);
    const bool terminal = stderrIsTerminal();
    std::optional<bool> success;
    QString message;
    bool answered = false;
    QElapsedTimer clock;
    QObject::connect(&updater, &FirmwareUpdater::handshakeAnswered, [&] {
        answered = true;
        clock.start();
    });
    QObject::connect(&updater, &FirmwareUpdater::finished, [&](bool ok, const QString& english) {
        success = ok;
        message = english;
    });
    QObject::connect(&updater, &FirmwareUpdater::progressChanged,
                     [&](int, std::int64_t sent, std::int64_t size) {
                         if (terminal) {
                             c.err << progressLine(sent, size, clock.elapsed()) << std::flush;
                         }
                     });
    if (!updater.start(form.record())) {
        c.err << "Please open port first\n";
        return kCliPortFailed;
    }
    if (terminal) {
        c.err << "Tip: Please open the receiver power\n";
    }
    c.session.waitUntil([&] { return answered || success.has_value(); },
                        options.timeoutSeconds * 1000);
    const auto interrupted = [&] {
        if (success || !Interruption::requested()) {
            return false;
        }
        updater.stop();
        if (terminal) {
            c.err << '\n';
        }
        c.err << "Interrupted: the update was stopped before it was complete; update the "
                 "receiver again before using it\n";
        c.session.settle([&] { return !exchange.reopenRequest().reopen && exchange.portOpen(); },
                         CommandExchange::kOpenWaitMs);
        return true;
    };
    if (interrupted()) {
        return kCliFailed;
    }
    if (!answered && !success) {
        updater.stop();
        c.err << "No answer from the receiver,please check that it is switched on\n";
        return kCliNoReply;
    }
    // Every block has its watchdog, so the transfer always ends; the limit only guards a
    // line that keeps answering without end.
    constexpr int kTransferLimitMs = 6 * 60 * 60 * 1000;
    c.session.waitUntil([&] { return success.has_value(); }, kTransferLimitMs);
    if (interrupted()) {
        return kCliFailed;
    }
    if (!success) {
        updater.stop();
        message = QStringLiteral("Fail to update,pls close the receiver and try again");
        success = false;
    }
    if (terminal) {
        c.err << '\n';
    }
    // After a fast transfer the port returns to 19200 baud before it is closed.
    c.session.settle([&] { return !exchange.reopenRequest().reopen && exchange.portOpen(); },
                     CommandExchange::kOpenWaitMs);
    if (*success) {
        c.out << message.toStdString() << '\n';
        return kCliOk;
    }
    c.err << message.toStdString() << '\n';
    return message == QLatin1String("Hardware don't match the FW file") ? kCliRefused : kCliFailed;
}

} // namespace kestrava
