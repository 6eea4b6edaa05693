#pragma once

#include "cli/PortVerbs.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QThread;

namespace kestrava {

// One verb of the command line run on a receiver off the caller's thread, exactly as
// "kestrava-cli --port DEVICE VERB ..." runs it: for the window, which brings a profile onto a
// receiver with the same engine and the same words. The device must not be open elsewhere.
class VerbJob : public QObject {
    Q_OBJECT
public:
    struct Outcome {
        int status = 0;
        std::string out; // what the verb printed on standard output
        std::string err; // ... and on standard error
        PortReport report;
    };

    explicit VerbJob(QObject* parent = nullptr);
    ~VerbJob() override; // waits for a running verb to end

    // False while a verb is still running.
    bool start(const QString& device, const std::vector<std::string>& verbAndArgs);
    bool running() const;
    const Outcome& outcome() const { return m_outcome; }

signals:
    // On the caller's thread, once the verb has ended and its port is closed.
    void finished();

private:
    Outcome m_outcome;
    std::unique_ptr<QThread> m_thread;
};

} // namespace kestrava
