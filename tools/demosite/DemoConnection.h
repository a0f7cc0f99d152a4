#pragma once
// Reaching the socket under one of the server's connections, for the faults
// that need more than a bad page: a reset, or silence until the client leaves.

#include <atomic>
#include <chrono>

namespace kenmori {

// The server's socket of the TCP connection between its local port and the
// client's port on this host; -1 when there is none.
int FindConnectionSocket(int localPort, int remotePort);

// Aborts the connection with a reset at once. The socket stays open (and
// unconnected) for its owner to close.
void ResetConnection(int socket);

// Waits until the client closes its side, stopping turns true or limit has
// passed, whichever comes first.
void WaitForClientToLeave(int socket, std::chrono::milliseconds limit, const std::atomic<bool>& stopping);

} // namespace kenmori
