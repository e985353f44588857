// Helpers for the track and car loading tests: a hidden GL window big enough
// for livery tiles, a scratch working directory, and small .sbm and TGA files
// written on the spot.
#pragma once

#include "content/texture_upload.h"
#include "sbm_writer.h"
#include "support/gl_test_window.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tracks_test {

using test_support::solidTga32;
using test_support::tga32;
using test_support::testPlatform;
using test_support::writeFileBytes;

// A hidden 320 x 320 window with a current GL context (destination alpha),
// made once per process.
inline bool glContext() { return test_support::hiddenGlWindow("tracks test", 320, 320); }

struct Tri {
    float a[3];
    float b[3];
    float c[3];
};

// One group of triangles with one material (transparency and texture as given).
inline sbm::Model modelOf(const std::vector<Tri>& tris, float transparency = 1.0f,
                          const std::string& texture = "") {
    sbm::Model model;
    sbm::Group group;
    group.name = "g";
    group.material = 0;
    for (const Tri& t : tris) {
        const float* corners[3] = {t.a, t.b, t.c};
        sbm::Triangle triangle;
        for (int k = 0; k < 3; ++k) {
            model.vertices.push_back({corners[k][0], corners[k][1], corners[k][2]});
            triangle.vertices[size_t(k)] = uint16_t(model.vertices.size() - 1);
            triangle.normals[size_t(k)] = {0.0f, 0.0f, 1.0f};
        }
        triangle.s = {0.0f, 1.0f, 0.0f};
        triangle.t = {0.0f, 0.0f, 1.0f};
        group.triangles.push_back(uint16_t(model.triangles.size()));
        model.triangles.push_back(triangle);
    }
    model.groups.push_back(group);
    sbm::Material material;
    material.name = "m";
    material.transparency = transparency;
    material.texture = texture;
    model.materials.push_back(material);
    return model;
}

// A model of n small triangles, the k-th at (k, 0, 0): the triangle count tells files apart.
inline sbm::Model markerModel(int n, const std::string& texture = "", float transparency = 1.0f) {
    std::vector<Tri> tris;
    for (int k = 0; k < n; ++k) {
        const float x = float(k);
        tris.push_back({{x, 0, 0}, {x + 0.5f, 0, 0}, {x, 0.5f, 0}});
    }
    return modelOf(tris, transparency, texture);
}

// A rectangle in the z = 0 plane facing +z, split in two triangles.
inline sbm::Model rectangleModel(float x0, float y0, float x1, float y1) {
    return modelOf({{{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}}, {{x0, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}});
}

inline bool writeModel(const std::string& path, const sbm::Model& model) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    return sbm::writeFile(model, path);
}

// A small solid RGBA texture, sampled without filtering.
inline uint32_t solidTexture(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    std::vector<uint8_t> data;
    for (int i = 0; i < 16; ++i) data.insert(data.end(), {r, g, b, a});
    TextureParams params;
    params.minFilter = params.magFilter = GL_NEAREST;
    params.mipmaps = false;
    return createTexture(data.data(), 4, 4, 4, params);
}

// Draws onto the whole 320 x 320 window through an orthographic view of
// x, y -8..8 (z -10..10), with the modelview reset.
inline void orthoWindowView() {
    glViewport(0, 0, 320, 320);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-8, 8, -8, 8, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The RGBA pixel at (x, y) of the back buffer (y from the bottom).
inline std::array<uint8_t, 4> pixelAt(int x, int y) {
    std::array<uint8_t, 4> rgba{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

}  // namespace tracks_test
