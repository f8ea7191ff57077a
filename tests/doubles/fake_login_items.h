#pragma once
#include "platform/login_items.h"

namespace vt::test {

// A login-item service whose state is a field; registration can be made to fail.
class FakeLoginItems final : public LoginItemService {
public:
    LoginItemStatus current = LoginItemStatus::notRegistered;
    bool fail = false;
    int registerCalls = 0;

    LoginItemStatus status() const override { return current; }
    bool registerItem(QString* error) override {
        ++registerCalls;
        if (fail) {
            if (error) *error = QStringLiteral("registration refused");
            return false;
        }
        current = LoginItemStatus::enabled;
        return true;
    }
    bool unregisterItem(QString* error) override {
        if (fail) {
            if (error) *error = QStringLiteral("unregistration refused");
            return false;
        }
        current = LoginItemStatus::notRegistered;
        return true;
    }
};

} // namespace vt::test
