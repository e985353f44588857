// The race cars, their parts, rims, the city traffic cars and the garage.
#include "jobs.h"

#include "cars/body_shape.h"
#include "cars/car_textures.h"
#include "cars/city_cars.h"
#include "cars/garage.h"
#include "cars/optics.h"
#include "cars/preview.h"
#include "cars/rims.h"
#include "image_writers.h"

namespace gen {

namespace {

// Simple stripes in the vinyl format (inverted alpha) for the previews.
gen::Raster previewVinyl(bool top) {
    gen::Raster v(1024, 256, gen::Color{1, 1, 1, 1});
    gen::Color ink{0.05f, 0.05f, 0.06f, 0.0f};
    if (top) {
        v.fillRect(0, 100, 1024, 118, ink, gen::Blend::Replace);
        v.fillRect(0, 138, 1024, 156, ink, gen::Blend::Replace);
    } else {
        v.fillRect(0, 150, 1024, 170, ink, gen::Blend::Replace);
    }
    return v;
}

const gen::Color kPreviewPaint[cars::kBodyModels] = {gen::rgb(0xf0c020), gen::rgb(0x2050d0), gen::rgb(0xe06010),
                                                     gen::rgb(0xc81818), gen::rgb(0xc8ccd4), gen::rgb(0x208a40)};

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

struct CarModels {
    sbm::Model body, glass, pilot;
    sbm::Model kits[4];
    sbm::Model spoilers[6], hoodScoops[6], roofScoops[6];
    sbm::Model optics[4], opticsGlass[4];
};

void write(const sbm::Model& m, const std::string& path) {
    if (!sbm::writeFile(m, path)) throw std::runtime_error("cannot write " + path);
}

struct PartChoice {
    int kit = 0, spoiler = 0, hood = 0, roof = 0, optics = 0, rim = 0;
};

gen::Raster renderCar(int body, const CarModels& cm, const PartChoice& pc, const gen::Raster& livery,
                      const gen::Raster& optics, float yaw, float pitch, int w, int h, float dist = 10.5f) {
    static const gen::Raster wheelTex = cars::wheelTexture();
    static const gen::Raster scoopTex = cars::scoopTexture();
    static const gen::Raster wingTex = cars::spoilerTexture();
    static const gen::Raster driverTex = cars::driverTexture();
    std::vector<cars::preview::Item> items;
    auto add = [&](const sbm::Model* m, const gen::Raster* t, gen::Color c = {1, 1, 1, 1}, float op = 1.0f) {
        cars::preview::Item it;
        it.model = m;
        it.texture = t;
        it.colour = c;
        it.opacity = op;
        items.push_back(it);
    };
    add(&cm.body, &livery);
    add(&cm.kits[pc.kit], &livery);
    add(&cm.spoilers[pc.spoiler], &wingTex);
    add(&cm.hoodScoops[pc.hood], &scoopTex);
    add(&cm.roofScoops[pc.roof], &scoopTex);
    add(&cm.optics[pc.optics], &optics);
    add(&cm.pilot, &driverTex);
    sbm::Model wm = cars::buildRaceWheel(pc.rim).toModel(35);
    for (int i = 0; i < 4; ++i) {
        cars::preview::Item it;
        it.model = &wm;
        it.texture = &wheelTex;
        float x = i < 2 ? cars::frontAxleX(body) : cars::rearAxleX(body);
        bool left = i % 2 == 1;
        it.place = left ? cars::Xform::rotateX(cars::kPi) : cars::Xform{};
        if (i < 2) {
            cars::Xform steer = cars::Xform::rotateY(-30.0f * cars::kPi / 180.0f);
            cars::Xform both = it.place;
            both.ax = steer.ax * it.place.ax.x + steer.ay * it.place.ax.y + steer.az * it.place.ax.z;
            both.ay = steer.ax * it.place.ay.x + steer.ay * it.place.ay.y + steer.az * it.place.ay.z;
            both.az = steer.ax * it.place.az.x + steer.ay * it.place.az.y + steer.az * it.place.az.z;
            it.place = both;
        }
        it.place.offset = {x, cars::kWheelY, left ? -cars::kWheelZ : cars::kWheelZ};
        items.push_back(it);
    }
    add(&cm.glass, nullptr, gen::rgb(0x28384a), 0.8f);
    add(&cm.opticsGlass[pc.optics], nullptr, gen::rgb(0xc0d0e0), 0.3f);
    return cars::preview::render(items, cars::preview::orbit({0, -0.15f, 0}, yaw, pitch, dist), w, h);
}

void buildRaceCar(int body, const std::filesystem::path& base) {
    cars::BodyShape shape(body);
    cars::BodyMeshes meshes = cars::buildBody(shape);
    std::filesystem::path dirPath = base / "cars" / std::to_string(body);
    std::filesystem::create_directories(dirPath);
    std::string dir = dirPath.string() + "/";
    float crease = shape.design().crease;
    CarModels cm;
    cm.body = meshes.body.toModel(crease);
    cm.glass = meshes.glass.toModel(30);
    cm.pilot = meshes.pilot.toModel(50);
    write(cm.body, dir + "car.sbm");
    write(cm.glass, dir + "glass_car.sbm");
    write(cm.pilot, dir + "pilot.sbm");
    for (int k = 0; k < 4; ++k) {
        cm.kits[k] = cars::buildBodyKit(shape, k).toModel(crease);
        write(cm.kits[k], dir + "obves" + std::to_string(k) + ".sbm");
    }
    for (int d = 0; d < 6; ++d) {
        cm.spoilers[d] = cars::buildSpoiler(shape, d).toModel(30);
        cm.hoodScoops[d] = cars::buildHoodScoop(shape, d).toModel(30);
        cm.roofScoops[d] = cars::buildRoofScoop(shape, d).toModel(30);
        write(cm.spoilers[d], dir + "krilo" + std::to_string(d) + ".sbm");
        write(cm.hoodScoops[d], dir + "kovsh" + std::to_string(d) + ".sbm");
        write(cm.roofScoops[d], dir + "kovsh_top" + std::to_string(d) + ".sbm");
    }
    for (int v = 0; v < cars::kOpticsVariants; ++v) {
        cars::OpticsMeshes om = cars::buildOptics(shape, meshes.body, v);
        cm.optics[v] = om.lamps.toModel(30);
        cm.opticsGlass[v] = om.glass.toModel(30);
        write(cm.optics[v], dir + "optika" + std::to_string(v) + ".sbm");
        write(cm.opticsGlass[v], dir + "glass_optika" + std::to_string(v) + ".sbm");
    }
    gen::Raster opticsTex = cars::opticsTexture(body);
    gen::saveTga(base, "cars/" + std::to_string(body) + "/optics.tga", opticsTex, true);
    gen::Raster tmpl = cars::bodyTemplate(shape);
    gen::Raster mask = cars::reflectionMask(tmpl);
    gen::saveTga(base, "textures/tex" + twoDigits(cars::kTemplateTga[body]) + ".tga", tmpl, true);
    gen::saveTga(base, "textures/tex" + twoDigits(cars::kMaskTga[body]) + ".tga", mask, true);
    if (!cars::preview::enabled()) return;
    gen::Raster liv = cars::composeLivery(kPreviewPaint[body], previewVinyl(true), previewVinyl(false), tmpl, mask);
    cars::preview::save("livery" + std::to_string(body), liv.resized(512, 512));
    PartChoice stock;
    stock.rim = body;
    PartChoice full;
    full.kit = 1 + body % 3;
    full.spoiler = 1 + body % 5;
    full.hood = 1 + (body + 2) % 5;
    full.roof = 1 + (body + 4) % 5;
    full.optics = 1 + body % 3;
    full.rim = 7 - body;
    std::vector<gen::Raster> views;
    for (auto [yaw, pitch] : {std::pair{35.0f, 12.0f}, {150.0f, 12.0f}, {90.0f, 1.0f}})
        views.push_back(renderCar(body, cm, stock, liv, opticsTex, yaw, pitch, 520, 320));
    for (auto [yaw, pitch] : {std::pair{35.0f, 12.0f}, {150.0f, 12.0f}, {90.0f, 1.0f}})
        views.push_back(renderCar(body, cm, full, liv, opticsTex, yaw, pitch, 520, 320));
    cars::preview::save("car" + std::to_string(body), cars::preview::tile(views, 3));
}

void buildWheels(const std::filesystem::path& base) {
    gen::Raster tex = cars::wheelTexture();
    gen::saveTga(base, "textures/tex12.tga", tex, true);  // alpha: reflection strength
    std::vector<sbm::Model> models;
    std::filesystem::create_directories(base / "cars" / "wheels");
    std::filesystem::create_directories(base / "city");
    for (int d = 0; d < cars::kRimDesigns; ++d) {
        models.push_back(cars::buildRaceWheel(d).toModel(35));
        write(models.back(), (base / "cars" / "wheels" / (std::to_string(d) + ".sbm")).string());
    }
    models.push_back(cars::buildCityWheel().toModel(35));
    write(models.back(), (base / "city" / "wheel.sbm").string());
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

void buildSharedTextures(const std::filesystem::path& base) {
    gen::saveTga(base, "textures/tex31.tga", cars::glassTexture(), true);
    gen::saveBmp(base, "textures/tex16.bmp", cars::scoopTexture());
    gen::saveBmp(base, "textures/tex17.bmp", cars::spoilerTexture());
    gen::saveBmp(base, "textures/tex26.bmp", cars::driverTexture());
}

void buildCityCars(const std::filesystem::path& base) {
    std::filesystem::create_directories(base / "city");
    sbm::Model wheel = cars::buildCityWheel().toModel(35);
    static const gen::Raster wheelTex = cars::wheelTexture();
    std::vector<gen::Raster> views;
    for (int m = 0; m < cars::kCityCars; ++m) {
        sbm::Model car = cars::buildCityCar(m).toModel(35);
        write(car, (base / "city" / ("car" + std::to_string(m) + ".sbm")).string());
        gen::Raster tex = cars::cityCarTexture(m);
        gen::saveTga(base, "city/car" + std::to_string(m) + ".tga", tex, true);
        if (!cars::preview::enabled()) continue;
        std::vector<cars::preview::Item> items;
        cars::preview::Item body;
        body.model = &car;
        body.texture = &tex;
        body.place.offset = {0, 0.05f, 0};
        items.push_back(body);
        for (int w = 0; w < 4; ++w) {
            cars::preview::Item it;
            it.model = &wheel;
            it.texture = &wheelTex;
            bool left = w % 2 == 1;
            it.place = left ? cars::Xform::rotateX(cars::kPi) : cars::Xform{};
            it.place.offset = {w < 2 ? cars::trafficFrontX(m) : cars::trafficRearX(m), cars::kCityWheelY,
                               left ? -cars::kWheelZ : cars::kWheelZ};
            items.push_back(it);
        }
        views.push_back(cars::preview::render(items, cars::preview::orbit({0, 0, 0}, 40, 12, 11.0f), 400, 260));
        views.push_back(cars::preview::render(items, cars::preview::orbit({0, 0, 0}, 220, 12, 11.0f), 400, 260));
    }
    if (!views.empty()) cars::preview::save("city_cars", cars::preview::tile(views, 4));
}

void buildGarageFiles(const std::filesystem::path& base) {
    cars::GarageMeshes g = cars::buildGarage();
    std::filesystem::create_directories(base / "garage");
    sbm::Model room = g.room.toModel(30), glass = g.glass.toModel(30), trees = g.trees.toModel(30),
               lights = g.lights.toModel(30);
    write(room, (base / "garage" / "garage.sbm").string());
    write(glass, (base / "garage" / "glass_garage.sbm").string());
    write(trees, (base / "garage" / "trees.sbm").string());
    write(lights, (base / "garage" / "light.sbm").string());
    std::vector<cars::GarageTexture> textures = cars::garageTextures();
    for (const cars::GarageTexture& t : textures) gen::saveTga(base, t.path, t.image, t.alpha);
    if (!cars::preview::enabled()) return;
    auto find = [&](const std::string& name) -> const gen::Raster* {
        for (const cars::GarageTexture& t : textures)
            if (t.path.find(name) != std::string::npos) return &t.image;
        return nullptr;
    };
    // Render the room group by group with its own textures, as the game would.
    std::vector<sbm::Model> parts;
    std::vector<const gen::Raster*> partTex;
    const char* names[] = {"floor", "turntable", "walls", "upper", "ceiling", "props", "props", "lamp"};
    for (size_t gi = 0; gi < room.groups.size(); ++gi) {
        sbm::Model part;
        part.vertices = room.vertices;
        for (uint16_t ti : room.groups[gi].triangles) part.triangles.push_back(room.triangles[ti]);
        parts.push_back(part);
        partTex.push_back(find(names[std::min<size_t>(gi, 7)]));
    }
    const gen::Raster* plantTex = find("plant");
    std::vector<gen::Raster> views;
    for (auto [yaw, pitch] : {std::pair{322.0f, 5.0f}, {29.0f, 20.0f}, {182.0f, 11.0f}, {114.0f, 18.0f}}) {
        std::vector<cars::preview::Item> items;
        for (size_t i = 0; i < parts.size(); ++i) {
            cars::preview::Item it;
            it.model = &parts[i];
            it.texture = partTex[i];
            it.glow = i == 7;
            items.push_back(it);
        }
        cars::preview::Item tr;
        tr.model = &trees;
        tr.texture = plantTex;
        tr.cull = false;
        items.push_back(tr);
        cars::preview::Item gl;
        gl.model = &glass;
        gl.colour = gen::rgb(0x405060);
        gl.opacity = 0.35f;
        items.push_back(gl);
        // the garage camera: 11.5 out at the given pitch and yaw, looking at the car
        float yr = yaw * cars::kPi / 180.0f, pr = pitch * cars::kPi / 180.0f;
        cars::preview::Camera cam;
        cam.eye = {11.5f * std::sin(yr) * std::cos(pr), 11.5f * std::sin(pr) + 0.25f, 11.5f * std::cos(yr) * std::cos(pr)};
        cam.target = {0, 0.25f, 0};
        cam.fovDeg = 45;
        views.push_back(cars::preview::render(items, cam, 560, 420));
    }
    cars::preview::save("garage", cars::preview::tile(views, 2));
}

}  // namespace

void addCarJobs(JobList& jobs) {
    for (int body = 0; body < cars::kBodyModels; ++body)
        jobs.push_back({"cars/body" + std::to_string(body), [body](const std::filesystem::path& base) { buildRaceCar(body, base); }});
    jobs.push_back({"cars/wheels", buildWheels});
    jobs.push_back({"cars/textures", buildSharedTextures});
    jobs.push_back({"cars/city", buildCityCars});
    jobs.push_back({"cars/garage", buildGarageFiles});
}

}  // namespace gen
