#include "tests/support/PrivateCups.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cups/cups.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace morvik::test {

namespace fs = std::filesystem;

namespace {

const char* const kCupsd = "/usr/sbin/cupsd";
const char* const kBackend = "/usr/lib/cups/backend/cups-pdf";
const char* const kBackendConfigDir = "/etc/cups";
constexpr auto kStartTimeout = std::chrono::seconds(15);
constexpr auto kJobTimeout = std::chrono::seconds(90);
constexpr auto kPoll = std::chrono::milliseconds(100);

void writeFile(const fs::path& file, const std::string& text) {
    std::ofstream(file) << text;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool answers(const std::string& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

std::string ppd(const std::string& queue, const QueuePaperSpec& p) {
    const std::string size = std::to_string(p.width) + " " + std::to_string(p.height);
    const std::string box = "\"<</PageSize[" + size + "]/ImagingBBox null>>setpagedevice\"\n";
    const std::string dpi = std::to_string(p.dotsPerInch);
    std::string text = "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                       "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                       "*PCFileName: \"MORVIK.PPD\"\n*Manufacturer: \"Morvik\"\n"
                       "*Product: \"(Morvik test queue)\"\n*PSVersion: \"(3010.000) 0\"\n";
    for (const char* key : {"ModelName", "ShortNickName", "NickName"})
        text += std::string("*") + key + ": \"" + queue + "\"\n";
    text += "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
            "*FileSystem: False\n*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n"
            "*TTRasterizer: Type42\n";
    for (const char* option : {"PageSize", "PageRegion"}) {
        const std::string o = option;
        text += "*OpenUI *" + o + ": PickOne\n*OrderDependency: 10 AnySetup *" + o + "\n*Default" +
                o + ": " + p.name + "\n*" + o + " " + p.name + "/" + p.name + ": " + box +
                "*CloseUI: *" + o + "\n";
    }
    text += "*DefaultImageableArea: " + p.name + "\n*ImageableArea " + p.name + "/" + p.name +
            ": \"" + std::to_string(p.left) + " " + std::to_string(p.bottom) + " " +
            std::to_string(p.right) + " " + std::to_string(p.top) + "\"\n";
    text += "*DefaultPaperDimension: " + p.name + "\n*PaperDimension " + p.name + "/" + p.name +
            ": \"" + size + "\"\n";
    text += "*OpenUI *Resolution: PickOne\n*OrderDependency: 10 AnySetup *Resolution\n"
            "*DefaultResolution: " +
            dpi + "dpi\n*Resolution " + dpi + "dpi/" + dpi + " dpi: \"<</HWResolution[" + dpi +
            " " + dpi +
            "]>>setpagedevice\"\n"
            "*CloseUI: *Resolution\n*DefaultFont: Courier\n"
            "*Font Courier: Standard \"(002.004S)\" Standard ROM\n";
    return text;
}

} // namespace

std::string capture(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

PrivateCups::PrivateCups() {
    if (::geteuid() != 0)
        skipReason_ = "the private print scheduler needs root (cupsd runs the cups-pdf backend "
                      "only as root, and the backend reads its settings from /etc/cups)";
    else if (!fs::exists(kCupsd))
        skipReason_ = std::string(kCupsd) + " is missing (Debian package cups)";
    else if (!fs::exists(kBackend))
        skipReason_ =
            std::string(kBackend) + " is missing (Debian package printer-driver-cups-pdf)";
    else if (!fs::is_directory(kBackendConfigDir))
        skipReason_ = std::string(kBackendConfigDir) + " is missing";
    if (skipReason_.empty() && !start() && skipReason_.empty())
        skipReason_ = "cupsd did not start: " + logTail();
}

bool PrivateCups::start() {
    char pattern[] = "/tmp/morvik-cups-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        skipReason_ = "no temporary folder for the scheduler";
        return false;
    }
    dir_ = pattern;
    // The filters run as lp and must reach the spool and the temporary files through it.
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    for (const char* sub : {"conf", "spool", "cache", "state", "tmp", "log", "out", "pdfspool"})
        fs::create_directory(fs::path(dir_) / sub);
    // The filters (as lp) write their temporary files here, as in /tmp.
    fs::permissions(fs::path(dir_) / "tmp", fs::perms::all | fs::perms::sticky_bit);
    socket_ = dir_ + "/cups.sock";
    const std::string tag = fs::path(dir_).filename().string();

    writeFile(fs::path(dir_) / "conf/cups-files.conf",
              "ServerRoot " + dir_ + "/conf\nRequestRoot " + dir_ + "/spool\nCacheDir " + dir_ +
                  "/cache\nStateDir " + dir_ + "/state\nTempDir " + dir_ + "/tmp\nAccessLog " +
                  dir_ + "/log/access_log\nErrorLog " + dir_ + "/log/error_log\nPageLog " + dir_ +
                  "/log/page_log\nPrintcap " + dir_ +
                  "/state/printcap\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                  "FileDevice No\nUser lp\nGroup lp\nSystemGroup root\n");
    writeFile(fs::path(dir_) / "conf/cupsd.conf",
              "Listen " + socket_ +
                  "\nBrowsing No\nLogLevel info\nWebInterface No\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
    // The backend's settings for "cups-pdf:/<tag>": its files stay in the folder; job ids
    // lead the file names, so the files sort in job order.
    backendConfig_ = std::string(kBackendConfigDir) + "/cups-pdf-" + tag + ".conf";
    writeFile(backendConfig_, "Out " + dir_ + "/out\nAnonDirName " + dir_ + "/out\nSpool " + dir_ +
                                  "/pdfspool\nLog " + dir_ + "/log\nGSTmp " + dir_ +
                                  "/tmp\nGrp root\nLabel 1\n");

    pid_ = ::fork();
    if (pid_ == 0) {
        const std::string log = dir_ + "/log/cupsd.out";
        std::freopen(log.c_str(), "w", stdout);
        std::freopen(log.c_str(), "a", stderr);
        const std::string conf = dir_ + "/conf/cupsd.conf";
        const std::string files = dir_ + "/conf/cups-files.conf";
        ::execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const char* previous = std::getenv("CUPS_SERVER");
    hadServer_ = previous != nullptr;
    previousServer_ = previous != nullptr ? previous : "";
    ::setenv("CUPS_SERVER", socket_.c_str(), 1);
    // libcups keeps the server it first found, and a connection to it, for the process:
    // the scheduler of an earlier test in it would still be asked.
    cupsSetServer(socket_.c_str());
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (answers(socket_))
            return true;
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
    return false;
}

PrivateCups::~PrivateCups() {
    stop();
    if (!backendConfig_.empty())
        fs::remove(backendConfig_);
    if (!dir_.empty()) {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    if (hadServer_)
        ::setenv("CUPS_SERVER", previousServer_.c_str(), 1);
    else if (!dir_.empty())
        ::unsetenv("CUPS_SERVER");
    if (!dir_.empty())
        cupsSetServer(nullptr);
}

void PrivateCups::stop() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

bool PrivateCups::admin(const std::string& command) const {
    return std::system(("CUPS_SERVER='" + socket_ + "' " + command + " >/dev/null 2>&1").c_str()) ==
           0;
}

bool PrivateCups::addPdfQueue(const std::string& queue, const QueuePaperSpec& paper,
                              std::string& error) {
    const fs::path file = fs::path(dir_) / (queue + ".ppd");
    writeFile(file, ppd(queue, paper));
    const std::string tag = fs::path(dir_).filename().string();
    if (admin("lpadmin -p '" + queue + "' -E -v 'cups-pdf:/" + tag + "' -P '" + file.string() +
              "'"))
        return true;
    error = "lpadmin could not add " + queue + ": " + logTail();
    return false;
}

std::vector<std::string> PrivateCups::takeOutput(std::size_t count) {
    std::vector<std::string> fresh;
    const auto deadline = std::chrono::steady_clock::now() + kJobTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const bool idle = capture("CUPS_SERVER='" + socket_ + "' lpstat -o 2>/dev/null").empty();
        fresh.clear();
        for (const auto& entry : fs::directory_iterator(fs::path(dir_) / "out"))
            if (entry.path().extension() == ".pdf" &&
                std::find(taken_.begin(), taken_.end(), entry.path().string()) == taken_.end())
                fresh.push_back(entry.path().string());
        if (idle && fresh.size() >= count)
            break;
        std::this_thread::sleep_for(kPoll);
    }
    // "job_<id>-<title>.pdf": by the job's number.
    std::sort(fresh.begin(), fresh.end(), [](const std::string& a, const std::string& b) {
        const auto id = [](const std::string& path) {
            return std::atoi(fs::path(path).filename().string().c_str() + 4);
        };
        return id(a) < id(b);
    });
    taken_.insert(taken_.end(), fresh.begin(), fresh.end());
    return fresh;
}

std::string PrivateCups::logTail() const {
    std::string log =
        readFile(fs::path(dir_) / "log/cupsd.out") + readFile(fs::path(dir_) / "log/error_log");
    constexpr std::size_t kTail = 2000;
    return log.size() > kTail ? log.substr(log.size() - kTail) : log;
}

} // namespace morvik::test
