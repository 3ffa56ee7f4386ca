#pragma once
// Print queues of their own for the printing tests: created on the CUPS
// scheduler of this machine when it runs, removed again afterwards. The
// queues write PDF files (CUPS-PDF) or point at a network printer that is
// not there.

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testqueues
{

inline bool RunTool(const QString &program, const QStringList &args, QString *output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool ok = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return ok;
}

inline bool SchedulerRuns()
{
    QString out;
    RunTool(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &out);
    return out.contains(QLatin1String("is running"));
}

// A TCP port on this machine that nothing listens on.
inline int ClosedLocalPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return 9;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int port = 9;
    if (bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    close(fd); // never listened on: connections are refused
    return port;
}

class TestQueue
{
  public:
    // A CUPS-PDF queue (or one for the given device) with extra lpadmin
    // options such as {"-o", "PageSize=Letter"}.
    explicit TestQueue(const QString &tag, const QStringList &options = {},
                       const QString &deviceUri = QStringLiteral("cups-pdf:/"))
        : name_(QStringLiteral("DorlixTest%1%2").arg(tag).arg(QCoreApplication::applicationPid()))
    {
        if (!SchedulerRuns())
            return;
        QStringList args{QStringLiteral("-p"), name_, QStringLiteral("-v"), deviceUri, QStringLiteral("-E"),
                         QStringLiteral("-m"), QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"),
                         // CUPS-PDF names its files after the job's title
                         QStringLiteral("-o"), QStringLiteral("TitlePref=1")};
        ok_ = RunTool(QStringLiteral("lpadmin"), args + options, &error_);
    }
    ~TestQueue()
    {
        if (ok_)
            RunTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name_});
    }
    TestQueue(const TestQueue &) = delete;
    TestQueue &operator=(const TestQueue &) = delete;

    bool Ok() const { return ok_; }
    const QString &Name() const { return name_; }
    // Why the queue could not be made (for the skip message).
    QString Why() const
    {
        return ok_ ? QString() : (error_.isEmpty() ? QStringLiteral("kein CUPS-Scheduler") : error_);
    }

  private:
    QString name_;
    QString error_;
    bool ok_ = false;
};

} // namespace testqueues
