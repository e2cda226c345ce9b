#include "measure/ui/ToleranceDialog.h"

#include "image/AppSettings.h"
#include "measure/MeasureDataItems.h"
#include "measure/MeasureNumber.h"
#include "measure/ToleranceFile.h"
#include "platform/UserPrompts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace halvera {

namespace {

constexpr int kEditLimit = 80;

FileDialogRequest ToleranceFileRequest(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.filter = "HLV File(*.Tol)|*.Tol||..";
    request.proposedName = "Tolerance";
    request.defaultExtension = "Tol";
    request.promptOverwrite = save;
    return request;
}

QLineEdit* NewEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(kEditLimit);
    return edit;
}

QPushButton* NewButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CToleranceDialog::CToleranceDialog(const ToleranceTable& table, QWidget* parent)
    : QDialog(parent), table_(table), tabs_(new QTabBar(this)), data_(new QComboBox(this)),
      standard_(NewEdit("standard", this)), upper_(NewEdit("upper", this)),
      lower_(NewEdit("lower", this)) {
    setWindowTitle(QStringLiteral("Measure data set"));
    tabs_->setObjectName(QStringLiteral("tabs"));
    for (MeasureKind kind : kAllMeasureKinds)
        tabs_->addTab(QString::fromUtf8(KindTabName(kind).data(),
                                        static_cast<qsizetype>(KindTabName(kind).size())));
    data_->setObjectName(QStringLiteral("data"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Data"), data_);
    fields->addRow(QStringLiteral("Standard"), standard_);
    fields->addRow(QStringLiteral("Upper limit"), upper_);
    fields->addRow(QStringLiteral("Lower limit"), lower_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* loadButton = NewButton(QStringLiteral("Load"), "load", this);
    QPushButton* saveButton = NewButton(QStringLiteral("Save"), "save", this);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(loadButton);
    buttonRow->addWidget(saveButton);
    buttonRow->addStretch();
    buttonRow->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(fields);
    layout->addLayout(buttonRow);

    selectTab(0);
    connect(tabs_, &QTabBar::currentChanged, this, &CToleranceDialog::selectTab);
    connect(data_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            showEntry(DataItemsOf(static_cast<MeasureKind>(tabs_->currentIndex())).first + index);
    });
    connect(standard_, &QLineEdit::textChanged, this,
            [this] { storeEdit(standard_, &ToleranceEntry::standard); });
    connect(upper_, &QLineEdit::textChanged, this,
            [this] { storeEdit(upper_, &ToleranceEntry::upper); });
    connect(lower_, &QLineEdit::textChanged, this,
            [this] { storeEdit(lower_, &ToleranceEntry::lower); });
    connect(loadButton, &QPushButton::clicked, this, &CToleranceDialog::load);
    connect(saveButton, &QPushButton::clicked, this, &CToleranceDialog::save);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// Lists the tab's data items and shows the first of them.
void CToleranceDialog::selectTab(int tab) {
    const MeasureKind kind = static_cast<MeasureKind>(tab);
    const DataItemRange items = DataItemsOf(kind);
    {
        const QSignalBlocker quiet(data_);
        data_->clear();
        for (int i = 0; i < items.count; ++i) {
            const std::string_view name = DataItem(items.first + i).value;
            data_->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        }
        data_->setCurrentIndex(0);
    }
    showEntry(items.first);
}

void CToleranceDialog::showEntry(int k) {
    shown_ = k;
    const ToleranceEntry& entry = table_.entries[static_cast<size_t>(k)];
    showing_ = true;
    standard_->setText(QString::fromStdString(FormatMeasureValue(entry.standard)));
    upper_->setText(QString::fromStdString(FormatMeasureValue(entry.upper)));
    lower_->setText(QString::fromStdString(FormatMeasureValue(entry.lower)));
    showing_ = false;
}

// Text that is not a number stores 0, as a C conversion reads it.
void CToleranceDialog::storeEdit(QLineEdit* edit, double ToleranceEntry::*field) {
    if (showing_)
        return;
    table_.entries[static_cast<size_t>(shown_)].*field =
        AppSettings::ParseRulerReal(edit->text().toStdString());
}

void CToleranceDialog::load() {
    const std::optional<std::string> path = Prompts().askFileName(ToleranceFileRequest(false));
    if (!path)
        return;
    ToleranceTable loaded = table_;
    switch (ReadToleranceFile(*path, loaded)) {
    case RecordRead::CannotOpen:
        return;
    case RecordRead::WrongFormat:
        ShowMessage(kCannotReadToleranceFile, MessageIcon::Stop);
        return;
    case RecordRead::Done:
        break;
    }
    table_ = loaded;
    {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(0);
    }
    selectTab(0);
}

void CToleranceDialog::save() {
    if (const std::optional<std::string> path = Prompts().askFileName(ToleranceFileRequest(true)))
        WriteToleranceFile(*path, table_);
}

} // namespace halvera
