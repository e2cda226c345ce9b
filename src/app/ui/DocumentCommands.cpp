#include "app/ui/DocumentCommands.h"

#include "document/MavDoc.h"
#include "measure/KeepMeasurements.h"
#include "measure/MeasurementFiles.h"
#include "platform/UserPrompts.h"
#include "view/CommandIds.h"
#include "view/ui/FrameServices.h"

namespace halvera {

const CommandMap<CDocumentCommands>& CDocumentCommands::Commands() {
    static const auto map = CommandMap<CDocumentCommands>()
                                .add(kIdFileSave, [](CDocumentCommands& self) { self.Save(); })
                                .add(kIdFileSaveAs, [](CDocumentCommands& self) { self.SaveAs(); });
    return map;
}

bool CDocumentCommands::onCommand(int id) {
    return Commands().dispatch(*this, id);
}

bool CDocumentCommands::onUpdateCommand(int id, CommandState& state) {
    return Commands().update(*this, id, state);
}

bool CDocumentCommands::Save() {
    // An image that has no file yet gets one through Save As rather than
    // silently not being written.
    if (document_.path().empty())
        return SaveAs();
    if (!document_.SaveByExtension(document_.path()))
        return false;
    SaveMeasurementsWith(document_.path());
    if (onSaved)
        onSaved();
    return true;
}

void CDocumentCommands::SaveMeasurementsWith(const std::string& path) {
    const MeasurementFileOutcome outcome = SaveMeasurementsBeside(document_, path);
    FrameServices* frame = Frame();
    if (!outcome.ok && frame)
        frame->setStatusPaneText(0, QString::fromStdString(outcome.notice));
}

bool CDocumentCommands::SaveAs() {
    FileDialogRequest request;
    request.save = true;
    // The title says what happens: the window goes on editing its own file.
    request.title = "Save a copy as";
    request.filter = kFileFilter;
    request.proposedName = document_.title();
    // A name typed without extension is saved as BMP, the first type offered.
    request.defaultExtension = "bmp";
    request.promptOverwrite = true;
    request.pathMustExist = true;
    const std::optional<std::string> path = Prompts().askFileName(request);
    if (!path || !document_.SaveByExtension(*path))
        return false;
    // Save As writes a copy: the image keeps its own file and title, so the
    // caption always names the file that Save writes. The status bar says so,
    // lest a later Save be taken to write the copy.
    if (FrameServices* frame = Frame())
        frame->setStatusPaneText(0, QString::fromStdString(SavedCopyNotice(*path, document_)));
    SaveMeasurementsWith(*path);
    if (onSavedAs)
        onSavedAs(*path);
    return true;
}

bool CDocumentCommands::SaveModified() {
    if (!document_.IsModified())
        return true;
    const MessageAnswer answer = ShowMessage("Save changes to " + document_.title() + "?",
                                             MessageIcon::Warning, MessageButtons::YesNoCancel);
    switch (answer) {
    case MessageAnswer::No:
        return true;
    case MessageAnswer::Yes:
        return Save() && !document_.IsModified();
    default:
        return false;
    }
}

bool CDocumentCommands::CanClose() {
    return SaveModified() && KeepMeasurementsBeforeClosing(document_);
}

std::string FileTitle(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string SavedCopyNotice(const std::string& copyPath, const CMavDoc& document) {
    const std::string notice = "Saved a copy as " + FileTitle(copyPath);
    if (document.path().empty())
        return notice + "; this window is still untitled";
    return notice + "; this window still edits " + document.title();
}

} // namespace halvera
