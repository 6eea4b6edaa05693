#include "pages/StaticPageHandlers.h"

#include "exchange/ExchangeRequests.h"
#include "forms/FormText.h"
#include "forms/StaticForm.h"
#include "pages/CDialogStaticManager.h"
#include "pages/PageHost.h"
#include "pages/SettingRows.h"
#include "settings/StoredSettings.h"

#include <QFileInfo>
#include <QPointer>
#include <QStringList>

namespace kestrava {

StaticPageHandlers::StaticPageHandlers(CDialogStaticManager& page) : QObject(&page), m_page(page) {
    using Self = StaticPageHandlers;
    connect(&page, &Page::readCollectClicked, this, &Self::readCollect);
    connect(&page, &Page::setCollectClicked, this, &Self::setCollect);
    connect(&page, &Page::readNamingClicked, this, &Self::readNaming);
    connect(&page, &Page::setNamingClicked, this, &Self::setNaming);
    connect(&page, &Page::readLocationClicked, this, &Self::readLocation);
    connect(&page, &Page::setLocationClicked, this, &Self::setLocation);
    connect(&page, &Page::readStaticVoiceClicked, this, &Self::readStaticVoice);
    connect(&page, &Page::setStaticVoiceClicked, this, &Self::setStaticVoice);
    connect(&page, &Page::readFilesClicked, this, &Self::readFiles);
    connect(&page, &Page::deleteSelectedClicked, this, &Self::deleteSelected);
    connect(&page, &Page::formatClicked, this, &Self::format);
    connect(&page, &Page::downloadClicked, this, &Self::downloadOrStop);
}

void StaticPageHandlers::read(SettingGroupId group, const PageFill& fill) {
    if (PageHost* host = openHost()) {
        SettingRows::read(*host, group, whilePageLives(fill));
    }
}

RequestDone StaticPageHandlers::whilePageLives(const PageFill& fill) {
    return [page = QPointer(&m_page), fill](const RequestOutcome& outcome) {
        if (page) {
            fill(*page, outcome);
        }
    };
}

PageHost* StaticPageHandlers::openHost() {
    PageHost* host = m_page.Host();
    if (host == nullptr) {
        return nullptr;
    }
    if (!host->portOpen()) {
        host->showWarning(QStringLiteral("Please open port first"));
        return nullptr;
    }
    return host;
}

void StaticPageHandlers::readCollect() {
    read(SettingGroupId::CollectParams, [](Page& page, const RequestOutcome& outcome) {
        if (const auto values = outcome.carried<IntPair>(KindCollectParams)) {
            page.ShowCollectParams(values->first, values->second);
            page.MarkStaticUnread(Page::StaticValues::Collect, false);
        }
    });
}

void StaticPageHandlers::setCollect() {
    PageHost* host = openHost();
    if (host == nullptr) {
        return;
    }
    const auto form = StaticForm::collect(m_page.IntervalText(), m_page.CutoffText());
    if (!form.ok()) {
        host->showRefusal(form);
        return;
    }
    StoredSettings& settings = host->settings();
    settings.collectInterval = form.record().intervalSeconds;
    settings.cutOff = form.record().cutoffDegrees;
    SettingRows::set(
        *host, SettingGroupId::CollectParams,
        requestargs::SetCollectParams{form.record().intervalSeconds, form.record().cutoffDegrees});
}

void StaticPageHandlers::showNaming(Page& page, const RequestOutcome& outcome) {
    if (const auto* naming = outcome.record<TextPair>(KindFileNaming)) {
        page.ShowFileNaming(naming->first, naming->second);
        page.MarkStaticUnread(Page::StaticValues::Naming, false);
    }
}

void StaticPageHandlers::readNaming() {
    read(SettingGroupId::FileParams, &StaticPageHandlers::showNaming);
}

void StaticPageHandlers::setNaming() {
    PageHost* host = openHost();
    if (host == nullptr) {
        return;
    }
    const auto form = StaticForm::naming(m_page.PrefixText(), m_page.SerialNumberText());
    if (!form.ok()) {
        host->showRefusal(form);
        return;
    }
    StoredSettings& settings = host->settings();
    settings.filePrefix = FormText::bytes(form.record().prefix);
    settings.fileSn = FormText::bytes(form.record().serial);
    // Set, then read back: the page shows what the receiver now holds.
    host->exchange().request(RequestChain::FileNaming,
                             requestargs::SetFileNaming{form.record().prefix, form.record().serial},
                             whilePageLives(&StaticPageHandlers::showNaming));
}

void StaticPageHandlers::readLocation() {
    PageHost* host = openHost();
    if (host == nullptr) {
        return;
    }
    // The location, then the RINEX flag (read also when the location is silent).
    host->exchange().request(RequestChain::ReadStoreLocation,
                             whilePageLives([](Page& page, const RequestOutcome& outcome) {
                                 for (const RequestOutcome& step : outcome.steps) {
                                     if (step.repliedWith(KindStoreLocation)) {
                                         page.ShowReadLocation(step.value == 1 ? 1 : 0);
                                         page.MarkStaticUnread(Page::StaticValues::Location, false);
                                     }
                                 }
                                 if (const auto rinex =
                                         outcome.carried<std::int32_t>(KindRinexFlag)) {
                                     page.SetRinexChecked(*rinex != 0);
                                     page.MarkStaticUnread(Page::StaticValues::Rinex, false);
                                 }
                             }));
}

void StaticPageHandlers::setLocation() {
    PageHost* host = openHost();
    if (host == nullptr) {
        return;
    }
    const bool card = !m_page.IsFlashSelected();
    StoredSettings& settings = host->settings();
    settings.staticLocation = card ? 1 : 0;
    // The RINEX flag follows the location's reply; it is sent as stored here.
    settings.rinex = m_page.IsRinexChecked() ? 1 : 0;
    SettingRows::set(*host, SettingGroupId::StoreLocation, requestargs::SetStoreLocation{card});
}

void StaticPageHandlers::readStaticVoice() {
    read(SettingGroupId::StaticVoice, [](Page& page, const RequestOutcome& outcome) {
        if (const auto on = outcome.carried<std::int32_t>(KindStaticVoice)) {
            page.SetStaticVoiceChecked(*on != 0);
            page.MarkStaticUnread(Page::StaticValues::StaticVoice, false);
            if (PageHost* host = page.Host()) {
                host->settings().staticVoice = *on != 0 ? 1 : 0;
            }
        }
    });
}

void StaticPageHandlers::setStaticVoice() {
    if (PageHost* host = openHost()) {
        const bool on = m_page.IsStaticVoiceChecked();
        host->settings().staticVoice = on ? 1 : 0;
        SettingRows::set(*host, SettingGroupId::StaticVoice, requestargs::SetStaticVoice{on});
    }
}

void StaticPageHandlers::readFiles() {
    PageHost* host = openHost();
    if (host == nullptr) {
        return;
    }
    m_page.ClearFileList();
    host->exchange().request(RequestChain::FileList);
}

void StaticPageHandlers::deleteSelected() {
    PageHost* host = openHost();
    if (host == nullptr ||
        !host->askYesNo(QStringLiteral("Are you sure to delete selected static files?"))) {
        return;
    }
    const std::vector<int> rows = m_page.SelectedRows();
    if (rows.empty()) {
        return;
    }
    QStringList names;
    for (int row : rows) {
        names.append(m_page.FileCommandName(row));
    }
    // A selection too large for one command is refused by the exchange with its box; the
    // selection stays as it is, so the user can narrow it and try again.
    m_page.SetPendingDeleteRows(rows);
    host->exchange().request(CommandId::DeleteFiles, requestargs::DeleteFiles{names},
                             whilePageLives([](Page& page, const RequestOutcome& outcome) {
                                 if (outcome.carried<std::int32_t>(KindFilesDeleted) == 0) {
                                     page.RemoveDeletedRows();
                                 } else {
                                     page.ForgetPendingDeleteRows();
                                 }
                             }));
}

void StaticPageHandlers::format() {
    PageHost* host = openHost();
    if (host == nullptr ||
        !host->askYesNo(QStringLiteral("Are you sure to delete all static files?"))) {
        return;
    }
    host->exchange().request(RequestChain::Format,
                             whilePageLives([](Page& page, const RequestOutcome& outcome) {
                                 if (outcome.carried<std::int32_t>(KindFilesFormatted) == 0) {
                                     page.ClearFileList();
                                 }
                             }));
}

void StaticPageHandlers::downloadOrStop() {
    PageHost* host = openHost();
    if (host == nullptr) {
        return;
    }
    if (m_page.IsDownloading()) {
        host->exchange().request(
            CommandId::StopDownload); // leaves the page idle through the window
        m_page.ResetDownload();
        return;
    }
    startDownload(*host);
}

void StaticPageHandlers::startDownload(PageHost& host) {
    const std::vector<int> rows = m_page.SelectedRows();
    if (rows.size() != 1) {
        host.showWarning(QStringLiteral("Please select one file"));
        return;
    }
    const int row = rows.front();
    const QString fileName = m_page.FileText(row, 0);
    const QString downloadName = m_page.FileCommandName(row);
    const int expectedKb = CDialogStaticManager::ExpectedSizeOf(m_page.FileText(row, 1));
    const QString path = host.chooseSaveFile(QString(), fileName, QString());
    if (path.isEmpty()) {
        return;
    }
    m_page.ShowDownloadPath(path);
    // Yes does not delete the existing file: the copy replaces it only once it is complete.
    if (QFileInfo::exists(path) &&
        !host.askYesNo(QStringLiteral("The file has existed,do you want to instead it?"))) {
        return;
    }
    m_page.BeginDownload(path, downloadName, expectedKb);
    host.exchange().request(
        RequestChain::Download,
        requestargs::StartDownload{downloadName, path, m_page.FileSizeBytes(row)});
}

} // namespace kestrava
