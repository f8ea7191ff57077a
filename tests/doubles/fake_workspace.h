#pragma once
#include "platform/workspace.h"

namespace vt::test {

// The frontmost application is whatever the test says.
class FakeWorkspace final : public Workspace {
public:
    std::optional<RunningApplication> frontmost;

    std::optional<RunningApplication> frontmostApplication() const override { return frontmost; }
};

} // namespace vt::test
