#include "tests/server/TcpListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

TcpListener::TcpListener(const QString& address, int port) {
  socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(uint16_t(port));
  const int reuse = 1;
  ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
  if (::inet_pton(AF_INET, address.toLatin1().constData(), &at.sin_addr) != 1 ||
      ::bind(socket_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || ::listen(socket_, 16) != 0) {
    ::close(socket_);
    socket_ = -1;
    return;
  }
  socklen_t length = sizeof at;
  ::getsockname(socket_, reinterpret_cast<sockaddr*>(&at), &length);
  port_ = ntohs(at.sin_port);
  acceptor_ = std::thread([this] {
    pollfd wait{socket_, POLLIN, 0};
    while (!stop_) {
      if (::poll(&wait, 1, 20) <= 0) continue;
      const int client = ::accept(socket_, nullptr, nullptr);
      if (client < 0) continue;
      ++connections_;
      ::close(client);
    }
  });
}

TcpListener::~TcpListener() {
  stop_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  if (socket_ >= 0) ::close(socket_);
}
