#include "firmware/Doctor.h"

#include "firmware/FirmwareServer.h"
#include "firmware/UpdatePortLocator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSerialPort>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace doctor {

namespace {

const char kRulesName[] = "70-korvel-mavu.rules";
const char kRulesInstall[] = "sudo cp packaging/udev/70-korvel-mavu.rules /etc/udev/rules.d/ && "
                             "sudo udevadm control --reload-rules && sudo udevadm trigger";

bool inGroup(gid_t gid, bool now)
{
    if (now) {
        gid_t groups[256];
        const int n = ::getgroups(256, groups);
        for (int i = 0; i < n; ++i) {
            if (groups[i] == gid)
                return true;
        }
        return ::getegid() == gid;
    }
    const passwd *user = ::getpwuid(::getuid());
    gid_t groups[256];
    int n = 256;
    if (!user || ::getgrouplist(user->pw_name, user->pw_gid, groups, &n) < 0)
        return false;
    for (int i = 0; i < n; ++i) {
        if (groups[i] == gid)
            return true;
    }
    return false;
}

Finding updatePort(const QString &port, bool rulesInstalled)
{
    if (port.isEmpty())
        return ok(Doctor::tr("Update port: not present (it appears only while the controller is in update "
                             "mode)."));
    if (!readWritable(port)) {
        struct stat info { };
        ::stat(QFile::encodeName(port).constData(), &info);
        const group *g = ::getgrgid(info.st_gid);
        const QString name = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(info.st_gid);
        const QString text = Doctor::tr("You may not open the update port %1 (group %2).").arg(port, name);
        if (inGroup(info.st_gid, false) && !inGroup(info.st_gid, true))
            return problem(text,
                Doctor::tr("You are in the group %1, but this session began before: log out "
                           "and in again.")
                    .arg(name));
        return problem(text,
            rulesInstalled ? Doctor::tr("Plug the controller in again so that the udev rules apply, or join the "
                                        "group: \"sudo usermod -aG %1 $USER\", then log in again.")
                                 .arg(name)
                           : Doctor::tr("Install the udev rules (%1), or join the group: \"sudo usermod -aG %2 "
                                        "$USER\", then log in again.")
                                 .arg(QLatin1String(kRulesInstall), name));
    }
    // Canonical, so that another program's lock on the same device is seen.
    QSerialPort serial(QFileInfo(port).canonicalFilePath());
    if (!serial.open(QIODevice::ReadWrite)) {
        return problem(Doctor::tr("The update port %1 is busy: %2.").arg(port, serial.errorString()),
            Doctor::tr("Close the program that holds it (\"fuser %1\" names it; ModemManager and serial "
                       "terminals are the usual ones).")
                .arg(port));
    }
    return ok(Doctor::tr("Update port %1: can be opened.").arg(port));
}

QString installedRules(const QString &root)
{
    for (const char *folder :
        {"/etc/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d", "/usr/local/lib/udev/rules.d"}) {
        const QString path = root + QLatin1String(folder) + QLatin1Char('/') + QLatin1String(kRulesName);
        if (QFileInfo::exists(path))
            return QLatin1String(folder) + QLatin1Char('/') + QLatin1String(kRulesName);
    }
    return QString();
}

// udev's record of the port carries the rules' mark once they applied.
bool rulesApplied(const QString &root, const QString &port)
{
    struct stat info { };
    if (::stat(QFile::encodeName(port).constData(), &info) != 0)
        return false;
    QFile record(root + QStringLiteral("/run/udev/data/c%1:%2").arg(major(info.st_rdev)).arg(minor(info.st_rdev)));
    return record.open(QIODevice::ReadOnly) && record.readAll().contains("E:ID_MM_DEVICE_IGNORE=1");
}

bool modemManagerRunning(const QString &root)
{
    const QDir proc(root + QStringLiteral("/proc"));
    for (const QString &pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "ModemManager")
            return true;
    }
    return false;
}

} // namespace

QString findUpdatePort(const QString &root, const QString &overridePath)
{
    if (!overridePath.isEmpty())
        return QFileInfo::exists(overridePath) ? overridePath : QString();
    const QDir ttys(root + QStringLiteral("/sys/class/tty"));
    const QString vendor = QString::number(updateport::kVendorId, 16).rightJustified(4, QLatin1Char('0'));
    const QString product = QString::number(updateport::kProductId, 16).rightJustified(4, QLatin1Char('0'));
    for (const QString &name : ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        // ttyACM: device is the USB interface; ttyUSB: a child of it.
        QDir dir(QFileInfo(ttys.filePath(name + QStringLiteral("/device"))).canonicalFilePath());
        for (int up = 0; up < 3 && !dir.isRoot() && !dir.path().isEmpty(); ++up, dir.cdUp()) {
            QFile v(dir.filePath(QStringLiteral("idVendor"))), p(dir.filePath(QStringLiteral("idProduct")));
            if (!v.open(QIODevice::ReadOnly) || !p.open(QIODevice::ReadOnly))
                continue;
            if (QString::fromLatin1(v.readAll()).trimmed().toLower() == vendor
                && QString::fromLatin1(p.readAll()).trimmed().toLower() == product)
                return root + QStringLiteral("/dev/") + name;
            break;
        }
    }
    return QString();
}

QList<Finding> updateFindings(const Inputs &in, const QString &port)
{
    QList<Finding> found;
    const QString rules = installedRules(in.root);
    found << updatePort(port, !rules.isEmpty());
    const bool udev = QFileInfo::exists(in.root + QStringLiteral("/run/udev/control"));
    if (!udev) {
        found << ok(Doctor::tr("udev is not running here (a container?): its rules do not matter."));
    } else if (rules.isEmpty()) {
        found << problem(Doctor::tr("The editor's udev rules (%1) are not installed.").arg(kRulesName),
            Doctor::tr("Install them: %1").arg(QLatin1String(kRulesInstall)));
    } else if (!port.isEmpty() && in.updatePortOverride.isEmpty() && !rulesApplied(in.root, port)) {
        found << problem(
            Doctor::tr("The udev rules (%1) are installed but were not applied to the update port.").arg(rules),
            Doctor::tr("Reload them (sudo udevadm control --reload-rules && sudo udevadm trigger) or plug the "
                       "controller in again."));
    } else {
        found << ok(Doctor::tr("udev rules: installed (%1).").arg(rules));
    }
    if (modemManagerRunning(in.root)) {
        if (rules.isEmpty() && udev)
            found << problem(Doctor::tr("ModemManager is running and would probe the update port during an "
                                        "update."),
                Doctor::tr("Install the udev rules (they tell it to leave the port alone), or stop it for the "
                           "update: sudo systemctl stop ModemManager"));
        else
            found << ok(Doctor::tr("ModemManager: running, told by the udev rules to leave the port alone."));
    }
    return found;
}

Finding serverFinding(const QString &error)
{
    if (error.isEmpty())
        return ok(Doctor::tr("Firmware server: answers."));
    // Offline is normal: it matters only for a firmware update.
    return note(Doctor::tr("The firmware server does not answer: %1.").arg(error),
        Doctor::tr("Only firmware updates need it: check the network connection and --firmware-server "
                   "(KORVEL_MAVU_FIRMWARE_SERVER)."));
}

FirmwareServerProbe::FirmwareServerProbe(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, [this] {
        finish(m_error.isEmpty() ? Doctor::tr("no answer within %1 seconds").arg(m_limit.interval() / 1000) : m_error);
    });
}

FirmwareServerProbe::~FirmwareServerProbe()
{
    cancel();
}

void FirmwareServerProbe::ask(const QString &server, int limitMs)
{
    cancel();
    firmwareserver::Address address;
    m_error.clear();
    if (!server.isEmpty() && !firmwareserver::parseAddress(server, &address, &m_error)) {
        m_limit.start(0); // answered from the event loop, as any other
        return;
    }
    // As MyFtp: a cached control connection (of a cancelled ask) would only hang.
    m_manager->clearConnectionCache();
    m_reply = m_manager->get(QNetworkRequest(firmwareserver::descriptionUrl(address)));
    connect(m_reply, &QNetworkReply::finished, this, [this] {
        finish(m_reply->error() == QNetworkReply::NoError
                ? QString()
                : firmwareserver::withoutLogin(m_reply->errorString().simplified()));
    });
    m_limit.start(limitMs);
}

void FirmwareServerProbe::cancel()
{
    m_limit.stop();
    if (!m_reply)
        return;
    disconnect(m_reply, nullptr, this, nullptr);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}

void FirmwareServerProbe::finish(const QString &error)
{
    cancel();
    emit answered(error);
}

} // namespace doctor
