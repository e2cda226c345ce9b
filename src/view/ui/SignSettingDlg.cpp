#include "view/ui/SignSettingDlg.h"

#include "image/AppSettings.h"
#include "view/SignPalette.h"
#include "view/ui/IntegerField.h"
#include "view/ui/SliderWithBox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QVBoxLayout>
#include <qdrawutil.h>

namespace halvera {

namespace {

constexpr int kOrigin = 10;
constexpr int kPitch = 14;
constexpr int kSwatch = 12;
constexpr QRect kPreview(240, 10, 26, 26);

QColor ToQColor(ColourRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QRect SwatchRect(int column, int row) {
    return QRect(kOrigin + kPitch * column, kOrigin + kPitch * row, kSwatch, kSwatch);
}

} // namespace

// The swatches, the current one sunken, and the preview of the chosen colour.
class CSignPaletteWidget : public QWidget {
public:
    CSignPaletteWidget(ColourRef colour, QWidget* parent)
        : QWidget(parent), colour_(colour), current_(SignPalette::IndexOf(colour)) {
        setObjectName(QStringLiteral("palette"));
        setFixedSize(kPreview.right() + kOrigin, kOrigin * 2 + kPitch * SignPalette::kRows);
    }

    ColourRef colour() const { return colour_; }
    int current() const { return current_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int row = 0; row < SignPalette::kRows; ++row) {
            for (int column = 0; column < SignPalette::kColumns; ++column) {
                const QRect r = SwatchRect(column, row);
                const QBrush fill(ToQColor(SignPalette::Colour(column, row)));
                if (row * SignPalette::kColumns + column == current_)
                    qDrawShadePanel(&painter, r.adjusted(-1, -1, 1, 1), palette(), true, 1, &fill);
                else
                    painter.fillRect(r, fill);
            }
        }
        painter.fillRect(kPreview, ToQColor(colour_));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(kPreview.adjusted(0, 0, -1, -1));
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        const QPoint at = event->position().toPoint();
        for (int row = 0; row < SignPalette::kRows; ++row) {
            for (int column = 0; column < SignPalette::kColumns; ++column) {
                if (SwatchRect(column, row).contains(at)) {
                    current_ = row * SignPalette::kColumns + column;
                    colour_ = SignPalette::Colour(column, row);
                    update();
                    return;
                }
            }
        }
    }

private:
    ColourRef colour_;
    int current_;
};

CSignSettingDlg::CSignSettingDlg(AppSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Sign setting"));
    auto* layout = new QVBoxLayout(this);
    palette_ = new CSignPaletteWidget(static_cast<ColourRef>(settings.SignColor), this);
    layout->addWidget(palette_);

    auto* rows = new QGridLayout;
    layout->addLayout(rows);
    const auto addRow = [&](int row, const QString& caption, const QString& name, int value) {
        rows->addWidget(new QLabel(caption, this), row, 0);
        auto* pair = new CSliderWithBox(name, 0, 100, 20, this);
        rows->addWidget(pair->slider(), row, 1);
        rows->addWidget(pair->box(), row, 2);
        pair->slider()->setValue(value);
        pair->box()->setText(QString::number(pair->slider()->value()));
        return pair;
    };
    size_ = addRow(0, QStringLiteral("Tool size"), QStringLiteral("toolSize"), settings.PencilSize);
    tolerance_ =
        addRow(1, QStringLiteral("Tolarence"), QStringLiteral("tolerance"), settings.MagicRange);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CSignSettingDlg::accept() {
    const std::optional<int> size = ReadIntegerField(size_->box(), 0, 100);
    if (!size)
        return;
    const std::optional<int> tolerance = ReadIntegerField(tolerance_->box(), 0, 100);
    if (!tolerance)
        return;
    settings_.SignColor = static_cast<int>(palette_->colour());
    settings_.PencilSize = *size;
    settings_.MagicRange = *tolerance;
    QDialog::accept();
}

ColourRef CSignSettingDlg::colour() const {
    return palette_->colour();
}

void RunSignSettingDialog(AppSettings& settings, QWidget* parent) {
    CSignSettingDlg dialog(settings, parent);
    dialog.exec();
}

} // namespace halvera
