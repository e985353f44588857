#include "jobs.h"

namespace gen {

void addAudioJobs(JobList&) {}

}  // namespace gen
