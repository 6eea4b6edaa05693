#pragma once

#include "exchange/RequestArguments.h"
#include "exchange/RequestOutcome.h"
#include "settings/SettingTable.h"

namespace kestrava {

class PageHost;

// The Read and Set buttons of the page rows that are one setting group each: they send the
// group's read command, and its set command with what the page's form made of the row. onDone
// hears what became of the command (the page fills its widgets from a read's reply).
class SettingRows {
public:
    static void read(PageHost& host, SettingGroupId group, RequestDone onDone = {});
    static void set(PageHost& host, SettingGroupId group, const RequestArguments& arguments,
                    RequestDone onDone = {});
};

} // namespace kestrava
