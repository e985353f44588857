#include "frontend/menu_framework.h"

#include "app/bitmap_text.h"
#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/input.h"
#include "app/settings.h"
#include "audio/sound_device.h"
#include "content/texture_tables.h"
#include "frontend/widgets.h"
#include "platform/platform.h"
#include "render/screen_space.h"
#include "render/shader_programs.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int32_t shownScreen = 0;
float screenFade = 0.0f;
FadingChoice subPage;
FadingChoice detailItem;
uint8_t hoverFlags[hoverSlotCount] = {};
float buttonScale[hoverSlotCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
MenuLook menuLook;
MenuSoundCounts menuSoundCounts;

namespace {

constexpr float fadeRate = 0.03f;          // per 10 ms tick
constexpr float halfPi = 1.5707f;
constexpr float noticeSeconds = 6.0f;

char noticeText[96] = {};
float noticeTimer = 0.0f;

// Menu focus: a row of focusScreen's table; the keys light it while they are
// in charge, the pointer lights what it is over otherwise.
struct MenuFocus {
    int32_t screen = -1;
    int row = -1;
    bool keysInCharge = false;
};
MenuFocus focus;

// Fade out to 0, switch to the target, fade back in.
void advanceFade(int32_t target, int32_t& shown, float& fade, float ticks) {
    if (target != shown) {
        fade -= fadeRate * ticks;
        if (fade <= 0.0f) {
            fade = 0.0f;
            shown = target;
        }
    } else {
        fade = std::min(1.0f, fade + fadeRate * ticks);
    }
}

void computeLook() {
    const float f = screenFade;
    menuLook.alpha = 1.0f - std::cos(f * halfPi);
    menuLook.bounce = -10.0f * std::sin(f * 4.18f);
    menuLook.titleScale = 1.25f - 0.25f * f;
    menuLook.subPageAlpha = 1.0f - std::cos(subPage.fade * halfPi);
    menuLook.detailAlpha = 1.0f - std::cos(detailItem.fade * halfPi);
    const float slide = 1.0f - std::sin(detailItem.fade * halfPi);
    menuLook.detailSlide = detailItem.settled() ? -slide : slide;
}

bool contains(const MenuRect& r, bool inclusive, int x, int y) {
    if (inclusive) return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

bool rowEnabled(const MenuButton& b) {
    if (b.page >= 0 && b.page != subPage.shown) return false;
    return !b.enabled || b.enabled();
}

// A row the focus can rest on: shown, with a slot to light and a place to click.
bool focusable(const MenuButton& b) {
    return rowEnabled(b) && b.look != ButtonLook::Hidden && b.slot >= 0 && b.slot < hoverSlotCount &&
           !b.click.empty();
}

// The focusable rows of a screen in reading order: top to bottom, then left to right.
std::vector<int> readingOrder(const MenuScreen& screen) {
    std::vector<int> rows;
    for (size_t i = 0; i < screen.buttons.size(); ++i)
        if (focusable(screen.buttons[i])) rows.push_back(int(i));
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const MenuRect& ra = screen.buttons[size_t(a)].click;
        const MenuRect& rb = screen.buttons[size_t(b)].click;
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return rows;
}

// Keeps the focus on GameState's screen: a new screen starts on its first row.
void followScreen(const MenuScreen& screen) {
    const std::vector<int> order = readingOrder(screen);
    const bool valid = std::find(order.begin(), order.end(), focus.row) != order.end();
    if (focus.screen != screen.id || !valid) {
        focus.screen = screen.id;
        focus.row = order.empty() ? -1 : order.front();
    }
}

// The row of the line above (direction -1) or below (+1) nearest in x, wrapping.
int rowInNextLine(const MenuScreen& screen, const std::vector<int>& order, int from, int direction) {
    const MenuRect& here = screen.buttons[size_t(from)].click;
    const int centre = (here.left + here.right) / 2;
    auto top = [&](int row) { return screen.buttons[size_t(row)].click.top; };
    int lineTop = -1;
    for (int row : order) {
        const int t = top(row);
        const bool beyond = direction > 0 ? t > here.top : t < here.top;
        if (beyond && (lineTop < 0 || (direction > 0 ? t < lineTop : t > lineTop))) lineTop = t;
    }
    if (lineTop < 0) lineTop = direction > 0 ? top(order.front()) : top(order.back());  // wrap
    int best = from, bestDistance = 1 << 30;
    for (int row : order) {
        if (top(row) != lineTop) continue;
        const MenuRect& r = screen.buttons[size_t(row)].click;
        const int distance = std::abs((r.left + r.right) / 2 - centre);
        if (distance < bestDistance) {
            best = row;
            bestDistance = distance;
        }
    }
    return best;
}

bool isBackRow(const MenuButton& b) {
    if (!b.label || !rowEnabled(b)) return false;
    std::string label = b.label;
    label.erase(0, label.find_first_not_of(' '));
    label.erase(label.find_last_not_of(' ') + 1);
    return label == "Back" || label == "No" || label == "Continue";
}

// What a click on the row does, with its sound.
void actOnRow(const MenuButton& b) {
    if (b.action) b.action();
    if (b.navigation) mouseState.clickPending = false;
    if (b.sound == ButtonSound::Click) playMenuSound(MenuSound::Click);
    else if (b.sound == ButtonSound::Hover) playMenuSound(MenuSound::Hover);
    resetHover();
}

// Behind the menus the frame driver draws the garage; without shader support
// there is none, and a dark city picture stands in for it.
void drawMenuBackdrop() {
    const uint32_t backdrop = BmpTable[menuImages::backdrop];
    if (backdrop != 0) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        fullScreenImage(backdrop);
        return;
    }
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.02f, 0.025f, 0.04f, 1.0f);
    glRecti(0, 0, 800, 600);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void drawButtons(const MenuScreen& screen) {
    for (const MenuButton& b : screen.buttons) {
        if (!rowEnabled(b)) continue;
        // A tab's rows fade with the tab (value arrows always do).
        const float alpha = menuLook.alpha;
        if (b.page >= 0 && b.look != ButtonLook::ValueArrow) menuLook.alpha *= menuLook.subPageAlpha;
        drawMenuButton(b);
        menuLook.alpha = alpha;
    }
    // The label of a hovered Icon button is printed once, at the screen's label place.
    textStyle = textStyles::white;
    textAlpha = menuLook.alpha;
    for (const MenuButton& b : screen.buttons) {
        if (b.look != ButtonLook::Icon || !b.label || b.slot < 0 || !rowEnabled(b) || !hoverFlags[b.slot]) continue;
        printText(screen.labelX, screen.labelY, "%s", b.label);
        break;
    }
}

void drawNotice(float ticks) {
    if (noticeTimer <= 0.0f) return;
    noticeTimer -= 0.01f * ticks;
    const float alpha = std::clamp(noticeTimer, 0.0f, 1.0f);
    const float x = 400.0f - 5.0f * float(std::strlen(noticeText));
    // On a dark bar, so it reads over any screen.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.8f * alpha);
    glRectf(0.0f, 564.0f, 800.0f, 592.0f);
    glEnable(GL_TEXTURE_2D);
    textStyle = textStyles::orange;
    textAlpha = alpha;
    printText(x, 575.0f, "%s", noticeText);
    textStyle = textStyles::white;
}

// The pointer image's top-left corner is the hot spot.
void drawCursor() {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, TgaTable[menuImages::cursor].texture);
    const float x = float(menuCursor.x);
    const float y = 580.0f - float(menuCursor.y);
    texturedQuad(x, y, x + 20.0f, y + 20.0f);
    glDisable(GL_BLEND);
}

}  // namespace

const MenuScreen* findMenuScreen(int32_t id) {
    for (const MenuScreen* screen : menuScreens()) {
        if (screen->id == id) return screen;
    }
    return nullptr;
}

void drawFrontEnd() {
    const float ticks = frameTiming.frameTicks;
    advanceFade(GameState, shownScreen, screenFade, ticks);
    advanceFade(subPage.target, subPage.shown, subPage.fade, ticks);
    advanceFade(detailItem.target, detailItem.shown, detailItem.fade, ticks);
    computeLook();
    textAlpha = menuLook.alpha;
    textStyle = textStyles::white;

    const MenuScreen* screen = findMenuScreen(shownScreen);
    beginScreenSpace();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    if ((!screen || screen->showGarage) && !shadersReady()) drawMenuBackdrop();
    if (screen) {
        if (screen->litSlot) {
            const int slot = screen->litSlot();
            if (slot >= 0 && slot < hoverSlotCount) hoverFlags[slot] = 1;
        }
        if (screen->drawBack) screen->drawBack();
        drawButtons(*screen);
        if (screen->drawFront) screen->drawFront();
    }
    drawNotice(ticks);
    updateMenuCursor();
    drawCursor();
    textAlpha = 1.0f;
    textStyle = textStyles::white;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    endScreenSpace();
}

void menuHoverPass() {
    if (GameState == gameStates::racing || GameState != shownScreen) return;
    const MenuScreen* screen = findMenuScreen(GameState);
    if (!screen) return;
    followScreen(*screen);
    bool used[hoverSlotCount] = {};
    bool lit[hoverSlotCount] = {};
    for (size_t i = 0; i < screen->buttons.size(); ++i) {
        const MenuButton& b = screen->buttons[i];
        if (b.slot < 0 || b.slot >= hoverSlotCount) continue;
        used[b.slot] = true;
        if (focus.keysInCharge) {
            if (int(i) == focus.row) lit[b.slot] = true;
            continue;
        }
        const MenuRect& area = b.hover.empty() ? b.click : b.hover;
        if (rowEnabled(b) && contains(area, b.inclusive, menuCursor.x, menuCursor.y)) {
            lit[b.slot] = true;
            // The pointer's button is the focus, so the keys go on from there.
            if (focusable(b)) focus.row = int(i);
        }
    }
    for (int slot = 0; slot < hoverSlotCount; ++slot) {
        if (!used[slot]) continue;
        if (lit[slot] && !hoverFlags[slot]) playMenuSound(MenuSound::Hover);
        hoverFlags[slot] = lit[slot] ? 1 : 0;
    }
}

int menuButtonAt(const MenuScreen& screen, int x, int y) {
    for (size_t i = 0; i < screen.buttons.size(); ++i) {
        const MenuButton& b = screen.buttons[i];
        if (rowEnabled(b) && contains(b.click, b.inclusive, x, y)) return int(i);
    }
    return -1;
}

bool dispatchMenuClick() {
    mouseState.clickPending = true;
    const MenuScreen* screen = findMenuScreen(GameState);
    if (!screen) return false;
    const int row = menuButtonAt(*screen, menuCursor.x, menuCursor.y);
    if (row < 0) return false;
    actOnRow(screen->buttons[size_t(row)]);
    return true;
}

bool menuNavigate(MenuMove move) {
    if (GameState == gameStates::racing) return false;
    const MenuScreen* screen = findMenuScreen(GameState);
    if (!screen) return false;
    followScreen(*screen);
    if (move == MenuMove::Back) {
        for (const MenuButton& b : screen->buttons) {
            if (!isBackRow(b)) continue;
            actOnRow(b);
            return true;
        }
        return false;
    }
    const std::vector<int> order = readingOrder(*screen);
    if (order.empty() || focus.row < 0) return false;
    focus.keysInCharge = true;
    const size_t at = size_t(std::find(order.begin(), order.end(), focus.row) - order.begin());
    switch (move) {
    case MenuMove::Left: focus.row = order[(at + order.size() - 1) % order.size()]; break;
    case MenuMove::Right: focus.row = order[(at + 1) % order.size()]; break;
    case MenuMove::Up: focus.row = rowInNextLine(*screen, order, focus.row, -1); break;
    case MenuMove::Down: focus.row = rowInNextLine(*screen, order, focus.row, +1); break;
    case MenuMove::Activate: actOnRow(screen->buttons[size_t(focus.row)]); break;
    case MenuMove::Back: break;
    }
    return true;
}

void menuPointerMoved() { focus.keysInCharge = false; }

int focusedMenuRow() {
    const MenuScreen* screen = findMenuScreen(GameState);
    if (screen) followScreen(*screen);
    return screen ? focus.row : -1;
}

bool menuFocusShown() { return focus.keysInCharge; }

void resetHover() { std::fill(std::begin(hoverFlags), std::end(hoverFlags), uint8_t(0)); }

void setMenuCursorFromPixels(int x, int y) {
    // The same scale for every resolution's width and height, so the pointer
    // stays on the drawn menus at 5:4 as well as 4:3.
    const int width = gameSettings.width > 0 ? gameSettings.width : 800;
    const int height = gameSettings.height > 0 ? gameSettings.height : 600;
    menuCursor.x = int(int64_t(x) * 800 / width);
    menuCursor.y = int(int64_t(y) * 600 / height);
}

void updateMenuCursor() {
    int x = 0, y = 0;
    platform::cursorPosition(x, y);
    setMenuCursorFromPixels(x, y);
}

void playMenuSound(MenuSound sound) {
    if (sound == MenuSound::Click) ++menuSoundCounts.clicks;
    else ++menuSoundCounts.hovers;
    if (!gameSettings.sound) return;
    if (sound == MenuSound::Click) clickSound.play();
    else hoverSound.play();
}

void showMenuNotice(const char* text) {
    std::snprintf(noticeText, sizeof noticeText, "%s", text ? text : "");
    noticeTimer = noticeSeconds;
}

const char* menuNotice() { return noticeTimer > 0.0f ? noticeText : ""; }

void goToScreen(int32_t id) { GameState = id; }

void resetMenuState() {
    GameState = gameStates::mainMenu;
    shownScreen = 0;
    screenFade = 0.0f;
    subPage = FadingChoice{};
    detailItem = FadingChoice{};
    resetHover();
    std::fill(std::begin(buttonScale), std::end(buttonScale), 1.0f);
    menuLook = MenuLook{};
    menuSoundCounts = MenuSoundCounts{};
    noticeTimer = 0.0f;
    mouseState.clickPending = false;
    focus = MenuFocus{};
}
