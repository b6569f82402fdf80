// Small helpers shared by the form tests: hand-made .docx and compound files, temporary
// folders and environment variables.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/forms/ZipPackage.h"

namespace formtest {

inline constexpr const char* kNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

inline std::string documentXml(std::string_view body) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document ") + kNamespaces +
           "><w:body>" + std::string(body) + "</w:body></w:document>";
}

// A .docx whose body is `body`; `settings` is the inside of w:settings when given.
inline std::string docxWithBody(std::string_view body, std::optional<std::string> settings = {}) {
    std::vector<std::pair<std::string, std::string>> parts = {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\"?><Types "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {"_rels/.rels",
         "<?xml version=\"1.0\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
         "Id=\"rId1\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
         "officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
        {"word/document.xml", documentXml(body)}};
    if (settings)
        parts.emplace_back("word/settings.xml", std::string("<?xml version=\"1.0\"?><w:settings ") +
                                                    kNamespaces + ">" + *settings +
                                                    "</w:settings>");
    return xinghe::forms::packZip(parts);
}

// The bytes of an OLE compound file whose directory holds the named streams. With
// `encryptedWord`, the WordDocument stream starts with a file information block whose
// "encrypted" flag is set.
inline std::string compoundFile(const std::vector<std::string>& streams,
                                bool encryptedWord = false) {
    std::string data(512 * 4, '\0');
    const char magic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    data.replace(0, 8, magic, 8);
    data[30] = 9;  // 512-byte sectors
    auto put16 = [&](std::size_t at, unsigned v) {
        data[at] = static_cast<char>(v & 0xFF);
        data[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    };
    auto entry = [&](std::size_t at, const std::string& name, char type, unsigned start) {
        for (std::size_t i = 0; i < name.size(); ++i) data[at + 2 * i] = name[i];
        put16(at + 64, static_cast<unsigned>((name.size() + 1) * 2));
        data[at + 66] = type;
        put16(at + 116, start);
    };
    // Directory in sector 0 (file offset 512); the WordDocument stream in sector 2.
    entry(512, "Root Entry", 5, 0xFFFE);
    std::size_t at = 512 + 128;
    for (const std::string& name : streams) {
        entry(at, name, 2, 2);
        at += 128;
    }
    put16(512 * 3, 0xA5EC);
    put16(512 * 3 + 10, encryptedWord ? 0x0100 : 0);
    return data;
}

class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "xinghe-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path write(const std::string& name, std::string_view bytes) const {
        std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

private:
    std::filesystem::path path_;
};

// Sets (or with nullopt, unsets) an environment variable for the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Control characters spelled out, so that a failing comparison can be read.
inline std::string visible(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\r':
                out += "\\r";
                break;
            case '\v':
                out += "\\v";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace formtest
