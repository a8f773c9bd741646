// The integer state interface: every code from -32768 to 32767.
#include "testSupport.h"

#include <cstdlib>
#include <map>
#include <string>

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

struct Code {
    short code;
    std::vector<int*> settings; // in array order
    bool settable;
};

const std::vector<Code>& codeTable()
{
    static const std::vector<Code> table = {
        {ZRU_DEBUG_LEVEL, {&zruDebugLevel}, true},
        {ZRU_WINDOW_WIDTH, {&zruWindowWidth}, false},
        {ZRU_WINDOW_HEIGHT, {&zruWindowHeight}, false},
        {ZRU_WINDOW_SIZE, {&zruWindowWidth, &zruWindowHeight}, true},
        {ZRU_SCREEN_GRAB_QUALITY, {&zruScreenGrabQuality}, true},
        {ZRU_SCREEN_GRAB_FORMAT, {&zruScreenGrabFormat}, true},
        {ZRU_SCREEN_GRAB_X, {&zruScreenGrabX}, true},
        {ZRU_SCREEN_GRAB_Y, {&zruScreenGrabY}, true},
        {ZRU_SCREEN_GRAB_WIDTH, {&zruScreenGrabWidth}, true},
        {ZRU_SCREEN_GRAB_HEIGHT, {&zruScreenGrabHeight}, true},
        {ZRU_SCREEN_GRAB_RECT,
         {&zruScreenGrabX, &zruScreenGrabY, &zruScreenGrabWidth, &zruScreenGrabHeight},
         true},
        {ZRU_TIME_STEP, {&zruTimeStep}, true},
        {ZRU_VIDEO_WIDTH, {&zruVideoWidth}, false},
        {ZRU_VIDEO_HEIGHT, {&zruVideoHeight}, false},
        {ZRU_VIDEO_SIZE, {&zruVideoWidth, &zruVideoHeight}, false},
        {ZRU_VIDEO_ARRAY_WIDTH, {&zruVideoArrayWidth}, true},
        {ZRU_VIDEO_ARRAY_HEIGHT, {&zruVideoArrayHeight}, true},
        {ZRU_VIDEO_ARRAY_SIZE, {&zruVideoArrayWidth, &zruVideoArrayHeight}, true},
        {ZRU_VIDEO_FPS, {&zruVideoFPS}, true},
        {ZRU_VIDEO_PROXY_COUNT, {&zruVideoProxyCount}, true},
        {ZRU_VIDEO_PROXY_RAW_WIDTH, {&zruVideoProxyRawWidth}, true},
        {ZRU_VIDEO_PROXY_RAW_HEIGHT, {&zruVideoProxyRawHeight}, true},
    };
    return table;
}

const Code* findCode(int code)
{
    for (const Code& entry : codeTable()) {
        if (entry.code == code) {
            return &entry;
        }
    }
    return nullptr;
}

// Every int setting that some code reaches, with a distinct value each.
std::vector<int*> allCodedSettings()
{
    return {&zruDebugLevel,         &zruWindowWidth,        &zruWindowHeight, &zruScreenGrabQuality,
            &zruScreenGrabFormat,   &zruScreenGrabX,        &zruScreenGrabY,  &zruScreenGrabWidth,
            &zruScreenGrabHeight,   &zruTimeStep,           &zruVideoWidth,   &zruVideoHeight,
            &zruVideoArrayWidth,    &zruVideoArrayHeight,   &zruVideoFPS,     &zruVideoProxyCount,
            &zruVideoProxyRawWidth, &zruVideoProxyRawHeight};
}

std::vector<int> snapshot()
{
    std::vector<int> values;
    for (int* setting : allCodedSettings()) {
        values.push_back(*setting);
    }
    return values;
}

class StateInterface : public testing::Test {
protected:
    void SetUp() override
    {
        openFramework();
        int value = 1001;
        for (int* setting : allCodedSettings()) {
            *setting = value++;
        }
        zruDebugLevel = 3; // keeps the rejections audible
    }
    void TearDown() override
    {
        zruTimeStep = 1;
        zruDebugLevel = 3;
    }
};

std::string repeated(const std::string& line, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += line;
    }
    return text;
}

} // namespace

TEST_F(StateInterface, GetWritesExactlyTheCodesValuesInOrderAndRejectsEveryOtherCode)
{
    const int sentinel = -77777;
    int rejected = 0;
    CaptureStderr();
    for (int code = -32768; code <= 32767; ++code) {
        int values[6] = {sentinel, sentinel, sentinel, sentinel, sentinel, sentinel};
        zruGetIntegerv(static_cast<short>(code), values);
        const Code* entry = findCode(code);
        const int count = entry != nullptr ? static_cast<int>(entry->settings.size()) : 0;
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(values[i], *entry->settings[i]) << "code " << code << " value " << i;
        }
        for (int i = count; i < 6; ++i) {
            ASSERT_EQ(values[i], sentinel) << "code " << code << " wrote value " << i;
        }
        rejected += entry == nullptr ? 1 : 0;
    }
    EXPECT_EQ(rejected, 65536 - 22);
    EXPECT_EQ(GetCapturedStderr(), repeated("Bad parameter passed to zruGetIntegerv\n", rejected));
    EXPECT_TRUE(glDouble::calls().empty());
}

TEST_F(StateInterface, SetStoresTheSettableCodesInOrderAndChangesNothingForTheRest)
{
    int rejected = 0;
    CaptureStderr();
    for (int code = -32768; code <= 32767; ++code) {
        SCOPED_TRACE(code);
        const Code* entry = findCode(code);
        const std::vector<int> before = snapshot();
        const int values[4] = {-5, 6, -7, 8};
        zruSetIntegerv(static_cast<short>(code), values);
        if (entry == nullptr || !entry->settable) {
            ++rejected;
            ASSERT_EQ(snapshot(), before);
            continue;
        }
        // The code's settings took the values in order; every other setting kept its own.
        const std::vector<int*> all = allCodedSettings();
        std::vector<int> expected = before;
        for (size_t i = 0; i < entry->settings.size(); ++i) {
            for (size_t k = 0; k < all.size(); ++k) {
                if (all[k] == entry->settings[i]) {
                    expected[k] = values[i];
                }
            }
        }
        ASSERT_EQ(snapshot(), expected);
        for (size_t k = 0; k < all.size(); ++k) {
            *all[k] = before[k];
        }
    }
    EXPECT_EQ(GetCapturedStderr(), repeated("Bad parameter passed to zruSetIntegerv\n", rejected));
    EXPECT_EQ(rejected, 65536 - 17); // 22 codes, 5 of them read only
    // Only the window size reached GLUT.
    ASSERT_EQ(glDouble::callsNamed("glutReshapeWindow").size(), 1u);
    EXPECT_EQ(glDouble::callsNamed("glutReshapeWindow")[0].args, (std::vector<double>{-5, 6}));
    EXPECT_EQ(glDouble::calls().size(), 1u);
}

TEST(StateAfterOpen, GetGivesTheDefaults)
{
    expectInFreshProcess([] {
        zruOpen();
        const std::map<short, std::vector<int>> expected = {
            {ZRU_DEBUG_LEVEL, {3}},
            {ZRU_SCREEN_GRAB_QUALITY, {100}},
            {ZRU_SCREEN_GRAB_FORMAT, {40}},
            {ZRU_SCREEN_GRAB_RECT, {0, 0, 0, 0}},
            {ZRU_TIME_STEP, {1}},
            {ZRU_VIDEO_SIZE, {0, 0}},
            {ZRU_VIDEO_ARRAY_SIZE, {0, 0}},
            {ZRU_VIDEO_FPS, {15}},
            {ZRU_VIDEO_PROXY_COUNT, {-1}},
            {ZRU_VIDEO_PROXY_RAW_WIDTH, {0}},
            {ZRU_VIDEO_PROXY_RAW_HEIGHT, {0}},
            {ZRU_WINDOW_SIZE, {0, 0}}, // until the first reshape
        };
        for (const auto& [code, values] : expected) {
            std::vector<int> got(values.size(), -1);
            zruGetIntegerv(code, got.data());
            EXPECT_EQ(got, values) << "code " << code;
        }
    });
}

TEST_F(StateInterface, GetIntegerReturnsTheFirstValueOrZero)
{
    zruScreenGrabX = 11;
    zruWindowWidth = 800;
    zruWindowHeight = 600;
    EXPECT_EQ(zruGetInteger(ZRU_WINDOW_WIDTH), 800);
    EXPECT_EQ(zruGetInteger(ZRU_WINDOW_SIZE), 800);
    EXPECT_EQ(zruGetInteger(ZRU_SCREEN_GRAB_RECT), 11);
    CaptureStderr();
    EXPECT_EQ(zruGetInteger(30), 0);
    EXPECT_EQ(GetCapturedStderr(), "Bad parameter passed to zruGetIntegerv\n");
}

TEST_F(StateInterface, RectAndWindowSizeRoundTrip)
{
    const int rect[4] = {1, 2, 3, 4};
    zruSetIntegerv(ZRU_SCREEN_GRAB_RECT, rect);
    EXPECT_EQ(zruGetInteger(ZRU_SCREEN_GRAB_X), 1);
    EXPECT_EQ(zruGetInteger(ZRU_SCREEN_GRAB_HEIGHT), 4);

    // The size is stored at once and GLUT is asked for it; the grab buffers
    // go, whether or not there were any.
    for (bool withBuffers : {true, false}) {
        if (withBuffers) {
            zruScreenGrabBuffer = static_cast<unsigned char*>(std::malloc(32));
            zruScreenGrabFlipper = static_cast<unsigned char*>(std::malloc(32));
        }
        glDouble::clearCalls();
        const int size[2] = {800, 600};
        zruSetIntegerv(ZRU_WINDOW_SIZE, size);
        EXPECT_EQ(zruGetInteger(ZRU_WINDOW_WIDTH), 800);
        EXPECT_EQ(zruGetInteger(ZRU_WINDOW_HEIGHT), 600);
        EXPECT_EQ(zruScreenGrabBuffer, nullptr);
        EXPECT_EQ(zruScreenGrabFlipper, nullptr);
        ASSERT_EQ(glDouble::calls().size(), 1u);
        EXPECT_EQ(glDouble::calls()[0].name, "glutReshapeWindow");
        EXPECT_EQ(glDouble::calls()[0].args, (std::vector<double>{800, 600}));
    }
}

TEST_F(StateInterface, RefusesAZeroTimeStepAndANullArray)
{
    zruTimeStep = 4;
    struct Case {
        short code;
        const int* values;
        const char* message;
    };
    const int zero = 0;
    int room[4] = {};
    const Case cases[] = {
        {ZRU_TIME_STEP, &zero, "Bad parameter passed to zruSetIntegerv\n"},
        {ZRU_TIME_STEP, nullptr, "Bad parameter passed to zruSetIntegerv\n"},
        {ZRU_WINDOW_SIZE, nullptr, "Bad parameter passed to zruSetIntegerv\n"},
    };
    for (const Case& c : cases) {
        const std::vector<int> before = snapshot();
        CaptureStderr();
        zruSetIntegerv(c.code, c.values);
        EXPECT_EQ(GetCapturedStderr(), c.message) << c.code;
        EXPECT_EQ(snapshot(), before);
    }
    CaptureStderr();
    zruGetIntegerv(ZRU_TIME_STEP, nullptr);
    EXPECT_EQ(GetCapturedStderr(), "Bad parameter passed to zruGetIntegerv\n");
    EXPECT_TRUE(glDouble::calls().empty());

    const int negative = -3; // gives negative times, but is no error
    zruSetIntegerv(ZRU_TIME_STEP, &negative);
    zruGetIntegerv(ZRU_TIME_STEP, room);
    EXPECT_EQ(room[0], -3);
}
