// The menu widgets, drawn in the 800 x 600 y-up space with the screen alpha of
// the current frame. Buttons grow while hovered and shrink back to 1.0 after;
// their scale lives in buttonScale by hover slot.
#pragma once

#include <cstdint>

struct CarConfig;
struct MenuButton;

// The menu images in the TGA and BMP tables.
namespace menuImages {
constexpr int logo = 7;             // TGA
constexpr int mapDot = 9;           // TGA
constexpr int iconAtlas = 17;       // TGA, one row of 32 cells
constexpr int iconButtonFace = 20;  // TGA
constexpr int thinStrip = 21;       // TGA
constexpr int wideStrip = 22;       // TGA
constexpr int logoFlicker = 23;     // TGA
constexpr int textButtonFace = 24;  // TGA
constexpr int arrow = 25;           // TGA, points left
constexpr int bandOverlay = 27;     // TGA, scrolls
constexpr int stripeOverlay = 28;   // TGA, scrolls
constexpr int cursor = 29;          // TGA
constexpr int panel = 30;           // TGA
constexpr int curtain = 40;         // TGA
constexpr int backdrop = 12;        // BMP, the picture behind the menus until the garage shows
constexpr int ratingFilled = 33;    // BMP
constexpr int ratingEmpty = 34;     // BMP
constexpr int loading = 41;         // BMP
}  // namespace menuImages

// The widgets, each at its anchor (y-up).
void IconButton(bool hovered, int slot, int icon, float x, float y);
void TextButton(bool hovered, int slot, float x, float y);
void CarouselArrow(bool hovered, int slot, bool mirrored, float x, float y);
void ValueArrow(bool hovered, int slot, bool mirrored, float x, float y);
// A button row drawn with the widget its look names, and a Text button's label.
void drawMenuButton(const MenuButton& button);

void TopBand();
void BottomBand();
void footerBar();
void centrePanel();
void rightPanel();
// A thin neon strip across the screen at height y, scaled by the title scale.
void thinStripAt(float y);

// The strip of items every shop browses: `count` icons from the atlas cell
// `icon`, numbered from `numberBase`, the selected one at the centre. Its two
// arrows (slots 0 and 1, anchors (10, 550) and (650, 550)) are rows of the
// shop's table.
struct CarouselState {
    int selected = 0;
    float offset = 0.0f;  // slide still to run, eased back to 0
};
extern CarouselState carousel;
void ItemCarousel(int icon, int count, int numberBase);
// One arrow step (-1 left, +1 right) within 0..count-1; the strip slides by 100
// units. False at either end.
bool stepCarousel(int direction, int count);
// Eases the slide for a frame of `ticks` (the carousel does this when drawn).
void settleCarousel(float ticks);

// Speed, Acceleration and Handling bars: each keeps its own shown value, which
// creeps toward the given value and stays within 0.5..1.0.
enum class RatingKind { Speed, Acceleration, Handling };
void RatingBar(RatingKind kind, float value, float x, float y);
// The three bars with their orange labels, as the hub and the car shops show them.
void ratingBars(float speed, float acceleration, float handling);
// The bars of a car: each rating plus 0.05 per tech packet, at most 1.
void carRatingBars(const CarConfig& car);

// Which of the three city maps a track slot's layout is drawn on (1..3).
int trackMapNumber(int track);
// The map image of `track` with the checkpoints of the loaded driving line
// (the start green), centred at (x, y), faded with the screen, subPage and detail alphas.
void TrackMap(int track, float x, float y);

// Screen images: whole-screen quad of a table texture (0 draws nothing), and a
// centred quad of a given size.
void fullScreenImage(uint32_t texture);
void centredQuad(uint32_t texture, float cx, float cy, float width, float height);
// Large "Cash: $N" at the cash line, moving with the bounce.
void cashLine();
// Dollars as a whole number to print, whatever a career file held (NaN shows 0).
int wholeDollars(float dollars);
