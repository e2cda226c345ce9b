#pragma once

#include "view/ui/MouseTool.h"

#include <QImage>
#include <QPoint>

namespace halvera {

// The magnifying glass: wherever the pointer goes, a circular glass 180
// pixels across shows the 60 x 60 window pixels around it three times
// enlarged. The window is composed off screen (grey where there is no image;
// the image alone, without tool drawings or selection outline) and shown in
// one piece, so the glass does not flicker. A double-click puts it away.
class CMagnifierTool : public CMouseTool {
public:
    static constexpr int kSourceSide = 60;
    static constexpr int kGlassSide = 180;
    static constexpr int kGlassRadius = 90;

    void OnLButtonDblClk(CMavView& view, int flags, int x, int y) override;
    void OnLButtonDown(CMavView& view, int flags, int x, int y) override;
    void OnMouseMove(CMavView& view, int flags, int x, int y) override;
    void Finish(CMavView& view) override;

    // The window's picture with the glass centred on the client point `centre`.
    static QImage ComposeGlass(const CMavView& view, QPoint centre);

private:
    static void ShowGlass(CMavView& view, QPoint centre);
};

} // namespace halvera
