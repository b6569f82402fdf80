// Zip packages (.docx) read and written through libzip.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xinghe::forms {

// Refuse any single part larger than this when unpacked: no form comes near it, and it keeps
// a crafted archive from filling memory.
inline constexpr std::uint64_t kMaxPartSize = 64ull * 1024 * 1024;

// A zip archive opened for reading, either from a file or from bytes in memory (which must
// outlive the reader). Throws FormError when the data is not a readable zip archive.
class ZipReader {
public:
    static ZipReader openFile(const std::filesystem::path& file);
    static ZipReader openBytes(std::string_view bytes);

    ZipReader(ZipReader&&) noexcept;
    ZipReader& operator=(ZipReader&&) noexcept;
    ~ZipReader();

    // Entry names as stored, in archive order.
    std::vector<std::string> names() const;

    // The unpacked bytes of the entry with this name (case-insensitive, as package part
    // names are), or nullopt when there is none. Throws FormError when the entry is
    // encrypted, damaged or larger than maxSize (checked before anything is unpacked).
    std::optional<std::string> read(std::string_view name,
                                    std::uint64_t maxSize = kMaxPartSize) const;

private:
    struct Handle;
    explicit ZipReader(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle_;
};

// Packs the entries, in the order given, into zip bytes. Every entry is deflated and dated
// 1980-01-01 so that the same entries always give the same bytes.
std::string packZip(const std::vector<std::pair<std::string, std::string>>& entries);

}  // namespace xinghe::forms
