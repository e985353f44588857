#include "frontend/options_screen.h"

#include "app/bitmap_text.h"
#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "app/window.h"
#include "audio/music_stream.h"
#include "frontend/widgets.h"
#include "race/traffic.h"

#include <algorithm>
#include <cmath>
#include <string>

int32_t resolutionChoice = 1;

namespace {

using B = ButtonLook;

constexpr int graphicsTab = 0;
constexpr int audioTab = 1;
constexpr int controlsTab = 2;
constexpr int tabCount = 3;
constexpr int firstTabSlot = 2;
constexpr int firstBindingSlot = 15;

const char* const tabNames[tabCount] = {"Graphics", "Audio", "Controls"};
const char* const resolutionNames[resolutionCount] = {"640x480", "800x600", "1024x768", "1280x1024", "1600x1200"};

int chosenTabSlot() { return std::clamp(subPage.target, 0, tabCount - 1) + firstTabSlot; }

// ---- What the rows show (a value a damaged settings file holds shows nothing) ----

const char* yesNo(int32_t on) { return on ? "  Yes" : "  No"; }

const char* pick(int32_t value, std::initializer_list<const char*> names) {
    if (value < 0 || value >= int32_t(names.size())) return "";
    return names.begin()[value];
}

// ---- Graphics ----

void stepResolution(int direction) {
    if (direction > 0) nextResolution(resolutionChoice);
    else previousResolution(resolutionChoice);
}

void toggleParticles() { gameSettings.particles = gameSettings.particles ? 0 : 1; }
void toggleReflections() { gameSettings.reflections = gameSettings.reflections == 1 ? 0 : 1; }
void toggleMotionBlur() { gameSettings.motionBlur = gameSettings.motionBlur == 1 ? 0 : 1; }

// No, Norm, Max and round again; the race takes the level at once.
void stepTraffic(int direction) {
    const int level = std::clamp(gameSettings.cityTraffic, 0, 2);
    gameSettings.cityTraffic = (level + direction + 3) % 3;
    setTrafficLevelFromSettings();
}

// ---- Audio ----

// The framework's hover sound after the click is heard only once sound is on.
void toggleSound() { gameSettings.sound = gameSettings.sound ? 0 : 1; }

void toggleMusic() {
    if (gameSettings.music) {
        gameSettings.music = 0;
        rewindMenuMusic();
    } else {
        gameSettings.music = 1;
        startMenuMusic();
        loopFlags.musicFade = -1.5f;
        loopFlags.menuMusicPending = false;  // started here, not again by the frame driver
    }
}

// ---- Controls ----

void openControlsTab() {
    subPage.target = controlsTab;
    detailItem.target = -1;
    std::copy(gameSettings.keys, gameSettings.keys + bindingCount, displayedKeys);
}

// ---- Drawing ----

struct ValueRow {
    float y;
    const char* label;
};
constexpr ValueRow graphicsRows[] = {
    {350, "Display resolution:"}, {300, "Particles:"}, {250, "Reflections:"}, {200, "City traffic:"},
    {150, "Motion blur:"}};
constexpr ValueRow audioRows[] = {{350, "Sound:"}, {300, "Music:"}};
constexpr ValueRow bindingRows[] = {
    {350, "Steer left:"}, {300, "Steer Right:"}, {250, "Accel:"}, {200, "Brake:"}, {150, "Nitro:"}};

bool waitingForKey(int row) { return detailItem.target == row; }

void drawGraphicsTab() {
    for (const ValueRow& row : graphicsRows) printText(230.0f, row.y, "%s", row.label);
    const GameSettings& s = gameSettings;
    printText(485.0f, 350.0f, "%s",
              resolutionChoice >= 0 && resolutionChoice < resolutionCount ? resolutionNames[resolutionChoice] : "");
    printText(490.0f, 300.0f, "%s", yesNo(s.particles));
    printText(490.0f, 250.0f, "%s", pick(s.reflections, {"  Min", "  Max"}));
    printText(490.0f, 200.0f, "%s", pick(s.cityTraffic, {"  No", " Norm", "  Max"}));
    printText(490.0f, 150.0f, "%s", pick(s.motionBlur, {"  No", "  Yes"}));
}

void drawAudioTab() {
    for (const ValueRow& row : audioRows) printText(230.0f, row.y, "%s", row.label);
    printText(490.0f, 350.0f, "%s", yesNo(gameSettings.sound));
    printText(490.0f, 300.0f, "%s", yesNo(gameSettings.music));
}

// The x of a key's name on its row: letters and punctuation further right.
float keyNameX(int32_t code) {
    if (code == keyCodes::space) return 495.0f;
    if (code == keyCodes::shift || code == keyCodes::ctrl || (code >= keyCodes::left && code <= keyCodes::down))
        return 500.0f;
    return 523.0f;
}

// What a game controller does, in two lines that fit the panel, and whether one is connected.
void drawPadControls(float x, float y) {
    printText(x, y, "Pad: stick steers, RT gas, LT brake, A nitro");
    printText(x, y - 18.0f, "%s", connectedPads() > 0 ? "Start pauses; D-pad, A and B work the menus"
                                                         : "No pad connected");
}

void drawControlsTab() {
    for (int i = 0; i < bindingCount; ++i) {
        const float y = bindingRows[i].y;
        printText(230.0f, y, "%s", bindingRows[i].label);
        if (hoverFlags[firstBindingSlot + i] && waitingForKey(i)) {
            printText(460.0f, y, "   Press");
        } else {
            const int32_t code = displayedKeys[i];
            printText(keyNameX(code), y, "%s", bindingKeyName(code).c_str());
        }
    }
    drawPadControls(170.0f, 116.0f);
}

void drawOptionsBack() {
    centrePanel();
    footerBar();
    // The row waiting for a key stays lit.
    if (subPage.shown == controlsTab && detailItem.target >= 0 && detailItem.target < bindingCount)
        hoverFlags[firstBindingSlot + detailItem.target] = 1;
}

void drawOptionsFront() {
    if (resolutionApplied) {
        textStyle = textStyles::white;
        textAlpha = 1.0f + std::sin(6.5f * frameTiming.gameClock);
        printText(110.0f, 10.0f + menuLook.bounce, "Changes will take effect the next time you start the game");
    }
    textStyle = textStyles::orange;
    textAlpha = menuLook.alpha;
    printLargeText(300.0f, 512.0f, "Options:");
    // The hovered tab's name, else the chosen one's.
    int named = std::clamp(subPage.target, 0, tabCount - 1);
    for (int tab = 0; tab < tabCount; ++tab) {
        if (tab != subPage.target && hoverFlags[firstTabSlot + tab]) named = tab;
    }
    printLargeText(410.0f, 512.0f, "%s", tabNames[named]);

    textAlpha = menuLook.alpha * menuLook.subPageAlpha;
    switch (subPage.shown) {
    case graphicsTab: drawGraphicsTab(); break;
    case audioTab: drawAudioTab(); break;
    case controlsTab: drawControlsTab(); break;
    default: break;
    }
    textStyle = textStyles::white;
    textAlpha = menuLook.alpha;
}

// ---- The table ----

// A value arrow of a tab's row: left at (430, y), right at (570, y); the
// click areas include their edges.
constexpr MenuButton valueArrow(int page, int row, bool right, void (*action)()) {
    const int top = 221 + 50 * row;
    return {.look = B::ValueArrow, .slot = 5 + 2 * row + (right ? 1 : 0), .x = right ? 570.0f : 430.0f,
            .y = float(350 - 50 * row), .mirrored = right,
            .click = right ? MenuRect{576, top, 619, top + 38} : MenuRect{436, top, 479, top + 38},
            .inclusive = true, .sound = ButtonSound::Hover, .navigation = false, .action = action, .page = page};
}

constexpr MenuButton bindingRow(int row, void (*action)()) {
    const int top = 229 + 50 * row;
    return {.look = B::Text, .slot = firstBindingSlot + row, .x = 460.0f, .y = float(357 - 50 * row),
            .label = "",  // the key's name, printed by the screen
            .click = {461, top, 592, top + 25}, .inclusive = true, .sound = ButtonSound::Hover,
            .navigation = false, .action = action, .page = controlsTab};
}

const MenuButton optionsButtons[] = {
    {.look = B::Text, .slot = 0, .x = 10, .y = 50, .bounces = true, .label = "    Accept", .labelShift = -8.0f,
     .click = {20, 530, 140, 570}, .action = [] {
         if (resolutionChanged) resolutionApplied = true;
     }},
    {.look = B::Text, .slot = 1, .x = 650, .y = 50, .bounces = true, .label = "    Back",
     .click = {660, 530, 780, 570}, .action = [] { goToScreen(gameStates::mainMenu); }},
    {.look = B::Icon, .slot = 2, .x = 170, .y = 460, .icon = 27, .click = {180, 110, 300, 170}, .action = [] {
         subPage.target = graphicsTab;
         resolutionChanged = false;
     }},
    {.look = B::Icon, .slot = 3, .x = 330, .y = 460, .icon = 26, .click = {340, 110, 460, 170},
     .action = [] { subPage.target = audioTab; }},
    {.look = B::Icon, .slot = 4, .x = 490, .y = 460, .icon = 28, .click = {500, 110, 620, 170},
     .action = openControlsTab},

    valueArrow(graphicsTab, 0, false, [] { stepResolution(-1); }),
    valueArrow(graphicsTab, 0, true, [] { stepResolution(+1); }),
    valueArrow(graphicsTab, 1, false, toggleParticles),
    valueArrow(graphicsTab, 1, true, toggleParticles),
    valueArrow(graphicsTab, 2, false, toggleReflections),
    valueArrow(graphicsTab, 2, true, toggleReflections),
    valueArrow(graphicsTab, 3, false, [] { stepTraffic(-1); }),
    valueArrow(graphicsTab, 3, true, [] { stepTraffic(+1); }),
    valueArrow(graphicsTab, 4, false, toggleMotionBlur),
    valueArrow(graphicsTab, 4, true, toggleMotionBlur),

    valueArrow(audioTab, 0, false, toggleSound),
    valueArrow(audioTab, 0, true, toggleSound),
    valueArrow(audioTab, 1, false, toggleMusic),
    valueArrow(audioTab, 1, true, toggleMusic),

    bindingRow(0, [] { detailItem.target = 0; }),
    bindingRow(1, [] { detailItem.target = 1; }),
    bindingRow(2, [] { detailItem.target = 2; }),
    bindingRow(3, [] { detailItem.target = 3; }),
    bindingRow(4, [] { detailItem.target = 4; }),
};

}  // namespace

const MenuScreen optionsScreen{.id = gameStates::options, .name = "options", .buttons = optionsButtons,
                               .drawBack = drawOptionsBack, .drawFront = drawOptionsFront,
                               .litSlot = chosenTabSlot};

void openOptionsScreen() {
    goToScreen(gameStates::options);
    subPage.target = subPage.shown = graphicsTab;
    detailItem.target = -1;
    resolutionChanged = false;
    // The resolution the next start will use: the accepted choice, else the
    // one in use (a change left without Accept is forgotten). A damaged
    // settings file's index is read from the window.
    if (!resolutionApplied) {
        gameSettings.chosenWidth = gameSettings.width;
        gameSettings.chosenHeight = gameSettings.height;
    }
    resolutionChoice = resolutionIndexForWidth(gameSettings.chosenWidth);
    if (resolutionChoice < 0) resolutionChoice = resolutionIndexForWidth(gameSettings.width);
}
