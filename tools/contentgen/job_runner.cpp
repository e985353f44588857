#include "job_runner.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

namespace gen {

std::vector<JobFailure> runJobs(const JobList& jobs, const std::filesystem::path& base, unsigned threads) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, static_cast<unsigned>(std::max<size_t>(jobs.size(), 1)));
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
