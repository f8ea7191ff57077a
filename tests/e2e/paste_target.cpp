// A paste target for the end-to-end tests: one window with a focused line edit whose text is
// written to the file named on the command line after every change. Ctrl+Shift+V inserts a
// marker, so a test can tell that the chord reached the application untouched.
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QSaveFile>
#include <QShortcut>
#include <QTimer>

namespace {

void writeText(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(text.toUtf8());
    file.commit();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);

    QLineEdit edit;
    edit.setWindowTitle(QStringLiteral("paste target"));
    edit.resize(600, 40);
    edit.move(100, 100);
    QObject::connect(&edit, &QLineEdit::textChanged,
                     [&](const QString& text) { writeText(path, text); });
    QShortcut shiftPaste(QKeySequence(QStringLiteral("Ctrl+Shift+V")), &edit);
    QObject::connect(&shiftPaste, &QShortcut::activated,
                     [&] { edit.insert(QStringLiteral("<shift-paste>")); });
    edit.show();
    edit.raise();
    edit.activateWindow();
    edit.setFocus();

    // Announce readiness (an empty file) once the window really has the keyboard focus.
    QTimer ready;
    QObject::connect(&ready, &QTimer::timeout, [&] {
        if (!edit.isActiveWindow() || !edit.hasFocus()) {
            edit.activateWindow();
            return;
        }
        ready.stop();
        writeText(path, edit.text());
    });
    ready.start(50);
    return app.exec();
}
