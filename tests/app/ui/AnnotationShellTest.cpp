#include "DialogDriving.h"
#include "ShellFixture.h"
#include "app/ui/CommandRouter.h"
#include "view/CommandIds.h"
#include "view/ui/MavView.h"
#include "view/ui/PencilTool.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>

namespace halvera::testing {
namespace {

using AnnotationShellTest = ShellTest;

TEST_F(AnnotationShellTest, TheToolBoxReachesTheActiveViewsAnnotationTools) {
    CChildFrame* window = newImage(40, 30);
    settle();
    for (int id :
         {kIdPencilTool, kIdLineTool, kIdEllipseTool, kIdFilledEllipseTool, kIdRectangleTool,
          kIdFilledRectangleTool, kIdPolygonTool, kIdFilledPolygonTool, kIdFillTool, kIdTextTool,
          kIdRulerSignTool, kIdArrowSignTool, kIdEyedropperTool, kIdSignSetting})
        EXPECT_TRUE(frame().router().state(id).enabled) << id;
    frame().router().dispatch(kIdPencilTool);
    EXPECT_NE(dynamic_cast<CPencilTool*>(window->view().tool()), nullptr);
    // The tools read the application's settings.
    EXPECT_EQ(&window->view().document().settings(), &app->settings());
}

TEST_F(AnnotationShellTest, SignSettingIsTheApplicationsAndWorksWithoutAnImage) {
    EXPECT_TRUE(frame().router().state(kIdSignSetting).enabled);
    WithModalDialog([&] { frame().router().dispatch(kIdSignSetting); },
                    [](QDialog& dialog) {
                        EXPECT_EQ(dialog.windowTitle(), "Sign setting");
                        TypeInto(Child<QLineEdit>(dialog, "toolSizeBox"), "17");
                        Press(dialog, QDialogButtonBox::Ok);
                    });
    EXPECT_EQ(app->settings().PencilSize, 17);
}

} // namespace
} // namespace halvera::testing
