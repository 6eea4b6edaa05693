#pragma once

#include "protocol/ProtocolTypes.h"

#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kestrava {

// The main information panel as it is shown: every text final, ready for its label.
struct MainInfoPanel {
    QString receiverVersion; // version, "  E" or "  C", then "S" when the S flag is set
    QString receiverSerial;
    QString motherboardType; // "Novatel", "Trimble" or "Unknown"
    QString moduleName;      // "GR64" ... or "Unknown"; empty for a static-only receiver
    // Module versions: nothing when the receiver reports "0.0" (the label keeps what it showed),
    // an empty text for a static-only receiver (the label is emptied).
    std::optional<QString> moduleFirmwareVersion;
    std::optional<QString> moduleHardwareVersion;
    Byte receiverTypeCode = 0;
    bool staticOnly = false; // type '4', '5' or '6': module rows disabled, Static tab forced
    // The module, for the Advanced page's band lists, and the bands read so far (-1 before the
    // first band reply).
    int moduleCode = 0;
    int band2g = -1;
    int band3g = -1;
};

// One row of the static file list as the list shows it.
struct FileRowText {
    QString name;         // name, a full stop, extension
    QString downloadName; // the name field alone: what download and delete commands carry
    QString size;
    QString time;                // 24-hour, the system locale's time separator
    QString date;                // the system locale's short date
    std::uint32_t sizeBytes = 0; // the exact size the receiver reported
    QString isoDateTime;         // "2016-08-04T07:29:38"; empty when the date is impossible

    // The "CreateTime" column: the date, a blank, the time.
    QString createTime() const { return date + QLatin1Char(' ') + time; }
};

// What the command exchange shows whoever asked: the tip line, message boxes, the port's state,
// the main information panel, the file list and download as they go, the line's echo. A page's
// values come from its own request's outcome, not from here. The program implements it with its
// window and pages; tests and the command-line tool implement what they need. Texts handed in are
// final (already translated); the exchange never touches a widget.
class ExchangeView {
public:
    virtual ~ExchangeView() = default;

    // Tip line and message boxes.
    virtual void setTipText(const QString& text) = 0;
    virtual void showMessage(const QString& text) = 0; // a box with an OK button
    // A box with an OK button that reports a failure; shown as any other box unless overridden.
    virtual void showError(const QString& text) { showMessage(text); }

    // The port-closed notice has been handled: whether the port is open now (a re-opening at
    // another baud rate) or closed (closed by the user, or the device went away).
    virtual void portStateChanged(bool open) { (void)open; }

    // Main information panel.
    virtual void clearMainInfo() {}
    virtual void showMainInfo(const MainInfoPanel& panel) { (void)panel; }
    virtual void showMotherboard(const QString& serial, const QString& version) {
        (void)serial;
        (void)version;
    }

    // Static page: the file list's rows as each page of the list comes, and the download's
    // progress.
    virtual void addFileRows(const QList<FileRowText>& rows) { (void)rows; }
    virtual void advanceDownload(std::size_t bytesWritten) { (void)bytesWritten; }
    virtual void endDownload() {} // the page leaves its download state

    // What the receiver sent, as it came: the Advanced page's echo and the Position block.
    virtual void echoReceived(const std::uint8_t* bytes, std::size_t count) {
        (void)bytes;
        (void)count;
    }
};

} // namespace kestrava
