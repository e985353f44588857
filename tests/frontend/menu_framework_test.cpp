// The screen machine: every row of every screen's table, clicks during fades,
// hover sounds, exclusive bounds, the cursor mapping and the item carousel.
#include "menu_run.h"

#include "frontend/widgets.h"

#include <set>
#include <string>

namespace {

struct Centre {
    int x, y;
};
Centre centreOf(const MenuRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool overlap(const MenuRect& a, const MenuRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void showScreen(int32_t id) {
    GameState = shownScreen = id;
    screenFade = 1.0f;
    resetHover();
}

}  // namespace

TEST(MenuScreens, EveryRowIsOnScreenReachableAndApartFromTheOthers) {
    std::set<int32_t> ids;
    for (const MenuScreen* screen : menuScreens()) {
        SCOPED_TRACE(screen->name);
        EXPECT_TRUE(ids.insert(screen->id).second) << "screen " << screen->id << " listed twice";
        EXPECT_EQ(findMenuScreen(screen->id), screen);
        for (size_t i = 0; i < screen->buttons.size(); ++i) {
            const MenuButton& b = screen->buttons[i];
            SCOPED_TRACE("row " + std::to_string(i) + (b.label ? std::string(" '") + b.label + "'" : std::string()));
            for (const MenuRect& r : {b.click, b.hover.empty() ? b.click : b.hover}) {
                EXPECT_LT(r.left, r.right);
                EXPECT_LT(r.top, r.bottom);
                EXPECT_GE(r.left, 0);
                EXPECT_LE(r.right, 800);
                EXPECT_GE(r.top, 0);
                EXPECT_LE(r.bottom, 600);
            }
            EXPECT_NE(b.action, nullptr);
            if (b.look != ButtonLook::Hidden) {
                EXPECT_GE(b.slot, 0);
                EXPECT_LT(b.slot, hoverSlotCount);
            }
            if (b.look == ButtonLook::Text) {
                EXPECT_NE(b.label, nullptr);
            }
            // No row hides another: the centre of each reaches its own row.
            // Rows of different tabs share their places.
            subPage.shown = b.page;
            const Centre c = centreOf(b.click);
            EXPECT_EQ(menuButtonAt(*screen, c.x, c.y), int(i));
            for (size_t j = i + 1; j < screen->buttons.size(); ++j) {
                const int otherPage = screen->buttons[j].page;
                if (b.page >= 0 && otherPage >= 0 && otherPage != b.page) continue;
                EXPECT_FALSE(overlap(b.click, screen->buttons[j].click)) << "overlaps row " << j;
            }
        }
    }
    subPage.shown = 0;
}

// Every button pressed once at its centre: it acts, makes its sound and leaves
// nothing lit; navigation buttons take the click for themselves.
TEST_F(MenuRaceRun, EveryButtonOfEveryScreenActs) {
    for (const MenuScreen* screen : menuScreens()) {
        for (size_t i = 0; i < screen->buttons.size(); ++i) {
            const MenuButton& b = screen->buttons[i];
            SCOPED_TRACE(std::string(screen->name) + " row " + std::to_string(i));
            resetCareer();
            showScreen(screen->id);
            if (b.page >= 0) subPage.target = subPage.shown = b.page;
            hoverFlags[b.slot < 0 ? 0 : b.slot] = 1;
            mouseState.clickPending = false;
            const MenuSoundCounts before = menuSoundCounts;
            const Centre c = centreOf(b.click);
            menuCursor = {c.x, c.y};
            EXPECT_TRUE(dispatchMenuClick());
            EXPECT_EQ(menuSoundCounts.clicks - before.clicks, b.sound == ButtonSound::Click ? 1 : 0);
            EXPECT_EQ(menuSoundCounts.hovers - before.hovers, b.sound == ButtonSound::Hover ? 1 : 0);
            EXPECT_EQ(mouseState.clickPending, !b.navigation);
            for (uint8_t flag : hoverFlags) EXPECT_EQ(flag, 0);
            if (loadedTrack != 0) leaveRace();
            loopFlags.quitRequested = false;
        }
    }
}

TEST_F(MenuRun, AClickDuringAFadeActsOnTheScreenTheGameIsGoingTo) {
    // The main menu is still fading out towards the quit question: its Options
    // button sits where the question's Yes is.
    GameState = gameStates::quitQuestion;
    shownScreen = gameStates::mainMenu;
    screenFade = 0.5f;
    menuCursor = {560, 550};
    EXPECT_TRUE(dispatchMenuClick());
    EXPECT_TRUE(loopFlags.quitRequested);
    EXPECT_EQ(GameState, gameStates::quitQuestion);
    loopFlags.quitRequested = false;
}

TEST_F(MenuRun, TheHoverSoundPlaysOncePerEntryAndNeverDuringAFade) {
    const int start = menuSoundCounts.hovers;
    moveTo(80, 550);  // onto Career
    frames(20);
    EXPECT_EQ(menuSoundCounts.hovers, start + 1);
    EXPECT_EQ(hoverFlags[0], 1);
    moveTo(80, 300);
    EXPECT_EQ(hoverFlags[0], 0);
    moveTo(80, 550);
    EXPECT_EQ(menuSoundCounts.hovers, start + 2);
    // Moving along the row lights the next button with its own sound.
    moveTo(240, 550);
    EXPECT_EQ(menuSoundCounts.hovers, start + 3);
    EXPECT_EQ(hoverFlags[0], 0);
    EXPECT_EQ(hoverFlags[1], 1);

    // Information opens; while the menus fade nothing lights or sounds.
    click(400, 550);
    const int clicked = menuSoundCounts.hovers;
    moveTo(80, 550);
    moveTo(400, 550);
    EXPECT_NE(shownScreen, GameState);
    EXPECT_EQ(menuSoundCounts.hovers, clicked);
    settle();
    EXPECT_EQ(menuSoundCounts.hovers, clicked + 1);  // Back lights once the page is on view
    EXPECT_EQ(hoverFlags[2], 1);
}

TEST_F(MenuRun, RectanglesExcludeTheirEdges) {
    click(140, 550);  // the right edge of Career (20..140)
    click(20, 550);
    click(80, 520);
    EXPECT_EQ(GameState, gameStates::mainMenu);
    click(139, 521);
    EXPECT_EQ(GameState, gameStates::careerMenu);
}

TEST(MenuCursor, WindowPixelsScaleToTheMenuSpace) {
    // The last row and column of pixels stay inside the menus, at 5:4 too.
    const struct { int width, height, pixelX, pixelY, x, y; } cases[] = {
        {640, 480, 16, 420, 20, 525}, {1600, 1200, 1599, 1199, 799, 599}, {1280, 1024, 640, 1023, 400, 599}};
    for (const auto& c : cases) {
        gameSettings.width = c.width;
        gameSettings.height = c.height;
        setMenuCursorFromPixels(c.pixelX, c.pixelY);
        EXPECT_EQ(menuCursor.x, c.x) << c.width;
        EXPECT_EQ(menuCursor.y, c.y) << c.width;
    }
    gameSettings = GameSettings{};
}

// The shops' tests step the arrows to both ends; here the strip's slide.
TEST(ItemCarousel, TheStripStaysAtAnEndAndSlidesBackIntoPlaceAfterAStep) {
    carousel = CarouselState{};
    carousel.selected = 4;
    EXPECT_FALSE(stepCarousel(+1, 5));
    EXPECT_EQ(carousel.offset, 0.0f);
    EXPECT_TRUE(stepCarousel(-1, 5));
    EXPECT_EQ(carousel.offset, -100.0f);
    int frames = 0;
    while (carousel.offset != 0.0f && frames < 200) {
        const float before = carousel.offset;
        settleCarousel(1.0f);
        EXPECT_GE(carousel.offset, before);  // never overshoots past the centre
        ++frames;
    }
    EXPECT_EQ(carousel.offset, 0.0f);
    EXPECT_LT(frames, 100);
}
