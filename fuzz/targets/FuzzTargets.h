#pragma once
// The bodies of the fuzz targets, shared by the libFuzzer programs in fuzz/ and by the test that
// replays the kept corpora (tests/reliability). Each takes one input, runs it through the code
// it aims at and aborts with a message on stderr when a check on the result fails.
#include <cstddef>
#include <cstdint>

namespace qiwufuzz {

// A workspace (.gst) file: parsed, its styles read, and its layers loaded when they name the
// sample layer file beside it.
int WorkspaceInput(const std::uint8_t* data, std::size_t size);

// A city database file data/<city>.mdb: the first byte chooses no header, an SQLite header or a
// Jet 4.0 header in front of the remaining bytes; the file is then opened as the program opens it.
int DatabaseInput(const std::uint8_t* data, std::size_t size);

// Names, keywords and texts for the statement builders, split at 0x01 bytes.
int StatementInput(const std::uint8_t* data, std::size_t size);

}  // namespace qiwufuzz
