#pragma once

#include "pages/TabPage.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kestrava {

// The "Basic" tab page: the remote connection password, the WiFi password and the firmware
// update (type, image file, progress and the page's own tip). Which groups show depends on the
// receiver. The two password "Set" buttons are handled here through the PageHost: port check,
// PasswordForm, then the exchange's sender. The firmware transfer belongs to the owner, which
// hears its buttons through signals, reports outcomes, then calls ResetUpdate().
class CDialogBase : public TabPage {
    Q_OBJECT

public:
    explicit CDialogBase(QWidget* parent = nullptr);

    // Every caption; the type list refilled with "Module" and "Receiver" and "Module" selected;
    // the page tip emptied; the USB instructions in the current language.
    void ApplyBaseTexts();

    void SetProgressRange(int minimum, int maximum);
    void SetProgressPos(int position);
    int ProgressPos() const;

    // The stored firmware path and type; a type beyond the list leaves the selection alone.
    void ShowFirmwareSettings(const QString& path, int firmwareType);
    void SetFirmwarePath(const QString& path);
    QString FirmwarePath() const;
    // 0 Module, 1 Receiver; -1 without a selection.
    int FirmwareType() const;

    // The page tip (1174) shows `english` in the current language.
    void ShowPageTip(const QString& english);
    QString PageTip() const;
    // "Tip: Updating,Please don't do other operation".
    void ShowUpdatingTip();
    // Progress back to 0 and the page tip emptied (after success, failure or a mismatch).
    void ResetUpdate();

    // WiFi group for type codes above 'Y'; remote password group except on static-only
    // receivers ('4', '5', '6'); the firmware controls below 'Q' (static-only excepted), the USB
    // instructions in their place otherwise.
    void ShowBaseVariant(Byte receiverTypeCode);

    // "Choose File", "Start Update" and both password "Set" buttons (off during an update).
    void EnableCommandControls(bool enable);

    // During the handshake "Start Update" reads "Stop Update" and stays enabled, so the user can
    // give up waiting for the receiver; offer false to read "Start Update" again.
    void OfferStopUpdate(bool offer);
    bool StopUpdateOffered() const { return m_stopOffered; }
    // "Start Update" alone (the update's other controls are left as they are).
    void EnableStartUpdate(bool enable);

    QString RemotePassword() const;
    QString RemotePasswordConfirm() const;
    QString WifiPassword() const;

    // The password "Set" handlers (public so the window and tests can run them as a click would).
    void OnRemoteSet();
    void OnWifiSet();

signals:
    void chooseFileClicked();
    void startUpdateClicked();

private:
    QGroupBox* m_remoteGroup = nullptr;
    QLineEdit* m_remotePassword = nullptr;
    QLineEdit* m_remoteConfirm = nullptr;
    QPushButton* m_remoteSet = nullptr;
    QGroupBox* m_wifiGroup = nullptr;
    QLineEdit* m_wifiPassword = nullptr;
    QPushButton* m_wifiSet = nullptr;
    QLabel* m_typeLabel = nullptr;
    QComboBox* m_firmwareType = nullptr;
    QPushButton* m_chooseFile = nullptr;
    QLineEdit* m_path = nullptr;
    QPushButton* m_startUpdate = nullptr;
    QLabel* m_pageTip = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_usbInstructions = nullptr;
    bool m_stopOffered = false;
};

} // namespace kestrava
