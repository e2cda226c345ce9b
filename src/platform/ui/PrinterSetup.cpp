#include "platform/ui/PrinterSetup.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace halvera {

QPrinter& ApplicationPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool RunPrintSetupDialog(QWidget* parent) {
    QPrintDialog dialog(&ApplicationPrinter(), parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    // The setup only chooses; nothing is printed from here.
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    return dialog.exec() == QDialog::Accepted;
}

} // namespace halvera
