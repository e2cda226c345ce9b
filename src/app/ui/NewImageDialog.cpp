#include "app/ui/NewImageDialog.h"

#include "app/NewImageSize.h"
#include "image/AppSettings.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <string>

namespace halvera {

namespace {

QLineEdit* NewSideEdit(int value, QWidget* parent) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit));
    // A side never reads more than 65536, as typed.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        if (text.toLongLong() > kNewImageSizeEditMax)
            edit->setText(QString::number(kNewImageSizeEditMax));
    });
    return edit;
}

} // namespace

std::optional<ImageSize> ClipboardPictureSize() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return std::nullopt;
    QImage picture;
    if (data->hasImage())
        picture = qvariant_cast<QImage>(data->imageData());
    else if (data->hasFormat(QStringLiteral("image/bmp")))
        picture = QImage::fromData(data->data(QStringLiteral("image/bmp")), "BMP");
    if (picture.isNull())
        return std::nullopt;
    return ImageSize{picture.width(), picture.height()};
}

CNewImageDialog::CNewImageDialog(AppSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("New image size"));
    const ImageSize proposed =
        ClipboardPictureSize().value_or(ImageSize{settings.ImageWidth, settings.ImageHeight});
    width_ = NewSideEdit(proposed.width, this);
    height_ = NewSideEdit(proposed.height, this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Width(pixel)"), width_);
    form->addRow(QStringLiteral("Height(pixel)"), height_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewImageDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNewImageDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CNewImageDialog::accept() {
    for (QLineEdit* edit : {width_, height_}) {
        if (edit->text().isEmpty()) {
            ShowMessage("Please enter an integer.", MessageIcon::Warning);
            edit->setFocus();
            return;
        }
    }
    const ImageSize size = NewImageSizeFromDialog(width_->text().toInt(), height_->text().toInt());
    width_->setText(QString::number(size.width));
    height_->setText(QString::number(size.height));
    settings_.ImageWidth = size.width;
    settings_.ImageHeight = size.height;
    if (!NewImageSizeAccepted(size)) {
        ShowMessage("Please enter an integer between 0 and " +
                        std::to_string(kNewImageSizeAcceptedMax) + ".",
                    MessageIcon::Warning);
        QLineEdit* wrong = size.width > kNewImageSizeAcceptedMax ? width_ : height_;
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    chosen_ = size;
    QDialog::accept();
}

} // namespace halvera
