// The tables of the working database, their columns in stored order, and the
// statements that create them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/store/Database.h"

namespace xinghe::schema {

struct Column {
    std::string name;
    std::string type;  // the declared type, as it stands in the CREATE TABLE statement
};

struct Table {
    std::string name;
    std::vector<Column> columns;
    std::string constraints;  // extra table constraints, "" when none
};

// Every table of the working database, in creation order.
const std::vector<Table>& workingTables();
// The ten tables created by the upgrade of an older database, in the order it creates them.
const std::vector<Table>& upgradeTables();
// The scratch table of the expert editor.
const Table& tempExpertArticle();
// The backup register's one table.
const Table& backupRegisterTable();
// The subject table of xk.db.
const Table& subjectTable();

const Table& table(std::string_view name);
std::vector<std::string> columnNames(std::string_view table);

std::string createStatement(const Table& t);

// Creates every table of the working database that is missing.
void createWorkingSchema(db::Connection& conn);

// Brings an older database up to date. Probes ExpertArticle; when it is missing,
// creates the ten upgrade tables one statement each, stopping at the first failure
// with the tables before it kept.
struct UpgradeResult {
    bool upgraded = false;  // the probe failed and creation ran
    std::vector<std::string> created;
    std::string error;  // the failing table's error, "" when none
};
UpgradeResult upgradeSchema(db::Connection& conn);

}  // namespace xinghe::schema
