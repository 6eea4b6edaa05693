#pragma once

#include "forms/FormResult.h"

#include <QString>

namespace kestrava {

// The APN dialog's Set: the APN user name and password exactly as typed (untrimmed, empty
// allowed), refused when either would not fit its 50-byte field, so the receiver never gets a
// login cut short of what is stored.
class ApnForm {
public:
    static constexpr int kFieldBytes = 50;

    struct Login {
        QString userName;
        QString password;
    };

    static FormResult<Login> validate(const QString& userName, const QString& password);
};

} // namespace kestrava
