// Reading the values of a Word form: bookmarks, legacy form fields, the lock marker and the
// cells of the body's tables.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/forms/FormError.h"

namespace xinghe::forms {

// One Word document, read once and indexed. Text comes back as UTF-8 with Word's own
// control characters: "\r" ends every paragraph, "\v" is a manual line break, "\t" a tab,
// "\f" a page break.
class FormDocument {
public:
    // Reads a .docx directly. A Word 97-2003 .doc (or an RTF file saved under .doc) is first
    // converted to .docx with LibreOffice. The kind is told by the content, not the name.
    // Throws FormError with the reason when the file is missing, not a Word document,
    // encrypted, damaged or cannot be converted.
    static FormDocument open(const std::filesystem::path& file);

    // Reads .docx bytes held in memory.
    static FormDocument fromDocxBytes(std::string_view bytes);

    // A name is a bookmark name, else the name of a legacy form field (w:ffData/w:name), as
    // Word lets either be used as a bookmark. LibreOffice renames one of the two to
    // "name_Copy_1" when it saves a form; the other keeps the name, so the value is found.
    bool hasBookmark(std::string_view name) const;

    // The text between the bookmark's start and end, paragraph ends included; for a form
    // field, its result. nullopt when there is no such name.
    std::optional<std::string> bookmarkText(std::string_view name) const;

    // The text of the lock marker "status": a bookmark or form field of that name, else a
    // content control whose tag or title is "status", else a document variable "status".
    std::optional<std::string> lockMarker() const;

    // The top-level tables of the body, in order; nested tables are not counted.
    int tableCount() const;

    // Rows (w:tr) of table `table` (1-based); 0 when there is no such table.
    int rowCount(int table) const;

    // The text of a cell (1-based; a cell is the column-th w:tc of the row whatever its
    // span), each paragraph ended by "\r". nullopt when the cell does not exist.
    std::optional<std::string> cellText(int table, int row, int column) const;

    // Cells in one row of a table; 0 when the row does not exist.
    int cellCount(int table, int row) const;

    struct Span {
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    using Row = std::vector<Span>;
    using Table = std::vector<Row>;

private:
    FormDocument() = default;
    std::string slice(Span span) const { return text_.substr(span.begin, span.end - span.begin); }
    const Row* findRow(int table, int row) const;

    friend class DocumentIndexer;

    std::string text_;  // the whole body's text; every value below is a span of it
    std::map<std::string, Span, std::less<>> bookmarks_;
    std::map<std::string, Span, std::less<>> formFields_;
    std::optional<Span> statusControl_;
    std::optional<std::string> statusVariable_;
    std::vector<Table> tables_;
};

// The value of a cell: its text up to the first carriage return (all of it when none).
std::string cellValue(std::string_view text);

}  // namespace xinghe::forms
