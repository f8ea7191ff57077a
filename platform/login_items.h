#pragma once
#include <QString>

namespace vt {

// The values shown by the start-at-login switch; only enabled counts as on.
enum class LoginItemStatus { notRegistered = 0, enabled = 1, requiresApproval = 2, notFound = 3 };

// Starting the program when the user logs in.
class LoginItemService {
public:
    virtual ~LoginItemService() = default;
    // The live state, read anew on every call (the program keeps no copy).
    virtual LoginItemStatus status() const = 0;
    // Makes the program start at login; on failure returns false and describes why in *error.
    virtual bool registerItem(QString* error) = 0;
    // Stops the program starting at login; on failure returns false and describes why in *error.
    virtual bool unregisterItem(QString* error) = 0;
};

} // namespace vt
