// The whole program under test: the real binary started with its own settings, history and
// runtime folders, the paste target, and xclip and xdotool playing the user.
#pragma once
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <list>
#include <memory>
#include <optional>

namespace vt::e2e {

// The build folder, where the program and the paste target are.
QString binaryDir();
// Runs xdotool and waits for it.
void xdo(const QStringList& args);
// Presses and releases keys one X event each (see fakeKeys).
void keys(std::initializer_list<const char*> steps);
// Polls condition (pumping the event loop) for up to ms milliseconds.
bool waitFor(const std::function<bool()>& condition, int ms = 10000);

// One clip as the history file stores it: its kind and a readable value.
struct StoredClip {
    QString kind;
    QString value; // the text, the first file path, or empty for an image
    bool operator==(const StoredClip&) const = default;
};
void PrintTo(const StoredClip& clip, std::ostream* os);

class ProgramTest : public ::testing::Test {
protected:
    static constexpr int kPointerX = 900;
    static constexpr int kPointerY = 520;

    QTemporaryDir root;
    QString configHome, dataHome, runtimeDir, home;
    std::unique_ptr<QProcess> program;
    QString programLog; // everything the program wrote on stderr so far
    std::unique_ptr<QProcess> target;
    QString targetPath;
    std::list<QProcess> helpers; // xclip owners and second instances

    void SetUp() override;
    void TearDown() override;

    QProcessEnvironment environment() const;
    QString configPath() const { return configHome + QStringLiteral("/Vantrel/Vantrel.conf"); }
    QString historyPath() const { return dataHome + QStringLiteral("/Vantrel/history.json"); }
    // Writes settings into the program's config file before it starts.
    void writeConfig(const QList<QPair<QString, QVariant>>& values);

    // Starts the program and waits until its key tap is running.
    void startProgram();
    // Sends SIGTERM to the program's process id and waits for it to end.
    void stopProgram();
    // Reads what the program logged so far; true when text occurs in it.
    bool logged(const QString& text) { return logCount(text) > 0; }
    qsizetype logCount(const QString& text);
    bool waitForLog(const QString& text, qsizetype atLeast = 1, int ms = 15000);

    // Copies bytes of the given type with xclip (which keeps owning the clipboard). Waits until
    // the history's newest clip is `recorded`, or without it until xclip serves the bytes.
    void copy(const QByteArray& bytes, const QString& type,
              const std::optional<StoredClip>& recorded);
    void copyText(const QString& text);
    QList<StoredClip> history() const;

    // Starts the paste target window and leaves it focused with an empty line.
    // qtArgs go to the target's Qt (e.g. "-name", "keepassxc" for its WM_CLASS instance).
    void startTarget(const QStringList& qtArgs = {});
    QString text() const;
    // The frames of the program's mapped windows (the tray icon, an open picker...).
    QList<QRect> visibleProgramWindows() const;
    // What the clipboard offers as type (read with xclip).
    QByteArray clipboard(const QString& type = QStringLiteral("UTF8_STRING")) const;
    bool waitForText(const QString& expected, int ms = 10000);
    void expectTextStays(const QString& expected);
    void expectTypingStillWorks();
};

} // namespace vt::e2e
