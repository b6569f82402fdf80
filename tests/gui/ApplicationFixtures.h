// What the application-manager window tests share: a registered unit with an accepted
// year, filled forms from the form writer and a look at the stored rows.
#pragma once

#include <QAbstractItemView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "core/admin/UnitInfo.h"
#include "core/applications/YearSetting.h"
#include "core/forms/ApplicationForm.h"
#include "core/forms/SampleApplications.h"
#include "core/imports/ApplicationImport.h"
#include "fixtures/SampleOffice.h"
#include "support/GuiTestSupport.h"

namespace xinghe::apptest {

inline constexpr const char* kUniversity = test::kSampleUniversity;
inline constexpr const char* kUnitCode = test::kSampleUnitCode;

inline void setYear(guitest::TestEnv& env, const std::string& year) {
    if (!applications::setYear(env.db(), year).ok) throw std::runtime_error("year " + year);
}

// The sample unit and, unless empty, the year.
inline void registerUnit(guitest::TestEnv& env, const std::string& year = "2026") {
    test::prepareOffice(env.db(), year);
}

// The folder of a temporary directory as a path.
inline std::filesystem::path pathOf(const QTemporaryDir& dir) {
    return std::filesystem::path(dir.path().toStdString());
}

inline forms::FormData sample(int n, const std::string& year = "2026") {
    return forms::sampleApplication(n, year, kUniversity);
}

inline std::filesystem::path writeForm(const std::filesystem::path& file,
                                       const forms::FormData& data) {
    std::filesystem::create_directories(file.parent_path());
    forms::writeApplicationForm(data, file);
    return file;
}

// Imports one form through the core, as an earlier batch would have; its project number.
inline std::string importForm(guitest::TestEnv& env, const std::filesystem::path& file) {
    auto r = imports::importApplication(env.db(), env.store().home(), file);
    if (!r.succeeded()) throw std::runtime_error("import failed: " + r.reason);
    return r.projectId;
}

inline int rowsWithNumber(guitest::TestEnv& env, const std::string& table,
                          const std::string& projectId) {
    const std::string column = table == "ProjectControl" ? "ProjectID" : "Project_ID";
    auto st = env.db().prepare("SELECT count(*) FROM " + table + " WHERE " + column + " = ?1");
    st.bind(1, projectId);
    st.step();
    return static_cast<int>(*st.integer(0));
}

inline QStringList topLevelTexts(QTreeWidget* tree, int column = 0) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) out << tree->topLevelItem(i)->text(column);
    return out;
}

// A double-click on an item as the user makes it: the first click, then the second.
inline void doubleClick(QAbstractItemView* view, const QRect& item) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

}  // namespace xinghe::apptest
