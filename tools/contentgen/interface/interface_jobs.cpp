#include "jobs.h"

namespace gen {

void addInterfaceJobs(JobList&) {}

}  // namespace gen
