#include "cars/preview.h"

#include "contact_sheet.h"
#include "image_writers.h"
#include "previews.h"

#include <algorithm>
#include <mutex>

namespace cars::preview {

namespace {

struct ClipVert {
    float x, y, z, w;  // clip space
    float s, t;
    float shade;
};


ClipVert lerpVert(const ClipVert& a, const ClipVert& b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t, a.w + (b.w - a.w) * t,
            a.s + (b.s - a.s) * t, a.t + (b.t - a.t) * t, a.shade + (b.shade - a.shade) * t};
}

gen::Color sampleTexture(const gen::Raster* tex, float s, float t) {
    if (!tex) return {1, 1, 1, 1};
    float u = s - std::floor(s), v = t - std::floor(t);
    int x = std::clamp(static_cast<int>(u * static_cast<float>(tex->width())), 0, tex->width() - 1);
    int y = std::clamp(static_cast<int>(v * static_cast<float>(tex->height())), 0, tex->height() - 1);
    return tex->at(x, y);
}

}  // namespace

Camera orbit(V3 target, float yawDeg, float pitchDeg, float distance, float fovDeg) {
    float yaw = yawDeg * kPi / 180.0f, pitch = pitchDeg * kPi / 180.0f;
    Camera c;
    c.target = target;
    c.eye = target + V3{std::cos(yaw) * std::cos(pitch), std::sin(pitch), std::sin(yaw) * std::cos(pitch)} * distance;
    c.fovDeg = fovDeg;
    return c;
}

gen::Raster render(const std::vector<Item>& items, const Camera& camera, int width, int height,
                   gen::Color background) {
    gen::Raster image(width, height, background);
    std::vector<float> depth(static_cast<size_t>(width) * height, 1e30f);
    V3 fwd = normalized(camera.target - camera.eye);
    V3 right = normalized(cross(fwd, V3{0, 1, 0}));
    V3 up = cross(right, fwd);
    float f = 1.0f / std::tan(camera.fovDeg * kPi / 360.0f);
    float aspect = static_cast<float>(width) / static_cast<float>(height);
    V3 light = normalized(V3{0.4f, 0.8f, 0.3f});
    V3 fill = normalized(-camera.eye + camera.target);
    const float nearZ = 0.05f;

    for (int pass = 0; pass < 2; ++pass) {
        for (const Item& item : items) {
            if (!item.model) continue;
            bool blended = item.opacity < 1.0f;
            if ((pass == 1) != blended) continue;
            const sbm::Model& m = *item.model;
            Xform rot = item.place;
            rot.offset = {};
            for (const sbm::Triangle& tr : m.triangles) {
                V3 wp[3];
                ClipVert cv[3];
                for (int c = 0; c < 3; ++c) {
                    const sbm::Vertex& v = m.vertices[tr.vertices[c]];
                    wp[c] = item.place.apply({v.x, v.y, v.z});
                }
                V3 faceN = cross(wp[1] - wp[0], wp[2] - wp[0]);
                if (item.cull && dot(faceN, camera.eye - wp[0]) <= 0) continue;
                for (int c = 0; c < 3; ++c) {
                    V3 n = normalized(rot.apply({tr.normals[c][0], tr.normals[c][1], tr.normals[c][2]}));
                    if (!item.cull && dot(n, camera.eye - wp[c]) < 0) n = -n;
                    float lit = 0.3f + 0.6f * std::max(0.0f, dot(n, light)) + 0.3f * std::max(0.0f, -dot(n, fill));
                    V3 d = wp[c] - camera.eye;
                    float xe = dot(d, right), ye = dot(d, up), ze = dot(d, fwd);
                    cv[c] = {xe * f / aspect, ye * f, ze, ze, tr.s[c], tr.t[c], item.glow ? 1.2f : lit};
                }
                // Clip against the near plane (view depth in w).
                std::vector<ClipVert> poly(cv, cv + 3), clipped;
                for (size_t i = 0; i < poly.size(); ++i) {
                    const ClipVert& a = poly[i];
                    const ClipVert& b = poly[(i + 1) % poly.size()];
                    bool ina = a.w >= nearZ, inb = b.w >= nearZ;
                    if (ina) clipped.push_back(a);
                    if (ina != inb) clipped.push_back(lerpVert(a, b, (nearZ - a.w) / (b.w - a.w)));
                }
                if (clipped.size() < 3) continue;
                for (size_t k = 1; k + 1 < clipped.size(); ++k) {
                    const ClipVert* v[3] = {&clipped[0], &clipped[k], &clipped[k + 1]};
                    float sx[3], sy[3], iw[3];
                    for (int c = 0; c < 3; ++c) {
                        iw[c] = 1.0f / v[c]->w;
                        sx[c] = (v[c]->x * iw[c] * 0.5f + 0.5f) * static_cast<float>(width);
                        sy[c] = (0.5f - v[c]->y * iw[c] * 0.5f) * static_cast<float>(height);
                    }
                    float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
                    if (std::fabs(area) < 1e-8f) continue;
                    int x0 = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
                    int x1 = std::min(width - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
                    int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
                    int y1 = std::min(height - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
                    for (int py = y0; py <= y1; ++py)
                        for (int px = x0; px <= x1; ++px) {
                            float cx = static_cast<float>(px) + 0.5f, cy = static_cast<float>(py) + 0.5f;
                            float b0 = ((sx[1] - cx) * (sy[2] - cy) - (sx[2] - cx) * (sy[1] - cy)) / area;
                            float b1 = ((sx[2] - cx) * (sy[0] - cy) - (sx[0] - cx) * (sy[2] - cy)) / area;
                            float b2 = 1 - b0 - b1;
                            if (b0 < 0 || b1 < 0 || b2 < 0) continue;
                            float w = b0 * iw[0] + b1 * iw[1] + b2 * iw[2];
                            float z = 1.0f / w;
                            size_t di = static_cast<size_t>(py) * width + px;
                            if (z >= depth[di]) continue;
                            float s = (b0 * v[0]->s * iw[0] + b1 * v[1]->s * iw[1] + b2 * v[2]->s * iw[2]) * z;
                            float t = (b0 * v[0]->t * iw[0] + b1 * v[1]->t * iw[1] + b2 * v[2]->t * iw[2]) * z;
                            float sh = (b0 * v[0]->shade * iw[0] + b1 * v[1]->shade * iw[1] + b2 * v[2]->shade * iw[2]) * z;
                            gen::Color tex = sampleTexture(item.texture, s, t);
                            gen::Color c{tex.r * item.colour.r * sh, tex.g * item.colour.g * sh,
                                         tex.b * item.colour.b * sh, 1};
                            if (blended) {
                                image.blendPixel(px, py, c, item.opacity);
                            } else {
                                image.at(px, py) = c;
                                depth[di] = z;
                            }
                        }
                }
            }
        }
    }
    image.clamp01();
    return image;
}

bool enabled() { return gen::previews::enabled() || gen::contactSheet::enabled(); }

void save(const std::string& name, const gen::Raster& image) {
    gen::contactSheet::add("preview/" + name, image, false);
    gen::previews::save("cars/" + name, image);
}

gen::Raster tile(const std::vector<gen::Raster>& images, int columns) {
    if (images.empty()) return {};
    int w = images[0].width(), h = images[0].height();
    int rows = (static_cast<int>(images.size()) + columns - 1) / columns;
    gen::Raster out(w * columns, h * rows, gen::rgb(0x202228));
    for (size_t i = 0; i < images.size(); ++i)
        out.composite(images[i], static_cast<int>(i % columns) * w, static_cast<int>(i / columns) * h,
                      gen::Blend::Replace);
    return out;
}

}  // namespace cars::preview
