// The application form (申请书): its blank template and filled copies.
//
// Layout the import relies on (tables are the body's top-level tables, counted from 1):
//   cover            form fields ffd_appyear, ffd_appmonth, ffd_university, ffd_subjectname,
//                    ffd_applyer, ffd_department, ffd_postcode, ffd_doctorname,
//                    ffd_iptsubjectname, ffd_doctor, ffd_labname, and the lock marker status
//   table 1          R1C2 申请类别, R3C2 学科代码
//   table 2 简表一   project and applicant; R20C1 the applicant's name
//   tables 3-6       free-text sections, R2C1
//   table 7 简表三   members R3-R14 C2-C7, totals R16 C1-C7, cooperation R18C1
//   table 8 简表四   budget R3 C1-C7, equipment R6-R12 C1-C3, applicant's profile R14C1
//   table 9 简表五   publications R3-R22 C2-C6
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/forms/FormData.h"
#include "core/forms/FormWriter.h"

namespace xinghe::forms {

// The form fields an applicant fills (the lock marker "status" is set through
// FormData::status).
const std::vector<std::string>& applicationFormFields();

// The fill-in cells of the template, in table, row, column order.
std::vector<CellKey> applicationFormCells();

// The form with the data filled in. Throws FormError naming every bookmark or cell the
// template does not have, and every value that cannot go into a Word document.
DocumentModel applicationFormModel(const FormData& data);

// .docx bytes of the filled form (an empty FormData gives the blank template).
std::string applicationFormBytes(const FormData& data);

// Writes the filled form to `file` (replaced as a whole, never left half written).
void writeApplicationForm(const FormData& data, const std::filesystem::path& file);

// The blank template as shipped in data/forms/application.docx.
void writeBlankApplicationForm(const std::filesystem::path& file);

}  // namespace xinghe::forms
