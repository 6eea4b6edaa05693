#pragma once

#include "exchange/ExchangeView.h"
#include "pages/CDialogExpand.h"

#include <QString>
#include <QStringList>

namespace kestrava::test {

// What the window shows of the exchange for the Radio and Advanced pages: the pages fill their
// own widgets from their requests' outcomes.
class PagesView : public ExchangeView {
public:
    explicit PagesView(CDialogExpand& expand) : m_expand(expand) {}

    void setTipText(const QString& text) override { tip = text; }
    void showMessage(const QString& text) override { boxes.append(text); }
    void showMainInfo(const MainInfoPanel& panel) override {
        m_expand.ShowExpandVariant(panel.receiverTypeCode);
        m_expand.ShowBands(panel.moduleCode, panel.band2g, panel.band3g);
    }
    void echoReceived(const std::uint8_t* bytes, std::size_t count) override {
        m_expand.EchoReceived(reinterpret_cast<const char*>(bytes), count);
    }

    QString tip;
    QStringList boxes;

private:
    CDialogExpand& m_expand;
};

} // namespace kestrava::test
