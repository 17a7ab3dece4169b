#include "link/port_access.h"

#include "base/atomic_file.h"

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <QCoreApplication>

namespace {

bool ProcessHasGroup(gid_t gid) {
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int n = ::getgroups(count, groups.data());
    for (int k = 0; k < n; ++k)
        if (groups[static_cast<std::size_t>(k)] == gid)
            return true;
    return false;
}

// The user's groups as the group database lists them now.
bool UserListedInGroup(gid_t gid) {
    const passwd* user = ::getpwuid(::geteuid());
    if (user == nullptr)
        return false;
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    for (int k = 0; k < count; ++k)
        if (groups[static_cast<std::size_t>(k)] == gid)
            return true;
    return false;
}

QString PermissionProblem(const struct stat& st) {
    const bool groupMayUse = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    const group* g = groupMayUse ? ::getgrgid(st.st_gid) : nullptr;
    if (g == nullptr)
        return SystemErrorText(EACCES);
    const TGroupMembership membership = ProcessHasGroup(st.st_gid) ? TGroupMembership::Active
                                        : UserListedInGroup(st.st_gid)
                                            ? TGroupMembership::ListedNotActive
                                            : TGroupMembership::NotListed;
    return PermissionDeniedText(QString::fromLocal8Bit(g->gr_name), membership);
}

} // namespace

QString PermissionDeniedText(const QString& group, TGroupMembership membership) {
    const QString reason = SystemErrorText(EACCES);
    switch (membership) {
    case TGroupMembership::Active:
        break;
    case TGroupMembership::ListedNotActive:
        return reason +
               QCoreApplication::translate(
                   "PortAccess", " — пользователь уже в группе %1, войдите в систему заново")
                   .arg(group);
    case TGroupMembership::NotListed:
        return reason +
               QCoreApplication::translate("PortAccess", " — добавьте пользователя в группу %1")
                   .arg(group);
    }
    return reason;
}

QString PortAccessProblem(const QString& devicePath) {
    const QByteArray path = devicePath.toLocal8Bit();
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return SystemErrorText(errno);
    if (!S_ISCHR(st.st_mode))
        return SystemErrorText(ENOTTY);
    if (::access(path.constData(), R_OK | W_OK) != 0)
        return errno == EACCES ? PermissionProblem(st) : SystemErrorText(errno);
    return {};
}
