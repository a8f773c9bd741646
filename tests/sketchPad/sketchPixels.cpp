// Checks a screenshot of the sketch pad's window against the strokes that
// the pointer painted.
//
//   sketchPixels <image.ppm> [<presses> <x y>... [-- <presses> <x y>...]...]
//
// Each group is one stroke: how many times the colour key had been pressed
// when it was painted, and the pointer's path in window coordinates (origin
// top-left, as the pointer was moved and as the screenshot is stored).
// Passes when
//  - every pixel along each path, every two pixels, has that stroke's colour,
//    which is what zruColorHsb makes of the stroke's hue (read through the
//    recording GL double) at 8 bits;
//  - every pixel of a grid over the whole window that lies well clear of all
//    paths has the paper colour;
//  - strokes of different hues have visibly different colours.
#include "glDouble.h"
#include "sketchPad.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int tolerance = 3; // 8-bit steps allowed per channel
constexpr int gridStep = 7;  // pixels between the paper samples
// A paper sample must be this far from every path: half the stroke width,
// plus room for the rasteriser and the square points at the joints.
const double clearance = sketchPad::strokeWidth / 2.0 * std::sqrt(2.0) + 4.0;

struct rgb {
    int r, g, b;
};

struct image {
    int width = 0, height = 0;
    std::vector<unsigned char> data;
    rgb at(int x, int y) const
    {
        const unsigned char* p = &data[3 * (static_cast<size_t>(y) * width + x)];
        return {p[0], p[1], p[2]};
    }
};

struct strokePath {
    int presses;
    std::vector<double> xy; // x0 y0 x1 y1 ...
};

bool readPpm(const char* path, image& img)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> img.width >> img.height >> maxval;
    if (!in || magic != "P6" || maxval != 255 || img.width <= 0 || img.height <= 0) {
        return false;
    }
    in.get();
    img.data.resize(3 * static_cast<size_t>(img.width) * img.height);
    in.read(reinterpret_cast<char*>(img.data.data()), static_cast<std::streamsize>(img.data.size()));
    return static_cast<bool>(in);
}

int to8(float c)
{
    return static_cast<int>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f));
}

// The colour zruColorHsb sets for the hue after this many presses.
rgb strokeColour(int presses)
{
    float hue = 0.0f;
    for (int i = 0; i < presses; ++i) {
        hue += sketchPad::hueStep;
        if (hue >= 1.0f) {
            hue -= 1.0f;
        }
    }
    glDouble::clearCalls();
    zruColorHsb(hue, sketchPad::saturation, sketchPad::brightness, 1.0f);
    const auto colours = glDouble::callsNamed("glColor4f");
    if (colours.size() != 1) {
        std::cerr << "zruColorHsb set no colour for hue " << hue << "\n";
        std::exit(2);
    }
    const auto& a = colours[0].args;
    return {to8(static_cast<float>(a[0])), to8(static_cast<float>(a[1])), to8(static_cast<float>(a[2]))};
}

bool near(rgb a, rgb b)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

std::ostream& operator<<(std::ostream& out, rgb c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

double distanceToSegment(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

double distanceToPath(double px, double py, const strokePath& s)
{
    double best = std::hypot(px - s.xy[0], py - s.xy[1]);
    for (size_t i = 2; i + 1 < s.xy.size(); i += 2) {
        best = std::min(best, distanceToSegment(px, py, s.xy[i - 2], s.xy[i - 1], s.xy[i], s.xy[i + 1]));
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: sketchPixels <image.ppm> [<presses> <x y>... [-- <presses> <x y>...]...]\n";
        return 2;
    }
    image img;
    if (!readPpm(argv[1], img)) {
        std::cerr << "cannot read " << argv[1] << " as a binary PPM\n";
        return 2;
    }
    std::vector<strokePath> strokes;
    for (int i = 2; i < argc;) {
        strokePath s{std::atoi(argv[i++]), {}};
        while (i < argc && std::string(argv[i]) != "--") {
            s.xy.push_back(std::atof(argv[i++]));
        }
        ++i;
        if (s.xy.size() < 2 || s.xy.size() % 2 != 0) {
            std::cerr << "a stroke needs pairs of coordinates\n";
            return 2;
        }
        strokes.push_back(s);
    }

    glDouble::reset();
    const rgb paper = {to8(sketchPad::paper[0]), to8(sketchPad::paper[1]), to8(sketchPad::paper[2])};
    int failures = 0;
    auto report = [&failures](const std::string& what, int x, int y, rgb seen, rgb expected) {
        if (++failures <= 10) {
            std::cerr << what << " at (" << x << ", " << y << "): " << seen << ", expected " << expected
                      << "\n";
        }
    };

    for (const strokePath& s : strokes) {
        const rgb colour = strokeColour(s.presses);
        std::cout << "stroke after " << s.presses << " presses: expected " << colour << "\n";
        if (near(colour, paper)) {
            std::cerr << "stroke colour " << colour << " cannot be told from the paper\n";
            return 2;
        }
        for (const strokePath& other : strokes) {
            if (other.presses != s.presses && near(colour, strokeColour(other.presses))) {
                std::cerr << "strokes after " << s.presses << " and " << other.presses
                          << " presses have the same colour\n";
                ++failures;
            }
        }
        size_t checked = 0;
        for (size_t i = 0; i + 1 < s.xy.size(); i += 2) {
            const double ax = s.xy[i], ay = s.xy[i + 1];
            const double bx = i + 3 < s.xy.size() ? s.xy[i + 2] : ax;
            const double by = i + 3 < s.xy.size() ? s.xy[i + 3] : ay;
            const int steps = std::max(1, static_cast<int>(std::hypot(bx - ax, by - ay) / 2.0));
            for (int k = 0; k <= steps; ++k) {
                const int x = static_cast<int>(std::lround(ax + (bx - ax) * k / steps));
                const int y = static_cast<int>(std::lround(ay + (by - ay) * k / steps));
                if (x < 0 || y < 0 || x >= img.width || y >= img.height) {
                    report("path leaves the window", x, y, {-1, -1, -1}, colour);
                    continue;
                }
                ++checked;
                const rgb seen = img.at(x, y);
                // Where strokes cross, the later one lies on top.
                bool covered = false;
                for (const strokePath& other : strokes) {
                    if (&other > &s && distanceToPath(x, y, other) < clearance) {
                        covered = true;
                    }
                }
                if (!covered && !near(seen, colour)) {
                    report("stroke pixel", x, y, seen, colour);
                }
            }
        }
        std::cout << "  " << checked << " pixels along the path\n";
    }

    size_t paperChecked = 0;
    for (int y = gridStep / 2; y < img.height; y += gridStep) {
        for (int x = gridStep / 2; x < img.width; x += gridStep) {
            bool clear = true;
            for (const strokePath& s : strokes) {
                if (distanceToPath(x, y, s) < clearance) {
                    clear = false;
                }
            }
            if (!clear) {
                continue;
            }
            ++paperChecked;
            const rgb seen = img.at(x, y);
            if (!near(seen, paper)) {
                report("paper pixel", x, y, seen, paper);
            }
        }
    }
    std::cout << paperChecked << " paper pixels in a " << img.width << " x " << img.height << " window\n";
    if (failures > 0) {
        std::cerr << failures << " pixels differ\n";
        return 1;
    }
    return 0;
}
