// Small worlds and meshes built inside the physics tests.
#pragma once

#include <functional>
#include <memory>

#include "physics/physics_world.h"

namespace physics_test {

struct WorldDeleter {
    void operator()(physics::PhysicsWorld* w) const { physics::destroyWorld(w); }
};
using WorldPtr = std::unique_ptr<physics::PhysicsWorld, WorldDeleter>;

inline WorldPtr makeWorld(Vec3 gravity = {0, -9.81f, 0}, const physics::WorldLimits& limits = {})
{
    WorldPtr world(physics::createWorld(limits, gravity));
    physics::setMaterial(world.get(), 0, 0.0f, 0.1f);
    physics::setMaterial(world.get(), 1, 0.25f, 0.3f);
    return world;
}

// A flat square of cells x cells quads (two triangles each) at height y,
// spanning -half..half in x and z, all of one surface class.
inline physics::StaticMesh flatGround(float half, float y, int cells, int surfaceClass = 0)
{
    physics::StaticMesh mesh;
    float size = 2.0f * half / static_cast<float>(cells);
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i) mesh.vertices.push_back({-half + i * size, y, -half + j * size});
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            int a = j * (cells + 1) + i, b = a + 1, c = a + cells + 1, d = c + 1;
            mesh.triangles.push_back({{a, c, b}, surfaceClass, 0});
            mesh.triangles.push_back({{b, c, d}, surfaceClass, 0});
        }
    }
    return mesh;
}

// Appends a vertical wall in the plane z = z0, from x0 to x1 and y0 to y1.
inline void addWallZ(physics::StaticMesh& mesh, float z0, float x0, float x1, float y0, float y1, int surfaceClass = 0)
{
    int base = static_cast<int>(mesh.vertices.size());
    mesh.vertices.push_back({x0, y0, z0});
    mesh.vertices.push_back({x1, y0, z0});
    mesh.vertices.push_back({x0, y1, z0});
    mesh.vertices.push_back({x1, y1, z0});
    mesh.triangles.push_back({{base, base + 1, base + 2}, surfaceClass, 0});
    mesh.triangles.push_back({{base + 1, base + 3, base + 2}, surfaceClass, 0});
}

// A body with one box (full edge lengths) at an offset, mass and box inertia.
inline physics::RigidBody* makeBox(physics::PhysicsWorld* world, Vec3 extents, Vec3 position, float mass = 100.0f,
                                   Vec3 offset = {}, int material = 0)
{
    physics::RigidBody* body = physics::createRigidBody(world);
    physics::Geometry* g = physics::createGeometry(body);
    physics::setBoxSize(g, extents);
    physics::setGeometryOffset(g, translationMatrix(offset));
    physics::setGeometryMaterial(g, material);
    physics::setMass(body, mass);
    physics::setInertia(body, physics::boxInertia(extents * 0.5f, mass));
    physics::setPosition(body, position);
    return body;
}

// A controller callback that runs a function.
struct FunctionCallback : physics::ControllerCallback {
    explicit FunctionCallback(std::function<void(physics::Controller*)> fn) : fn(std::move(fn)) {}
    void update(physics::Controller* controller) override { fn(controller); }
    std::function<void(physics::Controller*)> fn;
};

} // namespace physics_test
