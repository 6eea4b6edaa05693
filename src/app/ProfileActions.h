#pragma once

#include "cli/VerbJob.h"
#include "pages/PageTranslator.h"
#include "pages/ProfileRunner.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace kestrava {

class CDialogProfile;

// The window's "Save Profile..." and "Apply Profile...": the receiver's settings written as the
// INI text of "kestrava-cli get", and a profile brought onto the receiver exactly as
// "kestrava-cli apply" brings it — by the command line's own engine, which takes the receiver's
// port for the while: the window closes it first and opens it again afterwards.
class ProfileActions : public QObject, public ProfileRunner {
    Q_OBJECT
public:
    // What the actions need of the window.
    struct Window {
        QWidget* parent = nullptr;
        PageTranslator translate;
        std::function<QString()> openedDevice; // empty when no port is open
        // Closes the port; the callback runs once it is closed.
        std::function<void(std::function<void()>)> releasePort;
        std::function<void()> reclaimPort; // opens it again, as Open does
        std::function<void(const QString& key)> showTip;
        std::function<void(const QString& text)> showMessage;
        std::function<void(const QString& text)> showError;
        std::function<QString()> suggestedName; // the receiver's serial number, or empty
        // False when the open port cannot be lent to the engine: the built-in emulator where it
        // runs inside the program (it has no device another session could open).
        std::function<bool()> portLendable;
    };

    explicit ProfileActions(Window window, QObject* parent = nullptr);

    // The menu's actions: ask for a file, then go on as below.
    void saveProfile();
    void applyProfile();
    // Reads every setting and writes the profile to path.
    void saveProfileTo(const QString& path);
    // Shows the Apply Profile dialog for the profile at path (it reads the receiver at once).
    CDialogProfile* applyProfileFrom(const QString& path);

    bool busy() const { return m_busy; }

    void plan(const QString& profilePath, Done done) override;
    void apply(const QString& profilePath, Done done) override;

signals:
    // Save Profile ended; the text is what the user was shown.
    void profileSaved(bool saved, const QString& shown);

private:
    bool ready();
    void run(const std::vector<std::string>& verbAndArgs,
             std::function<void(const VerbJob::Outcome&)> then);
    static Outcome outcomeOf(const VerbJob::Outcome& job);
    QString words(const char* english) const;

    Window m_window;
    VerbJob m_job;
    QString m_device; // the port while the window has let it go
    std::function<void(const VerbJob::Outcome&)> m_then;
    bool m_busy = false;
};

} // namespace kestrava
