#pragma once

#include "exchange/ExchangeView.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kestrava {

// The command-line tool's stand-in for the window: it keeps what the exchange shows (the tip
// line, message boxes, the port's state, the panel, the file list as its pages arrive, the
// download's progress, what the line delivered) so the verbs can print it or wait for it. What a
// command reads comes with its request's outcome instead. A verb clears what it waits for
// before it sends.
class ConsoleView : public ExchangeView {
public:
    void setTipText(const QString& text) override { tip = text; }
    void showMessage(const QString& text) override { messages.append(text); }
    void portStateChanged(bool open) override { portOpen = open; }
    void clearMainInfo() override { panel.fill(QString()); }
    void showMainInfo(const MainInfoPanel& info) override;
    void showMotherboard(const QString& serial, const QString& version) override;
    void addFileRows(const QList<FileRowText>& rows) override { fileRows.append(rows); }
    void advanceDownload(std::size_t bytesWritten) override { downloaded += bytesWritten; }
    void endDownload() override { downloadEnded = true; }
    void echoReceived(const std::uint8_t* bytes, std::size_t count) override;

    // The panel's labels, in the window's order.
    static constexpr const char* kPanelLabels[] = {
        "Receiver Version:",    "Receiver SN:", "Motherboard Type:",  "Motherboard SN:",
        "Motherboard Version:", "GPRS Module:", "Module FW Version:", "Module HW Version:"};

    QString tip;
    QStringList messages;
    std::optional<bool> portOpen;
    std::array<QString, 8> panel{};
    std::optional<MainInfoPanel> mainInfo;

    QList<FileRowText> fileRows;
    std::size_t downloaded = 0;
    bool downloadEnded = false;
    QByteArray echoed;
};

} // namespace kestrava
