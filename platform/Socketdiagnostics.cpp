#include "platform/Socketdiagnostics.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

using SocketFiles = std::vector<std::pair<dev_t, std::uint32_t>>;

bool SendListeningRequest(int fd) {
    struct {
        nlmsghdr header;
        unix_diag_req request;
    } message{};
    message.header.nlmsg_len = sizeof message;
    message.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    message.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    message.request.sdiag_family = AF_UNIX;
    message.request.udiag_states = 1U << TCP_LISTEN;
    message.request.udiag_show = UDIAG_SHOW_VFS;
    return send(fd, &message, sizeof message, 0) == static_cast<ssize_t>(sizeof message);
}

// The kernel gives the device in its own encoding: 20 bits of minor number.
dev_t UserDevice(std::uint32_t kernelDevice) {
    return makedev(kernelDevice >> 20, kernelDevice & 0xfffff);
}

void AddSocketFile(const nlmsghdr* header, SocketFiles& files) {
    const auto* socket = static_cast<const unix_diag_msg*>(NLMSG_DATA(header));
    int length = static_cast<int>(header->nlmsg_len - NLMSG_LENGTH(sizeof *socket));
    for (auto* attribute = reinterpret_cast<const rtattr*>(socket + 1); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type != UNIX_DIAG_VFS || RTA_PAYLOAD(attribute) < sizeof(unix_diag_vfs))
            continue;
        const auto* file = static_cast<const unix_diag_vfs*>(RTA_DATA(attribute));
        files.emplace_back(UserDevice(file->udiag_vfs_dev), file->udiag_vfs_ino);
    }
}

// Reads the answer up to its end; false when the kernel refused or a part was lost.
bool ReadAnswer(int fd, SocketFiles& files) {
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        // MSG_TRUNC: the length of the whole message, so that a cut one is noticed.
        const ssize_t received = recv(fd, buffer.data(), buffer.size(), MSG_TRUNC);
        if (received < 0 && errno == EINTR)
            continue;
        if (received <= 0 || static_cast<std::size_t>(received) > buffer.size())
            return false;
        int length = static_cast<int>(received);
        for (auto* header = reinterpret_cast<const nlmsghdr*>(buffer.data()); NLMSG_OK(header, length);
             header = NLMSG_NEXT(header, length)) {
            if (header->nlmsg_type == NLMSG_DONE)
                return true;
            if (header->nlmsg_type == NLMSG_ERROR || (header->nlmsg_flags & NLM_F_DUMP_INTR))
                return false;
            if (header->nlmsg_type == SOCK_DIAG_BY_FAMILY)
                AddSocketFile(header, files);
        }
    }
}

}  // namespace

std::optional<std::vector<std::pair<dev_t, std::uint32_t>>> ListeningSocketFiles() {
    const int fd = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0)
        return std::nullopt;
    SocketFiles files;
    const bool complete = SendListeningRequest(fd) && ReadAnswer(fd, files);
    close(fd);
    if (!complete)
        return std::nullopt;
    return files;
}

}  // namespace platform
