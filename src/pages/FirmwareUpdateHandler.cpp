#include "pages/FirmwareUpdateHandler.h"

#include "exchange/FirmwareUpdater.h"
#include "exchange/TextCodec.h"
#include "forms/FirmwareForm.h"
#include "pages/CDialogBase.h"
#include "pages/PageHost.h"
#include "settings/StoredSettings.h"

namespace kestrava {

const QString FirmwareUpdateHandler::kFileFilter =
    QStringLiteral("FW file (*.098.kvb);;FW file (*.088.kvb);;(*.*) (*)");

FirmwareUpdateHandler::FirmwareUpdateHandler(CDialogBase& page, FirmwareUpdater& updater,
                                             QObject* parent)
    : QObject(parent), m_page(page), m_updater(updater) {
    connect(&m_page, &CDialogBase::chooseFileClicked, this, &FirmwareUpdateHandler::OnChooseFile);
    connect(&m_page, &CDialogBase::startUpdateClicked, this, &FirmwareUpdateHandler::OnStartUpdate);
    connect(&m_updater, &FirmwareUpdater::runningChanged, this,
            &FirmwareUpdateHandler::onRunningChanged);
    connect(&m_updater, &FirmwareUpdater::handshakeAnswered, this,
            &FirmwareUpdateHandler::onHandshakeAnswered);
    connect(&m_updater, &FirmwareUpdater::progressChanged, this,
            &FirmwareUpdateHandler::onProgress);
    connect(&m_updater, &FirmwareUpdater::finished, this, &FirmwareUpdateHandler::onFinished);
}

void FirmwareUpdateHandler::OnChooseFile() {
    PageHost* host = m_page.Host();
    if (host == nullptr) {
        return;
    }
    const QString path = host->chooseOpenFile(QString(), m_page.FirmwarePath(), kFileFilter);
    if (!path.isEmpty()) {
        m_page.SetFirmwarePath(path);
    }
}

void FirmwareUpdateHandler::OnStartUpdate() {
    if (m_updater.state() == FirmwareUpdater::State::Handshake) {
        m_updater.stop();
        return;
    }
    PageHost* host = m_page.Host();
    if (host == nullptr || m_updater.running()) {
        return;
    }
    if (!host->portOpen()) {
        host->showWarning(QStringLiteral("Please open port first"));
        return;
    }
    if (!host->askYesNo(QStringLiteral("Are you sure to update?"))) {
        return;
    }
    const FormResult<FirmwareJob> form =
        FirmwareForm::check(m_page.FirmwarePath(), m_page.FirmwareType());
    if (!form.ok()) {
        host->showRefusal(form);
        return;
    }
    m_page.ShowPageTip(QStringLiteral("Tip: Please open the receiver power"));
    StoredSettings& settings = host->settings();
    settings.firmwareType = static_cast<Byte>(form.record().type);
    settings.firmwarePath = TextCodec::toBytes(form.record().path);
    if (!m_updater.start(form.record())) {
        // The port closed while the question was open.
        m_page.ResetUpdate();
        host->showWarning(QStringLiteral("Please open port first"));
    }
}

void FirmwareUpdateHandler::onRunningChanged(bool running) {
    m_page.EnableCommandControls(!running);
    m_page.OfferStopUpdate(running);
}

void FirmwareUpdateHandler::onHandshakeAnswered() {
    m_page.OfferStopUpdate(false);
    m_page.EnableStartUpdate(false);
    m_page.ShowUpdatingTip();
}

void FirmwareUpdateHandler::onProgress(int position, std::int64_t, std::int64_t) {
    m_page.SetProgressPos(position);
}

void FirmwareUpdateHandler::onFinished(bool success, const QString& english) {
    if (!english.isEmpty()) {
        if (PageHost* host = m_page.Host()) {
            if (success) {
                host->showMessage(english);
            } else {
                host->showWarning(english);
            }
        }
    }
    m_page.ResetUpdate();
}

} // namespace kestrava
