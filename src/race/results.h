// The results after the player's last lap: the race keeps running behind a
// panel that fades in; a career race pays its prize (or takes the stake) once,
// may open the club's next race, and ten seconds after the finish the game
// leaves the race for the career hub (career race) or the main menu.
#pragma once

#include <cstdint>

struct CareerState;

// The panel and the prize come one second after the finish; the hand-over at ten.
constexpr float resultsPanelDelay = 1.0f;
constexpr float resultsDuration = 10.0f;

// The change of cash for a finishing place 1..4 with a stake: the winner gets
// the stake plus 100, second half the stake plus 50, third 25 (the stake
// stays), fourth loses the stake. Any other place changes nothing.
float prizeFor(int32_t place, float stake);

// Settles a finished career race in the career: pays prizeFor, and for places
// 1..3 opens the club's next race when the race run was the club's highest
// open one and fewer than ten are open. A club number outside 0..2 (a damaged
// career file) opens nothing.
void settleCareerRace(CareerState& career, int32_t place);

// The lines of the panel for a place: the large message, and the money line
// that a career race adds below it.
const char* placeMessage(int32_t place);
// Writes the money line ("You win $150.") into `out`.
void moneyLine(int32_t place, float stake, char* out, int size);

// One results frame of f hundredths without drawing: settles a pending prize
// once the panel is due, advances phaseTimer and hands over to the menus after
// ten seconds. The frame driver reaches it through drawResults; headless runs
// call it directly.
void resultsFrame(float f);
// Leaves the race for the menus: the target screen, the career flags cleared,
// the race left, the stored car back in the garage, the click, hover reset.
void handOverToMenus();

// The frame driver's results: the panel once it is due, then resultsFrame.
void drawResults();
