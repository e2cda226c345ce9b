#pragma once

#include <array>
#include <string>

namespace halvera {

// Layout units per millimetre: the page layout works in thirds of a millimetre.
inline constexpr int kLayoutUnitsPerMm = 3;

// A rectangle in layout units, right and bottom exclusive.
struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const LayoutRect&) const = default;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    LayoutRect normalized() const;
};

// Millimetres on paper per image pixel at ratio 1:1.
struct MillimetresPerPixel {
    double x = 1.0;
    double y = 1.0;
};

// Millimetres per unit: "um" 0.001, "mm" 1, "cm" 10, "dcm" 100, "inch" 25.4;
// 0.001 for an index outside 0..4.
double UnitMillimetres(int unit);

// real size / pixel size * unit factor per axis; 1.0 for both axes when
// either pixel size is not positive.
MillimetresPerPixel MillimetresPerPixelOf(int unit, double realX, double realY, int pixelX,
                                          int pixelY);

// What a press on the page grabs.
enum LayoutPart : int {
    kPartNone = -1,
    // 0..7: the image rectangle's handles, clockwise from left-top:
    // left-top, top-middle, right-top, right-middle, right-bottom,
    // bottom-middle, left-bottom, left-middle.
    kPartBody = 8,
    kPartTitle = 9,
};
inline constexpr int kHandleCount = 8;

// The four spin arrows beside the read-out fields.
enum class LayoutSpin { StartX, StartY, Width, Height };

// The page drawn in the layout pane: the paper scaled into the pane's client
// area with its aspect kept, centred.
struct PageView {
    int width = 100;
    int height = 100;
    int left = 0; // where the page starts in the pane
    int top = 0;
};
PageView FitPageView(int paperWidth, int paperHeight, int clientWidth, int clientHeight);

// A rectangle on a printable area in device pixels.
struct DeviceRect {
    long long left = 0, top = 0, width = 0, height = 0;
    bool operator==(const DeviceRect&) const = default;
};

// Where an image of `imageWidth` x `imageHeight` pixels lies on the printed
// paper, in layout units (1/3 mm). Starts at (0, 0, width / 3, height / 3)
// on a paper of 100 x 100 units. An image side of 0 means no image: the
// proportional rules and the default fit then leave the rectangle alone.
class PrintLayout {
public:
    PrintLayout(int imageWidth, int imageHeight, MillimetresPerPixel perPixel);

    // The printable size in millimetres as the printer reports it; ignored
    // unless both are at least 1 mm. The layout's paper is the whole millimetres
    // of it; the device mapping keeps the fractions, so that a real-size
    // ratio prints at its size.
    void SetPaperMillimetres(double width, double height);
    int paperWidth() const { return paperWidth_; }
    int paperHeight() const { return paperHeight_; }
    int imageWidth() const { return imageWidth_; }
    int imageHeight() const { return imageHeight_; }
    bool hasImage() const { return imageWidth_ > 0 && imageHeight_ > 0; }

    const LayoutRect& imageRect() const { return rect_; }
    void SetImageRect(const LayoutRect& rect) { rect_ = rect; }

    // Sizes the image at `factor` real size from the left-top corner of the
    // paper: trunc(pixels * mm per pixel * factor * 3) per side. False when the
    // new size passes the paper's right or bottom edge; the rectangle keeps
    // its new size all the same.
    bool ApplyRatio(double factor);
    // Centre the rectangle across (X) or down (Y) the paper, keeping its size.
    void CenterX();
    void CenterY();
    // The image as large as the paper allows with its proportions, centred
    // across the axis with room to spare.
    void FitDefault();

    // The part under (x, y): the title when `title` contains it, else the
    // first handle whose square from (hx - 6, hy - 6) to (hx + 6, hy + 6),
    // right and bottom excluded, does, else the body, else none.
    int PartAt(int x, int y, const LayoutRect& title) const;
    // The position of handle 0..7 (a middle handle at the integer mean of its
    // corners).
    void HandlePosition(int handle, int& x, int& y) const;
    // Drags `part` (0..8) to (x, y) from (lastX, lastY). With `free` each
    // handle sets its own sides; without, the image keeps its proportions.
    // The rectangle is normalised afterwards.
    void Drag(int part, int x, int y, int lastX, int lastY, bool free);
    // A spin arrow: `up` adds 3 units (1 mm), down subtracts 3.
    void Nudge(LayoutSpin spin, bool up);

    // "Start X", "Start Y", "Width", "Height" in millimetres, "%0.3f".
    std::array<std::string, 4> Fields() const;

    // The rectangle on a printable area of the given device pixels, which
    // spans the paper's exact millimetres: each coordinate times device
    // pixels per layout unit, rounded to the nearest pixel.
    DeviceRect ToDevice(const LayoutRect& rect, long long deviceWidth,
                        long long deviceHeight) const;
    // Device pixels per layout unit across and down that printable area.
    double DevicePerUnitX(long long deviceWidth) const;
    double DevicePerUnitY(long long deviceHeight) const;

private:
    void DragProportional(int part, int x, int y, int dx, int dy);
    void DragFree(int part, int x, int y, int dx, int dy);

    int imageWidth_;
    int imageHeight_;
    MillimetresPerPixel perPixel_;
    int paperWidth_ = 100;
    int paperHeight_ = 100;
    double paperMillimetresX_ = 100.0 / kLayoutUnitsPerMm;
    double paperMillimetresY_ = 100.0 / kLayoutUnitsPerMm;
    LayoutRect rect_;
};

} // namespace halvera
