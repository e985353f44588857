// Runs the generator's jobs on worker threads. Each job writes only its own
// files, so the output does not depend on scheduling; failures are collected
// and reported in job-list order.
#pragma once

#include "jobs.h"

#include <filesystem>
#include <string>
#include <vector>

namespace gen {

struct JobFailure {
    std::string job;
    std::string message;
};

// Runs every job once with threads workers (0: one per hardware thread).
// Returns the failures (a job that throws fails; the others still run).
std::vector<JobFailure> runJobs(const JobList& jobs, const std::filesystem::path& base, unsigned threads = 0);

// While runJobs runs, every file written through writeBytes (and so every image)
// is recorded; a second write of the same path throws std::logic_error naming it,
// so two jobs can never silently race for one file.
void recordOutputFile(const std::filesystem::path& path);

// The complete job list of the generator, in a fixed order.
JobList allJobs();

}  // namespace gen
