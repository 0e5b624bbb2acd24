#include "sandbox.h"

#include "childsetup.h"
#include "fileops.h"
#include "runctrl.h"

#include <QDir>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

Sandbox *g_active = nullptr;

// Where the holder builds the root, in its own mount namespace only: the host's /tmp there is
// covered and nothing of it is used.
const char kStage[] = "/tmp";
const char kStageBox[] = "/tmp/box";
const char kStageProc[] = "/tmp/proc";

// Directories of programs and libraries, shown read-only; symbolic links among them (a merged
// /usr) are made again as links.
const char *const kSystemDirs[] = {"/usr",   "/bin",   "/sbin",   "/lib",
                                   "/lib32", "/lib64", "/libx32", "/opt"};
// What compilers and runtimes read in /etc; patterns are matched in /etc.
const char *const kEtcEntries[] = {"alternatives", "ld.so.cache", "ld.so.conf",
                                   "ld.so.conf.d", "fpc.cfg",     "fpc-*.cfg",
                                   "java-*",       "python3*",    "localtime"};
const char *const kDevices[] = {"null", "zero", "random", "urandom"};

const int kNsFlags[] = {CLONE_NEWUSER, CLONE_NEWNS, CLONE_NEWNET, CLONE_NEWIPC, CLONE_NEWUTS};
const char *const kNsNames[] = {"user", "mnt", "net", "ipc", "uts"};

enum ItemKind { MakeDir, BindReadOnly, BindDevice, MakeLink, WriteFile };

// One step of building the root, prepared before the fork: the holder may not allocate.
struct Item {
    ItemKind kind;
    char path[512];   // below the stage
    char source[512]; // the host path bound, the link's target or the file's text
};

unsigned long lockedFlags(const char *path)
{
    struct statvfs st;
    if (statvfs(path, &st) != 0)
        return 0;
    unsigned long flags = 0;
    const unsigned long pairs[][2] = {{ST_NODEV, MS_NODEV},
                                      {ST_NOEXEC, MS_NOEXEC},
                                      {ST_NOATIME, MS_NOATIME},
                                      {ST_NODIRATIME, MS_NODIRATIME},
                                      {ST_RELATIME, MS_RELATIME}};
    for (const auto &pair : pairs)
        if (st.f_flag & pair[0])
            flags |= pair[1];
    return flags;
}

// A bind mount keeps the flags of its source; a remount may only add to those that a user
// namespace has locked.
bool bindMount(const char *source, const char *target, bool readOnly)
{
    if (mount(source, target, nullptr, MS_BIND | MS_REC, nullptr) != 0)
        return false;
    const unsigned long flags =
        MS_BIND | MS_REMOUNT | MS_NOSUID | lockedFlags(source) | (readOnly ? MS_RDONLY : 0);
    return mount(nullptr, target, nullptr, flags, nullptr) == 0;
}

bool writeText(const char *path, const char *text)
{
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = writeAll(fd, text, strlen(text));
    return close(fd) == 0 && ok;
}

bool buildItem(const Item &item)
{
    switch (item.kind) {
    case MakeDir:
        return mkdir(item.path, 0755) == 0 || errno == EEXIST;
    case BindReadOnly:
    case BindDevice: {
        struct stat st;
        if (stat(item.source, &st) != 0)
            return false;
        const bool made =
            S_ISDIR(st.st_mode) ? mkdir(item.path, 0755) == 0 : writeText(item.path, "");
        return made && bindMount(item.source, item.path, item.kind == BindReadOnly);
    }
    case MakeLink:
        return symlink(item.source, item.path) == 0;
    case WriteFile:
        return writeText(item.path, item.source);
    }
    return false;
}

void addItem(std::vector<Item> *items, ItemKind kind, const QByteArray &path,
             const QByteArray &source = QByteArray())
{
    Item item{};
    item.kind = kind;
    const QByteArray full = kStage + path;
    if (full.size() >= int(sizeof item.path) || source.size() >= int(sizeof item.source))
        return;
    memcpy(item.path, full.constData(), size_t(full.size()));
    memcpy(item.source, source.constData(), size_t(source.size()));
    items->push_back(item);
}

// A host path as it appears in the root: a link stays a link, a directory or file is bound.
void addHostEntry(std::vector<Item> *items, const QByteArray &path)
{
    struct stat st;
    if (lstat(path.constData(), &st) != 0)
        return;
    if (S_ISLNK(st.st_mode)) {
        char link[512];
        const ssize_t n = readlink(path.constData(), link, sizeof link - 1);
        if (n > 0)
            addItem(items, MakeLink, path, QByteArray(link, int(n)));
    } else if (S_ISDIR(st.st_mode) || S_ISREG(st.st_mode)) {
        addItem(items, BindReadOnly, path, path);
    }
}

} // namespace

// Everything the holder needs, computed by the judge before the fork.
struct Sandbox::Prepared {
    std::vector<Item> items;
    QByteArray uidMap, gidMap;
    QByteArray stageOptions, boxOptions;
};

Sandbox::~Sandbox()
{
    stop();
}

QByteArray Sandbox::workDir() const
{
    return "/proc/" + QByteArray::number(holder) + "/root/box";
}

Sandbox *Sandbox::active()
{
    return g_active;
}

void Sandbox::setActive(Sandbox *sandbox)
{
    g_active = sandbox;
}

bool Sandbox::start(QString *reason)
{
    if (isStarted())
        return true;
    // For machines where the namespaces misbehave, and for trying the plain protections.
    if (qgetenv("TALDON_SANDBOX") == "off") {
        *reason = QStringLiteral("turned off by TALDON_SANDBOX=off");
        return false;
    }
    if (!filter.build(reason))
        return false;
    ownUserNamespace = geteuid() != 0;
    Prepared prepared;
    for (const char *dir : kSystemDirs)
        addHostEntry(&prepared.items, dir);
    addItem(&prepared.items, MakeDir, "/etc");
    for (const char *pattern : kEtcEntries)
        for (const QString &name : QDir(QStringLiteral("/etc"))
                                       .entryList({QLatin1String(pattern)},
                                                  QDir::AllEntries | QDir::System | QDir::Hidden))
            addHostEntry(&prepared.items, "/etc/" + QFile::encodeName(name));
    const QByteArray uid = QByteArray::number(submissionUid()),
                     gid = QByteArray::number(kSubmissionGid);
    addItem(&prepared.items, WriteFile, "/etc/passwd",
            "box:x:" + uid + ':' + gid + "::/box:/bin/sh\n");
    addItem(&prepared.items, WriteFile, "/etc/group", "box:x:" + gid + ":\n");
    addItem(&prepared.items, MakeDir, "/dev");
    for (const char *device : kDevices)
        addItem(&prepared.items, BindDevice, QByteArray("/dev/") + device,
                QByteArray("/dev/") + device);
    addItem(&prepared.items, MakeLink, "/dev/fd", "/proc/self/fd");
    const char *const streams[] = {"stdin", "stdout", "stderr"};
    for (int fd = 0; fd < 3; ++fd)
        addItem(&prepared.items, MakeLink, QByteArray("/dev/") + streams[fd],
                "/proc/self/fd/" + QByteArray::number(fd));
    for (const char *dir : {"/dev/shm", "/tmp", "/proc", "/box"})
        addItem(&prepared.items, MakeDir, dir);
    prepared.uidMap = uid + ' ' + QByteArray::number(geteuid()) + " 1\n";
    prepared.gidMap = gid + ' ' + QByteArray::number(getegid()) + " 1\n";
    prepared.stageOptions = "size=1m,mode=0755";
    // The judge writes the box as its owner; the submission's group may add files to it, and the
    // sticky bit keeps it from removing or replacing the judge's own.
    prepared.boxOptions = "size=" + QByteArray::number(kBoxBytes) +
                          ",mode=1770,uid=" + (ownUserNamespace ? uid : QByteArray("0")) +
                          ",gid=" + gid;

    int ready[2], alive[2];
    if (pipe2(ready, O_CLOEXEC) != 0) {
        *reason = QStringLiteral("pipe2: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if (pipe2(alive, O_CLOEXEC) != 0) {
        *reason = QStringLiteral("pipe2: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        close(ready[0]);
        close(ready[1]);
        return false;
    }
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        close(alive[1]);
        holderMain(prepared, ready[1], alive[0]);
    }
    close(ready[1]);
    close(alive[0]);
    if (pid < 0) {
        *reason = QStringLiteral("fork: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        close(ready[0]);
        close(alive[1]);
        return false;
    }
    ChildReport report{};
    ssize_t n;
    do
        n = read(ready[0], &report, sizeof report);
    while (n < 0 && errno == EINTR);
    close(ready[0]);
    holder = pid;
    keepAlive = alive[1];
    if (n != ssize_t(sizeof report) || report.kind != ReportPid) {
        *reason = n == ssize_t(sizeof report)
                      ? QStringLiteral("%1: %2").arg(QLatin1String(childStepName(report.step)),
                                                     QString::fromLocal8Bit(strerror(report.error)))
                      : QStringLiteral("the namespace holder ended early");
        stop();
        return false;
    }
    for (int i = ownUserNamespace ? 0 : 1; i < 5; ++i) {
        const QByteArray path = "/proc/" + QByteArray::number(holder) + "/ns/" + kNsNames[i];
        nsFd[i] = open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (nsFd[i] < 0) {
            *reason = QStringLiteral("%1: %2").arg(QString::fromUtf8(path),
                                                   QString::fromLocal8Bit(strerror(errno)));
            stop();
            return false;
        }
    }
    return true;
}

void Sandbox::stop()
{
    if (g_active == this)
        g_active = nullptr;
    for (int &fd : nsFd) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
    if (keepAlive >= 0)
        close(keepAlive);
    keepAlive = -1;
    if (holder > 0) {
        // The holder ends at the end of file of its pipe; the kill covers one that is stuck.
        kill(holder, SIGKILL);
        while (waitpid(holder, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    holder = -1;
}

void Sandbox::holderMain(const Prepared &prepared, int readyfd, int keepalive) const
{
    // Only the two pipes stay open: a copy of any other descriptor would outlive the judge's.
    if (dup2(readyfd, 3) != 3 || dup2(keepalive, 4) != 4 || close_range(5, ~0U, 0) != 0)
        failChild(readyfd, StepDescriptors, kChildFault);
    readyfd = 3;
    keepalive = 4;
    int flags = CLONE_NEWNS | CLONE_NEWNET | CLONE_NEWIPC | CLONE_NEWUTS;
    if (ownUserNamespace)
        flags |= CLONE_NEWUSER;
    if (unshare(flags) != 0)
        failChild(readyfd, StepNamespaces, kChildFault);
    if (ownUserNamespace && (!writeText("/proc/self/setgroups", "deny") ||
                             !writeText("/proc/self/uid_map", prepared.uidMap.constData()) ||
                             !writeText("/proc/self/gid_map", prepared.gidMap.constData())))
        failChild(readyfd, StepIds, kChildFault);
    if (sethostname("taldon", 6) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", kStage, "tmpfs", MS_NOSUID | MS_NODEV, prepared.stageOptions.constData()) !=
            0)
        failChild(readyfd, StepMounts, kChildFault);
    for (const Item &item : prepared.items)
        if (!buildItem(item))
            failChild(readyfd, StepMounts, kChildFault);
    if (mount("tmpfs", kStageBox, "tmpfs", MS_NOSUID | MS_NODEV, prepared.boxOptions.constData()) !=
        0)
        failChild(readyfd, StepRoot, kChildFault);
    // Inside a user namespace the kernel lets a run mount its own /proc only where a /proc is
    // already fully visible: the host's, which each run's own covers at once.
    if (ownUserNamespace && mount("/proc", kStageProc, nullptr, MS_BIND | MS_REC, nullptr) != 0)
        failChild(readyfd, StepRoot, kChildFault);
    // The root is turned once per evaluation, so that a run only adds its own few mounts: each
    // unmount costs the kernel a grace period.
    if (chdir(kStage) != 0 || syscall(SYS_pivot_root, ".", ".") != 0 ||
        umount2(".", MNT_DETACH) != 0 || chdir("/") != 0 ||
        mount(nullptr, "/", nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
              nullptr) != 0)
        failChild(readyfd, StepRoot, kChildFault);
    if (!reportPid(readyfd, 0))
        _exit(kChildFault);
    char byte;
    while (read(keepalive, &byte, 1) < 0 && errno == EINTR) {
    }
    _exit(0);
}
