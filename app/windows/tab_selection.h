#pragma once
#include <QObject>

namespace vt {

// The settings window's tabs, in display order.
enum class Tab { general, history, about };

// Which tab the settings window shows; shared by the controller and the view.
class TabSelection : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    Tab tab() const { return tab_; }
    void setTab(Tab tab) {
        if (tab_ == tab) return;
        tab_ = tab;
        emit changed(tab);
    }

signals:
    void changed(vt::Tab tab);

private:
    Tab tab_ = Tab::general;
};

} // namespace vt
