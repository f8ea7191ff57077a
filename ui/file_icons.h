#pragma once
#include <QPixmap>
#include <QSize>
#include <QString>

namespace vt {

// The desktop icon theme's icon for a file's type (by MIME type, from its name and, when it
// exists, its content), at `size` layout points for a device pixel ratio. Falls back to a
// drawn page when the theme has none. Results are cached per type and size.
QPixmap fileIcon(const QString& path, QSize size, double devicePixelRatio = 1.0);

} // namespace vt
