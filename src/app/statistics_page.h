// The statistics page opened when the game ends: by default a small local page
// with the player's career, or the page on a host chosen at build time.
#pragma once

#include <string>

struct CareerState;

// The folder of the local page: base/stats, or stats/ in the per-user folder.
extern std::string statisticsFolder;

// The local page's HTML for a career.
std::string statisticsPageHtml(const CareerState& career);
// Writes the local page (<statisticsFolder>/nightrun.html) and returns its file
// URL, or returns the configured host's URL.
std::string prepareStatisticsPage();
// Prepares the page and opens it in the desktop's browser.
void openStatisticsPage();
