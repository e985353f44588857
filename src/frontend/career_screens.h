// The career hub, Competitions (club, race and stake), Quick Race and the
// loading transition that hands over to the race.
#pragma once

#include "frontend/menu_framework.h"

extern const MenuScreen careerHubScreen;     // 2
extern const MenuScreen competitionsScreen;  // 21
extern const MenuScreen quickRaceScreen;     // 61
extern const MenuScreen loadingRaceScreen;   // 88

// The main menu's Quick Race button: a random track 1..10 (its map previewed)
// and a random stock car in the garage.
void setUpQuickRace();
// The hub's Race button: Competitions opens on the current club's highest open
// race with no stake.
void openCompetitions();

// The end of the loading transition: the chosen race (career or quick) is
// loaded and set up, and the race begins. A race that cannot be set up sends
// the player back to the screen it was chosen on with a notice.
void startChosenRace();
// Loads and sets up `track` for the chosen race; on failure does the same as
// above. Also used by the pause menu's Restart.
bool beginRace(int track, bool careerRace);

// The numbers the two selection screens show (they follow the real values only
// while the club or the track is not changing), and the track whose map is shown.
struct SelectionView {
    int shownRace = 1;
    int shownQuickTrack = 1;
    int previewedTrack = 1;       // Competitions
    int previewedQuickTrack = 1;  // Quick Race
};
extern SelectionView selectionView;
