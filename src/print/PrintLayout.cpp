#include "print/PrintLayout.h"

#include "measure/MeasureNumber.h"

#include <algorithm>
#include <cmath>

namespace halvera {

LayoutRect LayoutRect::normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

double UnitMillimetres(int unit) {
    static constexpr double kFactors[] = {0.001, 1.0, 10.0, 100.0, 25.4};
    return unit >= 0 && unit < 5 ? kFactors[unit] : 0.001;
}

MillimetresPerPixel MillimetresPerPixelOf(int unit, double realX, double realY, int pixelX,
                                          int pixelY) {
    if (pixelX <= 0 || pixelY <= 0)
        return {};
    const double factor = UnitMillimetres(unit);
    return {realX / pixelX * factor, realY / pixelY * factor};
}

PageView FitPageView(int paperWidth, int paperHeight, int clientWidth, int clientHeight) {
    PageView view;
    if (paperWidth <= 0 || paperHeight <= 0 || clientWidth <= 0 || clientHeight <= 0)
        return view;
    // A paper narrower than high takes the full height, otherwise the full width.
    if (paperWidth < paperHeight) {
        view.height = clientHeight;
        view.width =
            static_cast<int>(static_cast<long long>(paperWidth) * clientHeight / paperHeight);
    } else {
        view.width = clientWidth;
        view.height =
            static_cast<int>(static_cast<long long>(paperHeight) * clientWidth / paperWidth);
    }
    view.left = (clientWidth - view.width) / 2;
    view.top = (clientHeight - view.height) / 2;
    return view;
}

PrintLayout::PrintLayout(int imageWidth, int imageHeight, MillimetresPerPixel perPixel)
    : imageWidth_(std::max(imageWidth, 0)), imageHeight_(std::max(imageHeight, 0)),
      perPixel_(perPixel), rect_{0, 0, imageWidth_ / kLayoutUnitsPerMm,
                                 imageHeight_ / kLayoutUnitsPerMm} {}

void PrintLayout::SetPaperMillimetres(double width, double height) {
    if (!(width >= 1.0) || !(height >= 1.0))
        return;
    constexpr double kLargestPaper = 1e6; // a kilometre: past any printer
    paperMillimetresX_ = std::min(width, kLargestPaper);
    paperMillimetresY_ = std::min(height, kLargestPaper);
    paperWidth_ = static_cast<int>(paperMillimetresX_) * kLayoutUnitsPerMm;
    paperHeight_ = static_cast<int>(paperMillimetresY_) * kLayoutUnitsPerMm;
}

bool PrintLayout::ApplyRatio(double factor) {
    const double width = std::trunc(imageWidth_ * perPixel_.x * factor * kLayoutUnitsPerMm);
    const double height = std::trunc(imageHeight_ * perPixel_.y * factor * kLayoutUnitsPerMm);
    // Sizes beyond any paper are clamped before the conversion to int; they
    // are refused below all the same.
    constexpr double kLimit = 1e9;
    rect_ = {0, 0, static_cast<int>(std::min(width, kLimit)),
             static_cast<int>(std::min(height, kLimit))};
    return rect_.right <= paperWidth_ && rect_.bottom <= paperHeight_;
}

void PrintLayout::CenterX() {
    const int width = rect_.width();
    rect_.left = (paperWidth_ - width) / 2;
    rect_.right = rect_.left + width;
}

void PrintLayout::CenterY() {
    const int height = rect_.height();
    rect_.top = (paperHeight_ - height) / 2;
    rect_.bottom = rect_.top + height;
}

void PrintLayout::FitDefault() {
    if (!hasImage())
        return;
    const double sx = static_cast<double>(paperWidth_) / imageWidth_;
    const double sy = static_cast<double>(paperHeight_) / imageHeight_;
    if (sx > sy) {
        const int width = static_cast<int>(sy * imageWidth_);
        const int left = (paperWidth_ - width) / 2;
        rect_ = {left, 0, left + width, paperHeight_};
    } else {
        const int height = static_cast<int>(sx * imageHeight_);
        const int top = (paperHeight_ - height) / 2;
        rect_ = {0, top, paperWidth_, top + height};
    }
}

void PrintLayout::HandlePosition(int handle, int& x, int& y) const {
    const int midX = (rect_.left + rect_.right) / 2;
    const int midY = (rect_.top + rect_.bottom) / 2;
    const int xs[kHandleCount] = {rect_.left,  midX, rect_.right, rect_.right,
                                  rect_.right, midX, rect_.left,  rect_.left};
    const int ys[kHandleCount] = {rect_.top,    rect_.top,    rect_.top,    midY,
                                  rect_.bottom, rect_.bottom, rect_.bottom, midY};
    x = xs[handle];
    y = ys[handle];
}

int PrintLayout::PartAt(int x, int y, const LayoutRect& title) const {
    if (title.contains(x, y))
        return kPartTitle;
    for (int handle = 0; handle < kHandleCount; ++handle) {
        int hx = 0, hy = 0;
        HandlePosition(handle, hx, hy);
        if (LayoutRect{hx - 6, hy - 6, hx + 6, hy + 6}.contains(x, y))
            return handle;
    }
    return rect_.contains(x, y) ? kPartBody : kPartNone;
}

void PrintLayout::Drag(int part, int x, int y, int lastX, int lastY, bool free) {
    if (part < 0 || part > kPartBody)
        return;
    if (free)
        DragFree(part, x, y, x - lastX, y - lastY);
    else
        DragProportional(part, x, y, x - lastX, y - lastY);
    rect_ = rect_.normalized();
}

void PrintLayout::DragFree(int part, int x, int y, int dx, int dy) {
    LayoutRect& r = rect_;
    switch (part) {
    case 0:
        r.left = x;
        r.top = y;
        break;
    case 1:
        r.top = y;
        break;
    case 2:
        r.right = x;
        r.top = y;
        break;
    case 3:
        r.right = x;
        break;
    case 4:
        r.right = x;
        r.bottom = y;
        break;
    case 5:
        r.bottom = y;
        break;
    case 6:
        r.left = x;
        r.bottom = y;
        break;
    case 7:
        r.left = x;
        break;
    default:
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
        break;
    }
}

// Integer arithmetic truncating toward zero, as the proportions are kept on
// screen; the image's own sides keep it free of division by zero.
void PrintLayout::DragProportional(int part, int x, int y, int dx, int dy) {
    if (!hasImage())
        return;
    const long long w0 = imageWidth_;
    const long long h0 = imageHeight_;
    LayoutRect& r = rect_;
    switch (part) {
    case 0:
    case 7:
        r.left = x;
        r.top = static_cast<int>(r.bottom - (r.right - x) * h0 / w0);
        break;
    case 1:
        r.top = y;
        r.left = static_cast<int>(r.right - (r.bottom - y) * w0 / h0);
        break;
    case 2:
        r.right = x;
        r.top = static_cast<int>(r.bottom - (x - r.left) * h0 / w0);
        break;
    case 3:
    case 4:
        r.right = x;
        r.bottom = static_cast<int>(r.top + (x - r.left) * h0 / w0);
        break;
    case 5:
        r.bottom = y;
        r.right = static_cast<int>(r.left + (y - r.top) * w0 / h0);
        break;
    case 6:
        r.left = x;
        r.bottom = static_cast<int>(r.top + (r.right - x) * h0 / w0);
        break;
    default:
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
        break;
    }
}

void PrintLayout::Nudge(LayoutSpin spin, bool up) {
    const int step = up ? kLayoutUnitsPerMm : -kLayoutUnitsPerMm;
    switch (spin) {
    case LayoutSpin::StartX:
        rect_.left += step;
        rect_.right += step;
        break;
    case LayoutSpin::StartY:
        rect_.top += step;
        rect_.bottom += step;
        break;
    case LayoutSpin::Width:
        rect_.right += step;
        break;
    case LayoutSpin::Height:
        rect_.bottom += step;
        break;
    }
}

std::array<std::string, 4> PrintLayout::Fields() const {
    constexpr double kPerMm = kLayoutUnitsPerMm;
    return {FormatMeasureValue(rect_.left / kPerMm), FormatMeasureValue(rect_.top / kPerMm),
            FormatMeasureValue(rect_.width() / kPerMm),
            FormatMeasureValue(rect_.height() / kPerMm)};
}

double PrintLayout::DevicePerUnitX(long long deviceWidth) const {
    return static_cast<double>(deviceWidth) / (paperMillimetresX_ * kLayoutUnitsPerMm);
}

double PrintLayout::DevicePerUnitY(long long deviceHeight) const {
    return static_cast<double>(deviceHeight) / (paperMillimetresY_ * kLayoutUnitsPerMm);
}

DeviceRect PrintLayout::ToDevice(const LayoutRect& rect, long long deviceWidth,
                                 long long deviceHeight) const {
    const double x = DevicePerUnitX(deviceWidth);
    const double y = DevicePerUnitY(deviceHeight);
    return {std::llround(rect.left * x), std::llround(rect.top * y), std::llround(rect.width() * x),
            std::llround(rect.height() * y)};
}

} // namespace halvera
