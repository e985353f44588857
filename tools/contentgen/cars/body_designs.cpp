// The six bodies: a hatchback, a coupé, a muscle car, a wedge-shaped sports
// car, a saloon and a roadster. Heights are world y (ground at -0.92).
#include "cars/body_shape.h"

#include <stdexcept>

namespace cars {

namespace {

BodyDesign hatchback() {
    BodyDesign s;
    s.name = "hatchback";
    s.bumperTopF = -0.16f, s.bumperTopR = -0.1f;
    s.xf = 2.96f, s.xr = -2.86f, s.floorY = -0.64f, s.halfWidth = 1.13f;
    s.noseRound = 0.45f, s.tailRound = 0.28f;
    s.widthScale = Profile({{-2.86f, 0.96f}, {-2.0f, 1.0f}, {1.9f, 1.0f}, {2.96f, 0.95f}});
    s.belt = Profile({{2.96f, 0.0f}, {2.2f, 0.17f}, {1.0f, 0.25f}, {-1.0f, 0.3f}, {-2.86f, 0.37f}});
    s.crown = Profile({{2.96f, 0.02f}, {1.8f, 0.07f}, {1.0f, 0.05f}, {-2.0f, 0.03f}, {-2.86f, 0.02f}});
    s.cabinFront = 1.05f, s.roofFront = 0.05f, s.roofRear = -2.2f, s.cabinRear = -2.74f;
    s.roofKeys = {{0.05f, 0.88f}, {-1.0f, 0.88f}, {-2.2f, 0.79f}};
    s.tumble = 0.8f, s.roofCrown = 0.05f;
    s.rockerY = -0.5f, s.waistY = -0.16f, s.waistBulge = 0.03f;
    s.archRadius = 0.58f, s.archFlare = 0.05f;
    s.doors = 2, s.bPillarX = -1.05f;
    s.hoodScoopX = 1.95f, s.roofScoopX = -0.55f, s.spoilerX = -2.3f, s.roofSpoiler = true;
    return s;
}

BodyDesign coupe() {
    BodyDesign s;
    s.name = "coupe";
    s.bumperTopF = -0.24f, s.bumperTopR = -0.12f;
    s.xf = 3.02f, s.xr = -2.94f, s.floorY = -0.66f, s.halfWidth = 1.15f;
    s.noseRound = 0.55f, s.tailRound = 0.45f;
    s.widthScale = Profile({{-2.94f, 0.95f}, {-1.9f, 1.0f}, {1.7f, 1.0f}, {3.02f, 0.93f}});
    s.belt = Profile({{3.02f, -0.07f}, {2.3f, 0.09f}, {1.2f, 0.17f}, {0.0f, 0.21f}, {-1.6f, 0.27f}, {-2.94f, 0.26f}});
    s.crown = Profile({{3.02f, 0.03f}, {1.8f, 0.08f}, {0.95f, 0.06f}, {-2.2f, 0.05f}, {-2.94f, 0.03f}});
    s.cabinFront = 0.98f, s.roofFront = -0.1f, s.roofRear = -1.15f, s.cabinRear = -2.35f;
    s.roofKeys = {{-0.1f, 0.8f}, {-0.65f, 0.8f}, {-1.15f, 0.74f}, {-1.8f, 0.56f}};
    s.tumble = 0.72f, s.roofCrown = 0.05f;
    s.rockerY = -0.52f, s.waistY = -0.22f, s.waistBulge = 0.04f;
    s.archRadius = 0.58f, s.archFlare = 0.035f;
    s.doors = 2, s.bPillarX = -0.95f;
    s.hoodScoopX = 1.95f, s.roofScoopX = -0.4f, s.spoilerX = -2.72f;
    return s;
}

BodyDesign muscle() {
    BodyDesign s;
    s.name = "muscle";
    s.bumperTopF = -0.2f, s.bumperTopR = -0.12f;
    s.xf = 3.02f, s.xr = -2.76f, s.floorY = -0.62f, s.halfWidth = 1.15f;
    s.noseRound = 0.16f, s.tailRound = 0.14f;
    s.widthScale = Profile({{-2.76f, 0.99f}, {1.8f, 1.0f}, {3.02f, 0.97f}});
    s.belt = Profile({{3.02f, 0.15f}, {2.0f, 0.21f}, {0.6f, 0.24f}, {-1.8f, 0.27f}, {-2.76f, 0.31f}});
    s.crown = Profile({{3.02f, 0.03f}, {2.5f, 0.08f}, {0.7f, 0.08f}, {0.5f, 0.03f}, {-1.9f, 0.02f}, {-2.76f, 0.0f}});
    s.cabinFront = 0.52f, s.roofFront = -0.32f, s.roofRear = -1.2f, s.cabinRear = -1.86f;
    s.roofKeys = {{-0.32f, 0.84f}, {-1.2f, 0.83f}};
    s.tumble = 0.74f, s.roofCrown = 0.03f;
    s.rockerY = -0.5f, s.waistY = -0.1f, s.waistBulge = 0.04f;
    s.archRadius = 0.6f, s.archFlare = 0.02f, s.rearHaunch = 0.06f;
    s.doors = 2, s.bPillarX = -0.98f;
    s.crease = 30.0f;
    s.hoodScoopX = 1.55f, s.roofScoopX = -0.75f, s.spoilerX = -2.66f;
    return s;
}

BodyDesign wedge() {
    BodyDesign s;
    s.name = "wedge";
    s.bumperTopF = -0.34f, s.bumperTopR = -0.1f;
    s.xf = 3.02f, s.xr = -2.85f, s.floorY = -0.7f, s.halfWidth = 1.15f;
    s.noseRound = 0.5f, s.tailRound = 0.18f;
    s.widthScale = Profile({{-2.85f, 1.0f}, {1.0f, 1.0f}, {2.2f, 0.97f}, {3.02f, 0.88f}});
    s.belt = Profile({{3.02f, -0.1f}, {1.6f, 0.15f}, {0.5f, 0.19f}, {-1.0f, 0.26f}, {-2.85f, 0.31f}});
    s.crown = Profile({{3.02f, -0.01f}, {2.2f, -0.05f}, {1.2f, -0.04f}, {0.8f, 0.0f}, {-1.2f, 0.0f}, {-2.85f, -0.02f}});
    s.cabinFront = 0.78f, s.roofFront = -0.45f, s.roofRear = -0.95f, s.cabinRear = -2.1f;
    s.roofKeys = {{-0.45f, 0.67f}, {-0.95f, 0.66f}, {-1.5f, 0.5f}};
    s.tumble = 0.68f, s.roofCrown = 0.04f;
    s.rockerY = -0.56f, s.waistY = -0.26f, s.waistBulge = 0.05f;
    s.archRadius = 0.57f, s.archFlare = 0.02f;
    s.doors = 2, s.bPillarX = -1.0f;
    s.crease = 24.0f;
    s.hoodScoopX = 2.05f, s.roofScoopX = -0.62f, s.spoilerX = -2.72f;
    return s;
}

BodyDesign saloon() {
    BodyDesign s;
    s.name = "saloon";
    s.bumperTopF = -0.16f, s.bumperTopR = -0.1f;
    s.xf = 3.0f, s.xr = -2.61f, s.floorY = -0.64f, s.halfWidth = 1.14f;
    s.noseRound = 0.35f, s.tailRound = 0.3f;
    s.widthScale = Profile({{-2.61f, 0.97f}, {-1.8f, 1.0f}, {1.9f, 1.0f}, {3.0f, 0.95f}});
    s.belt = Profile({{3.0f, 0.06f}, {2.0f, 0.18f}, {0.8f, 0.22f}, {-1.0f, 0.27f}, {-2.61f, 0.29f}});
    s.crown = Profile({{3.0f, 0.03f}, {1.6f, 0.07f}, {0.85f, 0.06f}, {-2.0f, 0.04f}, {-2.61f, 0.03f}});
    s.cabinFront = 0.86f, s.roofFront = -0.05f, s.roofRear = -1.45f, s.cabinRear = -1.98f;
    s.roofKeys = {{-0.05f, 0.86f}, {-0.8f, 0.87f}, {-1.45f, 0.84f}};
    s.tumble = 0.78f, s.roofCrown = 0.05f;
    s.rockerY = -0.5f, s.waistY = -0.18f, s.waistBulge = 0.03f;
    s.archRadius = 0.58f, s.archFlare = 0.02f;
    s.doors = 4, s.bPillarX = -0.72f;
    s.hoodScoopX = 1.85f, s.roofScoopX = -0.65f, s.spoilerX = -2.5f;
    return s;
}

BodyDesign roadster() {
    BodyDesign s;
    s.name = "roadster";
    s.bumperTopF = -0.2f, s.bumperTopR = -0.12f;
    s.xf = 3.02f, s.xr = -2.72f, s.floorY = -0.64f, s.halfWidth = 1.14f;
    s.noseRound = 0.6f, s.tailRound = 0.36f;
    s.widthScale = Profile({{-2.72f, 0.95f}, {-1.9f, 1.0f}, {-0.6f, 0.95f}, {0.5f, 0.95f}, {1.7f, 1.0f}, {3.02f, 0.92f}});
    s.belt = Profile({{3.02f, 0.0f}, {1.75f, 0.2f}, {0.6f, 0.17f}, {-0.6f, 0.18f}, {-2.0f, 0.24f}, {-2.72f, 0.22f}});
    s.crown = Profile({{3.02f, 0.02f}, {2.0f, 0.07f}, {0.5f, 0.06f}, {-1.2f, 0.06f}, {-2.72f, 0.02f}});
    s.cabinFront = 0.42f, s.roofFront = -0.06f, s.roofRear = -0.08f, s.cabinRear = -1.3f;
    s.roofKeys = {{-0.06f, 0.57f}};
    s.openTop = true;
    s.tumble = 0.86f, s.roofCrown = 0.03f;
    s.rockerY = -0.5f, s.waistY = -0.2f, s.waistBulge = 0.04f;
    s.archRadius = 0.58f, s.archFlare = 0.05f;
    s.doors = 2, s.bPillarX = -1.2f;
    s.hoodScoopX = 1.7f, s.roofScoopX = -1.62f, s.spoilerX = -2.55f;
    return s;
}

}  // namespace

const BodyDesign& bodyDesign(int body) {
    static const BodyDesign designs[kBodyModels] = {hatchback(), coupe(), muscle(), wedge(), saloon(), roadster()};
    if (body < 0 || body >= kBodyModels) throw std::out_of_range("body model");
    return designs[body];
}

}  // namespace cars
