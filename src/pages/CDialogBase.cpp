#include "pages/CDialogBase.h"

#include "exchange/ExchangeRequests.h"
#include "forms/PasswordForm.h"
#include "pages/ControlFactory.h"
#include "pages/PageHost.h"
#include "protocol/ReceiverType.h"
#include "settings/SettingTable.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>

namespace kestrava {

CDialogBase::CDialogBase(QWidget* parent) : TabPage(parent) {
    // Remote connection password, typed twice; masked, as every password the window shows.
    m_remoteGroup = AddGroup(1157, this, "Remote Connection Password");
    auto* remoteLayout = new QGridLayout(m_remoteGroup);
    remoteLayout->addWidget(AddLabel(1142, m_remoteGroup, "Pwd:"), 0, 0);
    m_remotePassword = MakeControl<QLineEdit>(1020, m_remoteGroup);
    m_remotePassword->setEchoMode(QLineEdit::Password);
    remoteLayout->addWidget(m_remotePassword, 0, 1);
    remoteLayout->addWidget(AddLabel(1143, m_remoteGroup, "Confirm Pwd:"), 0, 2);
    m_remoteConfirm = MakeControl<QLineEdit>(1021, m_remoteGroup);
    m_remoteConfirm->setEchoMode(QLineEdit::Password);
    remoteLayout->addWidget(m_remoteConfirm, 0, 3);
    m_remoteSet = AddButton(1022, m_remoteGroup, "Set");
    remoteLayout->addWidget(m_remoteSet, 0, 4);

    m_wifiGroup = AddGroup(1198, this, "Wifi Password");
    auto* wifiLayout = new QHBoxLayout(m_wifiGroup);
    wifiLayout->addWidget(AddLabel(1199, m_wifiGroup, "Wifi Pwd:"));
    m_wifiPassword = MakeControl<QLineEdit>(1200, m_wifiGroup);
    m_wifiPassword->setEchoMode(QLineEdit::Password);
    wifiLayout->addWidget(m_wifiPassword, 1);
    wifiLayout->addWidget(AddLabel(1202, m_wifiGroup, "(8-30chars)"));
    m_wifiSet = AddButton(1039, m_wifiGroup, "Set");
    wifiLayout->addWidget(m_wifiSet);

    // Firmware update.
    auto* firmwareGroup = AddGroup(1155, this, "FW Update");
    m_typeLabel = AddLabel(1140, firmwareGroup, "FW Type:");
    m_firmwareType = MakeControl<QComboBox>(1011, firmwareGroup);
    m_firmwareType->setMinimumContentsLength(10);
    m_chooseFile = AddButton(1014, firmwareGroup, "Choose File");
    m_path = MakeControl<QLineEdit>(1019, firmwareGroup);
    m_startUpdate = AddButton(1013, firmwareGroup, "Start Update");
    m_pageTip = MakeControl<QLabel>(1174, firmwareGroup);
    m_pageTip->setWordWrap(true);
    m_progress = MakeControl<QProgressBar>(1018, firmwareGroup);
    m_progress->setRange(0, 300);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(16);
    m_usbInstructions = MakeControl<QLabel>(1189, firmwareGroup);
    m_usbInstructions->setWordWrap(true);
    m_usbInstructions->hide();

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(m_typeLabel);
    typeRow->addWidget(m_firmwareType);
    typeRow->addStretch(1);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_path, 1);
    fileRow->addWidget(m_chooseFile);
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(m_startUpdate);
    startRow->addWidget(m_pageTip, 1);
    auto* firmwareLayout = new QVBoxLayout(firmwareGroup);
    firmwareLayout->addLayout(typeRow);
    firmwareLayout->addLayout(fileRow);
    firmwareLayout->addLayout(startRow);
    firmwareLayout->addWidget(m_progress);
    firmwareLayout->addWidget(m_usbInstructions);

    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(6, 6, 6, 6);
    pageLayout->addWidget(m_remoteGroup);
    pageLayout->addWidget(m_wifiGroup);
    pageLayout->addWidget(firmwareGroup);
    pageLayout->addStretch(1);

    CompactGroups(this);

    connect(m_remoteSet, &QPushButton::clicked, this, [this] { OnRemoteSet(); });
    connect(m_wifiSet, &QPushButton::clicked, this, [this] { OnWifiSet(); });
    connect(m_chooseFile, &QPushButton::clicked, this, &CDialogBase::chooseFileClicked);
    connect(m_startUpdate, &QPushButton::clicked, this, &CDialogBase::startUpdateClicked);

    ApplyBaseTexts();
}

void CDialogBase::ApplyBaseTexts() {
    ApplyCaptions();
    m_firmwareType->clear();
    m_firmwareType->addItem(Tr(QStringLiteral("Module")));
    m_firmwareType->addItem(Tr(QStringLiteral("Receiver")));
    m_firmwareType->setCurrentIndex(0);
    m_pageTip->clear();
    if (m_stopOffered) {
        m_startUpdate->setText(Tr(QStringLiteral("Stop Update")));
    }
    QString instructions;
    for (const char* line :
         {QT_TR_NOOP("This receiver should be updated by the following way:"),
          QT_TR_NOOP("1.Connect receiver to PC by USB"),
          QT_TR_NOOP("2.Copy firmware to Update Disk"), QT_TR_NOOP("3.ReStart receiver")}) {
        instructions += Tr(QString::fromLatin1(line)) + QLatin1Char('\n');
    }
    m_usbInstructions->setText(instructions.trimmed());
}

void CDialogBase::SetProgressRange(int minimum, int maximum) {
    m_progress->setRange(minimum, maximum);
}

void CDialogBase::SetProgressPos(int position) {
    m_progress->setValue(position);
}

int CDialogBase::ProgressPos() const {
    return m_progress->value();
}

void CDialogBase::ShowFirmwareSettings(const QString& path, int firmwareType) {
    m_path->setText(path);
    if (firmwareType >= 0 && firmwareType < m_firmwareType->count()) {
        m_firmwareType->setCurrentIndex(firmwareType);
    }
}

void CDialogBase::SetFirmwarePath(const QString& path) {
    m_path->setText(path);
}

QString CDialogBase::FirmwarePath() const {
    return m_path->text();
}

int CDialogBase::FirmwareType() const {
    return m_firmwareType->currentIndex();
}

void CDialogBase::ShowPageTip(const QString& english) {
    m_pageTip->setText(Tr(english));
}

QString CDialogBase::PageTip() const {
    return m_pageTip->text();
}

void CDialogBase::ShowUpdatingTip() {
    ShowPageTip(QStringLiteral("Tip: Updating,Please don't do other operation"));
}

void CDialogBase::ResetUpdate() {
    m_progress->setValue(0);
    m_pageTip->clear();
}

void CDialogBase::ShowBaseVariant(Byte receiverTypeCode) {
    const bool staticOnly = ReceiverType::staticOnly(receiverTypeCode);
    const auto offered = [receiverTypeCode](const char* password) {
        return SettingTable::offered(SettingTable::find("Passwords", password)->receivers,
                                     receiverTypeCode);
    };
    m_wifiGroup->setVisible(offered("Wifi"));
    m_remoteGroup->setVisible(offered("Remote"));
    const bool firmware = receiverTypeCode < 'Q' && !staticOnly;
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_typeLabel, m_firmwareType, m_chooseFile, m_path,
                                         m_startUpdate, m_pageTip, m_progress}) {
        control->setVisible(firmware);
    }
    m_usbInstructions->setVisible(!firmware);
}

void CDialogBase::EnableCommandControls(bool enable) {
    for (QPushButton* control : {m_chooseFile, m_startUpdate, m_remoteSet, m_wifiSet}) {
        control->setEnabled(enable);
    }
}

void CDialogBase::OnRemoteSet() {
    PageHost* host = HostWithOpenPort();
    if (host == nullptr) {
        return;
    }
    const FormResult<QString> result =
        PasswordForm::remote(m_remotePassword->text(), m_remoteConfirm->text());
    if (!result.ok()) {
        host->showRefusal(result);
        return;
    }
    host->exchange().request(CommandId::SetRemotePassword,
                             requestargs::SetRemotePassword{result.record()});
}

void CDialogBase::OnWifiSet() {
    // Like every other Set: with the port closed the user is told, not left wondering.
    PageHost* host = HostWithOpenPort();
    if (host == nullptr) {
        return;
    }
    const FormResult<QString> result = PasswordForm::wifi(m_wifiPassword->text());
    if (!result.ok()) {
        host->showRefusal(result);
        return;
    }
    host->exchange().request(CommandId::SetWifiPassword,
                             requestargs::SetWifiPassword{std::nullopt, result.record()});
}

void CDialogBase::OfferStopUpdate(bool offer) {
    m_stopOffered = offer;
    m_startUpdate->setText(
        Tr(offer ? QStringLiteral("Stop Update") : QStringLiteral("Start Update")));
    if (offer) {
        m_startUpdate->setEnabled(true);
    }
}

void CDialogBase::EnableStartUpdate(bool enable) {
    m_startUpdate->setEnabled(enable);
}

QString CDialogBase::RemotePassword() const {
    return m_remotePassword->text();
}

QString CDialogBase::RemotePasswordConfirm() const {
    return m_remoteConfirm->text();
}

QString CDialogBase::WifiPassword() const {
    return m_wifiPassword->text();
}

} // namespace kestrava
