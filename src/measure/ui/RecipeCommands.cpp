#include "measure/ui/RecipeCommands.h"

#include "document/MavDoc.h"
#include "image/PictureFolder.h"
#include "measure/RecipeFile.h"
#include "measure/RecipeFromItems.h"
#include "measure/RecipeRun.h"
#include "measure/RulerCalibration.h"
#include "measure/ui/AcrossImagesPanel.h"
#include "measure/ui/DataPanel.h"
#include "measure/ui/RecipeSaveDialog.h"
#include "platform/FileListPrompts.h"
#include "platform/UserPrompts.h"
#include "view/ui/MavView.h"

namespace halvera {

namespace {

constexpr const char* kRecipeFilter =
    "Recipe files(*.recipe.json)|*.recipe.json|All files(*.*)|*.*||";
constexpr const char* kPictureFilter =
    "Picture files(*.bmp; *.jpg; *.jpeg; *.png; *.tif; *.tiff)|*.bmp; *.jpg; *.jpeg; *.png; "
    "*.tif; *.tiff|All files(*.*)|*.*||";

int CountItems(const MeasureData& data) {
    int count = 0;
    for (const MeasureKind kind : kAllMeasureKinds)
        count += data.ItemCount(kind);
    return count;
}

std::optional<std::string> AskRecipeFile(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.title = save ? "Save as recipe" : "Run recipe";
    request.filter = kRecipeFilter;
    request.proposedName = save ? "part.recipe.json" : "";
    request.defaultExtension = "json";
    request.promptOverwrite = save;
    request.fileMustExist = !save;
    return Prompts().askFileName(request);
}

// The recipe's calibration, tolerances and output items come into force, so
// that the results panel shows and judges the values as the recipe did.
void BringIntoForce(const InspectionRecipe& recipe, CMavDoc& doc,
                    const RecipeCommandContext& context) {
    RulerCalibration calibration(doc.settings());
    StoreCalibration(calibration, recipe.calibration);
    for (const RecipeTolerance& tolerance : recipe.tolerances)
        context.tolerance.entries[static_cast<size_t>(tolerance.item)] = tolerance.entry;
    context.output = recipe.output;
}

void RunOnActiveImage(CMavView& view, const InspectionRecipe& recipe,
                      const RecipeCommandContext& context) {
    CMavDoc& doc = view.document();
    if (CountItems(doc.measureData()) > 0 &&
        ShowMessage("To replace the measured data?", MessageIcon::Warning,
                    MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    PictureInspection result;
    {
        const WaitCursor wait;
        result = InspectPicture(doc.image(), recipe, InspectionSettings{});
    }
    if (result.Failed()) {
        ShowMessage("The part was not found: " + result.failure, MessageIcon::Stop);
        return;
    }
    BringIntoForce(recipe, doc, context);
    doc.measureData() = result.items;
    if (context.results)
        context.results->showVerdicts();
    view.repaintView();
    if (!result.misses.empty()) {
        std::string text = "Not measured:";
        for (const std::string& miss : result.misses)
            text += "\n" + miss;
        ShowMessage(text, MessageIcon::Warning);
    }
}

// One panel per main window, made when first needed.
CAcrossImagesPanel& AcrossImagesPanelOf(QWidget* window) {
    if (window)
        if (auto* panel = window->findChild<CAcrossImagesPanel*>())
            return *panel;
    return *new CAcrossImagesPanel(window);
}

std::vector<std::string> AskPictureFiles() {
    FileDialogRequest request;
    request.title = "Run recipe on pictures";
    request.filter = kPictureFilter;
    request.fileMustExist = true;
    return FileLists().askFileNames(request);
}

// Every picture of the folder the user chooses; none, after saying why, when
// the folder cannot be read or holds no picture.
std::vector<std::string> AskFolderPictures() {
    const std::optional<std::string> folder = FileLists().askFolderName("Run recipe on a folder");
    if (!folder)
        return {};
    FolderPictures pictures = PicturesInFolder(*folder);
    const std::string problem = FolderPicturesProblem(*folder, pictures);
    if (!problem.empty()) {
        ShowMessage(problem, MessageIcon::Warning);
        return {};
    }
    return std::move(pictures.paths);
}

// The pictures to run on: a whole folder or files chosen one by one.
std::vector<std::string> AskPictures() {
    switch (ShowMessage("Run the recipe on every picture in a folder?\nNo chooses picture files.",
                        MessageIcon::Question, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        return AskFolderPictures();
    case MessageAnswer::No:
        return AskPictureFiles();
    default:
        return {};
    }
}

void RunOnPictures(const InspectionRecipe& recipe, const RecipeCommandContext& context) {
    CAcrossImagesPanel& panel = AcrossImagesPanelOf(context.window);
    if (panel.running()) {
        ShowMessage("A recipe is still running.", MessageIcon::Warning);
        return;
    }
    std::vector<std::string> images = AskPictures();
    if (images.empty())
        return;
    panel.show();
    panel.raise();
    panel.run(recipe, std::move(images));
}

} // namespace

void SaveAsRecipeCommand(CMavView& view, const RecipeCommandContext& context) {
    CMavDoc& doc = view.document();
    std::vector<RecipeItem> items = RecipeItemsOf(doc.measureData(), doc.image());
    if (items.empty()) {
        ShowMessage("There are no measured items to save.");
        return;
    }
    view.stopOutlineTimer();
    CRecipeSaveDialog dialog(std::move(items), &view);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const NamedCalibration calibration = NamedCalibrationInForce(RulerCalibration(doc.settings()));
    const RecipeSettings settings{calibration.record, TolerancesInUse(context.tolerance),
                                  context.output, calibration.preset};
    const MadeRecipe made = MakeRecipe(dialog.namedItems(), dialog.datum(), settings);
    if (!made.recipe) {
        ShowMessage("Can not make the recipe: " + made.problem, MessageIcon::Stop);
        return;
    }
    const std::optional<std::string> path = AskRecipeFile(true);
    if (path && !WriteRecipeFile(*path, *made.recipe))
        ShowMessage("Can not write the file " + *path + "!", MessageIcon::Stop);
}

void RunRecipeCommand(CMavView& view, const RecipeCommandContext& context) {
    const std::optional<std::string> path = AskRecipeFile(false);
    if (!path)
        return;
    const RecipeRead read = ReadRecipeFile(*path);
    if (!read.recipe) {
        ShowMessage("Can not read the recipe " + *path + ": " + read.problem, MessageIcon::Stop);
        return;
    }
    switch (
        ShowMessage("Run the recipe on the active image?\nNo chooses picture files to run it on.",
                    MessageIcon::Question, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
        RunOnActiveImage(view, *read.recipe, context);
        break;
    case MessageAnswer::No:
        RunOnPictures(*read.recipe, context);
        break;
    default:
        break;
    }
}

} // namespace halvera
