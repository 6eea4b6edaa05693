#pragma once

#include "pages/TabPage.h"

#include <cstddef>

class QEvent;

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;

namespace kestrava {

// The "Advanced" tab page: voice prompts (on/off buttons or a voice type list with a volume
// slider, by receiver), the GPRS/3G module band lists, the data output dialog, the signal test
// toggle and a display that echoes what the receiver sends. Its buttons do their work through
// the page host: the port check, the question, storing into the settings and the commands.
class CDialogExpand : public TabPage {
    Q_OBJECT

public:
    static constexpr int kDisplayLimit = 4000;

    explicit CDialogExpand(QWidget* parent = nullptr);

    // Signal test off, voice list filled with "User Defined" selected, "Disable Static Voice"
    // hidden, slider 1..10, and the variant of a 'Q' receiver.
    void InitExpandPage();
    // Every caption (the two toggles by their state) and the voice list in the current language,
    // keeping its selection ("Default" when there was none).
    void ApplyExpandTexts();
    // Below 'Q': the "Enable"/"Disable" buttons; otherwise the voice list, its Read and Set and
    // the slider.
    void ShowExpandVariant(Byte receiverTypeCode);
    // Fills both band lists for the module (3 UC864, 9 HE910 with a 3G list; 4 GC864, 6 SL6087
    // without) and selects the indexes that fall inside them; -1 selects nothing. Any other
    // module leaves both lists empty and the 3G list as shown or hidden before.
    void FillBandLists(int moduleCode, int index2G, int index3G);
    // The bands the receiver reported (below zero: not read yet) in the lists, and kept in the
    // settings.
    void ShowBands(int moduleCode, int band2G, int band3G);
    // Voice code 0 shows "Disable Voice", 3 "User Defined", any other "Default"; a volume
    // outside 1..10 leaves the slider where it is.
    void ShowVoiceParams(int voiceCode, int volume);
    // Marks the voice type and volume as not read from this receiver (or takes the mark off).
    void MarkVoiceUnread(bool unread);
    // Appends a received chunk (the receiver's 8-bit code page) to the display; nothing while
    // the display is paused or disabled. Past 4000 characters the display starts over empty.
    void EchoReceived(const char* bytes, std::size_t count);

    // The voice code that "Set" stores for a list item: "Disable Voice" 0, "User Defined" 3,
    // "Default" 2 on a 'Z' receiver or an E variant and 1 otherwise; 2 without a selection.
    static int VoiceCodeForItem(int item, Byte receiverTypeCode, bool variantE);

    int VoiceItem() const;
    int Volume() const;
    int Band2GIndex() const;
    // 0 when the 3G list is hidden, else its selection (-1 for none).
    int Band3GIndex() const;
    bool Is3GListShown() const { return m_show3G; }
    bool IsDisplayOn() const { return m_displayOn; }
    QString DisplayText() const { return m_displayText; }
    bool IsSignalTestRunning() const { return m_signalTestRunning; }
    // Records whether the signal test runs and shows "Stop Test" or "Test GPRS SNR".
    void SetSignalTestRunning(bool running);

    // The buttons a firmware update locks, and the display box.
    void EnableCommandControls(bool enable);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the port is open; tells the user to open it when it is not.
    bool PortReady();
    void OnVoiceSwitch(bool on);
    void OnReadVoice();
    void OnSetVoice();
    void OnVolumeChosen();
    void OnReadBand();
    void OnSetBand();
    void OnDataOutput();
    void OnSignalTest();

    void FillVoiceList(int selected);
    // A band list item in the current language; the lists are relabelled in place.
    QString BandText(const QString& item) const;
    void ApplyBandTexts();
    void ApplyToggleTexts();
    void ClearDisplay();
    void ToggleDisplay();

    QPushButton* m_enableVoice = nullptr;
    QPushButton* m_disableVoice = nullptr;
    QPushButton* m_disableStaticVoice = nullptr;
    QComboBox* m_voiceType = nullptr;
    QPushButton* m_readVoice = nullptr;
    QPushButton* m_setVoice = nullptr;
    QSlider* m_volume = nullptr;
    QLabel* m_label3G = nullptr;
    QComboBox* m_band2G = nullptr;
    QComboBox* m_band3G = nullptr;
    QPushButton* m_readBand = nullptr;
    QPushButton* m_setBand = nullptr;
    QPushButton* m_dataOutput = nullptr;
    QPushButton* m_snrTest = nullptr;
    QPlainTextEdit* m_display = nullptr;
    QPushButton* m_clearDisplay = nullptr;
    QPushButton* m_pauseDisplay = nullptr;

    bool m_show3G = true;
    int m_bandModule = 0; // the module the band lists were filled for
    bool m_displayOn = true;
    bool m_signalTestRunning = false;
    QString m_displayText;
};

} // namespace kestrava
