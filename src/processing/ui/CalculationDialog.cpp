#include "processing/ui/CalculationDialog.h"

#include "document/MavDoc.h"
#include "platform/UserPrompts.h"
#include "platform/ui/QtText.h"
#include "view/ui/IntegerField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <tuple>

namespace halvera {

namespace {

QLineEdit* NewNumberEdit(const char* name, int value, QWidget* parent) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(6);
    return edit;
}

} // namespace

CCalculationDialog::CCalculationDialog(CMavDoc& active, std::vector<CMavDoc*> documents,
                                       std::function<void()> repaint, QWidget* parent)
    : QDialog(parent), active_(active), documents_(std::move(documents)),
      repaint_(std::move(repaint)) {
    setWindowTitle(QStringLiteral("Calculation"));

    output_ = AddCombo("output");
    output_->addItem(QString::fromStdString(active_.title()));
    outputChannel_ = AddCombo("outputChannel");
    input_ = AddCombo("input");
    for (const CMavDoc* document : documents_)
        input_->addItem(QString::fromStdString(document->title()));
    inputChannel_ = AddCombo("inputChannel");
    for (QComboBox* channel : {outputChannel_, inputChannel_})
        for (const std::string_view name : kArithmeticChannelNames)
            channel->addItem(ToQString(name));
    calculate_ = AddCombo("calculate");
    for (const std::string_view name : kArithmeticOperationNames)
        calculate_->addItem(ToQString(name));

    roi_ = new QCheckBox(QStringLiteral("ROI"), this);
    roi_->setObjectName(QStringLiteral("roi"));
    transparency_ = NewNumberEdit("transparency", settings_.transparency, this);
    xShift_ = NewNumberEdit("xShift", settings_.xShift, this);
    yShift_ = NewNumberEdit("yShift", settings_.yShift, this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Output"), this), 0, 0);
    grid->addWidget(output_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Channel"), this), 0, 2);
    grid->addWidget(outputChannel_, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Input"), this), 1, 0);
    grid->addWidget(input_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Channel"), this), 1, 2);
    grid->addWidget(inputChannel_, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Calculate"), this), 2, 0);
    grid->addWidget(calculate_, 2, 1, 1, 3);
    grid->addWidget(roi_, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Transparency"), this), 4, 0);
    auto* percent = new QHBoxLayout;
    percent->addWidget(transparency_);
    percent->addWidget(new QLabel(QStringLiteral("%"), this));
    grid->addLayout(percent, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("X Shift"), this), 5, 0);
    grid->addWidget(xShift_, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y Shift"), this), 5, 2);
    grid->addWidget(yShift_, 5, 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCalculationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCalculationDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    // The combos are filled: from now on each change of selection previews.
    for (QComboBox* combo : {output_, outputChannel_, input_, inputChannel_, calculate_})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (ReadControls())
                Preview();
        });
    Preview();
}

QComboBox* CCalculationDialog::AddCombo(const char* name) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(name));
    return combo;
}

std::optional<CCalculationDialog::Edits> CCalculationDialog::ReadEdits() {
    // A transparency above 100 is set back to 100 before the range check.
    bool isNumber = false;
    if (transparency_->text().trimmed().toInt(&isNumber) > 100 && isNumber)
        transparency_->setText(QStringLiteral("100"));
    Edits edits;
    for (const auto& [edit, value, min, max] :
         {std::tuple{transparency_, &edits.transparency, 0, 100},
          std::tuple{xShift_, &edits.xShift, -kMaxArithmeticShift, kMaxArithmeticShift},
          std::tuple{yShift_, &edits.yShift, -kMaxArithmeticShift, kMaxArithmeticShift}}) {
        const std::optional<int> read = ReadIntegerField(edit, min, max);
        if (!read)
            return std::nullopt;
        *value = *read;
    }
    return edits;
}

bool CCalculationDialog::ReadControls() {
    const std::optional<Edits> edits = ReadEdits();
    if (!edits)
        return false;
    settings_.operation = static_cast<ArithmeticOperation>(calculate_->currentIndex());
    settings_.outputChannel = static_cast<ArithmeticChannel>(outputChannel_->currentIndex());
    settings_.inputChannel = static_cast<ArithmeticChannel>(inputChannel_->currentIndex());
    settings_.transparency = edits->transparency;
    settings_.limitToRegion = roi_->isChecked();
    settings_.xShift = edits->xShift;
    settings_.yShift = edits->yShift;
    return true;
}

// The arithmetic itself starts from the working copy, so the image is put
// back to that copy only when no arithmetic runs or it fails.
void CCalculationDialog::Preview() {
    const int chosen = input_->currentIndex();
    if (chosen >= 0 && chosen < static_cast<int>(documents_.size())) {
        const CMavDoc* input = documents_[static_cast<size_t>(chosen)];
        // The active image meets its own copy taken when the command began.
        const CDibImage other = input == &active_ ? active_.working() : input->image();
        if (!ImageArithmetic(active_.image(), active_.working(), active_.mask(), other,
                             settings_)) {
            active_.RestoreFromWorking();
            ShowMessage("Memory error!", MessageIcon::Stop);
        }
    } else {
        active_.RestoreFromWorking();
    }
    if (repaint_)
        repaint_();
}

void CCalculationDialog::accept() {
    if (ReadEdits())
        QDialog::accept();
}

} // namespace halvera
