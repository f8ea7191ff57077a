#pragma once
#include <cstdint>

namespace vt {

// How long one grabbed key event waited on the tap: nanoseconds from its arrival on the tap's
// thread.
struct VerdictTiming {
    std::int64_t issued = 0; // to its XAllowEvents
    std::int64_t sent = 0;   // to that request written to the server
};

} // namespace vt
