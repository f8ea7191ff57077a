// The hold-to-paste path as the program runs it: the real X11 tap, the controller, the main
// queue, the real ring and fan pickers, a fixed history, and a commit that writes the
// clip to the clipboard. It reports on stdout ("ready", "shown …", "select …", "hidden …", "commit
// …") for the end-to-end test that drives it with xdotool.
//
//   test_hold_paste_harness --picker ring|fan --clips "newest;older;…" [--clipboard TEXT]
//   (the clipboard holds the newest clip unless --clipboard says otherwise)
//                           [--hold SECONDS] [--fan-max N]
//   A line "stall MS" on stdin stalls the main thread for MS milliseconds.
#include "core/hold_paste_controller.h"
#include "picker/fan/fan_panel.h"
#include "picker/ring/ring_panel.h"
#include "platform/linux/screens_linux.h"
#include "platform/linux/x11_event_tap.h"
#include "platform/qt_main_queue.h"
#include "tests/e2e/harness_panels.h"
#include <QApplication>
#include <QClipboard>
#include <QCommandLineParser>
#include <QSocketNotifier>
#include <QThread>
#include <cstdio>
#include <unistd.h>

using namespace vt;

namespace {

void report(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser args;
    auto option = [](const char* name, const char* help, const char* value, const char* fallback) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help),
                                  QString::fromLatin1(value), QString::fromLatin1(fallback));
    };
    args.addOption(option("picker", "ring or fan", "picker", "fan"));
    args.addOption(option("clips", "history, newest first, ';'-separated", "clips", ""));
    args.addOption(option("clipboard", "text to put on the clipboard at start", "text", ""));
    args.addOption(option("hold", "hold delay in seconds", "seconds", "0.35"));
    args.addOption(option("fan-max", "the fan's maxItems", "n", "50"));
    args.process(app);

    std::vector<ClipItem> history;
    for (const QString& text : args.value("clips").split(';', Qt::SkipEmptyParts))
        history.push_back(ClipItem::makeText(text));
    // The newest clip is what was copied last, so it is what a plain paste pastes.
    if (args.isSet("clipboard"))
        QGuiApplication::clipboard()->setText(args.value("clipboard"));
    else if (!history.empty())
        QGuiApplication::clipboard()->setText(*history.front().text);

    LinuxScreens screens;
    RingPanel realRing(screens, QtMainQueue::shared());
    realRing.window(); // build the window now, as the program does, not inside the first hold
    test::ReportingPanel ring(realRing, report);
    FanPanel realFan(screens, QtMainQueue::shared());
    realFan.setMaxItems(args.value("fan-max").toLongLong());
    realFan.prewarm();
    test::ReportingPanel fan(realFan, report);
    fan.afterShow = [&] {
        const FanGeometry& g = realFan.model().geometry();
        report("fan " + std::to_string(g.centerAngle) + " " + (g.flipX ? "flipped" : "right"));
    };
    X11EventTap tap;
    tap.setRootSpace(screens.rootSpace());
    HoldPasteController controller(tap, QtMainQueue::shared(), ring, fan);
    controller.useFan = args.value("picker") != QStringLiteral("ring");
    controller.holdDelay = args.value("hold").toDouble();
    controller.items = [&] { return history; };
    controller.onCommit = [&](const ClipItem& clip) {
        report("commit " + clip.text.value_or(QString()).toStdString());
        QGuiApplication::clipboard()->setText(clip.text.value_or(QString()));
    };
    if (!controller.start()) {
        report("failed");
        return 3;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64] = {};
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (n > 6 && std::string(line, 6) == "stall ") {
            report("stalling");
            QThread::msleep(static_cast<unsigned long>(std::atoi(line + 6)));
        }
    });
    report(controller.useFan ? "ready fan" : "ready ring");
    return app.exec();
}
