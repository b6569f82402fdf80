// Import benchmark: writes N filled application forms with the form writer, then
// measures reading alone and the full import into a fresh home folder.
//   import_bench [N] [work folder]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/admin/UnitInfo.h"
#include "core/applications/YearSetting.h"
#include "core/forms/FormDocument.h"
#include "core/forms/SampleApplications.h"
#include "core/imports/ImportBatch.h"
#include "core/store/Startup.h"

using namespace xinghe;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// CPU time of this process, less sensitive than wall time to a busy machine.
double cpuSeconds() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec +
           (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

long peakKiB() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

// Reads every value the import reads, so that reading alone is measured fairly.
std::size_t readAll(const forms::FormDocument& doc) {
    std::size_t bytes = 0;
    for (const char* b : {"ffd_appyear", "ffd_appmonth", "ffd_university", "ffd_subjectname",
                          "ffd_applyer", "ffd_department", "ffd_postcode", "ffd_doctorname",
                          "ffd_iptsubjectname", "ffd_doctor", "ffd_labname"}) {
        if (auto t = doc.bookmarkText(b)) bytes += t->size();
    }
    if (auto s = doc.lockMarker()) bytes += s->size();
    for (int t = 1; t <= doc.tableCount(); ++t) {
        for (int r = 1; r <= doc.rowCount(t); ++r) {
            for (int c = 1; c <= doc.cellCount(t, r); ++c) {
                if (auto text = doc.cellText(t, r, c)) bytes += forms::cellValue(*text).size();
            }
        }
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::stoi(argv[1]) : 1000;
    const fs::path work =
        argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "xinghe-import-bench";
    fs::remove_all(work);
    const std::string university = "星河理工大学";

    auto t0 = Clock::now();
    auto docs = forms::writeSampleApplications(work / "forms", n, "2026", university);
    const double writeS = seconds(t0);

    t0 = Clock::now();
    double c0 = cpuSeconds();
    std::size_t bytes = 0;
    for (const auto& d : docs) bytes += readAll(forms::FormDocument::open(d));
    const double readS = seconds(t0);
    const double readCpu = cpuSeconds() - c0;
    const long afterRead = peakKiB();

    store::DataStore store(store::HomeFolder(work / "home"), work / "register");
    store::runStartup(store);
    applications::setYear(store.system(), "2026");
    admin::UnitRecord unit;
    unit.collegenum = "0999";
    unit.name = university;
    unit.department = unit.sheng = unit.jie = unit.address = unit.bank = unit.count =
        unit.managedepart = "x";
    admin::saveUnit(store.system(), unit);

    t0 = Clock::now();
    c0 = cpuSeconds();
    auto results = imports::runBatch(store, docs);
    const double importS = seconds(t0);
    const double importCpu = cpuSeconds() - c0;
    int ok = 0;
    for (const auto& r : results) ok += r.succeeded() ? 1 : 0;

    std::printf("forms:            %d (%d imported)\n", n, ok);
    std::printf("write forms:      %8.1f forms/s\n", n / writeS);
    std::printf("read alone:       %8.1f forms/s  (%.1f per CPU second; %zu value bytes)\n",
                n / readS, n / readCpu, bytes);
    std::printf("full import:      %8.1f forms/s  (%.1f per CPU second)\n", n / importS,
                n / importCpu);
    std::printf("peak memory:      %ld KiB after reading, %ld KiB after import\n", afterRead,
                peakKiB());
    fs::remove_all(work);
    return ok == n ? 0 : 1;
}
