#include "seccompfilter.h"

#include <cerrno>
#include <cstring>
#include <linux/sched.h>
#include <seccomp.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace
{

// Calls a program never needs; each fails with EPERM.
const int kRefused[] = {
    SCMP_SYS(ptrace),
    SCMP_SYS(process_vm_readv),
    SCMP_SYS(process_vm_writev),
    SCMP_SYS(mount),
    SCMP_SYS(umount2),
    SCMP_SYS(pivot_root),
    SCMP_SYS(chroot),
    SCMP_SYS(unshare),
    SCMP_SYS(setns),
    SCMP_SYS(keyctl),
    SCMP_SYS(add_key),
    SCMP_SYS(request_key),
    SCMP_SYS(bpf),
    SCMP_SYS(perf_event_open),
    SCMP_SYS(userfaultfd),
    SCMP_SYS(fsopen),
    SCMP_SYS(fsmount),
    SCMP_SYS(fsconfig),
    SCMP_SYS(fspick),
    SCMP_SYS(move_mount),
    SCMP_SYS(open_tree),
    SCMP_SYS(mount_setattr),
    SCMP_SYS(open_by_handle_at),
    SCMP_SYS(name_to_handle_at),
    SCMP_SYS(kexec_load),
    SCMP_SYS(kexec_file_load),
    SCMP_SYS(init_module),
    SCMP_SYS(finit_module),
    SCMP_SYS(delete_module),
    SCMP_SYS(quotactl),
    SCMP_SYS(swapon),
    SCMP_SYS(swapoff),
    SCMP_SYS(reboot),
    SCMP_SYS(syslog),
    SCMP_SYS(acct),
    SCMP_SYS(iopl),
    SCMP_SYS(ioperm),
    SCMP_SYS(personality),
};

// A clone with any of these flags would leave the namespaces the run was put in.
const unsigned long kNamespaceFlags[] = {CLONE_NEWNS,     CLONE_NEWUSER, CLONE_NEWPID,
                                         CLONE_NEWNET,    CLONE_NEWIPC,  CLONE_NEWUTS,
                                         CLONE_NEWCGROUP, CLONE_NEWTIME};

// The request numbers of ioctl are 32 bits wide in the kernel: compare only those, so that
// high bits cannot slip a TIOCSTI past the rule.
const unsigned long kTerminalRequests[] = {TIOCSTI, TIOCLINUX};

bool addRules(scmp_filter_ctx ctx)
{
    bool ok = true;
    for (int call : kRefused)
        ok = ok && seccomp_rule_add(ctx, SCMP_ACT_ERRNO(EPERM), call, 0) == 0;
    for (unsigned long flag : kNamespaceFlags)
        ok = ok && seccomp_rule_add(ctx, SCMP_ACT_ERRNO(EPERM), SCMP_SYS(clone), 1,
                                    SCMP_A0(SCMP_CMP_MASKED_EQ, flag, flag)) == 0;
    for (unsigned long request : kTerminalRequests)
        ok = ok && seccomp_rule_add(ctx, SCMP_ACT_ERRNO(EPERM), SCMP_SYS(ioctl), 1,
                                    SCMP_A1(SCMP_CMP_MASKED_EQ, 0xffffffffUL, request)) == 0;
    // clone3 passes its flags in memory, out of the filter's sight: ENOSYS makes the C library
    // fall back to clone, whose flags the rules above can see.
    return ok && seccomp_rule_add(ctx, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) == 0;
}

// The compiled program, read back through a memory file.
bool exportCode(scmp_filter_ctx ctx, std::vector<sock_filter> *code)
{
    const int fd = memfd_create("taldon-seccomp", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = seccomp_export_bpf(ctx, fd) == 0;
    const off_t size = ok ? lseek(fd, 0, SEEK_END) : -1;
    ok = size > 0 && size % off_t(sizeof(sock_filter)) == 0;
    if (ok) {
        code->resize(size_t(size) / sizeof(sock_filter));
        ok = pread(fd, code->data(), size_t(size), 0) == size;
    }
    close(fd);
    return ok;
}

} // namespace

bool SeccompFilter::build(QString *reason)
{
    scmp_filter_ctx ctx = seccomp_init(SCMP_ACT_ALLOW);
    if (!ctx) {
        *reason = QStringLiteral("the system call filter cannot be set up");
        return false;
    }
    // Installing is left to install(); the library must not set no_new_privs on its own.
    const bool ok = seccomp_attr_set(ctx, SCMP_FLTATR_CTL_NNP, 0) == 0 && addRules(ctx) &&
                    exportCode(ctx, &code);
    seccomp_release(ctx);
    if (!ok) {
        code.clear();
        *reason = QStringLiteral("the system call filter cannot be compiled");
        return false;
    }
    program.len = static_cast<unsigned short>(code.size());
    program.filter = code.data();
    return true;
}

bool SeccompFilter::install() const
{
    return !code.empty() && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program, 0, 0) == 0;
}
