#include <gtest/gtest.h>

#include "core/applications/ApplicationSheets.h"

using namespace xinghe;
using namespace xinghe::applications;

namespace {

Record record(std::vector<std::pair<std::string, db::Value>> values) {
    return Record(values.begin(), values.end());
}

}  // namespace

TEST(ApplicationSheets, MoneyBoxesShowSixCharactersOtherBoxesAll) {
    const Record apply = record({{"Project_Name", std::string("一个很长的项目名称用来检查")},
                                 {"PrimaryProj_BeginYear", std::string("1234567")},
                                 {"Machine_Fee", 12.3456},
                                 {"Stuff_Fee", 2.5},
                                 {"Count_Fee", std::int64_t{1234567}},
                                 {"Information_Fee", db::Null{}},
                                 {"Travel_Fee", 0.123456789},
                                 {"Other_fee", 12.3456}});
    struct Case {
        const char* column;
        const char* shown;
    };
    for (const auto& c : std::vector<Case>{{"Project_Name", "一个很长的项目名称用来检查"},
                                           {"PrimaryProj_BeginYear", "123456"},
                                           {"Machine_Fee", "12.345"},
                                           {"Stuff_Fee", "2.5"},
                                           {"count_fee", "123456"},
                                           {"Information_Fee", ""},
                                           {"Travel_Fee", "0.1234"},
                                           {"Other_Fee", "12.3456"},
                                           {"NoSuchColumn", ""}}) {
        EXPECT_EQ(boxText(apply, c.column), c.shown) << c.column;
    }
}

TEST(ApplicationSheets, FirstCharactersCountsCharactersNotBytes) {
    EXPECT_EQ(firstCharacters("十二万三千四百五十", 6), "十二万三千四");
    EXPECT_EQ(firstCharacters("1万5", 6), "1万5");
    EXPECT_EQ(firstCharacters("", 6), "");
}

TEST(ApplicationSheets, EquipmentCountIsWholeAndPriceGeneral) {
    struct Case {
        db::Value count, price;
        const char* countText;
        const char* priceText;
    };
    for (const auto& c : std::vector<Case>{
             {std::int64_t{3}, 12000.5, "3", "12000.5"},
             {2.6, std::int64_t{8}, "3", "8"},
             {std::string("4"), 0.1 + 0.2, "4", "0.3"},
             {db::Null{}, 1.0 / 3, "0", "0.333333333333333"},
             {std::int64_t{1}, 1.5e20, "1", "1.5e+20"},
             {std::int64_t{1}, db::Null{}, "1", "0"},
         }) {
        auto cells = equipmentCells(record({{"Machine_Name", std::string("示波器")},
                                            {"Machine_Num", c.count},
                                            {"Machine_Price", c.price}}));
        EXPECT_EQ(cells, (std::vector<std::string>{"示波器", c.countText, c.priceText}));
    }
}

TEST(ApplicationSheets, MemberAndPublicationRowsInListOrder) {
    auto member = record({{"Project_ID", std::string("20262001001")},
                          {"Attendee_Name", std::string("李四")},
                          {"Birth_Date", std::string("1980.05")},
                          {"TechPosition", std::string("讲师")},
                          {"Profession", std::string("物理")},
                          {"WorkSite", std::string("物理学院")},
                          {"WorkTime", std::int64_t{6}}});
    EXPECT_EQ(memberCells(member),
              (std::vector<std::string>{"李四", "1980.05", "讲师", "物理", "物理学院", "6"}));
    auto publication = record({{"Production_SerialNumber", std::int64_t{1}},
                               {"Production_Date", std::string("2024-03")},
                               {"Author_Li", std::int64_t{2}},
                               {"Production_Name", std::string("论文")},
                               {"Magazine_Press", std::string("物理学报")}});
    EXPECT_EQ(publicationCells(publication),
              (std::vector<std::string>{"1", "2024-03", "2", "论文", "物理学报"}));
}

TEST(ApplicationSheets, PieSlicesInFixedOrderWithTheirShares) {
    auto apply = record({{"Professor_Num", std::int64_t{2}},
                         {"AdjunctProfessor_Num", std::int64_t{2}},
                         {"Lector_Num", std::int64_t{1}},
                         {"Doctor_Num", std::int64_t{2}},
                         {"Master_Num", std::int64_t{3}},
                         {"OtherPeople_Num", db::Null{}}});
    auto slices = knowledgeStructure(apply);
    ASSERT_EQ(slices.size(), 6u);
    const std::vector<std::string> order = {"Lector_Num",           "Doctor_Num",
                                            "Master_Num",           "OtherPeople_Num",
                                            "AdjunctProfessor_Num", "Professor_Num"};
    const std::vector<double> values = {1, 2, 3, 0, 2, 2};
    const std::vector<std::string> labels = {"10%", "20%", "30%", "0%", "20%", "20%"};
    for (std::size_t i = 0; i < slices.size(); ++i) {
        EXPECT_EQ(slices[i].column, order[i]);
        EXPECT_EQ(slices[i].value, values[i]) << order[i];
        EXPECT_EQ(slices[i].label, labels[i]) << order[i];
    }

    auto thirds = knowledgeStructure(record({{"Lector_Num", std::int64_t{1}},
                                             {"Doctor_Num", std::int64_t{1}},
                                             {"Master_Num", std::int64_t{1}},
                                             {"AdjunctProfessor_Num", std::int64_t{1}},
                                             {"Professor_Num", std::int64_t{4}}}));
    EXPECT_EQ(thirds[0].label, "12.5%");
    EXPECT_EQ(thirds[5].label, "50%");

    for (const auto& s : knowledgeStructure(record({}))) {
        EXPECT_EQ(s.value, 0);
        EXPECT_EQ(s.label, "0%");
    }
}
