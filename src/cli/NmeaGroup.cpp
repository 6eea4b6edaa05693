#include "cli/NmeaGroup.h"

#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "forms/NmeaForm.h"

namespace kestrava {
namespace {

constexpr const char* kName = "OtherParams.NMEA";
// The board does not answer its output commands; the port is given this long to send them
// before it is closed.
constexpr int kDrainMs = 300;

} // namespace

std::vector<SettingKey> NmeaGroup::keys() const {
    return {{"OtherParams", "NMEA",
             "NMEA output, 16 digits: port (0 COM1, 1 COM2), clear all first (0/1), then for GGA, "
             "GSV, RMC, GSA, VTG, ZDA, GST on/off (0/1) and rate (0..5: 1, 2, 5, 10, 0.5, 0.2 s)",
             false}};
}

CliOutcome NmeaGroup::read(ReceiverSession&, SettingValues&) {
    return {};
}

CliOutcome NmeaGroup::check(const SettingValues& values) const {
    const auto found = values.find(kName);
    if (found == values.end()) {
        return {};
    }
    const FormResult<NmeaOutputChoice> choice =
        NmeaForm::parse(QString::fromStdString(found->second));
    return choice.ok() ? CliOutcome{} : CliOutcome{kCliRefused, choice.refusal().toStdString()};
}

CliOutcome NmeaGroup::write(ReceiverSession& session, const SettingValues& values) {
    const auto found = values.find(kName);
    if (found == values.end()) {
        return {};
    }
    const FormResult<NmeaOutputChoice> choice =
        NmeaForm::parse(QString::fromStdString(found->second));
    if (!choice.ok()) {
        return {kCliRefused, choice.refusal().toStdString()};
    }
    session.settings().nmea = choice.record();
    session.view().messages.clear();
    bool sent = false;
    session.exchange().request(CommandId::SetNmeaOutput,
                               requestargs::SetNmeaOutput{choice.record()},
                               [&sent](const RequestOutcome& outcome) {
                                   sent = outcome.result == RequestOutcome::Result::Sent;
                               });
    if (!sent) {
        const QStringList& boxes = session.view().messages;
        return {kCliRefused, boxes.isEmpty() ? std::string("Please open port first")
                                             : boxes.last().toStdString()};
    }
    session.pause(kDrainMs);
    return {kCliOk, "NMEA output sent"};
}

} // namespace kestrava
