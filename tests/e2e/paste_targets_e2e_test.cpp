// Hold-to-paste into real applications: xterm (Shift+Insert, PRIMARY), a VTE terminal
// (lxterminal, Ctrl+Shift+V), a GTK text field (zenity --entry) and the Qt paste target.
// Terminals record what they receive with the line discipline in raw mode, so a literal ^V
// shows as the byte 0x16.
#include "tests/e2e/program_fixture.h"

using namespace vt::e2e;

namespace {

struct TargetCase {
    const char* name;
    const char* command; // run by sh; FILE stands for the file that receives the text
    bool terminal;       // a short Ctrl+V types ^V
    bool endsWithReturn; // the text is written when Return closes the dialog
};

class PasteTargets : public ProgramTest, public ::testing::WithParamInterface<TargetCase> {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        writeConfig({{QStringLiteral("pickerStyle"), QStringLiteral("fan")},
                     {QStringLiteral("holdDelay"), 0.25}});
        ASSERT_NO_FATAL_FAILURE(startProgram());
        for (const char* clip : {"charlie", "bravo", "alpha"})
            ASSERT_NO_FATAL_FAILURE(copyText(QString::fromLatin1(clip)));
        if (QLatin1String(GetParam().name) == QLatin1String("qt")) {
            ASSERT_NO_FATAL_FAILURE(startTarget());
            return;
        }
        targetPath = root.filePath(QStringLiteral("received"));
        target = std::make_unique<QProcess>();
        target->setProcessEnvironment(environment());
        QString command = QString::fromLatin1(GetParam().command);
        command.replace(QStringLiteral("FILE"), targetPath);
        target->start(QStringLiteral("sh"), {"-c", command});
        ASSERT_TRUE(target->waitForStarted(10000));
        xdo({"mousemove", QString::number(kPointerX), QString::number(kPointerY)});
        // The application has the keyboard once typing arrives (the dialog shows its text only
        // when it closes: there the window's appearance is waited for).
        if (GetParam().endsWithReturn) {
            ASSERT_TRUE(waitFor(
                [] {
                    QProcess search;
                    search.start(QStringLiteral("xdotool"),
                                 {"search", "--onlyvisible", "--class", "zenity"});
                    search.waitForFinished(5000);
                    return !search.readAllStandardOutput().trimmed().isEmpty();
                },
                30000));
            QThread::msleep(500);
            xdo({"type", "x"});
        } else {
            ASSERT_TRUE(waitFor([&] { return QFile::exists(targetPath); }, 30000));
            ASSERT_TRUE(waitFor(
                [&] {
                    xdo({"type", "x"});
                    return text().startsWith(QLatin1Char('x'));
                },
                30000));
            QThread::msleep(500); // an "x" still on its way lands before the test begins
        }
    }
    QString received() {
        if (GetParam().endsWithReturn) {
            xdo({"key", "Return"});
            waitFor([&] { return text().endsWith(QLatin1Char('\n')); });
            return text().trimmed();
        }
        QThread::msleep(400);
        return text();
    }
};

TEST_P(PasteTargets, HoldToPastePastesTheChosenClip) {
    const QString before = GetParam().endsWithReturn ? QStringLiteral("x") : text();
    const qsizetype shown = logCount(QStringLiteral("showPicker("));
    keys({"+Control_L", "+v"});
    ASSERT_TRUE(waitForLog(QStringLiteral("showPicker("), shown + 1));
    keys({"-v", "+Down", "-Down"});
    ASSERT_TRUE(waitForLog(QStringLiteral("select(1)")));
    keys({"-Control_L"});
    if (!GetParam().endsWithReturn) {
        ASSERT_TRUE(waitFor([&] { return text() == before + "bravo"; })) << text().toStdString();
    }
    // A short Ctrl+V goes through untouched: terminals take it as ^V, the others paste.
    keys({"~200", "+Control_L", "+v", "-v", "-Control_L"});
    const QString shortPress =
        GetParam().terminal ? QStringLiteral("\x16") : QStringLiteral("bravo");
    EXPECT_EQ(received(), before + QStringLiteral("bravo") + shortPress);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PasteTargets,
    ::testing::Values(
        TargetCase{"xterm", "exec xterm -e sh -c 'stty raw -echo; exec cat > FILE'", true, false},
        TargetCase{"lxterminal", "exec lxterminal -e sh -c 'stty raw -echo; exec cat > FILE'", true,
                   false},
        TargetCase{"zenity", "zenity --entry --text=paste > FILE", false, true},
        TargetCase{"qt", "", false, false}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
