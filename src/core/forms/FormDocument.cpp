#include "core/forms/FormDocument.h"

#include <pugixml.hpp>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <unordered_map>
#include <vector>

#include "core/forms/LibreOffice.h"
#include "core/forms/ZipPackage.h"

namespace xinghe::forms {

namespace fs = std::filesystem;

namespace {

// Bookmark names are compared as Word compares them: without regard to ASCII case.
std::string foldName(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

// Element and attribute names are matched by local name: the prefix is whatever the writer
// chose, and transitional and strict documents use different namespace URIs.
std::string_view localName(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

const char* attribute(pugi::xml_node node, std::string_view local) {
    for (pugi::xml_attribute a : node.attributes())
        if (localName(a.name()) == local) return a.value();
    return nullptr;
}

pugi::xml_node child(pugi::xml_node node, std::string_view local) {
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element && localName(c.name()) == local) return c;
    return {};
}

void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        if (c >= 0xD800 && c < 0xE000) return;
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x110000) {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_doctype;

// Parses one package part in place. Word never writes a DTD, and entity declarations are
// the way to an expansion bomb, so a part with a DOCTYPE is refused outright.
void parsePart(pugi::xml_document& xml, std::string& data, const std::string& part) {
    pugi::xml_parse_result parsed =
        xml.load_buffer_inplace(data.data(), data.size(), kParseOptions);
    if (!parsed)
        throw FormError("文档已损坏：" + part + " 不是有效的 XML（" + parsed.description() +
                        "，位置 " + std::to_string(parsed.offset) + "）");
    for (pugi::xml_node n : xml.children())
        if (n.type() == pugi::node_doctype)
            throw FormError("文档 " + part +
                            " 含有 DTD 声明（DOCTYPE），Word 文档不会有，拒绝读取");
}

// The target of the first relationship whose type ends in `/kind`, resolved against
// `baseDir` (the folder of the part the relationships belong to).
std::optional<std::string> relationshipTarget(const ZipReader& zip, const std::string& relsPart,
                                              const std::string& baseDir, std::string_view kind) {
    std::optional<std::string> data = zip.read(relsPart, 4 * 1024 * 1024);
    if (!data) return std::nullopt;
    pugi::xml_document xml;
    parsePart(xml, *data, relsPart);
    for (pugi::xml_node rel : xml.document_element().children()) {
        const char* type = attribute(rel, "Type");
        const char* target = attribute(rel, "Target");
        const char* mode = attribute(rel, "TargetMode");
        if (!type || !target || (mode && std::string_view(mode) == "External")) continue;
        std::string_view t(type);
        if (t.size() <= kind.size() || t.substr(t.size() - kind.size()) != kind ||
            t[t.size() - kind.size() - 1] != '/')
            continue;
        std::string path = target[0] == '/' ? std::string(target + 1) : baseDir + target;
        // Resolve "." and ".." segments.
        std::vector<std::string> segments;
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find('/', start);
            if (end == std::string::npos) end = path.size();
            std::string segment = path.substr(start, end - start);
            if (segment == "..") {
                if (!segments.empty()) segments.pop_back();
            } else if (!segment.empty() && segment != ".") {
                segments.push_back(segment);
            }
            start = end + 1;
        }
        std::string resolved;
        for (const auto& s : segments) resolved += (resolved.empty() ? "" : "/") + s;
        return resolved;
    }
    return std::nullopt;
}

enum class Kind {
    Descend,
    Skip,
    Text,
    Tab,
    Break,
    LineBreak,
    NoBreakHyphen,
    Symbol,
    FieldChar,
    BookmarkStart,
    BookmarkEnd,
    Paragraph,
    Table,
    Row,
    Cell,
    ContentControl,
};

struct NamedKind {
    std::string_view name;
    Kind kind;
};

constexpr NamedKind kKinds[] = {
    {"t", Kind::Text},
    {"tab", Kind::Tab},
    {"ptab", Kind::Tab},
    {"br", Kind::Break},
    {"cr", Kind::LineBreak},
    {"noBreakHyphen", Kind::NoBreakHyphen},
    {"sym", Kind::Symbol},
    {"fldChar", Kind::FieldChar},
    {"bookmarkStart", Kind::BookmarkStart},
    {"bookmarkEnd", Kind::BookmarkEnd},
    {"p", Kind::Paragraph},
    {"tbl", Kind::Table},
    {"tr", Kind::Row},
    {"tc", Kind::Cell},
    {"sdt", Kind::ContentControl},
    // Deleted and moved-away text, field instructions, properties and drawings are not part
    // of the text Word gives for a range.
    {"del", Kind::Skip},
    {"moveFrom", Kind::Skip},
    {"delText", Kind::Skip},
    {"instrText", Kind::Skip},
    {"delInstrText", Kind::Skip},
    {"softHyphen", Kind::Skip},
    {"pPr", Kind::Skip},
    {"rPr", Kind::Skip},
    {"tblPr", Kind::Skip},
    {"tblPrEx", Kind::Skip},
    {"trPr", Kind::Skip},
    {"tcPr", Kind::Skip},
    {"tblGrid", Kind::Skip},
    {"sectPr", Kind::Skip},
    {"sdtPr", Kind::Skip},
    {"sdtEndPr", Kind::Skip},
    {"drawing", Kind::Skip},
    {"pict", Kind::Skip},
    {"object", Kind::Skip},
    {"AlternateContent", Kind::Skip},
    {"fldData", Kind::Skip},
};

// Called for every element, so the names are bucketed by length and compared directly.
Kind kindOf(std::string_view local) {
    constexpr std::size_t kLongest = 17;
    static const auto buckets = [] {
        std::array<std::vector<NamedKind>, kLongest> b;
        for (const NamedKind& k : kKinds) b[k.name.size()].push_back(k);
        return b;
    }();
    if (local.size() >= kLongest) return Kind::Descend;
    for (const NamedKind& k : buckets[local.size()])
        if (k.name == local) return k.kind;
    return Kind::Descend;
}

}  // namespace

// One pass over the body: builds the text and records every bookmark, form field result,
// content control and table cell as a span of it.
class DocumentIndexer {
public:
    static FormDocument build(const ZipReader& zip, const std::string& mainPart,
                              std::string& body) {
        FormDocument doc;
        {
            pugi::xml_document xml;
            parsePart(xml, body, mainPart);
            pugi::xml_node root = xml.document_element();
            pugi::xml_node content = child(root, "body");
            if (localName(root.name()) != "document" || !content)
                throw FormError("不是 Word 文档：" + mainPart + " 中没有正文（w:body）");
            doc.text_.reserve(body.size() / 8);
            DocumentIndexer(doc).run(content);
        }
        readDocumentVariables(zip, mainPart, doc);
        return doc;
    }

private:
    explicit DocumentIndexer(FormDocument& doc) : doc_(doc), out_(doc.text_) {}

    // The document variable "status" from the settings part. Only the lock marker needs it,
    // so a settings part that cannot be read leaves the marker to the other sources.
    static void readDocumentVariables(const ZipReader& zip, const std::string& mainPart,
                                      FormDocument& doc) {
        const std::size_t slash = mainPart.rfind('/');
        const std::string dir = slash == std::string::npos ? "" : mainPart.substr(0, slash + 1);
        const std::string file = mainPart.substr(dir.size());
        try {
            std::string settingsPart =
                relationshipTarget(zip, dir + "_rels/" + file + ".rels", dir, "settings")
                    .value_or(dir + "settings.xml");
            std::optional<std::string> data = zip.read(settingsPart);
            if (!data) return;
            pugi::xml_document xml;
            parsePart(xml, *data, settingsPart);
            pugi::xml_node vars = child(xml.document_element(), "docVars");
            for (pugi::xml_node var : vars.children()) {
                if (var.type() != pugi::node_element || localName(var.name()) != "docVar") continue;
                const char* name = attribute(var, "name");
                const char* value = attribute(var, "val");
                if (name && value && foldName(name) == "status") {
                    doc.statusVariable_ = value;
                    return;
                }
            }
        } catch (const FormError&) {
        }
    }

    void run(pugi::xml_node root) {
        // Iterative walk: a deeply nested document cannot exhaust the stack.
        pugi::xml_node node = root.first_child();
        while (node) {
            if (node.type() == pugi::node_element) {
                Kind kind = kindOf(localName(node.name()));
                if (enter(node, kind)) {
                    if (pugi::xml_node first = node.first_child()) {
                        node = first;
                        continue;
                    }
                    leave(kind);
                }
            }
            for (;;) {
                if (pugi::xml_node next = node.next_sibling()) {
                    node = next;
                    break;
                }
                node = node.parent();
                if (!node || node == root) {
                    node = pugi::xml_node();
                    break;
                }
                leave(kindOf(localName(node.name())));
            }
        }
    }

private:
    struct Field {
        bool inResult = false;
        std::string formFieldName;
        std::size_t resultStart = 0;
    };
    struct OpenTable {
        bool topLevel = false;
        std::size_t cellStart = 0;
    };
    struct OpenControl {
        bool isStatus = false;
        std::size_t start = 0;
    };

    bool emitting() const { return fieldsInInstruction_ == 0; }
    void emit(std::string_view text) {
        if (emitting()) out_.append(text);
    }
    FormDocument::Table* currentTopTable() {
        if (tables_.empty() || !tables_.back().topLevel || doc_.tables_.empty()) return nullptr;
        return &doc_.tables_.back();
    }

    // Returns whether to walk into the element's children.
    bool enter(pugi::xml_node node, Kind kind) {
        switch (kind) {
            case Kind::Descend:
                return true;
            case Kind::Skip:
                return false;
            case Kind::Text:
                if (emitting())
                    for (pugi::xml_node c : node.children())
                        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
                            out_.append(c.value());
                return false;
            case Kind::Tab:
                emit("\t");
                return false;
            case Kind::Break: {
                const char* type = attribute(node, "type");
                std::string_view t = type ? type : "";
                emit(t == "page" ? "\f" : t == "column" ? "\x0e" : "\v");
                return false;
            }
            case Kind::LineBreak:
                emit("\v");
                return false;
            case Kind::NoBreakHyphen:
                emit("-");
                return false;
            case Kind::Symbol:
                symbol(node);
                return false;
            case Kind::FieldChar:
                fieldChar(node);
                return false;
            case Kind::BookmarkStart: {
                const char* id = attribute(node, "id");
                const char* name = attribute(node, "name");
                if (id && name && *name) openBookmarks_[id] = {foldName(name), out_.size()};
                return false;
            }
            case Kind::BookmarkEnd: {
                const char* id = attribute(node, "id");
                if (!id) return false;
                auto it = openBookmarks_.find(id);
                if (it == openBookmarks_.end()) return false;
                doc_.bookmarks_.try_emplace(std::move(it->second.first),
                                            FormDocument::Span{it->second.second, out_.size()});
                openBookmarks_.erase(it);
                return false;
            }
            case Kind::Paragraph:
                return true;
            case Kind::Table:
                if (tables_.empty()) doc_.tables_.emplace_back();
                tables_.push_back({tables_.empty(), out_.size()});
                return true;
            case Kind::Row:
                if (FormDocument::Table* table = currentTopTable()) table->emplace_back();
                return true;
            case Kind::Cell:
                if (!tables_.empty()) tables_.back().cellStart = out_.size();
                return true;
            case Kind::ContentControl:
                controls_.push_back({isStatusControl(node), out_.size()});
                return true;
        }
        return true;
    }

    void leave(Kind kind) {
        switch (kind) {
            case Kind::Paragraph:
                emit("\r");
                break;
            case Kind::Table:
                if (!tables_.empty()) tables_.pop_back();
                break;
            case Kind::Cell:
                if (FormDocument::Table* table = currentTopTable(); table && !table->empty())
                    table->back().push_back({tables_.back().cellStart, out_.size()});
                break;
            case Kind::ContentControl:
                if (!controls_.empty()) {
                    if (controls_.back().isStatus && !doc_.statusControl_)
                        doc_.statusControl_ =
                            FormDocument::Span{controls_.back().start, out_.size()};
                    controls_.pop_back();
                }
                break;
            default:
                break;
        }
    }

    void fieldChar(pugi::xml_node node) {
        const char* type = attribute(node, "fldCharType");
        std::string_view t = type ? type : "";
        if (t == "begin") {
            Field field;
            if (pugi::xml_node ff = child(node, "ffData"))
                if (pugi::xml_node name = child(ff, "name"))
                    if (const char* value = attribute(name, "val")) field.formFieldName = value;
            fields_.push_back(std::move(field));
            ++fieldsInInstruction_;
        } else if (t == "separate") {
            if (!fields_.empty() && !fields_.back().inResult) {
                fields_.back().inResult = true;
                --fieldsInInstruction_;
                fields_.back().resultStart = out_.size();
            }
        } else if (t == "end") {
            if (fields_.empty()) return;
            Field field = std::move(fields_.back());
            fields_.pop_back();
            if (!field.inResult) {
                --fieldsInInstruction_;
                field.resultStart = out_.size();
            }
            if (!field.formFieldName.empty())
                doc_.formFields_.try_emplace(foldName(field.formFieldName),
                                             FormDocument::Span{field.resultStart, out_.size()});
        }
    }

    void symbol(pugi::xml_node node) {
        const char* code = attribute(node, "char");
        if (!code || !emitting()) return;
        char* end = nullptr;
        unsigned long c = std::strtoul(code, &end, 16);
        if (end == code) return;
        // Symbol fonts put their characters at F000-F0FF; the low byte is the character.
        if (c >= 0xF000 && c <= 0xF0FF) c -= 0xF000;
        if (c >= 0x20) appendUtf8(out_, static_cast<std::uint32_t>(c));
    }

    static bool isStatusControl(pugi::xml_node sdt) {
        pugi::xml_node props = child(sdt, "sdtPr");
        for (std::string_view which : {"tag", "alias"})
            if (pugi::xml_node n = child(props, which))
                if (const char* value = attribute(n, "val"); value && foldName(value) == "status")
                    return true;
        return false;
    }

    FormDocument& doc_;
    std::string& out_;
    std::vector<Field> fields_;
    int fieldsInInstruction_ = 0;
    std::vector<OpenTable> tables_;
    std::vector<OpenControl> controls_;
    std::unordered_map<std::string, std::pair<std::string, std::size_t>> openBookmarks_;
};

namespace {

enum class FileKind {
    WordBinary,
    EncryptedPackage,
    EncryptedWordBinary,
    OtherCompound,
    Rtf,
    Unknown
};

std::uint16_t le16(const std::string& d, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(d[at]) |
                                      static_cast<unsigned char>(d[at + 1]) << 8);
}
std::uint32_t le32(const std::string& d, std::size_t at) {
    return static_cast<std::uint32_t>(le16(d, at)) | static_cast<std::uint32_t>(le16(d, at + 2))
                                                         << 16;
}

// An OLE compound file is a Word 97-2003 document when it holds a "WordDocument" stream,
// and an encrypted Office Open XML document when it holds "EncryptedPackage". Directory
// entries are 128-byte records at 128-byte boundaries after the header, so they are found by
// scanning without following the allocation table.
FileKind classifyCompound(const std::string& data) {
    auto entryNamed = [&](std::size_t at, std::string_view name) {
        if (at + 128 > data.size()) return false;
        if (le16(data, at + 64) != (name.size() + 1) * 2 || data[at + 66] != 2) return false;
        for (std::size_t i = 0; i < name.size(); ++i)
            if (data[at + 2 * i] != name[i] || data[at + 2 * i + 1] != 0) return false;
        return le16(data, at + 2 * name.size()) == 0;
    };
    if (data.size() < 512) return FileKind::OtherCompound;
    const std::uint16_t shift = le16(data, 30);
    const std::size_t sectorSize = shift == 12 ? 4096 : 512;
    bool word = false;
    std::size_t wordEntry = 0;
    for (std::size_t at = 512; at + 128 <= data.size(); at += 128) {
        if (entryNamed(at, "EncryptedPackage")) return FileKind::EncryptedPackage;
        if (!word && entryNamed(at, "WordDocument")) {
            word = true;
            wordEntry = at;
        }
    }
    if (!word) return FileKind::OtherCompound;
    // The Word file information block opens the WordDocument stream (always larger than the
    // mini-stream cut-off, so it sits in ordinary sectors); bit 0x0100 of its flags marks a
    // document encrypted with an open password.
    const std::uint32_t start = le32(data, wordEntry + 116);
    const std::size_t fib = (static_cast<std::size_t>(start) + 1) * sectorSize;
    if (start < 0xFFFFFFFA && fib + 12 <= data.size() && le16(data, fib) == 0xA5EC &&
        (le16(data, fib + 10) & 0x0100))
        return FileKind::EncryptedWordBinary;
    return FileKind::WordBinary;
}

FormDocument indexDocx(const ZipReader& zip);

}  // namespace

FormDocument FormDocument::open(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(file, ec)) throw FormError("文档不存在：" + file.string());
    if (fs::is_directory(file, ec)) throw FormError("不是文件而是文件夹：" + file.string());
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) throw FormError("无法读取文档 " + file.string() + "：" + ec.message());
    if (size == 0) throw FormError("文档是空文件：" + file.string());

    std::ifstream in(file, std::ios::binary);
    if (!in) throw FormError("无法打开文档 " + file.string());
    std::array<char, 8> head{};
    in.read(head.data(), head.size());
    const std::string_view magic(head.data(), static_cast<std::size_t>(in.gcount()));

    if (magic.starts_with("PK\x03\x04") || magic.starts_with("PK\x05\x06")) {
        in.close();
        ZipReader zip = ZipReader::openFile(file);
        return indexDocx(zip);
    }

    FileKind kind = FileKind::Unknown;
    if (magic == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        constexpr std::uintmax_t kMaxBinary = 512ull * 1024 * 1024;
        if (size > kMaxBinary)
            throw FormError("文档过大（超过 512 MiB），拒绝读取：" + file.string());
        std::string data(static_cast<std::size_t>(size), '\0');
        in.seekg(0);
        in.read(data.data(), static_cast<std::streamsize>(data.size()));
        if (static_cast<std::uintmax_t>(in.gcount()) != size)
            throw FormError("无法完整读取文档 " + file.string());
        kind = classifyCompound(data);
    } else if (magic.starts_with("{\\rtf")) {
        kind = FileKind::Rtf;
    }
    in.close();

    switch (kind) {
        case FileKind::EncryptedPackage:
        case FileKind::EncryptedWordBinary:
            throw FormError("文档已加密（设置了打开密码），无法读取：" + file.string());
        case FileKind::OtherCompound:
            throw FormError("不是 Word 文档（是其他 Office 复合文档）：" + file.string());
        case FileKind::Unknown:
            throw FormError("不是 Word 文档（.docx 或 .doc）：" + file.string());
        case FileKind::WordBinary:
        case FileKind::Rtf:
            break;
    }
    const std::string converted = convertWithLibreOffice(file, "docx");
    try {
        return fromDocxBytes(converted);
    } catch (const FormError& e) {
        throw FormError("LibreOffice 转换后的文档无法读取（" + file.filename().string() + "）：" +
                        e.what());
    }
}

FormDocument FormDocument::fromDocxBytes(std::string_view bytes) {
    if (bytes.empty()) throw FormError("文档是空的");
    ZipReader zip = ZipReader::openBytes(bytes);
    return indexDocx(zip);
}

namespace {

FormDocument indexDocx(const ZipReader& zip) {
    std::string mainPart =
        relationshipTarget(zip, "_rels/.rels", "", "officeDocument").value_or("word/document.xml");
    std::optional<std::string> body = zip.read(mainPart);
    if (!body) throw FormError("不是 Word 文档：压缩包中没有正文部件 " + mainPart);
    return DocumentIndexer::build(zip, mainPart, *body);
}

}  // namespace

bool FormDocument::hasBookmark(std::string_view name) const {
    const std::string key = foldName(name);
    return bookmarks_.count(key) || formFields_.count(key);
}

std::optional<std::string> FormDocument::bookmarkText(std::string_view name) const {
    const std::string key = foldName(name);
    if (auto it = bookmarks_.find(key); it != bookmarks_.end()) return slice(it->second);
    if (auto it = formFields_.find(key); it != formFields_.end()) return slice(it->second);
    return std::nullopt;
}

std::optional<std::string> FormDocument::lockMarker() const {
    if (auto text = bookmarkText("status")) return text;
    if (statusControl_) return slice(*statusControl_);
    return statusVariable_;
}

int FormDocument::tableCount() const {
    return static_cast<int>(tables_.size());
}

int FormDocument::rowCount(int table) const {
    if (table < 1 || table > tableCount()) return 0;
    return static_cast<int>(tables_[static_cast<std::size_t>(table - 1)].size());
}

const FormDocument::Row* FormDocument::findRow(int table, int row) const {
    if (row < 1 || row > rowCount(table)) return nullptr;
    return &tables_[static_cast<std::size_t>(table - 1)][static_cast<std::size_t>(row - 1)];
}

int FormDocument::cellCount(int table, int row) const {
    const Row* r = findRow(table, row);
    return r ? static_cast<int>(r->size()) : 0;
}

std::optional<std::string> FormDocument::cellText(int table, int row, int column) const {
    const Row* r = findRow(table, row);
    if (!r || column < 1 || column > static_cast<int>(r->size())) return std::nullopt;
    return slice((*r)[static_cast<std::size_t>(column - 1)]);
}

std::string cellValue(std::string_view text) {
    return std::string(text.substr(0, text.find('\r')));
}

}  // namespace xinghe::forms
