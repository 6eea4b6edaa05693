#pragma once

#include "exchange/ExchangeView.h"
#include "settings/StoredSettings.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace kestrava {

class CDialogBase;
class CDialogExpand;
class CDialogNETWORK;
class PositionPanel;
class CDialogRadioManager;
class CDialogStaticManager;
class CommandExchange;
class PortComboBox;
class PortWatcher;
class ProfileActions;
class LanguageManager;
class SettingsFile;
class WindowPageHost;
struct AppOptions;

// The main window: port selection and Open/Close, the receiver's main information panel, the
// five tab pages, the language list and the tip line. It owns the command exchange (and through
// it the serial port), the stored settings and the language manager, and shows on the exchange's
// behalf everything the exchange reports (it is the exchange's view).
class CKestravaDlg : public QDialog, public ExchangeView {
    Q_OBJECT

public:
    explicit CKestravaDlg(const AppOptions& options, QWidget* parent = nullptr);
    ~CKestravaDlg() override;

    // ExchangeView.
    void setTipText(const QString& text) override;
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    void portStateChanged(bool open) override;
    void clearMainInfo() override;
    void showMainInfo(const MainInfoPanel& panel) override;
    void showMotherboard(const QString& serial, const QString& version) override;
    void addFileRows(const QList<FileRowText>& rows) override;
    void advanceDownload(std::size_t bytesWritten) override;
    void endDownload() override;
    void echoReceived(const std::uint8_t* bytes, std::size_t count) override;

    // The English text through the chosen language.
    QString translate(const QString& english) const;

    // Where the settings files live (the executable's folder, or the user's configuration
    // folder when that cannot be written).
    QString settingsFolder() const { return m_settingsFolder; }
    const StoredSettings& storedSettings() const { return m_settings; }
    CommandExchange& exchange() { return *m_exchange; }
    ProfileActions& profiles() { return *m_profiles; }

    // Saves the settings file; a failure is shown to the user. Returns whether it was saved.
    bool saveSettings();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void createPages();
    void wireFirmwareUpdate();
    void fillLanguageList();
    void fillPortList();
    void relabel();
    void applyFont();
    void loadSettings();
    void markReceiverValuesUnread();
    void selectCurrentLanguage();
    void addAboutToSystemMenu();
    void addProfileActions();
    void openDevice(const QString& name);

    void onOpenClicked();
    void onUpdateClicked();
    void onLanguageChanged(int index);
    void onTabChanged(int index);
    void onDeviceReturned(const QString& portName);
    void onMainInfoChainEnded(bool mainInfoArrived);

    QLabel* addLabel(int id, int x, int y, int width, int height);

    QString m_settingsFolder;
    QString m_emulatorPort;
    std::unique_ptr<LanguageManager> m_language;
    std::unique_ptr<SettingsFile> m_settingsFile;
    StoredSettings m_settings;
    std::unique_ptr<CommandExchange> m_exchange;
    std::unique_ptr<WindowPageHost> m_pageHost;

    QTabWidget* m_tabs = nullptr;
    PortComboBox* m_portList = nullptr;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_updateButton = nullptr;
    QComboBox* m_languageList = nullptr;
    QLabel* m_tipLine = nullptr;
    std::array<QLabel*, 8> m_panelValues{};
    PositionPanel* m_position = nullptr;

    CDialogNETWORK* m_netPage = nullptr;
    CDialogRadioManager* m_radioPage = nullptr;
    CDialogStaticManager* m_staticPage = nullptr;
    CDialogBase* m_basePage = nullptr;
    CDialogExpand* m_expandPage = nullptr;

    int m_currentTab = 0;
    bool m_staticOnly = false;
    bool m_toldLanguageReadOnly = false; // a read-only langsetting.ini is mentioned once

    // Reconnecting after the device went away: the port the user opened last, whether the user
    // is closing it (so its closing is no loss), and whether a reconnect awaits its panel.
    PortWatcher* m_watcher = nullptr;
    std::unique_ptr<ProfileActions> m_profiles;
    std::function<void()> m_afterRelease; // once the port let go for a profile is closed
    QString m_openedPort;
    bool m_closingByUser = false;
    bool m_reconnecting = false;

    // The serial port with its exchange adapter, the timers and the message-box reporter.
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace kestrava
