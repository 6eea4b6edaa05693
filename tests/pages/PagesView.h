#pragma once

#include "exchange/ExchangeView.h"
#include "pages/CDialogExpand.h"
#include "pages/CDialogRadioManager.h"

#include <QString>
#include <QStringList>

namespace kestrava::test {

// What the window does with the exchange's replies for the Radio and Advanced pages.
class PagesView : public ExchangeView {
public:
    PagesView(CDialogRadioManager& radio, CDialogExpand& expand)
        : m_radio(radio), m_expand(expand) {}

    void setTipText(const QString& text) override { tip = text; }
    void showMessage(const QString& text) override { boxes.append(text); }
    void showMainInfo(const MainInfoPanel& panel) override {
        m_expand.ShowExpandVariant(panel.receiverTypeCode);
    }
    void showRadioChannels(const ChannelTable& table) override { m_radio.ShowChannelTable(table); }
    void showAirBaud(int rate) override { m_radio.ShowAirBaud(rate); }
    void showNetBand(int module, int band2g, int band3g) override {
        m_expand.FillBandLists(module, band2g, band3g);
    }
    void showVoiceParams(int voice, int volume) override {
        m_expand.ShowVoiceParams(voice, volume);
    }
    void echoReceived(const std::uint8_t* bytes, std::size_t count) override {
        m_expand.EchoReceived(reinterpret_cast<const char*>(bytes), count);
    }

    QString tip;
    QStringList boxes;

private:
    CDialogRadioManager& m_radio;
    CDialogExpand& m_expand;
};

} // namespace kestrava::test
