// Drawing frames: nesting, the Tela view and its cache.
#include "testSupport.h"

#include <cmath>
#include <string>

using glDouble::Call;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

class Frames : public testing::Test {
protected:
    void SetUp() override { openFramework(); }
    void TearDown() override
    {
        while (frameDepth > 0) {
            zruCloseTelaFrame();
        }
        zruWindowClear = true;
        zruScreenFov = 60.0f;
    }

    // Opens a top-level frame at the given window size, after a frame at
    // another size, so that the view constants are computed for this one.
    static void openTopLevelAt(int width, int height)
    {
        zruWindowWidth = width + 1;
        zruWindowHeight = height;
        zruOpenTelaFrame();
        zruCloseTelaFrame();
        zruWindowWidth = width;
        glDouble::clearCalls();
        zruOpenTelaFrame();
    }
};

std::vector<double> args(const Call& call)
{
    return call.args;
}

} // namespace

TEST(TelaView, ConstantsForTheUsualWindowSizes)
{
    struct Case {
        int width, height;
        float halfWidth, halfHeight, eyeDistance, nearPlane, aspect;
    };
    const Case cases[] = {
        {1024, 768, 512.0f, 384.0f, 665.10754f, 66.510757f, 1.3333334f},
        {640, 480, 320.0f, 240.0f, 415.6922f, 41.569221f, 1.3333334f},
    };
    for (const Case& c : cases) {
        const TelaView view = computeTelaView(c.width, c.height, 60.0f);
        EXPECT_EQ(view.halfWidth, c.halfWidth);
        EXPECT_EQ(view.halfHeight, c.halfHeight);
        EXPECT_EQ(view.eyeDistance, c.eyeDistance) << c.width; // bit for bit
        EXPECT_EQ(view.nearPlane, c.nearPlane);
        EXPECT_EQ(view.farPlane, static_cast<float>(static_cast<double>(c.eyeDistance) * 10.0));
        EXPECT_EQ(view.aspect, c.aspect);
    }
    // The half angle and its tangent are rounded to float on the way; without
    // that the eye would sit at 665.10751.
    EXPECT_NE(computeTelaView(1024, 768, 60.0f).eyeDistance, 665.10751f);
}

TEST(TelaView, DegenerateSizesAndAnglesDivideByNothing)
{
    struct Case {
        int width, height;
        float fov;
    };
    const Case cases[] = {{800, 0, 60.0f}, {0, 0, 60.0f}, {800, 600, 0.0f}};
    for (const Case& c : cases) {
        const TelaView view = computeTelaView(c.width, c.height, c.fov);
        EXPECT_TRUE(std::isfinite(view.eyeDistance) && std::isfinite(view.aspect))
            << c.width << "x" << c.height;
        EXPECT_EQ(view.nearPlane, view.farPlane) << "an empty depth range leaves the projection alone";
    }
    EXPECT_EQ(computeTelaView(800, 0, 60.0f).halfWidth, 400.0f);
}

TEST_F(Frames, TopLevelFrameSetsTheWholeViewAndCloseSwaps)
{
    openTopLevelAt(1024, 768);
    const TelaView view = computeTelaView(1024, 768, 60.0f);
    const std::vector<Call> expected = {
        {"glViewport", {0, 0, 1024, 768}, ""},
        {"glMatrixMode", {GL_PROJECTION}, ""},
        {"glLoadIdentity", {}, ""},
        {"glMatrixMode", {GL_MODELVIEW}, ""},
        {"glLoadIdentity", {}, ""},
        {"glEnable", {GL_LIGHTING}, ""},
        {"glEnable", {GL_LIGHT0}, ""},
        {"glEnable", {GL_DEPTH_TEST}, ""},
        {"glDepthFunc", {GL_LEQUAL}, ""},
        {"glShadeModel", {GL_SMOOTH}, ""},
        {"glClearColor", {0, 0, 0, 1}, ""},
        {"glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}, ""},
        {"glEnable", {GL_COLOR_MATERIAL}, ""},
        {"glColorMaterial", {GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE}, ""},
        {"glDisable", {GL_TEXTURE_2D}, ""},
        {"glLightfv", {GL_LIGHT0, GL_POSITION, 512, 384, view.eyeDistance, 0}, ""},
        {"glMatrixMode", {GL_PROJECTION}, ""},
        {"gluPerspective", {60, view.aspect, view.nearPlane, view.farPlane}, ""},
        {"gluLookAt", {512, 384, view.eyeDistance, 512, 384, 0, 0, 1, 0}, ""},
        {"glMatrixMode", {GL_MODELVIEW}, ""},
    };
    ASSERT_EQ(glDouble::calls().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(glDouble::calls()[i].name, expected[i].name) << i;
        EXPECT_EQ(glDouble::calls()[i].args, expected[i].args) << i << " " << expected[i].name;
    }
    EXPECT_EQ(frameDepth, 1);

    glDouble::clearCalls();
    zruCloseTelaFrame();
    EXPECT_EQ(glDouble::callNames(), std::vector<std::string>{"glutSwapBuffers"});
    EXPECT_EQ(frameDepth, 0);
}

TEST_F(Frames, ClearFollowsTheSettings)
{
    zruWindowBgColor[0] = 0.25f;
    zruWindowBgColor[1] = 0.5f;
    zruWindowBgColor[2] = 1.0f;
    openTopLevelAt(640, 480);
    EXPECT_EQ(args(glDouble::callsNamed("glClearColor").at(0)), (std::vector<double>{0.25, 0.5, 1.0, 1.0}));
    zruCloseTelaFrame();

    zruWindowClear = false;
    glDouble::clearCalls();
    zruOpenTelaFrame();
    EXPECT_TRUE(glDouble::callsNamed("glClearColor").empty());
    EXPECT_TRUE(glDouble::callsNamed("glClear").empty());
    zruWindowBgColor[0] = zruWindowBgColor[1] = zruWindowBgColor[2] = 0.0f;
}

TEST_F(Frames, NestedFramePushesAndPopsWithoutClearingOrProjecting)
{
    openTopLevelAt(640, 480);
    glDouble::clearCalls();
    zruOpenTelaFrame();
    const std::vector<std::string> nestedOpen = {
        "glMatrixMode", "glPushMatrix", "glMatrixMode", "glPushMatrix", "glEnable",        "glEnable",
        "glEnable",     "glDepthFunc",  "glShadeModel", "glEnable",     "glColorMaterial", "glDisable",
    };
    EXPECT_EQ(glDouble::callNames(), nestedOpen);
    EXPECT_EQ(args(glDouble::calls()[0]), std::vector<double>{GL_PROJECTION});
    EXPECT_EQ(args(glDouble::calls()[2]), std::vector<double>{GL_MODELVIEW});
    EXPECT_EQ(frameDepth, 2);

    glDouble::clearCalls();
    zruCloseTelaFrame();
    EXPECT_EQ(glDouble::callNames(),
              (std::vector<std::string>{"glMatrixMode", "glPopMatrix", "glMatrixMode", "glPopMatrix"}));
    EXPECT_EQ(args(glDouble::calls()[0]), std::vector<double>{GL_PROJECTION});
    EXPECT_EQ(args(glDouble::calls()[2]), std::vector<double>{GL_MODELVIEW});
    EXPECT_EQ(frameDepth, 1);

    glDouble::clearCalls();
    zruCloseTelaFrame();
    EXPECT_EQ(glDouble::callNames(), std::vector<std::string>{"glutSwapBuffers"});
}

TEST_F(Frames, WarnsBeyondTenOpenFramesAndOpensAllTheSame)
{
    openTopLevelAt(640, 480);
    while (frameDepth < 10) {
        zruOpenTelaFrame();
    }
    CaptureStderr();
    zruOpenTelaFrame(); // at 10: quiet
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(frameDepth, 11);

    CaptureStderr();
    zruOpenTelaFrame();
    EXPECT_EQ(GetCapturedStderr(), "Warning, frameDepth already at 11\n\n");
    EXPECT_EQ(frameDepth, 12);
}

TEST_F(Frames, ClosingWithNoFrameOpenReportsAndChangesNothing)
{
    ASSERT_EQ(frameDepth, 0);
    CaptureStderr();
    zruCloseTelaFrame();
    EXPECT_EQ(GetCapturedStderr(), "Warning, frame closed with no frame open\n");
    EXPECT_EQ(frameDepth, 0);
    EXPECT_TRUE(glDouble::calls().empty());

    // The next frame is still a top-level one.
    zruOpenTelaFrame();
    EXPECT_EQ(glDouble::calls().at(0).name, "glViewport");
}

TEST_F(Frames, ViewConstantsFollowTheWindowSizeOnlyAtTopLevel)
{
    openTopLevelAt(1024, 768);
    zruCloseTelaFrame();
    const TelaView at60 = computeTelaView(1024, 768, 60.0f);

    // A new field of view alone reaches gluPerspective but not the eye.
    zruScreenFov = 45.0f;
    glDouble::clearCalls();
    zruOpenTelaFrame();
    EXPECT_EQ(args(glDouble::callsNamed("gluPerspective").at(0)),
              (std::vector<double>{45, at60.aspect, at60.nearPlane, at60.farPlane}));

    // A size change inside a nested frame is not looked at.
    zruWindowWidth = 800;
    zruWindowHeight = 600;
    glDouble::clearCalls();
    zruOpenTelaFrame();
    zruCloseTelaFrame();
    zruCloseTelaFrame();
    EXPECT_TRUE(glDouble::callsNamed("gluPerspective").empty());

    // The next top-level frame recomputes for the new size and angle.
    glDouble::clearCalls();
    zruOpenTelaFrame();
    const TelaView at45 = computeTelaView(800, 600, 45.0f);
    EXPECT_EQ(args(glDouble::callsNamed("gluLookAt").at(0)),
              (std::vector<double>{400, 300, at45.eyeDistance, 400, 300, 0, 0, 1, 0}));
    EXPECT_EQ(args(glDouble::callsNamed("glViewport").at(0)), (std::vector<double>{0, 0, 800, 600}));
}

TEST(TelaFrame, FirstFrameAtZeroSizeUsesTheInitialConstants)
{
    expectInFreshProcess([] {
        zruOpen();
        glDouble::clearCalls();
        zruOpenTelaFrame();
        EXPECT_EQ(glDouble::callsNamed("glLightfv").at(0).args,
                  (std::vector<double>{GL_LIGHT0, GL_POSITION, 320, 240, 100, 0}));
        EXPECT_EQ(glDouble::callsNamed("gluPerspective").at(0).args,
                  (std::vector<double>{60, 4.0f / 3.0f, 10, 1000}));
        EXPECT_EQ(glDouble::callsNamed("gluLookAt").at(0).args,
                  (std::vector<double>{320, 240, 100, 320, 240, 0, 0, 1, 0}));
    });
}
