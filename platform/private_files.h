#pragma once
#include <QByteArray>
#include <QString>
#include <sys/types.h>

// Files and folders created with the modes given here, whatever the umask, written completely
// or not at all, and never through a symbolic link planted at their path.
namespace vt::PrivateFiles {

// Creates `path` and any missing parents with `mode`. Folders that already exist keep their
// mode, except `path` itself when `enforce` is true. False (with the reason) when a folder
// could not be made.
bool makeFolders(const QString& path, mode_t mode, bool enforce, QString* error = nullptr);

// A new file next to `path` (path + ".saving-XXXXXX"), opened for writing with `mode`.
struct TempFile {
    int fd = -1;
    QString path;
};
TempFile createTemp(const QString& path, mode_t mode, QString* error = nullptr);
// Every byte, or false (errno set).
bool writeAll(int fd, const char* data, qsizetype size);
// Syncs the temporary file to the disk and renames it over `path` (a link there is replaced, not
// followed), so that after a crash the path holds either the old or the new content in full.
// Without `sync` the rename comes at once: the caller then keeps a synced copy of its own to
// fall back to. The descriptor stays open for the caller. On failure the temporary
// file is removed and closed, and `path` is left as it was.
bool commitTemp(TempFile& temp, const QString& path, QString* error = nullptr, bool sync = true);
// Removes a temporary file that will not be committed and closes it.
void discardTemp(TempFile& temp);

// The whole of `bytes` at `path` with `mode`, replaced atomically (createTemp, writeAll,
// commitTemp).
bool replaceFile(const QString& path, const QByteArray& bytes, mode_t mode,
                 QString* error = nullptr);

} // namespace vt::PrivateFiles
