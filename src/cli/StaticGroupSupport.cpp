#include "cli/StaticGroupSupport.h"

#include "cli/ReceiverSession.h"

namespace kestrava {

QString StaticGroupSupport::text(const SettingValues& values, const char* name) {
    const auto found = values.find(name);
    return found == values.end() ? QString() : QString::fromStdString(found->second);
}

CliOutcome StaticGroupSupport::refused(const QString& english) {
    return {kCliRefused, english.toStdString()};
}

CliOutcome StaticGroupSupport::noReply() {
    return {kCliNoReply, ReceiverSession::silenceText()};
}

CliOutcome StaticGroupSupport::failed(const QString& english) {
    return {kCliFailed, english.toStdString()};
}

} // namespace kestrava
