#include "pages/CDialogRadioManager.h"

#include "exchange/ExchangeRequests.h"
#include "forms/RadioForm.h"
#include "pages/ControlFactory.h"
#include "pages/PageHost.h"
#include "pages/SettingRows.h"
#include "settings/StoredSettings.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrava {

CDialogRadioManager::CDialogRadioManager(QWidget* parent) : TabPage(parent) {
    auto* frequencyGroup = AddGroup(1166, this, "Radio Frequency Setting");
    m_connect = AddButton(1123, frequencyGroup, "Connect Internal Radio");
    auto* connectTip =
        AddLabel(1124, frequencyGroup, "Tip: Please connect the internal radio first");
    connectTip->setWordWrap(true);

    m_channels = MakeControl<QTreeWidget>(1038, frequencyGroup);
    m_channels->setRootIsDecorated(false);
    m_channels->setUniformRowHeights(true);
    m_channels->setAllColumnsShowFocus(true);
    m_channels->setAlternatingRowColors(true);
    m_channels->setSelectionMode(QAbstractItemView::SingleSelection);
    m_channels->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_channels->setMinimumHeight(140);

    m_readCurrent = AddButton(1125, frequencyGroup, "Read Current HZ");
    m_setFreq = AddButton(1126, frequencyGroup, "Set HZ");
    m_readDefault = AddButton(1127, frequencyGroup, "Read Default HZ");
    m_band460 = MakeControl<QRadioButton>(1015, frequencyGroup);
    m_band460->setText(QStringLiteral("460M"));
    m_band230 = MakeControl<QRadioButton>(1016, frequencyGroup);
    m_band230->setText(QStringLiteral("230M"));

    // The in-place editor of a frequency cell; placed over a cell while it is edited.
    m_cellEditor = MakeControl<QLineEdit>(1019, this);
    m_cellEditor->hide();

    auto* connectRow = new QHBoxLayout;
    connectRow->addWidget(m_connect);
    connectRow->addWidget(connectTip, 1);
    auto* sideButtons = new QVBoxLayout;
    sideButtons->addWidget(m_readCurrent);
    sideButtons->addWidget(m_setFreq);
    sideButtons->addWidget(m_readDefault);
    sideButtons->addSpacing(6);
    sideButtons->addWidget(m_band460);
    sideButtons->addWidget(m_band230);
    sideButtons->addStretch(1);
    auto* tableRow = new QHBoxLayout;
    tableRow->addWidget(m_channels, 1);
    tableRow->addLayout(sideButtons);
    auto* frequencyLayout = new QVBoxLayout(frequencyGroup);
    frequencyLayout->addLayout(connectRow);
    frequencyLayout->addLayout(tableRow, 1);

    auto* baudGroup = AddGroup(1167, this, "Air Baud Rate");
    auto* baudLabel = AddLabel(1128, baudGroup, "Air Baud Rate:");
    m_airBaud = MakeControl<QComboBox>(1129, baudGroup);
    m_airBaud->setMinimumContentsLength(6);
    m_readAirBaud = AddButton(1130, baudGroup, "Read");
    m_setAirBaud = AddButton(1039, baudGroup, "Set");
    auto* baudLayout = new QHBoxLayout(baudGroup);
    baudLayout->addWidget(baudLabel);
    baudLayout->addWidget(m_airBaud);
    baudLayout->addStretch(1);
    baudLayout->addWidget(m_readAirBaud);
    baudLayout->addWidget(m_setAirBaud);

    auto* modeTip = AddLabel(1131, this,
                             "Tip: The operations should be used only in the UHF model,and the "
                             "receiver should be restarted after");
    modeTip->setWordWrap(true);

    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(6, 6, 6, 6);
    pageLayout->addWidget(frequencyGroup, 1);
    pageLayout->addWidget(baudGroup);
    pageLayout->addWidget(modeTip);

    CompactGroups(this);

    connect(m_connect, &QPushButton::clicked, this, &CDialogRadioManager::OnConnectRadio);
    connect(m_readCurrent, &QPushButton::clicked, this, &CDialogRadioManager::OnReadCurrentFreq);
    connect(m_setFreq, &QPushButton::clicked, this, &CDialogRadioManager::OnSetFreq);
    connect(m_readDefault, &QPushButton::clicked, this, &CDialogRadioManager::OnReadDefaultFreq);
    connect(m_readAirBaud, &QPushButton::clicked, this, &CDialogRadioManager::OnReadAirBaud);
    connect(m_setAirBaud, &QPushButton::clicked, this, &CDialogRadioManager::OnSetAirBaud);
    connect(m_channels, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int column) {
                StartCellEdit(m_channels->indexOfTopLevelItem(item), column);
            });
    // Enter in the editor takes the text as Set Freq would, and closes the editor when it passes.
    connect(m_cellEditor, &QLineEdit::returnPressed, this, [this] {
        if (CommitCellEdit()) {
            m_cellEditor->hide();
            m_editRow = -1;
            m_editColumn = -1;
        }
    });
    // The editor stays over its cell when the list scrolls or its columns are resized.
    connect(m_channels->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &CDialogRadioManager::PlaceEditor);
    connect(m_channels->header(), &QHeaderView::sectionResized, this,
            &CDialogRadioManager::PlaceEditor);
}

void CDialogRadioManager::InitRadioPage() {
    m_band460->setChecked(true);
    m_airBaud->clear();
    m_airBaud->addItems({QStringLiteral("9600"), QStringLiteral("19200")});
    m_airBaud->setCurrentIndex(-1);

    m_channels->clear();
    m_channels->setColumnCount(3);
    m_channels->setColumnWidth(0, 70);
    m_channels->setColumnWidth(1, 80);
    m_channels->setColumnWidth(2, 80);
    for (int channel = 0; channel < kChannels; ++channel) {
        auto* item = new QTreeWidgetItem(m_channels);
        item->setText(0, QStringLiteral("%1").arg(channel, 2, 10, QLatin1Char('0')));
        item->setText(1, QStringLiteral("000.000"));
        item->setText(2, QStringLiteral("000.000"));
    }
}

void CDialogRadioManager::ApplyRadioTexts() {
    ApplyCaptions();
    m_channels->setHeaderLabels({Tr(QStringLiteral("CHANNEL")), Tr(QStringLiteral("TX(MHZ)")),
                                 Tr(QStringLiteral("RX(MHZ)"))});
}

void CDialogRadioManager::ShowChannelTable(const ChannelTable& table) {
    const int rows = std::min(m_channels->topLevelItemCount(), kChannels);
    for (int row = 0; row < rows; ++row) {
        QTreeWidgetItem* item = m_channels->topLevelItem(row);
        const ChannelPair& pair = table[static_cast<std::size_t>(row)];
        item->setText(1, RadioForm::frequencyText(pair.transmit));
        item->setText(2, RadioForm::frequencyText(pair.receive));
    }
}

void CDialogRadioManager::MarkChannelsUnread(bool unread) {
    MarkUnread({m_channels}, unread);
}

void CDialogRadioManager::MarkAirBaudUnread(bool unread) {
    MarkUnread({m_airBaud}, unread);
}

void CDialogRadioManager::ShowAirBaud(int rate) {
    if (m_airBaud->count() >= 2) {
        m_airBaud->setCurrentIndex(rate == 19200 ? 1 : 0);
    }
}

QString CDialogRadioManager::CellText(int row, int column) const {
    const QTreeWidgetItem* item = m_channels->topLevelItem(row);
    return item != nullptr ? item->text(column) : QString();
}

bool CDialogRadioManager::Is460Band() const {
    return m_band460->isChecked();
}

int CDialogRadioManager::AirBaudIndex() const {
    return m_airBaud->currentIndex();
}

void CDialogRadioManager::EnableCommandControls(bool enable) {
    for (QPushButton* button :
         {m_connect, m_readCurrent, m_setFreq, m_readDefault, m_readAirBaud, m_setAirBaud}) {
        button->setEnabled(enable);
    }
}

void CDialogRadioManager::StartCellEdit(int row, int column) {
    if (row < 0 || row >= kChannels || (column != 1 && column != 2)) {
        return; // the channel number is not edited
    }
    if (row == m_editRow && column == m_editColumn && !m_cellEditor->isHidden()) {
        return;
    }
    if (!CommitCellEdit()) {
        return; // the editor keeps its cell and its text
    }
    m_editRow = row;
    m_editColumn = column;
    m_cellEditor->setText(CellText(row, column));
    PlaceEditor();
    m_cellEditor->show();
    m_cellEditor->raise();
    m_cellEditor->setFocus(Qt::MouseFocusReason);
    m_cellEditor->selectAll();
}

bool CDialogRadioManager::CommitCellEdit() {
    if (m_cellEditor->isHidden() || m_editRow < 0) {
        return true;
    }
    const QString text = m_cellEditor->text();
    const FormResult<float> frequency = RadioForm::frequency(text);
    if (!frequency.ok()) {
        if (PageHost* host = Host()) {
            host->showRefusal(frequency);
        }
        return false;
    }
    if (QTreeWidgetItem* item = m_channels->topLevelItem(m_editRow)) {
        item->setText(m_editColumn, text);
    }
    return true;
}

void CDialogRadioManager::PlaceEditor() {
    QTreeWidgetItem* item = m_editRow >= 0 ? m_channels->topLevelItem(m_editRow) : nullptr;
    if (item == nullptr) {
        return;
    }
    QRect cell = m_channels->visualItemRect(item);
    cell.setLeft(m_channels->header()->sectionViewportPosition(m_editColumn));
    cell.setWidth(m_channels->header()->sectionSize(m_editColumn));
    const QPoint topLeft = m_channels->viewport()->mapTo(this, cell.topLeft());
    m_cellEditor->setGeometry(QRect(topLeft, cell.size()));
}

void CDialogRadioManager::resizeEvent(QResizeEvent* event) {
    TabPage::resizeEvent(event);
    PlaceEditor();
}

bool CDialogRadioManager::PortReady() {
    return HostWithOpenPort() != nullptr;
}

void CDialogRadioManager::OnConnectRadio() {
    if (PortReady()) {
        Host()->exchange().request(CommandId::ConnectInternalRadio);
    }
}

void CDialogRadioManager::OnReadCurrentFreq() {
    if (!PortReady()) {
        return;
    }
    m_editRow = -1;
    m_editColumn = -1;
    m_cellEditor->hide();
    SettingRows::read(*Host(), SettingGroupId::RadioChannels,
                      [page = QPointer(this)](const RequestOutcome& outcome) {
                          const auto* table = outcome.record<ChannelTable>(KindRadioChannels);
                          if (page && table != nullptr) {
                              page->ShowChannelTable(*table);
                              page->MarkChannelsUnread(false);
                          }
                      });
}

void CDialogRadioManager::OnReadDefaultFreq() {
    ShowChannelTable(RadioForm::defaultTable(Is460Band()));
}

void CDialogRadioManager::OnSetFreq() {
    if (!PortReady() || !CommitCellEdit()) {
        return;
    }
    QStringList transmit;
    QStringList receive;
    for (int row = 0; row < kChannels; ++row) {
        transmit.append(CellText(row, 1));
        receive.append(CellText(row, 2));
    }
    const FormResult<ChannelTable> table = RadioForm::channels(transmit, receive);
    if (!table.ok()) {
        Host()->showRefusal(table);
        return;
    }
    Host()->settings().channels = table.record();
    SettingRows::set(*Host(), SettingGroupId::RadioChannels,
                     requestargs::WriteRadioChannels{table.record()});
}

void CDialogRadioManager::OnReadAirBaud() {
    if (!PortReady()) {
        return;
    }
    SettingRows::read(*Host(), SettingGroupId::AirBaud,
                      [page = QPointer(this)](const RequestOutcome& outcome) {
                          const auto rate = outcome.carried<std::int32_t>(KindRadioAirBaud);
                          if (!page || !rate) {
                              return;
                          }
                          page->ShowAirBaud(*rate);
                          page->MarkAirBaudUnread(false);
                          // Kept as the page shows it: 19200 is 19200, any other rate the
                          // slower one.
                          if (PageHost* host = page->Host()) {
                              host->settings().airBaud = *rate == RadioForm::kFastAirBaud
                                                             ? RadioForm::kFastAirBaud
                                                             : RadioForm::kSlowAirBaud;
                          }
                      });
}

void CDialogRadioManager::OnSetAirBaud() {
    if (!PortReady() || !Host()->askYesNo(QStringLiteral("Are you sure to set?"))) {
        return;
    }
    const std::int32_t rate = RadioForm::airBaudForIndex(AirBaudIndex());
    Host()->settings().airBaud = rate;
    SettingRows::set(*Host(), SettingGroupId::AirBaud, requestargs::SetAirBaud{rate});
}

} // namespace kestrava
