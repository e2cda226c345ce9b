#include "platform/ui/JpegQualityDialog.h"

#include "platform/UserPrompts.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

namespace halvera {

namespace {

constexpr int kMinQuality = 0;
constexpr int kMaxQuality = 100;

// The edit's text as a quality, or -1 when it is not a whole number in range.
int ParseQuality(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= kMinQuality && value <= kMaxQuality ? value : -1;
}

} // namespace

JpegQualityDialog::JpegQualityDialog(QWidget* parent)
    : QDialog(parent), slider_(new QSlider(Qt::Horizontal)), edit_(new QLineEdit) {
    setWindowTitle(QStringLiteral("Quality"));

    slider_->setRange(kMinQuality, kMaxQuality);
    slider_->setTickInterval(10);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setValue(kInitialQuality);
    edit_->setText(QString::number(kInitialQuality));
    edit_->setMaximumWidth(60);

    auto* explanation = new QLabel(
        QStringLiteral("Compression:\n    0:The lower image quality, the higher compression rate;\n"
                       "  100:The higher image quality, the Lower compression rate."));
    explanation->setTextFormat(Qt::PlainText);
    // The blanks line the two explanations up; a fixed-width font keeps them so.
    explanation->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &JpegQualityDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &JpegQualityDialog::reject);

    connect(slider_, &QSlider::valueChanged, this,
            [this](int value) { edit_->setText(QString::number(value)); });
    // A typed whole number moves the slider, one outside 0..100 to the end it
    // passes (OK still refuses it); other text leaves the slider where it is.
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        if (ok) {
            const QSignalBlocker blocker(slider_);
            slider_->setValue(std::clamp(value, kMinQuality, kMaxQuality));
        }
    });

    auto* row = new QHBoxLayout;
    row->addWidget(slider_, 1);
    row->addWidget(edit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(explanation);
    layout->addWidget(buttons);
}

int JpegQualityDialog::quality() const {
    return ParseQuality(edit_->text());
}

void JpegQualityDialog::accept() {
    if (quality() < 0) {
        ShowMessage("Please enter an integer between 0 and 100.", MessageIcon::Warning);
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace halvera
