#pragma once
// A TCP port on a loopback address that takes every connection and closes it at once, counting them:
// a stand-in server that a client must never reach, or whose reach a test observes.
#include <QString>
#include <atomic>
#include <thread>

class TcpListener {
 public:
  // Listens on address (for example "127.0.0.2") at port; port 0 picks a free one.
  TcpListener(const QString& address, int port);
  ~TcpListener();
  TcpListener(const TcpListener&) = delete;
  TcpListener& operator=(const TcpListener&) = delete;

  bool Listening() const { return socket_ >= 0; }
  int Port() const { return port_; }
  int Connections() const { return connections_; }

 private:
  int socket_ = -1;
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::atomic<bool> stop_{false};
  std::thread acceptor_;
};
