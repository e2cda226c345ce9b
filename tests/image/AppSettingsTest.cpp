#include "image/AppSettings.h"

#include "CommaLocale.h"
#include "StoredSettingsChecks.h"
#include "app/NewImageSize.h"
#include "platform/MemorySettingsStore.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace halvera {
namespace {

std::string Stored(MemorySettingsStore& store, std::string_view key) {
    return store.readString(kSettingsSection, key).value_or("<absent>");
}

TEST(AppSettings, EmptyStoreGivesTheDefaults) {
    MemorySettingsStore store;
    AppSettings settings;
    settings.PencilSize = 55;
    settings.Load(store);

    testing::ExpectDefaultStoredSettings(settings);
}

// Sets (or, given null, removes) an environment variable for a scope, then
// puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(AppSettings, TheCaptureFileIsHlvAviInTheUsersMoviesFolder) {
    const ScopedVariable home("HOME", "/home/tester");
    {
        const ScopedVariable videos("XDG_VIDEOS_DIR", nullptr);
        EXPECT_EQ(AppSettings().CaptureFile, "/home/tester/Videos/HLV.avi");
    }
    const ScopedVariable videos("XDG_VIDEOS_DIR", "/data/films");
    const AppSettings settings;
    EXPECT_EQ(settings.CaptureFile, "/data/films/HLV.avi");
    EXPECT_EQ(settings.defaultCaptureFile, "/data/films/HLV.avi");
}

TEST(AppSettings, TheOldDefaultCaptureFileLoadsAsTheUsersOwnButAChosenFileStays) {
    MemorySettingsStore store;
    store.writeString(kSettingsSection, "CaptureFile", "C:\\HLV.avi");
    AppSettings settings;
    settings.UseMoviesFolder("/home/tester/Movies/");
    EXPECT_EQ(settings.CaptureFile, "/home/tester/Movies/HLV.avi");
    settings.CaptureFile = "elsewhere.avi";
    settings.Load(store);
    EXPECT_EQ(settings.CaptureFile, "/home/tester/Movies/HLV.avi");

    store.writeString(kSettingsSection, "CaptureFile", "/data/clip.avi");
    settings.Load(store);
    EXPECT_EQ(settings.CaptureFile, "/data/clip.avi");
}

TEST(AppSettings, RunTimeSettingsStartAtTheirInitialValues) {
    const AppSettings settings;
    EXPECT_EQ(settings.textAttributes.colour, 0x00FF00u) << "green as a colour reference";
    EXPECT_EQ(settings.textAttributes.faceName, "Arial");
    EXPECT_EQ(settings.textAttributes.height, -20);
    EXPECT_EQ(settings.captureRate, 3.0);
    EXPECT_EQ(settings.captureTimeLimit, 60.0);
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(settings.outputItemOrder[i], i);
}

TEST(AppSettings, ValuesOutsideTheirRangeAreReplacedOnLoad) {
    struct Case {
        const char* key;
        int stored;
        int AppSettings::*field;
        int loaded;
    };
    const Case cases[] = {
        {"PencilSize", 250, &AppSettings::PencilSize, 6},
        {"PencilSize", -1, &AppSettings::PencilSize, 6},
        {"PencilSize", 0, &AppSettings::PencilSize, 0},
        {"PencilSize", 100, &AppSettings::PencilSize, 100},
        {"ImageWidth", 4000, &AppSettings::ImageWidth, 100},
        {"ImageWidth", 7, &AppSettings::ImageWidth, 100},
        {"ImageWidth", 8, &AppSettings::ImageWidth, 8},
        {"ImageHeight", 2048, &AppSettings::ImageHeight, 2048},
        {"ImageHeight", 2049, &AppSettings::ImageHeight, 100},
        {"MagicRange", 101, &AppSettings::MagicRange, 30},
        {"MagicRange", 0, &AppSettings::MagicRange, 0},
        {"RulerUnit", 5, &AppSettings::RulerUnit, 0},
        {"RulerUnit", 4, &AppSettings::RulerUnit, 4},
        {"xPixelRulerData", 0, &AppSettings::xPixelRulerData, 100},
        {"xPixelRulerData", 2001, &AppSettings::xPixelRulerData, 2000},
        {"yPixelRulerData", -3, &AppSettings::yPixelRulerData, 100},
        {"yPixelRulerData", 1, &AppSettings::yPixelRulerData, 1},
        {"SignColor", 0x123456, &AppSettings::SignColor, 0x123456},
        {"MTColor3", 7, &AppSettings::MTColor3, 7},
        {"UndoMemory", 15, &AppSettings::UndoMemory, 512},
        {"UndoMemory", 16, &AppSettings::UndoMemory, 16},
        {"UndoMemory", 65536, &AppSettings::UndoMemory, 65536},
        {"UndoMemory", 65537, &AppSettings::UndoMemory, 512},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.key << " = " << c.stored);
        MemorySettingsStore store;
        store.writeInt(kSettingsSection, c.key, c.stored);
        AppSettings settings;
        settings.Load(store);
        EXPECT_EQ(settings.*c.field, c.loaded);
    }
}

TEST(AppSettings, RulerRealsAreReadAsTextAndHeldToTheirRange) {
    const std::pair<const char*, double> cases[] = {
        {"abc", 100.0},     {"", 100.0},     {"0", 100.0},         {"-5", 100.0},
        {"2000.5", 2000.0}, {"1e9", 2000.0}, {"12.5", 12.5},       {"  7.25", 7.25},
        {"+3.5", 3.5},      {"4.5mm", 4.5},  {"0.00000001", 1e-8}, {"nan", 100.0},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        MemorySettingsStore store;
        store.writeString(kSettingsSection, "xRealRulerData", text);
        store.writeString(kSettingsSection, "yRealRulerData", text);
        AppSettings settings;
        settings.Load(store);
        EXPECT_DOUBLE_EQ(settings.xRealRulerData, expected);
        EXPECT_DOUBLE_EQ(settings.yRealRulerData, expected);
    }
}

TEST(AppSettings, IntegerKeyHoldingTextTakesItsDefault) {
    MemorySettingsStore store;
    store.writeString(kSettingsSection, "PencilSize", "thick");
    AppSettings settings;
    settings.Load(store);
    EXPECT_EQ(settings.PencilSize, 8);
}

TEST(AppSettings, SaveWritesEveryKeyUnderTheSectionAfterTheLimits) {
    MemorySettingsStore store;
    AppSettings settings;
    settings.xRealRulerData = 12.5;
    settings.yRealRulerData = 5000.0;
    settings.ImageWidth = 104;
    settings.ImageHeight = 3000; // a size the New dialog may store; held on saving
    settings.PencilSize = 250;
    settings.CaptureName = "camera";
    settings.captureRate = -1.0;   // not above 0: the default is stored
    settings.SnapToEdges = 7;      // only 0 and 1 are kept
    settings.AutosaveMinutes = 61; // above an hour: the default is stored
    settings.UndoMemory = 0;       // below 16 MB: the default is stored
    settings.RulerPreset = "10x objective";
    settings.Save(store);

    EXPECT_EQ(store.size(), 24u) << "one value per key";
    EXPECT_EQ(Stored(store, "AutosaveMinutes"), "2");
    EXPECT_EQ(Stored(store, "UndoMemory"), "512");
    EXPECT_EQ(Stored(store, "RulerPreset"), "10x objective");
    EXPECT_EQ(Stored(store, "SnapToEdges"), "0");
    EXPECT_EQ(Stored(store, "CaptureRate"), "3.00000000");
    EXPECT_EQ(Stored(store, "CaptureTimeLimit"), "60.00000000");
    EXPECT_EQ(Stored(store, "xRealRulerData"), "12.50000000");
    EXPECT_EQ(Stored(store, "yRealRulerData"), "2000.00000000");
    EXPECT_EQ(Stored(store, "ImageWidth"), "104");
    EXPECT_EQ(Stored(store, "ImageHeight"), "100");
    EXPECT_EQ(Stored(store, "PencilSize"), "6");
    EXPECT_EQ(Stored(store, "CaptureName"), "camera");
    EXPECT_EQ(Stored(store, "CaptureFile"), settings.defaultCaptureFile);
    EXPECT_EQ(Stored(store, "MTColor4"), "5");
    EXPECT_FALSE(store.readString("HLVT", "ImageWidth")) << "the blank belongs to the section";
}

TEST(AppSettings, SavedSettingsLoadBackUnchanged) {
    AppSettings saved;
    saved.xRealRulerData = 0.12345678;
    saved.yRealRulerData = 1999.5;
    saved.RulerUnit = 3;
    saved.xPixelRulerData = 640;
    saved.yPixelRulerData = 480;
    saved.MagicRange = 12;
    saved.SignColor = 0x00FF00FF;
    saved.PencilSize = 1;
    saved.ImageWidth = 2048;
    saved.ImageHeight = 8;
    saved.MTColor1 = 0;
    saved.SnapToEdges = 1;
    saved.CaptureDevice = 2;
    saved.CaptureName = "USB camera";
    saved.CaptureFile = "/tmp/capture.avi";
    saved.ScannerSource = "pnm:1";
    saved.UndoMemory = 2048;
    saved.captureRate = 7.5;
    saved.captureTimeLimit = 0.25;
    MemorySettingsStore store;
    saved.Save(store);

    AppSettings loaded;
    loaded.Load(store);
    testing::ExpectSameStoredSettings(loaded, saved);
}

TEST(AppSettings, RulerLimitsAloneLeaveTheOtherSettings) {
    AppSettings settings;
    settings.xRealRulerData = -1.0;
    settings.xPixelRulerData = 9000;
    settings.PencilSize = 250;
    settings.ApplyRulerLimits();
    EXPECT_EQ(settings.xRealRulerData, 100.0);
    EXPECT_EQ(settings.xPixelRulerData, 2000);
    EXPECT_EQ(settings.PencilSize, 250);
}

TEST(AppSettings, RulerRealsIgnoreTheProcessLocale) {
    testing::CommaLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no locale with a decimal comma could be made on this machine";

    AppSettings settings;
    settings.xRealRulerData = 12.5;
    MemorySettingsStore store;
    settings.Save(store);
    EXPECT_EQ(Stored(store, "xRealRulerData"), "12.50000000");
    EXPECT_EQ(Stored(store, "yRealRulerData"), "100.00000000");

    store.writeString(kSettingsSection, "yRealRulerData", "0.75");
    AppSettings loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.xRealRulerData, 12.5);
    EXPECT_EQ(loaded.yRealRulerData, 0.75);
}

TEST(NewImageSizeFromDialog, RoundsTheWidthUpToFourAndHoldsBothSides) {
    EXPECT_EQ(NewImageSizeFromDialog(101, 101), (ImageSize{104, 101}));
    EXPECT_EQ(NewImageSizeFromDialog(100, 100), (ImageSize{100, 100}));
    EXPECT_EQ(NewImageSizeFromDialog(5, 5), (ImageSize{8, 8}));
    EXPECT_EQ(NewImageSizeFromDialog(9, 7), (ImageSize{12, 8}));
    EXPECT_EQ(NewImageSizeFromDialog(0, 0), (ImageSize{8, 8}));
    EXPECT_EQ(NewImageSizeFromDialog(-13, -1), (ImageSize{8, 8}));
    EXPECT_EQ(NewImageSizeFromDialog(65533, 65536), (ImageSize{65536, 65536}));
    EXPECT_EQ(NewImageSizeFromDialog(65537, 65537), (ImageSize{65536, 65536}));
    EXPECT_EQ(NewImageSizeFromDialog(2147483647, 2147483647), (ImageSize{65536, 65536}));
}

TEST(NewImageSizeFromDialog, RangeCheckAcceptsUpTo2048) {
    EXPECT_TRUE(NewImageSizeAccepted({2048, 2048}));
    EXPECT_TRUE(NewImageSizeAccepted({8, 8}));
    EXPECT_FALSE(NewImageSizeAccepted({2052, 100}));
    EXPECT_FALSE(NewImageSizeAccepted({100, 2049}));
}

} // namespace
} // namespace halvera
