#include "app/CKestravaDlg.h"

#include "app/AppOptions.h"
#include "app/CAboutDlg.h"
#include "app/DialogUnits.h"
#include "app/MainWindowLayout.h"
#include "app/MessageBoxTexts.h"
#include "app/PortComboBox.h"
#include "app/PortRouter.h"
#include "app/PortWatcher.h"
#include "app/ProfileActions.h"
#include "app/WindowPageHost.h"
#include "emulator/SimAnnouncement.h"
#include "exchange/CommandExchange.h"
#include "exchange/FirmwareUpdater.h"
#include "exchange/ProtocolTrace.h"
#include "exchange/QtReplyTimers.h"
#include "exchange/SerialExchangePort.h"
#include "exchange/TextCodec.h"
#include "exchange/TracingErrorReporter.h"
#include "exchange/TracingExchangePort.h"
#include "pages/CDialogBase.h"
#include "pages/CDialogExpand.h"
#include "pages/CDialogNETWORK.h"
#include "pages/CDialogRadioManager.h"
#include "pages/CDialogStaticManager.h"
#include "pages/FirmwareUpdateHandler.h"
#include "pages/PositionPanel.h"
#include "serial/CSerialPort.h"
#include "serial/PortErrorReporter.h"
#include "serial/SerialPortList.h"
#include "settings/FileErrorReporter.h"
#include "settings/LanguageManager.h"
#include "settings/SettingsFile.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <filesystem>

namespace kestrava {
namespace {

std::u16string toU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

QString fromU16(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path toPath(const QString& folder) {
    return std::filesystem::path(folder.toStdU16String());
}

// Failures of the serial device and of the settings files, shown as message boxes.
class MessageBoxReporter : public PortErrorReporter, public FileErrorReporter {
public:
    explicit MessageBoxReporter(QWidget* parent) : m_parent(parent) {}
    void reportError(const QString& text, const QString& caption) override {
        QMessageBox::critical(m_parent, caption, text);
    }
    void reportFileError(const std::u16string& message) override {
        QMessageBox::warning(m_parent, QStringLiteral("Kestrava"), fromU16(message));
    }

private:
    QWidget* m_parent;
};

// The panel's value labels, in the order of m_panelValues.
enum PanelValue {
    ReceiverVersion,
    ReceiverSerial,
    BoardType,
    BoardSerial,
    BoardVersion,
    ModuleName,
    ModuleFirmware,
    ModuleHardware
};

struct PanelRow {
    int labelId;
    int labelX;
    int labelY;
    const char* caption;
    int valueId;
    int valueX;
    int valueY;
};

constexpr PanelRow kPanelRows[] = {
    {1062, 280, 44, QT_TR_NOOP("Receiver Version:"), 1041, 279, 53},
    {1063, 280, 63, QT_TR_NOOP("Receiver SN:"), 1064, 279, 73},
    {1067, 280, 103, QT_TR_NOOP("Motherboard Type:"), 1068, 279, 111},
    {1069, 280, 124, QT_TR_NOOP("Motherboard SN:"), 1070, 279, 133},
    {1071, 280, 145, QT_TR_NOOP("Motherboard Version:"), 1072, 279, 153},
    {1073, 280, 167, QT_TR_NOOP("GPRS Module:"), 1074, 279, 175},
    {1075, 280, 188, QT_TR_NOOP("Module FW Version:"), 1076, 280, 198},
    {1077, 280, 211, QT_TR_NOOP("Module HW Version:"), 1078, 280, 219},
};

const char* const kTabCaptions[] = {QT_TR_NOOP("Net"), QT_TR_NOOP("Radio"), QT_TR_NOOP("Static"),
                                    QT_TR_NOOP("Basic"), QT_TR_NOOP("Advanced")};
constexpr int kStaticTab = 2;
constexpr int kPortListPollMs = 1000;
constexpr int kBasicTab = 3;

} // namespace

struct CKestravaDlg::Parts {
    std::unique_ptr<MessageBoxReporter> reporter;
    ProtocolTrace trace;
    std::unique_ptr<TracingErrorReporter> tracingReporter;
    std::unique_ptr<TracingExchangePort> tracing;
    std::unique_ptr<CSerialPort> serial;
    std::unique_ptr<SerialExchangePort> port;
    std::unique_ptr<PortRouter> router;
    std::unique_ptr<QtReplyTimers> timers;
    std::unique_ptr<FirmwareUpdater> firmware;
    std::unique_ptr<FirmwareUpdateHandler> firmwareHandler;
};

CKestravaDlg::CKestravaDlg(const AppOptions& options, QWidget* parent)
    : QDialog(parent), m_settingsFolder(options.settingsFolder),
      m_emulatorPort(options.emulatorPort), m_parts(std::make_unique<Parts>()) {
    setObjectName(QStringLiteral("102"));
    setWindowTitle(QStringLiteral("Kestrava V1.0.5.0"));
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/kestrava/resources/kestrava.png")));

    m_parts->reporter = std::make_unique<MessageBoxReporter>(this);
    PortErrorReporter* portErrors = m_parts->reporter.get();
    if (!options.traceFile.isEmpty()) {
        QString error;
        if (m_parts->trace.open(options.traceFile, error)) {
            m_parts->tracingReporter =
                std::make_unique<TracingErrorReporter>(m_parts->trace, portErrors);
            portErrors = m_parts->tracingReporter.get();
        } else {
            QMessageBox::warning(this, QStringLiteral("Kestrava"),
                                 QStringLiteral("The trace cannot be written to %1:\n%2")
                                     .arg(options.traceFile, error));
        }
    }
    m_parts->serial = std::make_unique<CSerialPort>(portErrors);
    m_parts->port = std::make_unique<SerialExchangePort>(*m_parts->serial);
    ExchangePort* exchangePort = m_parts->port.get();
    if (options.emulatorLink != nullptr) {
        m_parts->router =
            std::make_unique<PortRouter>(*m_parts->port, *options.emulatorLink, m_emulatorPort);
        exchangePort = m_parts->router.get();
    }
    if (m_parts->trace.isOpen()) {
        m_parts->tracing = std::make_unique<TracingExchangePort>(*exchangePort, m_parts->trace);
        exchangePort = m_parts->tracing.get();
    }
    m_parts->timers = std::make_unique<QtReplyTimers>(this);

    m_language = std::make_unique<LanguageManager>(toPath(m_settingsFolder),
                                                   options.languageFolder.isEmpty()
                                                       ? std::filesystem::path("lang")
                                                       : toPath(options.languageFolder),
                                                   m_parts->reporter.get(), TextCodec::codePage());
    m_language->initialise();
    m_settingsFile =
        std::make_unique<SettingsFile>(toPath(m_settingsFolder), TextCodec::codePage());

    m_exchange = std::make_unique<CommandExchange>(*exchangePort, *m_parts->timers, *this,
                                                   m_settings, m_language.get(), this);
    // Every command ends with an outcome the user sees, the silence of one included.
    m_exchange->setReplyWait(CommandExchange::kReplyWaitMs);
    if (m_parts->tracing) {
        m_parts->tracing->attach(*m_exchange);
        // Said once, in the tip line, from whichever thread found the trace unwritable.
        m_parts->trace.onFailure([this](const QString&) {
            QMetaObject::invokeMethod(
                this,
                [this] { m_exchange->ShowTip(QStringLiteral("Fail to write the protocol trace")); },
                Qt::QueuedConnection);
        });
    }
    // Message boxes answer with buttons in the chosen language too.
    QCoreApplication::instance()->installEventFilter(
        new MessageBoxTexts([this](const QString& english) { return translate(english); }, this));

    // Ports come and go (an adapter plugged in, an emulator started): the list follows them.
    auto* portPoll = new QTimer(this);
    connect(portPoll, &QTimer::timeout, this, [this] { fillPortList(); });
    portPoll->start(kPortListPollMs);

    m_watcher = new PortWatcher(this);
    connect(m_watcher, &PortWatcher::deviceReturned, this, &CKestravaDlg::onDeviceReturned);
    connect(m_exchange.get(), &CommandExchange::mainInfoChainEnded, this,
            &CKestravaDlg::onMainInfoChainEnded);
    m_pageHost = std::make_unique<WindowPageHost>(*this, *m_exchange, m_settings, *m_language,
                                                  [this] { return font(); });

    createControls();
    createPages();
    fillLanguageList();
    fillPortList();
    relabel();
    applyFont();
    loadSettings();
    selectCurrentLanguage();
    MainWindowLayout::apply(*this);
}

CKestravaDlg::~CKestravaDlg() {
    // The exchange refers to the port, and the port delivers to the exchange: the exchange goes
    // first, then the port stops its reader.
    m_parts->firmwareHandler.reset();
    m_parts->firmware.reset();
    m_pageHost.reset();
    m_exchange.reset();
    m_parts->tracing.reset();
    m_parts->port.reset();
    m_parts->serial.reset();
}

QLabel* CKestravaDlg::addLabel(int id, int x, int y, int width, int height) {
    const DialogUnits units(font());
    auto* label = new QLabel(this);
    label->setObjectName(QString::number(id));
    label->setGeometry(units.rect(x, y, width, height));
    return label;
}

void CKestravaDlg::createControls() {
    const DialogUnits units(font());
    setFixedSize(units.x(379), units.y(281));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("1008"));
    m_tabs->setGeometry(units.rect(4, 6, 274, 243));

    addLabel(1010, 280, 6, 24, 8);
    m_portList = new PortComboBox(this);
    m_portList->setObjectName(QStringLiteral("1060"));
    m_portList->setGeometry(units.rect(280, 17, 37, 12));

    m_openButton = new QPushButton(this);
    m_openButton->setObjectName(QStringLiteral("1061"));
    m_openButton->setGeometry(units.rect(321, 15, 37, 14));
    m_openButton->setAutoDefault(false);
    connect(m_openButton, &QPushButton::clicked, this, &CKestravaDlg::onOpenClicked);

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("1154"));
    group->setGeometry(units.rect(277, 31, 83, 205));
    group->lower();

    for (std::size_t i = 0; i < std::size(kPanelRows); ++i) {
        const PanelRow& row = kPanelRows[i];
        addLabel(row.labelId, row.labelX, row.labelY, 80, 9);
        QLabel* value = addLabel(row.valueId, row.valueX, row.valueY, 78, 9);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_panelValues[i] = value;
    }

    m_updateButton = new QPushButton(this);
    m_updateButton->setObjectName(QStringLiteral("1013"));
    m_updateButton->setGeometry(units.rect(278, 236, 77, 14));
    m_updateButton->setAutoDefault(false);
    connect(m_updateButton, &QPushButton::clicked, this, &CKestravaDlg::onUpdateClicked);

    m_position = new PositionPanel(this);
    m_position->setObjectName(QStringLiteral("1242"));

    QLabel* tipCaption = addLabel(1176, 113, 251, 31, 11);
    tipCaption->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0); background: transparent;"));
    tipCaption->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_tipLine = addLabel(1177, 149, 251, 213, 28);
    m_tipLine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tipLine->setWordWrap(true);

    addLabel(1192, 5, 252, 35, 8);
    m_languageList = new QComboBox(this);
    m_languageList->setObjectName(QStringLiteral("1011"));
    m_languageList->setGeometry(units.rect(46, 250, 62, 12));
    connect(m_languageList, &QComboBox::activated, this, &CKestravaDlg::onLanguageChanged);

    addAboutToSystemMenu();
    addProfileActions();
}

void CKestravaDlg::createPages() {
    const PageTranslator translator = [this](const QString& english) { return translate(english); };
    const TextConverter converter = [](const ByteString& bytes) {
        return TextCodec::toText(bytes);
    };

    m_netPage = new CDialogNETWORK;
    m_radioPage = new CDialogRadioManager;
    m_staticPage = new CDialogStaticManager;
    m_basePage = new CDialogBase;
    m_expandPage = new CDialogExpand;
    TabPage* pages[] = {m_netPage, m_radioPage, m_staticPage, m_basePage, m_expandPage};
    for (std::size_t i = 0; i < std::size(pages); ++i) {
        pages[i]->SetTranslator(translator);
        pages[i]->SetTextConverter(converter);
        pages[i]->SetHost(m_pageHost.get());
        m_tabs->addTab(pages[i], QString::fromLatin1(kTabCaptions[i]));
    }
    m_tabs->setCurrentIndex(0);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CKestravaDlg::onTabChanged);

    m_radioPage->InitRadioPage();
    m_staticPage->InitStaticPage();
    m_netPage->FillNetLists();
    m_basePage->SetProgressRange(0, 300);
    m_basePage->SetProgressPos(0);
    wireFirmwareUpdate();
    m_expandPage->InitExpandPage();
    // The caster check measures the base's distance from where the receiver says it is.
    m_netPage->SetPositionSource([this] { return m_position->Position(); });
}

// The transfer lives beside the exchange; the Basic page's handler drives it, and for the length
// of an update the window keeps the user from opening, closing or refreshing the port and from
// starting other commands.
void CKestravaDlg::wireFirmwareUpdate() {
    m_parts->firmware = std::make_unique<FirmwareUpdater>(*m_exchange);
    m_parts->firmwareHandler =
        std::make_unique<FirmwareUpdateHandler>(*m_basePage, *m_parts->firmware);
    connect(m_parts->firmware.get(), &FirmwareUpdater::runningChanged, this, [this](bool running) {
        m_openButton->setEnabled(!running);
        m_updateButton->setEnabled(!running);
        m_netPage->EnableCommandControls(!running);
        m_radioPage->EnableCommandControls(!running);
        m_staticPage->EnableCommandControls(!running);
        m_expandPage->EnableCommandControls(!running);
    });
}

void CKestravaDlg::fillLanguageList() {
    m_languageList->clear();
    for (const std::u16string& name : m_language->languageList()) {
        m_languageList->addItem(fromU16(name));
    }
    m_languageList->model()->sort(0);
}

void CKestravaDlg::fillPortList() {
    if (m_portList->view()->isVisible()) {
        return; // not under the user's hand: the next look refreshes it
    }
    QList<PortComboBox::Port> ports;
    QStringList listed;
    const auto add = [&ports, &listed](PortComboBox::Port port) {
        if (port.device.isEmpty() || listed.contains(port.device)) {
            return;
        }
        listed.append(port.device);
        ports.append(std::move(port));
    };
    // A device path shows by its device name (ttyUSB0) in the narrow box; the full path is what
    // gets opened.
    const auto shortName = [](const QString& device) {
        return device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    };
    if (!m_emulatorPort.isEmpty()) {
        // The built-in emulator comes first, ahead of the sorted ports.
        add({m_emulatorPort, translate(QStringLiteral("Kestrava receiver emulator")),
             translate(QStringLiteral("Emulator")), m_emulatorPort});
    }
    // Emulators running beside the window: the link they offer (a name that stays while the
    // cable is pulled) and their terminal.
    for (const SimAnnouncement::Entry& sim : SimAnnouncement::running()) {
        const QString device = QString::fromStdString(sim.device);
        const QString description = translate(QStringLiteral("Receiver emulator (kestrava-sim)")) +
                                    QLatin1Char(' ') + device;
        const QString link = QString::fromStdString(sim.link);
        if (!link.isEmpty() && PortWatcher::devicePresent(link)) {
            add({link, link, QFileInfo(link).fileName(), description});
        }
        if (PortWatcher::devicePresent(device)) {
            add({device, shortName(device), QString(), description});
        }
    }
    for (const SerialPortList::Entry& entry : SerialPortList::available()) {
        add({entry.name, shortName(entry.name), QString(), entry.description});
    }
    // A device the user typed stays offered while it is there.
    if (!m_openedPort.isEmpty() && PortWatcher::devicePresent(m_openedPort)) {
        add({m_openedPort, shortName(m_openedPort), QString(), QString()});
    }
    m_portList->setPorts(ports);
}

QString CKestravaDlg::translate(const QString& english) const {
    return fromU16(m_language->translate(toU16(english)));
}

void CKestravaDlg::relabel() {
    auto set = [this](const char* id, const char* english) {
        if (auto* widget =
                findChild<QWidget*>(QString::fromLatin1(id), Qt::FindDirectChildrenOnly)) {
            const QString text = translate(QString::fromLatin1(english));
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                label->setText(text);
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                button->setText(text);
            } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
                box->setTitle(text);
            }
        }
    };
    m_updateButton->setText(translate(QStringLiteral("Refresh")));
    for (int i = 0; i < m_tabs->count(); ++i) {
        m_tabs->setTabText(i, translate(QString::fromLatin1(kTabCaptions[i])));
    }
    m_openButton->setText(
        translate(m_exchange->portOpen() ? QStringLiteral("Close") : QStringLiteral("Open")));
    set("1010", QT_TR_NOOP("Port:"));
    set("1154", QT_TR_NOOP("MainInfo"));
    for (const PanelRow& row : kPanelRows) {
        set(QByteArray::number(row.labelId).constData(), row.caption);
    }
    set("1176", QT_TR_NOOP("Tip:"));
    m_exchange->retranslateTip();
    m_netPage->ApplyNetTexts();
    m_radioPage->ApplyRadioTexts();
    m_staticPage->ApplyStaticTexts();
    m_basePage->ApplyBaseTexts();
    m_expandPage->ApplyExpandTexts();
    m_position->ApplyPositionTexts([this](const QString& english) { return translate(english); });
    set("1192", QT_TR_NOOP("Language"));
    fillPortList(); // the emulator's entry in the chosen language
    if (auto* about = findChild<QAction*>(QStringLiteral("16"))) {
        about->setText(translate(QStringLiteral("&About Kestrava...")));
    }
    if (auto* save = findChild<QAction*>(QStringLiteral("profileSave"))) {
        save->setText(translate(QStringLiteral("Save Profile...")));
    }
    if (auto* apply = findChild<QAction*>(QStringLiteral("profileApply"))) {
        apply->setText(translate(QStringLiteral("Apply Profile...")));
    }
    MainWindowLayout::apply(*this);
    update();
}

void CKestravaDlg::applyFont() {
    const UiFont& chosen = m_language->font();
    QFont font(fromU16(chosen.face));
    // The height is the character cell in pixels; the em square is a little smaller.
    if (chosen.height > 0) {
        font.setPixelSize(std::max(8, chosen.height * 13 / 15));
    }
    font.setWeight(QFont::Normal);
    setFont(font);
}

void CKestravaDlg::loadSettings() {
    const IoResult result = m_settingsFile->load(m_settings);
    if (!result.ok) {
        QMessageBox::warning(
            this, QStringLiteral("Kestrava"),
            translate(QStringLiteral("The settings could not be read from %1:"))
                    .arg(QString::fromStdU16String(m_settingsFile->path().u16string())) +
                QLatin1Char('\n') + QString::fromStdString(result.message));
    }
    m_netPage->ShowNetParams(m_settings.net);
    m_staticPage->ShowCollectParams(m_settings.collectInterval, m_settings.cutOff);
    m_staticPage->ShowFileNaming(m_settings.filePrefix, m_settings.fileSn);
    m_staticPage->ShowStoredLocation(m_settings.staticLocation, m_settings.rinex);
    m_expandPage->ShowVoiceParams(m_settings.voice, m_settings.volume);
    m_radioPage->ShowChannelTable(m_settings.channels);
    m_basePage->ShowFirmwareSettings(TextCodec::toText(m_settings.firmwarePath),
                                     m_settings.firmwareType);
    if (m_settings.airBaud) {
        m_radioPage->ShowAirBaud(*m_settings.airBaud);
    }
    if (m_settings.staticVoice) {
        m_staticPage->SetStaticVoiceChecked(*m_settings.staticVoice != 0);
    }
    // The band lists depend on the module, unknown until a receiver is read: the kept bands
    // stay in the file (and a profile made of it) but select nothing here.
    markReceiverValuesUnread();
}

void CKestravaDlg::markReceiverValuesUnread() {
    // What the pages show is the last session's, or what another receiver held: kept (a Set
    // sends it, the settings file keeps it), but not to be taken for this receiver's own.
    m_netPage->MarkNetUnread(true);
    m_radioPage->MarkChannelsUnread(true);
    m_radioPage->MarkAirBaudUnread(true);
    m_staticPage->MarkStaticUnread(CDialogStaticManager::StaticValues::All, true);
    m_expandPage->MarkVoiceUnread(true);
}

void CKestravaDlg::selectCurrentLanguage() {
    std::vector<std::u16string> names;
    for (int i = 0; i < m_languageList->count(); ++i) {
        names.push_back(toU16(m_languageList->itemText(i)));
    }
    if (const auto index = m_language->initialSelection(names)) {
        m_languageList->setCurrentIndex(static_cast<int>(*index));
        return;
    }
    // No language file answers to the chosen language, so every text shows in English. The list
    // says so instead of showing the first file's name as if it were in effect; picking the
    // entry keeps English (a missing english.lang leaves every text as it is).
    const QString english = QStringLiteral("english");
    if (m_languageList->findText(english) < 0) {
        m_languageList->addItem(english);
        m_languageList->model()->sort(0);
    }
    m_languageList->setCurrentIndex(m_languageList->findText(english));
}

void CKestravaDlg::addAboutToSystemMenu() {
    // Desktop environments do not share one system menu; the about box opens from the window's
    // context menu and with F1.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* about = new QAction(QStringLiteral("&About Kestrava..."), this);
    about->setObjectName(QStringLiteral("16"));
    about->setShortcut(QKeySequence::HelpContents);
    connect(about, &QAction::triggered, this, [this] {
        CAboutDlg box([this](const QString& english) { return translate(english); }, this);
        box.setWindowIcon(windowIcon());
        box.exec();
    });
    addAction(about);
}

void CKestravaDlg::addProfileActions() {
    ProfileActions::Window window;
    window.parent = this;
    window.translate = [this](const QString& english) { return translate(english); };
    window.openedDevice = [this] { return m_exchange->portOpen() ? m_openedPort : QString(); };
    window.releasePort = [this](std::function<void()> afterClose) {
        m_afterRelease = std::move(afterClose);
        m_closingByUser = true;
        m_exchange->closePort();
    };
    window.reclaimPort = [this] {
        if (!m_exchange->portOpen() && !m_openedPort.isEmpty()) {
            openDevice(m_openedPort);
        }
    };
    window.showTip = [this](const QString& key) { m_exchange->ShowTip(key); };
    window.showMessage = [this](const QString& text) { showMessage(text); };
    window.showError = [this](const QString& text) { showError(text); };
    window.suggestedName = [this] { return m_panelValues[ReceiverSerial]->text(); };
    window.portLendable = [this] { return !m_parts->router || m_openedPort != m_emulatorPort; };
    m_profiles = std::make_unique<ProfileActions>(std::move(window));

    auto* save = new QAction(QStringLiteral("Save Profile..."), this);
    save->setObjectName(QStringLiteral("profileSave"));
    connect(save, &QAction::triggered, m_profiles.get(), &ProfileActions::saveProfile);
    addAction(save);
    auto* apply = new QAction(QStringLiteral("Apply Profile..."), this);
    apply->setObjectName(QStringLiteral("profileApply"));
    connect(apply, &QAction::triggered, m_profiles.get(), &ProfileActions::applyProfile);
    addAction(apply);
}

bool CKestravaDlg::saveSettings() {
    const IoResult result = m_settingsFile->save(m_settings);
    const QString path = QString::fromStdU16String(m_settingsFile->path().u16string());
    if (result.readOnly) {
        // The user made the file read-only so that it is not written: say so, no more.
        QMessageBox::warning(
            this, QStringLiteral("Kestrava"),
            translate(QStringLiteral("The settings were not saved: %1 is read-only.")).arg(path));
    } else if (!result.ok) {
        // Each line is its own key: a language file holds one text per line.
        QMessageBox::warning(
            this, QStringLiteral("Kestrava"),
            translate(QStringLiteral("The settings could not be saved to %1:")).arg(path) +
                QLatin1Char('\n') + QString::fromStdString(result.message) + QLatin1Char('\n') +
                translate(QStringLiteral("The previous file is unchanged.")));
    }
    return result.ok;
}

void CKestravaDlg::closeEvent(QCloseEvent* event) {
    saveSettings();
    QDialog::closeEvent(event);
}

void CKestravaDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Esc end the window without saving; the pages keep both keys to themselves.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CKestravaDlg::onOpenClicked() {
    if (m_watcher->watching()) {
        // Waiting for a lost receiver: Close gives up waiting.
        m_watcher->stop();
        m_reconnecting = false;
        m_exchange->ShowTip(QStringLiteral("Port closed"));
        m_openButton->setText(translate(QStringLiteral("Open")));
        MainWindowLayout::apply(*this);
        return;
    }
    if (m_exchange->portOpen()) {
        m_closingByUser = true;
        m_exchange->closePort();
        m_staticOnly = false;
        m_openButton->setText(translate(QStringLiteral("Open")));
        MainWindowLayout::apply(*this);
        return;
    }
    openDevice(m_portList->chosenDevice());
}

void CKestravaDlg::openDevice(const QString& name) {
    if (m_exchange->openPort(name)) {
        m_openedPort = name;
        markReceiverValuesUnread();
        m_closingByUser = false;
        m_openButton->setText(translate(QStringLiteral("Close")));
        MainWindowLayout::apply(*this);
    }
}

void CKestravaDlg::onUpdateClicked() {
    m_exchange->update();
}

void CKestravaDlg::onLanguageChanged(int index) {
    if (index < 0) {
        return;
    }
    const IoResult result = m_language->chooseLanguage(toU16(m_languageList->itemText(index)));
    if (result.readOnly && m_toldLanguageReadOnly) {
        relabel();
        return; // the user knows already, and chose so
    }
    m_toldLanguageReadOnly = m_toldLanguageReadOnly || result.readOnly;
    if (!result.ok) {
        QMessageBox::warning(this, QStringLiteral("Kestrava"),
                             translate(QStringLiteral("The language choice could not be saved:")) +
                                 QLatin1Char('\n') + QString::fromStdString(result.message));
    }
    relabel();
}

void CKestravaDlg::onTabChanged(int index) {
    if (m_staticOnly && index != kStaticTab && index != kBasicTab) {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(m_currentTab);
        return;
    }
    m_currentTab = index;
}

// ---- ExchangeView ---------------------------------------------------------------------------

void CKestravaDlg::setTipText(const QString& text) {
    m_tipLine->setText(text);
}

void CKestravaDlg::showMessage(const QString& text) {
    QMessageBox::information(this, QStringLiteral("Kestrava"), text);
}

void CKestravaDlg::showError(const QString& text) {
    QMessageBox::critical(this, QStringLiteral("Kestrava"), text);
}

void CKestravaDlg::portStateChanged(bool open) {
    const bool lost = !open && !m_closingByUser && !m_openedPort.isEmpty();
    m_closingByUser = false;
    m_openButton->setText(
        translate(open || lost ? QStringLiteral("Close") : QStringLiteral("Open")));
    if (lost) {
        // The device went away (its loss has been reported): wait for it to come back. The
        // button stays "Close", which gives up waiting.
        m_watcher->watch(m_openedPort);
        m_exchange->ShowTip(QStringLiteral("Receiver lost, waiting for it to come back..."));
    }
    if (!open && m_afterRelease) {
        // The port was let go for another user of the device: it is closed now.
        QTimer::singleShot(0, this, [after = std::move(m_afterRelease)] { after(); });
        m_afterRelease = {};
    }
    if (!open) {
        m_position->Clear();
        // Nothing of the receiver that was there may lock the tabs or grey the rows of the next.
        m_staticOnly = false;
        for (int id = 1073; id <= 1078; ++id) {
            if (auto* widget =
                    findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly)) {
                widget->setEnabled(true);
            }
        }
    }
    MainWindowLayout::apply(*this);
}

void CKestravaDlg::onDeviceReturned(const QString& portName) {
    if (m_exchange->portOpen()) {
        // Opened again meanwhile (a baud-rate change that took a moment): nothing to wait for.
        m_watcher->stop();
        m_openButton->setText(translate(QStringLiteral("Close")));
        return;
    }
    if (!m_exchange->openPort(portName, false)) {
        return; // not ready yet: the watcher reports it again at its next look
    }
    m_watcher->stop();
    m_reconnecting = true;
    markReceiverValuesUnread();
    m_openButton->setText(translate(QStringLiteral("Close")));
    MainWindowLayout::apply(*this);
}

void CKestravaDlg::onMainInfoChainEnded(bool mainInfoArrived) {
    if (!m_reconnecting) {
        return;
    }
    m_reconnecting = false;
    if (mainInfoArrived) {
        m_exchange->ShowTip(QStringLiteral("Receiver reconnected, main information read again"));
    }
}

void CKestravaDlg::clearMainInfo() {
    for (QLabel* value : m_panelValues) {
        value->clear();
    }
}

void CKestravaDlg::showMainInfo(const MainInfoPanel& panel) {
    const Byte code = panel.receiverTypeCode;
    m_basePage->ShowBaseVariant(code);
    m_expandPage->ShowExpandVariant(code);
    m_staticPage->AdaptToReceiver(code, m_exchange->decoderState().mainInfo.byte16);
    m_expandPage->ShowBands(panel.moduleCode, panel.band2g, panel.band3g);

    m_panelValues[ReceiverVersion]->setText(panel.receiverVersion);
    m_panelValues[ReceiverSerial]->setText(panel.receiverSerial);
    m_panelValues[BoardType]->setText(panel.motherboardType);
    m_panelValues[ModuleName]->setText(panel.moduleName);
    if (panel.moduleFirmwareVersion) {
        m_panelValues[ModuleFirmware]->setText(*panel.moduleFirmwareVersion);
    }
    if (panel.moduleHardwareVersion) {
        m_panelValues[ModuleHardware]->setText(*panel.moduleHardwareVersion);
    }
    if (panel.staticOnly) {
        m_staticOnly = true;
    }
    for (int id = 1073; id <= 1078; ++id) {
        if (auto* widget = findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly)) {
            widget->setEnabled(!m_staticOnly);
        }
    }
    if (m_staticOnly && m_tabs->count() > kBasicTab) {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(kStaticTab);
        m_currentTab = kStaticTab;
    }
}

void CKestravaDlg::showMotherboard(const QString& serial, const QString& version) {
    m_panelValues[BoardSerial]->setText(serial);
    m_panelValues[BoardVersion]->setText(version);
}

void CKestravaDlg::addFileRows(const QList<FileRowText>& rows) {
    m_staticPage->AppendFileRows(rows);
}

void CKestravaDlg::advanceDownload(std::size_t bytesWritten) {
    m_staticPage->AddDownloadProgress(static_cast<std::int64_t>(bytesWritten));
}

void CKestravaDlg::endDownload() {
    m_staticPage->ResetDownload();
}

void CKestravaDlg::echoReceived(const std::uint8_t* bytes, std::size_t count) {
    m_expandPage->EchoReceived(reinterpret_cast<const char*>(bytes), count);
    m_position->Feed(bytes, count);
}

} // namespace kestrava
