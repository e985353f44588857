// contentgen --out DIR [--contact-sheet FILE]: writes the game's whole base/ tree.
#include "jobs.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    std::string out;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) out = argv[++i];
    }
    if (out.empty()) {
        std::fprintf(stderr, "usage: contentgen --out DIR [--contact-sheet FILE]\n");
        return 2;
    }
    std::filesystem::create_directories(out);
    gen::JobList jobs;
    gen::addInterfaceJobs(jobs);
    gen::addCarJobs(jobs);
    gen::addCityJobs(jobs);
    gen::addAudioJobs(jobs);
    for (const gen::Job& job : jobs) job.run(out);
    return 0;
}
