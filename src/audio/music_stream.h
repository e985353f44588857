// Music: the looping menu stream and the race stream, refilled from the frame driver.
#pragma once

#include <string>

void openMenuMusic();
void releaseMenuMusic();
void startMenuMusic();
void rewindMenuMusic();
void updateMenuMusic();
void setMenuMusicGain(float gain);
void stopMenuMusic();

// Opens one of the race tracks for streaming (closing one still open); false
// when it cannot be opened.
bool openRaceMusic(const std::string& fileName);
void closeRaceMusic();
void startRaceMusic();
void stopRaceMusic();
void rewindRaceMusic();
void updateRaceMusic();
void setRaceMusicGain(float gain);
