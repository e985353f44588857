// The generator runs independent jobs in parallel; each writes its own files
// under the base/ directory it is given. Jobs must be deterministic: no clock,
// no shared random state, no dependence on which thread runs them or in what order.
// Two jobs never write the same file.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace gen {

using JobFn = std::function<void(const std::filesystem::path& base)>;

struct Job {
    std::string name;
    JobFn run;
};

using JobList = std::vector<Job>;

// Each content family adds its jobs; main() runs them all.
void addInterfaceJobs(JobList& jobs);  // texture tables, effect files
void addCarJobs(JobList& jobs);        // base/cars, base/city, base/garage, car textures
void addCityJobs(JobList& jobs);       // base/maps, map images
void addAudioJobs(JobList& jobs);      // base/sound, base/music

}  // namespace gen
