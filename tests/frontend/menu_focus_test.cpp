// The menus without a mouse: arrows or the D-pad move a lit focus, Enter or A
// acts as a click, Escape or B goes back; the pointer and the focus light the
// same button; the Controls tab still takes the next key.
#include "menu_run.h"

#include "platform/platform.h"
#include "race/car_control.h"
#include "race/car_dynamics.h"

namespace {

using platform::EventType;
using platform::PadAxisId;
using platform::PadButtonId;

template <class Run>
class PadAndKeys : public Run {
protected:
    // A controller event of pad 3, and a frame to take it.
    void pad(EventType type, int control = 0, int value = 0) {
        platform::Event e;
        e.type = type;
        e.pad = 3;
        e.control = control;
        e.value = value;
        this->backend.events.push_back(e);
        this->frame();
    }
    void press(PadButtonId button) {
        pad(EventType::PadButtonDown, int(button));
        pad(EventType::PadButtonUp, int(button));
    }
    // The lit slots of the screen on view.
    std::vector<int> litSlots() {
        std::vector<int> lit;
        for (int s = 0; s < hoverSlotCount; ++s)
            if (hoverFlags[s]) lit.push_back(s);
        return lit;
    }
};
using MenuFocus = PadAndKeys<MenuRun>;
using PadRace = PadAndKeys<MenuRaceRun>;

}  // namespace

TEST_F(MenuFocus, TheKeysAloneReachCompetitionsWhoseEscapeGoesBackToTheHub) {
    const int clicks = menuSoundCounts.clicks;
    key(keyCodes::enter);  // Career, the first button
    settle();
    ASSERT_EQ(GameState, gameStates::careerMenu);
    EXPECT_EQ(menuSoundCounts.clicks, clicks + 1);  // Enter sounds as a click
    key(keyCodes::enter);  // New career
    settle();
    ASSERT_EQ(GameState, gameStates::careerHub);
    key(keyCodes::left);  // from the first button round to the last: Race
    key(keyCodes::enter);
    settle();
    ASSERT_EQ(GameState, gameStates::competitions);
    // The first button in reading order is the first club; Down goes to the race arrows.
    const MenuScreen* screen = findMenuScreen(gameStates::competitions);
    EXPECT_EQ(screen->buttons[size_t(focusedMenuRow())].click.top, 110);
    key(keyCodes::down);
    EXPECT_EQ(screen->buttons[size_t(focusedMenuRow())].click.top, 220);
    key(keyCodes::escape);
    settle();
    EXPECT_EQ(GameState, gameStates::careerHub);
}

// Every screen with buttons can be worked from the keys: the arrows land on a
// button, which is lit exactly as the pointer would light it.
TEST_F(MenuFocus, EveryScreenWithButtonsTakesTheFocus) {
    for (const MenuScreen* screen : menuScreens()) {
        SCOPED_TRACE(screen->name);
        bool drawn = false;
        for (const MenuButton& b : screen->buttons) drawn = drawn || b.look != ButtonLook::Hidden;
        GameState = shownScreen = screen->id;
        screenFade = 1.0f;
        resetHover();
        EXPECT_EQ(menuNavigate(MenuMove::Right), drawn);
        if (!drawn) continue;
        menuHoverPass();
        const MenuButton& focused = screen->buttons[size_t(focusedMenuRow())];
        ASSERT_GE(focused.slot, 0);
        EXPECT_EQ(hoverFlags[focused.slot], 1);
    }
}

TEST_F(MenuFocus, ThePointerAndTheFocusLightTheSameButton) {
    moveTo(240, at::bottomRowY);  // over Quick Race
    frame();
    EXPECT_EQ(litSlots(), std::vector<int>{1});
    // The keys go on from the pointer's button, and only the focus is lit.
    key(keyCodes::right);
    EXPECT_EQ(litSlots(), std::vector<int>{2});
    EXPECT_TRUE(menuFocusShown());
    // Moving the pointer hands the lighting back to it.
    moveTo(80, at::bottomRowY);
    frame();
    EXPECT_EQ(litSlots(), std::vector<int>{0});
    EXPECT_EQ(focusedMenuRow(), 0);
    moveTo(400, 300);  // over no button: nothing lit
    frame();
    EXPECT_TRUE(litSlots().empty());
}

TEST_F(MenuFocus, TheControlsTabTakesTheArrowItWaitsFor) {
    for (int i = 0; i < 3; ++i) key(keyCodes::right);
    key(keyCodes::enter);  // Options
    settle();
    ASSERT_EQ(GameState, gameStates::options);
    key(keyCodes::right);  // from the Graphics tab to Controls
    key(keyCodes::right);
    key(keyCodes::enter);
    settle();
    ASSERT_EQ(subPage.shown, 2);
    key(keyCodes::down);  // the first binding row, under the tabs
    key(keyCodes::enter);
    ASSERT_EQ(detailItem.target, 0);
    const int row = focusedMenuRow();
    key(keyCodes::down);
    EXPECT_EQ(gameSettings.keys[0], keyCodes::down);
    EXPECT_EQ(detailItem.target, -1);
    EXPECT_EQ(focusedMenuRow(), row);
    EXPECT_EQ(GameState, gameStates::options);
}

TEST_F(MenuFocus, APadAloneWorksTheMenus) {
    pad(EventType::PadAdded);
    press(PadButtonId::DpadRight);
    press(PadButtonId::A);
    settle();
    EXPECT_EQ(GameState, gameStates::quickRace);
    press(PadButtonId::B);
    settle();
    EXPECT_EQ(GameState, gameStates::mainMenu);
    // Pulled out, the pad works nothing.
    pad(EventType::PadRemoved);
    press(PadButtonId::A);
    settle();
    EXPECT_EQ(GameState, gameStates::mainMenu);
}

TEST_F(PadRace, APadAloneStartsDrivesPausesAndContinuesARace) {
    pad(EventType::PadAdded);
    press(PadButtonId::DpadRight);  // Quick Race
    press(PadButtonId::A);
    settle();
    ASSERT_EQ(GameState, gameStates::quickRace);
    press(PadButtonId::DpadRight);  // Back, Change, Start along the bottom
    press(PadButtonId::DpadRight);
    press(PadButtonId::A);
    ASSERT_TRUE(runUntil(gameStates::racing, 200));
    // 50 ms frames (still below the race's longest simulated step) keep the race short to draw.
    for (int i = 0; i < 300 && countdownActive; ++i) frame(50);
    ASSERT_FALSE(countdownActive);
    pad(EventType::PadAxis, int(PadAxisId::TriggerRight), 32767);
    for (int i = 0; i < 60; ++i) frame(50);
    EXPECT_GT(playerCarSpeed, 5.0f);
    press(PadButtonId::Start);
    EXPECT_EQ(GameState, gameStates::pause);
    press(PadButtonId::Start);
    EXPECT_EQ(GameState, gameStates::racing);
    // Pulled out mid-race: the throttle lets go.
    pad(EventType::PadRemoved);
    frame();
    EXPECT_EQ(raceCars[0].driveForce, 0.0f);
}
