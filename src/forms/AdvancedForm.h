#pragma once

#include "forms/FormResult.h"
#include "protocol/ProtocolTypes.h"

#include <QString>
#include <QStringList>

namespace kestrava {

// The net module's band lists for one module: the item index is what the band commands carry.
struct BandLists {
    QStringList band2G;
    QStringList band3G;
    bool known = false; // a module the lists are known for
    bool has3G = false; // the 3G list is offered
};

// The two band indexes to send.
struct BandChoice {
    Byte band2G = 0;
    Byte band3G = 0;
};

// The Advanced page's settings as chosen or typed: the voice type, the volume and the net module
// band.
class AdvancedForm {
public:
    static constexpr int kMinVolume = 1;
    static constexpr int kMaxVolume = 10;

    // The voice type code "Set" stores for an item of the voice list: "Disable Voice" 0,
    // "User Defined" 3, "Default" 2 on a 'Z' receiver or an E variant and 1 otherwise; 2 when
    // nothing is selected.
    static int voiceCodeForItem(int item, Byte receiverTypeCode, bool variantE);
    // The list item that shows a voice code: 0 for 0, 2 for 3, 1 ("Default") for any other.
    static int itemForVoiceCode(int code);
    // A typed voice type code, 0 to 3.
    static FormResult<Byte> voiceCode(const QString& text);
    // A typed volume, 1 to 10.
    static FormResult<Byte> volume(const QString& text);

    // The band lists of a module (3 UC864, 9 HE910 with a 3G list; 4 GC864, 6 SL6087 without);
    // nothing known for any other module.
    static BandLists bandLists(int moduleCode);
    // The indexes chosen in the lists of the module: the 2G index must lie in the 2G list and,
    // when the module has a 3G list, the 3G index in that; otherwise 0 is sent for 3G. -1 stands
    // for no selection.
    static FormResult<BandChoice> band(int moduleCode, int index2G, int index3G);
    // The same for typed indexes.
    static FormResult<BandChoice> band(int moduleCode, const QString& index2G,
                                       const QString& index3G);
};

} // namespace kestrava
