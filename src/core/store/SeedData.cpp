#include "core/store/SeedData.h"

#include <fstream>
#include <stdexcept>

#include "core/store/Passwords.h"

namespace xinghe::store {

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        size_t tab = line.find('\t', start);
        out.push_back(
            line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return out;
}

// Inserts every row of a seed file into the columns its header names.
void insertRows(db::Connection& conn, const std::string& table, const TsvTable& t) {
    std::string cols, params;
    for (size_t i = 0; i < t.header.size(); ++i) {
        if (i) {
            cols += ",";
            params += ",";
        }
        cols += "\"" + t.header[i] + "\"";
        params += "?" + std::to_string(i + 1);
    }
    auto st = conn.prepare("INSERT INTO \"" + table + "\" (" + cols + ") VALUES (" + params + ")");
    for (const auto& row : t.rows) {
        for (size_t i = 0; i < row.size(); ++i) st.bind(static_cast<int>(i + 1), row[i]);
        st.exec();
        st.reset();
    }
}

}  // namespace

TsvTable readTsv(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read seed file " + file.string());
    TsvTable t;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNo == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (line.empty()) continue;
        auto fields = splitTabs(line);
        if (t.header.empty()) {
            t.header = std::move(fields);
            continue;
        }
        if (fields.size() != t.header.size()) {
            throw std::runtime_error(file.string() + ":" + std::to_string(lineNo) + ": expected " +
                                     std::to_string(t.header.size()) + " fields, found " +
                                     std::to_string(fields.size()));
        }
        t.rows.push_back(std::move(fields));
    }
    if (t.header.empty()) throw std::runtime_error("empty seed file " + file.string());
    return t;
}

void loadWorkingSeed(db::Connection& conn, const std::filesystem::path& seedFolder) {
    db::Transaction tx(conn);
    auto admin = conn.prepare(
        "INSERT INTO Users (UID, NAME, PASSWORD, DESCRIBE) VALUES ('admin', ?1, ?2, ?3)");
    admin.bind(1, "系统管理员")
        .bind(2, hashPassword(kInitialAdminPassword))
        .bind(3, "系统超级用户");
    admin.exec();
    insertRows(conn, "Position", readTsv(seedFolder / "position.tsv"));
    insertRows(conn, "Nationality", readTsv(seedFolder / "nationality.tsv"));
    insertRows(conn, "UniversityCode", readTsv(seedFolder / "university.tsv"));
    tx.commit();
}

void loadSubjectSeed(db::Connection& conn, const std::filesystem::path& seedFolder) {
    db::Transaction tx(conn);
    insertRows(conn, "xk", readTsv(seedFolder / "xk.tsv"));
    tx.commit();
}

}  // namespace xinghe::store
