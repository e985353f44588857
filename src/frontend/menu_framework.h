// The front end's screen machine. A screen is a number and one table of
// buttons; the menu pass draws the shown screen from its table, the hover pass
// lights the buttons under the cursor from the same table, and a left press
// runs the first row of GameState's table whose rectangle holds the cursor.
// Buttons live in an 800 x 600 virtual space whatever the window size: drawing
// anchors are y-up, click rectangles y-down (as menuCursor).
#pragma once

#include <cstdint>
#include <span>

// The screen on view; follows GameState through a fade (0 while racing).
extern int32_t shownScreen;
// Fade level of shownScreen, 0..1.
extern float screenFade;

// A second- or third-level choice of a screen (club or options tab; track or
// key-binding row) that fades out and in when its target changes.
struct FadingChoice {
    int32_t target = 0;
    int32_t shown = 0;
    float fade = 0.0f;
    // The shown value has caught up with the target (it may still be fading in).
    bool settled() const { return target == shown; }
};
extern FadingChoice subPage;
extern FadingChoice detailItem;

constexpr int hoverSlotCount = 20;
extern uint8_t hoverFlags[hoverSlotCount];
extern float buttonScale[hoverSlotCount];

// Derived every frame from the three fades.
struct MenuLook {
    float alpha = 0.0f;        // screen alpha a
    float bounce = 0.0f;       // b, added to the y of the bottom text buttons and the cash line
    float titleScale = 1.0f;   // s, the bands' scale
    float subPageAlpha = 0.0f; // a2
    float detailAlpha = 0.0f;  // a3
    float detailSlide = 0.0f;  // d: the track map leaves to the right and comes back from the left
};
extern MenuLook menuLook;

// A click rectangle in the y-down virtual space. Exclusive bounds unless a row
// says otherwise.
struct MenuRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

enum class ButtonLook : uint8_t {
    Icon,           // IconButton: 140 x 72 face with an atlas icon; label printed by the screen when hovered
    Text,           // TextButton: 140 x 34 face, label under the anchor
    CarouselArrow,  // 70 x 70 arrow
    ValueArrow,     // 30 x 30 arrow, faded with the subPage
    Hidden,         // nothing drawn: a click area only
};

enum class ButtonSound : uint8_t { Click, Hover, None };

// One button, everything about it in one row.
struct MenuButton {
    ButtonLook look = ButtonLook::Hidden;
    int slot = -1;               // hover slot 0..19 (-1: never lit)
    float x = 0.0f, y = 0.0f;    // drawing anchor, y-up
    bool bounces = false;        // the anchor (and label) move with the bounce b
    int icon = 31;               // atlas cell of an Icon button
    bool mirrored = false;       // arrows: the right-pointing (increasing) one
    const char* label = nullptr; // Text: printed on the face ("" when the screen prints it); Icon: printed at the screen's label place when hovered
    float labelShift = 0.0f;     // Text: the label's x from the anchor
    MenuRect click = {};
    MenuRect hover = {};         // when empty, the click rectangle
    bool inclusive = false;      // bounds include their edges
    ButtonSound sound = ButtonSound::Click;
    bool navigation = true;      // clears clickPending (value buttons leave it set for the garage camera)
    void (*action)() = nullptr;
    bool (*enabled)() = nullptr; // when given and false, the row is neither drawn, lit nor clicked
    int page = -1;               // a tab's row: only while that subPage is shown, drawn with its alpha; -1 always
};

struct MenuScreen {
    int32_t id = 0;
    const char* name = "";                 // for tools and test reports
    std::span<const MenuButton> buttons = {};
    void (*drawBack)() = nullptr;          // before the buttons
    void (*drawFront)() = nullptr;         // after the buttons
    float labelX = 630.0f, labelY = 114.0f;  // where a hovered Icon button's label goes
    int (*litSlot)() = nullptr;            // a slot the screen keeps lit (the chosen club or tab), -1 none
    bool showGarage = true;                // the garage scene behind the screen
};

// Every screen of the front end, and the one with a given number (null when none).
std::span<const MenuScreen* const> menuScreens();
const MenuScreen* findMenuScreen(int32_t id);

// The menu pass: fades, the picture behind the menus, the shown screen, the cursor.
void drawFrontEnd();
// The hover pass: lights the buttons of GameState under the cursor (never during
// a screen fade) and plays the hover sound once per entry.
void menuHoverPass();
// A left press at menuCursor: the first row of GameState's table that holds it
// acts. Returns whether one did.
bool dispatchMenuClick();
// Keyboard and controller navigation of GameState's screen. The arrows move a
// focus between the lit-able rows in reading order (Left/Right: previous/next,
// Up/Down: the nearest row of the line above/below); Activate acts on the
// focused row exactly as a click on it; Back acts on the screen's way back
// (the row labelled Back, No or Continue). The focus is the lit button: moving
// the mouse hands the lighting back to the pointer, and the focus follows the
// button under it. Returns whether anything happened.
enum class MenuMove { Up, Down, Left, Right, Activate, Back };
bool menuNavigate(MenuMove move);
// The pointer moved: the button under it is lit and focused again.
void menuPointerMoved();
// The focused row of GameState's table (-1 before any screen is set up), and
// whether the keys or the pointer light the buttons.
int focusedMenuRow();
bool menuFocusShown();

// Index of the first row of `screen` whose click rectangle holds (x, y), -1 for none.
int menuButtonAt(const MenuScreen& screen, int x, int y);
// Clears every hover flag, so no button of the next screen starts lit.
void resetHover();

// Reads the cursor position into menuCursor, and converts a window position in
// pixels into the virtual space (the same mapping).
void updateMenuCursor();
void setMenuCursorFromPixels(int x, int y);

// The two menu sounds, through the sound settings, counted for tests and tools.
enum class MenuSound { Click, Hover };
void playMenuSound(MenuSound sound);
struct MenuSoundCounts {
    int clicks = 0;
    int hovers = 0;
};
extern MenuSoundCounts menuSoundCounts;

// A line shown at the top of the menus for a few seconds (a race that could not start).
void showMenuNotice(const char* text);
const char* menuNotice();

// Goes to a screen: GameState := id. Every navigation button uses it.
void goToScreen(int32_t id);

// Back to the state of a fresh start (tests): main menu targeted, nothing shown.
void resetMenuState();
