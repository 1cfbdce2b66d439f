#include "printer/PrintQueue.h"

#include <cstring>
#include <cups/cups.h>

namespace morvik {

namespace {

// A scheduler that does not answer within this time counts as not running.
constexpr int kConnectTimeoutMs = 5000;
constexpr double kPointsPerInch = 72.0;
constexpr double kHundredthsMmPerInch = 2540.0;
constexpr double kCentimetresPerInch = 2.54;
// What a printer that states no resolution is taken to print at.
constexpr int kFallbackDpi = 300;

double points(int hundredthsOfMm) {
    return hundredthsOfMm * kPointsPerInch / kHundredthsMmPerInch;
}

std::string schedulerFailure(const std::string& detail) {
    return "the print scheduler (" + std::string(cupsServer()) + ") cannot be reached: " + detail;
}

// One connection to the scheduler for one request, so that a scheduler going away between
// two steps of it is seen as such.
class Connection {
public:
    // libcups keeps no usable reason for a failed connection (its errno is whatever the
    // clean-up left, "Host is down" even for a local socket), so none is made up.
    Connection()
        : http_(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             kConnectTimeoutMs, nullptr)) {
        if (http_ == nullptr)
            failure_ = schedulerFailure("nothing answers there");
    }
    ~Connection() {
        if (http_ != nullptr)
            httpClose(http_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    http_t* http() const { return http_; }
    const std::string& failure() const { return failure_; }

private:
    http_t* http_;
    std::string failure_;
};

// Why the last request about printer `name` failed.
std::string lastFailure(const std::string& name) {
    const ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_ERROR_NOT_FOUND)
        return "there is no printer named \"" + name + "\"";
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || status == IPP_STATUS_ERROR_INTERNAL)
        return schedulerFailure(cupsLastErrorString());
    // The scheduler's own sentences mostly name the printer already.
    const std::string said = cupsLastErrorString();
    const std::string quoted = "\"" + name + "\"";
    return said.find(quoted) != std::string::npos ? said : "printer " + quoted + ": " + said;
}

// Printer `name` as the scheduler describes it; nullptr with `failure` set when it has
// none of that name or cannot be asked.
cups_dest_t* namedPrinter(const Connection& connection, const std::string& name,
                          std::string& failure) {
    cups_dest_t* dest = cupsGetNamedDest(connection.http(), name.c_str(), nullptr);
    if (dest == nullptr)
        failure = lastFailure(name);
    return dest;
}

int dotsPerInch(ipp_attribute_t* resolution) {
    if (resolution == nullptr || ippGetValueTag(resolution) != IPP_TAG_RESOLUTION)
        return 0;
    int y = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    const int x = ippGetResolution(resolution, 0, &y, &units);
    return units == IPP_RES_PER_CM ? static_cast<int>(x * kCentimetresPerInch + 0.5) : x;
}

} // namespace

QueueAnswer<PrinterList> listPrinters() {
    QueueAnswer<PrinterList> answer;
    const Connection connection;
    if (connection.http() == nullptr) {
        answer.failure = connection.failure();
        return answer;
    }
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(connection.http(), &dests);
    // A scheduler without printers answers "not found"; that is an empty list.
    if (count == 0 && cupsLastError() > IPP_STATUS_OK_CONFLICTING &&
        cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
        answer.failure = schedulerFailure(cupsLastErrorString());
        return answer;
    }
    PrinterList list;
    for (int i = 0; i < count; ++i) {
        // An instance ("name/instance") is a set of options, not another printer.
        if (dests[i].instance != nullptr)
            continue;
        list.names.emplace_back(dests[i].name);
        if (dests[i].is_default)
            list.defaultName = dests[i].name;
    }
    cupsFreeDests(count, dests);
    answer.value = std::move(list);
    return answer;
}

QueueAnswer<QueuePaper> printerPaper(const std::string& name) {
    QueueAnswer<QueuePaper> answer;
    const Connection connection;
    if (connection.http() == nullptr) {
        answer.failure = connection.failure();
        return answer;
    }
    cups_dest_t* dest = namedPrinter(connection, name, answer.failure);
    if (dest == nullptr)
        return answer;
    cups_dinfo_t* info = cupsCopyDestInfo(connection.http(), dest);
    cups_size_t size{};
    if (info == nullptr || !cupsGetDestMediaDefault(connection.http(), dest, info, 0, &size)) {
        answer.failure = "printer \"" + name + "\" names no paper: " + cupsLastErrorString();
    } else {
        QueuePaper paper;
        paper.media = size.media;
        paper.width = points(size.width);
        paper.height = points(size.length);
        paper.left = points(size.left);
        paper.top = points(size.top);
        paper.right = points(size.right);
        paper.bottom = points(size.bottom);
        paper.dotsPerInch =
            dotsPerInch(cupsFindDestDefault(connection.http(), dest, info, "printer-resolution"));
        if (paper.dotsPerInch <= 0)
            paper.dotsPerInch = dotsPerInch(
                cupsFindDestSupported(connection.http(), dest, info, "printer-resolution"));
        if (paper.dotsPerInch <= 0)
            paper.dotsPerInch = kFallbackDpi;
        answer.value = paper;
    }
    cupsFreeDestInfo(info);
    cupsFreeDests(1, dest);
    return answer;
}

std::optional<std::string> sendPdfJob(const std::string& name, const std::string& title,
                                      std::string_view pdf, const QueueCopies& copies) {
    const Connection connection;
    if (connection.http() == nullptr)
        return connection.failure();
    std::string failure;
    cups_dest_t* dest = namedPrinter(connection, name, failure);
    if (dest == nullptr)
        return failure;
    cupsFreeDests(1, dest);

    cups_option_t* options = nullptr;
    int optionCount = 0;
    if (copies.count > 1) {
        optionCount =
            cupsAddOption(CUPS_COPIES, std::to_string(copies.count).c_str(), optionCount, &options);
        optionCount =
            cupsAddOption("Collate", copies.collate ? "True" : "False", optionCount, &options);
    }
    http_t* http = connection.http();
    const int job = cupsCreateJob(http, name.c_str(), title.c_str(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (job == 0)
        return lastFailure(name);
    if (cupsStartDocument(http, name.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
            HTTP_STATUS_CONTINUE ||
        cupsWriteRequestData(http, pdf.data(), pdf.size()) != HTTP_STATUS_CONTINUE ||
        cupsFinishDocument(http, name.c_str()) != IPP_STATUS_OK) {
        const std::string why = lastFailure(name);
        cupsCancelJob2(http, name.c_str(), job, 0);
        return why;
    }
    return std::nullopt;
}

} // namespace morvik
