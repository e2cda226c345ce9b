#include "measure/ui/MeasureColorDialog.h"

#include "measure/MeasureColors.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace halvera {

CMeasureColorDialog::CMeasureColorDialog(AppSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Color"));
    auto* form = new QFormLayout(this);
    const char* rows[] = {"Coordinate", "Line color", "Point color", "Text color"};
    for (int role = 0; role < 4; ++role) {
        auto* list = new QComboBox(this);
        list->setObjectName(QString::fromLatin1(rows[role]));
        for (const MeasureColor& colour : kMeasureColors)
            list->addItem(QString::fromLatin1(colour.name.data(),
                                              static_cast<qsizetype>(colour.name.size())));
        // A stored index outside the list presets nothing.
        list->setCurrentIndex(MeasureColorSetting(settings_, static_cast<MeasureColorRole>(role)));
        lists_[static_cast<size_t>(role)] = list;
        form->addRow(QString::fromLatin1(rows[role]), list);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void CMeasureColorDialog::accept() {
    for (int role = 0; role < 4; ++role) {
        const int chosen = lists_[static_cast<size_t>(role)]->currentIndex();
        if (chosen >= 0)
            MeasureColorSetting(settings_, static_cast<MeasureColorRole>(role)) = chosen;
    }
    QDialog::accept();
}

} // namespace halvera
