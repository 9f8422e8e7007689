#pragma once

#include "profile/package_profile.h"
#include "repair/core/job_context.h"
#include "repair/core/repair_status.h"

namespace repair {

// What every step of a job reads and reports to. The program keeps one of each; tests make
// their own, so jobs can run side by side.
struct Job {
  const profile::PackageProfile& profile;
  const JobContext& context;
  RepairStatus& status;
};

}  // namespace repair
