// Music streaming is not built yet: these keep the frame driver's calls in place.
#include "audio/music_stream.h"

void openMenuMusic() {}
void releaseMenuMusic() {}
void startMenuMusic() {}
void rewindMenuMusic() {}
void updateMenuMusic() {}
void setMenuMusicGain(float) {}
void stopMenuMusic() {}
bool openRaceMusic(const std::string&) { return false; }
void closeRaceMusic() {}
void startRaceMusic() {}
void stopRaceMusic() {}
void rewindRaceMusic() {}
void updateRaceMusic() {}
void setRaceMusicGain(float) {}
