#include "tests/server/FreezingProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

namespace {

int ListenOnLoopback(int& port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof at;
  if (::bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || ::listen(s, 16) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
    ::close(s);
    return -1;
  }
  port = ntohs(at.sin_port);
  return s;
}

int ConnectToLoopback(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  at.sin_port = htons(uint16_t(port));
  if (::connect(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
    ::close(s);
    return -1;
  }
  return s;
}

}  // namespace

FreezingProxy::FreezingProxy(int serverPort, int freezeAtStatement)
    : serverPort_(serverPort), freezeAt_(freezeAtStatement) {
  listener_ = ListenOnLoopback(port_);
  acceptor_ = std::thread([this] {
    pollfd wait{listener_, POLLIN, 0};
    while (!stop_) {
      if (::poll(&wait, 1, 20) <= 0) continue;
      const int client = ::accept(listener_, nullptr, nullptr);
      if (client >= 0)
        relays_.emplace_back([this, client, first = relays_.empty()] { Relay(client, first); });
    }
  });
}

FreezingProxy::~FreezingProxy() {
  stop_ = true;
  acceptor_.join();  // no relay starts after this
  for (std::thread& relay : relays_) relay.join();
  ::close(listener_);
}

void FreezingProxy::Relay(int client, bool first) {
  bool silent = false;
  const int server = ConnectToLoopback(serverPort_);
  pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
  char buffer[65536];
  while (!stop_ && server >= 0) {
    if (silent || ::poll(ends, 2, 20) <= 0) {
      if (silent) ::usleep(20000);
      continue;
    }
    const bool fromClient = ends[0].revents != 0;
    const int from = fromClient ? client : server;
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n <= 0) break;
    if (first && fromClient && buffer[0] == 'P' && ++statements_ >= freezeAt_) {
      silent = frozen_ = true;
      continue;
    }
    if (::write(fromClient ? server : client, buffer, std::size_t(n)) != n) break;
  }
  ::close(client);
  if (server >= 0) ::close(server);
}
