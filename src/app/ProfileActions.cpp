#include "app/ProfileActions.h"

#include "pages/CDialogProfile.h"
#include "settings/AtomicFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <sstream>

namespace kestrava {

ProfileActions::ProfileActions(Window window, QObject* parent)
    : QObject(parent), m_window(std::move(window)) {
    connect(&m_job, &VerbJob::finished, this, [this] {
        auto then = std::move(m_then);
        m_then = {};
        if (then) {
            then(m_job.outcome());
        }
    });
}

QString ProfileActions::words(const char* english) const {
    return TranslateText(m_window.translate, QString::fromLatin1(english));
}

bool ProfileActions::ready() {
    if (m_busy) {
        return false;
    }
    if (m_window.openedDevice().isEmpty()) {
        m_window.showMessage(words("Please open port first"));
        return false;
    }
    if (m_window.portLendable && !m_window.portLendable()) {
        m_window.showMessage(words(QT_TR_NOOP("Profiles need a receiver on a serial port: the "
                                              "built-in emulator runs inside the program here.")));
        return false;
    }
    return true;
}

void ProfileActions::saveProfile() {
    if (!ready()) {
        return;
    }
    QString name = m_window.suggestedName ? m_window.suggestedName().trimmed() : QString();
    if (name.isEmpty()) {
        name = QStringLiteral("profile");
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path =
        QFileDialog::getSaveFileName(m_window.parent, words(QT_TR_NOOP("Save Profile")),
                                     QDir(folder).filePath(name + QStringLiteral(".ini")),
                                     words(QT_TR_NOOP("Profiles (*.ini);;All files (*)")));
    if (!path.isEmpty()) {
        saveProfileTo(path);
    }
}

void ProfileActions::applyProfile() {
    if (!ready()) {
        return;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path =
        QFileDialog::getOpenFileName(m_window.parent, words(QT_TR_NOOP("Apply Profile")), folder,
                                     words(QT_TR_NOOP("Profiles (*.ini);;All files (*)")));
    if (!path.isEmpty()) {
        applyProfileFrom(path);
    }
}

void ProfileActions::saveProfileTo(const QString& path) {
    if (!ready()) {
        return;
    }
    m_busy = true;
    m_device = m_window.openedDevice();
    m_window.releasePort([this, path] {
        m_window.showTip(QStringLiteral("Reading every setting for the profile..."));
        run({"get"}, [this, path](const VerbJob::Outcome& job) {
            m_busy = false;
            m_window.reclaimPort();
            if (job.status != 0) {
                const QString shown =
                    words(QT_TR_NOOP("The profile was not saved:")) + QLatin1Char('\n') +
                    TranslateText(m_window.translate, QString::fromStdString(job.err).trimmed());
                m_window.showError(shown);
                emit profileSaved(false, shown);
                return;
            }
            const IoResult written =
                WriteFileAtomically(std::filesystem::path(path.toStdU16String()), job.out);
            if (!written.ok) {
                const QString shown = words(QT_TR_NOOP("The profile could not be written to %1:"))
                                          .arg(QDir::toNativeSeparators(path)) +
                                      QLatin1Char('\n') + QString::fromStdString(written.message);
                m_window.showError(shown);
                emit profileSaved(false, shown);
                return;
            }
            const QString shown = words(QT_TR_NOOP("The profile was saved to %1"))
                                      .arg(QDir::toNativeSeparators(path));
            m_window.showMessage(shown);
            emit profileSaved(true, shown);
        });
    });
}

CDialogProfile* ProfileActions::applyProfileFrom(const QString& path) {
    if (!ready()) {
        return nullptr;
    }
    m_busy = true;
    m_device = m_window.openedDevice();
    auto* dialog = new CDialogProfile(path, *this, m_window.translate, m_window.parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(true);
    connect(dialog, &QDialog::finished, this, [this] {
        m_busy = false;
        m_window.reclaimPort();
    });
    QPointer<CDialogProfile> shown(dialog);
    m_window.releasePort([shown] {
        if (shown) {
            shown->show();
        }
    });
    return dialog;
}

void ProfileActions::plan(const QString& profilePath, Done done) {
    m_window.showTip(QStringLiteral("Reading the receiver's settings..."));
    run({"apply", profilePath.toStdString(), "--dry-run"},
        [done = std::move(done)](const VerbJob::Outcome& job) { done(outcomeOf(job)); });
}

void ProfileActions::apply(const QString& profilePath, Done done) {
    m_window.showTip(QStringLiteral("Applying the profile..."));
    run({"apply", profilePath.toStdString()},
        [done = std::move(done)](const VerbJob::Outcome& job) { done(outcomeOf(job)); });
}

void ProfileActions::run(const std::vector<std::string>& verbAndArgs,
                         std::function<void(const VerbJob::Outcome&)> then) {
    m_then = std::move(then);
    m_job.start(m_device, verbAndArgs);
}

ProfileRunner::Outcome ProfileActions::outcomeOf(const VerbJob::Outcome& job) {
    Outcome outcome;
    outcome.status = job.status;
    outcome.lines = job.report.lines;
    std::istringstream said(job.err);
    for (std::string line; std::getline(said, line);) {
        if (!line.empty()) {
            outcome.messages.append(QString::fromStdString(line));
        }
    }
    return outcome;
}

} // namespace kestrava
