// What a program waits for before its start (WAIT1, WAIT2): a path, or a TCP port written
// "tcp:HOST:PORT".
#pragma once
#include <stddef.h>

// Whether value starts with "tcp:" in any case: a TCP target, readable or not.
bool IsTcpTarget(const char *value);

// Whether value reads as "tcp:HOST:PORT" ("tcp" in any case): HOST a name or an IPv4 address,
// or an IPv6 address in brackets; PORT a number from 1 to 65535 in digits only. host
// (hostChars) gets the host, without brackets, port (portChars) the port; false, and both
// empty, when it does not read or does not fit.
bool ParseTcpTarget(const char *value, char *host, size_t hostChars, char *port, size_t portChars);
