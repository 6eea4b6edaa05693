#pragma once

#include "forms/FormResult.h"

#include <QString>

namespace kestrava {

// The Basic page's two password groups: the remote connection password (typed twice, trimmed)
// and the WiFi password (as typed, 8-30 letters and digits). Each gives the password to send.
class PasswordForm {
public:
    static constexpr int kWifiMinLength = 8;
    static constexpr int kWifiMaxLength = 30;

    static FormResult<QString> remote(const QString& password, const QString& confirm);
    static FormResult<QString> wifi(const QString& password);
};

} // namespace kestrava
