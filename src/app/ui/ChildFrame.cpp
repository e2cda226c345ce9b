#include "app/ui/ChildFrame.h"

#include "document/MavDoc.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"

#include <QCloseEvent>
#include <QScrollBar>

namespace halvera {

CChildFrame::CChildFrame(std::unique_ptr<CMavDoc> document, QWidget* parent)
    : QMdiSubWindow(parent), document_(std::move(document)), commands_(*document_),
      view_(new CMavView(*document_, this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view_);
    setWindowIcon(QIcon(QStringLiteral(":/halvera-16.png")));
    connect(view_, &CMavView::zoomChanged, this, [this] { updateCaption(); });
    commands_.onSaved = [this] {
        emit saved();
    };
    commands_.onSavedAs = [this](const std::string& path) {
        emit savedAs(QString::fromStdString(path));
    };
    document_->savedState().onModifiedChanged = [this](bool modified) {
        setWindowModified(modified);
    };
    updateCaption();
    setWindowModified(document_->IsModified());
}

CChildFrame::~CChildFrame() {
    document_->savedState().onModifiedChanged = nullptr;
    // The view reads the document until it is gone: delete it first.
    delete view_;
}

// "[*]" is where the desktop's modified mark appears while the image is modified.
QString CChildFrame::Caption(const QString& title, double zoomPercent) {
    return title + QStringLiteral("[*] (") + QString::number(zoomPercent, 'f', 1) +
           QStringLiteral("%)");
}

void CChildFrame::updateCaption() {
    setWindowTitle(Caption(QString::fromStdString(document_->title()), view_->zoomPercent()));
}

const CommandMap<CChildFrame>& CChildFrame::Commands() {
    // Close goes through the window's own close, which asks about unsaved
    // changes first.
    static const auto map =
        CommandMap<CChildFrame>().add(kIdFileClose, [](CChildFrame& self) { self.close(); });
    return map;
}

bool CChildFrame::onCommand(int id) {
    return Commands().dispatch(*this, id);
}

bool CChildFrame::onUpdateCommand(int id, CommandState& state) {
    return Commands().update(*this, id, state);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!commands_.CanClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

void CChildFrame::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool wasLarge = change->oldState() & (Qt::WindowMaximized | Qt::WindowMinimized);
    if (wasLarge && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
        shrinkToFit();
}

void CChildFrame::shrinkToFit() {
    // The frame's own border and caption around the view, plus the view's frame.
    const QSize chrome = size() - view_->viewport()->size();
    const ViewPlacement placement = view_->placement();
    const QSize content(placement.total.width, placement.total.height);
    const QSize fitted = (content + chrome).boundedTo(size());
    if (fitted != size())
        resize(fitted);
}

} // namespace halvera
