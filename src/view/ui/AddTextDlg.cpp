#include "view/ui/AddTextDlg.h"

#include "document/MavDoc.h"
#include "platform/UserPrompts.h"
#include "view/ui/TextRendering.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace halvera {

CAddTextDlg::CAddTextDlg(CMavDoc& doc, const TextSettings& text, std::function<void()> repaint,
                         QWidget* parent)
    : QDialog(parent), doc_(doc), text_(text), repaint_(std::move(repaint)) {
    setWindowTitle(QStringLiteral("Add text"));
    auto* layout = new QVBoxLayout(this);
    edit_ = new QLineEdit(QString::fromStdString(text_.text), this);
    edit_->setObjectName(QStringLiteral("text"));
    layout->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* font = buttons->addButton(QStringLiteral("Font"), QDialogButtonBox::ActionRole);
    font->setObjectName(QStringLiteral("font"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(font, &QPushButton::clicked, this, &CAddTextDlg::chooseFont);
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString& value) {
        text_.text = value.toStdString();
        render();
    });
}

void CAddTextDlg::accept() {
    doc_.setTextSettings(text_);
    QDialog::accept();
}

void CAddTextDlg::reject() {
    doc_.RestoreFromWorking();
    repaint_();
    QDialog::reject();
}

void CAddTextDlg::render() {
    RenderDocumentText(doc_, text_);
    repaint_();
}

void CAddTextDlg::chooseFont() {
    if (const std::optional<TextAttributes> chosen = Prompts().askTextFont(text_.attributes)) {
        text_.attributes = *chosen;
        render();
    }
}

} // namespace halvera
