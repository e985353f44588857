#include "job_runner.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

namespace gen {

namespace {
std::mutex gOutputMutex;
bool gRecording = false;
std::set<std::string> gOutputs;
}  // namespace

void recordOutputFile(const std::filesystem::path& path) {
    std::lock_guard<std::mutex> lock(gOutputMutex);
    if (!gRecording) return;
    std::string key = path.lexically_normal().string();
    if (!gOutputs.insert(key).second) throw std::logic_error("written by two jobs: " + key);
}

std::vector<JobFailure> runJobs(const JobList& jobs, const std::filesystem::path& base, unsigned threads) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, static_cast<unsigned>(std::max<size_t>(jobs.size(), 1)));
    {
        std::lock_guard<std::mutex> lock(gOutputMutex);
        gRecording = true;
        gOutputs.clear();
    }
    std::vector<std::string> errors(jobs.size());
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            try {
                jobs[i].run(base);
            } catch (const std::exception& e) {
                errors[i] = e.what()[0] ? e.what() : "failed";
            } catch (...) {
                errors[i] = "failed";
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
    {
        std::lock_guard<std::mutex> lock(gOutputMutex);
        gRecording = false;
        gOutputs.clear();
    }
    std::vector<JobFailure> failures;
    for (size_t i = 0; i < jobs.size(); ++i)
        if (!errors[i].empty()) failures.push_back({jobs[i].name, errors[i]});
    return failures;
}

JobList allJobs() {
    JobList jobs;
    addInterfaceJobs(jobs);
    addCarJobs(jobs);
    addCityJobs(jobs);
    addAudioJobs(jobs);
    return jobs;
}

}  // namespace gen
