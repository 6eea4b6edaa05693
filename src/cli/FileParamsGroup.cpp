#include "cli/FileParamsGroup.h"

#include "cli/ReceiverSession.h"
#include "cli/StaticGroupSupport.h"
#include "exchange/CommandExchange.h"
#include "forms/FormText.h"
#include "forms/StaticForm.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {
const char* const kPrefix = "FileParams.FilePrefix";
const char* const kSerial = "FileParams.FileSN";
} // namespace

std::vector<SettingKey> FileParamsGroup::keys() const {
    return {{"FileParams", "FilePrefix", "empty, or one letter, digit or underscore", true},
            {"FileParams", "FileSN", "file serial number, 0-999 (at most 3 digits)", true,
             SettingCompare::Number}};
}

CliOutcome FileParamsGroup::read(ReceiverSession& session, SettingValues& values) {
    CommandExchange& exchange = session.exchange();
    if (!session.request([&] { exchange.request(CommandId::ReadFileNaming); }, {KindFileNaming}) ||
        !session.view().fileNaming) {
        return StaticGroupSupport::noReply();
    }
    values[kPrefix] = session.view().fileNaming->first.toStdString();
    values[kSerial] = session.view().fileNaming->second.toStdString();
    return {};
}

CliOutcome FileParamsGroup::check(const SettingValues& values) const {
    const auto form = StaticForm::naming(StaticGroupSupport::text(values, kPrefix),
                                         StaticGroupSupport::text(values, kSerial));
    return form.ok() ? CliOutcome{} : StaticGroupSupport::refused(form.refusal());
}

CliOutcome FileParamsGroup::write(ReceiverSession& session, const SettingValues& values) {
    const auto form = StaticForm::naming(StaticGroupSupport::text(values, kPrefix),
                                         StaticGroupSupport::text(values, kSerial));
    if (!form.ok()) {
        return StaticGroupSupport::refused(form.refusal());
    }
    const StaticForm::Naming& record = form.record();
    session.settings().filePrefix = FormText::bytes(record.prefix);
    session.settings().fileSn = FormText::bytes(record.serial);
    CommandExchange& exchange = session.exchange();
    // The receiver's confirmation is followed by a read of what it now holds.
    if (!session.request(
            [&] {
                exchange.request(RequestChain::FileNaming,
                                 requestargs::SetFileNaming{record.prefix, record.serial});
            },
            {KindFileNaming})) {
        return StaticGroupSupport::noReply();
    }
    return {};
}

} // namespace kestrava
