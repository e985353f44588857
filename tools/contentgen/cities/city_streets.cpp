// Streets: road surfaces with markings, crossings, pavements and kerbs, the
// ground under the blocks, and the assembly of the shared city layers.
#include "cities/city_geometry.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace gen::cities {

MaterialDef visualMaterial(Mat m) {
    switch (m) {
    case Mat::Street: return {"street", "street.bmp"};
    case Mat::Avenue: return {"avenue", "avenue.bmp"};
    case Mat::Junction: return {"junction", "junction.bmp"};
    case Mat::Pavement: return {"pavement", "pavement.bmp"};
    case Mat::Kerb: return {"kerb", "kerb.bmp"};
    case Mat::Grass: return {"grass", "grass.bmp"};
    case Mat::Ground: return {"ground", "ground.bmp"};
    case Mat::Plaza: return {"plaza", "plaza.bmp"};
    case Mat::Water: return {"water", "water.bmp"};
    case Mat::Roof: return {"roof", "roof.bmp"};
    case Mat::RoofTiles: return {"rooftiles", "rooftiles.bmp"};
    case Mat::Concrete: return {"concrete", "concrete.bmp"};
    case Mat::Tower: return {"tower", "tower.tga"};
    case Mat::Tower2: return {"tower2", "tower2.tga"};
    case Mat::Office: return {"office", "office.tga"};
    case Mat::Apartment: return {"apartment", "apartment.tga"};
    case Mat::Brick: return {"brick", "brick.tga"};
    case Mat::Warehouse: return {"warehouse", "warehouse.tga"};
    case Mat::House: return {"house", "house.tga"};
    case Mat::ShopFront: return {"shopfront", "shopfront.tga"};
    case Mat::NeonSteady: return {"neon", "neon.tga"};
    case Mat::NeonBlink: return {"neon_blink", "neon.tga", 0.4f};
    case Mat::Hedge: return {"hedge", "hedge.bmp"};
    case Mat::Barrier: return {"barrier", "barrier.bmp"};
    case Mat::BarrierSign: return {"barrier_sign", "barriersign.tga", 0.4f};
    case Mat::LampPost: return {"lamppost", "metal.bmp"};
    case Mat::LampHead: return {"lamphead", "lamphead.tga"};
    case Mat::Container: return {"container", "container.bmp"};
    case Mat::Steel: return {"steel", "steel.bmp"};
    default: return {"plain", ""};
    }
}

float surfaceTransparency(Surface s) {
    switch (s) {
    case Surface::Road: return 0.2f;      // class 1
    case Surface::Pavement: return 0.5f;  // class 2
    default: return 1.0f;                 // class 3
    }
}

MaterialDef collisionMaterial(Surface s) {
    switch (s) {
    case Surface::Road: return {"road", "", surfaceTransparency(s)};
    case Surface::Pavement: return {"pavement", "", surfaceTransparency(s)};
    default: return {"wall", "", surfaceTransparency(s)};
    }
}

void addPatch(MeshLayer& layer, const City& c, const Rect& r, float lift, float maxCell, int material, const UvFn& uv) {
    if (r.u1 <= r.u0 || r.v1 <= r.v0) return;
    int nu = std::max(1, int(std::ceil(r.width() / maxCell)));
    int nv = std::max(1, int(std::ceil(r.depth() / maxCell)));
    auto corner = [&](int i, int j, V3& p, float& s, float& t) {
        float u = i == nu ? r.u1 : r.u0 + r.width() * float(i) / float(nu);
        float v = j == nv ? r.v1 : r.v0 + r.depth() * float(j) / float(nv);
        p = c.at(u, v, lift);
        uv(u, v, s, t);
    };
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) {
            V3 a, b, cc, d;
            float st[8];
            // Counter-clockwise seen from above: (u0,v0) (u0,v1) (u1,v1) (u1,v0).
            corner(i, j, a, st[0], st[1]);
            corner(i, j + 1, b, st[2], st[3]);
            corner(i + 1, j + 1, cc, st[4], st[5]);
            corner(i + 1, j, d, st[6], st[7]);
            layer.quad(a, b, cc, d, st, material);
        }
}

void addTerrainWall(MeshLayer& layer, const City& c, const Segment2& s, float bottomLift, float topLift, int material,
                    float sScale, float tRepeat, bool twoSided) {
    float len = std::hypot(s.u1 - s.u0, s.v1 - s.v0);
    if (len < 1e-3f) return;
    int n = std::max(1, int(std::ceil(len / kSubdivision)));
    for (int k = 0; k < n; ++k) {
        float t0 = float(k) / float(n), t1 = float(k + 1) / float(n);
        float ua = s.u0 + (s.u1 - s.u0) * t0, va = s.v0 + (s.v1 - s.v0) * t0;
        float ub = s.u0 + (s.u1 - s.u0) * t1, vb = s.v0 + (s.v1 - s.v0) * t1;
        V3 a0 = c.at(ua, va, bottomLift), a1 = c.at(ua, va, topLift);
        V3 b0 = c.at(ub, vb, bottomLift), b1 = c.at(ub, vb, topLift);
        float sa = len * (1 - t0) * sScale, sb = len * (1 - t1) * sScale;
        // Facing the street side (dv, -du): seen from there a runs on the right.
        float st[8] = {sb, 1, sa, 1, sa, 1 - tRepeat, sb, 1 - tRepeat};
        layer.quad(b0, a0, a1, b1, st, material);
        if (twoSided) {
            float st2[8] = {sa, 1, sb, 1, sb, 1 - tRepeat, sa, 1 - tRepeat};
            layer.quad(a0, b0, b1, a1, st2, material);
        }
    }
}

void addTree(MeshLayer& layer, const City& c, float u, float v, float height, float width, TreeKind kind, float angle) {
    static const MaterialDef foliage{"foliage", "foliage.tga"};
    int mat = layer.material(foliage);
    // The foliage atlas holds four plants in its quadrants.
    int q = int(kind);
    float s0 = float(q % 2) * 0.5f, t0 = float(q / 2) * 0.5f;
    P2 w = c.toWorld(u, v);
    float y = c.height(u, v) + kKerbHeight - 0.1f;
    for (int plane = 0; plane < 2; ++plane) {
        float a = angle + float(plane) * 1.5707964f;
        float dx = std::cos(a) * width * 0.5f, dz = std::sin(a) * width * 0.5f;
        V3 p0{w.x - dx, y, w.z - dz}, p1{w.x + dx, y, w.z + dz};
        V3 p2{p1.x, y + height, p1.z}, p3{p0.x, y + height, p0.z};
        float st[8] = {s0, t0 + 0.5f, s0 + 0.5f, t0 + 0.5f, s0 + 0.5f, t0, s0, t0};
        layer.quad(p0, p1, p2, p3, st, mat);
        float back[8] = {s0 + 0.5f, t0 + 0.5f, s0, t0 + 0.5f, s0, t0, s0 + 0.5f, t0};
        layer.quad(p1, p0, p3, p2, back, mat);
    }
}

void buildStreets(const City& c, CityMeshes& out) {
    MeshLayer& vis = out.visual;
    MeshLayer& coll = out.collision;
    int street = vis.material(visualMaterial(Mat::Street));
    int avenue = vis.material(visualMaterial(Mat::Avenue));
    int junction = vis.material(visualMaterial(Mat::Junction));
    int pavement = vis.material(visualMaterial(Mat::Pavement));
    int kerb = vis.material(visualMaterial(Mat::Kerb));
    int road = coll.material(collisionMaterial(Surface::Road));
    int walk = coll.material(collisionMaterial(Surface::Pavement));
    const float tile = 16.0f;  // road texture repeat along the street

    // Roads along x (lines V[j]) and along z (lines U[i]); markings run along t.
    auto alongU = [&](int j) {
        float v0 = c.V[size_t(j)] - c.wV[size_t(j)], w2 = 2 * c.wV[size_t(j)];
        return UvFn([=](float u, float v, float& s, float& t) {
            s = (v - v0) / w2;
            t = u / tile;
        });
    };
    auto alongV = [&](int i) {
        float u0 = c.U[size_t(i)] - c.wU[size_t(i)], w2 = 2 * c.wU[size_t(i)];
        return UvFn([=](float u, float v, float& s, float& t) {
            s = 1 - (u - u0) / w2;
            t = v / tile;
        });
    };
    UvFn none = [](float, float, float& s, float& t) { s = t = 0; };
    // Downtown and harbour crossings get zebra crossings on every street that meets them.
    int zebra = vis.material({"crosswalk", "crosswalk.bmp"});
    const float zebraLength = 5.0f;
    auto degree = [&](int i, int j) { return int(c.segU(i, j)) + int(c.segU(i, j + 1)) + int(c.segV(i, j)) + int(c.segV(i + 1, j)); };
    auto zebraAt = [&](int i, int j) { return c.style != CityStyle::Hillside && degree(i, j) >= 3; };
    // One street piece; along u when alongX. The ends next to busy crossings carry the zebra.
    auto streetPiece = [&](Rect r, bool alongX, int mat, const UvFn& uv, bool zebra0, bool zebra1) {
        float len = alongX ? r.width() : r.depth();
        if (len <= 2 * zebraLength + 2) zebra0 = zebra1 = false;
        float a = zebra0 ? zebraLength : 0, b = zebra1 ? len - zebraLength : len;
        auto part = [&](float p0, float p1) {
            Rect q = r;
            if (alongX) {
                q.u0 = r.u0 + p0;
                q.u1 = r.u0 + p1;
            } else {
                q.v0 = r.v0 + p0;
                q.v1 = r.v0 + p1;
            }
            return q;
        };
        // t runs from the crossing's edge (0) outwards (1), where the stop line is.
        UvFn stripes = [&](float u, float v, float& s, float& t) {
            s = alongX ? (v - r.v0) / r.depth() : (u - r.u0) / r.width();
            float along = alongX ? u - r.u0 : v - r.v0;
            t = std::min(along, len - along) / zebraLength;
        };
        if (zebra0) addPatch(vis, c, part(0, a), 0, kSubdivision, zebra, stripes);
        addPatch(vis, c, part(a, b), 0, kSubdivision, mat, uv);
        if (zebra1) addPatch(vis, c, part(b, len), 0, kSubdivision, zebra, stripes);
        addPatch(coll, c, r, 0, kSubdivision, road, none);
    };
    for (int j = 0; j < c.nv(); ++j)
        for (int col = 0; col <= c.nu(); ++col) {
            if (!c.segV(col, j)) continue;
            Rect r{c.U[size_t(col - 1)] + c.wU[size_t(col - 1)], c.V[size_t(j)] - c.wV[size_t(j)],
                   c.U[size_t(col)] - c.wU[size_t(col)], c.V[size_t(j)] + c.wV[size_t(j)]};
            streetPiece(r, true, c.wV[size_t(j)] >= 15 ? avenue : street, alongU(j), zebraAt(col - 1, j), zebraAt(col, j));
        }
    for (int i = 0; i < c.nu(); ++i)
        for (int row = 0; row <= c.nv(); ++row) {
            if (!c.segU(i, row)) continue;
            Rect r{c.U[size_t(i)] - c.wU[size_t(i)], c.V[size_t(row - 1)] + c.wV[size_t(row - 1)],
                   c.U[size_t(i)] + c.wU[size_t(i)], c.V[size_t(row)] - c.wV[size_t(row)]};
            streetPiece(r, false, c.wU[size_t(i)] >= 15 ? avenue : street, alongV(i), zebraAt(i, row - 1), zebraAt(i, row));
        }
    UvFn world = [](float u, float v, float& s, float& t) {
        s = u / 24.0f;
        t = v / 24.0f;
    };
    for (int i = 0; i < c.nu(); ++i)
        for (int j = 0; j < c.nv(); ++j) {
            if (!c.node(i, j)) continue;
            Rect r{c.U[size_t(i)] - c.wU[size_t(i)], c.V[size_t(j)] - c.wV[size_t(j)], c.U[size_t(i)] + c.wU[size_t(i)],
                   c.V[size_t(j)] + c.wV[size_t(j)]};
            bool n = c.segU(i, j), s = c.segU(i, j + 1), w = c.segV(i, j), e = c.segV(i + 1, j);
            if (!n && !s)
                addPatch(vis, c, r, 0, kSubdivision, c.wV[size_t(j)] >= 15 ? avenue : street, alongU(j));
            else if (!w && !e)
                addPatch(vis, c, r, 0, kSubdivision, c.wU[size_t(i)] >= 15 ? avenue : street, alongV(i));
            else
                addPatch(vis, c, r, 0, kSubdivision, junction, world);
            addPatch(coll, c, r, 0, kSubdivision, road, none);
        }

    // Pavements and kerbs of every block.
    UvFn slabs = [](float u, float v, float& s, float& t) {
        s = u / 6.0f;
        t = v / 6.0f;
    };
    for (const Block& b : c.blocks) {
        for (const Rect& p : b.pavements) {
            addPatch(vis, c, p, kKerbHeight, kSubdivision, pavement, slabs);
            addPatch(coll, c, p, kKerbHeight, kSubdivision, walk, none);
        }
        for (const Segment2& k : b.kerbs) {
            addTerrainWall(vis, c, k, -0.15f, kKerbHeight, kerb, 0.25f);
            addTerrainWall(coll, c, k, -0.15f, kKerbHeight, walk, 0);
        }
    }
}

const CityMeshes& cityMeshes(int map) {
    static std::once_flag once[3];
    static CityMeshes meshes[3];
    int m = std::clamp(map, 1, 3);
    std::call_once(once[m - 1], [m] {
        const City& c = city(m);
        buildStreets(c, meshes[m - 1]);
        buildBlocks(c, meshes[m - 1]);
    });
    return meshes[m - 1];
}

SlotMeshes buildSlotMeshes(int slot) {
    const Circuit& ci = circuit(slot);
    const City& c = city(ci.map);
    const CityMeshes& shared = cityMeshes(ci.map);
    SlotMeshes out;
    out.visual.append(shared.visual);
    out.glass.append(shared.glass);
    out.trees.append(shared.trees);

    // Collision only where the cars can be: near the route.
    const float cell = 10.0f, reach = 70.0f;
    int gw = int((c.xmax - c.xmin) / cell) + 3, gh = int((c.zmax - c.zmin) / cell) + 3;
    std::vector<char> near(size_t(gw) * size_t(gh), 0);
    int rad = int(std::ceil(reach / cell));
    for (const V3& p : ci.points) {
        int gx = int((p.x - c.xmin) / cell) + 1, gz = int((p.z - c.zmin) / cell) + 1;
        for (int dz = -rad; dz <= rad; ++dz)
            for (int dx = -rad; dx <= rad; ++dx) {
                int x = gx + dx, z = gz + dz;
                if (x < 0 || z < 0 || x >= gw || z >= gh) continue;
                if (float(dx * dx + dz * dz) * cell * cell > (reach + cell) * (reach + cell)) continue;
                near[size_t(z) * size_t(gw) + size_t(x)] = 1;
            }
    }
    auto isNear = [&](const V3& p) {
        int x = int((p.x - c.xmin) / cell) + 1, z = int((p.z - c.zmin) / cell) + 1;
        return x >= 0 && z >= 0 && x < gw && z < gh && near[size_t(z) * size_t(gw) + size_t(x)];
    };
    out.collision.append(shared.collision);
    out.collision.filter([&](const MeshTri& t) {
        V3 centre = (t.p[0] + t.p[1] + t.p[2]) * (1.0f / 3.0f);
        return isNear(centre) || isNear(t.p[0]) || isNear(t.p[1]) || isNear(t.p[2]);
    });
    addCircuitProps(c, ci, out);
    return out;
}

}  // namespace gen::cities
