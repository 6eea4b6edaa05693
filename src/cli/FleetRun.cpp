#include "cli/FleetRun.h"

#include "cli/Interruption.h"
#include "cli/LinePrefixer.h"
#include "cli/PortVerbs.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

namespace kestrava {
namespace {

struct PortRun {
    std::string port;
    int status = 0;
    double seconds = 0;
    PortReport report;
    std::string profileText; // get: what the verb printed
};

std::string resultOf(const std::string& verb, int status, const PortReport& report) {
    if (status == Interruption::kExitStatus) {
        return "interrupted";
    }
    if (!report.opened && status != 0) {
        return status == 5 ? "cannot open" : status == 3 ? "no reply" : "failed";
    }
    if (verb == "diff") {
        return status == 0 ? "done" : status == 1 ? "differs" : "failed";
    }
    switch (status) {
    case 0:
        return "done";
    case 2:
        return "refused";
    case 3:
        return "no reply";
    case 5:
        return "cannot open";
    default:
        return "failed";
    }
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text + ' ' : text + std::string(width - text.size(), ' ');
}

// The profile file a verb reads (diff, apply): its first word that is no option.
std::string profileOf(const std::vector<std::string>& verbAndArgs) {
    const std::string& verb = verbAndArgs.front();
    if (verb != "apply" && verb != "diff") {
        return {};
    }
    for (std::size_t i = 1; i < verbAndArgs.size(); ++i) {
        if (verbAndArgs[i].rfind("--", 0) != 0) {
            return verbAndArgs[i];
        }
    }
    return {};
}

std::string sha256Of(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (path.empty() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex().toStdString();
}

// A file name made of a receiver's serial number (or, without one, of its port).
std::string profileName(const PortRun& run) {
    std::string name = run.report.serialNumber.empty() ? run.port : run.report.serialNumber;
    for (char& c : name) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.')) {
            c = '_';
        }
    }
    return name + ".ini";
}

} // namespace

bool FleetRun::allows(const std::vector<std::string>& verbAndArgs) {
    if (verbAndArgs.empty()) {
        return false;
    }
    const std::string& verb = verbAndArgs.front();
    if (verb == "files") {
        return verbAndArgs.size() == 2 && verbAndArgs[1] == "list";
    }
    return verb == "info" || verb == "get" || verb == "diff" || verb == "apply" ||
           verb == "firmware";
}

std::string FleetRun::csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

bool FleetRun::readPorts(const std::string& path, std::vector<std::string>& ports,
                         std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = "cannot read the port list \"" + path + "\"";
        return false;
    }
    std::string line;
    while (std::getline(file, line)) {
        while (!line.empty() &&
               (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.pop_back();
        }
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        ports.push_back(line.substr(start));
    }
    if (ports.empty()) {
        error = "the port list \"" + path + "\" names no port";
        return false;
    }
    return true;
}

int FleetRun::run(const Options& options, std::ostream& out, std::ostream& err) {
    const std::string verb = options.verbAndArgs.front();
    if (verb == "get" && options.outputDir.empty()) {
        err << "kestrava-cli: get on several ports writes one profile per receiver: give "
               "--output DIR\n";
        return 1;
    }
    if (!options.outputDir.empty() && !QDir().mkpath(QString::fromStdString(options.outputDir))) {
        err << "kestrava-cli: the folder \"" << options.outputDir << "\" cannot be created\n";
        return 1;
    }
    // One Ctrl-C stops every session; each closes its own port.
    const Interruption::Guard interruptible;
    const QDateTime started = QDateTime::currentDateTimeUtc();
    std::mutex outLock;
    std::mutex errLock;
    std::vector<PortRun> runs(options.ports.size());
    std::vector<std::unique_ptr<QThread>> threads;
    // Each session's last act; read after the waits, it orders the session's results before the
    // summary for every observer (the thread join alone happens inside Qt).
    std::atomic<std::size_t> finished{0};
    for (std::size_t i = 0; i < options.ports.size(); ++i) {
        PortRun& run = runs[i];
        run.port = options.ports[i];
        threads.emplace_back(
            QThread::create([&run, &options, &out, &err, &outLock, &errLock, &finished, verb] {
                const std::string prefix = run.port + ": ";
                LinePrefixer errLines(err, errLock, prefix);
                std::ostream errStream(&errLines);
                QElapsedTimer clock;
                clock.start();
                if (verb == "get") {
                    std::ostringstream profile;
                    run.status = PortVerbs::run(run.port, options.verbAndArgs, profile, errStream,
                                                {}, &run.report);
                    run.profileText = profile.str();
                } else {
                    LinePrefixer outLines(out, outLock, prefix);
                    std::ostream outStream(&outLines);
                    run.status = PortVerbs::run(run.port, options.verbAndArgs, outStream, errStream,
                                                {}, &run.report);
                }
                run.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
                finished.fetch_add(1, std::memory_order_release);
            }));
        threads.back()->start();
    }
    for (const auto& thread : threads) {
        thread->wait();
    }
    while (finished.load(std::memory_order_acquire) != runs.size()) {
        std::this_thread::yield(); // a finished thread has counted itself already
    }

    int status = 0;
    for (PortRun& run : runs) {
        if (verb == "get" && run.status == 0) {
            const std::string path = QDir(QString::fromStdString(options.outputDir))
                                         .filePath(QString::fromStdString(profileName(run)))
                                         .toStdString();
            std::ofstream file(path, std::ios::binary);
            file << run.profileText;
            file.close();
            if (!file) {
                err << run.port << ": cannot write \"" << path << "\"\n";
                run.status = 1;
            } else {
                out << run.port << ": profile written to " << path << '\n';
            }
        }
        status = std::max(status, run.status);
    }

    out << '\n'
        << padded("port", 18) << padded("serial", 11) << padded("version", 9)
        << padded("motherboard", 13) << padded("result", 12) << padded("set", 5)
        << padded("unchanged", 10) << padded("failed", 7) << "seconds\n";
    for (const PortRun& run : runs) {
        out << padded(run.port, 18) << padded(run.report.serialNumber, 11)
            << padded(run.report.version, 9) << padded(run.report.motherboard, 13)
            << padded(resultOf(verb, run.status, run.report), 12)
            << padded(std::to_string(run.report.keysSet), 5)
            << padded(std::to_string(run.report.keysUnchanged), 10)
            << padded(std::to_string(run.report.keysFailed), 7) << seconds(run.seconds) << '\n';
    }

    if (!options.reportPath.empty()) {
        const std::string profile = profileOf(options.verbAndArgs);
        const std::string digest = sha256Of(profile);
        const bool fresh = !QFile::exists(QString::fromStdString(options.reportPath)) ||
                           QFile(QString::fromStdString(options.reportPath)).size() == 0;
        std::ofstream csv(options.reportPath, std::ios::binary | std::ios::app);
        if (fresh) {
            csv << "start,verb,profile,profile_sha256,port,serial,version,motherboard,result,"
                   "set,unchanged,failed,seconds\r\n";
        }
        const std::string start = started.toString(Qt::ISODate).toStdString();
        for (const PortRun& run : runs) {
            csv << csvField(start) << ',' << csvField(verb) << ',' << csvField(profile) << ','
                << digest << ',' << csvField(run.port) << ',' << csvField(run.report.serialNumber)
                << ',' << csvField(run.report.version) << ',' << csvField(run.report.motherboard)
                << ',' << csvField(resultOf(verb, run.status, run.report)) << ','
                << run.report.keysSet << ',' << run.report.keysUnchanged << ','
                << run.report.keysFailed << ',' << seconds(run.seconds) << "\r\n";
        }
        csv.close();
        if (!csv) {
            err << "kestrava-cli: cannot write the report \"" << options.reportPath << "\"\n";
            status = std::max(status, 1);
        }
    }
    return status;
}

} // namespace kestrava
