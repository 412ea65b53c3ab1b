// libgdx .p files of the three layout generations, and what becomes of their values.
#include <gtest/gtest.h>

#include "interop/gdx_particle_file.h"
#include "tests/interop/interop_test_support.h"

namespace orv::test {
namespace {

enum class Layout { kOld, kMixed, kNew };

std::string Scaled(bool alwaysActive, std::string low, std::string high, const std::string& curve = "") {
    const std::string scaling = "scalingCount: 1\nscaling0: 1.0\ntimelineCount: 1\ntimeline0: 0.0\n";
    return (alwaysActive ? "" : "active: true\n") +
           ("lowMin: " + low + "\nlowMax: " + low + "\nhighMin: " + high) + "\nhighMax: " + high +
           "\nrelative: false\n" + (curve.empty() ? scaling : curve);
}

const std::string kInactive = "active: false\n";

// One emitter as the libgdx editor of each era saves it: rising flames, 40 units wide, drifting
// right in the wind, fading from orange to red.
std::string FlameEmitter(Layout layout, const std::string& name, const std::string& image) {
    const bool old = layout == Layout::kOld, isNew = layout == Layout::kNew;
    std::string t = name + "\n- Delay -\n" + kInactive + "- Duration - \nlowMin: 3000.0\nlowMax: 3000.0\n";
    t += "- Count - \nmin: 0\nmax: 200\n- Emission - \n" + Scaled(true, "0.0", "100.0");
    t += "- Life - \n" + Scaled(true, "0.0", "1500.0") + (old ? "" : "independent: false\n");
    t += "- Life Offset - \n" + kInactive + (isNew ? "independent: false\n" : "");
    t += "- X Offset - \n" + kInactive + "- Y Offset - \n" + Scaled(false, "-20.0", "0.0");
    t += "- Spawn Shape - \nshape: square\n- Spawn Width - \n" + Scaled(true, "0.0", "40.0");
    t += "- Spawn Height - \n" + Scaled(true, "0.0", "10.0") + (isNew ? "- X Scale - \n" : "- Scale - \n");
    t += Scaled(true, "0.0", "32.0",
                "scalingCount: 3\nscaling0: 1.0\nscaling1: 0.5\nscaling2: 0.25\n"
                "timelineCount: 3\ntimeline0: 0.0\ntimeline1: 0.5\ntimeline2: 1.0\n");
    if (isNew) t += "- Y Scale - \n" + kInactive;
    t += "- Velocity - \n" + Scaled(false, "0.0", "100.0") + "- Angle - \n" + Scaled(false, "0.0", "90.0");
    t += "- Rotation - \n" + kInactive + "- Wind - \n" + Scaled(false, "0.0", "1E1") + "- Gravity - \n" +
         kInactive;
    t += "- Tint - \ncolorsCount: 6\ncolors0: 1.0\ncolors1: 0.5\ncolors2: 0.0\ncolors3: 1.0\n"
         "colors4: 0.0\ncolors5: 0.0\ntimelineCount: 2\ntimeline0: 0.0\ntimeline1: 1.0\n";
    t += "- Transparency - \nlowMin: 0.0\nlowMax: 0.0\nhighMin: 1.0\nhighMax: 1.0\nrelative: false\n"
         "scalingCount: 2\nscaling0: 1.0\nscaling1: 0.0\ntimelineCount: 2\ntimeline0: 0.0\ntimeline1: 1.0\n";
    t += "- Options - \nattached: false\ncontinuous: true\naligned: false\nadditive: true\nbehind: false\n";
    if (!old) t += "premultipliedAlpha: false\nspriteMode: single\n";
    return t + (old ? "- Image Path -\n" + image + "\n" : "- Image Paths -\n" + image + "\n\n");
}

TEST(GdxImport, ThreeLayoutGenerations) {
    TempFolder folder;
    WritePng(folder.Path() / "flame.png", 4, 4);
    for (Layout layout : {Layout::kOld, Layout::kMixed, Layout::kNew}) {
        SCOPED_TRACE(static_cast<int>(layout));
        // Two emitters; the image line of an old file holds another machine's Windows path.
        const std::string image = layout == Layout::kOld ? "C:\\Dev\\art\\flame.png" : "flame.png";
        const char* gap = layout == Layout::kNew ? "\n\n\n\n" : "\n\n";
        std::string text =
            FlameEmitter(layout, "flame", image) + gap + FlameEmitter(layout, "second", "gone.png");
        if (layout == Layout::kNew) {  // also written with CRLF and more blank lines
            std::string crlf;
            for (char c : "\n\n" + text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
            text = crlf;
        }
        const ImportedEmitters imported = ImportText(folder, "fire.p", text);
        ASSERT_EQ(imported.emitters.size(), 2u);
        const Emitter& flame = *imported.emitters[0];
        const Emitter& second = *imported.emitters[1];
        // The names, the blending, and only the first emitter's image found.
        EXPECT_EQ(std::tuple(flame.params.name, second.params.name, flame.params.blendingMode,
                             flame.texture.Image() != nullptr, second.texture.Image() != nullptr),
                  std::tuple(u"flame", u"second", kAdditive, true, false));
        ExpectRawValues(flame,
                        "lifespan 15 duration 0 max_particles 150 offset_y 20 x_variance 200 "
                        "y_variance 50 start_size 320 finish_size 80 speed 1005 emitter_angle 2757 "
                        "start_color_r 1000 start_color_g 500 finish_color_r 1000 finish_color_g 0 "
                        "start_color_a 1000 finish_color_a 0");
        for (const char* note :
             {"scale curve of 3 points", "emission 100/s", "wind 10", "image \"gone.png\" not found"})
            EXPECT_TRUE(Reports(imported.report, note)) << note << "\n" << imported.report.Text();
    }
}

}  // namespace
}  // namespace orv::test
