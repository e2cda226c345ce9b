#include "app/CommandTable.h"
#include "app/ui/CommandRouter.h"
#include "app/ui/MenuResources.h"
#include "app/ui/ToolbarResources.h"
#include "view/CommandIds.h"
#include "view/ui/CommandMap.h"

#include <QAction>
#include <QCoreApplication>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace halvera {
namespace {

// A target that knows some commands and records what reached it.
class FakeTarget : public CommandTarget {
public:
    FakeTarget(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}

    static const CommandMap<FakeTarget>& Commands() {
        static const auto map =
            CommandMap<FakeTarget>()
                .add(1, [](FakeTarget& self) { self.log_.push_back(self.name_); })
                .add(
                    2, [](FakeTarget& self) { self.log_.push_back(self.name_); },
                    [](FakeTarget& self, CommandState& state) {
                        state.enabled = self.enabled;
                        state.checked = self.checked;
                    })
                .addRange(10, 12, [](FakeTarget& self, int id) {
                    self.log_.push_back(self.name_ + std::to_string(id));
                });
        return map;
    }
    bool onCommand(int id) override { return knows(id) && Commands().dispatch(*this, id); }
    bool onUpdateCommand(int id, CommandState& state) override {
        return knows(id) && Commands().update(*this, id, state);
    }
    bool knows(int id) const { return known.count(id) != 0; }

    std::set<int> known;
    bool enabled = true;
    bool checked = false;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class CommandRoutingTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    FakeTarget view{"view", log};
    FakeTarget document{"document", log};
    FakeTarget child{"child", log};
    FakeTarget frame{"frame", log};
    FakeTarget application{"application", log};
    CommandRouter router{[this] {
        return std::vector<CommandTarget*>{&view, &document, &child, &frame, &application};
    }};
};

TEST_F(CommandRoutingTest, FirstTargetThatKnowsTheCommandRunsItAndNoOtherSeesIt) {
    document.known = {1};
    frame.known = {1};
    application.known = {1};
    EXPECT_TRUE(router.dispatch(1));
    EXPECT_EQ(log, std::vector<std::string>{"document"});

    log.clear();
    document.known.clear();
    EXPECT_TRUE(router.dispatch(1));
    EXPECT_EQ(log, std::vector<std::string>{"frame"});
}

TEST_F(CommandRoutingTest, ViewComesBeforeTheApplication) {
    view.known = {1};
    application.known = {1};
    router.dispatch(1);
    EXPECT_EQ(log, std::vector<std::string>{"view"});
}

TEST_F(CommandRoutingTest, CommandNoTargetKnowsIsDisabledAndDoesNotRun) {
    EXPECT_FALSE(router.state(1).enabled);
    EXPECT_FALSE(router.dispatch(1));
    EXPECT_TRUE(log.empty());
}

TEST_F(CommandRoutingTest, UpdaterOfTheHandlingTargetDecides) {
    child.known = {2};
    application.known = {2};
    child.enabled = false;
    EXPECT_FALSE(router.state(2).enabled);
    // Disabled in the first target that knows it: not run, not passed on.
    EXPECT_FALSE(router.dispatch(2));
    EXPECT_TRUE(log.empty());

    child.enabled = true;
    child.checked = true;
    EXPECT_TRUE(router.state(2).enabled);
    EXPECT_TRUE(router.state(2).checked);
    EXPECT_TRUE(router.dispatch(2));
    EXPECT_EQ(log, std::vector<std::string>{"child"});
}

TEST_F(CommandRoutingTest, CommandWithoutUpdaterIsEnabled) {
    frame.known = {1};
    EXPECT_TRUE(router.state(1).enabled);
    EXPECT_FALSE(router.state(1).checked);
}

TEST_F(CommandRoutingTest, RangeHandlerIsToldWhichIdCame) {
    frame.known = {10, 11, 12};
    router.dispatch(11);
    router.dispatch(12);
    EXPECT_EQ(log, (std::vector<std::string>{"frame11", "frame12"}));
    EXPECT_FALSE(router.dispatch(13));
}

TEST_F(CommandRoutingTest, BoundActionShowsStateAndRunsTheCommandWhenTriggered) {
    application.known = {2};
    QAction action(QStringLiteral("Item"));
    router.bind(&action, 2);
    EXPECT_EQ(CommandRouter::boundId(&action), 2);

    application.enabled = false;
    router.refresh(&action);
    EXPECT_FALSE(action.isEnabled());

    application.enabled = true;
    application.checked = true;
    router.refresh(&action);
    EXPECT_TRUE(action.isEnabled());
    EXPECT_TRUE(action.isChecked());

    application.checked = false;
    router.refresh(&action);
    EXPECT_FALSE(action.isChecked());

    action.trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(log, std::vector<std::string>{"application"});
}

// ---------------------------------------------------------------- command texts

void CollectIds(const std::vector<MenuItem>& items, std::vector<int>& ids) {
    for (const MenuItem& item : items) {
        if (item.isPopup())
            CollectIds(item.children, ids);
        else if (!item.isSeparator())
            ids.push_back(item.id);
    }
}

TEST(CommandTable, EveryMenuItemAndButtonHasAPrompt) {
    std::vector<int> ids;
    CollectIds(NoImageMenu(), ids);
    CollectIds(ImageMenu(), ids);
    for (const ToolbarResource* bar : AllToolbars()) {
        for (const ToolbarButton& button : bar->buttons) {
            if (!button.isGap())
                ids.push_back(button.id);
        }
    }
    for (int id : ids)
        EXPECT_FALSE(CommandPrompt(id).empty()) << "command " << id;
}

TEST(CommandTable, IdsAreUnique) {
    std::set<int> seen;
    for (const CommandInfo& info : AllCommandInfos())
        EXPECT_TRUE(seen.insert(info.id).second) << "command " << info.id;
}

TEST(CommandTable, PromptAndTooltipAreTheTwoHalves) {
    EXPECT_EQ(CommandPrompt(kIdEditCopy), "Copy the selection and put it on the Clipboard");
    EXPECT_EQ(CommandTooltip(kIdEditCopy), "Copy");
    // The texts keep their own spelling.
    EXPECT_EQ(CommandTooltip(kIdSetPlayRate), "Set playback rate)");
    EXPECT_EQ(CommandTooltip(kIdHueSaturation), "Hue/Satuation...");
    EXPECT_EQ(CommandPrompt(kIdRulerSignTool), "Add ruler sign on the image ");
    // A text without a tooltip half serves as both.
    EXPECT_EQ(CommandPrompt(kIdArithmetic), "Image arithmetic");
    EXPECT_EQ(CommandTooltip(kIdArithmetic), "Image arithmetic");
    EXPECT_TRUE(CommandText(1).empty());
}

TEST(CommandTable, ToolbarTooltipsNameTheButtons) {
    const std::vector<std::string> expected{"Scan Image",    "New",
                                            "Open",          "Save",
                                            "Print",         "Undo",
                                            "Redo",          "Crop",
                                            "Cut",           "Copy",
                                            "Paste",         "Brightness/Contrast",
                                            "Color balance", "Hue/Satuation...",
                                            "Calibration"};
    std::vector<std::string> tooltips;
    for (const ToolbarButton& button : MainToolsBar().buttons) {
        if (!button.isGap())
            tooltips.emplace_back(CommandTooltip(button.id));
    }
    EXPECT_EQ(tooltips, expected);
}

} // namespace
} // namespace halvera
