#include "pages/CDialogStaticManager.h"

#include "exchange/FileRowFormat.h"
#include "pages/ControlFactory.h"
#include "pages/StaticPageHandlers.h"
#include "protocol/ReceiverType.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace kestrava {

namespace {

const char* const kFileColumns[] = {QT_TR_NOOP("FileName"), QT_TR_NOOP("Size"),
                                    QT_TR_NOOP("CreateTime")};
// The size column is wide enough for sizes of several megabytes ("12345K") at a 9-point font.
constexpr int kFileColumnWidths[] = {110, 56, 180};

bool IsCardReceiver(Byte code) {
    return code == 'Q' || code == 'R' || code == 'Z' || code == '[';
}

// Where a row keeps the exact byte count the receiver listed.
constexpr int kSizeBytesRole = Qt::UserRole + 1;
constexpr int kCommandNameRole = Qt::UserRole + 2;

} // namespace

CDialogStaticManager::CDialogStaticManager(QWidget* parent) : TabPage(parent) {
    // Raw data parameters: one row per Read/Set pair.
    auto* collectGroup = AddGroup(1168, this, "Collect Params");
    auto* grid = new QGridLayout(collectGroup);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    grid->addWidget(AddLabel(1100, collectGroup, "Collect Interval:"), 0, 0);
    m_interval = MakeControl<QComboBox>(1011, collectGroup);
    m_interval->setEditable(true);
    m_interval->setInsertPolicy(QComboBox::NoInsert);
    m_interval->setMinimumContentsLength(3);
    grid->addWidget(m_interval, 0, 1);
    grid->addWidget(AddLabel(1104, collectGroup, "Elevation Angle:"), 0, 2);
    m_cutoff = MakeControl<QLineEdit>(1105, collectGroup);
    grid->addWidget(m_cutoff, 0, 3);
    m_readCollect = AddButton(1013, collectGroup, "Read");
    m_setCollect = AddButton(1014, collectGroup, "Set");
    grid->addWidget(m_readCollect, 0, 4);
    grid->addWidget(m_setCollect, 0, 5);

    grid->addWidget(AddLabel(1102, collectGroup, "Prefixtion:"), 1, 0);
    m_prefix = MakeControl<QLineEdit>(1103, collectGroup);
    grid->addWidget(m_prefix, 1, 1);
    grid->addWidget(AddLabel(1106, collectGroup, "File SN:"), 1, 2);
    m_serialNumber = MakeControl<QLineEdit>(1107, collectGroup);
    grid->addWidget(m_serialNumber, 1, 3);
    m_readNaming = AddButton(1108, collectGroup, "Read");
    m_setNaming = AddButton(1109, collectGroup, "Set");
    grid->addWidget(m_readNaming, 1, 4);
    grid->addWidget(m_setNaming, 1, 5);

    m_locationLabel = AddLabel(1110, collectGroup, "Store Location:");
    grid->addWidget(m_locationLabel, 2, 0);
    m_sdCard = MakeControl<QRadioButton>(1111, collectGroup);
    AddCaption(m_sdCard, "SD Card");
    m_flash = MakeControl<QRadioButton>(1112, collectGroup);
    AddCaption(m_flash, "FLASH");
    m_rinex = MakeControl<QCheckBox>(1030, collectGroup);
    AddCaption(m_rinex, "Record Rinex");
    auto* locationChoices = new QHBoxLayout;
    locationChoices->addWidget(m_sdCard);
    locationChoices->addWidget(m_flash);
    locationChoices->addWidget(m_rinex);
    locationChoices->addStretch(1);
    grid->addLayout(locationChoices, 2, 1, 1, 3);
    m_readLocation = AddButton(1058, collectGroup, "Read");
    m_setLocation = AddButton(1059, collectGroup, "Set");
    grid->addWidget(m_readLocation, 2, 4);
    grid->addWidget(m_setLocation, 2, 5);

    m_soundLabel = AddLabel(1117, collectGroup, "Sound:");
    grid->addWidget(m_soundLabel, 3, 0);
    m_staticVoice = MakeControl<QCheckBox>(1031, collectGroup);
    AddCaption(m_staticVoice, "Static Voice");
    grid->addWidget(m_staticVoice, 3, 1, 1, 3);
    m_readVoice = AddButton(1060, collectGroup, "Read");
    m_setVoice = AddButton(1061, collectGroup, "Set");
    grid->addWidget(m_readVoice, 3, 4);
    grid->addWidget(m_setVoice, 3, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    // Static file management.
    auto* filesGroup = AddGroup(1169, this, "Static File Management");
    m_files = MakeControl<QTreeWidget>(1113, filesGroup);
    m_files->setRootIsDecorated(false);
    m_files->setUniformRowHeights(true);
    m_files->setAllColumnsShowFocus(true);
    m_files->setAlternatingRowColors(true);
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_files->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_files->setMinimumHeight(90);

    m_readFiles = AddButton(1114, filesGroup, "Read All Files");
    m_format = AddButton(1115, filesGroup, "Format/Del All Files");
    m_deleteSelected = AddButton(1116, filesGroup, "Del Selected");
    m_download = AddButton(1120, filesGroup, nullptr); // its text follows the download state
    m_pathLabel = AddLabel(1118, filesGroup, "Path:");
    m_path = MakeControl<QLineEdit>(1119, filesGroup);
    m_progress = MakeControl<QProgressBar>(1121, filesGroup);
    m_progress->setRange(0, kDownloadProgressMax);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(16);

    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(m_readFiles);
    fileButtons->addWidget(m_format);
    fileButtons->addWidget(m_deleteSelected);
    fileButtons->addWidget(m_download);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_pathLabel);
    pathRow->addWidget(m_path, 1);
    auto* filesLayout = new QVBoxLayout(filesGroup);
    filesLayout->setSpacing(4);
    filesLayout->addWidget(m_files, 1);
    filesLayout->addLayout(fileButtons);
    filesLayout->addLayout(pathRow);
    filesLayout->addWidget(m_progress);

    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(6, 6, 6, 6);
    pageLayout->addWidget(collectGroup);
    pageLayout->addWidget(filesGroup, 1);

    CompactGroups(this);

    const std::pair<QPushButton*, void (CDialogStaticManager::*)()> signalOf[] = {
        {m_readCollect, &CDialogStaticManager::readCollectClicked},
        {m_setCollect, &CDialogStaticManager::setCollectClicked},
        {m_readNaming, &CDialogStaticManager::readNamingClicked},
        {m_setNaming, &CDialogStaticManager::setNamingClicked},
        {m_readLocation, &CDialogStaticManager::readLocationClicked},
        {m_setLocation, &CDialogStaticManager::setLocationClicked},
        {m_readVoice, &CDialogStaticManager::readStaticVoiceClicked},
        {m_setVoice, &CDialogStaticManager::setStaticVoiceClicked},
        {m_readFiles, &CDialogStaticManager::readFilesClicked},
        {m_format, &CDialogStaticManager::formatClicked},
        {m_deleteSelected, &CDialogStaticManager::deleteSelectedClicked},
        {m_download, &CDialogStaticManager::downloadClicked},
    };
    for (const auto& [control, signal] : signalOf) {
        connect(control, &QPushButton::clicked, this, signal);
    }
    for (QPushButton* control : {m_readCollect, m_setCollect, m_readNaming, m_setNaming,
                                 m_readLocation, m_setLocation, m_readVoice, m_setVoice}) {
        LetButtonShrink(control);
    }

    ApplyDownloadButtonText();
    new StaticPageHandlers(*this);
}

void CDialogStaticManager::InitStaticPage() {
    m_files->clear();
    m_files->setColumnCount(3);
    for (int column = 0; column < 3; ++column) {
        m_files->headerItem()->setTextAlignment(column, Qt::AlignLeft | Qt::AlignVCenter);
        m_files->setColumnWidth(column, kFileColumnWidths[column]);
    }
    m_flash->setChecked(true);
    m_interval->clear();
    m_interval->addItems({QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("10"),
                          QStringLiteral("15"), QStringLiteral("30")});
    m_interval->setCurrentIndex(0);
    m_downloading = false;
    ApplyStaticTexts();
}

void CDialogStaticManager::ApplyStaticTexts() {
    ApplyCaptions();
    QStringList titles;
    for (const char* column : kFileColumns) {
        titles << Tr(QString::fromLatin1(column));
    }
    m_files->setHeaderLabels(titles);
    ApplyDownloadButtonText();
}

void CDialogStaticManager::ShowCollectParams(int interval, int cutoff) {
    m_interval->setEditText(QString::number(interval));
    m_cutoff->setText(QString::number(cutoff));
}

void CDialogStaticManager::ShowFileNaming(const ByteString& prefix,
                                          const ByteString& serialNumber) {
    m_prefix->setText(ToText(prefix));
    m_serialNumber->setText(ToText(serialNumber));
}

void CDialogStaticManager::ShowStoredLocation(int location, int rinex) {
    (location != 0 ? m_sdCard : m_flash)->setChecked(true);
    m_rinex->setChecked(rinex != 0);
}

void CDialogStaticManager::ShowReadLocation(int value) {
    (value == 1 ? m_sdCard : m_flash)->setChecked(true);
}

void CDialogStaticManager::SetRinexChecked(bool checked) {
    m_rinex->setChecked(checked);
}

void CDialogStaticManager::SetStaticVoiceChecked(bool checked) {
    m_staticVoice->setChecked(checked);
}

bool CDialogStaticManager::IsRinexChecked() const {
    return m_rinex->isChecked();
}

bool CDialogStaticManager::IsStaticVoiceChecked() const {
    return m_staticVoice->isChecked();
}

bool CDialogStaticManager::IsFlashSelected() const {
    return m_flash->isChecked();
}

QString CDialogStaticManager::IntervalText() const {
    return m_interval->currentText();
}

QString CDialogStaticManager::CutoffText() const {
    return m_cutoff->text();
}

QString CDialogStaticManager::PrefixText() const {
    return m_prefix->text();
}

QString CDialogStaticManager::SerialNumberText() const {
    return m_serialNumber->text();
}

void CDialogStaticManager::EnableCommandControls(bool enable) {
    for (QPushButton* control :
         {m_readCollect, m_setCollect, m_readNaming, m_setNaming, m_readLocation, m_setLocation,
          m_readVoice, m_setVoice, m_readFiles, m_format, m_deleteSelected, m_download}) {
        control->setEnabled(enable);
    }
    if (enable) {
        m_sdCard->setEnabled(true);
        m_flash->setEnabled(true);
    }
}

void CDialogStaticManager::AdaptToReceiver(Byte receiverTypeCode, Byte staticVoiceByte) {
    const bool card = IsCardReceiver(receiverTypeCode);
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_locationLabel, m_sdCard, m_flash, m_rinex, m_readLocation, m_setLocation}) {
        control->setVisible(card);
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_download, m_pathLabel, m_path, m_progress}) {
        control->setVisible(!card);
    }

    const bool enable = !ReceiverType::staticOnly(receiverTypeCode);
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_download, m_path, m_readFiles, m_format, m_deleteSelected, m_prefix, m_serialNumber,
             m_readNaming, m_setNaming}) {
        control->setEnabled(enable);
    }

    const bool voice = staticVoiceByte == 27;
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_soundLabel, m_staticVoice, m_readVoice, m_setVoice}) {
        control->setVisible(voice);
    }
}

void CDialogStaticManager::MarkStaticUnread(StaticValues which, bool unread) {
    const bool all = which == StaticValues::All;
    if (all || which == StaticValues::Collect) {
        MarkUnread({m_interval, m_cutoff}, unread);
    }
    if (all || which == StaticValues::Naming) {
        MarkUnread({m_prefix, m_serialNumber}, unread);
    }
    if (all || which == StaticValues::Location) {
        MarkUnread({m_sdCard, m_flash}, unread);
    }
    if (all || which == StaticValues::Rinex) {
        MarkUnread({m_rinex}, unread);
    }
    if (all || which == StaticValues::StaticVoice) {
        MarkUnread({m_staticVoice}, unread);
    }
}

void CDialogStaticManager::ClearFileList() {
    m_files->clear();
    // Pending delete indexes name rows of the list just emptied; applied to a new listing they
    // would remove the wrong files from view.
    m_pendingDeleteRows.clear();
}

void CDialogStaticManager::AppendFiles(const std::vector<FileListRow>& rows) {
    QList<FileRowText> texts;
    for (const FileListRow& row : rows) {
        FileRowText text = FileRowFormat::toText(row);
        text.name = ToText(row.name);
        text.downloadName = ToText(row.baseName);
        texts.append(text);
    }
    AppendFileRows(texts);
}

void CDialogStaticManager::AppendFileRows(const QList<FileRowText>& rows) {
    for (const FileRowText& row : rows) {
        auto* item = new QTreeWidgetItem(m_files);
        item->setText(0, row.name);
        item->setText(1, row.size);
        item->setText(2, row.createTime());
        item->setData(0, kSizeBytesRole, QVariant::fromValue<qint64>(row.sizeBytes));
        item->setData(0, kCommandNameRole, row.downloadName);
    }
}

int CDialogStaticManager::FileCount() const {
    return m_files->topLevelItemCount();
}

QString CDialogStaticManager::FileText(int row, int column) const {
    const QTreeWidgetItem* item = m_files->topLevelItem(row);
    return item != nullptr ? item->text(column) : QString();
}

std::int64_t CDialogStaticManager::FileSizeBytes(int row) const {
    const QTreeWidgetItem* item = m_files->topLevelItem(row);
    if (item == nullptr) {
        return -1;
    }
    const QVariant bytes = item->data(0, kSizeBytesRole);
    return bytes.isValid() ? bytes.toLongLong() : -1;
}

QString CDialogStaticManager::FileCommandName(int row) const {
    const QTreeWidgetItem* item = m_files->topLevelItem(row);
    if (item == nullptr) {
        return {};
    }
    const QVariant name = item->data(0, kCommandNameRole);
    return name.isValid() && !name.toString().isEmpty() ? name.toString()
                                                        : DownloadNameOf(item->text(0));
}

std::vector<int> CDialogStaticManager::SelectedRows() const {
    std::vector<int> rows;
    for (QTreeWidgetItem* item : m_files->selectedItems()) {
        rows.push_back(m_files->indexOfTopLevelItem(item));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CDialogStaticManager::SetPendingDeleteRows(std::vector<int> rows) {
    m_pendingDeleteRows = std::move(rows);
}

void CDialogStaticManager::RemoveDeletedRows() {
    std::vector<int> rows = m_pendingDeleteRows;
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) {
        if (row >= 0 && row < m_files->topLevelItemCount()) {
            delete m_files->takeTopLevelItem(row);
        }
    }
    m_pendingDeleteRows.clear();
}

void CDialogStaticManager::ForgetPendingDeleteRows() {
    m_pendingDeleteRows.clear();
}

QString CDialogStaticManager::DownloadNameOf(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.left(dot);
}

int CDialogStaticManager::ExpectedSizeOf(const QString& sizeText) {
    const qsizetype unit = sizeText.indexOf(QLatin1Char('K'), 0, Qt::CaseInsensitive);
    const QString number = unit < 0 ? sizeText : sizeText.left(unit);
    bool ok = false;
    const int value = number.toInt(&ok);
    return ok && value > 0 ? value : 0;
}

void CDialogStaticManager::ShowDownloadPath(const QString& path) {
    m_path->setText(path);
}

void CDialogStaticManager::BeginDownload(const QString& savePath, const QString& downloadName,
                                         int expectedSizeKb) {
    m_savePath = savePath;
    m_downloadName = downloadName;
    m_expectedSizeKb = expectedSizeKb;
    m_receivedTotal = 0;
    m_path->setText(savePath);
    m_progress->setRange(0, kDownloadProgressMax);
    m_progress->setValue(0);
    m_downloading = true;
    ApplyDownloadButtonText();
}

void CDialogStaticManager::AddDownloadProgress(std::int64_t byteCount) {
    m_receivedTotal += byteCount;
    // 64-bit arithmetic: a file of a few megabytes would overflow 32 bits at × 500. An unknown
    // expected size has no position at all rather than a division by zero.
    if (m_expectedSizeKb <= 0) {
        return;
    }
    const std::int64_t position =
        m_receivedTotal * kDownloadProgressMax / (std::int64_t{m_expectedSizeKb} * 1024);
    if (position >= 0 && position <= kDownloadProgressMax) {
        m_progress->setValue(static_cast<int>(position));
    }
}

void CDialogStaticManager::ResetDownload() {
    m_downloading = false;
    m_progress->setValue(0);
    ApplyDownloadButtonText();
}

int CDialogStaticManager::DownloadProgress() const {
    return m_progress->value();
}

void CDialogStaticManager::ApplyDownloadButtonText() {
    m_download->setText(
        Tr(m_downloading ? QStringLiteral("Stop Load") : QStringLiteral("Download Selected")));
}

} // namespace kestrava
