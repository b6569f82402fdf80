#include "core/applications/YearSetting.h"

#include <charconv>

namespace xinghe::applications {

std::optional<std::string> acceptedYear(db::Connection& conn) {
    auto st = conn.prepare("SELECT Year FROM YearSet ORDER BY rowid");
    if (!st.step()) return std::nullopt;
    return st.text(0);
}

std::vector<std::string> yearChoices(int currentYear) {
    std::vector<std::string> out;
    for (int y = currentYear + 1; y > currentYear + 1 - 14; --y) out.push_back(std::to_string(y));
    return out;
}

Outcome setYear(db::Connection& conn, const std::string& yearText) {
    int year = 0;
    auto [end, ec] = std::from_chars(yearText.data(), yearText.data() + yearText.size(), year);
    // The year column is numeric: a text it cannot hold is refused, as the database would.
    if (yearText.empty() || ec != std::errc() || end != yearText.data() + yearText.size() ||
        year < 1 || year > 9999) {
        return Outcome::failure("年份必须是整数年份：“" + yearText + "”");
    }
    db::Transaction tx(conn);
    conn.execScript("DELETE FROM YearSet");
    conn.prepare("INSERT INTO YearSet (Year) VALUES (:Year)").bind(":Year", year).exec();
    tx.commit();
    return Outcome::success("你已经将本系统年份设置为" + yearText);
}

}  // namespace xinghe::applications
