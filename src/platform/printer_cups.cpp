#include "platform/printer_cups.h"

#include <QDir>
#include <QFile>

#include <cups/cups.h>
#include <cups/pwg.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace platform
{

namespace
{

std::atomic<int> requestCount{0};

struct IppDeleter {
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;

// The name from a "Default name[/instance] options…" line of an lpoptions
// file; empty when the file has none.
QString DefaultFromLpoptions(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString found;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() >= 2 && words[0].compare(QLatin1StringView("Default"), Qt::CaseInsensitive) == 0)
            found = words[1].section(QLatin1Char('/'), 0, 0); // the last line wins, as in CUPS
    }
    return found;
}

QString AttrString(ipp_t *response, const char *name)
{
    ipp_attribute_t *attr = ippFindAttribute(response, name, IPP_TAG_ZERO);
    const char *text = attr ? ippGetString(attr, 0, nullptr) : nullptr;
    return text ? QString::fromUtf8(text) : QString();
}

int CollectionInt(ipp_t *col, const char *name)
{
    ipp_attribute_t *attr = ippFindAttribute(col, name, IPP_TAG_INTEGER);
    return attr ? ippGetInteger(attr, 0) : 0;
}

bool AskScheduler(const QString &name, CupsQueueInfo *out);

// The answer about the queue the start asks about first, fetched ahead.
struct Prefetch {
    std::mutex mutex;
    std::condition_variable answered;
    bool begun = false, done = false, taken = false;
    QString name;
    bool ok = false;
    CupsQueueInfo info;
    std::chrono::steady_clock::time_point when;
};

Prefetch &ThePrefetch()
{
    static Prefetch prefetch;
    return prefetch;
}

// An answer fetched ahead serves the first matching question only, and only
// while it is fresh.
constexpr auto kPrefetchFresh = std::chrono::seconds(5);

bool TakePrefetched(const QString &name, CupsQueueInfo *out, bool *ok)
{
    Prefetch &p = ThePrefetch();
    std::unique_lock lock(p.mutex);
    if (!p.begun || p.taken || p.name != name)
        return false;
    p.answered.wait(lock, [&p] { return p.done; });
    p.taken = true;
    if (std::chrono::steady_clock::now() - p.when > kPrefetchFresh)
        return false;
    *out = p.info;
    *ok = p.ok;
    return true;
}

} // namespace

QString LocalDefaultQueueName()
{
    QString name = qEnvironmentVariable("LPDEST");
    if (name.isEmpty()) {
        name = qEnvironmentVariable("PRINTER");
        if (name == QLatin1StringView("lp"))
            name.clear();
    }
    if (!name.isEmpty())
        return name.section(QLatin1Char('/'), 0, 0);
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty())
        name = DefaultFromLpoptions(home + QStringLiteral("/.cups/lpoptions"));
    if (name.isEmpty()) {
        QString root = qEnvironmentVariable("CUPS_SERVERROOT");
        if (root.isEmpty())
            root = QStringLiteral("/etc/cups");
        name = DefaultFromLpoptions(root + QStringLiteral("/lpoptions"));
    }
    return name;
}

std::function<void()> BeginDefaultQueuePrefetch()
{
    Prefetch &p = ThePrefetch();
    {
        std::lock_guard lock(p.mutex);
        if (p.begun)
            return {};
        p.begun = true;
        p.name = LocalDefaultQueueName(); // the start asks about this queue first
    }
    return [&p] {
        CupsQueueInfo info;
        const bool ok = AskScheduler(p.name, &info);
        std::lock_guard lock(p.mutex);
        p.info = info;
        p.ok = ok;
        p.when = std::chrono::steady_clock::now();
        p.done = true;
        p.answered.notify_all();
    };
}

bool QueryCupsQueue(const QString &name, CupsQueueInfo *out)
{
    bool ok = false;
    if (TakePrefetched(name, out, &ok))
        return ok;
    return AskScheduler(name, out);
}

namespace
{

bool AskScheduler(const QString &name, CupsQueueInfo *out)
{
    static const char *const kAttributes[] = {
        "printer-name",      "printer-state", "printer-state-reasons", "printer-location",
        "media-col-default", "media-default", "media-supported",       "printer-resolution-default",
        "color-supported",   "device-uri",
    };
    *out = CupsQueueInfo();
    ipp_t *request = nullptr;
    if (name.isEmpty()) {
        request = ippNewRequest(IPP_OP_CUPS_GET_DEFAULT);
    } else {
        request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                         "/printers/%s", name.toUtf8().constData());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    }
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(sizeof kAttributes / sizeof *kAttributes), nullptr, kAttributes);
    ++requestCount;
    const IppPtr response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return false;
    ipp_t *r = response.get();

    out->name = AttrString(r, "printer-name");
    if (out->name.isEmpty())
        return false;
    out->status.answered = true;
    if (ipp_attribute_t *attr = ippFindAttribute(r, "printer-state", IPP_TAG_ENUM)) {
        const int state = ippGetInteger(attr, 0);
        if (state >= 3 && state <= 5)
            out->status.state = QueueState(state);
    }
    if (ipp_attribute_t *attr = ippFindAttribute(r, "printer-state-reasons", IPP_TAG_ZERO)) {
        for (int i = 0; i < ippGetCount(attr); ++i)
            if (const char *reason = ippGetString(attr, i, nullptr))
                out->status.reasons << QString::fromUtf8(reason);
    }
    out->status.location = AttrString(r, "printer-location");

    // The default paper: the collection carries the margins, the keyword
    // the paper's name.
    out->paper.pwgName = AttrString(r, "media-default");
    if (ipp_attribute_t *attr = ippFindAttribute(r, "media-col-default", IPP_TAG_BEGIN_COLLECTION)) {
        ipp_t *col = ippGetCollection(attr, 0);
        if (ipp_attribute_t *size = ippFindAttribute(col, "media-size", IPP_TAG_BEGIN_COLLECTION)) {
            ipp_t *dims = ippGetCollection(size, 0);
            out->paper.width = CollectionInt(dims, "x-dimension");
            out->paper.height = CollectionInt(dims, "y-dimension");
        }
        out->paper.left = CollectionInt(col, "media-left-margin");
        out->paper.right = CollectionInt(col, "media-right-margin");
        out->paper.top = CollectionInt(col, "media-top-margin");
        out->paper.bottom = CollectionInt(col, "media-bottom-margin");
    }
    if (!out->paper.IsValid())
        CupsPaperSize(out->paper.pwgName, &out->paper.width, &out->paper.height);

    if (ipp_attribute_t *attr = ippFindAttribute(r, "media-supported", IPP_TAG_ZERO)) {
        for (int i = 0; i < ippGetCount(attr); ++i)
            if (const char *media = ippGetString(attr, i, nullptr))
                out->papers << QString::fromUtf8(media);
    }
    if (ipp_attribute_t *attr = ippFindAttribute(r, "printer-resolution-default", IPP_TAG_RESOLUTION)) {
        ipp_res_t units = IPP_RES_PER_INCH;
        int x = 0, y = 0;
        x = ippGetResolution(attr, 0, &y, &units);
        if (units == IPP_RES_PER_CM) {
            x = int(x * 2.54 + 0.5);
            y = int(y * 2.54 + 0.5);
        }
        if (x > 0 && y > 0) {
            out->dpiX = x;
            out->dpiY = y;
        }
    }
    if (ipp_attribute_t *attr = ippFindAttribute(r, "color-supported", IPP_TAG_BOOLEAN))
        out->color = ippGetBoolean(attr, 0) != 0;
    out->deviceUri = AttrString(r, "device-uri");
    out->writesFiles = out->deviceUri.startsWith(QLatin1StringView("cups-pdf:"));
    return true;
}

} // namespace

bool DeviceAnswers(const QString &deviceUri, int timeoutMs)
{
    char scheme[32], user[256], host[256], resource[1024];
    int port = 0;
    if (httpSeparateURI(HTTP_URI_CODING_ALL, deviceUri.toUtf8().constData(), scheme, sizeof scheme, user,
                        sizeof user, host, sizeof host, &port, resource,
                        sizeof resource) < HTTP_URI_STATUS_OK)
        return true;
    const QLatin1StringView s(scheme);
    int defaultPort = 0;
    if (s == QLatin1StringView("socket"))
        defaultPort = 9100;
    else if (s == QLatin1StringView("ipp") || s == QLatin1StringView("ipps"))
        defaultPort = 631;
    else if (s == QLatin1StringView("lpd"))
        defaultPort = 515;
    else if (s == QLatin1StringView("http"))
        defaultPort = 80;
    else if (s == QLatin1StringView("https"))
        defaultPort = 443;
    else
        return true;
    if (port <= 0)
        port = defaultPort;
    http_addrlist_t *addresses = httpAddrGetList(host, AF_UNSPEC, QByteArray::number(port).constData());
    if (!addresses)
        return false; // the printer's name is unknown
    int fd = -1;
    const bool answered = httpAddrConnect2(addresses, &fd, timeoutMs, nullptr) != nullptr;
    if (fd >= 0)
        httpAddrClose(nullptr, fd);
    httpAddrFreeList(addresses);
    return answered;
}

bool CupsPaperSize(const QString &pwgName, int *width, int *height)
{
    if (pwgName.isEmpty() || pwgName.startsWith(QLatin1StringView("custom_min_")) ||
        pwgName.startsWith(QLatin1StringView("custom_max_")))
        return false;
    const QByteArray name = pwgName.toUtf8();
    const pwg_media_t *media = pwgMediaForPWG(name.constData());
    if (!media) // a queue option may name the paper the PPD way ("Letter", "A4")
        media = pwgMediaForPPD(name.constData());
    if (!media || media->width <= 0 || media->length <= 0)
        return false;
    *width = media->width;
    *height = media->length;
    return true;
}

int CupsRequestCount()
{
    return requestCount.load();
}

} // namespace platform
