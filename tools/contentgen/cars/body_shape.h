// The six race-car bodies as parametric shells: a cross-section at every station
// along the car (x), built from profile curves (belt line, hood and roof heights,
// plan-view width) with wheel arches cut around the wheels of the garage table.
// Parts that must fit a body (kits, scoops, spoilers, lamps) sample the same shape.
#pragma once

#include "cars/car_frame.h"
#include "cars/mesh.h"

#include <array>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace cars {

struct BodyDesign {
    std::string name;
    float xf = 3.0f, xr = -2.9f;          // nose and tail of the shell (the kits add the bumpers)
    float floorY = -0.64f;                // underbody
    float halfWidth = 1.14f;              // widest half-width
    Profile widthScale;                   // plan-view width factor along x
    float noseRound = 0.4f, tailRound = 0.35f;  // plan-view corner radii
    Profile belt;                         // shoulder (belt) line height along x
    Profile crown;                        // hood / deck crown above the belt at the centre line
    std::vector<std::pair<float, float>> roofKeys;  // roof centre height from the windscreen top back
    Profile roof;                         // built from roofKeys: down to the deck at both cabin ends
    float cabinFront = 1.0f, roofFront = 0.0f, roofRear = -1.2f, cabinRear = -2.0f;
    float tumble = 0.76f;                 // roof half-width over body half-width
    float roofCrown = 0.05f;
    float rockerY = -0.5f, waistY = -0.2f;
    float waistBulge = 0.03f;             // how far the waist line stands out
    float archRadius = 0.6f;
    float archFlare = 0.0f;               // extra width around the wheel arches
    float rearHaunch = 0.0f;              // extra width over the rear wheels (muscle shoulders)
    bool openTop = false;                 // roadster: no roof behind the windscreen
    int doors = 2;
    float bPillarX = -0.6f;               // centre of the B pillar (4 doors: between the doors)
    float crease = 38.0f;                 // smoothing crease angle of the shell
    float bumperTopF = -0.12f, bumperTopR = -0.1f;  // top edge of the kits' bumpers
    // Where parts sit: hood scoop centre, roof scoop centre, spoiler (x of its trailing edge).
    float hoodScoopX = 1.6f, roofScoopX = -0.4f, spoilerX = -2.6f;
    bool roofSpoiler = false;             // hatchback: the wing sits on the roof's trailing edge
    // Axles and wheel height; NaN axles take the garage table of the body model.
    float frontAxle = std::numeric_limits<float>::quiet_NaN(), rearAxle = std::numeric_limits<float>::quiet_NaN();
    float wheelY = kWheelY;
    float stationStep = 0.36f;            // spacing of the loft's even stations
    int archSteps = 5;                    // stations across each wheel arch
    bool windowStations = true;           // extra stations at the window and pillar edges
    bool underside = true;                // close the floor
};

const BodyDesign& bodyDesign(int body);

// Indices of the half cross-section points (right side, bottom centre to top centre).
enum SectionPoint {
    kFloorCentre, kWellInLow, kWellInHigh, kSillOut, kRocker, kWaist, kShoulderLow, kBelt, kDeckOut,
    kGreenBase, kRoofEdge, kRoofInner, kRoofMid, kTopCentre, kSectionPoints
};

struct Section {
    float x = 0;
    std::array<float, kSectionPoints> z{}, y{};
    float width = 0;       // half-width of the widest point
    float archY = -9;      // height of the wheel-arch cut here (-9: none)
    float green = 0;       // greenhouse height above the deck (0: none)
    float deckY = 0;       // deck height at the centre line
    float topY = 0;        // top of the section at the centre line
};

class BodyShape {
public:
    explicit BodyShape(int body);
    // A shell of another kind (the traffic cars); body() is -1.
    explicit BodyShape(const BodyDesign& design);
    const BodyDesign& design() const { return design_; }
    int body() const { return body_; }
    float frontAxle() const { return frontAxle_; }
    float rearAxle() const { return rearAxle_; }

    Section section(float x) const;
    // Stations of the shell's loft, nose and tail included, sorted from tail to nose.
    const std::vector<float>& stations() const { return stations_; }

    float halfWidthAt(float x) const;
    float beltAt(float x) const { return design_.belt(x); }
    // Height of the deck surface (hood, trunk) at (x, z), ignoring the greenhouse.
    float deckAt(float x, float z) const;
    // Top of the section (roof where there is one) at the centre line.
    float topAt(float x) const { return section(x).topY; }
    // Height of the upper surface (deck or roof) at (x, z), from the belt inwards.
    float surfaceY(float x, float z) const;
    float archAt(float x) const;
    // Height of the greenhouse above the deck at the centre line (0 outside the cabin).
    float greenhouse(float x) const;
    float sideWindowFront() const;
    float sideWindowRear() const;
    bool inWindscreen(float x) const { return x <= design_.cabinFront && x > design_.roofFront; }
    bool inRearWindow(float x) const { return x < design_.roofRear && x >= design_.cabinRear; }

private:
    void prepare();
    int body_;
    BodyDesign design_;
    float frontAxle_ = 0, rearAxle_ = 0;
    std::vector<float> stations_;
};

// The shell, its window glass and driver.
struct BodyMeshes {
    Mesh body;     // car.sbm (painted, livery UVs)
    Mesh glass;    // glass_car.sbm
    Mesh pilot;    // pilot.sbm
};
BodyMeshes buildBody(const BodyShape& shape);

// Where the shell's surfaces land in its texture.
struct ShellUv {
    std::function<UV(float x, float y)> side;
    std::function<UV(float x, float signedArc)> top;
    std::function<UV(float z, float y)> nose, tail;
    std::function<UV(float x, float z)> dark;   // wheel wells, underbody
};
// The loft and its end caps only; windows stay in the shell unless glass is given.
void buildShell(const BodyShape& shape, const ShellUv& uv, Mesh& shell, Mesh* glass);

// Body kit 0..3 (obves): bumpers, side skirts, splitters, diffusers and the exhaust tips.
Mesh buildBodyKit(const BodyShape& shape, int kit);
// Spoiler 1..5 (krilo) and hood / roof scoops 1..5 (kovsh, kovsh_top); 0 is empty.
Mesh buildSpoiler(const BodyShape& shape, int design);
Mesh buildHoodScoop(const BodyShape& shape, int design);
Mesh buildRoofScoop(const BodyShape& shape, int design);

}  // namespace cars
