#include "cli/Json.h"

namespace xinghe::cli {

Json valueJson(const db::Value& v) {
    return std::visit(
        [](const auto& x) -> Json {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, db::Null>) {
                return nullptr;
            } else {
                return x;
            }
        },
        v);
}

Json recordJson(const applications::Record& r) {
    Json j = Json::object();
    for (const auto& [column, value] : r) j[column] = valueJson(value);
    return j;
}

namespace {

Json rowsJson(const std::vector<applications::Record>& rows) {
    Json j = Json::array();
    for (const auto& r : rows) j.push_back(recordJson(r));
    return j;
}

}  // namespace

Json applicationJson(const applications::ApplicationDetail& d) {
    Json j = Json::object();
    j["ApplyInfo"] = recordJson(d.apply);
    j["AttenDeeInfo"] = rowsJson(d.members);
    j["MachineInfo"] = rowsJson(d.equipment);
    j["ProductionInfo"] = rowsJson(d.publications);
    return j;
}

void printJson(std::ostream& out, const Json& j) {
    out << j.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace xinghe::cli
