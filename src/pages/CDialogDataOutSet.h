#pragma once

#include "pages/CaptionTable.h"
#include "pages/PageTranslator.h"
#include "protocol/NmeaOutputChoice.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace kestrava {

// The modal "Data" dialog: which NMEA sentences the receiver's board outputs on COM1 or COM2
// and how often. It shows a choice and, after "Set" (accepted), gives back the choice its
// controls hold; it never changes the stored choice itself, so "Cancel" changes nothing.
class CDialogDataOutSet : public QDialog {
    Q_OBJECT

public:
    explicit CDialogDataOutSet(PageTranslator translate = {}, QWidget* parent = nullptr);

    // Shows `stored`: COM1 for port byte 0, else COM2; a rate index outside the list shows "1".
    void ShowChoice(const NmeaOutputChoice& stored);
    // The choice the controls hold, in record order (GGA, GSV, RMC, GSA, VTG, ZDA, GST).
    NmeaOutputChoice Choice() const;
    void ApplyDataOutTexts();
    // Gives the dialog and every control on it the font (the chosen language's).
    void SetControlFont(const QFont& font);

private:
    struct SentenceRow {
        QCheckBox* on = nullptr;
        QComboBox* rate = nullptr;
    };

    PageTranslator m_translate;
    CaptionTable m_captions;
    QRadioButton* m_com1 = nullptr;
    QRadioButton* m_com2 = nullptr;
    QCheckBox* m_clearAll = nullptr;
    std::array<SentenceRow, NmeaOutputChoice::kSentences> m_rows{}; // in record order
};

} // namespace kestrava
