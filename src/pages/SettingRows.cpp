#include "pages/SettingRows.h"

#include "exchange/ExchangeRequests.h"
#include "pages/PageHost.h"

namespace kestrava {

void SettingRows::read(PageHost& host, SettingGroupId group) {
    if (const auto command = SettingTable::group(group).read) {
        host.exchange().request(*command, requestargs::NoArguments{});
    }
}

void SettingRows::set(PageHost& host, SettingGroupId group, const RequestArguments& arguments) {
    if (const auto command = SettingTable::group(group).set) {
        host.exchange().request(*command, arguments);
    }
}

} // namespace kestrava
