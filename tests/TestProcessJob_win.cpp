// Every program a test starts (fake players, the program itself, helpers)
// ends with the test's own process. A player left running by a failed test
// would otherwise be linked by the next test in place of the one it starts,
// and would keep the test runner waiting on the output it inherited.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

class ChildrenEndWithTheTest : public ::testing::Environment {
   public:
    void SetUp() override {
        HANDLE job = CreateJobObjectA(nullptr, nullptr);
        if (!job) {
            return;
        }
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits)) ||
            !AssignProcessToJobObject(job, GetCurrentProcess())) {
            CloseHandle(job);
        }
        // The handle stays open: the system closes it as this process
        // exits, and that ends every process in the job.
    }
};

::testing::Environment* const kChildrenEndWithTheTest = ::testing::AddGlobalTestEnvironment(new ChildrenEndWithTheTest);

}  // namespace
