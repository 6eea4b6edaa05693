#include "pages/CDialogExpand.h"

#include "exchange/ExchangeRequests.h"
#include "forms/AdvancedForm.h"
#include "pages/CDialogDataOutSet.h"
#include "pages/ControlFactory.h"
#include "pages/PageHost.h"
#include "pages/SettingRows.h"
#include "settings/StoredSettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

#include <initializer_list>

namespace kestrava {

namespace {

constexpr int kDefaultVoiceItem = 1;
constexpr int kUserDefinedItem = 2;

} // namespace

CDialogExpand::CDialogExpand(QWidget* parent) : TabPage(parent) {
    // Voice: on/off buttons or voice type list and volume, by receiver.
    auto* voiceGroup = AddGroup(1158, this, "Voice");
    m_enableVoice = AddButton(1132, voiceGroup, "Enable");
    m_disableVoice = AddButton(1133, voiceGroup, "Disable");
    m_disableStaticVoice = AddButton(1022, voiceGroup, "Disable Static Voice");
    m_disableStaticVoice->hide();
    for (QPushButton* control : {m_enableVoice, m_disableVoice}) {
        control->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    m_voiceType = MakeControl<QComboBox>(1011, voiceGroup);
    m_voiceType->setMinimumContentsLength(12);
    m_readVoice = AddButton(1014, voiceGroup, "Read");
    m_setVoice = AddButton(1013, voiceGroup, "Set");
    m_volume = MakeControl<QSlider>(1197, voiceGroup);
    m_volume->setOrientation(Qt::Horizontal);
    m_volume->setTickPosition(QSlider::TicksBelow);
    auto* voiceRow = new QHBoxLayout;
    voiceRow->addWidget(m_enableVoice);
    voiceRow->addWidget(m_disableVoice);
    voiceRow->addWidget(m_disableStaticVoice);
    voiceRow->addWidget(m_voiceType, 1);
    voiceRow->addWidget(m_readVoice);
    voiceRow->addWidget(m_setVoice);
    voiceRow->addStretch(0); // takes the row's free width only when the voice list is hidden
    auto* voiceLayout = new QVBoxLayout(voiceGroup);
    voiceLayout->addLayout(voiceRow);
    voiceLayout->addWidget(m_volume);

    // Net module band.
    auto* bandGroup = AddGroup(1159, this, "Net Module Band");
    auto* label2G = AddLabel(1203, bandGroup, "2G");
    m_band2G = MakeControl<QComboBox>(1136, bandGroup);
    m_label3G = AddLabel(1204, bandGroup, "3G");
    m_band3G = MakeControl<QComboBox>(1044, bandGroup);
    for (QComboBox* list : {m_band2G, m_band3G}) {
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(24);
    }
    m_readBand = AddButton(1137, bandGroup, "Read");
    m_setBand = AddButton(1138, bandGroup, "Set");
    auto* bandLayout = new QGridLayout(bandGroup);
    bandLayout->addWidget(label2G, 0, 0);
    bandLayout->addWidget(m_band2G, 0, 1);
    bandLayout->addWidget(m_readBand, 0, 2);
    bandLayout->addWidget(m_label3G, 1, 0);
    bandLayout->addWidget(m_band3G, 1, 1);
    bandLayout->addWidget(m_setBand, 1, 2);
    bandLayout->setColumnStretch(1, 1);

    // Other settings and the received-data display.
    auto* otherGroup = AddGroup(1160, this, "Other Setting");
    m_dataOutput = AddButton(1057, otherGroup, "Data Output");
    m_snrTest = AddButton(1056, otherGroup, nullptr);
    m_display = MakeControl<QPlainTextEdit>(1139, otherGroup);
    m_display->setReadOnly(true);
    m_display->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_display->setMinimumHeight(60);
    m_clearDisplay = AddButton(1040, otherGroup, "Clear Display");
    m_pauseDisplay = AddButton(1042, otherGroup, nullptr);
    auto* otherButtons = new QHBoxLayout;
    otherButtons->addWidget(m_dataOutput);
    otherButtons->addWidget(m_snrTest);
    otherButtons->addStretch(1);
    otherButtons->addWidget(m_clearDisplay);
    otherButtons->addWidget(m_pauseDisplay);
    auto* otherLayout = new QVBoxLayout(otherGroup);
    otherLayout->addLayout(otherButtons);
    otherLayout->addWidget(m_display, 1);

    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(6, 6, 6, 6);
    pageLayout->addWidget(voiceGroup);
    pageLayout->addWidget(bandGroup);
    pageLayout->addWidget(otherGroup, 1);

    CompactGroups(this);

    connect(m_enableVoice, &QPushButton::clicked, this, [this] { OnVoiceSwitch(true); });
    connect(m_disableVoice, &QPushButton::clicked, this, [this] { OnVoiceSwitch(false); });
    connect(m_readVoice, &QPushButton::clicked, this, &CDialogExpand::OnReadVoice);
    connect(m_setVoice, &QPushButton::clicked, this, &CDialogExpand::OnSetVoice);
    // The volume is set when the mouse lets the slider go, after a drag of the handle or a click
    // on the groove alike; the keyboard only moves it.
    m_volume->installEventFilter(this);
    connect(m_readBand, &QPushButton::clicked, this, &CDialogExpand::OnReadBand);
    connect(m_setBand, &QPushButton::clicked, this, &CDialogExpand::OnSetBand);
    connect(m_dataOutput, &QPushButton::clicked, this, &CDialogExpand::OnDataOutput);
    connect(m_snrTest, &QPushButton::clicked, this, &CDialogExpand::OnSignalTest);
    connect(m_clearDisplay, &QPushButton::clicked, this, [this] { ClearDisplay(); });
    connect(m_pauseDisplay, &QPushButton::clicked, this, [this] { ToggleDisplay(); });

    ApplyToggleTexts();
}

void CDialogExpand::InitExpandPage() {
    m_signalTestRunning = false;
    FillVoiceList(kUserDefinedItem);
    m_disableStaticVoice->hide();
    m_volume->setRange(1, 10);
    m_volume->setTickInterval(1);
    m_volume->setSingleStep(2);
    m_volume->setPageStep(2);
    ShowExpandVariant('Q');
    ApplyToggleTexts();
}

void CDialogExpand::ApplyExpandTexts() {
    ApplyCaptions();
    // The signal test flag is kept: the button must keep saying what its next press does.
    ApplyToggleTexts();
    const int selected = m_voiceType->currentIndex();
    FillVoiceList(selected >= 0 && selected < 3 ? selected : kDefaultVoiceItem);
    ApplyBandTexts();
}

QString CDialogExpand::BandText(const QString& item) const {
    // A few items carry a blank before or after (the receiver maker's own texts); the language
    // file keys them without it, and the item keeps it.
    const QString key = item.trimmed();
    const qsizetype lead = item.indexOf(key);
    return item.left(lead) + Tr(key) + item.mid(lead + key.size());
}

void CDialogExpand::ApplyBandTexts() {
    const BandLists lists = AdvancedForm::bandLists(m_bandModule);
    const auto apply = [this](QComboBox* list, const QStringList& items) {
        for (int i = 0; i < list->count() && i < items.size(); ++i) {
            list->setItemText(i, BandText(items[i]));
        }
    };
    apply(m_band2G, lists.band2G);
    apply(m_band3G, lists.band3G);
}

void CDialogExpand::ShowExpandVariant(Byte receiverTypeCode) {
    const bool buttons = receiverTypeCode < 'Q';
    m_enableVoice->setVisible(buttons);
    m_disableVoice->setVisible(buttons);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_voiceType, m_readVoice, m_setVoice, m_volume}) {
        control->setVisible(!buttons);
    }
    m_disableStaticVoice->hide();
}

void CDialogExpand::ShowBands(int moduleCode, int band2G, int band3G) {
    FillBandLists(moduleCode, band2G, band3G);
    PageHost* host = Host();
    if (host == nullptr) {
        return;
    }
    if (band2G >= 0) {
        host->settings().band2g = static_cast<Byte>(band2G);
    }
    if (band3G >= 0) {
        host->settings().band3g = static_cast<Byte>(band3G);
    }
}

void CDialogExpand::FillBandLists(int moduleCode, int index2G, int index3G) {
    m_band2G->clear();
    m_band3G->clear();
    const BandLists lists = AdvancedForm::bandLists(moduleCode);
    m_bandModule = moduleCode;
    if (lists.known) {
        for (const QString& item : lists.band2G) {
            m_band2G->addItem(BandText(item));
        }
        for (const QString& item : lists.band3G) {
            m_band3G->addItem(BandText(item));
        }
        m_show3G = lists.has3G;
        m_band3G->setVisible(m_show3G);
        m_label3G->setVisible(m_show3G);
    }
    m_band2G->setCurrentIndex(index2G >= 0 && index2G < m_band2G->count() ? index2G : -1);
    m_band3G->setCurrentIndex(m_show3G && index3G >= 0 && index3G < m_band3G->count() ? index3G
                                                                                      : -1);
}

void CDialogExpand::ShowVoiceParams(int voiceCode, int volume) {
    const int item = AdvancedForm::itemForVoiceCode(voiceCode);
    if (item < m_voiceType->count()) {
        m_voiceType->setCurrentIndex(item);
    }
    if (volume >= 1 && volume <= 10) {
        m_volume->setValue(volume);
    }
}

void CDialogExpand::MarkVoiceUnread(bool unread) {
    MarkUnread({m_voiceType, m_volume}, unread);
}

void CDialogExpand::EchoReceived(const char* bytes, std::size_t count) {
    if (!m_displayOn || !m_display->isEnabled() || bytes == nullptr || count == 0) {
        return;
    }
    m_displayText += ToText(ByteString(bytes, count));
    if (m_displayText.size() > kDisplayLimit) {
        m_displayText.clear();
    }
    m_display->setPlainText(m_displayText);
    QScrollBar* bar = m_display->verticalScrollBar();
    bar->setValue(bar->maximum());
}

int CDialogExpand::VoiceCodeForItem(int item, Byte receiverTypeCode, bool variantE) {
    return AdvancedForm::voiceCodeForItem(item, receiverTypeCode, variantE);
}

int CDialogExpand::VoiceItem() const {
    return m_voiceType->currentIndex();
}

int CDialogExpand::Volume() const {
    return m_volume->value();
}

int CDialogExpand::Band2GIndex() const {
    return m_band2G->currentIndex();
}

int CDialogExpand::Band3GIndex() const {
    return m_show3G ? m_band3G->currentIndex() : 0;
}

void CDialogExpand::SetSignalTestRunning(bool running) {
    m_signalTestRunning = running;
    ApplyToggleTexts();
}

void CDialogExpand::EnableCommandControls(bool enable) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_enableVoice, m_disableVoice, m_readBand, m_setBand, m_dataOutput, m_snrTest,
             m_clearDisplay, m_pauseDisplay, m_display}) {
        control->setEnabled(enable);
    }
}

bool CDialogExpand::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_volume && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_volume->isEnabled()) {
        // The slider has its new value by now: a drag moves it as it goes, a click on the groove
        // when the button goes down.
        OnVolumeChosen();
    }
    return TabPage::eventFilter(watched, event);
}

bool CDialogExpand::PortReady() {
    return HostWithOpenPort() != nullptr;
}

void CDialogExpand::OnVoiceSwitch(bool on) {
    if (PortReady()) {
        Host()->exchange().request(
            CommandId::VoiceSwitch,
            requestargs::VoiceSwitch{on ? VoiceSwitchCode::VoiceOn : VoiceSwitchCode::VoiceOff});
    }
}

void CDialogExpand::OnReadVoice() {
    if (!PortReady()) {
        return;
    }
    Host()->exchange().request(
        CommandId::ReadVoiceBlock,
        requestargs::ReadVoiceBlock{false, requestargs::ReadVoiceBlock::kVoiceType},
        [page = QPointer(this)](const RequestOutcome& outcome) {
            const auto voice = outcome.carried<BytePair>(KindVoiceParams);
            if (page && voice) {
                page->ShowVoiceParams(voice->first, voice->second);
                page->MarkVoiceUnread(false);
            }
        });
}

void CDialogExpand::OnSetVoice() {
    if (!PortReady()) {
        return;
    }
    ExchangeRequests& exchange = Host()->exchange();
    const MainInfoRecord& info = exchange.decoderState().mainInfo;
    const auto code = static_cast<Byte>(
        AdvancedForm::voiceCodeForItem(VoiceItem(), info.receiverTypeCode, info.eFlag != 0));
    Host()->settings().voice = code;
    // The voice block is read first; its reply sends the type with the rest of the block kept.
    exchange.request(RequestChain::VoiceType, requestargs::SetVoiceType{code});
}

void CDialogExpand::OnVolumeChosen() {
    PageHost* host = Host();
    if (host == nullptr) {
        return;
    }
    // No port check here: with the port closed the exchange sends nothing.
    const auto volume = static_cast<Byte>(m_volume->value());
    host->settings().volume = volume;
    host->exchange().request(RequestChain::Volume, requestargs::SetVolume{volume});
}

void CDialogExpand::OnReadBand() {
    if (!PortReady()) {
        return;
    }
    SettingRows::read(*Host(), SettingGroupId::Band,
                      [page = QPointer(this)](const RequestOutcome& outcome) {
                          const auto bands = outcome.carried<IntPair>(KindNetBand);
                          PageHost* host = page ? page->Host() : nullptr;
                          if (host != nullptr && bands) {
                              page->ShowBands(host->exchange().decoderState().moduleCode,
                                              bands->first, bands->second);
                          }
                      });
}

void CDialogExpand::OnSetBand() {
    if (!PortReady() || !Host()->askYesNo(QStringLiteral("Are you sure to set?"))) {
        return;
    }
    ExchangeRequests& exchange = Host()->exchange();
    // The lists on show are the ones of this module; a hidden 3G list sends 0.
    const int index3G = m_show3G ? m_band3G->currentIndex() : 0;
    if (Band2GIndex() < 0 || index3G < 0) {
        Host()->showWarning(QStringLiteral("Please choose baudrate to set"));
        return;
    }
    StoredSettings& settings = Host()->settings();
    settings.band2g = static_cast<Byte>(Band2GIndex());
    settings.band3g = static_cast<Byte>(index3G);
    exchange.request(CommandId::SetNetModuleBand,
                     requestargs::SetNetModuleBand{*settings.band2g, *settings.band3g});
}

void CDialogExpand::OnDataOutput() {
    if (!PortReady()) {
        return;
    }
    PageHost* host = Host();
    CDialogDataOutSet dialog([host](const QString& english) { return host->translate(english); },
                             this);
    dialog.SetControlFont(host->languageFont());
    dialog.ShowChoice(host->settings().nmea);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    host->settings().nmea = dialog.Choice();
    host->exchange().request(CommandId::SetNmeaOutput,
                             requestargs::SetNmeaOutput{host->settings().nmea});
}

void CDialogExpand::OnSignalTest() {
    if (!PortReady()) {
        return;
    }
    if (m_signalTestRunning) {
        Host()->exchange().request(CommandId::StopSnrTest);
        SetSignalTestRunning(false);
    } else {
        Host()->exchange().request(CommandId::StartSnrTest);
        SetSignalTestRunning(true);
    }
}

void CDialogExpand::FillVoiceList(int selected) {
    m_voiceType->clear();
    for (const char* item :
         {QT_TR_NOOP("Disable Voice"), QT_TR_NOOP("Default"), QT_TR_NOOP("User Defined")}) {
        m_voiceType->addItem(Tr(QString::fromLatin1(item)));
    }
    m_voiceType->setCurrentIndex(selected);
}

void CDialogExpand::ApplyToggleTexts() {
    m_snrTest->setText(
        Tr(m_signalTestRunning ? QStringLiteral("Stop Test") : QStringLiteral("Test GPRS SNR")));
    m_pauseDisplay->setText(
        Tr(m_displayOn ? QStringLiteral("Pause Display") : QStringLiteral("Display")));
}

void CDialogExpand::ClearDisplay() {
    m_displayText.clear();
    m_display->clear();
}

void CDialogExpand::ToggleDisplay() {
    m_displayOn = !m_displayOn;
    ApplyToggleTexts();
}

} // namespace kestrava
