// The thirty circuits. A circuit is the outline of a connected group of
// blocks (no holes, no pinch points), so it is a closed loop along existing
// streets; it passes its slot's start road heading +x. Longer, twistier
// outlines go to the later races of each club. Every street that leaves the
// loop is closed by a barrier at the building line.
#pragma once

#include "cities/city_layout.h"

#include <vector>

namespace gen::cities {

struct NodeRef {
    int i = 0, j = 0;  // crossing of line U[i] and line V[j]
    bool operator==(const NodeRef& o) const { return i == o.i && j == o.j; }
};

// One straight stretch of the loop between two neighbouring crossings.
struct RouteEdge {
    NodeRef from, to;
    float halfWidth = 12;
};

struct Circuit {
    int slot = 0;
    int map = 1;
    V3 start;
    std::vector<int> region;          // block ids inside the loop
    std::vector<NodeRef> loop;        // crossings in driving order
    std::vector<RouteEdge> edges;     // loop stretches in driving order
    std::vector<P2> gridLine;         // dense centre line in grid space, from point 0 round the lap
    std::vector<V3> points;           // AI path points in world space
    std::vector<int> kinds;           // 1 = checkpoint
    std::vector<Segment2> barriers;   // grid space, across the streets that leave the loop
    float length = 0;                 // lap length in world units
    int corners = 0;
};

// The circuit of slot 1..30, planned once for all slots (thread-safe, deterministic).
const Circuit& circuit(int slot);

// Height of the AI line above the road surface.
constexpr float kLineLift = 1.0f;

}  // namespace gen::cities
