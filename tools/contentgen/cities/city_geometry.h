// Geometry of the cities and circuits: the parts every slot of a city shares
// (streets, blocks, buildings, trees), built once per city, and the parts of
// one circuit (barriers, street lamps, the collision mesh near the route).
#pragma once

#include "cities/circuits.h"
#include "cities/mesh_builder.h"

#include <functional>

namespace gen::cities {

// Drawn-layer materials; the textures live in base/maps/textures/.
enum class Mat {
    Street, Avenue, Junction, Pavement, Kerb, Grass, Ground, Plaza, Water, Roof, RoofTiles, Concrete,
    Tower, Tower2, Office, Apartment, Brick, Warehouse, House, ShopFront, NeonSteady, NeonBlink, Hedge,
    Barrier, BarrierSign, LampPost, LampHead, Container, Steel, Count
};
MaterialDef visualMaterial(Mat m);

// Collision surface classes travel in the material transparency.
enum class Surface { Road, Pavement, Wall };
MaterialDef collisionMaterial(Surface s);
float surfaceTransparency(Surface s);

enum class TreeKind { Broadleaf, Conifer, Palm, Bush };

struct CityMeshes {
    MeshLayer visual, collision, glass, trees;
};
// Built once per city on first use (thread-safe).
const CityMeshes& cityMeshes(int map);

struct SlotMeshes {
    MeshLayer visual, collision, glass, light, trees;
};
SlotMeshes buildSlotMeshes(int slot);

// ---- building blocks shared by the geometry files ----
using UvFn = std::function<void(float u, float v, float& s, float& t)>;
constexpr float kSubdivision = 35.0f;  // longest edge along curved or sloping ground

// A rectangle of ground in grid space, lifted above the terrain, cut into cells of at most maxCell.
void addPatch(MeshLayer& layer, const City& c, const Rect& r, float lift, float maxCell, int material, const UvFn& uv);
// A vertical strip along a grid segment following the terrain, facing the segment's street side.
// s runs sScale per unit along, t from 1 at the bottom to 0 at the top (tRepeat times).
void addTerrainWall(MeshLayer& layer, const City& c, const Segment2& s, float bottomLift, float topLift, int material,
                    float sScale, float tRepeat = 1.0f, bool twoSided = false);
// A crossed pair of two-sided quads standing at grid point (u, v).
void addTree(MeshLayer& layer, const City& c, float u, float v, float height, float width, TreeKind kind, float angle);

void buildStreets(const City& c, CityMeshes& out);
void buildBlocks(const City& c, CityMeshes& out);
// Thins the trees layer evenly down to at most maxTriangles (trees are runs of 8 triangles).
void thinTrees(MeshLayer& trees, size_t maxTriangles, uint32_t seed);
void addCircuitProps(const City& c, const Circuit& ci, SlotMeshes& out);

}  // namespace gen::cities
