// How many filled application forms per second the reader gets through: from memory and
// from files on disk, reading every value the import reads.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/forms/ApplicationForm.h"
#include "core/forms/FormDocument.h"

using namespace xinghe::forms;

namespace {

FormData sample() {
    FormData data;
    data.status = "1";
    for (const std::string& name : applicationFormFields()) data.bookmarks[name] = "示例 " + name;
    for (const CellKey& key : applicationFormCells())
        data.cells[key] = "单元格 " + cellKeyText(key) + "\n第二段";
    return data;
}

std::size_t readAll(const FormDocument& doc) {
    static const std::vector<CellKey> cells = applicationFormCells();
    std::size_t total = doc.lockMarker().value_or("").size();
    for (const std::string& name : applicationFormFields())
        total += doc.bookmarkText(name).value_or("").size();
    for (const CellKey& key : cells)
        total +=
            cellValue(
                doc.cellText(std::get<0>(key), std::get<1>(key), std::get<2>(key)).value_or(""))
                .size();
    return total;
}

template <typename Read>
void measure(const char* what, int count, Read read) {
    std::size_t checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) checksum += readAll(read(i));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-8s %6d forms in %.3f s: %.0f forms/s (checksum %zu)\n", what, count, seconds,
                count / seconds, checksum);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    const std::string bytes = applicationFormBytes(sample());
    std::printf("form: %zu bytes\n", bytes.size());
    measure("memory", count, [&](int) { return FormDocument::fromDocxBytes(bytes); });

    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "xinghe-form-bench";
    std::filesystem::create_directories(dir);
    const int files = 100;
    for (int i = 0; i < files; ++i)
        std::ofstream(dir / (std::to_string(i) + ".docx"), std::ios::binary) << bytes;
    measure("files", count,
            [&](int i) { return FormDocument::open(dir / (std::to_string(i % files) + ".docx")); });
    std::filesystem::remove_all(dir);
    return 0;
}
