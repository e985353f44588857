#include "content/sbm_model.h"

#include "app/file_io.h"
#include "content/bmp_loader.h"
#include "content/texture_upload.h"
#include "content/tga_loader.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// A bounds-checked little-endian cursor: once a read would pass the end it
// fails, and every later read fails too.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    bool has(size_t n) const { return ok_ && n <= size_ - pos_; }

    bool skip(size_t n) {
        if (!has(n)) return fail();
        pos_ += n;
        return true;
    }
    uint8_t u8() {
        if (!has(1)) {
            fail();
            return 0;
        }
        return data_[pos_++];
    }
    uint16_t u16() {
        if (!has(2)) {
            fail();
            return 0;
        }
        uint16_t v = uint16_t(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    uint32_t u32() {
        if (!has(4)) {
            fail();
            return 0;
        }
        uint32_t v = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 |
                     uint32_t(data_[pos_ + 2]) << 16 | uint32_t(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    float f32() {
        uint32_t bits = u32();
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    }
    Vec3 vec3() {
        Vec3 v;
        v.x = f32();
        v.y = f32();
        v.z = f32();
        return v;
    }
    // A fixed-width field holding a NUL-terminated string (all of it when unterminated).
    std::string text(size_t width) {
        if (!has(width)) {
            fail();
            return {};
        }
        const char* start = reinterpret_cast<const char*>(data_ + pos_);
        pos_ += width;
        return std::string(start, strnlen(start, width));
    }

private:
    bool fail() {
        ok_ = false;
        return false;
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

constexpr size_t VertexBytes = 15;
constexpr size_t TriangleBytes = 70;
constexpr size_t MaterialBytes = 361;
constexpr size_t MinGroupBytes = 36;  // flags, name, count, material

// Fills an empty model; false at the first fault (the caller empties the model).
bool parseSbm(const uint8_t* data, size_t size, SbmModel& model) {
    Reader in(data, size);
    if (!in.has(10) || std::memcmp(data, "MS3D000000", 10) != 0) return false;
    in.skip(10);
    const int32_t version = int32_t(in.u32());
    if (!in.ok() || version < 3 || version > 4) return false;

    // Every count is checked against the bytes left before anything is
    // allocated, so a damaged count cannot ask for more than the file holds.
    const uint16_t vertexCount = in.u16();
    if (!in.has(size_t(vertexCount) * VertexBytes)) return false;
    model.vertices.resize(vertexCount);
    for (SbmVertex& v : model.vertices) {
        in.skip(1);  // flags
        v.position = in.vec3();
        v.boneId = int8_t(in.u8());
        in.skip(1);  // reference count
    }

    const uint16_t triangleCount = in.u16();
    if (!in.has(size_t(triangleCount) * TriangleBytes)) return false;
    model.triangles.resize(triangleCount);
    for (SbmTriangle& t : model.triangles) {
        in.skip(2);  // flags
        for (int32_t& index : t.vertexIndices) {
            index = in.u16();
            if (index >= vertexCount) return false;
        }
        for (Vec3& n : t.normals) n = in.vec3();
        for (float& s : t.s) s = in.f32();
        for (float& tc : t.t) tc = 1.0f - in.f32();
        in.skip(2);  // smoothing group, group index
    }

    const uint16_t groupCount = in.u16();
    if (!in.has(size_t(groupCount) * MinGroupBytes)) return false;
    model.groups.resize(groupCount);
    for (SbmGroup& g : model.groups) {
        in.skip(1 + 32);  // flags, name
        const uint16_t count = in.u16();
        if (!in.has(size_t(count) * 2 + 1)) return false;
        g.triangleIndices.resize(count);
        for (int32_t& index : g.triangleIndices) {
            index = in.u16();
            if (index >= triangleCount) return false;
        }
        g.materialIndex = int8_t(in.u8());
    }

    const uint16_t materialCount = in.u16();
    if (!in.has(size_t(materialCount) * MaterialBytes)) return false;
    model.materials.resize(materialCount);
    for (SbmMaterial& m : model.materials) {
        in.skip(32);  // name
        for (float& c : m.ambient) c = in.f32();
        for (float& c : m.diffuse) c = in.f32();
        for (float& c : m.specular) c = in.f32();
        for (float& c : m.emissive) c = in.f32();
        m.shininess = in.f32();
        m.transparency = in.f32();
        in.skip(1);  // mode
        m.textureFile = in.text(128);
        in.skip(128);  // alpha map
    }
    if (!in.ok()) return false;

    for (const SbmGroup& g : model.groups)
        if (g.materialIndex < -1 || g.materialIndex >= int32_t(materialCount)) return false;
    return true;
}

}  // namespace

int32_t surfaceClassFor(float transparency) {
    if (transparency >= 0.1f && transparency < 0.333f) return 1;
    if (transparency >= 0.333f && transparency < 0.666f) return 2;
    if (transparency >= 0.666f && transparency <= 1.0f) return 3;
    return 0;
}

SbmModel::~SbmModel() { release(); }

void SbmModel::release() {
    for (SbmMaterial& material : materials) deleteTexture(material.texture);
    for (const std::vector<SbmChunk>& group : chunks)
        for (const SbmChunk& chunk : group)
            if (chunk.list != 0) glDeleteLists(chunk.list, 1);
    chunks = {};
    cellSize = 0.0f;
    vertices = {};
    triangles = {};
    groups = {};
    materials = {};
    flat = {};
}

bool SbmModel::load(const std::string& path) {
    release();
    std::vector<uint8_t> buffer;
    std::string reason;
    ReadStatus status = ReadStatus::Unreadable;
    try {
        status = readFileBounded(path, MaxFileBytes, buffer, &reason);
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
    }
    if (status == ReadStatus::Ok && loadFromMemory(buffer.data(), buffer.size())) return true;
    // Every model the game asks for is part of base/: one line says which is left out.
    if (status == ReadStatus::Missing)
        std::fprintf(stderr, "Nightrun: model %s is missing; it is left out\n", path.c_str());
    else if (status == ReadStatus::Ok)
        std::fprintf(stderr, "Nightrun: model %s is damaged; it is left out\n", path.c_str());
    else
        std::fprintf(stderr, "Nightrun: model %s cannot be read (%s); it is left out\n", path.c_str(), reason.c_str());
    return false;
}

bool SbmModel::loadFromMemory(const uint8_t* data, size_t size) {
    release();
    bool ok = false;
    try {
        ok = data && parseSbm(data, size, *this);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) release();
    return ok;
}

void SbmModel::loadMaterialTextures(const std::string& directory) {
    for (SbmMaterial& m : materials) {
        deleteTexture(m.texture);
        if (m.textureFile.empty()) continue;
        const std::string path = directory + m.textureFile;
        m.texture = m.textureFile.find(".tga") != std::string::npos ? loadTgaTexture(path) : loadBmpTexture(path);
    }
}

void SbmModel::classifySurfaces() {
    for (const SbmGroup& g : groups) {
        const int32_t surface = g.materialIndex >= 0 ? surfaceClassFor(materials[size_t(g.materialIndex)].transparency) : 0;
        for (int32_t index : g.triangleIndices) triangles[size_t(index)].surfaceClass = surface;
    }
}

void SbmModel::flatten() {
    size_t total = 0;
    for (const SbmGroup& g : groups) total += g.triangleIndices.size();
    flat.assign(std::min(total, size_t(FlatCapacity)), FlatTriangle{});
    size_t k = 0;
    for (const SbmGroup& g : groups) {
        for (int32_t index : g.triangleIndices) {
            if (k == flat.size()) return;
            const SbmTriangle& t = triangles[size_t(index)];
            FlatTriangle& f = flat[k++];
            f.materialIndex = g.materialIndex;
            Vec3 sum;
            for (int c = 0; c < 3; ++c) {
                FlatTriangle::Corner& corner = f.corners[c];
                corner.position = vertices[size_t(t.vertexIndices[c])].position;
                corner.s = t.s[c];
                corner.t = t.t[c];
                corner.normal = t.normals[c];
                sum.x += corner.position.x;
                sum.y += corner.position.y;
                sum.z += corner.position.z;
            }
            f.centroid = {sum.x / 3.0f, sum.y / 3.0f, sum.z / 3.0f};
        }
    }
}
