// Renders every page and popup dialog, in the state start-up leaves them and in a few receiver
// variants, into PNG files, so that the layouts can be judged by eye. Not part of the test run.
//   kestrava_page_shots <output folder>
#include "pages/CDialogAPN.h"
#include "pages/CDialogBase.h"
#include "pages/CDialogDataOutSet.h"
#include "pages/CDialogExpand.h"
#include "pages/CDialogNETWORK.h"
#include "pages/CDialogRadioManager.h"
#include "pages/CDialogStaticManager.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QPixmap>
#include <QTabWidget>

#include <cstdio>

using namespace kestrava;

namespace {

// The tab control's page area of the main window, in pixels at a 9-point font.
constexpr int kPageWidth = 474;
constexpr int kPageHeight = 420;

void Save(QWidget& widget, const QString& folder, const QString& name, bool pageSize) {
    if (pageSize) {
        widget.resize(kPageWidth, kPageHeight);
    } else {
        widget.adjustSize();
    }
    widget.show();
    QApplication::processEvents();
    const QSize hint = widget.minimumSizeHint();
    std::printf("%-22s size %dx%d, minimum %dx%d\n", qPrintable(name), widget.width(),
                widget.height(), hint.width(), hint.height());
    widget.grab().save(QDir(folder).filePath(name + ".png"));
    widget.hide();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Arial"), 9));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    CDialogNETWORK net;
    net.FillNetLists();
    net.ApplyNetTexts();
    NetParams params;
    params.apnName = "CMNET";
    params.phoneNumber = "01234567";
    params.ip = {192, 0, 0, 0};
    params.port = 2101;
    params.sourceNode = "RTCM";
    params.groupId1 = 1;
    params.groupId2 = 1;
    params.userId = 1;
    net.ShowNetParams(params);
    Save(net, folder, "net", true);

    CDialogRadioManager radio;
    radio.InitRadioPage();
    radio.ApplyRadioTexts();
    Save(radio, folder, "radio", true);
    // The same page with a receive frequency being edited in place.
    radio.resize(kPageWidth, kPageHeight);
    radio.show();
    QApplication::processEvents();
    radio.StartCellEdit(2, 2);
    Save(radio, folder, "radio_editing", true);

    CDialogStaticManager staticPage;
    staticPage.InitStaticPage();
    staticPage.ShowCollectParams(1, 10);
    std::vector<FileListRow> rows(3);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].name = "RAW0000" + std::to_string(i) + ".DAT";
        rows[i].sizeText = "1234K";
        rows[i].year = 2026;
        rows[i].month = 12;
        rows[i].day = 8;
        rows[i].hour = 17;
        rows[i].minute = 30;
    }
    staticPage.AppendFiles(rows);
    Save(staticPage, folder, "static", true);
    staticPage.AdaptToReceiver('Z', 27);
    Save(staticPage, folder, "static-Z", true);

    CDialogBase basic;
    basic.ApplyBaseTexts();
    Save(basic, folder, "basic", true);
    basic.ShowBaseVariant('Z');
    Save(basic, folder, "basic-Z", true);

    CDialogExpand expand;
    expand.InitExpandPage();
    expand.ApplyExpandTexts();
    expand.ShowVoiceParams(2, 10);
    expand.FillBandLists(9, 0, 3);
    const std::string echo =
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
    expand.EchoReceived(echo.data(), echo.size());
    Save(expand, folder, "advanced", true);
    expand.ShowExpandVariant('4');
    expand.FillBandLists(6, 7, 0);
    Save(expand, folder, "advanced-4", true);

    CDialogAPN apn;
    apn.SetApnLogin("user", "password");
    Save(apn, folder, "apn", false);

    CDialogDataOutSet dataOut;
    dataOut.ShowChoice(NmeaOutputChoice{});
    Save(dataOut, folder, "dataout", false);

    // The pages as the main window shows them: inside a tab control.
    QTabWidget tabs;
    auto* tabNet = new CDialogNETWORK;
    tabNet->FillNetLists();
    tabNet->ApplyNetTexts();
    tabNet->ShowNetParams(params);
    tabs.addTab(tabNet, QStringLiteral("Net"));
    tabs.addTab(new CDialogRadioManager, QStringLiteral("Radio"));
    tabs.resize(kPageWidth + 6, kPageHeight + 28);
    Save(tabs, folder, "tabs", false);
    return 0;
}
