// What the detail view of one application shows: the texts of its boxes and lists and the
// slices of the knowledge-structure pie.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/applications/Applications.h"

namespace xinghe::applications {

// Boxes that show at most this many characters of their column (the money columns).
inline constexpr std::size_t kShortBoxLength = 6;

// True for PrimaryProj_BeginYear, Stuff_Fee, Count_Fee, Information_Fee, Travel_Fee and
// Machine_Fee (any case); Other_fee is shown whole.
bool isShortBoxColumn(std::string_view column);

// The first `count` characters of a UTF-8 text.
std::string firstCharacters(std::string_view text, std::size_t count);

// The text of the box bound to `column` of the ApplyInfo record ("" for NULL or a column
// the record lacks), cut for the short boxes.
std::string boxText(const Record& apply, std::string_view column);

// A number in general format: up to 15 significant digits, no trailing zeros.
std::string generalNumberText(double value);

// One row of each list, in column order after the empty first column.
// Members: name, birth date, title, speciality, work place, working time.
std::vector<std::string> memberCells(const Record& member);
// Equipment: name, count as an integer, price in general format.
std::vector<std::string> equipmentCells(const Record& machine);
// Publications: serial number, date, author rank, title, journal or publisher.
std::vector<std::string> publicationCells(const Record& publication);

struct PieSlice {
    std::string column;
    double value = 0;
    std::string label;  // its share, "25%"
};
inline constexpr const char* kKnowledgePieTitle = "参加人员知识结构";
// The counts of lecturers, doctoral students, master's students, other people, associate
// professors and professors, in this order (NULL counts as 0).
std::vector<PieSlice> knowledgeStructure(const Record& apply);

}  // namespace xinghe::applications
