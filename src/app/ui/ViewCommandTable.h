#pragma once

#include "view/ui/CommandMap.h"
#include "view/ui/MavView.h"

namespace halvera {

// The commands an image view takes on behalf of every feature: selection,
// annotation, processing, arithmetic and shade correction, warping,
// measurement, the graph and printing. The view knows none of them; the
// application, which knows them all, installs this table into every view.
const CommandMap<CMavView>& ViewCommandTable();

// Installs ViewCommandTable() as the views' feature commands; the application
// does it once at start-up (and the GUI tests for their lone views).
void InstallViewCommands();

} // namespace halvera
