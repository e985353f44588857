// Mock screens for the contact sheet: the menu and HUD pieces laid out the way
// the game draws them in its 800 x 600 space, so a person can judge them
// together. Only built when a contact sheet is being written; no files.
#include "art_util.h"
#include "contact_sheet.h"
#include "font.h"
#include "interface_art.h"
#include "jobs.h"

#include <cmath>

namespace gen::ui {

namespace {

// The game's 2D space has y up; the raster has y down.
struct Screen {
    Raster img{800, 600, palette::black};
    // Draws src over the y-up rectangle (x0, y0)..(x1, y1).
    void quad(const Raster& src, float x0, float y0, float x1, float y1, Color tint = palette::white, Blend b = Blend::Over) {
        Raster t = src;
        if (tint.r != 1 || tint.g != 1 || tint.b != 1 || tint.a != 1) {
            t.tint(tint);
            t.multiplyAlpha(tint.a);
        }
        img.drawScaled(t, x0, 600 - y1, x1 - x0, y1 - y0, b);
    }
    void centred(const Raster& src, float cx, float cy, float w, float h, Color tint = palette::white) {
        quad(src, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2, tint);
    }
};

// Text like the game's bitmap font: cells of 19 units advancing 10 (25 and 13 for large).
void print(Screen& s, const Raster& font, float x, float y, const std::string& text, Color colour, bool large = false) {
    float cellUnits = large ? 25.0f : 19.0f, advance = large ? 13.0f : 10.0f;
    if (!large) y -= 3;
    int cell = font.width() / 16;
    for (unsigned char ch : text) {
        Raster glyph = font.region((ch % 16) * cell, (ch / 16) * cell, cell, cell);
        s.quad(glyph, x, y, x + cellUnits, y + cellUnits, colour);
        x += advance;
    }
}

Raster garageBackdrop() {
    Raster bg(800, 600, rgb(0x0a0c12));
    bg.linearGradient(0, 0, 0, 600, rgb(0x1a1d26), rgb(0x050608), Blend::Replace);
    bg.fillEllipse(400, 420, 300, 60, rgb(0x22252e));
    bg.fillRoundRect(230, 330, 570, 420, 40, rgb(0x8a1010));  // a stand-in car body
    bg.fillRoundRect(300, 290, 500, 345, 30, rgb(0x5a0a0a));
    return bg;
}

void menuMock() {
    Screen s;
    s.img = garageBackdrop();
    Raster font = fontSheet(), atlas = iconAtlas(), face = iconButtonFace();
    int cell = atlas.height();
    s.quad(logoImage(), 0, 480, 400, 580);
    s.quad(logoFlickerImage(), 0, 480, 400, 580, withAlpha(palette::white, 0.6f));
    // Bottom band.
    s.centred(thinStrip(), 400, 120, 804, 20);
    s.centred(wideStrip(), 400, 50, 804, 82);
    s.centred(bandOverlay(), 400, 50, 804, 76);
    for (int i = 0; i < 5; ++i) {
        float cx = 10 + i * 160 + 70;
        bool hovered = i == 1;
        float k = hovered ? 1.08f : 1.0f;
        s.centred(face, cx, 50, 140 * k, 72 * k);
        Raster icon = atlas.region(i * cell, 0, cell, cell);
        s.centred(icon, cx, 50, 48 * k, 48 * k, hovered ? palette::white : Color{1, 0.5f, 0, 1});
    }
    print(s, font, 630, 114, "   Quick Race", Color{1, 1, 1, 1});
    s.img.drawScaled(cursorImage(), 250, 540, 20, 20);
    contactSheet::add("preview/menu", s.img, false);
}

void shopMock() {
    Screen s;
    s.img = garageBackdrop();
    Raster font = fontSheet(), atlas = iconAtlas();
    int cell = atlas.height();
    s.centred(thinStrip(), 400, 480, 804, 20);
    s.centred(wideStrip(), 400, 550, 804, 82);
    s.centred(bandOverlay(), 400, 550, 804, 76);
    for (int i = -2; i <= 5; ++i) {
        float x = (i - 1) * 100 + 400.0f;
        float e = std::min(std::fabs(x - 400), 250.0f);
        float scale = 1 - std::min(e, 200.0f) * 0.0025f, alpha = std::clamp((250 - e) * 0.02f, 0.0f, 1.0f);
        int icon = (i >= 0 && i < 4) ? 12 : 31;
        Color c = i == 1 ? palette::white : Color{1, 0.5f, 0, 1};
        c.a = alpha;
        s.centred(atlas.region(icon * cell, 0, cell, cell), x, 550, 82 * scale, 82 * scale, c);
        if (icon != 31) print(s, font, x + 10, 520, " " + std::to_string(i + 1), Color{1, 1, 1, alpha});
    }
    s.centred(arrowImage(), 80, 550, 70, 70);
    Raster right = arrowImage();
    Raster mirrored(right.width(), right.height());
    for (int y = 0; y < right.height(); ++y)
        for (int x = 0; x < right.width(); ++x) mirrored.at(x, y) = right.at(right.width() - 1 - x, y);
    s.centred(mirrored, 720, 550, 70, 70);
    print(s, font, 20, 474, "Rim  2                Cost $ 250", Color{1, 0.5f, 0, 1});
    // Rating bars.
    const char* labels[3] = {"Speed", "Acceleration", "Handling"};
    for (int i = 0; i < 3; ++i) {
        float y = 470 - i * 30.0f, v = 0.7f + i * 0.1f;
        print(s, font, 640, y + 10, labels[i], Color{1, 0.5f, 0, 1});
        s.quad(ratingFilled(), 640, y, 640 + (v - 0.4f) * 250, y + 7);
        s.quad(ratingEmpty(), 640 + (v - 0.4f) * 250, y, 790, y + 7);
    }
    s.centred(wideStrip(), 400, 50, 804, 40);
    s.centred(stripeOverlay(), 400, 50, 804, 36, withAlpha(palette::white, 0.35f));
    s.centred(textButtonFace(), 80, 50, 140, 34);
    s.centred(textButtonFace(), 720, 50, 140, 34);
    print(s, font, 10, 43, "    Back", Color{1, 0.5f, 0, 1});
    print(s, font, 650, 43, "    Buy", Color{1, 1, 1, 1});
    print(s, font, 270, 38, "Cash: $1250", Color{1, 1, 1, 1}, true);
    // The results panel over it all.
    s.centred(panelImage(), 400, 330, 512, 128);
    s.quad(stripeOverlay().region(0, 0, 327, 64), 144, 356, 656, 392);
    print(s, font, 265, 318, "You finished 1st!", Color{1, 0.5f, 0, 1}, true);
    contactSheet::add("preview/shop and results", s.img, false);
}

void hudMock() {
    Screen s;
    // A night street.
    s.img.linearGradient(0, 0, 0, 600, rgb(0x05060c), rgb(0x1a1c24), Blend::Replace);
    s.img.fillPolygon({{380, 260}, {420, 260}, {800, 600}, {0, 600}}, rgb(0x202229));
    Raster font = fontSheet();
    // Mini-map: a map frame masked, then shown in its quad.
    Raster frame(800, 600, rgb(0x0c1018));
    for (int i = 0; i < 800; i += 60) frame.fillRect(i + 0.0f, 0, i + 8.0f, 600, rgb(0x3a4050));
    for (int i = 0; i < 600; i += 60) frame.fillRect(0, i + 0.0f, 800, i + 8.0f, rgb(0x3a4050));
    frame.fillPolygon({{400, 280}, {420, 330}, {380, 330}}, rgb(0x00ff00));
    Raster mask = miniMapMask().resized(800, 600);
    for (size_t i = 0; i < frame.pixels().size(); ++i) frame.pixels()[i].a = 1.0f - mask.pixels()[i].a;
    s.quad(frame, -10, 20, 246, 212);
    // Rev counter with the needle at 5200 rpm.
    s.quad(nitroBar().region(0, 0, 90, 64), 648, 95, 648 + 65 * 0.7f, 127);
    s.quad(revDial(), 592, 22, 768, 198);
    float a = (5200 - 1000) * 0.042f;
    float rot = (135 - a) * kPi / 180;
    // Needle: 52 units along the rotated y axis, 14 x 28, rotated (y up, counter-clockwise).
    Raster needle = revNeedle();
    float cx = 680 - std::sin(rot) * 52, cy = 110 + std::cos(rot) * 52;
    for (int y = -20; y <= 20; ++y)
        for (int x = -20; x <= 20; ++x) {
            float px = cx + x, py = cy + y;  // y up
            float lx = (px - cx) * std::cos(rot) + (py - cy) * std::sin(rot);
            float ly = -(px - cx) * std::sin(rot) + (py - cy) * std::cos(rot);
            if (std::fabs(lx) > 7 || std::fabs(ly) > 14) continue;
            Color c = needle.sample((lx + 7) / 14 * needle.width(), (14 - ly) / 28 * needle.height());
            s.img.blendPixel(static_cast<int>(px), static_cast<int>(600 - py), c, c.a);
        }
    Color orange{1, 0.5f, 0, 1};
    print(s, font, 651, 45, " 142", orange);
    print(s, font, 655, 30, "km/h", orange);
    print(s, font, 648, 102, "Nitro", orange);
    print(s, font, 680, 530, "Lap", orange, true);
    print(s, font, 680, 510, "  2/ 4", orange, true);
    print(s, font, 680, 480, "Place", orange, true);
    print(s, font, 680, 460, "  1/ 4", orange, true);
    print(s, font, 30, 550, "Race time", orange);
    print(s, font, 30, 535, "  1:07.42", orange);
    // A route arrow and checkpoint on the road, roughly in perspective.
    s.quad(checkpointRing(), 340, 150, 460, 190, Color{0, 1, 0, 1});
    s.quad(checkpointMarker(), 370, 160, 430, 180, Color{0, 1, 0, 1});
    s.quad(routeArrow(), 392, 200, 408, 250, Color{0, 1, 0, 0.8f});
    // The countdown's last word, added.
    Raster go = startWord();
    s.img.drawScaled(go, 272, 236, 256, 128, Blend::Add, 0.8f);
    s.img.clamp01();
    contactSheet::add("preview/hud", s.img, false);
}

}  // namespace

void addScreenPreviewJobs(JobList& jobs) {
    jobs.push_back({"preview/menu", [](const std::filesystem::path&) {
                        if (contactSheet::enabled()) menuMock();
                    }});
    jobs.push_back({"preview/shop", [](const std::filesystem::path&) {
                        if (contactSheet::enabled()) shopMock();
                    }});
    jobs.push_back({"preview/hud", [](const std::filesystem::path&) {
                        if (contactSheet::enabled()) hudMock();
                    }});
}

}  // namespace gen::ui
