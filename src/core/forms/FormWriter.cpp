#include "core/forms/FormWriter.h"

#include <cstdint>
#include <numeric>

#include "core/forms/FormError.h"
#include "core/forms/ZipPackage.h"

namespace xinghe::forms {

namespace {

constexpr const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kWordNs =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

// Decodes one UTF-8 sequence at `at`; returns its length, or 0 when it is malformed.
std::size_t decodeUtf8(std::string_view s, std::size_t at, std::uint32_t& c) {
    const auto b0 = static_cast<unsigned char>(s[at]);
    std::size_t len;
    if (b0 < 0x80) {
        c = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        c = b0 & 0x07;
    } else {
        return 0;
    }
    if (at + len > s.size()) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[at + i]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return 0;
    return len;
}

std::string escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

class DocumentXml {
public:
    std::string build(const DocumentModel& model) {
        x_ += kXmlHead;
        x_ += "<w:document ";
        x_ += kWordNs;
        x_ += "><w:body>";
        for (const Block& block : model.blocks) {
            if (const auto* p = std::get_if<Paragraph>(&block))
                paragraph(*p);
            else
                table(std::get<Table>(block));
        }
        // A4, 2 cm side margins.
        x_ +=
            "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1440\" "
            "w:right=\"1134\" w:bottom=\"1440\" w:left=\"1134\" w:header=\"851\" w:footer=\"992\" "
            "w:gutter=\"0\"/><w:cols w:space=\"425\"/><w:docGrid w:type=\"lines\" "
            "w:linePitch=\"312\"/></w:sectPr>";
        x_ += "</w:body></w:document>";
        return std::move(x_);
    }

private:
    static void check(const std::string& text) {
        if (auto problem = textProblem(text)) throw FormError("无法写入文档：" + *problem);
    }

    std::string paragraphStart(const Paragraph& p) {
        std::string s = "<w:p><w:pPr>";
        switch (p.style) {
            case Paragraph::Style::Title:
                s += "<w:pStyle w:val=\"Title\"/>";
                break;
            case Paragraph::Style::Heading:
                s += "<w:pStyle w:val=\"Heading1\"/>";
                break;
            case Paragraph::Style::Small:
                s += "<w:pStyle w:val=\"Small\"/>";
                break;
            case Paragraph::Style::Normal:
                break;
        }
        if (p.pageBreakBefore) s += "<w:pageBreakBefore/>";
        switch (p.align) {
            case Paragraph::Align::Center:
                s += "<w:jc w:val=\"center\"/>";
                break;
            case Paragraph::Align::Right:
                s += "<w:jc w:val=\"right\"/>";
                break;
            case Paragraph::Align::Left:
                break;
        }
        s += "</w:pPr>";
        return s;
    }

    // Runs for a text with tabs and line breaks; "\n" ends the paragraph and opens the next
    // with the same properties (used inside form field results).
    void runs(const std::string& text, const std::string& runProps, const std::string& pStart) {
        check(text);
        std::string pending;
        auto flush = [&] {
            if (pending.empty()) return;
            x_ += "<w:r>" + runProps + "<w:t xml:space=\"preserve\">" + escape(pending) +
                  "</w:t></w:r>";
            pending.clear();
        };
        for (std::size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if (c == '\t' || c == '\v') {
                flush();
                x_ += "<w:r>" + runProps + (c == '\t' ? "<w:tab/>" : "<w:br/>") + "</w:r>";
            } else if (c == '\n' || c == '\r') {
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
                flush();
                x_ += "</w:p>" + pStart;
            } else {
                pending += c;
            }
        }
        flush();
    }

    void paragraph(const Paragraph& p) {
        const std::string start = paragraphStart(p);
        x_ += start;
        for (const Inline& in : p.inlines) {
            const std::string runProps = in.bold ? "<w:rPr><w:b/></w:rPr>" : "";
            if (in.kind == Inline::Kind::Text) {
                runs(in.text, runProps, start);
                continue;
            }
            check(in.name);
            check(in.defaultText);
            const std::string id = std::to_string(nextBookmark_++);
            const std::string name = escape(in.name);
            x_ += "<w:bookmarkStart w:id=\"" + id + "\" w:name=\"" + name + "\"/>";
            x_ += "<w:r>" + runProps +
                  "<w:fldChar w:fldCharType=\"begin\"><w:ffData><w:name w:val=\"" + name +
                  "\"/><w:enabled/><w:calcOnExit w:val=\"0\"/><w:textInput>";
            if (!in.defaultText.empty())
                x_ += "<w:default w:val=\"" + escape(in.defaultText) + "\"/>";
            x_ += "</w:textInput></w:ffData></w:fldChar></w:r>";
            x_ += "<w:r>" + runProps +
                  "<w:instrText xml:space=\"preserve\"> FORMTEXT </w:instrText></w:r>";
            x_ += "<w:r>" + runProps + "<w:fldChar w:fldCharType=\"separate\"/></w:r>";
            runs(in.text,
                 runProps.empty() ? "<w:rPr><w:u w:val=\"single\"/></w:rPr>"
                                  : "<w:rPr><w:b/><w:u w:val=\"single\"/></w:rPr>",
                 start);
            x_ += "<w:r>" + runProps + "<w:fldChar w:fldCharType=\"end\"/></w:r>";
            x_ += "<w:bookmarkEnd w:id=\"" + id + "\"/>";
        }
        x_ += "</w:p>";
    }

    void table(const Table& t) {
        const int width = std::accumulate(t.columnWidths.begin(), t.columnWidths.end(), 0);
        x_ += "<w:tbl><w:tblPr><w:tblW w:w=\"" + std::to_string(width) +
              "\" w:type=\"dxa\"/><w:jc w:val=\"center\"/><w:tblBorders>";
        for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"})
            x_ += std::string("<w:") + side +
                  " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>";
        x_ +=
            "</w:tblBorders><w:tblLayout w:type=\"fixed\"/><w:tblCellMar><w:left w:w=\"85\" "
            "w:type=\"dxa\"/><w:right w:w=\"85\" w:type=\"dxa\"/></w:tblCellMar>"
            "<w:tblLook w:val=\"0000\"/></w:tblPr><w:tblGrid>";
        for (int w : t.columnWidths) x_ += "<w:gridCol w:w=\"" + std::to_string(w) + "\"/>";
        x_ += "</w:tblGrid>";
        for (const TableRow& row : t.rows) {
            x_ += "<w:tr><w:trPr><w:cantSplit/>";
            if (row.minHeight > 0)
                x_ += "<w:trHeight w:val=\"" + std::to_string(row.minHeight) +
                      "\" w:hRule=\"atLeast\"/>";
            x_ += "</w:trPr>";
            std::size_t column = 0;
            for (const Cell& cell : row.cells) {
                if (cell.span < 1 ||
                    column + static_cast<std::size_t>(cell.span) > t.columnWidths.size())
                    throw FormError("无法写入文档：表格的单元格跨列超出表格宽度");
                int cellWidth = 0;
                for (int i = 0; i < cell.span; ++i) cellWidth += t.columnWidths[column++];
                x_ += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(cellWidth) +
                      "\" w:type=\"dxa\"/>";
                if (cell.span > 1)
                    x_ += "<w:gridSpan w:val=\"" + std::to_string(cell.span) + "\"/>";
                if (cell.label) x_ += "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"EDEDED\"/>";
                x_ += "<w:vAlign w:val=\"center\"/></w:tcPr>";
                if (cell.paragraphs.empty())
                    x_ += "<w:p/>";
                else
                    for (const Paragraph& p : cell.paragraphs) paragraph(p);
                x_ += "</w:tc>";
            }
            if (column != t.columnWidths.size())
                throw FormError("无法写入文档：表格一行的单元格跨列之和与表格列数不符");
            x_ += "</w:tr>";
        }
        x_ += "</w:tbl>";
    }

    std::string x_;
    int nextBookmark_ = 0;
};

std::string stylesXml() {
    std::string s = kXmlHead;
    s += "<w:styles ";
    s += kWordNs;
    s +=
        R"(><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="宋体" w:cs="Times New Roman"/><w:sz w:val="21"/><w:szCs w:val="21"/><w:lang w:val="en-US" w:eastAsia="zh-CN" w:bidi="ar-SA"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after="0" w:line="300" w:lineRule="auto"/></w:pPr></w:pPrDefault></w:docDefaults>)";
    s +=
        R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/><w:qFormat/></w:style>)";
    s +=
        R"(<w:style w:type="paragraph" w:styleId="Title"><w:name w:val="Title"/><w:basedOn w:val="Normal"/><w:next w:val="Normal"/><w:qFormat/><w:pPr><w:spacing w:before="480" w:after="480"/><w:jc w:val="center"/><w:outlineLvl w:val="0"/></w:pPr><w:rPr><w:rFonts w:eastAsia="黑体"/><w:b/><w:sz w:val="44"/><w:szCs w:val="44"/></w:rPr></w:style>)";
    s +=
        R"(<w:style w:type="paragraph" w:styleId="Heading1"><w:name w:val="heading 1"/><w:basedOn w:val="Normal"/><w:next w:val="Normal"/><w:qFormat/><w:pPr><w:keepNext/><w:spacing w:before="240" w:after="120"/><w:outlineLvl w:val="0"/></w:pPr><w:rPr><w:rFonts w:eastAsia="黑体"/><w:b/><w:sz w:val="28"/><w:szCs w:val="28"/></w:rPr></w:style>)";
    s +=
        R"(<w:style w:type="paragraph" w:customStyle="1" w:styleId="Small"><w:name w:val="Small"/><w:basedOn w:val="Normal"/><w:qFormat/><w:rPr><w:sz w:val="18"/><w:szCs w:val="18"/></w:rPr></w:style>)";
    s += "</w:styles>";
    return s;
}

std::string settingsXml() {
    std::string s = kXmlHead;
    s += "<w:settings ";
    s += kWordNs;
    s +=
        R"(><w:zoom w:percent="100"/><w:defaultTabStop w:val="420"/><w:characterSpacingControl w:val="compressPunctuation"/><w:compat><w:compatSetting w:name="compatibilityMode" w:uri="http://schemas.microsoft.com/office/word" w:val="15"/></w:compat></w:settings>)";
    return s;
}

}  // namespace

std::optional<std::string> textProblem(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t c = 0;
        std::size_t len = decodeUtf8(text, at, c);
        if (len == 0) return "文本不是有效的 UTF-8 编码（第 " + std::to_string(at + 1) + " 字节）";
        const bool allowedControl = c == '\t' || c == '\n' || c == '\r' || c == '\v';
        if ((c < 0x20 && !allowedControl) || c == 0x7F || c == 0xFFFE || c == 0xFFFF) {
            static const char* hex = "0123456789ABCDEF";
            std::string code = "U+";
            for (int shift = 12; shift >= 0; shift -= 4) code += hex[(c >> shift) & 15];
            return "文本含有不能写入 Word 文档的控制字符 " + code;
        }
        at += len;
    }
    return std::nullopt;
}

std::vector<Paragraph> paragraphsOf(const std::string& text) {
    std::vector<Paragraph> result(1);
    std::string current;
    auto finish = [&] {
        if (!current.empty()) result.back().inlines.push_back(Inline::plain(current));
        current.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            finish();
            result.emplace_back();
        } else {
            current += text[i];
        }
    }
    finish();
    return result;
}

std::string buildDocx(const DocumentModel& model) {
    std::string document = DocumentXml().build(model);
    if (auto problem = textProblem(model.title)) throw FormError("无法写入文档标题：" + *problem);

    std::string contentTypes = kXmlHead;
    contentTypes +=
        R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/><Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/><Override PartName="/word/settings.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"/><Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/></Types>)";
    std::string rels = kXmlHead;
    rels +=
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" Target="docProps/core.xml"/></Relationships>)";
    std::string documentRels = kXmlHead;
    documentRels +=
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings" Target="settings.xml"/></Relationships>)";
    std::string core = kXmlHead;
    core +=
        R"(<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>)" +
        escape(model.title) + "</dc:title></cp:coreProperties>";

    return packZip({{"[Content_Types].xml", contentTypes},
                    {"_rels/.rels", rels},
                    {"docProps/core.xml", core},
                    {"word/document.xml", document},
                    {"word/_rels/document.xml.rels", documentRels},
                    {"word/styles.xml", stylesXml()},
                    {"word/settings.xml", settingsXml()}});
}

}  // namespace xinghe::forms
