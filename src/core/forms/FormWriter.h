// Writing Word forms: a small document model (paragraphs with legacy text form fields,
// tables with label and fill-in cells) turned into .docx bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace xinghe::forms {

// A run of text, or a legacy text form field (FORMTEXT) wrapped in a bookmark of the same
// name, as Word writes one. Text may hold "\t" (tab) and "\v" (line break); a form field's
// result may also hold "\n", which continues the result in a new paragraph.
struct Inline {
    enum class Kind { Text, FormField };
    Kind kind = Kind::Text;
    std::string text;         // the text, or the form field's current result
    std::string name;         // form field name (and bookmark name)
    std::string defaultText;  // form field default result
    bool bold = false;

    static Inline plain(std::string text, bool bold = false) {
        Inline i;
        i.text = std::move(text);
        i.bold = bold;
        return i;
    }
    static Inline field(std::string name, std::string defaultText) {
        Inline i;
        i.kind = Kind::FormField;
        i.name = std::move(name);
        i.text = defaultText;
        i.defaultText = std::move(defaultText);
        return i;
    }
};

struct Paragraph {
    enum class Style { Normal, Title, Heading, Small };
    enum class Align { Left, Center, Right };
    std::vector<Inline> inlines;
    Style style = Style::Normal;
    Align align = Align::Left;
    bool pageBreakBefore = false;
};

struct Cell {
    std::vector<Paragraph> paragraphs;  // none: one empty paragraph
    int span = 1;                       // grid columns the cell covers
    bool label = false;                 // a shaded label; otherwise a fill-in cell
};

struct TableRow {
    std::vector<Cell> cells;
    int minHeight = 0;  // twips; 0 lets the row grow with its text
};

struct Table {
    std::vector<int> columnWidths;  // the grid, twips
    std::vector<TableRow> rows;
};

using Block = std::variant<Paragraph, Table>;

struct DocumentModel {
    std::string title;  // document property
    std::vector<Block> blocks;
};

// Why a text cannot go into a form (not valid UTF-8, or a control character other than tab,
// line break and new line), or nullopt when it can.
std::optional<std::string> textProblem(std::string_view text);

// The paragraphs of a multi-line text: "\n" (or "\r\n", "\r") starts a new paragraph.
std::vector<Paragraph> paragraphsOf(const std::string& text);

// The .docx bytes of the document. Throws FormError when a text is not valid UTF-8 or holds a
// control character that a Word document cannot carry.
std::string buildDocx(const DocumentModel& model);

}  // namespace xinghe::forms
