#include "platform/ui/QtUserPrompts.h"

#include "platform/ColourRef.h"
#include "platform/TextAttributes.h"
#include "platform/ui/FileDialogFilter.h"
#include "platform/ui/JpegQualityDialog.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/QtText.h"
#include "platform/ui/TextFont.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace halvera {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::SaveDiscardCancel:
        return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MessageAnswer FromQtButton(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Save:
        return MessageAnswer::Save;
    case QMessageBox::Discard:
        return MessageAnswer::Discard;
    default:
        return MessageAnswer::Cancel;
    }
}

// The default extension of a request: " HLVT" or ".bmp" become "HLVT", "bmp".
QString DefaultSuffix(const std::string& extension) {
    QString suffix = ToQString(extension).trimmed();
    while (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    return suffix;
}

} // namespace

MessageAnswer QtUserPrompts::showMessage(const MessageRequest& request) {
    // Texts may end in line breaks meant for a console; the box needs none.
    QString text = ToQString(request.text);
    while (text.endsWith(u'\n'))
        text.chop(1);
    const QString caption =
        request.caption.empty() ? QStringLiteral("Halvera") : ToQString(request.caption);
    QMessageBox box(ToQtIcon(request.icon), caption, text, ToQtButtons(request.buttons),
                    QApplication::activeWindow());
    return FromQtButton(box.exec());
}

void QtUserPrompts::beginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserPrompts::endWaitCursor() {
    QApplication::restoreOverrideCursor();
}

std::optional<std::string> QtUserPrompts::askFileName(const FileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), ToQString(request.title));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (!request.filter.empty())
        dialog.setNameFilters(ConvertFileFilter(request.filter));
    if (request.save) {
        const QString fallback = DefaultSuffix(request.defaultExtension);
        dialog.setDefaultSuffix(fallback);
        // A name typed without extension gets the one of the type chosen.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, fallback](const QString& nameFilter) {
                             const QString suffix = FilterSuffix(nameFilter);
                             dialog.setDefaultSuffix(suffix.isEmpty() ? fallback : suffix);
                         });
    }
    if (!request.proposedName.empty())
        dialog.selectFile(ToQString(request.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

std::vector<std::string> QtUserPrompts::askFileNames(const FileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), ToQString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (!request.filter.empty())
        dialog.setNameFilters(ConvertFileFilter(request.filter));
    std::vector<std::string> names;
    if (dialog.exec() == QDialog::Accepted)
        for (const QString& name : dialog.selectedFiles())
            names.push_back(name.toStdString());
    return names;
}

std::optional<std::string> QtUserPrompts::askFolderName(const std::string& title) {
    QFileDialog dialog(QApplication::activeWindow(), ToQString(title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<int> QtUserPrompts::askJpegQuality() {
    JpegQualityDialog dialog(QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.quality();
}

std::optional<TextAttributes> QtUserPrompts::askTextFont(const TextAttributes& current) {
    // The platform's font dialog carries the font and its effects; the colour
    // is asked for next, as part of the same choice.
    bool chosen = false;
    const QFont font =
        QFontDialog::getFont(&chosen, TextAttributesFont(current), QApplication::activeWindow());
    if (!chosen)
        return std::nullopt;
    const QColor colour = QColorDialog::getColor(
        QColor(RedOf(current.colour), GreenOf(current.colour), BlueOf(current.colour)),
        QApplication::activeWindow(), QStringLiteral("Text colour"));
    if (!colour.isValid())
        return std::nullopt;
    TextAttributes result = TextAttributesFromFont(font);
    result.colour =
        MakeColourRef(static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
                      static_cast<uint8_t>(colour.blue()));
    return result;
}

bool QtUserPrompts::askPrintJob() {
    QPrintDialog dialog(&ApplicationPrinter(), QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<std::string> QtUserPrompts::askText(const TextRequest& request) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(ToQString(request.title));
    dialog.setLabelText(ToQString(request.label));
    dialog.setTextValue(ToQString(request.proposed));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().toStdString();
}

} // namespace halvera
