// The program's entry while the tray application is being built: it shows what the clip history
// on disk holds and says plainly that nothing else runs yet.
#include "history/history_file.h"
#include "platform/config.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(vt::kVersion));

    QTextStream out(stdout);
    const QString path = vt::HistoryFile::storeURL();
    const vt::ClipHistory history = vt::HistoryFile::load(path);
    out << "Vantrel " << vt::kVersion << ": the tray program is not built yet; "
        << "this entry only lists the saved clip history.\n";
    out << path << ": " << history.items.size() << " clip(s), limit " << history.limit << "\n";
    int index = 1;
    for (const vt::ClipItem& item : history.items) {
        out << index++ << ". [" << vt::kindName(item.kind) << "] "
            << item.date.toLocalTime().toString(Qt::ISODate) << "  " << item.snippet(60) << "\n";
    }
    return 0;
}
