#pragma once

#include <QString>

#include <functional>

namespace kestrava {

class DownloadTarget;

// The texts of the boxes that tell the user how a download ended badly: which file, how much
// arrived, and where the part received is kept. Texts are final (translated through translate).
class DownloadReport {
public:
    using Translate = std::function<QString(const QString& english)>;

    DownloadReport(const DownloadTarget& target, Translate translate);

    // The receiver ended the file at another size than it listed.
    QString wrongSize() const;
    // The complete copy could not replace the target file; systemReason says why.
    QString renameFailed(const QString& systemReason) const;
    // The copy could not be created or written (reasonEnglish); detail is the file's error.
    QString abandoned(const QString& reasonEnglish, const QString& detail) const;
    // text, followed on a line of its own by where the part is kept (when there is a part).
    QString withPartKept(const QString& text) const;
    // Where the part received is kept; empty when no part was created.
    QString partKept() const;

private:
    const DownloadTarget& m_target;
    Translate m_translate;
};

} // namespace kestrava
