#pragma once
#include <QWidget>

namespace vt {

// The program's icon, name, version and build, a line about what it does, three links to the
// web site and the copyright line.
class AboutTab : public QWidget {
    Q_OBJECT
public:
    explicit AboutTab(QWidget* parent = nullptr);
};

} // namespace vt
