#pragma once

#include "measure/RecipeFromItems.h"

#include <QDialog>
#include <optional>
#include <vector>

class QComboBox;
class QTableWidget;

namespace halvera {

// "Save as recipe": lists the items a recipe is made of, one row each with
// its kind and a name the user may give it, and asks which items make the
// datum: "None", or an edge-line as the reference edge with an edge-point or
// a second edge-line as the origin.
class CRecipeSaveDialog : public QDialog {
    Q_OBJECT
public:
    CRecipeSaveDialog(std::vector<RecipeItem> items, QWidget* parent = nullptr);

    // The items with the names typed, and the datum chosen (none for "None").
    std::vector<RecipeItem> namedItems() const;
    std::optional<DatumChoice> datum() const;

private:
    void offerOrigins();

    std::vector<RecipeItem> items_;
    QTableWidget* names_;
    QComboBox* referenceEdge_;
    QComboBox* origin_;
};

} // namespace halvera
