#include "app/hud.h"

#include "app/bitmap_text.h"
#include "app/game_state.h"
#include "app/settings.h"
#include "app/window.h"
#include "content/texture_tables.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "race/ai_path.h"
#include "race/car_dynamics.h"
#include "race/race_flow.h"
#include "render/render_targets.h"
#include "render/route_markers.h"
#include "render/screen_space.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// TGA table entries.
constexpr int checkpointMarkerImage = 9;
constexpr int checkpointRingImage = 10;
constexpr int revDialImage = 36;
constexpr int needleImage = 38;
constexpr int miniMapMaskImage = 39;
// BMP table entry of the nitro bar.
constexpr int nitroBarImage = 6;

const MiniMapGroup groups[3] = {
    {-10.755f, 5.342f, -9.17f, 1},
    {-10.236f, -0.263f, -9.214f, 2},
    {-10.28f, 4.156f, -0.586f, 7},
};

// The camera looks straight down from 55 above the map plane's origin on the
// map at y = -4.05; markers and arrows lie just above it.
constexpr float mapPlaneY = -4.05f;
constexpr float markerPlaneY = -4.04f;
constexpr float mapHalfSize = 75.0f;

void bindTga(int index) { glBindTexture(GL_TEXTURE_2D, TgaTable[size_t(index)].texture); }

// A horizontal square on the marker plane, counter-clockwise seen from above.
void markerSquare(float half) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-half, markerPlaneY, half);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(half, markerPlaneY, half);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(half, markerPlaneY, -half);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-half, markerPlaneY, -half);
    glEnd();
}

// A car's arrow: its tip points along -z, up on the map.
void arrowTriangle() {
    glBegin(GL_TRIANGLES);
    glVertex3f(-3.0f, markerPlaneY, 6.0f);
    glVertex3f(3.0f, markerPlaneY, 6.0f);
    glVertex3f(0.0f, markerPlaneY, -6.0f);
    glEnd();
}

// Where the player is, and where the player heads; the origin facing +x
// while there is no race world.
Vec3 carPosition(const RaceCar& car) { return car.body ? physics::getPosition(car.body) : Vec3{}; }

void drawCheckpointMarkers(const MiniMapGroup& group, Vec3 p, float heading) {
    const float k = 0.01f * group.scale;
    const float pulseMarker = 1.5f + 0.5f * std::sin(markerPhase);
    const float pulseRing = 1.5f + 0.75f * std::sin(markerPhase);
    const int32_t next = raceCars[0].nextCheckpoint;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (int32_t i = aiPathLast; i >= 0; --i) {
        const TrackPoint& point = aiPath[i];
        if (point.kind != checkpointKind) continue;
        const Vec3 d = pointPosition(point) - p;
        const bool isNext = i == next;
        if (isNext) glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
        else glColor4f(1.0f, 0.25f, 0.0f, 1.0f);
        glPushMatrix();
        glRotatef(heading + 90.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(-d.x * k, 0.0f, -d.z * k);
        bindTga(checkpointMarkerImage);
        markerSquare(isNext ? 3.0f * pulseMarker : 3.0f);
        if (isNext) {
            bindTga(checkpointRingImage);
            markerSquare(4.0f * pulseRing);
        }
        glPopMatrix();
    }
}

void drawCarArrows(const MiniMapGroup& group, Vec3 p, float heading) {
    const float k = 0.01f * group.scale;
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 0.0f, 0.0f, 0.0f);
    for (int i = 1; i < raceCarCount; ++i) {
        const RaceCar& car = raceCars[i];
        if (!car.body) continue;
        const Vec3 d = carPosition(car) - p;
        glPushMatrix();
        glRotatef(heading + 90.0f, 0.0f, 1.0f, 0.0f);
        glTranslatef(-d.x * k, 0.0f, -d.z * k);
        glRotatef(-mapHeading(car.flatForward) - 90.0f, 0.0f, 1.0f, 0.0f);
        arrowTriangle();
        glPopMatrix();
    }
    // The player's arrow stays in the middle pointing up: the map turns instead.
    glColor4f(0.0f, 1.0f, 0.0f, 0.0f);
    arrowTriangle();
}

// The mini-map's size in pixels: its 256 x 192 HUD units at this resolution.
int miniMapPixelWidth() { return std::max(1, int(std::lround(256.0 * gameSettings.width / 800.0))); }
int miniMapPixelHeight() { return std::max(1, int(std::lround(192.0 * gameSettings.height / 600.0))); }

void printClock(float x, float y, const RaceClock& clock) {
    const ClockTexts texts = clockTexts(clock);
    printText(x, y, "%s", texts.minutes);
    printText(x, y, "%s", texts.seconds);
    printText(x, y, "%s", texts.hundredths);
}

}  // namespace

int miniMapGroup(int n) {
    if (n == 2 || n == 5 || n == 8) return 2;
    if (n == 3 || n == 6 || n == 9) return 3;
    return 1;
}

const MiniMapGroup& miniMapGroupData(int group) { return groups[std::clamp(group, 1, 3) - 1]; }

int miniMapSelection() {
    if (careerRaceActive) return careerState.currentRace;
    return loadedTrack >= 1 ? (loadedTrack - 1) % 10 + 1 : loadedTrack;
}

float mapHeading(Vec3 forward) {
    if (forward.x == 0.0f && forward.z == 0.0f) return 0.0f;
    float h = -57.3f * std::atan2(-forward.z, forward.x);
    if (h > 180.0f) h -= 360.0f;
    if (h < -180.0f) h += 360.0f;
    return h;
}

float needleAngle(float rpm) { return std::clamp((rpm - 1000.0f) * 0.042f, 0.0f, 270.0f); }

float nitroFraction(float nitro) { return std::clamp(nitro * 0.01f, 0.0f, 1.0f); }

ClockTexts clockTexts(const RaceClock& clock) {
    ClockTexts texts;
    std::snprintf(texts.minutes, sizeof texts.minutes, " %2i", clock.minutes);
    std::snprintf(texts.seconds, sizeof texts.seconds, "   :%2i", clock.seconds);
    std::snprintf(texts.hundredths, sizeof texts.hundredths, "      .%2i", int(clock.hundredths));
    return texts;
}

HudTexts hudTexts() {
    HudTexts texts;
    const int32_t lapsDone = raceCars[0].lapsDone;
    // The first pass of the line opens lap 1: lapsDone is the lap being driven from then on.
    const int32_t lap = lapsDone < 2 ? 1 : lapsDone;
    std::snprintf(texts.speed, sizeof texts.speed, " %2i", int(playerSpeed() * 7.5f));
    std::snprintf(texts.lap, sizeof texts.lap, " %2i/", lap);
    std::snprintf(texts.lapsTotal, sizeof texts.lapsTotal, "   %2i", lapsTotal);
    std::snprintf(texts.place, sizeof texts.place, " %2i/", playerPlace);
    std::snprintf(texts.carCount, sizeof texts.carCount, "   %2i", raceCarCount);
    texts.raceTime = clockTexts(raceClock);
    texts.lapTime = clockTexts(lapClock);
    texts.bestLap = clockTexts(bestLap);
    return texts;
}

void drawMiniMap(int n) {
    const MiniMapGroup& group = miniMapGroupData(miniMapGroup(n));
    const RaceCar& player = raceCars[0];
    const Vec3 p = carPosition(player);
    const float heading = mapHeading(player.body ? player.flatForward : Vec3{1.0f, 0.0f, 0.0f});
    const float k = 0.01f * group.scale;

    // The map is the whole race view shrunk into the mini-map's quad, so it is
    // drawn straight at that size in the frame's lower-left corner: the view's
    // shape stays the window's, and the image texels meet the screen one to one.
    const int width = miniMapPixelWidth(), height = miniMapPixelHeight();
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    // The map always has the plain 70 degree view, however fast the car goes.
    const float speedBlur = loopFlags.speedBlur;
    loopFlags.speedBlur = 0.0f;
    setProjection(gameSettings.width, gameSettings.height);
    loopFlags.speedBlur = speedBlur;
    glViewport(0, 0, width, height);
    glDisable(GL_DEPTH_TEST);

    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, -55.0f, 0.0f);

    // The map image, turned about the player and moved so that the player is in the middle.
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    glBindTexture(GL_TEXTURE_2D, BmpTable[size_t(group.bmpImage)]);
    glPushMatrix();
    glRotatef(heading + 90.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(p.x * k + group.offsetX, 0.0f, p.z * k + group.offsetZ);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-mapHalfSize, mapPlaneY, mapHalfSize);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(mapHalfSize, mapPlaneY, mapHalfSize);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(mapHalfSize, mapPlaneY, -mapHalfSize);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-mapHalfSize, mapPlaneY, -mapHalfSize);
    glEnd();
    glPopMatrix();

    // No markers while the cars wait on the grid or once the player has finished.
    if (!countdownActive && !raceFinished) drawCheckpointMarkers(group, p, heading);
    drawCarArrows(group, p, heading);

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();

    // The mask's alpha becomes the frame's: 0 where the map shows.
    beginScreenSpace();
    glDisable(GL_DEPTH_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    bindTga(miniMapMaskImage);
    texturedQuad(0.0f, 0.0f, 800.0f, 600.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    endScreenSpace();

    if (motionSharp != 0) {
        glBindTexture(GL_TEXTURE_2D, motionSharp);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
    }
    glViewport(0, 0, gameSettings.width, gameSettings.height);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_DEPTH_TEST);
}

void drawHud() {
    drawMiniMap(miniMapSelection());

    glLoadIdentity();
    beginScreenSpace();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // The frame as it was before the mini-map, with the glow added.
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, sceneCopy);
    texturedQuad(0.0f, 0.0f, 800.0f, 600.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, glowTarget);
    texturedQuad(0.0f, 0.0f, 800.0f, 600.0f);
    glDisable(GL_BLEND);

    const RaceCar& player = raceCars[0];
    const float needle = needleAngle(player.engineRpm);

    // The nitro bar shows the part of its image up to the nitro level.
    const float f = nitroFraction(player.nitro);
    if (f > 0.0f) {
        glBindTexture(GL_TEXTURE_2D, BmpTable[nitroBarImage]);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(648.0f, 95.0f);
        glTexCoord2f(f, 0.0f);
        glVertex2f(648.0f + 65.0f * f, 95.0f);
        glTexCoord2f(f, 1.0f);
        glVertex2f(648.0f + 65.0f * f, 127.0f);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(648.0f, 127.0f);
        glEnd();
    }

    // Rev counter: the dial, then the needle turned clockwise from the lower left.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    bindTga(revDialImage);
    texturedQuad(592.0f, 22.0f, 768.0f, 198.0f);
    glPushMatrix();
    glTranslatef(680.0f, 110.0f, 0.0f);
    glRotatef(135.0f - needle, 0.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, 52.0f, 0.0f);
    bindTga(needleImage);
    texturedQuad(-7.0f, -14.0f, 7.0f, 14.0f);
    glPopMatrix();

    // The mini-map where the mask's alpha is 0, the scene where it is 1.
    glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, motionSharp);
    const float u = float(miniMapPixelWidth()) / float(std::max(1, gameSettings.width));
    const float v = float(miniMapPixelHeight()) / float(std::max(1, gameSettings.height));
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(miniMapLeft, miniMapBottom);
    glTexCoord2f(u, 0.0f);
    glVertex2f(miniMapRight, miniMapBottom);
    glTexCoord2f(u, v);
    glVertex2f(miniMapRight, miniMapTop);
    glTexCoord2f(0.0f, v);
    glVertex2f(miniMapLeft, miniMapTop);
    glEnd();

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    endScreenSpace();

    const HudTexts texts = hudTexts();
    textStyle = textStyles::orange;
    glEnable(GL_BLEND);
    printText(651.0f, 45.0f, "%s", texts.speed);
    printText(655.0f, 30.0f, "km/h");
    printText(648.0f, 102.0f, "Nitro");
    printLargeText(680.0f, 530.0f, "Lap");
    printLargeText(680.0f, 510.0f, "%s", texts.lap);
    printLargeText(680.0f, 510.0f, "%s", texts.lapsTotal);
    printLargeText(680.0f, 480.0f, "Place");
    printLargeText(680.0f, 460.0f, "%s", texts.place);
    printLargeText(680.0f, 460.0f, "%s", texts.carCount);
    printText(30.0f, 550.0f, "Race time");
    printClock(30.0f, 535.0f, raceClock);
    printText(30.0f, 505.0f, "Lap time");
    printClock(30.0f, 490.0f, lapClock);
    printText(30.0f, 460.0f, "Best lap");
    printClock(30.0f, 445.0f, bestLap);
    textStyle = textStyles::white;
    glDisable(GL_BLEND);
}
