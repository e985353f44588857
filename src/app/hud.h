// The race HUD, drawn once per race frame over the finished scene: a mini-map
// that turns with the player's car in the lower left, the rev counter with its
// needle and the nitro bar in the lower right, the speed, the lap and place in
// the upper right and the race, lap and best-lap times in the upper left. All
// 2D positions are in the 800 x 600 HUD space, y up from the lower left.
#pragma once

#include "physics/vector_math.h"

struct RaceClock;

// The mini-map is a small 3D scene: the race view of the map, drawn at the
// quad's size in the frame's lower-left corner, masked by the alpha of TGA 39,
// captured into motionSharp and shown in this quad.
constexpr float miniMapLeft = -10.0f;
constexpr float miniMapBottom = 20.0f;
constexpr float miniMapRight = 246.0f;
constexpr float miniMapTop = 212.0f;

// How a map group's image lies under the world: a world point (x, z) is at
// (x * 0.01 * scale + offsetX, z * 0.01 * scale + offsetZ) on the map quad,
// which spans -75..75 units with the image's top edge (the city's -z side) at -75.
struct MiniMapGroup {
    float scale;
    float offsetX;
    float offsetZ;
    int bmpImage;  // BMP table entry of the map image
};

// The group (1..3) shown for a selection number n: 2 for n = 2, 5, 8; 3 for
// n = 3, 6, 9; 1 for anything else.
int miniMapGroup(int n);
const MiniMapGroup& miniMapGroupData(int group);
// n for the race being run: the race number within the club for a career
// race, whatever the track; otherwise the track's number within its city (a
// Quick Race's track 1..10 itself).
int miniMapSelection();

// Degrees, -180..180, by which the map turns so that a forward direction points
// up: -57.3 x the angle from +x to the direction in the x-z plane (positive
// towards -z).
float mapHeading(Vec3 forward);

// Needle angle in degrees: 0 at 1000 rpm or less, 0.042 per rpm above, 270 at most.
float needleAngle(float rpm);
// The share of the nitro bar shown (the bar is cut, not squeezed): nitro / 100, at most 1.
float nitroFraction(float nitro);

// A time as three strings printed over each other at one position: minutes
// " %2i", seconds "   :%2i" and hundredths "      .%2i", each number right-aligned
// in two character cells and padded with a space.
struct ClockTexts {
    char minutes[16];
    char seconds[16];
    char hundredths[16];
};
ClockTexts clockTexts(const RaceClock& clock);

// Everything the HUD prints, read from the race.
struct HudTexts {
    char speed[16];      // " %2i": speed x 7.5 in km/h, truncated
    char lap[16];        // " %2i/": 1 while the player's lapsDone is below 2
    char lapsTotal[16];  // "   %2i"
    char place[16];      // " %2i/"
    char carCount[16];   // "   %2i" with the four cars
    ClockTexts raceTime;
    ClockTexts lapTime;
    ClockTexts bestLap;
};
HudTexts hudTexts();

// Renders the mini-map for selection n into the frame's lower-left corner, at
// the size its quad has on the screen, and captures it (with the mask in its
// alpha) into the same corner of motionSharp. Clears that corner first.
void drawMiniMap(int n);
// The whole HUD: the mini-map, then the frame put back from sceneCopy with the
// glow added, the gauges, the mini-map and the texts.
void drawHud();
