#include "measure/MeasureDataItems.h"

namespace halvera {

namespace {

using K = MeasureKind;

// The rectangle's centre is "X"/"Y" in the tolerance dialog, "CenterX"/"CenterY"
// in the panel and the text export; the angle's arm ends print as "1X".."2Y".
constexpr std::array<DataItemNames, kDataItemCount> kDataItems = {{
    {K::Point, "X", "X(Error)", "X(Point)", "X", "X"},
    {K::Point, "Y", "Y(Error)", "Y(Point)", "Y", "Y"},
    {K::Line, "Length", "Length(Error)", "Length(Line)", "Length", "Length"},
    {K::Line, "Angle", "Angle(Error)", "Angle(Line)", "Angle", "Angle"},
    {K::Line, "Xs", "Xs(Error)", "Xs(Line)", "Xs", "Xs"},
    {K::Line, "Ys", "Ys(Error)", "Ys(Line)", "Ys", "Ys"},
    {K::Line, "Xm", "Xm(Error)", "Xm(Line)", "Xm", "Xm"},
    {K::Line, "Ym", "Ym(Error)", "Ym(Line)", "Ym", "Ym"},
    {K::Line, "Xe", "Xe(Error)", "Xe(Line)", "Xe", "Xe"},
    {K::Line, "Ye", "Ye(Error)", "Ye(Line)", "Ye", "Ye"},
    {K::Line, "DX", "DX(Error)", "DX(Line)", "DX", "DX"},
    {K::Line, "DY", "DY(Error)", "DY(Line)", "DY", "DY"},
    {K::Circle, "CenterX", "CenterX(Error)", "CenterX(Circle)", "CenterX", "CenterX"},
    {K::Circle, "CenterY", "CenterY(Error)", "CenterY(Circle)", "CenterY", "CenterY"},
    {K::Circle, "Radius", "Radius(Error)", "Radius(Circle)", "Radius", "Radius"},
    {K::Circle, "Diameter", "Diameter(Error)", "Diameter(Circle)", "Diameter", "Diameter"},
    {K::Circle, "Area", "Area(Error)", "Area(Circle)", "Area", "Area"},
    {K::Circle, "Perimeter", "Perimeter(Error)", "Perimeter(Circle)", "Perimeter", "Perimeter"},
    {K::Rectangle, "Width", "Width(Error)", "Width(Rectangle)", "Width", "Width"},
    {K::Rectangle, "Height", "Height(Error)", "Height(Rectangle)", "Height", "Height"},
    {K::Rectangle, "Area", "Area(Error)", "Area(Rectangle)", "Area", "Area"},
    {K::Rectangle, "Perimeter", "Perimeter(Error)", "Perimeter(Rectangle)", "Perimeter",
     "Perimeter"},
    {K::Rectangle, "X", "CenterX(Error)", "X(Rectangle)", "CenterX", "CenterX"},
    {K::Rectangle, "Y", "CenterY(Error)", "Y(Rectangle)", "CenterY", "CenterY"},
    {K::Angle, "Angle1", "Angle1(Error)", "Angle1(Angle)", "Angle1", "Angle1"},
    {K::Angle, "Angle2", "Angle2(Error)", "Angle2(Angle)", "Angle2", "Angle2"},
    {K::Angle, "Angle", "Angle(Error)", "Angle(Angle)", "Angle", "Angle"},
    {K::Angle, "X1", "X1(Error)", "X1(Angle)", "1X", "X1"},
    {K::Angle, "Y1", "Y1(Error)", "Y1(Angle)", "1Y", "Y1"},
    {K::Angle, "X", "X(Error)", "X(Angle)", "X", "X"},
    {K::Angle, "Y", "Y(Error)", "Y(Angle)", "Y", "Y"},
    {K::Angle, "X2", "X2(Error)", "X2(Angle)", "2X", "X2"},
    {K::Angle, "Y2", "Y2(Error)", "Y2(Angle)", "2Y", "Y2"},
}};

constexpr std::array<DataItemRange, kMeasureKindCount> kRanges = {
    {{0, 2}, {2, 10}, {12, 6}, {18, 6}, {24, 9}}};

constexpr std::array<std::string_view, kMeasureKindCount> kTabNames = {"Point", "Line", "Circle",
                                                                       "Rectangle", "Angle"};

} // namespace

const DataItemNames& DataItem(int k) {
    return kDataItems.at(static_cast<size_t>(k));
}

DataItemRange DataItemsOf(MeasureKind kind) {
    return kRanges.at(static_cast<size_t>(kind));
}

std::string_view KindTabName(MeasureKind kind) {
    return kTabNames.at(static_cast<size_t>(kind));
}

} // namespace halvera
