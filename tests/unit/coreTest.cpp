// Opening and closing the framework, diagnostics, the clock and the font registry.
#include "testSupport.h"

#include <climits>
#include <string>

using glDouble::Call;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

TEST(Open, SettingsStartAtTheirInitialValuesAndOpenGivesTheDefaults)
{
    expectInFreshProcess([] {
        EXPECT_EQ(zruDisplayMode, GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
        EXPECT_EQ(zruDebugLevel, 0);
        EXPECT_EQ(zruDebugStr, nullptr);
        EXPECT_FALSE(zruWindowClear);
        EXPECT_EQ(zruScreenFov, 0.0f);
        EXPECT_EQ(zruTimeStep, 1);
        EXPECT_EQ(zruVideoProxyCount, 0);
        EXPECT_STREQ(zruResourceLocation, "");
        EXPECT_EQ(aafullScreen, 1);
        EXPECT_EQ(aaGrabCount, 0);

        zruOpen();
        EXPECT_EQ(zruDebugLevel, 3);
        EXPECT_NE(zruDebugStr, nullptr);
        EXPECT_TRUE(zruWindowClear);
        EXPECT_STREQ(zruResourceLocation, "C:/zrWindow/");
        EXPECT_EQ(zruScreenNear, 1.5f);
        EXPECT_EQ(zruScreenFar, 20.0f);
        EXPECT_EQ(zruScreenFov, 60.0f);
        EXPECT_TRUE(zruScreenGrabFlip);
        EXPECT_EQ(zruScreenGrabBuffer, nullptr);
        EXPECT_EQ(zruScreenGrabFlipper, nullptr);
        EXPECT_FALSE(zruVideoOpened);
        EXPECT_FALSE(zruVideoMirrorImage);
        EXPECT_FALSE(zruVideoProxyRepeating);
        EXPECT_EQ(zruTesselator, nullptr);
        EXPECT_EQ(zruWindowBgColor[0], 0.0f);
        EXPECT_EQ(zruWindowBgColor[1], 0.0f);
        EXPECT_EQ(zruWindowBgColor[2], 0.0f);
        EXPECT_EQ(frameDepth, 0);
    });
}

TEST(Open, InitialisesGlutAndTheFixedGlStateInOrder)
{
    glDouble::reset();
    zruDisplayMode = GLUT_RGBA | GLUT_DOUBLE; // may be changed before opening
    zruTimeStep = 7;                          // left alone by opening
    zruOpen();

    const std::vector<Call> expected = {
        {"glutInit", {1}, "zru"},
        {"glutInitDisplayMode", {double(GLUT_RGBA | GLUT_DOUBLE)}, ""},
        {"glutCreateWindow", {}, "zru"},
        {"glutFullScreen", {}, ""},
        {"glutReshapeFunc", {}, ""},
        {"glEnable", {GL_AUTO_NORMAL}, ""},
        {"glEnable", {GL_NORMALIZE}, ""},
        {"glEnable", {GL_BLEND}, ""},
        {"glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, ""},
    };
    EXPECT_EQ(glDouble::calls(), expected);
    EXPECT_EQ(zruTimeStep, 7);

    zruDisplayMode = GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH;
    zruTimeStep = 1;
}

TEST(Open, StartUpReshapeOnlyStoresTheSize)
{
    openFramework();
    ASSERT_NE(glDouble::callbacks().reshape, nullptr);
    glDouble::callbacks().reshape(640, 480);
    EXPECT_EQ(zruWindowWidth, 640);
    EXPECT_EQ(zruWindowHeight, 480);
    EXPECT_TRUE(glDouble::calls().empty());
}

TEST(Open, EmptiesTheFontRegistryWithoutReleasingIt)
{
    openFramework();
    int notAFont = 0;
    zrutFontList[7] = reinterpret_cast<zrFont*>(&notAFont); // would crash if released
    zrutFontNames[7][0] = 'x';
    zrutCurrentFont = 7;
    zruTextInited = false;

    zruTextInit();
    for (int slot = 0; slot < 50; ++slot) {
        EXPECT_EQ(zrutFontList[slot], nullptr) << slot;
        EXPECT_EQ(zrutFontNames[slot][0], '\0') << slot;
    }
    EXPECT_EQ(zrutCurrentFont, -1);
    EXPECT_TRUE(zruTextInited);
}

TEST(Debug, WritesMessagesUpToTheDebugLevel)
{
    struct Case {
        short level;
        int debugLevel;
        const char* message;
        std::string written;
    };
    const Case cases[] = {
        {2, 3, "warning", "warning\n"},
        {3, 3, "at the level", "at the level\n"},
        {4, 3, "too verbose", ""},
        {0, 3, "level zero", "level zero\n"},
        {-5, 3, "negative", "negative\n"},
        {-5, -6, "below a negative level", ""},
        {2, 1, "quiet", ""},
        {2, 3, "100% %s %d %n", "100% %s %d %n\n"}, // never read as a format
        {2, 3, nullptr, "(null message)\n"},
    };
    for (const Case& c : cases) {
        zruDebugLevel = c.debugLevel;
        CaptureStderr();
        zruDebug(c.level, c.message);
        EXPECT_EQ(GetCapturedStderr(), c.written) << "level " << c.level << " at " << c.debugLevel;
    }
    zruDebugLevel = 3;
}

TEST(Debug, LevelOneEndsTheProcessWithMinusOneWrittenOrNot)
{
    zruDebugLevel = 3;
    EXPECT_EXIT(zruDebug(1, "fatal: out of luck"), testing::ExitedWithCode(255), "^fatal: out of luck\n$");
    zruDebugLevel = 0;
    EXPECT_EXIT(zruDebug(1, "unseen"), testing::ExitedWithCode(255), "^$");
    zruDebugLevel = 3;
}

TEST(Clock, DividesElapsedMillisecondsByTheTimeStep)
{
    struct Case {
        int elapsed;
        int step;
        int ticks;
    };
    const Case cases[] = {
        {1234, 1, 1234},        {1234, 10, 123},       {1239, 10, 123},
        {1234, -10, -123},      {1234, 0, 1234}, // a step of 0 counts as 1
        {INT_MIN, -1, INT_MIN}, {INT_MAX, 1, INT_MAX}, {INT_MAX, INT_MAX, 1},
    };
    glDouble::reset();
    for (const Case& c : cases) {
        glDouble::setGet(GLUT_ELAPSED_TIME, c.elapsed);
        zruTimeStep = c.step;
        EXPECT_EQ(zruCurrentTimeMillis(), c.ticks) << c.elapsed << " / " << c.step;
    }
    zruTimeStep = 1;
}

TEST(Close, ShrinksTheWindowAndEndsOnTheFifthIdlePass)
{
    openFramework();
    zruScreenGrabBuffer = static_cast<unsigned char*>(std::malloc(16));
    zruClose();
    EXPECT_EQ(zruWindowWidth, 100);
    EXPECT_EQ(zruWindowHeight, 100);
    EXPECT_EQ(zruScreenGrabBuffer, nullptr);
    ASSERT_EQ(glDouble::callsNamed("glutReshapeWindow").size(), 1u);
    EXPECT_EQ(glDouble::callsNamed("glutReshapeWindow")[0].args, (std::vector<double>{100, 100}));
    EXPECT_EQ(glDouble::callbacks().idle, &winddown_cb);

    EXPECT_EXIT(
        {
            for (int pass = 0; pass < 4; ++pass) {
                glDouble::callbacks().idle();
            }
            std::fputs("counted four\n", stderr);
            glDouble::callbacks().idle();
            std::fputs("still running\n", stderr);
            std::exit(1);
        },
        testing::ExitedWithCode(0), "^counted four\n$");

    // Closing again during the wind-down starts the count afresh.
    EXPECT_EXIT(
        {
            for (int pass = 0; pass < 3; ++pass) {
                glDouble::callbacks().idle();
            }
            zruClose();
            for (int pass = 0; pass < 4; ++pass) {
                glDouble::callbacks().idle();
            }
            std::fputs("counted seven\n", stderr);
            glDouble::callbacks().idle();
            std::exit(1);
        },
        testing::ExitedWithCode(0), "^counted seven\n$");
}

TEST(Close, WindDownDoesNothingBeforeClose)
{
    expectInFreshProcess([] {
        for (int pass = 0; pass < 10; ++pass) {
            winddown_cb();
        }
    });
}
