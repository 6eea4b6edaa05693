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
// line, message boxes, the panel, what the pages would be filled with) so the verbs can print it
// or wait for it. Every callback overwrites the value it carries; a verb clears what it waits for
// before it sends.
class ConsoleView : public ExchangeView {
public:
    void setTipText(const QString& text) override { tip = text; }
    void showMessage(const QString& text) override { messages.append(text); }
    void portStateChanged(bool open) override { portOpen = open; }
    void clearMainInfo() override { panel.fill(QString()); }
    void showMainInfo(const MainInfoPanel& info) override;
    void showMotherboard(const QString& serial, const QString& version) override;

    void showRadioChannels(const ChannelTable& table) override { channels = table; }
    void showAirBaud(int bitsPerSecond) override { airBaud = bitsPerSecond; }
    void showNetParams(const NetParams& params) override { net = params; }
    void showApnParams(const QString& user, const QString& password) override;
    void showCollectParams(int intervalSeconds, int cutoffDegrees) override;
    void showStoreLocation(bool storageCard) override { storeLocationCard = storageCard; }
    void showFileNaming(const QString& prefix, const QString& serial) override;
    void setRinexChecked(bool on) override { rinex = on; }
    void setStaticVoiceChecked(bool on) override { staticVoice = on; }
    void addFileRows(const QList<FileRowText>& rows) override { fileRows.append(rows); }
    void clearFileList() override { fileRows.clear(); }
    void advanceDownload(std::size_t bytesWritten) override { downloaded += bytesWritten; }
    void endDownload() override { downloadEnded = true; }
    void showNetBand(int moduleCode, int band2g, int band3g) override;
    void showVoiceParams(int voiceType, int volume) override;
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

    std::optional<ChannelTable> channels;
    std::optional<int> airBaud;
    std::optional<NetParams> net;
    std::optional<std::pair<QString, QString>> apn;
    std::optional<std::pair<int, int>> collect;
    std::optional<bool> storeLocationCard;
    std::optional<std::pair<QString, QString>> fileNaming;
    std::optional<bool> rinex;
    std::optional<bool> staticVoice;
    QList<FileRowText> fileRows;
    std::size_t downloaded = 0;
    bool downloadEnded = false;
    struct Band {
        int moduleCode = 0;
        int band2g = 0;
        int band3g = 0;
    };
    std::optional<Band> band;
    std::optional<std::pair<int, int>> voice;
    QByteArray echoed;
};

} // namespace kestrava
