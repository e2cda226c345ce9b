#pragma once

#include "app/ui/DocumentCommands.h"
#include "view/ui/CommandMap.h"

#include <QMdiSubWindow>
#include <memory>

namespace halvera {

class CMavDoc;
class CMavView;

// The window of one open image: owns the document, its Save and Save As
// commands and the view showing it, and answers File Close. The caption is the image's title and
// the zoom, "cells.bmp (100.0%)", with the desktop's modified mark after the
// title while the picture differs from the one last saved. Restored from maximized, the window
// shrinks to fit its image. Closing a modified image asks whether to save
// it first, then whether to keep measurements never written to a file; a
// Cancel or a failed save keeps the window open.
class CChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT
public:
    explicit CChildFrame(std::unique_ptr<CMavDoc> document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CMavDoc& document() const { return *document_; }
    CMavView& view() const { return *view_; }
    CDocumentCommands& documentCommands() { return commands_; }

    // Rebuilds the caption from the document's title and the view's zoom.
    void updateCaption();
    // "<title>[*] (<zoom>%)", the zoom with one decimal whatever the locale;
    // Qt shows "[*]" as the modified mark, or nothing.
    static QString Caption(const QString& title, double zoomPercent);

    bool onCommand(int id) override;
    bool onUpdateCommand(int id, CommandState& state) override;

signals:
    // After Save wrote the image to its own file.
    void saved();
    // After Save As wrote the image to `path`.
    void savedAs(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static const CommandMap<CChildFrame>& Commands();
    void shrinkToFit();

    std::unique_ptr<CMavDoc> document_;
    CDocumentCommands commands_;
    CMavView* view_;
};

} // namespace halvera
