#pragma once

class QWidget;

namespace halvera {

class CDataPanel;
class CMavView;
class OutputSelection;
struct ToleranceTable;

// What the recipe commands work on besides the view, owned by the
// application: the tolerances and output items in force, the results panel
// and the window that holds the "Results across images" panel.
struct RecipeCommandContext {
    ToleranceTable& tolerance;
    OutputSelection& output;
    CDataPanel* results = nullptr;
    QWidget* window = nullptr;
};

// "Save as recipe": the active image's items, named and with the datum the
// user chooses, with the calibration, the tolerance entries in use and the
// output items, saved to the recipe file the user names.
void SaveAsRecipeCommand(CMavView& view, const RecipeCommandContext& context);

// "Run recipe": asks for the recipe file, then runs it on the active image
// (its items replace the image's, judged, in the results panel and on the
// image; the recipe's calibration, tolerances and output items come into
// force) or on pictures the user chooses, every picture of a folder or files
// one by one (the "Results across images" panel).
void RunRecipeCommand(CMavView& view, const RecipeCommandContext& context);

} // namespace halvera
