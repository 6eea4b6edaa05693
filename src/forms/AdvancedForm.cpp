#include "forms/AdvancedForm.h"

#include <QtGlobal>

#include "forms/FormText.h"
#include "settings/InputRules.h"

namespace kestrava {
namespace {

QString chooseBandMessage() {
    return QStringLiteral("Please choose baudrate to set");
}

// A typed index: digits only, at most 255 (what one byte of the command carries); -1 otherwise.
int typedIndex(const QString& text) {
    return IntegerRangeRule(FormText::view(text), 0, 255, true) ? text.toInt() : -1;
}

} // namespace

int AdvancedForm::voiceCodeForItem(int item, Byte receiverTypeCode, bool variantE) {
    switch (item) {
    case 0:
        return 0;
    case 1:
        return receiverTypeCode == 'Z' || variantE ? 2 : 1;
    case 2:
        return 3;
    default:
        return 2;
    }
}

int AdvancedForm::itemForVoiceCode(int code) {
    if (code == 0) {
        return 0;
    }
    return code == 3 ? 2 : 1;
}

FormResult<Byte> AdvancedForm::voiceCode(const QString& text) {
    if (!IntegerRangeRule(FormText::view(text), 0, 3, true)) {
        return FormResult<Byte>::refuse(
            QStringLiteral("The voice type must be 0 (disabled), 1 or 2 (default) or 3 (user "
                           "defined)"));
    }
    return FormResult<Byte>::accept(static_cast<Byte>(text.toInt()));
}

FormResult<Byte> AdvancedForm::volume(const QString& text) {
    if (!IntegerRangeRule(FormText::view(text), kMinVolume, kMaxVolume, true)) {
        return FormResult<Byte>::refuse(QStringLiteral("The volume must be from 1 to 10"));
    }
    return FormResult<Byte>::accept(static_cast<Byte>(text.toInt()));
}

BandLists AdvancedForm::bandLists(int moduleCode) {
    // The texts are the receiver maker's own, spelling included.
    switch (moduleCode) {
    case 3:
        return {{QT_TR_NOOP("GSM 900MHz + DCS 1800MHz"), QT_TR_NOOP("GSM 900MHz + PCS 1900MHz"),
                 QT_TR_NOOP("GMS 850MHz + PCS 1800MHz"), QT_TR_NOOP("GMS 850MH  + PCS 1900MHz")},
                {QT_TR_NOOP("2100MHz(FDD I)"), QT_TR_NOOP("1900MHz(FDD II)"),
                 QT_TR_NOOP("850MHz(FDD V)"),
                 QT_TR_NOOP("2100MHz(FDD I) + 1900MHz(FDD II) + 850MHz(FDD V)"),
                 QT_TR_NOOP("1900MHz(FDD II) + 850MHz(FDD V)"), QT_TR_NOOP("900MHz(FDD VIII)"),
                 QT_TR_NOOP("2100MHz(FDD I) + 900MHz(FDD VIII)")},
                true,
                true};
    case 9:
        return {{QT_TR_NOOP("GSM 900MHz + DCS 1800MHz"), QT_TR_NOOP("GSM 900MHz + PCS 1900MHz"),
                 QT_TR_NOOP("GMS 850MHz + DCS 1800MHz"), QT_TR_NOOP("GMS 850MH  + PCS 1900MHz")},
                {QT_TR_NOOP("1900/2100MHz(FDD I)"), "1900MHz(FDD II) ", " 850MHz(FDD V)",
                 QT_TR_NOOP("2100MHz(FDD I) + 1900MHz(FDD II) + 850MHz(FDD V)"),
                 QT_TR_NOOP("1900MHz(FDD II) + 850MHz(FDD V)"), QT_TR_NOOP("900MHz(FDD VIII)"),
                 QT_TR_NOOP("2100MHz(FDD I) + 900MHz(FDD VIII)"),
                 QT_TR_NOOP("1700/ 2100MHz(FDD IV, AWS)")},
                true,
                true};
    case 4:
        return {{QT_TR_NOOP("GSM 900MHz + DCS 1800MHz"), QT_TR_NOOP("GSM 900MHz + PCS 1900MHz"),
                 QT_TR_NOOP("GMS 850MHz + DCS 1800MHz"), QT_TR_NOOP("GMS 850MHz + PCS 1900MHz")},
                {},
                true,
                false};
    case 6:
        return {
            {QT_TR_NOOP("mono-band mode 850 MHz"), QT_TR_NOOP("mono-band mode 900 extended MHz"),
             QT_TR_NOOP("mono-band mode 1800 MHz"), QT_TR_NOOP("mono-band mode 1900 MHz"),
             QT_TR_NOOP("dual-band mode 850/1900 MHz"), QT_TR_NOOP("dual-band mode 900E/1800 MHz"),
             QT_TR_NOOP("dual-band mode 900E/1900 MHz"),
             QT_TR_NOOP("quad-band mode 850/900E/1800/1900 MHz")},
            {},
            true,
            false};
    default:
        return {};
    }
}

FormResult<BandChoice> AdvancedForm::band(int moduleCode, int index2G, int index3G) {
    const BandLists lists = bandLists(moduleCode);
    if (index2G < 0 || index2G >= lists.band2G.size()) {
        return FormResult<BandChoice>::refuse(chooseBandMessage());
    }
    BandChoice choice;
    choice.band2G = static_cast<Byte>(index2G);
    if (lists.has3G) {
        if (index3G < 0 || index3G >= lists.band3G.size()) {
            return FormResult<BandChoice>::refuse(chooseBandMessage());
        }
        choice.band3G = static_cast<Byte>(index3G);
    }
    return FormResult<BandChoice>::accept(choice);
}

FormResult<BandChoice> AdvancedForm::band(int moduleCode, const QString& index2G,
                                          const QString& index3G) {
    const BandLists lists = bandLists(moduleCode);
    // Without a 3G list the 3G index is not looked at: 0 is sent.
    return band(moduleCode, typedIndex(index2G), lists.has3G ? typedIndex(index3G) : 0);
}

} // namespace kestrava
