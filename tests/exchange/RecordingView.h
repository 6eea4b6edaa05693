#pragma once

#include "exchange/ExchangeView.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>

namespace kestrava::test {

// An ExchangeView that remembers what it was shown.
class RecordingView : public ExchangeView {
public:
    void setTipText(const QString& text) override {
        tip = text;
        tips.append(text);
    }
    void showMessage(const QString& text) override { messages.append(text); }

    void clearMainInfo() override {
        panel.reset();
        motherboardSerial.clear();
        motherboardVersion.clear();
        ++mainInfoClears;
    }
    void showMainInfo(const MainInfoPanel& shown) override { panel = shown; }
    void showMotherboard(const QString& serial, const QString& version) override {
        motherboardSerial = serial;
        motherboardVersion = version;
    }

    void addFileRows(const QList<FileRowText>& rows) override { fileRows.append(rows); }
    void advanceDownload(std::size_t bytesWritten) override {
        downloaded += bytesWritten;
        ++blocks;
    }
    void endDownload() override { ++downloadEnds; }
    void echoReceived(const std::uint8_t*, std::size_t count) override { echoed += count; }

    QString tip;
    QStringList tips;
    QStringList messages;
    std::optional<MainInfoPanel> panel;
    int mainInfoClears = 0;
    QString motherboardSerial;
    QString motherboardVersion;
    QList<FileRowText> fileRows;
    std::size_t downloaded = 0;
    int blocks = 0;
    int downloadEnds = 0;
    std::size_t echoed = 0;
};

} // namespace kestrava::test
