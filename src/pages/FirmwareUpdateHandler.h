#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

namespace kestrava {

class CDialogBase;
class FirmwareUpdater;

// The Basic page's firmware controls: "Choose File", "Start Update" (and "Stop Update" while the
// handshake waits for the receiver), the page tip, the progress bar and the closing box. It
// talks to the window only through the page's PageHost and drives the transfer through the
// FirmwareUpdater; both must outlive it.
class FirmwareUpdateHandler : public QObject {
    Q_OBJECT

public:
    // The filter of the file dialog: the two image kinds, then every file.
    static const QString kFileFilter;

    FirmwareUpdateHandler(CDialogBase& page, FirmwareUpdater& updater, QObject* parent = nullptr);

    void OnChooseFile();
    // Start: port open, the question, the file checks, the stored type and path, the handshake.
    // While the handshake waits, the same button ends the update.
    void OnStartUpdate();

private:
    void onRunningChanged(bool running);
    void onHandshakeAnswered();
    void onProgress(int position, std::int64_t sent, std::int64_t size);
    void onFinished(bool success, const QString& english);

    CDialogBase& m_page;
    FirmwareUpdater& m_updater;
};

} // namespace kestrava
