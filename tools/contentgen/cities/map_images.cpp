#include "cities/map_images.h"

#include "font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>

namespace gen::cities {

MapTransform mapTransform(int map) {
    switch (map) {
    case 2: return {0.122832f, 0.737f, 10.786f};
    case 3: return {0.12336f, -4.844f, 0.414f};
    default: return {0.12906f, -5.658f, 10.83f};
    }
}

P2 mapPixel(int map, float x, float z, int size) {
    MapTransform t = mapTransform(map);
    float u = t.k * x + t.ox, v = t.k * z + t.oz;
    return {(u + 90.0f) / 180.0f * float(size), (v + 90.0f) / 180.0f * float(size)};
}

namespace {

// Outline of a grid-space rectangle in image pixels, following the warp.
std::vector<Vec2> rectPolygon(const City& c, const Rect& r, int size) {
    std::vector<Vec2> pts;
    auto edge = [&](float u0, float v0, float u1, float v1) {
        float len = std::hypot(u1 - u0, v1 - v0);
        int n = std::max(1, int(len / 15.0f));
        for (int k = 0; k < n; ++k) {
            float t = float(k) / float(n);
            P2 w = c.toWorld(u0 + (u1 - u0) * t, v0 + (v1 - v0) * t);
            P2 p = mapPixel(c.map, w.x, w.z, size);
            pts.push_back({p.x, p.z});
        }
    };
    edge(r.u0, r.v0, r.u1, r.v0);
    edge(r.u1, r.v0, r.u1, r.v1);
    edge(r.u1, r.v1, r.u0, r.v1);
    edge(r.u0, r.v1, r.u0, r.v0);
    return pts;
}

std::vector<Vec2> linePixels(const City& c, float u0, float v0, float u1, float v1, int size) {
    std::vector<Vec2> pts;
    float len = std::hypot(u1 - u0, v1 - v0);
    int n = std::max(1, int(len / 15.0f));
    for (int k = 0; k <= n; ++k) {
        float t = float(k) / float(n);
        P2 w = c.toWorld(u0 + (u1 - u0) * t, v0 + (v1 - v0) * t);
        P2 p = mapPixel(c.map, w.x, w.z, size);
        pts.push_back({p.x, p.z});
    }
    return pts;
}

}  // namespace

Raster drawCityMap(int map, int size) {
    const City& c = city(map);
    float px = mapTransform(map).k / 180.0f * float(size);  // pixels per world unit
    Raster img(size, size, rgb(0x05070c));
    // The streets: everything inside the world rectangle starts as road.
    {
        // The warp leaves the world edge in place, so four corners do.
        P2 a = mapPixel(map, c.xmin, c.zmin, size), b = mapPixel(map, c.xmax, c.zmax, size);
        img.fillRect(a.x, a.z, b.x, b.z, rgb(0x313a4c));
    }
    for (const Block& b : c.blocks) {
        Color land = rgb(0x0d121c);
        if (b.kind == BlockKind::Park) land = rgb(0x0c2616);
        if (b.kind == BlockKind::Houses) land = rgb(0x0e1a15);
        if (b.kind == BlockKind::Yard || b.kind == BlockKind::Warehouses) land = rgb(0x12161c);
        if (b.kind == BlockKind::Quay) land = rgb(0x161a20);
        if (b.kind == BlockKind::Plaza) land = rgb(0x1e1c24);
        img.fillPolygon(rectPolygon(c, b.land, size), rgb(0x1a202c));  // pavement
        img.fillPolygon(rectPolygon(c, b.inner, size), land);
        if (b.kind == BlockKind::Quay) {
            Rect water{b.inner.u0, b.inner.v0 + 14, b.inner.u1, c.zmax};
            img.fillPolygon(rectPolygon(c, water, size), rgb(0x0e2c4c));
        }
        // Buildings as a darker core, leaving a lighter courtyard rim.
        if (b.kind != BlockKind::Park && b.kind != BlockKind::Quay && b.kind != BlockKind::Plaza && b.kind != BlockKind::Houses &&
            !b.edge) {
            Rect core{b.inner.u0 + 2, b.inner.v0 + 2, b.inner.u1 - 2, b.inner.v1 - 2};
            img.fillPolygon(rectPolygon(c, core, size), b.kind == BlockKind::Towers ? rgb(0x161e30) : rgb(0x10151f));
        }
    }
    // Avenues get a faint orange glow along their centre lines.
    Raster glow(size, size, Color{1, 1, 1, 0});
    for (int j = 0; j < c.nv(); ++j)
        for (int col = 0; col <= c.nu(); ++col)
            if (c.segV(col, j) && c.wV[size_t(j)] >= 15)
                glow.strokePolyline(linePixels(c, c.uOf(col - 1), c.V[size_t(j)], c.uOf(col), c.V[size_t(j)], size),
                                    std::max(1.0f, px * 3), false, Color{1, 1, 1, 1});
    for (int i = 0; i < c.nu(); ++i)
        for (int row = 0; row <= c.nv(); ++row)
            if (c.segU(i, row) && c.wU[size_t(i)] >= 15)
                glow.strokePolyline(linePixels(c, c.U[size_t(i)], c.vOf(row - 1), c.U[size_t(i)], c.vOf(row), size),
                                    std::max(1.0f, px * 3), false, Color{1, 1, 1, 1});
    Raster soft = glow.blurred(std::max(1.0f, px * 6));
    img.shade([&](float x, float y) {
        float a = glow.get(int(x), int(y)).a * 0.35f + soft.get(int(x), int(y)).a * 0.45f;
        return Color{1.0f, 0.45f, 0.08f, std::min(a, 0.6f)};
    }, Blend::Add);
    // A dark vignette keeps the edges quiet.
    img.radialGradient(size * 0.5f, size * 0.5f, size * 0.75f, Color{0, 0, 0, 0}, Color{0, 0, 0, 0.45f});
    return img;
}

Raster drawCircuitPreview(int slot, int size) {
    const Circuit& ci = circuit(slot);
    Raster img;
    {
        // Every slot of a city starts from the same drawing.
        static std::mutex mutex;
        static std::map<std::pair<int, int>, Raster> cache;
        std::lock_guard<std::mutex> lock(mutex);
        auto key = std::make_pair(ci.map, size);
        if (!cache.count(key)) cache[key] = drawCityMap(ci.map, size);
        img = cache[key];
    }
    auto pix = [&](float x, float z) {
        P2 p = mapPixel(ci.map, x, z, size);
        return Vec2{p.x, p.z};
    };
    const City& c = city(ci.map);
    for (const Segment2& b : ci.barriers)
        img.strokePolyline(linePixels(c, b.u0, b.v0, b.u1, b.v1, size), 3, false, rgb(0xff2020));
    std::vector<Vec2> line;
    for (const V3& p : ci.points) line.push_back(pix(p.x, p.z));
    img.strokePolyline(line, 3, true, palette::orange);
    for (size_t k = ci.kinds.size(); k-- > 0;) {
        if (!ci.kinds[k]) continue;
        Vec2 p = pix(ci.points[k].x, ci.points[k].z);
        img.fillCircle(p.x, p.y, k == 0 ? 7 : 5, k == 0 ? Color{0, 1, 0, 1} : Color{1, 0.25f, 0, 1});
    }
    // The grid: four car positions.
    for (int car = 0; car < 4; ++car) {
        Vec2 p = pix(ci.start.x, ci.start.z + 4.5f * float(car));
        img.fillCircle(p.x, p.y, 2.5f, Color{1, 1, 1, 1});
    }
    Font font(dejavuFont("DejaVuSans-Bold.ttf"));
    TextStyle ts;
    ts.size = 22;
    char label[96];
    std::snprintf(label, sizeof label, "slot %d  map %d  lap %.0f  points %zu  corners %d", slot, ci.map, double(ci.length),
                  ci.points.size(), ci.corners);
    font.draw(img, label, 16, 32, ts, Color{1, 1, 1, 1});
    return img;
}

}  // namespace gen::cities
