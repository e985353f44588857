// contentgen --out DIR [--contact-sheet FILE] [--contact-filter A,B,..] [--contact-size PX] [--previews DIR] [--threads N]
// writes the game's whole base/ tree, and optionally a PNG overview of the images
// and full-size preview renders.
// contentgen --icon FILE.png [--icon-size PX] writes only the desktop icon (256 pixels by default).
#include "contact_sheet.h"
#include "image_writers.h"
#include "interface/desktop_icon.h"
#include "job_runner.h"
#include "previews.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    std::string out, sheet, filter, previewDir, icon;
    int iconSize = 256;
    unsigned threads = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) out = argv[++i];
        else if (a == "--contact-sheet" && i + 1 < argc) sheet = argv[++i];
        else if (a == "--contact-filter" && i + 1 < argc) filter = argv[++i];
        else if (a == "--previews" && i + 1 < argc) previewDir = argv[++i];
        else if (a == "--contact-size" && i + 1 < argc) gen::contactSheet::setThumbnailSize(std::atoi(argv[++i]));
        else if (a == "--threads" && i + 1 < argc) threads = static_cast<unsigned>(std::atoi(argv[++i]));
        else if (a == "--icon" && i + 1 < argc) icon = argv[++i];
        else if (a == "--icon-size" && i + 1 < argc) iconSize = std::atoi(argv[++i]);
        else {
            out.clear();
            break;
        }
    }
    if (!icon.empty() && out.empty()) {
        if (iconSize < 16 || iconSize > 1024 || !gen::writePng(gen::desktopIcon(iconSize), icon)) {
            std::fprintf(stderr, "contentgen: cannot write the icon %s\n", icon.c_str());
            return 1;
        }
        return 0;
    }
    if (out.empty()) {
        std::fprintf(stderr, "usage: contentgen --out DIR [--contact-sheet FILE] [--contact-filter A,B,..] [--contact-size PX] [--previews DIR] [--threads N]\n");
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        std::fprintf(stderr, "contentgen: cannot create %s\n", out.c_str());
        return 1;
    }
    gen::contactSheet::enable(!sheet.empty());
    if (!previewDir.empty()) gen::previews::setDirectory(previewDir);
    std::vector<gen::JobFailure> failures = gen::runJobs(gen::allJobs(), out, threads);
    for (const gen::JobFailure& f : failures) std::fprintf(stderr, "contentgen: %s: %s\n", f.job.c_str(), f.message.c_str());
    if (!sheet.empty() && !gen::contactSheet::write(sheet, filter)) {
        std::fprintf(stderr, "contentgen: cannot write the contact sheet %s\n", sheet.c_str());
        return 1;
    }
    return failures.empty() ? 0 : 1;
}
