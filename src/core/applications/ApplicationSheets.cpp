#include "core/applications/ApplicationSheets.h"

#include "core/text/Ascii.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace xinghe::applications {

namespace {

using text::equalsIgnoringCase;

// A stored value read as a number: text is parsed, NULL and unreadable text give 0.
double numberOf(const Record& r, std::string_view column) {
    const db::Value* v = field(r, column);
    if (!v) return 0;
    if (auto* i = std::get_if<std::int64_t>(v)) return static_cast<double>(*i);
    if (auto* d = std::get_if<double>(v)) return *d;
    if (auto* s = std::get_if<std::string>(v)) {
        char* end = nullptr;
        double d = std::strtod(s->c_str(), &end);
        return end != s->c_str() && std::isfinite(d) ? d : 0;
    }
    return 0;
}

}  // namespace

bool isShortBoxColumn(std::string_view column) {
    for (const char* c : {"PrimaryProj_BeginYear", "Stuff_Fee", "Count_Fee", "Information_Fee",
                          "Travel_Fee", "Machine_Fee"}) {
        if (equalsIgnoringCase(column, c)) return true;
    }
    return false;
}

std::string firstCharacters(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < count && at < text.size(); ++n) {
        ++at;
        // Continuation bytes belong to the character just begun.
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    }
    return std::string(text.substr(0, at));
}

std::string boxText(const Record& apply, std::string_view column) {
    std::string text = fieldText(apply, column);
    return isShortBoxColumn(column) ? firstCharacters(text, kShortBoxLength) : text;
}

std::string generalNumberText(double value) {
    if (value == 0) return "0";  // also -0
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

std::vector<std::string> memberCells(const Record& m) {
    return {fieldText(m, "Attendee_Name"), fieldText(m, "Birth_Date"), fieldText(m, "TechPosition"),
            fieldText(m, "Profession"),    fieldText(m, "WorkSite"),   fieldText(m, "WorkTime")};
}

std::vector<std::string> equipmentCells(const Record& m) {
    const double count = numberOf(m, "Machine_Num");
    return {fieldText(m, "Machine_Name"), std::to_string(std::llround(count)),
            generalNumberText(numberOf(m, "Machine_Price"))};
}

std::vector<std::string> publicationCells(const Record& p) {
    return {fieldText(p, "Production_serialNumber"), fieldText(p, "Production_Date"),
            fieldText(p, "Author_li"), fieldText(p, "Production_Name"),
            fieldText(p, "Magazine_Press")};
}

std::vector<PieSlice> knowledgeStructure(const Record& apply) {
    std::vector<PieSlice> slices;
    double total = 0;
    for (const char* column : {"Lector_Num", "Doctor_Num", "Master_Num", "OtherPeople_Num",
                               "AdjunctProfessor_Num", "Professor_Num"}) {
        slices.push_back({column, numberOf(apply, column), {}});
        total += slices.back().value;
    }
    for (auto& s : slices) {
        double share = total > 0 ? s.value * 100.0 / total : 0;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", share);
        std::string text = buf;
        // "25.00" -> "25", "12.50" -> "12.5"
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
        s.label = text + "%";
    }
    return slices;
}

}  // namespace xinghe::applications
