// Renders frames of the petal demo at chosen angles and writes them as PPM
// files, for the animated picture in the README (scripts/make-gif.sh).
//
//   petalFrames <output-dir> <frame-count>
//
// Frame k shows the figure turned by k x 360 / frame-count degrees, so the
// frames loop seamlessly. The frames come from the demo's real display path:
// the framework's window, its display callback and Tela frame, and the demo's
// own draw. Only the clock is pinned, through the framework's own settings: a
// time step of INT_MAX milliseconds keeps zruCurrentTimeMillis() at 0, and the
// demo's epoch then chooses the angle, t = (0 - epoch) x 0.0025 degrees.
// Each frame is read back from the back buffer before the frame closes.
#include "petalDemo.h"

#include <GL/glut.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr float degreesPerTick = 0.0025f;
// Display passes to let go by once the window has its full-screen size, so
// the picture read back is the settled one.
constexpr int settlingFrames = 3;

bool writePpm(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    // GL rows run bottom to top, image rows top to bottom.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    bool ok = true;
    for (int row = height - 1; row >= 0 && ok; --row) {
        ok =
            std::fwrite(rgb.data() + static_cast<std::size_t>(row) * rowBytes, 1, rowBytes, file) == rowBytes;
    }
    return std::fclose(file) == 0 && ok;
}

class frameGrabber : public petalDemo {
public:
    frameGrabber(std::string outputDir, int frameCount)
        : outputDir_(std::move(outputDir)), frameCount_(frameCount)
    {
        aimAt(0);
    }

    void draw() override
    {
        petalDemo::draw();
        if (done_) {
            return;
        }
        // Wait for the full-screen size (the window starts smaller), then a
        // few more passes.
        if (zruWindowWidth != glutGet(GLUT_SCREEN_WIDTH) || zruWindowHeight != glutGet(GLUT_SCREEN_HEIGHT)) {
            settled_ = 0;
            return;
        }
        if (settled_ < settlingFrames) {
            ++settled_;
            return;
        }
        grab();
        ++frame_;
        if (frame_ == frameCount_) {
            done_ = true;
            zruClose(); // the real wind-down: status 0 a few idle passes later
        } else {
            aimAt(frame_);
        }
    }

private:
    void aimAt(int frame)
    {
        const float degrees = 360.0f * static_cast<float>(frame) / static_cast<float>(frameCount_);
        epoch = -degrees / degreesPerTick;
    }

    void grab()
    {
        const int width = zruWindowWidth;
        const int height = zruWindowHeight;
        std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                                       3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%03d.ppm", frame_);
        if (!writePpm(outputDir_ + name, width, height, rgb)) {
            std::fprintf(stderr, "petalFrames: cannot write %s%s\n", outputDir_.c_str(), name);
            std::exit(1);
        }
    }

    std::string outputDir_;
    int frameCount_;
    int frame_ = 0;
    int settled_ = 0;
    bool done_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::atoi(argv[2]) < 1) {
        std::fprintf(stderr, "usage: petalFrames <output-dir> <frame-count>\n");
        return 2;
    }
    zruOpen();
    zruTimeStep = INT_MAX;
    zrApp* app = new frameGrabber(argv[1], std::atoi(argv[2]));
    app->selfStart(); // draws until the last frame is written, then winds down
    return 0;
}
