// Whether a TCP port accepts a connection: the look of a wait for a server (WAIT1, WAIT2).
#pragma once

// Connects to port (decimal text) of host (a name or an address) on each of its addresses in
// turn, closing at once the connection accepted, and nothing sent. True when one was
// accepted. Blocks as long as Windows tries to connect: run it beside the run's wait.
bool PortAccepts(const wchar_t *host, const wchar_t *port);
