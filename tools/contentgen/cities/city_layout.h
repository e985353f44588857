// The street plan of the three night cities. A city is laid out in "grid space"
// (u along world x, v along world z): straight street lines crossing at right
// angles, the cells between them merged into blocks of different sizes. A
// smooth warp bends grid space into world space (curved streets) and a height
// field gives the gentle slopes; both are the identity / flat around the start
// grids so each grid stands on a straight, level road along +x.
//
// Cells: column c (0..nu) lies between street lines U[c-1] and U[c] (the world
// edge beyond the outermost lines), row r (0..nv) between V[r-1] and V[r].
// The outermost cells form four edge strips around the ring road.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gen::cities {

struct P2 {
    float x = 0, z = 0;
};

struct V3 {
    float x = 0, y = 0, z = 0;
};

enum class CityStyle { Downtown, Harbour, Hillside };

enum class BlockKind { Towers, Offices, Shops, Apartments, Park, Plaza, Warehouses, Yard, Houses, Quay };

// Sides of a rectangle in grid space: north is -v, east +u, south +v, west -u.
enum Side { North = 0, East = 1, South = 2, West = 3 };

struct Rect {
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    float width() const { return u1 - u0; }
    float depth() const { return v1 - v0; }
};

// A straight piece of line in grid space (kerbs, building lines, barriers).
struct Segment2 {
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};

struct Block {
    int c0 = -1, c1 = -1, r0 = -1, r1 = -1;  // cell ranges (inclusive); -1 for the edge strips
    BlockKind kind = BlockKind::Offices;
    Rect land;                 // the block up to the road edges (outer edge of the pavement)
    Rect inner;                // inside the pavement: where buildings stand
    // Kerbs and walls run so that for a direction (du, dv) the street lies on the
    // side (dv, -du) and the buildings on (-dv, du).
    std::vector<Segment2> kerbs;     // road-facing edges of the pavement
    std::vector<Segment2> walls;     // building line: closes the block off from the streets
    std::vector<Rect> pavements;     // raised pavement pieces
    int frontSide = -1;        // edge strips: the side facing the ring road
    bool edge = false;
    uint32_t seed = 0;
};

struct WarpBump {
    float u = 0, v = 0, radius = 1, du = 0, dv = 0;
};

struct Hill {
    float u = 0, v = 0, radius = 1, height = 0;
};

struct FlatZone {
    float u = 0, v = 0, inner = 0, outer = 0, height = 0;
};

// Start position S of slot 1..30 (grid slot 0; the others at +4.5 z steps).
V3 startPosition(int slot);
int raceNumber(int slot);    // 1..10
int mapOfSlot(int slot);     // 1..3 (the city)
int clubOfSlot(int slot);    // 0..2

// Centre line of the road under a start grid: z = S.z + 6.75 (the four cars span S.z..S.z+13.5).
constexpr float kGridRoadOffset = 6.75f;
constexpr float kPavementWidth = 5.0f;
constexpr float kKerbHeight = 0.25f;
constexpr float kGroundBelowStart = 1.1f;  // road height = S.y - this at every start

struct City {
    int map = 1;
    CityStyle style = CityStyle::Downtown;
    std::string name;
    float xmin = 0, xmax = 0, zmin = 0, zmax = 0;
    std::vector<float> U, wU;  // street lines along z (constant u) and their half-widths
    std::vector<float> V, wV;  // street lines along x (constant v) and their half-widths
    std::vector<int> cellBlock;  // (nv+1) rows of (nu+1) cells; -1 for edge cells
    std::vector<Block> blocks;   // interior blocks, then the four edge strips
    std::vector<WarpBump> warps;
    std::vector<Hill> hills;
    std::vector<FlatZone> flats;
    float baseHeight = 0;
    std::vector<V3> starts;      // the distinct start positions served by this city

    int nu() const { return int(U.size()); }
    int nv() const { return int(V.size()); }
    // Block id of cell (c, r); -1 for edge cells and outside.
    int block(int c, int r) const;
    // Street segment on line U[i] in row r (between cells (i, r) and (i+1, r)).
    bool segU(int i, int r) const;
    // Street segment on line V[j] in column c (between cells (c, j) and (c, j+1)).
    bool segV(int c, int j) const;
    // A node (crossing of U[i] and V[j]) exists when any street touches it.
    bool node(int i, int j) const;
    float uOf(int i) const;      // line position, with the world edges at -1 and nu
    float vOf(int j) const;

    P2 toWorld(float u, float v) const;
    float height(float u, float v) const;
    V3 at(float u, float v, float lift = 0) const {
        P2 p = toWorld(u, v);
        return {p.x, height(u, v) + lift, p.z};
    }
};

// The three cities, built once on first use (thread-safe, deterministic).
const City& city(int map);

}  // namespace gen::cities
