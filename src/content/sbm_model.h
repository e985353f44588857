// .sbm models: MS3D binary files, versions 3 and 4, of which the vertex,
// triangle, group and material sections are read; joints and everything behind
// them are ignored. A model that fails to load stays empty and draws nothing.
#pragma once

#include "physics/vector_math.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SbmVertex {
    int8_t boneId = -1;  // kept, unused by drawing
    Vec3 position;
};

struct SbmTriangle {
    Vec3 normals[3];             // per corner
    float s[3] = {};
    float t[3] = {};             // already 1 - t of the file (t = 0 is the image's bottom row)
    int32_t vertexIndices[3] = {};
    int32_t surfaceClass = 0;    // 0 until classifySurfaces
};

struct SbmGroup {
    int32_t materialIndex = -1;  // -1: no material
    std::vector<int32_t> triangleIndices;
    int32_t triangleCount() const { return int32_t(triangleIndices.size()); }
};

struct SbmMaterial {
    float ambient[4] = {};
    float diffuse[4] = {};
    float specular[4] = {};
    float emissive[4] = {};
    float shininess = 0.0f;
    // Not an opacity: on collision layers the surface class, on drawn layers
    // the blink flag (at most 0.5 blinks).
    float transparency = 0.0f;
    uint32_t texture = 0;        // GL texture name, 0 = none
    std::string textureFile;     // empty when the material names no texture
};

// A self-contained copy of one grouped triangle (light layers become one light
// per triangle, at its centroid).
struct FlatTriangle {
    struct Corner {
        Vec3 position;
        float s = 0.0f;
        float t = 0.0f;
        Vec3 normal;
    };
    int32_t materialIndex = -1;
    Corner corners[3];
    Vec3 centroid;
};

// A piece of one group's triangles compiled into a GL display list, with the
// bounds of its corners (render/model_drawing compiles and draws them).
struct SbmChunk {
    Vec3 boundsMin;
    Vec3 boundsMax;
    Vec3 cellCentre;  // of the grid cell it was cut from (all chunks of a cell share it)
    uint32_t list = 0;
    int32_t triangleCount = 0;
};

// The loadable model interface; the .sbm reader is its implementation.
class ModelBase {
public:
    virtual ~ModelBase() = default;
    virtual bool load(const std::string& path) = 0;
};

class SbmModel : public ModelBase {
public:
    static constexpr int FlatCapacity = 5000;
    // The most of a file that is read: far above any model of ours (the largest
    // is about 3 MB) and above what 65,535 vertices, triangles and materials take.
    static constexpr size_t MaxFileBytes = size_t(64) << 20;

    std::vector<SbmVertex> vertices;
    std::vector<SbmTriangle> triangles;
    std::vector<SbmGroup> groups;
    std::vector<SbmMaterial> materials;
    std::vector<FlatTriangle> flat;  // filled by flatten, at most FlatCapacity records
    // The groups compiled for drawing, one list of chunks per group; empty
    // until compileModel. `cellSize` > 0 when the groups were cut into cells.
    std::vector<std::vector<SbmChunk>> chunks;
    float cellSize = 0.0f;

    SbmModel() = default;
    SbmModel(const SbmModel&) = delete;
    SbmModel& operator=(const SbmModel&) = delete;
    // Deletes the material textures (needs the GL context when any exist).
    ~SbmModel() override;

    int32_t vertexCount() const { return int32_t(vertices.size()); }
    int32_t triangleCount() const { return int32_t(triangles.size()); }
    int32_t groupCount() const { return int32_t(groups.size()); }
    int32_t materialCount() const { return int32_t(materials.size()); }
    int32_t flatCount() const { return int32_t(flat.size()); }
    bool empty() const { return vertices.empty() && triangles.empty() && groups.empty() && materials.empty(); }

    // Reads one .sbm file (a regular file, at most MaxFileBytes of it),
    // replacing whatever the model held. False (and an empty model) for a
    // missing file, anything but a regular file, a wrong identifier or version,
    // a file that ends early, or an index outside its array; one line on the
    // standard error stream then names the file.
    bool load(const std::string& path) override;
    // The same from bytes already in memory.
    bool loadFromMemory(const uint8_t* data, size_t size);

    // Loads each material's texture from `directory` immediately followed by
    // its texture file (no separator added): names containing ".tga" through
    // the TGA loader, all others through the BMP loader. Needs a GL context.
    void loadMaterialTextures(const std::string& directory);

    // Surface class of every grouped triangle from its material's transparency:
    // [0.1, 0.333) 1, [0.333, 0.666) 2, [0.666, 1.0] 3, anything else or no material 0.
    void classifySurfaces();

    // Copies the grouped triangles, in group order, into `flat`; at most FlatCapacity.
    void flatten();

    // Deletes the material textures and the compiled lists and empties every array.
    void release();
};

// The surface class for one material transparency (see classifySurfaces).
int32_t surfaceClassFor(float transparency);
