#include "platform/platform_choice.h"

#include <QHash>
#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(PlatformChoice, CommandLineThenVariableThenSession) {
    const struct {
        std::vector<const char*> args;
        QHash<QString, QString> env;
        PlatformKind kind;
        int argsLeft;
    } rows[] = {
        // clang-format off
        {{"vantrel"}, {{"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ":0"}}, PlatformKind::wayland, 1},
        {{"vantrel"}, {{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "wayland"}}, PlatformKind::x11, 1},
        {{"vantrel"}, {{"XDG_SESSION_TYPE", "wayland"}}, PlatformKind::wayland, 1},
        {{"vantrel"}, {}, PlatformKind::x11, 1},
        {{"vantrel", "--platform", "x11", "-v"}, {{"WAYLAND_DISPLAY", "w"}}, PlatformKind::x11, 2},
        {{"vantrel", "--platform=wayland"}, {{"VANTREL_PLATFORM", "x11"}}, PlatformKind::wayland, 1},
        {{"vantrel"}, {{"VANTREL_PLATFORM", "X11"}, {"WAYLAND_DISPLAY", "w"}}, PlatformKind::x11, 1},
        // Unknown names are ignored, and the option never reaches Qt.
        {{"vantrel", "--platform", "mir"}, {{"VANTREL_PLATFORM", "quartz"}, {"DISPLAY", ":1"}}, PlatformKind::x11, 1},
        // clang-format on
    };
    for (const auto& row : rows) {
        std::vector<char*> argv;
        for (const char* a : row.args)
            argv.push_back(const_cast<char*>(a));
        argv.push_back(nullptr);
        int argc = static_cast<int>(row.args.size());
        const PlatformChoice choice = choosePlatform(
            argc, argv.data(), [&](const char* name) { return row.env.value(name); });
        EXPECT_EQ(choice.kind, row.kind) << row.args.size() << " " << qPrintable(choice.reason);
        EXPECT_EQ(argc, row.argsLeft);
        EXPECT_EQ(argv[static_cast<std::size_t>(argc)], nullptr);
        for (int i = 1; i < argc; ++i)
            EXPECT_FALSE(QByteArray(argv[static_cast<std::size_t>(i)]).startsWith("--platform"));
    }
}

} // namespace
} // namespace vt
