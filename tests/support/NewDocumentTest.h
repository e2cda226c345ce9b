#pragma once

#include "document/MavDoc.h"
#include "image/AppSettings.h"

#include <gtest/gtest.h>

namespace halvera::testing {

// A fixture holding one document and the settings it reads.
class NewDocumentTest : public ::testing::Test {
protected:
    // Makes the document a white width x height image with every companion
    // buffer, as File New does; false when it could not be held.
    [[nodiscard]] bool NewDocument(int width, int height) {
        settings.ImageWidth = width;
        settings.ImageHeight = height;
        return doc.OnNewDocument();
    }

    AppSettings settings;
    CMavDoc doc{settings};
};

} // namespace halvera::testing
