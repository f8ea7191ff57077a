#pragma once
#include <QWidget>

class QLabel;

namespace vt {

class AppCatalog;

// One row of the excluded-applications list: the installed application's icon and name, or
// for an application not installed here, a dashed symbol, a known name or the identifier, and
// a note that it is missing.
class AppRow : public QWidget {
    Q_OBJECT
public:
    AppRow(const QString& bundleID, const AppCatalog& catalog, QWidget* parent = nullptr);

    QString bundleID() const { return bundleID_; }
    QString nameText() const;
    bool installed() const { return installed_; }

private:
    QString bundleID_;
    bool installed_ = false;
    QLabel* name_ = nullptr;
};

} // namespace vt
