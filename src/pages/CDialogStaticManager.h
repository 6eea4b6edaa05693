#pragma once

#include "exchange/ExchangeView.h"
#include "pages/TabPage.h"
#include "protocol/FileListRow.h"

#include <QList>

#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace kestrava {

// The "Static" tab page: raw data recording parameters (interval and cut-off, file naming,
// store location with RINEX, static voice) and the receiver's static files (list, delete,
// format, download with progress). It holds the download's and the pending delete's state for
// the reply handler; what its buttons do (port check, validation, storing, sending) is
// StaticPageHandlers, which it owns and which talks only to the page's host.
class CDialogStaticManager : public TabPage {
    Q_OBJECT

public:
    static constexpr int kDownloadProgressMax = 500;

    explicit CDialogStaticManager(QWidget* parent = nullptr);

    // File list columns, "FLASH" checked, interval list "1", "5", "10", "15", "30" with the first
    // selected, no download running.
    void InitStaticPage();
    // Every caption, the file list's column titles and the download button ("Stop Load" while a
    // download runs, else "Download Selected").
    void ApplyStaticTexts();

    void ShowCollectParams(int interval, int cutoff);
    // The groups of values a read fills.
    enum class StaticValues { Collect, Naming, Location, Rinex, StaticVoice, All };
    // Marks a group's values as not read from this receiver (or takes the mark off).
    void MarkStaticUnread(StaticValues which, bool unread);
    void ShowFileNaming(const ByteString& prefix, const ByteString& serialNumber);
    // Stored values: "SD Card" for a nonzero location, else "FLASH"; RINEX ticked when nonzero.
    void ShowStoredLocation(int location, int rinex);
    // A location read from the receiver: "SD Card" only for exactly 1, else "FLASH".
    void ShowReadLocation(int value);
    void SetRinexChecked(bool checked);
    void SetStaticVoiceChecked(bool checked);

    bool IsRinexChecked() const;
    bool IsStaticVoiceChecked() const;
    bool IsFlashSelected() const;
    QString IntervalText() const;
    QString CutoffText() const;
    QString PrefixText() const;
    QString SerialNumberText() const;

    // Enabling all commands again also enables both location buttons; disabling them (while a
    // firmware update runs) leaves the location buttons as they are.
    void EnableCommandControls(bool enable);
    // Shows and enables the controls for the connected receiver: the store-location row for
    // receivers that record to a card ('Q', 'R', 'Z', '['), the download controls for the others;
    // file management and naming disabled on static-only receivers ('4', '5', '6'); the static
    // voice row only when the main information's voice byte is 27.
    void AdaptToReceiver(Byte receiverTypeCode, Byte staticVoiceByte);

    // ---- file list ----
    // Empties the list and forgets a pending delete, whose indexes belonged to the old rows.
    void ClearFileList();
    // Appends one row per file: name, size text, and creation date and time in the user's
    // locale (short date, 24-hour time), formatted as every front end formats them.
    void AppendFiles(const std::vector<FileListRow>& rows);
    // Rows already formatted; each keeps its exact byte count for the download.
    void AppendFileRows(const QList<FileRowText>& rows);
    int FileCount() const;
    // Text of one cell: 0 file name, 1 size, 2 creation time.
    QString FileText(int row, int column) const;
    // The exact size the receiver listed for a row, or -1 when it is not known.
    std::int64_t FileSizeBytes(int row) const;
    // The name the receiver knows a row's file by (its name field, without the extension): what
    // download and delete commands carry. Rows added without one fall back to DownloadNameOf.
    QString FileCommandName(int row) const;
    // Indexes of the selected rows, ascending.
    std::vector<int> SelectedRows() const;

    // ---- pending delete ----
    void SetPendingDeleteRows(std::vector<int> rows);
    const std::vector<int>& PendingDeleteRows() const { return m_pendingDeleteRows; }
    // Removes the rows of the pending delete, highest index first so that the remaining indexes
    // stay valid, then forgets them. Indexes no longer in the list are skipped.
    void RemoveDeletedRows();
    void ForgetPendingDeleteRows();

    // ---- download ----
    // The name to ask the receiver for: the file name before its last full stop (empty when it
    // has none).
    static QString DownloadNameOf(const QString& fileName);
    // The size in KB from a size text such as "12K" (the letter in either case); 0 when the text
    // does not start with a number.
    static int ExpectedSizeOf(const QString& sizeText);

    // The path edit shows the chosen download target.
    void ShowDownloadPath(const QString& path);
    // A download to `savePath` begins: path shown, progress at 0, button "Stop Load".
    void BeginDownload(const QString& savePath, const QString& downloadName, int expectedSizeKb);
    // Counts `byteCount` more bytes written and moves the bar to received × 500 ÷ (expected KB ×
    // 1024); a position beyond 500, or an unknown expected size, leaves the bar where it is.
    void AddDownloadProgress(std::int64_t byteCount);
    // The download is over (done, failed or stopped): button "Download Selected", bar at 0.
    void ResetDownload();
    bool IsDownloading() const { return m_downloading; }
    QString SavePath() const { return m_savePath; }
    QString DownloadName() const { return m_downloadName; }
    int ExpectedSizeKb() const { return m_expectedSizeKb; }
    std::int64_t ReceivedTotal() const { return m_receivedTotal; }
    int DownloadProgress() const;

signals:
    void readCollectClicked();
    void setCollectClicked();
    void readNamingClicked();
    void setNamingClicked();
    void readLocationClicked();
    void setLocationClicked();
    void readStaticVoiceClicked();
    void setStaticVoiceClicked();
    void readFilesClicked();
    void formatClicked();
    void deleteSelectedClicked();
    void downloadClicked();

private:
    void ApplyDownloadButtonText();

    QComboBox* m_interval = nullptr;
    QLineEdit* m_cutoff = nullptr;
    QLineEdit* m_prefix = nullptr;
    QLineEdit* m_serialNumber = nullptr;
    QRadioButton* m_sdCard = nullptr;
    QRadioButton* m_flash = nullptr;
    QCheckBox* m_rinex = nullptr;
    QCheckBox* m_staticVoice = nullptr;
    QPushButton* m_readCollect = nullptr;
    QPushButton* m_setCollect = nullptr;
    QPushButton* m_readNaming = nullptr;
    QPushButton* m_setNaming = nullptr;
    QPushButton* m_readLocation = nullptr;
    QPushButton* m_setLocation = nullptr;
    QPushButton* m_readVoice = nullptr;
    QPushButton* m_setVoice = nullptr;
    QLabel* m_locationLabel = nullptr;
    QLabel* m_soundLabel = nullptr;

    QTreeWidget* m_files = nullptr;
    QPushButton* m_readFiles = nullptr;
    QPushButton* m_format = nullptr;
    QPushButton* m_deleteSelected = nullptr;
    QPushButton* m_download = nullptr;
    QLabel* m_pathLabel = nullptr;
    QLineEdit* m_path = nullptr;
    QProgressBar* m_progress = nullptr;

    bool m_downloading = false;
    QString m_savePath;
    QString m_downloadName;
    int m_expectedSizeKb = 0;
    std::int64_t m_receivedTotal = 0;
    std::vector<int> m_pendingDeleteRows;
};

} // namespace kestrava
