#pragma once

#include <cstdint>

namespace orv {

// One pool slot. Every field is written at birth (InitParticle) except the alpha copy and the
// packed colour, which each update refreshes for the drawing code.
struct Particle {
    double x = 0, y = 0;   // position, frame pixels
    double sizeScale = 0;  // drawn size as a multiple of the texture frame's width and height
    double rotation = 0;   // radians
    double alphaCopy = 0;  // current alpha for the drawing code
    double age = 0;        // seconds lived
    double lifespan = 0;   // seconds this particle lives
    double birthX = 0, birthY = 0;
    double velocityX = 0, velocityY = 0;                    // gravity type, px/s
    double radialAcceleration = 0;                          // px/s² along the line from the birth point
    double tangentialAcceleration = 0;                      // px/s² across that line
    double radius = 0;                                      // radial type, px
    double radiusRate = 0;                                  // px/s by which the radius shrinks
    double orbitAngle = 0;                                  // radial type, radians
    double angularVelocity = 0;                             // radial type, radians/s
    double spin = 0;                                        // rotation change, radians/s
    double sizeRate = 0;                                    // size scale change per second
    double horizontalAmplitude = 0, verticalAmplitude = 0;  // px
    double horizontalFrequency = 0, verticalFrequency = 0;  // radians/s, 0 = off
    double previousHorizontalOffset = 0, previousVerticalOffset = 0;
    double emissionCos = 0, emissionSin = 0;
    float alpha = 0, red = 0, green = 0, blue = 0;  // nominally 0..1, not clamped
    float alphaRate = 0, redRate = 0, greenRate = 0, blueRate = 0;
    std::uint32_t packedColour = 0;  // 0xFFRRGGBB, clamped channels
    std::uint32_t frameIndex = 0;    // texture frame to draw
    std::uint64_t birth = 0;         // the emitter's birth count when it was born: tells births apart
};

}  // namespace orv
