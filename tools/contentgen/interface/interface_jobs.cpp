// Jobs that write the numbered texture tables (base/textures/texNN.tga and
// texNN.bmp) and the particle effects (base/effects/*.eff).
#include "jobs.h"

#include "image_writers.h"
#include "interface/interface_art.h"
#include "interface/texture_plan.h"

#include <cstdio>
#include <stdexcept>

namespace gen {

namespace {

std::string tgaName(int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "textures/tex%02d.tga", n);
    return buf;
}

std::string bmpName(int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "textures/tex%02d.bmp", n);
    return buf;
}

void tga(JobList& jobs, int n, bool alpha, Raster (*make)()) {
    jobs.push_back({tgaName(n), [n, alpha, make](const std::filesystem::path& base) { saveTga(base, tgaName(n), make(), alpha); }});
}

void bmp(JobList& jobs, int n, Raster (*make)()) {
    jobs.push_back({bmpName(n), [n, make](const std::filesystem::path& base) { saveBmp(base, bmpName(n), make()); }});
}

void effect(JobList& jobs, const std::string& file, ui::EffectParams (*make)()) {
    jobs.push_back({"effects/" + file, [file, make](const std::filesystem::path& base) {
                        if (!writeBytes(base / "effects" / file, ui::encodeEffect(make())))
                            throw std::runtime_error("cannot write effects/" + file);
                    }});
}

// A quiet dark image for table entries nothing refers to by number.
Raster unusedEntry() {
    Raster img(64, 64, rgb(0x101218));
    img.fillRect(0, 0, 64, 64, rgb(0x181b22), Blend::Over);
    return img;
}

}  // namespace

void addInterfaceJobs(JobList& jobs) {
    using namespace ui;
    // Text and menus.
    tga(jobs, 1, true, fontSheet);
    tga(jobs, 7, true, logoImage);
    tga(jobs, 17, true, iconAtlas);
    tga(jobs, 20, true, iconButtonFace);
    tga(jobs, 21, true, thinStrip);
    tga(jobs, 22, true, wideStrip);
    tga(jobs, 23, true, logoFlickerImage);
    tga(jobs, 24, true, textButtonFace);
    tga(jobs, 25, true, arrowImage);
    tga(jobs, 26, true, highlightGlow);
    tga(jobs, 27, true, bandOverlay);
    tga(jobs, 28, true, stripeOverlay);
    tga(jobs, 29, true, cursorImage);
    tga(jobs, 30, true, panelImage);
    tga(jobs, 40, true, curtainImage);
    bmp(jobs, 12, menuBackdrop);
    bmp(jobs, 33, ratingFilled);
    bmp(jobs, 34, ratingEmpty);
    bmp(jobs, 37, titleCard);
    bmp(jobs, 40, blackCard);
    bmp(jobs, 41, loadingImage);
    bmp(jobs, 42, splashImage);
    // Race HUD and overlays.
    tga(jobs, 6, true, routeArrow);
    tga(jobs, 9, true, checkpointMarker);
    tga(jobs, 10, true, checkpointRing);
    tga(jobs, 36, true, revDial);
    tga(jobs, 38, true, revNeedle);
    tga(jobs, 39, true, miniMapMask);
    bmp(jobs, 6, nitroBar);
    bmp(jobs, 43, startWord);
    bmp(jobs, 44, [] { return countdownDigit(1); });
    bmp(jobs, 45, [] { return countdownDigit(2); });
    bmp(jobs, 46, [] { return countdownDigit(3); });
    // Effects.
    tga(jobs, 4, true, smokePuff);
    tga(jobs, 5, true, firePuff);
    bmp(jobs, 3, neonGlow);
    bmp(jobs, 4, garageShadow);
    bmp(jobs, 5, carShadow);
    bmp(jobs, 28, lampHalo);
    bmp(jobs, 36, nightClouds);
    // Vinyls: 41..60 on the sides, 61..80 on top.
    for (int i = 0; i < 20; ++i) {
        jobs.push_back({tgaName(41 + i), [i](const std::filesystem::path& base) {
                            Raster v = bandVinyl(i);
                            Raster preview = vinylPreview(v);
                            saveTga(base, tgaName(41 + i), v, true, &preview);
                        }});
        jobs.push_back({tgaName(61 + i), [i](const std::filesystem::path& base) {
                            Raster v = topVinyl(i);
                            Raster preview = vinylPreview(v);
                            saveTga(base, tgaName(61 + i), v, true, &preview);
                        }});
    }
    effect(jobs, "firepipe.eff", firePipeEffect);
    effect(jobs, "smokepipe.eff", smokePipeEffect);
    effect(jobs, "dust.eff", dustEffect);
    effect(jobs, "checkpointlight.eff", checkpointLightEffect);
    addScreenPreviewJobs(jobs);

    // Stand-ins for entries whose real content belongs to the car and city generators.
    for (const StandIn& s : standInTextures()) {
        StandIn copy = s;
        jobs.push_back({copy.file, [copy](const std::filesystem::path& base) {
                            Raster img = makeStandIn(copy);
                            if (copy.file.size() > 4 && copy.file.compare(copy.file.size() - 4, 4, ".bmp") == 0)
                                saveBmp(base, copy.file, img);
                            else
                                saveTga(base, copy.file, img, copy.alpha);
                        }});
    }

    // Table entries nothing refers to by number, so both tables always load completely.
    for (int n : unusedTgaEntries())
        jobs.push_back({tgaName(n), [n](const std::filesystem::path& base) { saveTga(base, tgaName(n), unusedEntry(), false); }});
    for (int n : unusedBmpEntries())
        jobs.push_back({bmpName(n), [n](const std::filesystem::path& base) { saveBmp(base, bmpName(n), unusedEntry()); }});
}

}  // namespace gen
