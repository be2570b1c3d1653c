#pragma once
// Helpers of the fuzz target bodies: a failed check that stops the run, and the input cut into
// texts.
#include <QByteArray>
#include <QByteArrayList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qiwufuzz {

// Reports a broken expectation as a crash, so that libFuzzer keeps the input and a replaying
// test fails with the message.
inline void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// The input's parts between 0x01 bytes; missing parts are empty.
inline QByteArrayList Parts(const std::uint8_t* data, std::size_t size, int count) {
  QByteArrayList parts = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\x01');
  while (parts.size() < count) parts.append(QByteArray());
  return parts;
}

}  // namespace qiwufuzz
