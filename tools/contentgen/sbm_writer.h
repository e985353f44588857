// Writes .sbm model files: MS3D version 4 with vertices, triangles, groups and
// materials, followed by an empty but valid tail (no joints, no comments).
// Used by the content generator and by tests that need small models.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sbm {

struct Vertex {
    float x = 0, y = 0, z = 0;
    int8_t boneId = -1;
};

struct Triangle {
    std::array<uint16_t, 3> vertices{};
    std::array<std::array<float, 3>, 3> normals{};  // per corner
    std::array<float, 3> s{};
    std::array<float, 3> t{};                        // as in the file: t = 0 is the image's top edge
    uint8_t smoothingGroup = 1;
    uint8_t groupIndex = 0;
};

struct Group {
    std::string name;                    // at most 31 characters are kept
    std::vector<uint16_t> triangles;
    int8_t material = -1;                // -1: no material
};

struct Material {
    std::string name;
    std::array<float, 4> ambient{0.2f, 0.2f, 0.2f, 1.0f};
    std::array<float, 4> diffuse{0.8f, 0.8f, 0.8f, 1.0f};
    std::array<float, 4> specular{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<float, 4> emissive{0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
    float transparency = 1.0f;          // surface class on collision layers, blink (<= 0.5) on drawn ones
    std::string texture;                // at most 127 characters are kept
};

struct Model {
    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
    std::vector<Group> groups;
    std::vector<Material> materials;
};

// Serialises a model. Counts above 65535 are a programming error and throw std::length_error.
std::vector<uint8_t> encode(const Model& model, int32_t version = 4);
// Writes the encoded model atomically (creating parent directories); false when
// the file cannot be written.
bool writeFile(const Model& model, const std::string& path);

}  // namespace sbm
