#pragma once
// A print scheduler (CUPS) of the tests' own: its configuration, spool, cache and logs in
// a temporary folder, listening on its own socket, with queues that print into PDF files
// through the cups-pdf backend. The machine's own printing is never asked or changed: the
// process's CUPS_SERVER (and libcups's own server) point at the private socket while the scheduler
// lives. The only file outside the folder is the backend's settings for these queues, which it
// reads from /etc/cups/cups-pdf-<tag>.conf for a device "cups-pdf:/<tag>"; it goes with the
// scheduler.
//
// It needs root (cupsd runs the cups-pdf backend as root only, and /etc/cups is root's),
// cupsd (Debian package cups) and the backend (printer-driver-cups-pdf); where one is
// missing, skipReason() says which.

#include <string>
#include <sys/types.h>
#include <vector>

namespace morvik::test {

// A queue's one paper, in points: size, printable area (from the lower left corner, as
// PPD files give it) and resolution.
struct QueuePaperSpec {
    std::string name; // PPD name: "A4", "Letter"
    int width;
    int height;
    int left;
    int bottom;
    int right; // right and top edges of the printable area
    int top;
    int dotsPerInch;
};

class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Empty when the scheduler runs; else why it cannot.
    const std::string& skipReason() const { return skipReason_; }
    const std::string& socketPath() const { return socket_; }

    // Adds a PDF queue with `paper` as its only paper; false with the reason in `error`.
    bool addPdfQueue(const std::string& queue, const QueuePaperSpec& paper, std::string& error);
    // lpadmin, cupsreject, cupsaccept ... against this scheduler; true when it succeeded.
    bool admin(const std::string& command) const;
    // Stops the scheduler (the socket stays, nobody answers on it).
    void stop();

    // Waits until the scheduler has no job left and `count` PDF files have arrived since
    // the last call, and returns them in the order the jobs were made; fewer on timeout.
    std::vector<std::string> takeOutput(std::size_t count);
    // The scheduler's error log, for a failing test's message.
    std::string logTail() const;

private:
    bool start();
    std::string dir_;
    std::string socket_;
    std::string backendConfig_;
    std::string skipReason_;
    std::string previousServer_;
    bool hadServer_ = false;
    pid_t pid_ = -1;
    std::vector<std::string> taken_;
};

// What `command` prints on standard output, run by the shell.
std::string capture(const std::string& command);

} // namespace morvik::test
