// The ring's real overlay window under X: clicks pass through it (that it takes no focus, the
// end-to-end pastes show); the screen behind it is pictured right.
#include "picker/ring/ring_panel.h"
#include "platform/linux/screens_linux.h"
#include "platform/qt_main_queue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace vt {
namespace {

void pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

bool waitFor(const std::function<bool()>& done, int ms = 8000) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (done()) return true;
        pump(10);
    }
    return done();
}

int xdotool(const QStringList& args) {
    return QProcess::execute(QStringLiteral("xdotool"), args);
}

void movePointer(QPoint p) {
    xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
    waitFor([&] { return QCursor::pos() == p; }, 3000);
}

// A desktop: text on paper on the left, a dark gradient on the right.
class Desk final : public QWidget {
public:
    Desk() : QWidget(nullptr, Qt::FramelessWindowHint) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int half = width() / 2;
        p.fillRect(QRect(0, 0, half, height()), QColor(244, 242, 238));
        for (int i = 0; i < 40; ++i)
            p.drawText(40, 60 + i * 28, QStringLiteral("議事録 %1 — The quick brown fox").arg(i));
        QLinearGradient photo(half, 0, width(), height());
        photo.setColorAt(0, QColor(20, 40, 70));
        photo.setColorAt(1, QColor(120, 40, 90));
        p.fillRect(QRect(half, 0, width() - half, height()), photo);
    }
};

std::vector<ClipItem> clips() {
    std::vector<ClipItem> out;
    for (int i = 0; i < 8; ++i)
        out.push_back(ClipItem::makeText(QStringLiteral("会議の議事録 %1").arg(i)));
    return out;
}

class RingWindowTest : public ::testing::Test {
protected:
    LinuxScreens screens;
    QtMainQueue queue;
    RingPanel panel{screens, queue};
};

TEST_F(RingWindowTest, ClicksPassThroughTheRing) {
    QPushButton button(QStringLiteral("under the ring"));
    button.setGeometry(900, 500, 200, 60);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    button.show();
    ASSERT_TRUE(waitFor([&] {
        return button.windowHandle() && button.windowHandle()->isExposed() &&
               button.geometry().contains(QPoint(1000, 530));
    })) << "button at "
        << button.x() << "," << button.y();
    pump(200);
    // Over the button, inside the ring's band (not just its hole).
    movePointer({1000, 530});
    panel.show(clips(), 0);
    pump(600);
    movePointer({1000 + 120, 530});
    ASSERT_TRUE(panel.window().isVisible());
    movePointer({1000, 530});
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    EXPECT_TRUE(waitFor([&] { return clicks == 1; }));
    panel.hide(true);
    pump(400);
}

// The frosted backdrop is pictured through memory shared with the X server: the pixels must
// be the screen's, for any size in any order (the shared segment grows and is reused), and a
// rectangle leaving the screen gives no picture rather than garbage.
TEST(ScreenPictures, MatchTheScreenAndRefuseRectanglesOffIt) {
    Desk desk;
    desk.setGeometry(0, 0, 1200, 800);
    desk.show();
    LinuxScreens screens;
    const QRect probe(600, 300, 40, 40); // inside the desk's right half
    ASSERT_TRUE(waitFor([&] {
        const QImage shot = screens.grabRoot(probe);
        return !shot.isNull() && shot.pixelColor(0, 0) != QColor(Qt::black);
    })) << "the desk never showed up in a picture";

    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize root = screen->virtualSize();
    struct Case {
        QRect rect;
        bool expectPicture;
    };
    const Case cases[] = {
        {{100, 100, 460, 460}, true},                // left half: text on paper
        {{500, 200, 600, 500}, true},                // larger: the segment grows
        {{640, 300, 16, 16}, true},                  // much smaller, from the grown segment
        {{0, 0, 1, 1}, true},                        // a single pixel
        {{root.width() - 100, 10, 460, 460}, false}, // leaves the screen on the right
        {{-10, -10, 50, 50}, false},                 // starts off the screen
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rect " << c.rect.x() << "," << c.rect.y() << " "
                                        << c.rect.width() << "x" << c.rect.height());
        const QImage shared = screens.grabRoot(c.rect);
        EXPECT_EQ(!shared.isNull(), c.expectPicture);
        if (shared.isNull()) continue;
        EXPECT_EQ(shared.size(), c.rect.size());
        const QImage expected =
            screen->grabWindow(0, c.rect.x(), c.rect.y(), c.rect.width(), c.rect.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shared.convertToFormat(QImage::Format_RGB32), expected);
    }
}

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
