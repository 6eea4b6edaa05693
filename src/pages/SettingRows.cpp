#include "pages/SettingRows.h"

#include "exchange/ExchangeRequests.h"
#include "pages/PageHost.h"

#include <utility>

namespace kestrava {

void SettingRows::read(PageHost& host, SettingGroupId group, RequestDone onDone) {
    if (const auto command = SettingTable::group(group).read) {
        host.exchange().request(*command, requestargs::NoArguments{}, std::move(onDone));
    }
}

void SettingRows::set(PageHost& host, SettingGroupId group, const RequestArguments& arguments,
                      RequestDone onDone) {
    if (const auto command = SettingTable::group(group).set) {
        host.exchange().request(*command, arguments, std::move(onDone));
    }
}

} // namespace kestrava
