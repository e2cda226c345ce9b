// Keeping and deleting calibration presets through the prompts: the name
// asked, the question before a preset is replaced or deleted, and the list
// read afresh so that another program's preset survives.
#include "measure/PresetQuestions.h"

#include "RecordingPrompts.h"
#include "image/AppSettings.h"
#include "measure/CalibrationPresets.h"
#include "platform/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::ScopedRecordingPrompts;

const CalibrationRecord kTenX{0, 20.0, 20.0, 100, 100};
const CalibrationRecord kFortyX{0, 5.0, 5.0, 100, 100};
const TextRequest kQuestion{"Save as preset", "Name of the preset:", "proposed"};

std::vector<CalibrationPreset> Stored(SettingsStore& store) {
    const CalibrationPresets presets = CalibrationPresets::Load(store);
    return presets.list();
}

// A store another program adds a preset to, as the batch tool's
// --save-preset does, seen only when the store is synchronised.
class SharedStore : public MemorySettingsStore {
public:
    void sync() override {
        ++syncs;
        if (syncs != 1)
            return;
        CalibrationPresets presets = CalibrationPresets::Load(*this);
        presets.put("batch", {1, 1.0, 1.0, 10, 10});
        presets.Save(*this);
    }
    int syncs = 0;
};

TEST(PresetQuestions, TheNameTypedKeepsTheValuesAndCancelOrBlanksKeepNothing) {
    ScopedRecordingPrompts prompts;
    MemorySettingsStore store;
    prompts.textAnswers = {std::nullopt, std::string("   "), std::string("  10x objective ")};
    EXPECT_EQ(AskToKeepAsPreset(store, kTenX, kQuestion), std::nullopt);
    EXPECT_EQ(AskToKeepAsPreset(store, kTenX, kQuestion), std::nullopt);
    EXPECT_TRUE(Stored(store).empty());
    EXPECT_EQ(AskToKeepAsPreset(store, kTenX, kQuestion), "10x objective");
    EXPECT_EQ(Stored(store), (std::vector<CalibrationPreset>{{"10x objective", kTenX}}));
    ASSERT_EQ(prompts.textRequests.size(), 3u);
    EXPECT_EQ(prompts.textRequests[0].title, "Save as preset");
    EXPECT_EQ(prompts.textRequests[0].proposed, "proposed");
    EXPECT_TRUE(prompts.messages.empty()) << "a new name needs no question";
}

TEST(PresetQuestions, AnExistingNameIsReplacedOnlyWhenTheAnswerIsYes) {
    ScopedRecordingPrompts prompts;
    MemorySettingsStore store;
    CalibrationPresets presets;
    presets.put("10x objective", kTenX);
    presets.put("other", kTenX);
    presets.Save(store);

    prompts.textAnswers = {std::string("10x objective"), std::string("10x objective")};
    prompts.answers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_EQ(AskToKeepAsPreset(store, kFortyX, kQuestion), std::nullopt);
    EXPECT_EQ(CalibrationPresets::Load(store).find("10x objective")->record, kTenX);
    EXPECT_EQ(AskToKeepAsPreset(store, kFortyX, kQuestion), "10x objective");
    EXPECT_EQ(Stored(store),
              (std::vector<CalibrationPreset>{{"10x objective", kFortyX}, {"other", kTenX}}))
        << "replaced in its place";
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].text, "Replace the preset \"10x objective\"?");
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::YesNo);
}

TEST(PresetQuestions, DeleteAsksFirst) {
    ScopedRecordingPrompts prompts;
    MemorySettingsStore store;
    CalibrationPresets presets;
    presets.put("10x objective", kTenX);
    presets.put("40x objective", kFortyX);
    presets.Save(store);

    prompts.answers = {MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Yes};
    EXPECT_FALSE(AskToDeletePreset(store, "10x objective"));
    EXPECT_EQ(Stored(store).size(), 2u);
    EXPECT_TRUE(AskToDeletePreset(store, "10x objective"));
    EXPECT_EQ(Stored(store), (std::vector<CalibrationPreset>{{"40x objective", kFortyX}}));
    EXPECT_FALSE(AskToDeletePreset(store, "10x objective")) << "no longer there";
    EXPECT_EQ(prompts.texts()[0], "Delete the preset \"10x objective\"?");
}

TEST(PresetQuestions, APresetAnotherProgramSavedMeanwhileIsKept) {
    ScopedRecordingPrompts prompts;
    SharedStore store;
    prompts.textAnswers = {std::string("10x objective")};
    ASSERT_EQ(AskToKeepAsPreset(store, kTenX, kQuestion), "10x objective");
    const std::vector<CalibrationPreset> stored = Stored(store);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].name, "batch");
    EXPECT_EQ(stored[1].name, "10x objective");
    EXPECT_EQ(store.syncs, 2) << "read in before, written out after";
}

} // namespace
} // namespace halvera
