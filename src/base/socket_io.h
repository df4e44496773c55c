#pragma once

#include <cstddef>

namespace korvel {

// Sends all `size` bytes on the connected socket `fd`, going on after interruptions and short
// writes; a peer that has gone fails the call instead of raising SIGPIPE. False when the socket
// fails or its send time-out passes.
bool SendAll(int fd, const void* data, std::size_t size);

// Receives exactly `size` bytes; false when the peer closes first, the socket fails or its
// receive time-out passes.
bool ReceiveAll(int fd, void* data, std::size_t size);

}  // namespace korvel
