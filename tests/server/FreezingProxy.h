#pragma once
// A TCP relay between a desk and the tests' server that goes silent the way a frozen host or a dropped
// link does: it passes everything until the first connection through it (the desk's database) sends its
// n-th statement by the extended protocol (a message starting with 'P', as the program's statements
// are), then forwards nothing more on that connection while keeping it open. Later connections (GDAL's)
// are relayed as they come.
#include <atomic>
#include <thread>
#include <vector>

class FreezingProxy {
 public:
  FreezingProxy(int serverPort, int freezeAtStatement);
  ~FreezingProxy();
  FreezingProxy(const FreezingProxy&) = delete;
  FreezingProxy& operator=(const FreezingProxy&) = delete;

  int Port() const { return port_; }
  bool Frozen() const { return frozen_; }

 private:
  void Relay(int client, bool first);

  int listener_ = -1;
  int port_ = 0;
  int serverPort_;
  int freezeAt_;
  std::atomic<int> statements_{0};
  std::atomic<bool> frozen_{false};
  std::atomic<bool> stop_{false};
  std::thread acceptor_;
  std::vector<std::thread> relays_;  // touched by the acceptor only, until it ends
};
