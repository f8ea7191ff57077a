#include "app/move_alerts.h"
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vt {

void QtMoveAlerts::activate() {
    // At start the program has no window; the alert raises and focuses itself when it opens.
    if (QWidget* window = QApplication::activeWindow()) window->raise();
}

MoveAlerts::Answer QtMoveAlerts::askToMove(const QString& message, const QString& informative) {
    QMessageBox alert;
    alert.setIcon(QMessageBox::Question);
    alert.setText(message);
    alert.setInformativeText(informative);
    QPushButton* move = alert.addButton(QCoreApplication::translate("Vantrel", "移動する"),
                                        QMessageBox::AcceptRole);
    alert.addButton(QCoreApplication::translate("Vantrel", "移動しない"), QMessageBox::RejectRole);
    alert.setDefaultButton(move);
    auto* suppress =
        new QCheckBox(QCoreApplication::translate("Vantrel", "今後は確認しない"), &alert);
    alert.setCheckBox(suppress);
    alert.exec();
    return Answer{alert.clickedButton() == move, suppress->isChecked()};
}

void QtMoveAlerts::showMoveFailed(const QString& message, const QString& informative) {
    QMessageBox alert;
    alert.setIcon(QMessageBox::Warning);
    alert.setText(message);
    alert.setInformativeText(informative);
    alert.setStandardButtons(QMessageBox::Ok);
    alert.setDefaultButton(QMessageBox::Ok);
    alert.exec();
}

} // namespace vt
