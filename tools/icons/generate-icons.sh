#!/bin/sh
# Builds the icon generator and draws the toolbar icons, the application icon
# (also at the desktop icon theme's sizes, resources/hicolor) and the splash
# picture into resources/. Run from the repository root after
# changing tools/icons/IconGenerator.cpp, then commit the PNG files.
set -eu
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
c++ -std=c++20 -O1 -fPIC $(pkg-config --cflags Qt6Widgets) tools/icons/IconGenerator.cpp \
    -o "$build/icon-generator" $(pkg-config --libs Qt6Widgets)
QT_QPA_PLATFORM=offscreen "$build/icon-generator" resources
