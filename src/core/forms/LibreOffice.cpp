#include "core/forms/LibreOffice.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "core/forms/FormError.h"

extern char** environ;

namespace xinghe::forms {

namespace fs = std::filesystem;

namespace {

bool runnable(const fs::path& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}

// A private folder removed with everything in it when the scope ends.
class TempFolder {
public:
    TempFolder() {
        std::error_code ec;
        fs::path base = fs::temp_directory_path(ec);
        if (ec) base = "/tmp";
        std::string pattern = (base / "xinghe-soffice-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw FormError("无法创建转换用的临时文件夹 " + base.string() + "：" +
                            std::strerror(errno));
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// file:// URL of an absolute path, every byte outside the unreserved set percent-encoded.
std::string fileUrl(const fs::path& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path.string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

std::string lastLines(const fs::path& file, std::size_t maxLines) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        // LibreOffice warns about Java on machines without it; that is never the reason.
        if (line.empty() || line.find("javaldx") != std::string::npos) continue;
        lines.push_back(line);
    }
    std::string text;
    std::size_t from = lines.size() > maxLines ? lines.size() - maxLines : 0;
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (!text.empty()) text += "; ";
        text += lines[i];
    }
    return text;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    if (!in && !in.eof()) throw FormError("无法读取转换结果 " + file.string());
    return std::move(data).str();
}

}  // namespace

std::optional<fs::path> findLibreOffice() {
    if (const char* chosen = std::getenv("XINGHE_SOFFICE")) {
        if (runnable(chosen)) return fs::path(chosen);
        return std::nullopt;
    }
    const char* pathVariable = std::getenv("PATH");
    std::string_view dirs = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    for (const char* program : {"soffice", "libreoffice"}) {
        std::size_t start = 0;
        while (start <= dirs.size()) {
            std::size_t end = dirs.find(':', start);
            if (end == std::string_view::npos) end = dirs.size();
            std::string_view dir = dirs.substr(start, end - start);
            if (!dir.empty()) {
                fs::path candidate = fs::path(std::string(dir)) / program;
                if (runnable(candidate)) return candidate;
            }
            start = end + 1;
        }
    }
    return std::nullopt;
}

std::string convertWithLibreOffice(const fs::path& input, std::string_view format,
                                   std::chrono::milliseconds timeLimit) {
    const std::optional<fs::path> soffice = findLibreOffice();
    if (!soffice)
        throw FormError("未安装 LibreOffice，无法转换文档 " + input.filename().string() +
                        "（.doc 格式的文档需要 LibreOffice 才能读取；也可在 Word/WPS 中另存为 "
                        ".docx）");

    TempFolder temp;
    const fs::path inDir = temp.path() / "in";
    const fs::path outDir = temp.path() / "out";
    const fs::path profile = temp.path() / "profile";
    const fs::path log = temp.path() / "soffice.log";
    std::error_code ec;
    fs::create_directories(inDir, ec);
    if (!ec) fs::create_directories(outDir, ec);
    if (ec) throw FormError("无法创建转换用的临时文件夹：" + ec.message());

    // Work on a copy with a plain name: the original name may hold characters that
    // LibreOffice's command line or its URL handling treat specially.
    std::string extension;
    for (char c : input.extension().string().substr(input.extension().empty() ? 0 : 1)) {
        if (!std::isalnum(static_cast<unsigned char>(c)) || extension.size() >= 8) {
            extension.clear();
            break;
        }
        extension += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const fs::path source = inDir / (extension.empty() ? "form" : "form." + extension);
    fs::copy_file(input, source, ec);
    if (ec) throw FormError("无法读取文档 " + input.string() + "：" + ec.message());

    const std::string formatText(format);
    const std::string outExtension = formatText.substr(0, formatText.find(':'));
    const fs::path result = outDir / ("form." + outExtension);

    std::vector<std::string> args = {soffice->string(), "-env:UserInstallation=" + fileUrl(profile),
                                     "--headless",      "--invisible",
                                     "--nologo",        "--nodefault",
                                     "--norestore",     "--nolockcheck",
                                     "--convert-to",    formatText,
                                     "--outdir",        outDir.string(),
                                     source.string()};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // Its own process group, so a run that hangs is killed with all it started; signals
    // blocked or ignored by the caller's threads are not passed on.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGHUP);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(
        &attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    int spawnError = posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (spawnError != 0)
        throw FormError("无法启动 LibreOffice（" + soffice->string() + "）：" +
                        std::strerror(spawnError));

    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    int status = 0;
    bool finished = false;
    bool timedOut = false;
    while (!finished) {
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            finished = true;
        } else if (done < 0 && errno != EINTR) {
            finished = true;
            status = 0;
        } else if (std::chrono::steady_clock::now() >= deadline) {
            timedOut = true;
            ::kill(-pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            finished = true;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    // Anything the run left behind in its group goes too.
    ::kill(-pid, SIGKILL);

    if (timedOut)
        throw FormError(
            "LibreOffice 转换文档 " + input.filename().string() + " 超过 " +
            std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeLimit).count()) +
            " 秒仍未完成，已终止");
    std::error_code sizeError;
    if (!fs::is_regular_file(result, sizeError) || fs::file_size(result, sizeError) == 0) {
        std::string detail = lastLines(log, 3);
        std::string exit = WIFEXITED(status) ? "退出码 " + std::to_string(WEXITSTATUS(status))
                           : WIFSIGNALED(status)
                               ? "被信号 " + std::to_string(WTERMSIG(status)) + " 终止"
                               : "";
        throw FormError("LibreOffice 无法转换文档 " + input.filename().string() + "（" + exit +
                        (detail.empty() ? "" : "；" + detail) + "）");
    }
    return readFile(result);
}

}  // namespace xinghe::forms
