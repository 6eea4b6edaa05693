#pragma once

#include "pages/TabPage.h"
#include "protocol/ChannelTable.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QResizeEvent;
class QTreeWidget;

namespace kestrava {

// The "Radio" tab page: the internal UHF radio's 16-channel frequency table and its air baud
// rate. Its buttons do their work through the page host: the port check, the frequency rule,
// storing the table into the settings and the radio commands. Frequencies are edited in place:
// a double click on a transmit or receive cell opens an editor over it, and a text is written
// into its cell only once it passes the frequency rule.
class CDialogRadioManager : public TabPage {
    Q_OBJECT

public:
    static constexpr int kChannels = 16;

    explicit CDialogRadioManager(QWidget* parent = nullptr);

    // "460M" checked, air baud list "9600", "19200" without a selection, the channel list with
    // its three columns and 16 rows "00".."15" reading "000.000".
    void InitRadioPage();
    void ApplyRadioTexts();
    // Writes every channel's transmit and receive frequency as "%.3f".
    void ShowChannelTable(const ChannelTable& table);
    // Marks the channel table as not read from this receiver (or takes the mark off).
    void MarkChannelsUnread(bool unread);
    // The same for the air baud rate kept from the last session.
    void MarkAirBaudUnread(bool unread);
    // Selects "19200" for 19200 baud and "9600" for any other rate.
    void ShowAirBaud(int rate);

    // The list's text of one cell: column 0 channel number, 1 transmit, 2 receive frequency.
    QString CellText(int row, int column) const;
    bool Is460Band() const;
    // Selected index of the air baud list; -1 when nothing is selected.
    int AirBaudIndex() const;

    // Enables or disables every button that sends (disabled while a firmware update runs).
    void EnableCommandControls(bool enable);

    // The cell being edited: row and column, both -1 when none.
    int EditRow() const { return m_editRow; }
    int EditColumn() const { return m_editColumn; }

    // Double click on a cell of the list (the list's own double click calls it): starts editing
    // a transmit or receive cell, once the cell being edited (if any) has been committed.
    void StartCellEdit(int row, int column);

protected:
    // The cell editor follows its cell when the page is laid out anew.
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnConnectRadio();
    void OnReadCurrentFreq();
    void OnReadDefaultFreq();
    void OnSetFreq();
    void OnReadAirBaud();
    void OnSetAirBaud();
    // Whether the port is open; tells the user to open it when it is not.
    bool PortReady();
    // Writes the editor's text into the cell being edited when it passes the frequency rule;
    // shows the format message and fails when it does not. Succeeds when no cell is edited.
    bool CommitCellEdit();
    void PlaceEditor();

    QPushButton* m_connect = nullptr;
    QTreeWidget* m_channels = nullptr;
    QPushButton* m_readCurrent = nullptr;
    QPushButton* m_setFreq = nullptr;
    QPushButton* m_readDefault = nullptr;
    QRadioButton* m_band460 = nullptr;
    QRadioButton* m_band230 = nullptr;
    QLineEdit* m_cellEditor = nullptr;
    QComboBox* m_airBaud = nullptr;
    QPushButton* m_readAirBaud = nullptr;
    QPushButton* m_setAirBaud = nullptr;
    int m_editRow = -1;
    int m_editColumn = -1;
};

} // namespace kestrava
