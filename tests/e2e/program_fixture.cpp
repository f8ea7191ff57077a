#include "tests/e2e/program_fixture.h"
#include "tests/doubles/fake_keys.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <csignal>
#include <ostream>

namespace vt::e2e {

QString binaryDir() {
    const QString dir = qEnvironmentVariable("VANTREL_BINARY_DIR");
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/../..") : dir;
}

void xdo(const QStringList& args) {
    QProcess::execute(QStringLiteral("xdotool"), args);
}

void keys(std::initializer_list<const char*> steps) {
    ASSERT_TRUE(test::fakeKeys(steps)) << "could not send the keys";
}

bool waitFor(const std::function<bool()>& condition, int ms) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(20);
    }
    return true;
}

void PrintTo(const StoredClip& clip, std::ostream* os) {
    *os << clip.kind.toStdString() << ":\"" << clip.value.toStdString() << '"';
}

void ProgramTest::SetUp() {
    ASSERT_TRUE(root.isValid());
    for (auto [dir, name] : {std::pair{&configHome, "config"},
                             {&dataHome, "data"},
                             {&runtimeDir, "runtime"},
                             {&home, "home"}}) {
        *dir = root.filePath(QLatin1String(name));
        ASSERT_TRUE(
            QDir().mkpath(*dir) &&
            QFile::setPermissions(*dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
}

void ProgramTest::TearDown() {
    keys({"-v", "-Control_L", "-Shift_L"});
    stopProgram();
    for (QProcess& p : helpers) {
        if (p.state() == QProcess::NotRunning) continue;
        p.kill(); // by its own process id
        p.waitForFinished(5000);
    }
    if (target && target->state() != QProcess::NotRunning) {
        target->kill();
        target->waitForFinished(5000);
    }
    if (HasFailure()) std::fprintf(stderr, "program log:\n%s\n", qPrintable(programLog));
}

QProcessEnvironment ProgramTest::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    env.insert(QStringLiteral("HOME"), home);
    // The texts the tests look for are the Japanese ones.
    env.insert(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        env.remove(QLatin1String(name));
    // One debug line per key event the controller handles ("showPicker(", "commit(" ...).
    env.insert(QStringLiteral("QT_LOGGING_RULES"),
               QStringLiteral("io.vantrel.Vantrel.tap.debug=true"));
    return env;
}

void ProgramTest::writeConfig(const QList<QPair<QString, QVariant>>& values) {
    QSettings settings(configPath(), QSettings::IniFormat);
    for (const auto& [key, value] : values)
        settings.setValue(key, value);
    settings.sync();
    ASSERT_EQ(settings.status(), QSettings::NoError);
}

void ProgramTest::startProgram() {
    // A returning user: a first launch's onboarding window would take the keyboard focus from
    // the paste target.
    writeConfig({{QStringLiteral("onboardingDone"), true}});
    program = std::make_unique<QProcess>();
    programLog.clear();
    program->setProcessEnvironment(environment());
    program->setProcessChannelMode(QProcess::SeparateChannels);
    program->start(binaryDir() + QStringLiteral("/vantrel"), {});
    ASSERT_TRUE(program->waitForStarted(10000)) << program->errorString().toStdString();
    ASSERT_TRUE(waitForLog(QStringLiteral("tap started"), 1, 30000));
}

void ProgramTest::stopProgram() {
    if (!program || program->state() == QProcess::NotRunning) return;
    ::kill(static_cast<pid_t>(program->processId()), SIGTERM);
    if (!program->waitForFinished(15000)) {
        ADD_FAILURE() << "the program did not end on SIGTERM";
        program->kill();
        program->waitForFinished(5000);
    }
    logCount({});
}

qsizetype ProgramTest::logCount(const QString& text) {
    if (program) programLog += QString::fromUtf8(program->readAllStandardError());
    return programLog.count(text);
}

bool ProgramTest::waitForLog(const QString& text, qsizetype atLeast, int ms) {
    const bool ok = waitFor([&] { return logCount(text) >= atLeast; }, ms);
    if (!ok) ADD_FAILURE() << "the program did not log \"" << text.toStdString() << "\"";
    return ok;
}

void ProgramTest::copy(const QByteArray& bytes, const QString& type,
                       const std::optional<StoredClip>& recorded) {
    static int serial = 0;
    const QString path = root.filePath(QStringLiteral("copy-%1").arg(++serial));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QProcess& xclip = helpers.emplace_back();
    xclip.start(QStringLiteral("xclip"),
                {"-quiet", "-selection", "clipboard", "-t", type, "-i", path});
    ASSERT_TRUE(xclip.waitForStarted(5000));
    if (recorded) {
        const bool ok =
            waitFor([&] { return !history().isEmpty() && history().first() == *recorded; });
        ASSERT_TRUE(ok) << "the program did not record the copy of " << type.toStdString();
        return;
    }
    // Nobody records it: wait until xclip serves it.
    ASSERT_TRUE(waitFor([&] { return clipboard(type) == bytes; }));
}

void ProgramTest::copyText(const QString& text) {
    copy(text.toUtf8(), QStringLiteral("UTF8_STRING"),
         program && program->state() == QProcess::Running
             ? std::optional<StoredClip>(StoredClip{QStringLiteral("text"), text})
             : std::nullopt);
}

QList<StoredClip> ProgramTest::history() const {
    QFile file(historyPath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QJsonArray items =
        QJsonDocument::fromJson(file.readAll())[QStringLiteral("items")].toArray();
    QList<StoredClip> clips;
    for (const QJsonValue& v : items) {
        const QJsonObject o = v.toObject();
        StoredClip clip{o[QStringLiteral("kind")].toString(), {}};
        if (clip.kind == QStringLiteral("text"))
            clip.value = o[QStringLiteral("text")].toString();
        else if (clip.kind == QStringLiteral("files"))
            clip.value = o[QStringLiteral("filePaths")].toArray().first().toString();
        clips << clip;
    }
    return clips;
}

void ProgramTest::startTarget(const QStringList& qtArgs) {
    targetPath = root.filePath(QStringLiteral("pasted"));
    target = std::make_unique<QProcess>();
    target->setProcessEnvironment(environment());
    target->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    target->start(binaryDir() + QStringLiteral("/tests/e2e/test_paste_target"),
                  QStringList{targetPath} + qtArgs);
    ASSERT_TRUE(target->waitForStarted(10000));
    ASSERT_TRUE(waitFor([&] { return QFile::exists(targetPath); }, 30000));
    xdo({"mousemove", QString::number(kPointerX), QString::number(kPointerY)});
    // The target has the keyboard: typing arrives, and can be taken back.
    xdo({"type", "x"});
    ASSERT_TRUE(waitForText(QStringLiteral("x")));
    xdo({"key", "BackSpace"});
    ASSERT_TRUE(waitForText(QString()));
}

QList<QRect> ProgramTest::visibleProgramWindows() const {
    QList<QRect> sizes;
    if (!program || program->state() != QProcess::Running) return sizes;
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {"search", "--onlyvisible", "--pid", QString::number(program->processId())});
    if (!search.waitForFinished(5000)) return sizes;
    for (const QByteArray& id : search.readAllStandardOutput().split('\n')) {
        if (id.trimmed().isEmpty()) continue;
        QProcess geometry;
        geometry.start(QStringLiteral("xdotool"),
                       {"getwindowgeometry", "--shell", QString::fromLatin1(id.trimmed())});
        if (!geometry.waitForFinished(5000)) continue;
        QRect size;
        for (const QByteArray& line : geometry.readAllStandardOutput().split('\n')) {
            if (line.startsWith("X=")) size.moveLeft(line.mid(2).toInt());
            if (line.startsWith("Y=")) size.moveTop(line.mid(2).toInt());
            if (line.startsWith("WIDTH=")) size.setWidth(line.mid(6).toInt());
            if (line.startsWith("HEIGHT=")) size.setHeight(line.mid(7).toInt());
        }
        sizes << size;
    }
    return sizes;
}

QByteArray ProgramTest::clipboard(const QString& type) const {
    QProcess out;
    out.start(QStringLiteral("xclip"), {"-o", "-selection", "clipboard", "-t", type});
    return out.waitForFinished(5000) ? out.readAllStandardOutput() : QByteArray();
}

QString ProgramTest::text() const {
    QFile f(targetPath);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool ProgramTest::waitForText(const QString& expected, int ms) {
    const bool ok = waitFor([&] { return text() == expected; }, ms);
    if (!ok)
        ADD_FAILURE() << "the target reads \"" << text().toStdString() << "\", expected \""
                      << expected.toStdString() << "\"";
    return ok;
}

void ProgramTest::expectTextStays(const QString& expected) {
    // Nothing arrives late (a second paste, say): a short look, not a timing assertion.
    QThread::msleep(500);
    EXPECT_EQ(text(), expected);
}

void ProgramTest::expectTypingStillWorks() {
    const QString before = text();
    xdo({"type", "ok"});
    EXPECT_TRUE(waitForText(before + QStringLiteral("ok")));
}

} // namespace vt::e2e
