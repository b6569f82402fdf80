// A filled application form used by the writer and LibreOffice tests, and the check that a
// document reads back what was written into it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/forms/ApplicationForm.h"
#include "core/forms/FormDocument.h"
#include "forms_fixtures.h"

namespace formtest {

using xinghe::forms::applicationFormCells;
using xinghe::forms::CellKey;
using xinghe::forms::cellKeyText;
using xinghe::forms::FormData;
using xinghe::forms::FormDocument;

inline std::string replaceNewlines(std::string text) {
    for (char& c : text)
        if (c == '\n') c = '\r';
    return text;
}

// A value written into a cell reads back with every paragraph ended by "\r".
inline std::string cellTextOf(const std::string& value) {
    return replaceNewlines(value) + "\r";
}

// A filled form with every field and every fill-in cell set: quotes, Chinese text, tabs,
// line breaks, several paragraphs, an empty cell and a cell left alone.
inline FormData everythingFilled() {
    FormData data;
    data.status = "1";
    data.bookmarks = {
        {"ffd_appyear", "2026"},
        {"ffd_appmonth", "3"},
        {"ffd_university", "星河大学"},
        {"ffd_subjectname", "基于\"图\"的 <检索> & 排序"},
        {"ffd_applyer", "O'Brien 张"},
        {"ffd_department", "计算机学院"},
        {"ffd_postcode", "100081\n北京市海淀区"},
        {"ffd_doctorname", "计算机科学与技术"},
        {"ffd_iptsubjectname", "?????"},
        {"ffd_doctor", "是"},
        {"ffd_labname", "A\tB"},
    };
    for (const CellKey& key : applicationFormCells())
        data.cells[key] = "值 " + cellKeyText(key) + " '\"&<>";
    data.cells[{2, 20, 1}] = "张三";
    data.cells[{2, 14, 1}] = "检索；排序\n第二段\n";
    data.cells[{8, 14, 1}] = "一行\v换行";
    data.cells[{7, 5, 2}] = "";
    data.cells.erase({7, 6, 2});
    return data;
}

inline void expectReadsBack(const FormDocument& doc, const FormData& data) {
    EXPECT_EQ(doc.lockMarker(), data.status);
    for (const auto& [name, value] : data.bookmarks)
        EXPECT_EQ(visible(doc.bookmarkText(name).value_or("<none>")),
                  visible(replaceNewlines(value)))
            << name;
    for (const CellKey& key : applicationFormCells()) {
        auto it = data.cells.find(key);
        const std::string expected = it == data.cells.end() ? "\r" : cellTextOf(it->second);
        EXPECT_EQ(visible(doc.cellText(std::get<0>(key), std::get<1>(key), std::get<2>(key))
                              .value_or("<none>")),
                  visible(expected))
            << cellKeyText(key);
    }
}

}  // namespace formtest
