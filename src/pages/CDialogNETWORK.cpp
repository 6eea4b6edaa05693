#include "pages/CDialogNETWORK.h"

#include "exchange/ExchangeRequests.h"
#include "exchange/TextCodec.h"
#include "forms/ApnForm.h"
#include "pages/CDialogAPN.h"
#include "pages/CDialogCaster.h"
#include "pages/ControlFactory.h"
#include "pages/PageHost.h"
#include "pages/SettingRows.h"
#include "settings/StoredSettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrava {

namespace {

constexpr int kGsmItem = 1;
constexpr int kVrsItem = 0;
constexpr int kIntRtkItem = 1;
constexpr int kMaxCasterPort = 65535;

} // namespace

CDialogNETWORK::CDialogNETWORK(QWidget* parent) : TabPage(parent) {
    // Communication setting: mode, APN and the APN login dialog.
    auto* communicationGroup = AddGroup(1161, this, "Communication Setting");
    auto* communicationLayout = new QHBoxLayout(communicationGroup);
    communicationLayout->addWidget(AddLabel(1079, communicationGroup, "Communication:"));
    m_communication = MakeControl<QComboBox>(35920, communicationGroup);
    communicationLayout->addWidget(m_communication);
    communicationLayout->addSpacing(6);
    communicationLayout->addWidget(AddLabel(1080, communicationGroup, "APN:"));
    m_apn = MakeControl<QLineEdit>(1081, communicationGroup);
    communicationLayout->addWidget(m_apn, 1);
    m_key = AddButton(1013, communicationGroup, "Key");
    communicationLayout->addWidget(m_key);

    // Net setting: everything about the server and its login.
    auto* netGroup = AddGroup(1162, this, "Net setting");
    auto* netLayout = new QVBoxLayout(netGroup);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(AddLabel(1082, netGroup, "Net Mode:"));
    m_netMode = MakeControl<QComboBox>(1045, netGroup);
    modeRow->addWidget(m_netMode);
    modeRow->addSpacing(6);
    modeRow->addWidget(AddLabel(1083, netGroup, "PhoneNumber:"));
    m_phone = MakeControl<QLineEdit>(1036, netGroup);
    modeRow->addWidget(m_phone, 1);
    netLayout->addLayout(modeRow);

    auto* serverGroup = AddGroup(1163, netGroup, "Server");
    auto* serverLayout = new QHBoxLayout(serverGroup);
    serverLayout->addWidget(AddLabel(1084, serverGroup, "IP/URL:"));
    m_address = MakeControl<QLineEdit>(1085, serverGroup);
    serverLayout->addWidget(m_address, 3);
    serverLayout->addSpacing(6);
    serverLayout->addWidget(AddLabel(1086, serverGroup, "Port:"));
    m_port = MakeControl<QLineEdit>(1087, serverGroup);
    serverLayout->addWidget(m_port, 1);
    netLayout->addWidget(serverGroup);

    auto* vrsGroup = AddGroup(1164, netGroup, "VRS");
    auto* vrsLayout = new QGridLayout(vrsGroup);
    vrsLayout->addWidget(AddLabel(1088, vrsGroup, "Username:"), 0, 0);
    m_userName = MakeControl<QLineEdit>(1089, vrsGroup);
    vrsLayout->addWidget(m_userName, 0, 1);
    vrsLayout->addWidget(AddLabel(1090, vrsGroup, "Password:"), 0, 2);
    m_password = MakeControl<QLineEdit>(1091, vrsGroup);
    m_password->setEchoMode(QLineEdit::Password);
    vrsLayout->addWidget(m_password, 0, 3);
    vrsLayout->addWidget(AddLabel(1092, vrsGroup, "Mount Point:"), 1, 0);
    m_mountPoint = MakeControl<QLineEdit>(1093, vrsGroup);
    vrsLayout->addWidget(m_mountPoint, 1, 1);
    m_checkCaster = AddButton(1241, vrsGroup, "Check Caster");
    vrsLayout->addWidget(m_checkCaster, 1, 3);
    netLayout->addWidget(vrsGroup);

    auto* intRtkGroup = AddGroup(1165, netGroup, "IntRTK");
    auto* intRtkLayout = new QGridLayout(intRtkGroup);
    intRtkLayout->addWidget(AddLabel(1094, intRtkGroup, "User Group ID:"), 0, 0);
    m_userGroupId = MakeControl<QLineEdit>(1096, intRtkGroup);
    intRtkLayout->addWidget(m_userGroupId, 0, 1);
    intRtkLayout->addWidget(AddLabel(1095, intRtkGroup, "Sub Group ID:"), 0, 2);
    m_subGroupId = MakeControl<QLineEdit>(1097, intRtkGroup);
    intRtkLayout->addWidget(m_subGroupId, 0, 3);
    netLayout->addWidget(intRtkGroup);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    m_read = AddButton(1098, this, "Read");
    m_set = AddButton(1099, this, "Set");
    buttonRow->addWidget(m_read);
    buttonRow->addWidget(m_set);

    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(6, 6, 6, 6);
    pageLayout->addWidget(communicationGroup);
    pageLayout->addWidget(netGroup);
    pageLayout->addStretch(1);
    pageLayout->addLayout(buttonRow);

    CompactGroups(this);

    connect(m_communication, &QComboBox::currentIndexChanged, this,
            [this] { ApplyCommunicationRule(); });
    connect(m_netMode, &QComboBox::currentIndexChanged, this, [this] { ApplyNetModeRule(); });
    connect(m_read, &QPushButton::clicked, this, [this] { OnRead(); });
    connect(m_set, &QPushButton::clicked, this, [this] { OnSet(); });
    connect(m_key, &QPushButton::clicked, this, [this] { OnKey(); });
    connect(m_checkCaster, &QPushButton::clicked, this, [this] { OnCheckCaster(); });
}

void CDialogNETWORK::FillNetLists() {
    m_netMode->clear();
    m_netMode->addItem(QStringLiteral("VRS"));
    m_netMode->addItem(Tr(QStringLiteral("IntRTK")));
    m_communication->clear();
    m_communication->addItems(
        {QStringLiteral("GPRS"), QStringLiteral("GSM"), QStringLiteral("CDMA")});
}

void CDialogNETWORK::ApplyNetTexts() {
    ApplyCaptions();
    // "IntRTK" is the one list item that has a translation; keep it in the current language.
    if (m_netMode->count() > kIntRtkItem) {
        m_netMode->setItemText(kIntRtkItem, Tr(QStringLiteral("IntRTK")));
    }
}

void CDialogNETWORK::ShowNetParams(const NetParams& params) {
    if (params.communicationMode < m_communication->count()) {
        m_communication->setCurrentIndex(params.communicationMode);
    }
    if (params.netMode < m_netMode->count()) {
        m_netMode->setCurrentIndex(params.netMode);
    }
    m_apn->setText(ToText(params.apnName));
    m_password->setText(ToText(params.vrsPassword));
    m_userName->setText(ToText(params.vrsName));
    m_phone->setText(ToText(params.phoneNumber));
    m_mountPoint->setText(ToText(params.sourceNode));
    m_port->setText(QString::number(params.port));
    m_userGroupId->setText(QStringLiteral("%1%2")
                               .arg(params.groupId1, 4, 10, QLatin1Char('0'))
                               .arg(int{params.groupId2}, 3, 10, QLatin1Char('0')));
    m_subGroupId->setText(QStringLiteral("%1").arg(int{params.userId}, 3, 10, QLatin1Char('0')));
    if (params.isUrl) {
        m_address->setText(ToText(params.url));
    } else {
        m_address->setText(QStringLiteral("%1.%2.%3.%4")
                               .arg(params.ip[0])
                               .arg(params.ip[1])
                               .arg(params.ip[2])
                               .arg(params.ip[3]));
    }
    ApplyCommunicationRule();
    ApplyNetModeRule();
}

void CDialogNETWORK::MarkNetUnread(bool unread) {
    MarkUnread({m_communication, m_netMode, m_apn, m_phone, m_address, m_port, m_userName,
                m_password, m_mountPoint, m_userGroupId, m_subGroupId},
               unread);
}

void CDialogNETWORK::SetApnDialog(CDialogAPN* dialog) {
    m_apnDialog = dialog;
}

CDialogAPN* CDialogNETWORK::ApnDialog() const {
    return m_apnDialog.data();
}

void CDialogNETWORK::EnableCommandControls(bool enable) {
    m_commandsEnabled = enable;
    m_read->setEnabled(enable);
    m_set->setEnabled(enable);
    m_key->setEnabled(enable && m_communication->currentIndex() != kGsmItem);
}

NetForm::Input CDialogNETWORK::CurrentInput() const {
    NetForm::Input input;
    input.communicationMode = m_communication->currentIndex();
    input.netMode = m_netMode->currentIndex();
    input.apn = m_apn->text();
    input.userName = m_userName->text();
    input.password = m_password->text();
    input.address = m_address->text();
    input.port = m_port->text();
    input.mountPoint = m_mountPoint->text();
    input.phone = m_phone->text();
    input.userGroupId = m_userGroupId->text();
    input.subGroupId = m_subGroupId->text();
    return input;
}

bool CDialogNETWORK::CheckPortOpen() {
    return HostWithOpenPort() != nullptr;
}

void CDialogNETWORK::OnRead() {
    if (!CheckPortOpen()) {
        return;
    }
    SettingRows::read(*Host(), SettingGroupId::NetParams,
                      [page = QPointer(this)](const RequestOutcome& outcome) {
                          const auto* params = outcome.record<NetParams>(KindNetParams);
                          if (page && params != nullptr) {
                              page->ShowNetParams(*params);
                              page->MarkNetUnread(false);
                          }
                      });
}

void CDialogNETWORK::OnSet() {
    if (!CheckPortOpen()) {
        return;
    }
    const FormResult<NetParams> result = NetForm::validate(CurrentInput());
    if (!result.ok()) {
        Host()->showRefusal(result);
        return;
    }
    Host()->settings().net = result.record();
    SettingRows::set(*Host(), SettingGroupId::NetParams,
                     requestargs::SetNetParams{result.record()});
}

void CDialogNETWORK::OnKey() {
    if (!CheckPortOpen()) {
        return;
    }
    PageHost* host = Host();
    CDialogAPN dialog([host](const QString& english) { return host->translate(english); },
                      window());
    dialog.setFont(host->languageFont());
    dialog.SetApnLogin(ToText(host->settings().apnUserName), ToText(host->settings().apnPassword));
    connect(&dialog, &CDialogAPN::readClicked, this, [this] { OnApnRead(); });
    connect(
        &dialog, &CDialogAPN::setClicked, this,
        [this](const QString& userName, const QString& password) { OnApnSet(userName, password); });
    SetApnDialog(&dialog);
    dialog.exec();
    SetApnDialog(nullptr);
}

void CDialogNETWORK::OnApnRead() {
    if (PageHost* host = Host()) {
        // Sends nothing while the port is closed. The reply fills the dialog while it is open.
        host->exchange().request(CommandId::ReadApnParams,
                                 [page = QPointer(this)](const RequestOutcome& outcome) {
                                     const auto* login = outcome.record<TextPair>(KindApnParams);
                                     CDialogAPN* dialog = page ? page->ApnDialog() : nullptr;
                                     if (dialog != nullptr && login != nullptr) {
                                         dialog->ShowApnParams(TextCodec::toText(login->first),
                                                               TextCodec::toText(login->second));
                                     }
                                 });
    }
}

void CDialogNETWORK::OnApnSet(const QString& userName, const QString& password) {
    PageHost* host = Host();
    if (host == nullptr) {
        return;
    }
    const FormResult<ApnForm::Login> result = ApnForm::validate(userName, password);
    if (!result.ok()) {
        host->showRefusal(result);
        return;
    }
    host->settings().apnUserName = TextCodec::toBytes(result.record().userName);
    host->settings().apnPassword = TextCodec::toBytes(result.record().password);
    host->exchange().request(
        CommandId::SetApnParams,
        requestargs::SetApnParams{result.record().userName, result.record().password});
}

void CDialogNETWORK::ApplyCommunicationRule() {
    const bool gsm = m_communication->currentIndex() == kGsmItem;
    m_phone->setEnabled(gsm);
    m_apn->setEnabled(!gsm);
    m_key->setEnabled(!gsm && m_commandsEnabled);
    m_port->setEnabled(!gsm);
    m_address->setEnabled(true);
}

void CDialogNETWORK::ApplyNetModeRule() {
    const int mode = m_netMode->currentIndex();
    if (mode != kVrsItem && mode != kIntRtkItem) {
        return;
    }
    const bool vrs = mode == kVrsItem;
    m_userName->setEnabled(vrs);
    m_password->setEnabled(vrs);
    m_mountPoint->setEnabled(vrs);
    m_checkCaster->setEnabled(vrs);
    m_userGroupId->setEnabled(!vrs);
    m_subGroupId->setEnabled(!vrs);
}

void CDialogNETWORK::SetPositionSource(std::function<std::optional<GeodeticPosition>()> source) {
    m_positionSource = std::move(source);
}

CDialogCaster* CDialogNETWORK::CasterDialog() const {
    return m_casterDialog.data();
}

void CDialogNETWORK::OnCheckCaster() {
    // The caster is checked from this computer: no receiver and no open port are needed.
    const QString address = m_address->text().trimmed();
    const QString portText = m_port->text().trimmed();
    if (address.isEmpty()) {
        if (PageHost* host = Host()) {
            host->showMessage(QStringLiteral("Please fill in the caster's IP/URL first"));
        }
        return;
    }
    bool portOk = false;
    const int port = portText.toInt(&portOk);
    if (!portOk || port < 1 || port > kMaxCasterPort) {
        if (PageHost* host = Host()) {
            host->showMessage(QStringLiteral("The port should be an integer between 0-65535"));
        }
        return;
    }
    CDialogCaster::Target target;
    target.host = address;
    target.port = port;
    target.mountPoint = m_mountPoint->text().trimmed();
    target.user = m_userName->text().trimmed();
    target.password = m_password->text().trimmed();
    if (m_positionSource) {
        target.receiver = m_positionSource();
    }
    CDialogCaster dialog(
        target, [this](const QString& english) { return Tr(english); }, this);
    if (PageHost* host = Host()) {
        dialog.setFont(host->languageFont());
    }
    m_casterDialog = &dialog;
    dialog.StartList();
    if (dialog.exec() == QDialog::Accepted && !dialog.SelectedMountPoint().isEmpty()) {
        m_mountPoint->setText(dialog.SelectedMountPoint());
    }
}

} // namespace kestrava
