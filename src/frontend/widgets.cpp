#include "frontend/widgets.h"

#include "app/bitmap_text.h"
#include "app/frame_timer.h"
#include "content/texture_tables.h"
#include "frontend/career_state.h"
#include "frontend/menu_framework.h"
#include "race/ai_path.h"
#include "render/screen_space.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

CarouselState carousel;

namespace {

constexpr int atlasColumns = 32;
constexpr int emptyIcon = 31;

struct Growth {
    float grow;    // per tick while hovered
    float max;
    float shrink;  // per tick otherwise
};
constexpr Growth iconGrowth{0.01f, 1.08f, 0.003f};
constexpr Growth textGrowth{0.015f, 1.05f, 0.006f};
constexpr Growth arrowGrowth{0.01f, 1.08f, 0.003f};
constexpr Growth valueArrowGrowth{0.01f, 1.12f, 0.003f};

float ticks() { return frameTiming.frameTicks; }

float grownScale(int slot, bool hovered, const Growth& g) {
    if (slot < 0 || slot >= hoverSlotCount) return 1.0f;
    float& scale = buttonScale[slot];
    if (hovered) scale = std::min(g.max, scale + g.grow * ticks());
    else scale = std::max(1.0f, scale - g.shrink * ticks());
    return scale;
}

// Text printing turns depth testing back on; flat menu quads never want it.
void bindTga(int index) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, TgaTable[size_t(index)].texture);
}

void blendOver() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// A quad over x0..x1, y0..y1 showing texture s0..s1 (t 0..1).
void quadS(float x0, float y0, float x1, float y1, float s0, float s1) {
    glBegin(GL_QUADS);
    glTexCoord2f(s0, 0.0f);
    glVertex2f(x0, y0);
    glTexCoord2f(s1, 0.0f);
    glVertex2f(x1, y0);
    glTexCoord2f(s1, 1.0f);
    glVertex2f(x1, y1);
    glTexCoord2f(s0, 1.0f);
    glVertex2f(x0, y1);
    glEnd();
}

void centred(float width, float height, bool mirrored = false) {
    const float w = width * 0.5f, h = height * 0.5f;
    if (mirrored) quadS(-w, -h, w, h, 1.0f, 0.0f);
    else quadS(-w, -h, w, h, 0.0f, 1.0f);
}

void atlasCell(int icon, float size) {
    const float s0 = float(icon) / float(atlasColumns);
    const float h = size * 0.5f;
    quadS(-h, -h, h, h, s0, s0 + 1.0f / float(atlasColumns));
}

// Scroll of the moving overlays and stripes.
float scroll() { return -0.04f * frameTiming.gameClock; }

// A band piece: a strip of `width` x `height` at its centre, scaled by the title scale.
void stripAt(int image, float cx, float cy, float width, float height, float s0 = 0.0f, float s1 = 1.0f) {
    const float s = menuLook.titleScale;
    glPushMatrix();
    glTranslatef(cx, cy, 0.0f);
    glScalef(s, s, 1.0f);
    bindTga(image);
    quadS(-width * 0.5f, -height * 0.5f, width * 0.5f, height * 0.5f, s0, s1);
    glPopMatrix();
}

void bandAt(float thinY, float wideY) {
    blendOver();
    glColor4f(1.0f, 1.0f, 1.0f, menuLook.alpha);
    stripAt(menuImages::thinStrip, 400.0f, thinY, 804.0f, 20.0f);
    stripAt(menuImages::wideStrip, 400.0f, wideY, 804.0f, 82.0f);
    stripAt(menuImages::bandOverlay, 400.0f, wideY, 804.0f, 76.0f, scroll(), 1.0f + scroll());
}

// A panel of `width`, reaching from `bottom` to `top` around its centre, with
// the scrolling stripe near its top.
void panelAt(float cx, float cy, float width, float bottom, float top, float stripeSpan) {
    const float s = menuLook.titleScale;
    blendOver();
    glColor4f(1.0f, 1.0f, 1.0f, menuLook.alpha);
    glPushMatrix();
    glTranslatef(cx, cy, 0.0f);
    glScalef(s, s, 1.0f);
    bindTga(menuImages::panel);
    const float w = width * 0.5f;
    quadS(-w, bottom, w, top, 0.0f, 1.0f);
    bindTga(menuImages::stripeOverlay);
    quadS(-w, 218.0f, w, 254.0f, scroll(), stripeSpan + scroll());
    glPopMatrix();
}

float displayedRating[3] = {0.5f, 0.5f, 0.5f};

struct MapPlacement {
    int image;  // BMP table
    float scale, offsetX, offsetZ;
};
constexpr MapPlacement mapPlacements[3] = {
    {1, 0.12906f, -5.658f, 10.83f},
    {2, 0.122832f, 0.737f, 10.786f},
    {7, 0.12336f, -4.844f, 0.414f},
};

}  // namespace

void IconButton(bool hovered, int slot, int icon, float x, float y) {
    const float scale = grownScale(slot, hovered, iconGrowth);
    const float a = menuLook.alpha;
    blendOver();
    glPushMatrix();
    glTranslatef(x + 70.0f, y, 0.0f);
    glScalef(scale, scale, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, a);
    bindTga(menuImages::iconButtonFace);
    centred(140.0f, 72.0f);
    if (hovered) glColor4f(1.0f, 1.0f, 1.0f, a);
    else glColor4f(1.0f, 0.5f, 0.0f, a);
    bindTga(menuImages::iconAtlas);
    atlasCell(std::clamp(icon, 0, atlasColumns - 1), 48.0f);
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void TextButton(bool hovered, int slot, float x, float y) {
    const float scale = grownScale(slot, hovered, textGrowth);
    blendOver();
    glPushMatrix();
    glTranslatef(x + 70.0f, y, 0.0f);
    glScalef(scale, scale, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, menuLook.alpha);
    bindTga(menuImages::textButtonFace);
    centred(140.0f, 34.0f);
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void CarouselArrow(bool hovered, int slot, bool mirrored, float x, float y) {
    const float scale = grownScale(slot, hovered, arrowGrowth);
    blendOver();
    glPushMatrix();
    glTranslatef(x + 70.0f, y, 0.0f);
    glScalef(scale, scale, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, menuLook.alpha);
    bindTga(menuImages::arrow);
    centred(70.0f, 70.0f, mirrored);
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void ValueArrow(bool hovered, int slot, bool mirrored, float x, float y) {
    const float scale = grownScale(slot, hovered, valueArrowGrowth);
    blendOver();
    glPushMatrix();
    glTranslatef(x + 30.0f, y + 7.0f, 0.0f);
    glScalef(scale, scale, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, menuLook.alpha * menuLook.subPageAlpha);
    bindTga(menuImages::arrow);
    centred(30.0f, 30.0f, mirrored);
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void drawMenuButton(const MenuButton& b) {
    const bool hovered = b.slot >= 0 && b.slot < hoverSlotCount && hoverFlags[b.slot];
    const float y = b.y + (b.bounces ? menuLook.bounce : 0.0f);
    switch (b.look) {
    case ButtonLook::Icon:
        IconButton(hovered, b.slot, b.icon, b.x, y);
        break;
    case ButtonLook::Text:
        TextButton(hovered, b.slot, b.x, y);
        if (b.label) {
            // Orange at rest, white under the cursor.
            textStyle = hovered ? textStyles::white : textStyles::orange;
            textAlpha = menuLook.alpha;
            printText(b.x + b.labelShift, y - 7.0f, "%s", b.label);
            textStyle = textStyles::white;
        }
        break;
    case ButtonLook::CarouselArrow:
        CarouselArrow(hovered, b.slot, b.mirrored, b.x, y);
        break;
    case ButtonLook::ValueArrow:
        ValueArrow(hovered, b.slot, b.mirrored, b.x, y);
        break;
    case ButtonLook::Hidden:
        break;
    }
}

void TopBand() { bandAt(480.0f, 550.0f); }

void BottomBand() { bandAt(120.0f, 50.0f); }

void footerBar() {
    const float y = 50.0f + menuLook.bounce;
    blendOver();
    glColor4f(1.0f, 1.0f, 1.0f, menuLook.alpha);
    stripAt(menuImages::wideStrip, 400.0f, y, 804.0f, 40.0f);
    stripAt(menuImages::stripeOverlay, 400.0f, y, 804.0f, 36.0f, scroll(), 1.0f + scroll());
}

void centrePanel() { panelAt(400.0f, 335.0f, 512.0f, -245.0f, 256.0f, 0.64f); }

void rightPanel() { panelAt(665.0f, 335.0f, 256.0f, 0.0f, 256.0f, 0.32f); }

void thinStripAt(float y) {
    blendOver();
    glColor4f(1.0f, 1.0f, 1.0f, menuLook.alpha);
    stripAt(menuImages::thinStrip, 400.0f, y, 804.0f, 20.0f);
}

void settleCarousel(float dt) {
    float& o = carousel.offset;
    if (o == 0.0f) return;
    const float step = std::max(std::fabs(o) * 0.08f * dt, 0.15f);
    const float before = o;
    if (o > 0.0f) o -= step;
    else o += step;
    if ((before > 0.0f) != (o > 0.0f) || o == 0.0f) o = 0.0f;
}

bool stepCarousel(int direction, int count) {
    const int next = carousel.selected + (direction < 0 ? -1 : 1);
    if (next < 0 || next > count - 1) return false;
    carousel.selected = next;
    carousel.offset += direction < 0 ? -100.0f : 100.0f;
    return true;
}

void ItemCarousel(int icon, int count, int numberBase) {
    settleCarousel(ticks());
    const float a = menuLook.alpha;
    const float o = carousel.offset;
    blendOver();
    for (int i = -2; i <= count + 1; ++i) {
        const float x = float(i - carousel.selected) * 100.0f + 400.0f + o;
        const float e = std::min(std::fabs(x - 400.0f), 250.0f);
        const float itemScale = 1.0f - std::min(e, 200.0f) * 0.0025f;
        const float itemAlpha = std::clamp((250.0f - e) * 0.02f * a, 0.0f, 1.0f);
        if (itemAlpha <= 0.0f) continue;
        const bool real = i >= 0 && i <= count - 1;
        if (i == carousel.selected) {
            // Turns from orange to white as the strip settles.
            const float k = std::clamp((100.0f - std::fabs(o)) * 0.01f, 0.0f, 1.0f);
            glColor4f(1.0f, 0.5f + 0.5f * k, k, itemAlpha);
        } else {
            glColor4f(1.0f, 0.5f, 0.0f, itemAlpha);
        }
        glPushMatrix();
        glTranslatef(x, 550.0f, 0.0f);
        glScalef(itemScale, itemScale, 1.0f);
        bindTga(menuImages::iconAtlas);
        atlasCell(real ? icon : emptyIcon, 82.0f);
        glPopMatrix();
        if (real) {
            textAlpha = itemAlpha;
            printText(x + 10.0f, 520.0f, "%2i", i + numberBase);
            blendOver();
        }
    }
    textAlpha = a;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void RatingBar(RatingKind kind, float value, float x, float y) {
    float& v = displayedRating[int(kind)];
    if (!(value == value)) value = 0.5f;  // a damaged car record
    const float step = 0.00075f * ticks();
    if (v < value) v = std::min(value, v + step);
    else v = std::max(value, v - step);
    v = std::clamp(v, 0.5f, 1.0f);
    const float filled = (v - 0.4f) * 250.0f;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, BmpTable[menuImages::ratingFilled]);
    quadS(x, y, x + filled, y + 7.0f, 0.0f, filled / 150.0f);
    glBindTexture(GL_TEXTURE_2D, BmpTable[menuImages::ratingEmpty]);
    quadS(x + filled, y, x + 150.0f, y + 7.0f, filled / 150.0f, 1.0f);
}

void ratingBars(float speed, float acceleration, float handling) {
    RatingBar(RatingKind::Speed, speed, 640.0f, 470.0f);
    RatingBar(RatingKind::Acceleration, acceleration, 640.0f, 440.0f);
    RatingBar(RatingKind::Handling, handling, 640.0f, 410.0f);
    textStyle = textStyles::orange;
    textAlpha = menuLook.alpha;
    printText(640.0f, 480.0f, "Speed");
    printText(640.0f, 450.0f, "Acceleration");
    printText(640.0f, 420.0f, "Handling");
    textStyle = textStyles::white;
}

void carRatingBars(const CarConfig& car) {
    const float packets = 0.05f * float(car.techPacket);
    ratingBars(std::min(1.0f, car.speedRating + packets), std::min(1.0f, car.accelRating + packets),
               std::min(1.0f, car.handlingRating + packets));
}

int trackMapNumber(int track) {
    const int race = ((track - 1) % 10 + 10) % 10 + 1;
    if (race == 2 || race == 5 || race == 8) return 2;
    if (race == 3 || race == 6 || race == 9) return 3;
    return 1;
}

void TrackMap(int track, float cx, float cy) {
    const MapPlacement& map = mapPlacements[trackMapNumber(track) - 1];
    const float alpha = menuLook.alpha * menuLook.subPageAlpha * menuLook.detailAlpha;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, BmpTable[size_t(map.image)]);
    glPushMatrix();
    glTranslatef(cx, cy, 0.0f);
    centred(180.0f, 180.0f);

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    bindTga(menuImages::mapDot);
    for (int32_t i = aiPathLast; i >= 0; --i) {
        const TrackPoint& p = aiPath[i];
        if (p.kind != checkpointKind) continue;
        const float u = map.scale * p.x + map.offsetX;
        const float v = map.scale * p.z + map.offsetZ;
        if (i == 0) glColor4f(0.0f, 1.0f, 0.0f, alpha);
        else glColor4f(1.0f, 0.25f, 0.0f, alpha);
        quadS(u - 5.0f, -v - 5.0f, u + 5.0f, -v + 5.0f, 0.0f, 1.0f);
    }
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void fullScreenImage(uint32_t texture) {
    if (texture == 0) return;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    texturedQuad(0.0f, 0.0f, 800.0f, 600.0f);
}

void centredQuad(uint32_t texture, float cx, float cy, float width, float height) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    texturedQuad(cx - width * 0.5f, cy - height * 0.5f, cx + width * 0.5f, cy + height * 0.5f);
}

void cashLine() {
    textStyle = textStyles::white;
    textAlpha = menuLook.alpha;
    printLargeText(270.0f, 38.0f + menuLook.bounce, "Cash: $%2i", wholeDollars(careerState.cash));
}

int wholeDollars(float dollars) {
    if (!(dollars == dollars)) return 0;
    return int(std::clamp(dollars, -2.0e9f, 2.0e9f));
}
