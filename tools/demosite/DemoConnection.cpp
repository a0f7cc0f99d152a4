#include "DemoConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <string>
#include <system_error>

namespace kenmori {

static int PortOf(const sockaddr_storage& address)
{
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return -1;
}

int FindConnectionSocket(int localPort, int remotePort)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        const std::string name = entry.path().filename().string();
        int fd = -1;
        if (std::from_chars(name.data(), name.data() + name.size(), fd).ec != std::errc())
            continue;
        sockaddr_storage local{};
        sockaddr_storage peer{};
        socklen_t localSize = sizeof local;
        socklen_t peerSize = sizeof peer;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) == 0
            && ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) == 0 && PortOf(local) == localPort
            && PortOf(peer) == remotePort)
            return fd;
    }
    return -1;
}

void ResetConnection(int socket)
{
    // Connecting to "no address" drops a TCP connection with a reset and,
    // unlike close() with a zero linger, leaves the descriptor to its owner.
    sockaddr unspecified{};
    unspecified.sa_family = AF_UNSPEC;
    ::connect(socket, &unspecified, sizeof unspecified);
}

void WaitForClientToLeave(int socket, std::chrono::milliseconds limit, const std::atomic<bool>& stopping)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    constexpr int kSliceMs = 50;
    while (!stopping && std::chrono::steady_clock::now() < deadline) {
        pollfd watched{socket, POLLRDHUP, 0};
        const int ready = ::poll(&watched, 1, kSliceMs);
        if (ready < 0 && errno != EINTR)
            return;
        if (ready > 0 && (watched.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)))
            return;
    }
}

} // namespace kenmori
