// The race cars, their parts, rims, the city traffic cars and the garage.
#include "jobs.h"

#include "cars/body_shape.h"
#include "cars/preview.h"
#include "cars/rims.h"
#include "image_writers.h"

namespace gen {

namespace {

gen::Raster debugLivery() {
    gen::Raster r(1024, 1024, gen::rgb(0x808080));
    r.fillRect(0, 0, 1024, 256, gen::rgb(0x3060c0));
    r.fillRect(0, 256, 1024, 452, gen::rgb(0x30a040));
    r.fillRect(0, 460, 512, 716, gen::rgb(0xc04040));
    r.fillRect(512, 460, 1024, 716, gen::rgb(0xc0a040));
    for (int i = 0; i < 16; ++i) r.fillRect(i * 64.0f, 0, i * 64.0f + 4, 1024, gen::rgb(0xffffff));
    r.fillRect(0, 126, 1024, 130, gen::rgb(0xffffff));
    return r;
}

void buildRaceCar(int body, const std::filesystem::path& base) {
    cars::BodyShape shape(body);
    cars::BodyMeshes meshes = cars::buildBody(shape);
    std::string dir = (base / "cars" / std::to_string(body)).string() + "/";
    std::filesystem::create_directories(dir);
    float crease = shape.spec().crease;
    meshes.body.write(dir + "car.sbm", crease);
    meshes.glass.write(dir + "glass_car.sbm", 30);
    meshes.pilot.write(dir + "pilot.sbm", 50);
    std::vector<cars::Mesh> kits;
    for (int k = 0; k < 4; ++k) {
        kits.push_back(cars::buildBodyKit(shape, k));
        kits.back().write(dir + "obves" + std::to_string(k) + ".sbm", crease);
    }
    if (!cars::preview::enabled()) return;
    sbm::Model bm = meshes.body.toModel(crease), gm = meshes.glass.toModel(30), pm = meshes.pilot.toModel(50);
    gen::Raster liv = debugLivery();
    std::vector<cars::preview::Item> items;
    sbm::Model km = kits[body % 4].toModel(crease);
    cars::preview::Item k;
    k.model = &km;
    k.texture = &liv;
    items.push_back(k);
    sbm::Model wm = cars::buildRaceWheel(body).toModel(35);
    gen::Raster wt = cars::wheelTexture();
    for (int w = 0; w < 4; ++w) {
        cars::preview::Item it;
        it.model = &wm;
        it.texture = &wt;
        float x = w < 2 ? cars::frontAxleX(body) : cars::rearAxleX(body);
        bool left = w % 2 == 1;
        it.place = left ? cars::Xform::rotateX(cars::kPi) : cars::Xform{};
        it.place.offset = {x, cars::kWheelY, left ? -cars::kWheelZ : cars::kWheelZ};
        items.push_back(it);
    }
    cars::preview::Item b;
    b.model = &bm;
    b.texture = &liv;
    items.push_back(b);
    cars::preview::Item g;
    g.model = &gm;
    g.colour = gen::rgb(0x203040);
    g.opacity = 0.7f;
    items.push_back(g);
    cars::preview::Item p;
    p.model = &pm;
    p.colour = gen::rgb(0xd04020);
    items.push_back(p);
    std::vector<gen::Raster> views;
    for (auto [yaw, pitch] : {std::pair{35.0f, 14.0f}, {145.0f, 14.0f}, {90.0f, 2.0f}, {0.0f, 70.0f}})
        views.push_back(cars::preview::render(items, cars::preview::orbit({0, -0.1f, 0}, yaw, pitch, 10.5f), 560, 340));
    cars::preview::save("car" + std::to_string(body) + "_debug", cars::preview::tile(views, 2));
}

void buildWheels(const std::filesystem::path& base) {
    gen::Raster tex = cars::wheelTexture();
    gen::saveTga(base, "textures/tex12.tga", tex, false);
    std::vector<sbm::Model> models;
    for (int d = 0; d < cars::kRimDesigns; ++d) {
        cars::Mesh m = cars::buildRaceWheel(d);
        m.write((base / "cars" / "wheels" / (std::to_string(d) + ".sbm")).string(), 35);
        models.push_back(m.toModel(35));
    }
    cars::Mesh city = cars::buildCityWheel();
    std::filesystem::create_directories(base / "city");
    city.write((base / "city" / "wheel.sbm").string(), 35);
    models.push_back(city.toModel(35));
    if (!cars::preview::enabled()) return;
    std::vector<gen::Raster> views;
    for (const sbm::Model& m : models) {
        cars::preview::Item it;
        it.model = &m;
        it.texture = &tex;
        views.push_back(cars::preview::render({it}, cars::preview::orbit({0, 0, 0}, 70, 15, 2.6f), 240, 240));
    }
    cars::preview::save("wheels", cars::preview::tile(views, 5));
}

}  // namespace

void addCarJobs(JobList& jobs) {
    for (int body = 0; body < cars::kBodyModels; ++body)
        jobs.push_back({"cars/body" + std::to_string(body), [body](const std::filesystem::path& base) { buildRaceCar(body, base); }});
    jobs.push_back({"cars/wheels", buildWheels});
}

}  // namespace gen
