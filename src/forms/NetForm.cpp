#include "forms/NetForm.h"

#include "forms/FormText.h"
#include "settings/InputRules.h"
#include "settings/TextNumbers.h"

#include <QStringList>

namespace kestrava {

namespace {

constexpr int kUserGroupDigits = 7;
constexpr int kSubGroupDigits = 3;

// The number formed by text, as the receiver's fields take it: its leading decimal value, 0 for
// a text that does not start with one.
std::int32_t numberOf(const QString& text) {
    return LeadingDecimal(FormText::view(text));
}

bool isNumber(const QString& text, std::int32_t minimum, std::int32_t maximum) {
    return IntegerRangeRule(FormText::view(text), minimum, maximum, true);
}

} // namespace

FormResult<NetParams> NetForm::validate(const Input& input) {
    using Result = FormResult<NetParams>;
    const QString userName = input.userName.trimmed();
    const QString password = input.password.trimmed();
    const QString userGroupId = input.userGroupId.trimmed();
    const QString subGroupId = input.subGroupId.trimmed();

    if (input.netMode == kVrs) {
        if (userName.isEmpty() || password.isEmpty()) {
            return Result::refuse(QStringLiteral("Username and password cannot be blank"));
        }
    } else if (input.netMode == kIntRtk) {
        if (userGroupId.isEmpty() || subGroupId.isEmpty()) {
            return Result::refuse(QStringLiteral("User Group ID and Sub Group ID cannot be blank"));
        }
        if (!isNumber(subGroupId, 0, 255) || subGroupId.size() > kSubGroupDigits) {
            return Result::refuse(
                QStringLiteral("The sub ID should be plus integer between 000-255"));
        }
        if (!IntegerRangeRule(FormText::view(userGroupId), 0, 0, false) ||
            userGroupId.size() != kUserGroupDigits) {
            return Result::refuse(
                QStringLiteral("The User Group Id should be combined by 7 digits"));
        }
        // The last three digits travel in one byte: 256-999 would arrive as something else.
        if (numberOf(userGroupId.right(3)) > 255) {
            return Result::refuse(QStringLiteral(
                "The last three digits of the User Group Id should be between 000-255"));
        }
    }

    const bool gsm = input.communicationMode == kGsm;
    if (!gsm) {
        if (!IntegerRangeRule(FormText::view(input.port), 0, 0, false)) {
            return Result::refuse(QStringLiteral("The port should be an integer"));
        }
        if (!isNumber(input.port, 0, kMaxPort)) {
            return Result::refuse(QStringLiteral("The port should be an integer between 0-65535"));
        }
    }

    // Every text travels in a fixed field; one that does not fit is refused rather than cut,
    // and one the receiver would hold as something else is refused rather than changed.
    const QString mountPoint = input.mountPoint.trimmed();
    if (!FormText::sendable(input.phone)) {
        return Result::refuse(
            QStringLiteral("The phone number holds characters the receiver cannot store"));
    }
    if (!FormText::sendable(input.apn)) {
        return Result::refuse(QStringLiteral("The APN holds characters the receiver cannot store"));
    }
    if (!FormText::sendable(input.address)) {
        return Result::refuse(
            QStringLiteral("The IP/URL holds characters the receiver cannot store"));
    }
    if (!FormText::sendable(mountPoint)) {
        return Result::refuse(
            QStringLiteral("The mount point holds characters the receiver cannot store"));
    }
    if (!FormText::sendable(userName)) {
        return Result::refuse(
            QStringLiteral("The username holds characters the receiver cannot store"));
    }
    if (!FormText::sendable(password)) {
        return Result::refuse(
            QStringLiteral("The password holds characters the receiver cannot store"));
    }
    if (!FormText::fits(input.phone, kPhoneBytes)) {
        return Result::refuse(QStringLiteral("The phone number must not exceed 16 bytes"));
    }
    if (!FormText::fits(input.apn, kApnBytes)) {
        return Result::refuse(QStringLiteral("The APN must not exceed 30 bytes"));
    }
    const bool dottedQuad = DottedQuadRule(FormText::view(input.address));
    if (!dottedQuad && !FormText::fits(input.address, kUrlBytes)) {
        return Result::refuse(QStringLiteral("The IP/URL must not exceed 30 bytes"));
    }
    if (!FormText::fits(mountPoint, kMountPointBytes)) {
        return Result::refuse(QStringLiteral("The mount point must not exceed 30 bytes"));
    }
    const ByteString nameBytes = FormText::bytes(userName);
    const ByteString passwordBytes = FormText::bytes(password);
    if (nameBytes.size() + 1 + passwordBytes.size() > static_cast<std::size_t>(kLoginBytes)) {
        return Result::refuse(
            QStringLiteral("Username and password together must not exceed 41 bytes"));
    }

    NetParams record;
    record.communicationMode = static_cast<Byte>(input.communicationMode);
    record.netMode = static_cast<Byte>(input.netMode);
    record.apnName = FormText::bytes(input.apn);
    record.phoneNumber = FormText::bytes(input.phone);
    if (dottedQuad) {
        const QStringList parts = input.address.split(QLatin1Char('.'));
        for (int i = 0; i < 4; ++i) {
            record.ip[static_cast<std::size_t>(i)] = static_cast<Byte>(numberOf(parts[i]));
        }
        record.isUrl = false;
    } else {
        record.url = FormText::bytes(input.address);
        record.isUrl = true;
    }
    // In GSM mode the port is not checked; a number that the field cannot carry counts as none.
    const std::int32_t port = numberOf(input.port);
    record.port = port >= 0 && port <= kMaxPort ? port : 0;
    record.vrsName = nameBytes;
    record.vrsPassword = passwordBytes;
    record.sourceNode = FormText::bytes(mountPoint);
    record.groupId1 = numberOf(userGroupId.left(4));
    record.groupId2 = static_cast<Byte>(numberOf(userGroupId.right(3)));
    record.userId = static_cast<Byte>(numberOf(subGroupId));
    return Result::accept(std::move(record));
}

} // namespace kestrava
