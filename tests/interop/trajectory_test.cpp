// A particle imported from a y-up engine file moves on the mirror image of the path the engine
// gives it: the engine's update (as the format notes describe it) against orv's own.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/simulation.h"
#include "tests/interop/interop_test_support.h"

namespace orv::test {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDt = 1.0 / 60;
constexpr int kSteps = 90;

struct Point {
    double x, y;
};

// cocos2d-x's gravity mode in its own y-up space, relative to the emitter.
std::vector<Point> EngineGravityPath(double angleDeg, double speed, Point gravity, double radial, double tangential) {
    Point pos{0, 0};
    Point v{std::cos(angleDeg * kPi / 180) * speed, std::sin(angleDeg * kPi / 180) * speed};
    std::vector<Point> path;
    for (int i = 0; i < kSteps; ++i) {
        const double length = std::hypot(pos.x, pos.y);
        const Point u = length > 0 ? Point{pos.x / length, pos.y / length} : Point{0, 0};
        v.x += (u.x * radial - u.y * tangential + gravity.x) * kDt;
        v.y += (u.y * radial + u.x * tangential + gravity.y) * kDt;
        pos.x += v.x * kDt;
        pos.y += v.y * kDt;
        path.push_back(pos);
    }
    return path;
}

// cocos2d-x's radius mode: the particle sits opposite its polar angle.
std::vector<Point> EngineRadialPath(double angleDeg, double degPerSec, double maxRadius, double life) {
    double phi = angleDeg * kPi / 180;
    double radius = maxRadius;
    std::vector<Point> path;
    for (int i = 0; i < kSteps; ++i) {
        phi += degPerSec * kPi / 180 * kDt;
        radius += (0 - maxRadius) / life * kDt;
        path.push_back({-std::cos(phi) * radius, -std::sin(phi) * radius});
    }
    return path;
}

// orv's path of the imported emitter's first particle, relative to the origin.
std::vector<Point> OrvPath(const Emitter& emitter) {
    Particle particle;
    EXPECT_TRUE(InitParticle(emitter, particle));
    std::vector<Point> path;
    for (int i = 0; i < kSteps; ++i) {
        UpdateParticle(emitter, particle, kDt);
        path.push_back({particle.x - emitter.runtime.originX, particle.y - emitter.runtime.originY});
    }
    return path;
}

void ExpectMirrored(const std::vector<Point>& engine, const std::vector<Point>& orv) {
    ASSERT_EQ(engine.size(), orv.size());
    for (std::size_t i = 0; i < engine.size(); ++i) {
        EXPECT_NEAR(orv[i].x, engine[i].x, 1e-6) << "step " << i;
        EXPECT_NEAR(orv[i].y, -engine[i].y, 1e-6) << "step " << i;
    }
}

std::vector<std::pair<std::string, std::string>> Still(std::vector<std::pair<std::string, std::string>> entries) {
    entries.insert(entries.end(), {{"particleLifespan", Real(3)}, {"maxParticles", Integer(10)}});
    return entries;
}

TEST(Trajectory, GravityPathIsTheEnginesMirroredInY) {
    TempFolder folder;
    const ImportedEmitters imported =
        ImportText(folder, "g.plist",
                   PlistText(Still({{"angle", Real(30)}, {"speed", Real(120)}, {"gravityx", Real(10)},
                                    {"gravityy", Real(-80)}, {"radialAcceleration", Real(15)},
                                    {"tangentialAcceleration", Real(40)}})));
    Emitter& emitter = *imported.emitters[0];
    emitter.runtime.originX = 400;
    emitter.runtime.originY = 300;
    const std::vector<Point> engine = EngineGravityPath(30, 120, {10, -80}, 15, 40);
    ExpectMirrored(engine, OrvPath(emitter));
    // Launched up and to the right, pulled down: in orv's frame it rises (y falls) first.
    EXPECT_LT(OrvPath(emitter)[10].y, 0);
    EXPECT_GT(OrvPath(emitter)[10].x, 0);
}

TEST(Trajectory, RadialOrbitTurnsTheSameWayOnScreen) {
    TempFolder folder;
    const ImportedEmitters imported =
        ImportText(folder, "r.plist",
                   PlistText(Still({{"emitterType", Integer(1)}, {"angle", Real(20)},
                                    {"rotatePerSecond", Real(90)}, {"maxRadius", Real(100)}})));
    Emitter& emitter = *imported.emitters[0];
    ExpectMirrored(EngineRadialPath(20, 90, 100, 3), OrvPath(emitter));
}

TEST(Trajectory, SpriteSpinTurnsTheSameWayOnScreen) {
    TempFolder folder;
    // cocos2d-x draws the quad turned by -spin in y-up space: positive spin is clockwise on screen.
    const ImportedEmitters imported = ImportText(
        folder, "s.plist", PlistText(Still({{"rotationStart", Real(10)}, {"rotationEnd", Real(100)}, {"speed", Real(0)}})));
    Emitter& emitter = *imported.emitters[0];
    Particle particle;
    ASSERT_TRUE(InitParticle(emitter, particle));
    UpdateParticle(emitter, particle, 1.5);
    const double spin = (10 + (100 - 10) * 1.5 / 3) * kPi / 180;
    // Where the sprite's own +x axis points on screen (y down) in the engine and in orv.
    const Point engine{std::cos(-spin), -std::sin(-spin)};
    const Point orv{std::cos(particle.rotation), std::sin(particle.rotation)};
    EXPECT_NEAR(orv.x, engine.x, 1e-9);
    EXPECT_NEAR(orv.y, engine.y, 1e-9);
}

}  // namespace
}  // namespace orv::test
