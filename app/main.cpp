// The program's entry: a tray utility with no main window.
#include "app/app_delegate.h"
#include "app/app_info.h"
#include "app/exit_guard.h"
#include "app/single_instance.h"
#include "app/unix_signals.h"
#include "platform/config.h"
#include "platform/log.h"
#include "platform/platform_choice.h"
#include "platform/platform_services.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QTranslator>
#include <csignal>
#include <string_view>

namespace {

// The line a start run by a compositor binding hands to the running instance (`--hold press`,
// `--hold release`, `--pick`); null for an ordinary start.
const char* handOverLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--pick") return "pick\n";
        if (arg == "--hold" && i + 1 < argc) {
            const std::string_view what = argv[i + 1];
            if (what == "press") return "hold press\n";
            if (what == "release") return "hold release\n";
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    // A binding's start hands its word over and ends at once: no Qt, no platform.
    if (const char* line = handOverLine(argc, argv)) return vt::SingleInstance::handOver(line);

    // The window system is chosen before Qt starts, so that Qt's windows live in the same one.
    vt::PlatformChoice choice =
        vt::choosePlatform(argc, argv, [](const char* name) { return qEnvironmentVariable(name); });
    choice.kind = vt::builtPlatform(choice.kind);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // On Wayland, XWayland's windows are the fallback when Qt's Wayland plugin is missing.
        const QByteArray plugin = choice.kind == vt::PlatformKind::wayland
                                      ? QByteArray(vt::qtPlatformPlugin(choice.kind)) + ";xcb"
                                      : QByteArray(vt::qtPlatformPlugin(choice.kind));
        qputenv("QT_QPA_PLATFORM", plugin);
    }
    qCInfo(vtLog, "platform: %s (chosen by %s); Qt platform %s", vt::platformName(choice.kind),
           qPrintable(choice.reason), qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM")));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QString::fromLatin1(vt::kVersion));
    QApplication::setDesktopFileName(QString::fromLatin1(vt::kAppId));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vantrel/vantrel.svg")));
    // Closing the settings or onboarding window must not end a tray program.
    QApplication::setQuitOnLastWindowClosed(false);

    // The texts are written in Japanese; every other language gets the English translation.
    QTranslator english;
    if (QLocale::system().language() != QLocale::Japanese &&
        english.load(QStringLiteral(":/i18n/vantrel_en.qm")))
        QCoreApplication::installTranslator(&english);

    vt::SingleInstance instance;
    if (!instance.acquire()) {
        const bool answered = instance.activateRunning();
        qCInfo(vtLog, "another instance is already running%s; exiting",
               answered ? " and shows its settings window" : "");
        return 0;
    }

    vt::PlatformServices services = vt::makePlatformServices(choice.kind);
    vt::AppDelegate delegate(services);
    // SIGTERM and SIGINT end the program through the event loop: grabs are released first, and
    // the history still waiting to be written is written when the delegate goes (the file is
    // only ever replaced atomically, so nothing is left half-written).
    vt::UnixSignals signalHandler([&](int sig) {
        qCInfo(vtLog, "signal %d: quitting", sig);
        delegate.shutDown();
        QCoreApplication::quit();
    });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.shutDown(); });

    if (!delegate.applicationDidFinishLaunching()) return 0;
    instance.listen([&delegate] { delegate.showSettings(); },
                    [&delegate](const QByteArray& line) { return delegate.hearWord(line); });
    vt::ExitGuard::arm();
    services.watchDisplayLoss(&vt::ExitGuard::displayLost);
    const int status = QApplication::exec();
    vt::ExitGuard::disarm();
    return status;
}
