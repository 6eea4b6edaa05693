#pragma once

#include "forms/NetForm.h"
#include "ntrip/StationPosition.h"
#include "pages/TabPage.h"
#include "protocol/NetParams.h"

#include <QPointer>

#include <functional>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrava {

class CDialogAPN;
class CDialogCaster;

// The "Net" tab page: how the receiver reaches its correction server. It shows a NetParams
// record, keeps the two enabling rules (communication mode, net mode) in step with its lists, and
// handles its own buttons through its PageHost: Read asks the receiver, Set validates with
// NetForm, stores the record and sends it, Key opens the APN dialog, whose Read and Set it
// serves the same way. Every refusal is a message box; nothing is stored or sent after one.
class CDialogNETWORK : public TabPage {
    Q_OBJECT

public:
    explicit CDialogNETWORK(QWidget* parent = nullptr);

    // Fills the net mode list ("VRS", translated "IntRTK") and the communication list ("GPRS",
    // "GSM", "CDMA"); called once before the stored settings are shown.
    void FillNetLists();
    // Sets every caption from its English key through the language lookup.
    void ApplyNetTexts();
    // Fills every control from `params`, then applies both enabling rules. A mode outside the
    // lists leaves that list's selection as it is.
    void ShowNetParams(const NetParams& params);
    // Marks the link's values as not read from this receiver (or takes the mark off).
    void MarkNetUnread(bool unread);

    // The open APN dialog, through which its reply reaches it; cleared automatically when the
    // dialog is destroyed, so a late reply never reaches a closed dialog.
    void SetApnDialog(CDialogAPN* dialog);
    CDialogAPN* ApnDialog() const;

    // Enables or disables "Read", "Set" and "Key" (disabled while a firmware update runs). "Key"
    // stays disabled in GSM mode, which has no APN.
    void EnableCommandControls(bool enable);

    // What the controls hold now, as the form takes it.
    NetForm::Input CurrentInput() const;

    // The button handlers (public so the window and tests can run them as a click would).
    void OnRead();
    void OnSet();
    void OnKey();
    // "Check Caster" (VRS mode): the caster the page names, checked from this computer in a
    // modal dialog; a mount point picked there and confirmed fills Mount Point.
    void OnCheckCaster();
    CDialogCaster* CasterDialog() const;
    // Where the receiver's own position comes from, for the distance to the caster's base.
    void SetPositionSource(std::function<std::optional<GeodeticPosition>()> source);
    // The APN dialog's Read and Set, served for the dialog while it is open.
    void OnApnRead();
    void OnApnSet(const QString& userName, const QString& password);

private:
    // False (after "Please open port first") when there is no host or its port is closed.
    bool CheckPortOpen();

    void ApplyCommunicationRule();
    void ApplyNetModeRule();

    QComboBox* m_communication = nullptr;
    QComboBox* m_netMode = nullptr;
    QLineEdit* m_apn = nullptr;
    QPushButton* m_key = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_mountPoint = nullptr;
    QLineEdit* m_userGroupId = nullptr;
    QLineEdit* m_subGroupId = nullptr;
    QPushButton* m_read = nullptr;
    QPushButton* m_set = nullptr;
    QPushButton* m_checkCaster = nullptr;
    QPointer<CDialogAPN> m_apnDialog;
    QPointer<CDialogCaster> m_casterDialog;
    std::function<std::optional<GeodeticPosition>()> m_positionSource;
    bool m_commandsEnabled = true;
};

} // namespace kestrava
