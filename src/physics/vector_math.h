// Small vector helpers shared by the physics engine, the race and the content code.
#pragma once

namespace physics {}

// Three 32-bit floats, world y up.
struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
