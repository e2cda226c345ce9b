#pragma once

#include "document/TextSettings.h"

#include <QDialog>
#include <functional>

class QLineEdit;

namespace halvera {

class CMavDoc;

// "Add text": the text in an edit box and a "Font" button (the font dialog
// with effects and colour). Every change is drawn into the image at once
// (TextRendering.h). OK stores the text record in the document; Cancel puts
// the image back from the working copy.
class CAddTextDlg : public QDialog {
    Q_OBJECT
public:
    CAddTextDlg(CMavDoc& doc, const TextSettings& text, std::function<void()> repaint,
                QWidget* parent = nullptr);

    const TextSettings& text() const { return text_; }

    void accept() override;
    void reject() override;

private:
    void render();
    void chooseFont();

    CMavDoc& doc_;
    TextSettings text_;
    std::function<void()> repaint_;
    QLineEdit* edit_;
};

} // namespace halvera
