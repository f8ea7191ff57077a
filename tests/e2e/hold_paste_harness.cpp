// The hold-to-paste path as the program runs it: the real X11 tap, the controller, the main
// queue, the real ring and fan pickers, a fixed history, and a commit that writes the
// clip to the clipboard. It reports on stdout ("ready", "shown …", "select …", "scrolled",
// "commit …") for the end-to-end test that drives it with xdotool.
//
//   test_hold_paste_harness --picker ring|fan --clips "newest;older;…" [--clipboard TEXT]
//   (the clipboard holds the newest clip unless --clipboard says otherwise)
//   A line "stall MS" on stdin stalls the main thread for MS milliseconds ("stalling", then
//   "answering").
#include "core/hold_paste_controller.h"
#include "picker/fan/fan_panel.h"
#include "picker/ring/ring_panel.h"
#include "platform/linux/screens_linux.h"
#include "platform/linux/x11_event_tap.h"
#include "platform/qt_main_queue.h"
#include <QApplication>
#include <QClipboard>
#include <QCommandLineParser>
#include <QSocketNotifier>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <unistd.h>

using namespace vt;

namespace {

void report(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Reports what the controller asks of a real picker, and forwards it.
class ReportingPanel final : public PickerPanel {
public:
    explicit ReportingPanel(PickerPanel& inner) : inner_(inner) {}

    std::int64_t maxItems() const override { return inner_.maxItems(); }
    PointD show(const std::vector<ClipItem>& items, std::int64_t selected) override {
        const PointD c = inner_.show(items, selected);
        report("shown " + std::to_string(items.size()) + " " + std::to_string(selected) + " at " +
               std::to_string(std::lround(c.x)) + "," + std::to_string(std::lround(c.y)));
        if (afterShow) afterShow();
        return c;
    }
    void select(std::int64_t index) override {
        inner_.select(index);
        report("select " + std::to_string(index));
    }
    void setOutside(bool outside) override { inner_.setOutside(outside); }
    void hide(bool committed) override { inner_.hide(committed); }
    PickerHit hit(double dx, double dy) const override { return inner_.hit(dx, dy); }
    bool scroll(double by) override {
        const bool moved = inner_.scroll(by);
        if (moved) report("scrolled");
        return moved;
    }

    std::function<void()> afterShow; // reports more of what the picker decided

private:
    PickerPanel& inner_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser args;
    for (const char* name : {"picker", "clips", "clipboard"})
        args.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("value")));
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
    ReportingPanel ring(realRing);
    FanPanel realFan(screens, QtMainQueue::shared());
    realFan.setMaxItems(50);
    realFan.prewarm();
    ReportingPanel fan(realFan);
    fan.afterShow = [&] {
        const FanGeometry& g = realFan.model().geometry();
        report("fan " + std::to_string(g.centerAngle) + " " + (g.flipX ? "flipped" : "right"));
    };
    X11EventTap tap;
    tap.setRootSpace(screens.rootSpace());
    HoldPasteController controller(tap, QtMainQueue::shared(), ring, fan);
    controller.useFan = args.value("picker") != QStringLiteral("ring");
    controller.holdDelay = 0.35;
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
            report("answering");
        }
    });
    report(controller.useFan ? "ready fan" : "ready ring");
    return app.exec();
}
