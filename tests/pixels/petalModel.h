// An independent model of what the petal scene puts on the screen: the
// petals' corners carried through the modelview transforms and the Tela
// frame's perspective by plain arithmetic, and the colour each window pixel
// ends up with after the translucent petals are blended over black into an
// 8-bit framebuffer. The pixel tests compare the real GL output with it.
#ifndef PETAL_MODEL_H
#define PETAL_MODEL_H

#include <array>
#include <vector>

namespace petalModel {

struct Vec2 {
    double x, y;
};

struct Rgb {
    double r, g, b;
};

// One petal as it lands in the window: its corners in window pixels (origin
// at the lower-left corner of the window, y up) and the pass it belongs to.
struct ProjectedPetal {
    std::array<Vec2, 4> corners;
    int pass;
    double minX, maxX, minY, maxY; // bounding box of the corners
};

constexpr int passCount = 9;
constexpr int petalsPerPass = 8;
constexpr float alpha = 0.15f;

// The angle the scene turns by when the clock reads `ticks` and the object's
// epoch is `epoch`: (ticks - epoch) x 0.0025 degrees, worked in double and
// stored as float.
float sceneAngle(int ticks, float epoch);

// Hexcone HSB to RGB, in double.
Rgb hsbToRgb(double hue, double saturation, double brightness);

// The colour of pass `pass` (hue pass x 0.025 + 0.2, saturation and
// brightness 0.8).
Rgb passColour(int pass);

// The petal's offset along its own x axis: -50 to 50 in steps of 12.5.
float passOffset(int pass);

// All 72 petals in drawing order, projected for a window of width x height
// pixels seen through the Tela frame at a vertical field of view of
// `fovDegrees`, with every rotation of the scene at `angleDegrees`.
std::vector<ProjectedPetal> projectScene(double angleDegrees, int width, int height, double fovDegrees);

// Where a window point lands through the Tela frame: eye at
// (width/2, height/2, eyeDistance) looking down -z, the z = 0 plane at one
// unit per pixel.
Vec2 projectPoint(double x, double y, double z, int width, int height, double fovDegrees);

// What the model says about one pixel centre.
struct PixelVerdict {
    bool certain;                    // false within `margin` pixels of a petal's edge
    std::vector<int> coveringPasses; // pass of every petal over the point, in drawing order
};

PixelVerdict classify(const std::vector<ProjectedPetal>& petals, Vec2 point, double margin);

// Blends the covering passes' colours, in order, over black into an 8-bit
// framebuffer (rounded after every blend). Channels are 0 to 255.
std::array<int, 3> blendOverBlack(const std::vector<int>& coveringPasses);

} // namespace petalModel

#endif // PETAL_MODEL_H
