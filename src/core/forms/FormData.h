// The values to fill a form with, and their JSON form:
//   {"status": "1",
//    "bookmarks": {"ffd_appyear": "2026", ...},
//    "cells": {"2,20,1": "张三", ...}}
// Cell keys are "table,row,column", counted from 1. Values are strings; "\n" in a value
// starts a new paragraph.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include <nlohmann/json_fwd.hpp>

namespace xinghe::forms {

using CellKey = std::tuple<int, int, int>;  // table, row, column; 1-based

struct FormData {
    std::map<std::string, std::string> bookmarks;  // form field name -> text
    std::map<CellKey, std::string> cells;          // fill-in cell -> text
    std::optional<std::string> status;             // the lock marker; the template's when unset
};

// "2,20,1"
std::string cellKeyText(const CellKey& key);

// Throws FormError naming the key or value that does not fit the format.
FormData formDataFromJson(const nlohmann::json& json);
nlohmann::json formDataToJson(const FormData& data);

// Reads a JSON file of the format above. Throws FormError when the file cannot be read,
// is not JSON or does not fit the format.
FormData loadFormData(const std::filesystem::path& file);

}  // namespace xinghe::forms
