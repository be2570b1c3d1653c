// The libFuzzer entry of one target; QIWU_FUZZ_BODY names its body in FuzzTargets.h.
#include <QCoreApplication>

#include "fuzz/targets/FuzzTargets.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // The database reader starts the Jet helper process, which wants an application object.
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qiwufuzz::QIWU_FUZZ_BODY(data, size);
}
