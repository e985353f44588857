// Music: the looping menu stream and the race stream, refilled from the frame driver.
#pragma once

void openMenuMusic();
void releaseMenuMusic();
void startMenuMusic();
void rewindMenuMusic();
void updateMenuMusic();
void setMenuMusicGain(float gain);

void startRaceMusic();
void stopRaceMusic();
void rewindRaceMusic();
void updateRaceMusic();
void setRaceMusicGain(float gain);
