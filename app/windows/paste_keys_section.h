#pragma once
#include <QWidget>

class QListWidget;
class QToolButton;

namespace vt {

class AppCatalog;
class AppSettings;
class GroupedForm;
enum class PasteAppList;

// One list of applications that paste with other keys (or keep Ctrl+V), with buttons to add
// applications from the chooser, remove the selected one and restore the defaults.
class PasteAppsEditor : public QWidget {
    Q_OBJECT
public:
    PasteAppsEditor(AppSettings& settings, const AppCatalog& catalog, PasteAppList list,
                    QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }

private:
    void refresh();
    void addApps();
    void removeSelected();

    AppSettings& settings_;
    const AppCatalog& catalog_;
    PasteAppList which_;
    QListWidget* list_;
    QToolButton* remove_;
    QStringList shown_;
};

// The section that tells which keys paste a chosen clip, with the three lists.
void addPasteKeysSection(GroupedForm& form, AppSettings& settings, const AppCatalog& catalog);

} // namespace vt
