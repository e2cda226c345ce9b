#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"
#include "measure/EdgeSearch.h"
#include "measure/GreyPatch.h"
#include "measure/LineFit.h"

namespace halvera {

// A straight edge fitted over a stretch of its length.
struct StraightEdge {
    FittedLine line;     // its direction runs from `from` toward `to`
    SubPixelPoint start; // `from` projected onto the line
    SubPixelPoint end;   // `to` projected onto the line
};

// The straight edge running near the segment from-to (within `radius`
// pixels of it), fitted over the segment's whole length.
//
// Profiles cross the segment at every pixel of its length; the edge each
// finds (ProfileEdge.h) is a point of the edge, those of the polarity most
// share are kept, and a total least squares line is fitted to them with the
// outliers (dust, a scratch) dropped (OutlierRejection.h). Twice more,
// profiles are laid across the fitted line itself, perpendicular to it and
// searched close to it, and fitted again: the edge is then crossed at right
// angles everywhere, whatever the angle at which the segment was drawn.
EdgeResult<StraightEdge> FindStraightEdge(CDibImage image, SubPixelPoint from, SubPixelPoint to,
                                          double radius);

// The same on a patch that covers the segment with `radius` and
// kProfileMargin around it, keeping to edges of `polarity` along the
// segment's normal (-dy, dx) when it is not 0.
EdgeResult<StraightEdge> FindStraightEdgeIn(const GreyPatch& patch, SubPixelPoint from,
                                            SubPixelPoint to, double radius, int polarity = 0);

// A short straight edge through about `centre`, fitted over `halfLength`
// pixels to either side: profiles along `rising` (the unit direction in
// which its levels rise, roughly) at every pixel across, searched within two
// pixels of `centre`, fitted, and searched again across the fitted line. The
// line's normal points the way the levels rise.
EdgeResult<FittedLine> FitShortEdge(const GreyPatch& patch, SubPixelPoint centre,
                                    SubPixelPoint rising, double halfLength);

// The pixels around a segment that a search `radius` about it reads.
PixelRect SegmentSearchBox(SubPixelPoint from, SubPixelPoint to, double radius);

} // namespace halvera
