#pragma once
#include "app/user_driver.h"
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QLabel;
class QPushButton;
class QTextBrowser;

namespace vt {

// The small window of a user-initiated update check: checking, a new version with its notes and
// a button that opens its download page in the browser, "up to date", or what failed. Created on
// first use and reused; closing only hides it.
class UpdateCheckWindow : public QWidget, public UpdatePresenter {
    Q_OBJECT
public:
    explicit UpdateCheckWindow(QWidget* parent = nullptr);

    void showChecking() override;
    void showUpdateFound(const AppcastItem& update, const QString& currentVersion) override;
    void showUpToDate(const QString& currentVersion) override;
    void showFailure(const QString& description) override;
    void showUpdatedByPackage() override;

    QString headline() const;
    QString detail() const;
    QString notes() const;
    QString primaryButtonText() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void present(const QString& headline, const QString& detail, const QString& notes,
                 const QString& primary, bool showSecondary);
    void primaryPressed();

    QLabel* headline_;
    QLabel* detail_;
    QTextBrowser* notes_;
    QPushButton* primary_;
    QPushButton* secondary_;
    QUrl downloadURL_;
};

} // namespace vt
