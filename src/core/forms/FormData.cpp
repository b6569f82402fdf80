#include "core/forms/FormData.h"

#include <charconv>
#include <fstream>
#include <nlohmann/json.hpp>

#include "core/forms/FormError.h"

namespace xinghe::forms {

namespace {

// One positive decimal number, blanks around it allowed.
std::optional<int> parseIndex(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1)
        return std::nullopt;
    return value;
}

CellKey parseCellKey(const std::string& key) {
    int parts[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        std::size_t end = i < 2 ? key.find(',', start) : key.size();
        std::optional<int> value =
            end == std::string::npos ? std::nullopt
                                     : parseIndex(std::string_view(key).substr(start, end - start));
        if (!value || (i == 2 && key.find(',', start) != std::string::npos))
            throw FormError("单元格键 \"" + key +
                            "\" 格式不对：应为 \"表,行,列\"，三个从 1 起的整数，如 \"2,20,1\"");
        parts[i] = *value;
        start = end + 1;
    }
    return {parts[0], parts[1], parts[2]};
}

std::string typeName(const nlohmann::json& value) {
    return value.type_name();
}

}  // namespace

std::string cellKeyText(const CellKey& key) {
    return std::to_string(std::get<0>(key)) + "," + std::to_string(std::get<1>(key)) + "," +
           std::to_string(std::get<2>(key));
}

FormData formDataFromJson(const nlohmann::json& json) {
    if (!json.is_object())
        throw FormError("表单数据应为 JSON 对象（含 status、bookmarks、cells），而不是 " +
                        typeName(json));
    FormData data;
    for (const auto& [key, value] : json.items()) {
        if (key == "status") {
            if (!value.is_string())
                throw FormError("status 的值应为字符串（如 \"1\"），而不是 " + typeName(value));
            data.status = value.get<std::string>();
        } else if (key == "bookmarks") {
            if (!value.is_object()) throw FormError("bookmarks 应为对象（书签名 → 文本）");
            for (const auto& [name, text] : value.items()) {
                if (!text.is_string())
                    throw FormError("书签 " + name + " 的值应为字符串，而不是 " + typeName(text));
                data.bookmarks[name] = text.get<std::string>();
            }
        } else if (key == "cells") {
            if (!value.is_object()) throw FormError("cells 应为对象（\"表,行,列\" → 文本）");
            for (const auto& [cell, text] : value.items()) {
                CellKey parsed = parseCellKey(cell);
                if (!text.is_string())
                    throw FormError("单元格 " + cell + " 的值应为字符串，而不是 " + typeName(text));
                if (!data.cells.emplace(parsed, text.get<std::string>()).second)
                    throw FormError("单元格 " + cellKeyText(parsed) + " 出现了不止一次");
            }
        } else {
            throw FormError("表单数据中有未知的键 \"" + key +
                            "\"（只允许 status、bookmarks、cells）");
        }
    }
    return data;
}

nlohmann::json formDataToJson(const FormData& data) {
    nlohmann::json json = nlohmann::json::object();
    if (data.status) json["status"] = *data.status;
    json["bookmarks"] = nlohmann::json::object();
    for (const auto& [name, text] : data.bookmarks) json["bookmarks"][name] = text;
    json["cells"] = nlohmann::json::object();
    for (const auto& [key, text] : data.cells) json["cells"][cellKeyText(key)] = text;
    return json;
}

FormData loadFormData(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw FormError("无法打开表单数据文件 " + file.string());
    nlohmann::json json;
    try {
        json = nlohmann::json::parse(in);
    } catch (const nlohmann::json::exception& e) {
        throw FormError("表单数据文件 " + file.string() + " 不是有效的 JSON：" + e.what());
    }
    return formDataFromJson(json);
}

}  // namespace xinghe::forms
