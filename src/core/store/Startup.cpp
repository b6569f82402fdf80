#include "core/store/Startup.h"

#include <system_error>

#include "core/store/Schema.h"
#include "core/store/SeedData.h"

namespace xinghe::store {

namespace fs = std::filesystem;

namespace {

// Builds a database file next to its final place and renames it in, so that a
// failure never leaves a half-made database under the real name.
template <typename Fill>
void buildAside(const fs::path& file, Fill fill) {
    fs::path part = file;
    part += ".part";
    std::error_code ec;
    fs::remove(part, ec);
    try {
        {
            db::Connection conn(part);
            fill(conn);
        }
        fs::rename(part, file);
    } catch (...) {
        fs::remove(part, ec);
        throw;
    }
}

}  // namespace

void createWorkingDatabase(const fs::path& file, const fs::path& seed) {
    buildAside(file, [&](db::Connection& conn) {
        schema::createWorkingSchema(conn);
        loadWorkingSeed(conn, seed);
    });
}

void createSubjectDatabase(const fs::path& file, const fs::path& seed) {
    buildAside(file, [&](db::Connection& conn) {
        conn.execScript(schema::createStatement(schema::subjectTable()));
        loadSubjectSeed(conn, seed);
    });
}

void createBackupRegister(const fs::path& file) {
    buildAside(file, [](db::Connection& conn) {
        conn.execScript(schema::createStatement(schema::backupRegisterTable()));
    });
}

StartupReport runStartup(DataStore& store) {
    const HomeFolder& home = store.home();
    home.create();

    StartupReport report;
    auto problem = [&](const std::string& detail) {
        report.messages.push_back({kStartupProblem, detail});
    };
    const fs::path seed = dataFolder() / "seed";

    if (!fs::exists(home.workingDatabase())) {
        try {
            createWorkingDatabase(home.workingDatabase(), seed);
            report.firstStart = true;
        } catch (const std::exception& e) {
            problem(std::string("cannot create the working database: ") + e.what());
        }
    }
    if (!fs::exists(home.subjectDatabase())) {
        try {
            createSubjectDatabase(home.subjectDatabase(), seed);
        } catch (const std::exception& e) {
            problem(std::string("cannot create the subject table: ") + e.what());
        }
    }

    // The packaging copy is refreshed from the working database at every start.
    store.close(kTempSummary);
    try {
        db::backupDatabase(home.workingDatabase(), home.packagingDatabase());
    } catch (const std::exception& e) {
        problem(std::string("cannot refresh the packaging copy: ") + e.what());
    }

    // The backup register: its folder is made quietly; the register itself comes from
    // the template and an existing one is never overwritten.
    std::error_code ec;
    fs::create_directories(store.registerFolder(), ec);
    try {
        if (!fs::exists(home.backupTemplate())) createBackupRegister(home.backupTemplate());
        if (!fs::exists(store.registerFile())) {
            db::backupDatabase(home.backupTemplate(), store.registerFile());
        }
    } catch (const std::exception& e) {
        problem(std::string("cannot create the backup register: ") + e.what());
    }
    return report;
}

}  // namespace xinghe::store
