#include "core/forms/ZipPackage.h"

#include <zip.h>

#include <ctime>

#include "core/forms/FormError.h"

namespace xinghe::forms {

struct ZipReader::Handle {
    zip_t* archive = nullptr;
    ~Handle() {
        if (archive) zip_discard(archive);
    }
};

namespace {

std::string openFailure(int code, const std::string& what) {
    switch (code) {
        case ZIP_ER_NOZIP:
            return what + "不是有效的 .docx 文档：不是 zip 压缩包，或文件已损坏、不完整";
        case ZIP_ER_INCONS:
            return what + "已损坏：zip 压缩包的目录与内容不一致";
        case ZIP_ER_OPEN:
        case ZIP_ER_NOENT:
            return what + "无法打开";
        case ZIP_ER_READ:
            return what + "读取失败";
        case ZIP_ER_MEMORY:
            return what + "读取时内存不足";
        default: {
            zip_error_t error;
            zip_error_init_with_code(&error, code);
            std::string text = what + "无法作为 zip 压缩包读取：" + zip_error_strerror(&error);
            zip_error_fini(&error);
            return text;
        }
    }
}

}  // namespace

ZipReader::ZipReader(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
ZipReader::ZipReader(ZipReader&&) noexcept = default;
ZipReader& ZipReader::operator=(ZipReader&&) noexcept = default;
ZipReader::~ZipReader() = default;

ZipReader ZipReader::openFile(const std::filesystem::path& file) {
    int code = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY, &code);
    if (!archive) throw FormError(openFailure(code, "文档 " + file.string() + " "));
    auto handle = std::make_unique<Handle>();
    handle->archive = archive;
    return ZipReader(std::move(handle));
}

ZipReader ZipReader::openBytes(std::string_view bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        throw FormError("读取文档时内存不足");
    }
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive) {
        zip_source_free(source);
        int code = zip_error_code_zip(&error);
        zip_error_fini(&error);
        throw FormError(openFailure(code, "文档"));
    }
    zip_error_fini(&error);
    auto handle = std::make_unique<Handle>();
    handle->archive = archive;
    return ZipReader(std::move(handle));
}

std::vector<std::string> ZipReader::names() const {
    std::vector<std::string> result;
    zip_int64_t count = zip_get_num_entries(handle_->archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(handle_->archive, static_cast<zip_uint64_t>(i), 0);
        if (name) result.emplace_back(name);
    }
    return result;
}

std::optional<std::string> ZipReader::read(std::string_view name, std::uint64_t maxSize) const {
    const std::string key(name);
    zip_int64_t index = zip_name_locate(handle_->archive, key.c_str(), ZIP_FL_NOCASE);
    if (index < 0) return std::nullopt;
    const auto at = static_cast<zip_uint64_t>(index);

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(handle_->archive, at, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw FormError("文档已损坏：无法读取部件 " + key + " 的信息");
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        throw FormError("文档已加密：部件 " + key + " 需要密码才能读取");
    if (stat.size > maxSize)
        throw FormError("文档部件 " + key + " 解压后有 " + std::to_string(stat.size) +
                        " 字节，超过允许的 " + std::to_string(maxSize) + " 字节，拒绝读取");

    zip_file_t* file = zip_fopen_index(handle_->archive, at, 0);
    if (!file) {
        std::string reason = zip_error_strerror(zip_get_error(handle_->archive));
        throw FormError("文档已损坏：无法打开部件 " + key + "（" + reason + "）");
    }
    std::string data(static_cast<std::size_t>(stat.size), '\0');
    std::size_t filled = 0;
    bool ok = true;
    while (filled < data.size()) {
        zip_int64_t n = zip_fread(file, data.data() + filled, data.size() - filled);
        if (n <= 0) {
            ok = false;
            break;
        }
        filled += static_cast<std::size_t>(n);
    }
    // One more read reaches the end of the entry, where libzip checks the CRC; an entry
    // that holds more than its stated size is refused as well.
    char extra;
    if (ok && zip_fread(file, &extra, 1) != 0) ok = false;
    std::string reason = ok ? "" : zip_error_strerror(zip_file_get_error(file));
    zip_fclose(file);
    if (!ok) throw FormError("文档已损坏：部件 " + key + " 无法完整解压（" + reason + "）");
    return data;
}

std::string packZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!target) throw FormError("生成文档时内存不足");
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(target);
        throw FormError("无法生成 zip 压缩包");
    }
    zip_source_keep(target);

    auto fail = [&](const std::string& what) {
        std::string reason = zip_error_strerror(zip_get_error(archive));
        zip_discard(archive);
        zip_source_free(target);
        throw FormError("生成文档失败：" + what + "（" + reason + "）");
    };

    // A fixed date makes the output depend on the entries alone.
    std::tm fixed{};
    fixed.tm_year = 100;
    fixed.tm_mon = 0;
    fixed.tm_mday = 1;
    fixed.tm_hour = 12;
    fixed.tm_isdst = -1;
    const std::time_t stamp = std::mktime(&fixed);

    for (const auto& [name, data] : entries) {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!source) fail("无法加入 " + name);
        zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            fail("无法加入 " + name);
        }
        const auto at = static_cast<zip_uint64_t>(index);
        if (zip_set_file_compression(archive, at, ZIP_CM_DEFLATE, 9) != 0 ||
            zip_file_set_mtime(archive, at, stamp, 0) != 0)
            fail("无法设置 " + name);
    }
    if (zip_close(archive) != 0) fail("无法写出压缩包");

    std::string bytes;
    if (zip_source_open(target) != 0) {
        zip_source_free(target);
        throw FormError("生成文档失败：无法读出压缩包");
    }
    char buffer[16384];
    zip_int64_t n;
    while ((n = zip_source_read(target, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(n));
    zip_source_close(target);
    zip_source_free(target);
    if (n < 0) throw FormError("生成文档失败：无法读出压缩包");
    return bytes;
}

}  // namespace xinghe::forms
