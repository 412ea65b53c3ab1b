#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// A libgdx value with a random range: low = lowMin..lowMax.
struct GdxRanged {
    bool active = true;
    double lowMin = 0, lowMax = 0;
};

// A ranged value that moves from low towards high along a curve (over the emitter's cycle or
// the particle's life): value = low + (relative ? high : high - low) * curve(p).
struct GdxScaled : GdxRanged {
    double highMin = 0, highMax = 0;
    bool relative = false;
    std::vector<double> scaling{1.0};  // curve levels
    std::vector<double> timeline{0.0}; // their positions, 0..1
    bool independent = false;
};

// RGB triples over the particle's life.
struct GdxGradient {
    std::vector<double> colors{1.0, 1.0, 1.0};
    std::vector<double> timeline{0.0};
};

// One emitter of a libgdx 2D particle effect, as its editor saves it.
struct GdxEmitter {
    std::string name;
    GdxRanged delay{false};
    GdxRanged duration;
    int countMin = 0, countMax = 0;
    GdxScaled emission, life, lifeOffset, xOffset, yOffset;
    std::string shape = "point";
    bool edges = false;
    std::string side = "both";
    GdxScaled spawnWidth, spawnHeight, xScale, yScale, velocity, angle, rotation, wind, gravity;
    GdxGradient tint;
    GdxScaled transparency;
    bool attached = false, continuous = false, aligned = false, additive = false, behind = false;
    bool premultipliedAlpha = false;
    std::string spriteMode = "single";
    std::vector<std::string> imagePaths;
};

// Reads every emitter of a .p file. The layout is positional (key names are not checked), and
// the three generations of it are accepted item by item: one "- Scale -" or "- X Scale -" with
// "- Y Scale -", optional "independent:" lines, optional premultipliedAlpha and spriteMode
// options, "- Image Path -" with one path or "- Image Paths -" with a list; any line ends and
// any number of blank lines between emitters. Throws std::runtime_error naming the line for
// anything else.
std::vector<GdxEmitter> ReadGdxParticles(std::string_view text);

// Piecewise linear through (timeline[i], scaling[i]); past the last point, its level.
double GdxCurve(const std::vector<double>& timeline, const std::vector<double>& levels, double p);

}  // namespace orv
