#include "app/statistics_page.h"

#include "app/file_io.h"
#include "frontend/career_state.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#ifndef NIGHTRUN_STATS_HOST
#define NIGHTRUN_STATS_HOST ""
#endif

std::string statisticsFolder = "base/stats";

namespace {

const char* const clubNames[3] = {"NIGHT WIND Club", "MIDNIGHT RACERS Club", "CRAZY DRIVE Club"};

}  // namespace

std::string statisticsPageHtml(const CareerState& c) {
    std::string html =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Nightrun statistics</title>\n"
        "<style>body{background:#0b0b12;color:#ddd;font-family:sans-serif;margin:3em}"
        "h1{color:#ff8a1c}td{padding:.3em 1.2em}.v{color:#ffb060}</style></head><body>\n"
        "<h1>Nightrun</h1>\n<table>\n";
    char row[256];
    std::snprintf(row, sizeof row, "<tr><td>Cash</td><td class=\"v\">$%.0f</td></tr>\n", c.cash);
    html += row;
    // The indices are kept in range here too: the page is written whatever the career holds.
    std::snprintf(row, sizeof row, "<tr><td>Car</td><td class=\"v\">Car %2i</td></tr>\n",
                  std::clamp(c.ownedCar, 0, carPresetCount - 1) + 1);
    html += row;
    for (int k = 0; k < 3; ++k) {
        std::snprintf(row, sizeof row, "<tr><td>%s</td><td class=\"v\">race %d of 10 open</td></tr>\n",
                      clubNames[k], std::clamp(c.clubProgress[k], 1, 10));
        html += row;
    }
    html += "</table>\n</body></html>\n";
    return html;
}

std::string prepareStatisticsPage() {
    const std::string host = NIGHTRUN_STATS_HOST;
    if (!host.empty()) return "http://" + host + "/stats/nightrun.html";
    std::error_code error;
    std::filesystem::create_directories(statisticsFolder, error);
    std::string page = statisticsPageHtml(careerState);
    const std::string file = statisticsFolder + "/nightrun.html";
    if (!saveGameFile(file, page.data(), page.size(), "the statistics page")) return "";
    std::filesystem::path full = std::filesystem::absolute(file, error);
    return "file://" + full.string();
}

void openStatisticsPage() {
    std::string url = prepareStatisticsPage();
    if (!url.empty()) platform::openUrl(url);
}
