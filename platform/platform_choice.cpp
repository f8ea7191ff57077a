#include "platform/platform_choice.h"

#include "platform/log.h"

#include <optional>

namespace vt {

namespace {

std::optional<PlatformKind> parse(const QString& name, const char* where) {
    if (name.compare(QLatin1String("x11"), Qt::CaseInsensitive) == 0) return PlatformKind::x11;
    if (name.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0)
        return PlatformKind::wayland;
    qCWarning(vtLog, "platform: %s names no known platform (\"%s\"; x11 or wayland); ignored",
              where, qPrintable(name));
    return std::nullopt;
}

} // namespace

PlatformChoice choosePlatform(int& argc, char** argv,
                              const std::function<QString(const char*)>& environment) {
    std::optional<PlatformKind> fromArguments;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--platform") && i + 1 < argc) {
            fromArguments = parse(QString::fromLocal8Bit(argv[++i]), "--platform");
        } else if (arg.startsWith(QLatin1String("--platform="))) {
            fromArguments = parse(arg.mid(11), "--platform");
        } else {
            argv[kept++] = argv[i];
        }
    }
    if (kept < argc) argv[kept] = nullptr;
    argc = kept;
    if (fromArguments) return {*fromArguments, QStringLiteral("--platform")};
    if (const QString name = environment("VANTREL_PLATFORM"); !name.isEmpty())
        if (const auto kind = parse(name, "VANTREL_PLATFORM"))
            return {*kind, QStringLiteral("VANTREL_PLATFORM")};
    if (!environment("WAYLAND_DISPLAY").isEmpty())
        return {PlatformKind::wayland, QStringLiteral("WAYLAND_DISPLAY")};
    if (!environment("DISPLAY").isEmpty()) return {PlatformKind::x11, QStringLiteral("DISPLAY")};
    if (environment("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        return {PlatformKind::wayland, QStringLiteral("XDG_SESSION_TYPE")};
    return {PlatformKind::x11, QStringLiteral("no session named")};
}

const char* qtPlatformPlugin(PlatformKind kind) {
    return kind == PlatformKind::wayland ? "wayland" : "xcb";
}

const char* platformName(PlatformKind kind) {
    return kind == PlatformKind::wayland ? "wayland" : "x11";
}

} // namespace vt
