#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

namespace halvera {

// Turns a filter written "Name(*.a; *.b)|*.a; *.b|Other files(*.*)|*.*||"
// into the name filters of QFileDialog. Each name keeps its text; the patterns
// become case-insensitive ("*.bmp" also lists "PICTURE.BMP", as the program
// reads files by their extension in any case) and "*.*" matches every file.
QStringList ConvertFileFilter(std::string_view filter);

// The pattern part of one converted name filter, as QFileDialog would read it.
QString FilterPatterns(const QString& nameFilter);

// The extension of the first pattern of one converted name filter, in small
// letters ("PNG file (*.[pP][nN][gG])" -> "png"); empty for "*". A Save As
// dialog gives a name typed without extension the one of the chosen type.
QString FilterSuffix(const QString& nameFilter);

} // namespace halvera
