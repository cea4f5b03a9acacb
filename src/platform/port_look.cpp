// Windows Sockets 2 before windows.h, which would bring in the first version.
#include <winsock2.h>
#include <ws2tcpip.h>
#include "platform/port_look.h"

bool PortAccepts(const wchar_t *host, const wchar_t *port) {
    WSADATA sockets;
    if (WSAStartup(MAKEWORD(2, 2), &sockets) != 0)
        return false;
    ADDRINFOW hints = {}, *found = NULL;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    bool accepted = false;
    if (GetAddrInfoW(host, port, &hints, &found) == 0) {
        for (ADDRINFOW *address = found; address != NULL && !accepted; address = address->ai_next) {
            SOCKET connection =
                socket(address->ai_family, address->ai_socktype, address->ai_protocol);
            if (connection == INVALID_SOCKET)
                continue;
            accepted = connect(connection, address->ai_addr, (int)address->ai_addrlen) == 0;
            closesocket(connection);
        }
        FreeAddrInfoW(found);
    }
    WSACleanup();
    return accepted;
}
