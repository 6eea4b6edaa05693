#pragma once

#include "ntrip/CasterCheck.h"
#include "ntrip/StationPosition.h"
#include "pages/CaptionTable.h"
#include "pages/PageTranslator.h"

#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kestrava {

// "Check Caster": the caster the Net page names, checked from this computer. It lists the
// caster's mount points when it opens (and on "Refresh"); "Check Login" logs in to the chosen
// mount point with the page's user name and password and tells in words what came of it; "OK"
// hands the chosen mount point back to the page. The network work runs on a thread of its own and
// every wait ends by itself; closing the dialog cancels what still runs.
class CDialogCaster : public QDialog {
    Q_OBJECT

public:
    struct Target {
        QString host;
        int port = 2101;
        QString mountPoint; // chosen when the list holds it
        QString user;
        QString password;
        std::optional<GeodeticPosition> receiver; // for the distance to the base
    };

    explicit CDialogCaster(Target target, PageTranslator translate = {}, QWidget* parent = nullptr);
    ~CDialogCaster() override;

    void StartList();
    void StartLogin();

    // The mount point chosen in the list (empty without a choice).
    QString SelectedMountPoint() const;
    void SelectMountPoint(const QString& mountPoint);
    int MountPointCount() const;
    // The outcome line as shown.
    QString StatusText() const;
    bool Busy() const;
    void SetListenMs(int milliseconds) { m_listenMs = milliseconds; }

    void ApplyCasterTexts();

signals:
    // Every check that ended, with the words shown.
    void checkFinished(const QString& shown);

private:
    void onFinished(const CasterOutcome& outcome);
    void showStatus(const QString& key, const QStringList& arguments = {});
    void enableButtons();

    Target m_target;
    PageTranslator m_translate;
    CaptionTable m_captions;
    CasterCheck m_check;
    QLabel* m_caster = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_login = nullptr;
    QPushButton* m_ok = nullptr;
    QString m_statusKey;
    QStringList m_statusArguments;
    QString m_asked; // the mount point of the login running
    bool m_listing = false;
    int m_listenMs = 5000;
};

} // namespace kestrava
