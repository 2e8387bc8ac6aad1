// Sends a whole buffer on a blocking socket: send() may take only part of it.
#pragma once

#include <winsock2.h>

#include <cstddef>

// False when the connection failed or closed before everything was sent.
bool SendAll(SOCKET inSocket, const void* inBytes, size_t inSize);
