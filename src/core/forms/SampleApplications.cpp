#include "core/forms/SampleApplications.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "core/forms/ApplicationForm.h"
#include "core/forms/FormError.h"

namespace xinghe::forms {

namespace {

constexpr std::array kSurnames = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴",
                                  "徐", "孙", "胡", "朱", "高", "林", "何", "郭", "马", "罗"};
constexpr std::array kGiven = {"伟", "芳", "娜", "敏", "静", "磊",   "洋", "艳", "勇", "军",
                               "杰", "娟", "涛", "明", "超", "秀英", "霞", "平", "刚", "桂英"};
constexpr std::array kSubjects = {
    std::pair{"计算机软件", "520.30"}, std::pair{"凝聚态物理学", "140.30"},
    std::pair{"有机化学", "150.25"},   std::pair{"应用数学", "110.74"},
    std::pair{"管理科学", "630.10"},   std::pair{"环境工程学", "610.30"}};
constexpr std::array kColleges = {"计算机学院",   "物理学院",     "化学学院",
                                  "数学科学学院", "经济管理学院", "环境学院"};
constexpr std::array kTitles = {"教授", "副教授", "讲师"};

std::string num(int n) {
    return std::to_string(n);
}

}  // namespace

std::string sampleName(int n) {
    const int s = static_cast<int>(kSurnames.size()), g = static_cast<int>(kGiven.size());
    std::string name = std::string(kSurnames[n % s]) + kGiven[(n / s) % g];
    // Beyond the plain combinations a second given character keeps names apart.
    if (n >= s * g) name += kGiven[(n / (s * g)) % g];
    if (n >= s * g * g) name += num(n / (s * g * g));
    return name;
}

FormData sampleApplication(int n, const std::string& year, const std::string& university) {
    int yearNumber = 0;
    auto [end, ec] = std::from_chars(year.data(), year.data() + year.size(), yearNumber);
    if (year.empty() || ec != std::errc() || end != year.data() + year.size()) {
        throw FormError("年份必须是数字：" + year);
    }
    const auto& subject = kSubjects[n % kSubjects.size()];
    const std::string applicant = sampleName(n);
    FormData d;
    d.status = "1";
    d.bookmarks = {
        {"ffd_appyear", year},
        {"ffd_appmonth", num(3 + n % 6)},
        {"ffd_university", university},
        {"ffd_subjectname",
         std::string(subject.first) + "中的若干关键问题研究（" + num(n + 1) + "）"},
        {"ffd_applyer", applicant},
        {"ffd_department", kColleges[n % kColleges.size()]},
        {"ffd_postcode", "100871"},
        {"ffd_doctorname", std::string(subject.first)},
        {"ffd_iptsubjectname", n % 3 == 0 ? std::string("?????") : std::string(subject.first)},
        {"ffd_doctor", n % 2 == 0 ? "是" : "否"},
        {"ffd_labname", n % 4 == 0 ? "?????" : "教育部重点实验室"},
    };
    auto& c = d.cells;
    c[{1, 1, 2}] = "青年基金项目";
    c[{1, 3, 2}] = subject.second;
    c[{2, 2, 3}] = subject.first;
    c[{2, 3, 3}] = subject.second;
    c[{2, 2, 5}] = "应用数学";
    c[{2, 3, 5}] = "110.74";
    c[{2, 2, 7}] = "应用研究";
    c[{2, 5, 2}] = num(yearNumber + 1);
    c[{2, 5, 4}] = "1";
    c[{2, 5, 6}] = num(yearNumber + 3);
    c[{2, 5, 8}] = "12";
    c[{2, 5, 10}] = num(5 + n % 20);
    c[{2, 6, 5}] = num(1965 + n % 25);
    c[{2, 6, 7}] = num(1 + n % 12);
    c[{2, 6, 10}] = n % 2 ? "女" : "男";
    c[{2, 7, 6}] = "010-6275" + std::string(n % 10 < 5 ? "1234" : "5678");
    c[{2, 8, 2}] = kTitles[n % kTitles.size()];
    c[{2, 8, 3}] = num(2000 + n % 20);
    c[{2, 8, 5}] = n % 5 == 0 ? "系主任" : "";
    c[{2, 8, 7}] = "applicant" + num(n) + "@example.edu.cn";
    c[{2, 9, 3}] = "北京大学";
    c[{2, 9, 5}] = num(1990 + n % 15);
    c[{2, 10, 3}] = "博士";
    c[{2, 10, 6}] = "英语";
    c[{2, 10, 8}] = "熟练";
    c[{2, 11, 6}] = n % 3 == 0 ? "日语" : "";
    c[{2, 11, 8}] = n % 3 == 0 ? "一般" : "";
    c[{2, 12, 3}] = "中国" + std::string(subject.first) + "学会理事";
    c[{2, 14, 1}] = std::string(subject.first) + ",算法,模型,优化";
    c[{2, 15, 3}] = n % 2 ? "2018-2020" : "";
    c[{2, 16, 3}] = n % 2 ? "8" : "";
    c[{2, 17, 3}] = n % 2 ? "2020-12" : "";
    c[{2, 19, 1}] = "无";
    c[{2, 20, 1}] = applicant;
    const int members = 2 + n % 3;
    for (int i = 0; i < members; ++i) {
        const int row = 3 + i;
        c[{7, row, 2}] = sampleName((n * 7 + i + 401) % 8000);  // members need not be unique
        c[{7, row, 3}] = num(1970 + i * 5) + "." + num(1 + i);
        c[{7, row, 4}] = kTitles[i % kTitles.size()];
        c[{7, row, 5}] = subject.first;
        c[{7, row, 6}] = university;
        c[{7, row, 7}] = num(6 + i);
    }
    c[{7, 16, 1}] = num(members);
    c[{7, 16, 2}] = "1";
    c[{7, 16, 3}] = "1";
    c[{7, 16, 4}] = num(members - 2);
    c[{7, 16, 5}] = "2";
    c[{7, 16, 6}] = "3";
    c[{7, 16, 7}] = "0";
    c[{7, 18, 1}] = "与中国科学院" + std::string(subject.first) + "研究所合作";
    c[{8, 3, 1}] = "20";
    c[{8, 3, 2}] = "5";
    c[{8, 3, 3}] = "4.5";
    c[{8, 3, 4}] = "3";
    c[{8, 3, 5}] = "2";
    c[{8, 3, 6}] = "3.5";
    c[{8, 3, 7}] = "2";
    c[{8, 6, 1}] = "服务器";
    c[{8, 6, 2}] = "2";
    c[{8, 6, 3}] = "3.2";
    if (n % 2 == 0) {
        c[{8, 7, 1}] = "示波器";
        c[{8, 7, 2}] = "1";
        c[{8, 7, 3}] = "1.8";
    }
    c[{8, 14, 1}] = applicant + "，长期从事" + subject.first + "研究。";
    for (int i = 0; i < 3; ++i) {
        const int row = 3 + i;
        c[{9, row, 2}] = num(2020 + i) + "-0" + num(1 + i);
        c[{9, row, 4}] = num(1 + i);
        c[{9, row, 5}] = std::string(subject.first) + "论文" + num(i + 1);
        c[{9, row, 6}] = i % 2 ? "科学出版社" : "中国科学";
    }
    return d;
}

std::vector<std::filesystem::path> writeSampleApplications(const std::filesystem::path& folder,
                                                           int count, const std::string& year,
                                                           const std::string& university) {
    std::filesystem::create_directories(folder);
    std::vector<std::filesystem::path> out;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "申请书_%04d.docx", i + 1);
        out.push_back(folder / name);
        writeApplicationForm(sampleApplication(i, year, university), out.back());
    }
    return out;
}

}  // namespace xinghe::forms
