#include "cli/PortCommands.h"

#include "exchange/CommandExchange.h"
#include "exchange/ExchangeView.h"
#include "exchange/QtReplyTimers.h"
#include "exchange/SerialExchangePort.h"
#include "serial/CSerialPort.h"
#include "serial/PortErrorReporter.h"
#include "serial/SerialPortList.h"
#include "settings/StoredSettings.h"

#include <QEventLoop>
#include <QTimer>

#include <array>

namespace kestrava {
namespace {

// The panel and the messages of one run, kept for printing.
class ConsoleView : public ExchangeView {
public:
    void setTipText(const QString& text) override { tip = text; }
    void showMessage(const QString& text) override { messages.append(text); }
    void clearMainInfo() override { values.fill(QString()); }
    void showMainInfo(const MainInfoPanel& panel) override {
        values[0] = panel.receiverVersion;
        values[1] = panel.receiverSerial;
        values[2] = panel.motherboardType;
        values[5] = panel.moduleName;
        if (panel.moduleFirmwareVersion) {
            values[6] = *panel.moduleFirmwareVersion;
        }
        if (panel.moduleHardwareVersion) {
            values[7] = *panel.moduleHardwareVersion;
        }
    }
    void showMotherboard(const QString& serial, const QString& version) override {
        values[3] = serial;
        values[4] = version;
    }

    QString tip;
    QStringList messages;
    std::array<QString, 8> values{};
};

class ConsoleReporter : public PortErrorReporter {
public:
    explicit ConsoleReporter(std::ostream& err) : m_err(err) {}
    void reportError(const QString& text, const QString& caption) override {
        m_err << caption.toStdString() << ": " << text.toStdString();
    }

private:
    std::ostream& m_err;
};

constexpr const char* kLabels[] = {
    "Receiver Version:",    "Receiver SN:", "Motherboard Type:",  "Motherboard SN:",
    "Motherboard Version:", "GPRS Module:", "Module FW Version:", "Module HW Version:"};

// Longer than the whole chain can take (3 s open wait, 3 s main information, 5 × 2 s board).
constexpr int kChainLimitMs = 30000;

} // namespace

int PortCommands::listPorts(std::ostream& out) {
    const auto ports = SerialPortList::available();
    if (ports.empty()) {
        out << "no serial ports found\n";
    }
    for (const auto& entry : ports) {
        out << entry.name.toStdString();
        if (!entry.description.isEmpty()) {
            out << "  " << entry.description.toStdString();
        }
        out << '\n';
    }
    return 0;
}

int PortCommands::info(const QString& device, std::ostream& out, std::ostream& err) {
    ConsoleReporter reporter(err);
    CSerialPort serial(&reporter);
    SerialExchangePort port(serial);
    QtReplyTimers timers;
    ConsoleView view;
    StoredSettings settings;
    CommandExchange exchange(port, timers, view, settings);

    QEventLoop loop;
    bool arrived = false;
    bool ended = false;
    QObject::connect(&exchange, &CommandExchange::mainInfoChainEnded, &loop,
                     [&](bool mainInfoArrived) {
                         arrived = mainInfoArrived;
                         ended = true;
                         loop.quit();
                     });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);

    if (!exchange.openPort(device)) {
        err << "kestrava-cli: cannot open " << device.toStdString() << " (Open fail)\n";
        return 2;
    }
    limit.start(kChainLimitMs);
    if (!ended) {
        loop.exec();
    }
    // Closing empties the panel, as the window's Close does: print what was read first.
    const std::array<QString, 8> values = view.values;
    exchange.closePort();
    if (!arrived) {
        err << "No reply from receiver\n";
        return 1;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        out << kLabels[i] << ' ' << values[i].toStdString() << '\n';
    }
    return 0;
}

} // namespace kestrava
