#include "sbm_writer.h"

#include "image_writers.h"

#include <cstring>
#include <stdexcept>

namespace sbm {

namespace {

struct Out {
    std::vector<uint8_t> bytes;
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) { u8(v & 0xFF); u8(v >> 8); }
    void i32(int32_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) u8((u >> (8 * i)) & 0xFF);
    }
    void f32(float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        i32(static_cast<int32_t>(u));
    }
    void text(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i) u8(i + 1 < width && i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
    }
};

uint16_t count16(size_t n, const char* what) {
    if (n > 0xFFFF) throw std::length_error(std::string("too many ") + what + " for an .sbm file");
    return static_cast<uint16_t>(n);
}

}  // namespace

std::vector<uint8_t> encode(const Model& m, int32_t version) {
    Out out;
    out.bytes.reserve(16 + m.vertices.size() * 15 + m.triangles.size() * 70 + m.materials.size() * 361);
    const char id[] = "MS3D000000";
    for (int i = 0; i < 10; ++i) out.u8(static_cast<uint8_t>(id[i]));
    out.i32(version);

    out.u16(count16(m.vertices.size(), "vertices"));
    for (const Vertex& v : m.vertices) {
        out.u8(0);
        out.f32(v.x);
        out.f32(v.y);
        out.f32(v.z);
        out.u8(static_cast<uint8_t>(v.boneId));
        out.u8(0);
    }

    out.u16(count16(m.triangles.size(), "triangles"));
    for (const Triangle& t : m.triangles) {
        out.u16(0);
        for (uint16_t i : t.vertices) out.u16(i);
        for (const auto& n : t.normals)
            for (float c : n) out.f32(c);
        for (float s : t.s) out.f32(s);
        for (float tt : t.t) out.f32(tt);
        out.u8(t.smoothingGroup);
        out.u8(t.groupIndex);
    }

    out.u16(count16(m.groups.size(), "groups"));
    for (const Group& g : m.groups) {
        out.u8(0);
        out.text(g.name, 32);
        out.u16(count16(g.triangles.size(), "group triangles"));
        for (uint16_t i : g.triangles) out.u16(i);
        out.u8(static_cast<uint8_t>(g.material));
    }

    out.u16(count16(m.materials.size(), "materials"));
    for (const Material& mat : m.materials) {
        out.text(mat.name, 32);
        for (float c : mat.ambient) out.f32(c);
        for (float c : mat.diffuse) out.f32(c);
        for (float c : mat.specular) out.f32(c);
        for (float c : mat.emissive) out.f32(c);
        out.f32(mat.shininess);
        out.f32(mat.transparency);
        out.u8(0);
        out.text(mat.texture, 128);
        out.text("", 128);
    }

    // Tail: animation fps, current time, total frames, joint count.
    out.f32(24.0f);
    out.f32(0.0f);
    out.i32(30);
    out.u16(0);
    return out.bytes;
}

bool writeFile(const Model& model, const std::string& path) {
    // Temporary file then rename, so an interrupted run never leaves half a model.
    return gen::writeBytes(path, encode(model));
}

}  // namespace sbm
