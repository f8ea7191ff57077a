#pragma once
#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace vt {

class AppCatalog;

// Picks installed applications: icons and names, several at once, narrowed by a filter field.
class AppChooserDialog : public QDialog {
    Q_OBJECT
public:
    explicit AppChooserDialog(const AppCatalog& catalog, QWidget* parent = nullptr);

    // The chosen applications' identifiers, in the list's order.
    QStringList chosenIDs() const;

    QLineEdit* filterField() const { return filter_; }
    QListWidget* list() const { return list_; }
    QPushButton* confirmButton() const { return confirm_; }

protected:
    // Down in the filter field goes to the first row shown and selects it, so that typing a
    // name, Down and Return adds that application.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter(const QString& text);

    QLineEdit* filter_;
    QListWidget* list_;
    QPushButton* confirm_;
};

} // namespace vt
