#include "cities/circuits.h"

#include "noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <set>
#include <string>

namespace gen::cities {

namespace {

struct Candidate {
    std::vector<int> region;  // sorted
    std::vector<NodeRef> loop;
    float length = 0;
    int corners = 0;
    int firstTurn = 0;        // index and side of the first corner after the start: tells routes apart
};

struct StartInfo {
    V3 s;
    int column = 0;  // cell column holding the grid
    int line = 0;    // index of the V line of the start road
};

StartInfo startInfo(const City& c, const V3& s) {
    StartInfo si;
    si.s = s;
    float vs = s.z + kGridRoadOffset;
    while (si.line < c.nv() && c.V[size_t(si.line)] != vs) ++si.line;
    float u = s.x + 8;
    while (si.column < c.nu() && c.U[size_t(si.column)] < u) ++si.column;
    return si;
}

// Boundary loop of a set of blocks, starting with the edge that crosses the
// start cell heading +u. Empty when the outline has a hole or a pinch point.
std::vector<NodeRef> outline(const City& c, const std::vector<char>& in, const StartInfo& si) {
    int nu = c.nu(), nv = c.nv();
    auto inside = [&](int col, int row) {
        int b = c.block(col, row);
        return b >= 0 && in[size_t(b)];
    };
    auto key = [&](NodeRef n) { return n.j * nu + n.i; };
    std::vector<int> next(size_t(nu * nv), -1);
    int edgeCount = 0;
    bool ok = true;
    auto addEdge = [&](NodeRef a, NodeRef b) {
        int& slot = next[size_t(key(a))];
        if (slot != -1) ok = false;
        slot = key(b);
        ++edgeCount;
    };
    for (int row = 1; row < nv && ok; ++row)
        for (int col = 1; col < nu && ok; ++col) {
            if (!inside(col, row)) continue;
            NodeRef nw{col - 1, row - 1}, ne{col, row - 1}, se{col, row}, sw{col - 1, row};
            if (!inside(col, row - 1)) addEdge(nw, ne);
            if (!inside(col + 1, row)) addEdge(ne, se);
            if (!inside(col, row + 1)) addEdge(se, sw);
            if (!inside(col - 1, row)) addEdge(sw, nw);
        }
    if (!ok) return {};
    NodeRef a{si.column - 1, si.line}, b{si.column, si.line};
    bool forward = next[size_t(key(a))] == key(b);
    bool backward = next[size_t(key(b))] == key(a);
    if (!forward && !backward) return {};
    std::vector<NodeRef> loop;
    int startKey = forward ? key(b) : key(a), endKey = forward ? key(a) : key(b);
    int k = startKey;
    for (int guard = 0; guard <= edgeCount; ++guard) {
        loop.push_back({k % nu, k / nu});
        if (k == endKey) break;
        k = next[size_t(k)];
        if (k < 0) return {};
    }
    if (int(loop.size()) != edgeCount) return {};  // another loop exists: the region has a hole
    if (!forward) {
        // Drive the other way round: the start edge then runs from a to b.
        std::reverse(loop.begin(), loop.end());
    }
    return loop;
}

P2 nodePos(const City& c, NodeRef n) { return {c.U[size_t(n.i)], c.V[size_t(n.j)]}; }

int dirIndex(NodeRef a, NodeRef b) {  // 0 north (-v), 1 east, 2 south, 3 west
    if (b.j < a.j) return 0;
    if (b.i > a.i) return 1;
    if (b.j > a.j) return 2;
    return 3;
}

// Corner count and approximate world length of a loop.
void measure(const City& c, const StartInfo& si, Candidate& cand) {
    const auto& L = cand.loop;
    size_t m = L.size();
    NodeRef a{si.column - 1, si.line};
    cand.corners = 0;
    cand.firstTurn = -1;
    for (size_t k = 0; k < m; ++k) {
        NodeRef prev = k == 0 ? a : L[k - 1];
        NodeRef next = L[(k + 1) % m];
        int din = dirIndex(prev, L[k]), dout = dirIndex(L[k], next);
        if (din != dout) {
            ++cand.corners;
            if (cand.firstTurn < 0) cand.firstTurn = int(k) * 4 + dout;
        }
    }
    float len = 0;
    for (size_t k = 0; k < m; ++k) {
        P2 p = nodePos(c, L[k]), q = nodePos(c, L[(k + 1) % m]);
        int steps = std::max(1, int(std::hypot(q.x - p.x, q.z - p.z) / 20));
        P2 w0 = c.toWorld(p.x, p.z);
        for (int s = 1; s <= steps; ++s) {
            float t = float(s) / float(steps);
            P2 w1 = c.toWorld(p.x + (q.x - p.x) * t, p.z + (q.z - p.z) * t);
            len += std::hypot(w1.x - w0.x, w1.z - w0.z);
            w0 = w1;
        }
    }
    cand.length = len - float(cand.corners) * 12.0f * (2 - 1.5708f);  // fillets cut the corners
}

std::vector<Candidate> candidatesFor(const City& c, const StartInfo& si, uint32_t seed) {
    size_t nb = c.blocks.size();
    std::vector<std::vector<int>> neighbours(nb);
    for (int row = 1; row < c.nv(); ++row)
        for (int col = 1; col < c.nu(); ++col) {
            int b = c.block(col, row);
            for (auto [dc, dr] : {std::pair{1, 0}, std::pair{0, 1}}) {
                int o = c.block(col + dc, row + dr);
                if (o >= 0 && o != b) {
                    neighbours[size_t(b)].push_back(o);
                    neighbours[size_t(o)].push_back(b);
                }
            }
        }
    for (auto& n : neighbours) {
        std::sort(n.begin(), n.end());
        n.erase(std::unique(n.begin(), n.end()), n.end());
    }
    std::vector<Candidate> out;
    std::set<std::vector<int>> seen;
    int north = c.block(si.column, si.line), south = c.block(si.column, si.line + 1);
    for (int side = 0; side < 2; ++side) {
        int seedBlock = side == 0 ? south : north, forbidden = side == 0 ? north : south;
        if (seedBlock < 0) continue;
        for (int run = 0; run < 300; ++run) {
            Rng rng(seed ^ uint32_t(side * 7919 + run * 104729));
            std::vector<char> in(nb, 0);
            std::vector<int> region{seedBlock};
            in[size_t(seedBlock)] = 1;
            float length = 0;
            for (int step = 0; step < 60; ++step) {
                std::vector<int> frontier;
                for (int b : region)
                    for (int o : neighbours[size_t(b)])
                        if (!in[size_t(o)] && o != forbidden && !c.blocks[size_t(o)].edge) frontier.push_back(o);
                std::sort(frontier.begin(), frontier.end());
                frontier.erase(std::unique(frontier.begin(), frontier.end()), frontier.end());
                bool grown = false;
                while (!frontier.empty() && !grown) {
                    size_t pick = size_t(rng.below(int(frontier.size())));
                    int b = frontier[pick];
                    frontier.erase(frontier.begin() + long(pick));
                    in[size_t(b)] = 1;
                    std::vector<NodeRef> loop = outline(c, in, si);
                    if (loop.empty()) {
                        in[size_t(b)] = 0;
                        continue;
                    }
                    grown = true;
                    region.push_back(b);
                    Candidate cand;
                    cand.region = region;
                    std::sort(cand.region.begin(), cand.region.end());
                    cand.loop = std::move(loop);
                    measure(c, si, cand);
                    length = cand.length;
                    if (length >= 1150 && length <= 3000 && seen.insert(cand.region).second) out.push_back(std::move(cand));
                }
                if (!grown || length > 2950) break;
            }
        }
    }
    return out;
}

// Dense centre line in grid space: from point 0 on the start road round the lap,
// with the corners rounded off.
std::vector<P2> centreLine(const City& c, const StartInfo& si, const std::vector<NodeRef>& loop) {
    std::vector<P2> out;
    P2 p0{si.s.x + 8, c.V[size_t(si.line)]};
    size_t m = loop.size();
    NodeRef a{si.column - 1, si.line};
    auto halfWidthOf = [&](NodeRef x, NodeRef y) {
        return x.j == y.j ? c.wV[size_t(x.j)] : c.wU[size_t(x.i)];
    };
    auto lineTo = [&](P2 q) {
        P2 p = out.empty() ? p0 : out.back();
        float d = std::hypot(q.x - p.x, q.z - p.z);
        int steps = std::max(1, int(std::ceil(d / 5.0f)));
        for (int s = 1; s <= steps; ++s) {
            float t = float(s) / float(steps);
            out.push_back({p.x + (q.x - p.x) * t, p.z + (q.z - p.z) * t});
        }
    };
    out.push_back(p0);
    for (size_t k = 0; k < m; ++k) {
        NodeRef prev = k == 0 ? a : loop[k - 1];
        NodeRef next = loop[(k + 1) % m];
        NodeRef cur = loop[k];
        P2 n = nodePos(c, cur), pp = nodePos(c, prev), np = nodePos(c, next);
        P2 din{n.x - pp.x, n.z - pp.z}, dout{np.x - n.x, np.z - n.z};
        float li = std::hypot(din.x, din.z), lo = std::hypot(dout.x, dout.z);
        din = {din.x / li, din.z / li};
        dout = {dout.x / lo, dout.z / lo};
        if (std::fabs(din.x * dout.x + din.z * dout.z) > 0.5f) {
            lineTo(n);
            continue;
        }
        float r = std::min(halfWidthOf(prev, cur), halfWidthOf(cur, next));
        P2 centre{n.x - din.x * r + dout.x * r, n.z - din.z * r + dout.z * r};
        lineTo({n.x - din.x * r, n.z - din.z * r});
        const int arcSteps = 12;
        for (int s = 1; s <= arcSteps; ++s) {
            float phi = 1.5707964f * float(s) / float(arcSteps);
            out.push_back({centre.x - dout.x * r * std::cos(phi) + din.x * r * std::sin(phi),
                           centre.z - dout.z * r * std::cos(phi) + din.z * r * std::sin(phi)});
        }
    }
    lineTo(p0);
    out.pop_back();  // the loop closes on point 0
    return out;
}

void finish(const City& c, const StartInfo& si, Circuit& ci) {
    ci.gridLine = centreLine(c, si, ci.loop);
    // World positions of the dense line, then even spacing of about 10 units.
    std::vector<V3> dense;
    for (const P2& g : ci.gridLine) dense.push_back(c.at(g.x, g.z, kLineLift));
    size_t n = dense.size();
    std::vector<float> cum(n + 1, 0);
    for (size_t k = 0; k < n; ++k) {
        const V3& p = dense[k];
        const V3& q = dense[(k + 1) % n];
        cum[k + 1] = cum[k] + std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y) + (q.z - p.z) * (q.z - p.z));
    }
    ci.length = cum[n];
    int count = std::max(3, int(std::lround(ci.length / 10.0f)));
    float step = ci.length / float(count);
    size_t seg = 0;
    for (int k = 0; k < count; ++k) {
        float s = step * float(k);
        while (seg + 1 < n && cum[seg + 1] < s) ++seg;
        const V3& p = dense[seg];
        const V3& q = dense[(seg + 1) % n];
        float len = cum[seg + 1] - cum[seg];
        float t = len > 0 ? (s - cum[seg]) / len : 0;
        ci.points.push_back({p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t});
    }
    ci.kinds.assign(size_t(count), 0);
    int checkpoints = std::max(1, int(std::lround(float(count) / 16.0f)));
    for (int j = 0; j < checkpoints; ++j) ci.kinds[size_t(std::lround(float(j) * float(count) / float(checkpoints))) % size_t(count)] = 1;

    // Stretches and barriers.
    size_t m = ci.loop.size();
    NodeRef a{si.column - 1, si.line};
    for (size_t k = 0; k < m; ++k) {
        NodeRef from = k == 0 ? a : ci.loop[k - 1];
        NodeRef to = ci.loop[k];
        float hw = from.j == to.j ? c.wV[size_t(to.j)] : c.wU[size_t(to.i)];
        ci.edges.push_back({from, to, hw});
    }
    const float P = kPavementWidth;
    for (size_t k = 0; k < m; ++k) {
        NodeRef cur = ci.loop[k];
        NodeRef prev = k == 0 ? a : ci.loop[k - 1];
        NodeRef next = ci.loop[(k + 1) % m];
        int used0 = dirIndex(cur, prev), used1 = dirIndex(cur, next);
        float u = c.U[size_t(cur.i)], v = c.V[size_t(cur.j)];
        float wu = c.wU[size_t(cur.i)] + P, wv = c.wV[size_t(cur.j)] + P;
        bool exists[4] = {c.segU(cur.i, cur.j), c.segV(cur.i + 1, cur.j), c.segU(cur.i, cur.j + 1), c.segV(cur.i, cur.j)};
        for (int d = 0; d < 4; ++d) {
            if (!exists[d] || d == used0 || d == used1) continue;
            switch (d) {
            case 0: ci.barriers.push_back({u + wu, v - wv, u - wu, v - wv}); break;
            case 1: ci.barriers.push_back({u + wu, v + wv, u + wu, v - wv}); break;
            case 2: ci.barriers.push_back({u - wu, v + wv, u + wu, v + wv}); break;
            default: ci.barriers.push_back({u - wu, v - wv, u - wu, v + wv}); break;
            }
        }
    }
}

float targetLength(int club, int race) {
    const float base[3] = {1300, 1500, 1750}, step[3] = {85, 100, 120};
    return base[club] + step[club] * float(race - 1);
}

float targetCorners(int club, int race) {
    const float base[3] = {4, 6, 8}, step[3] = {0.7f, 0.9f, 1.1f};
    return base[club] + step[club] * float(race - 1);
}

std::array<Circuit, 30> planAll() {
    std::array<Circuit, 30> plan;
    std::map<std::pair<int, int>, std::vector<Candidate>> pools;  // (map, start index)
    std::map<std::pair<int, int>, std::vector<int>> firstTurns;    // of the clubs already planned
    std::set<std::vector<int>> usedRegions[3];
    auto startKey = [](int slot) {
        const City& c = city(mapOfSlot(slot));
        V3 s = startPosition(slot);
        int index = 0;
        while (index < int(c.starts.size()) && !(c.starts[size_t(index)].x == s.x && c.starts[size_t(index)].z == s.z)) ++index;
        return std::make_pair(mapOfSlot(slot), index);
    };
    for (int slot = 1; slot <= 30; ++slot) {
        auto key = startKey(slot);
        if (!pools.count(key)) {
            const City& c = city(key.first);
            pools[key] = candidatesFor(c, startInfo(c, startPosition(slot)), 0x5eed0000u + uint32_t(key.first * 31 + key.second * 7));
        }
    }
    // Each club is planned as a whole: lap lengths strictly grow and corner counts
    // never fall from race to race, as close to the targets as the pools allow.
    for (int club = 0; club < 3; ++club) {
        struct Option {
            const Candidate* cand;
            float cost;
        };
        std::vector<std::vector<Option>> options(10);
        std::vector<std::vector<float>> best(10);
        std::vector<std::vector<int>> back(10);
        int pick = -1;
        // Close to the targets first; if no chain fits, any lengths and corner counts that still grow.
        for (int relax = 0; relax < 3 && pick < 0; ++relax) {
            for (int race = 1; race <= 10; ++race) {
                int slot = club * 10 + race;
                auto key = startKey(slot);
                float lt = targetLength(club, race), kt = targetCorners(club, race);
                std::vector<Option>& opts = options[size_t(race - 1)];
                opts.clear();
                for (const Candidate& cand : pools[key]) {
                    if (usedRegions[key.first - 1].count(cand.region)) continue;
                    if (cand.length < 1230 || cand.length > 2930) continue;
                    float window = relax == 0 ? 500.0f : relax == 1 ? 900.0f : 2000.0f;
                    if (std::fabs(cand.length - lt) > window || std::fabs(float(cand.corners) - kt) > window / 80.0f) continue;
                    float cost = std::fabs(cand.length - lt) / 80.0f + std::fabs(float(cand.corners) - kt) * 0.7f;
                    for (int ft : firstTurns[key])
                        if (ft == cand.firstTurn) cost += 3;
                    opts.push_back({&cand, cost});
                }
                // Keep the best few hundred per race so the chain search stays quick.
                std::sort(opts.begin(), opts.end(), [](const Option& a, const Option& b) {
                    return a.cost < b.cost || (a.cost == b.cost && a.cand->length < b.cand->length);
                });
                if (opts.size() > 600) opts.resize(600);
            }
            for (size_t r = 0; r < 10; ++r) {
                best[r].assign(options[r].size(), 1e30f);
                back[r].assign(options[r].size(), -1);
                for (size_t i = 0; i < options[r].size(); ++i) {
                    const Candidate* ci = options[r][i].cand;
                    if (r == 0) {
                        best[r][i] = options[r][i].cost;
                        continue;
                    }
                    for (size_t j = 0; j < options[r - 1].size(); ++j) {
                        const Candidate* cj = options[r - 1][j].cand;
                        if (best[r - 1][j] >= 1e29f || ci->length < cj->length + 40 || ci->corners < cj->corners) continue;
                        if (ci->region == cj->region) continue;
                        float total = best[r - 1][j] + options[r][i].cost;
                        if (total < best[r][i]) {
                            best[r][i] = total;
                            back[r][i] = int(j);
                        }
                    }
                }
            }
            for (size_t i = 0; i < options[9].size(); ++i)
                if (best[9][i] < 1e29f && (pick < 0 || best[9][i] < best[9][size_t(pick)])) pick = int(i);
        }
        for (int r = 9; r >= 0 && pick >= 0; --r) {
            int slot = club * 10 + r + 1;
            const Candidate& cand = *options[size_t(r)][size_t(pick)].cand;
            auto key = startKey(slot);
            const City& c = city(key.first);
            Circuit& ci = plan[size_t(slot - 1)];
            ci.slot = slot;
            ci.map = key.first;
            ci.start = startPosition(slot);
            ci.region = cand.region;
            ci.loop = cand.loop;
            ci.corners = cand.corners;
            finish(c, startInfo(c, ci.start), ci);
            usedRegions[key.first - 1].insert(cand.region);
            firstTurns[key].push_back(cand.firstTurn);
            pick = back[size_t(r)][size_t(pick)];
        }
        // Slots left without a circuit stay empty; the track checker reports them.
    }
    return plan;
}

}  // namespace

const Circuit& circuit(int slot) {
    static std::once_flag once;
    static std::array<Circuit, 30> plan;
    std::call_once(once, [] { plan = planAll(); });
    return plan[size_t(std::clamp(slot, 1, 30) - 1)];
}

}  // namespace gen::cities
