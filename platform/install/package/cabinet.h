// Cabinet files, written and read with libgcab: the container of a package.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace install {

struct CabinetFile {
  std::string name;  // UTF-8, folders joined by backslashes
  std::vector<uint8_t> data;
  bool program = false;  // the cabinet's "run after extraction" attribute
};

// Writes the files, compressed, into one cabinet at the host path (replacing a file there only
// once the new one is whole); false with the reason in *problem.
bool WriteCabinet(const std::string& hostPath, const std::vector<CabinetFile>& files, std::string* problem);

struct CabinetEntry {
  std::string name;
  uint32_t size;  // as the cabinet declares it: the bytes its extraction writes, if the data holds them
};

enum class Extraction {
  done,
  damaged,     // the cabinet's data is not whole
  notWritten,  // a file could not be written (no space left, say)
};

// A cabinet file read as it is needed: its table of entries at once, the data of an entry only
// when it is extracted, a block at a time, so the memory it takes does not grow with the files.
class CabinetReader {
 public:
  CabinetReader();
  ~CabinetReader();
  CabinetReader(const CabinetReader&) = delete;
  CabinetReader& operator=(const CabinetReader&) = delete;

  // Opens the cabinet at the host path and reads its table; false, with the reason in *problem,
  // when it cannot be read or is not a cabinet.
  bool Open(const std::string& hostPath, std::string* problem);

  // Every file of the cabinet, in its order.
  const std::vector<CabinetEntry>& Entries() const { return entries_; }

  // The bytes of one entry, extracted into memory: for a small entry, whose declared size the
  // caller has bounded. Nothing, with the reason in *problem, when its data is not whole.
  std::optional<std::vector<uint8_t>> Read(size_t entry, std::string* problem);

  // Extracts the entries that targets names (by their index) into files at the host paths given
  // relative to folder, whose folders exist; the others are passed over. Each file is written to
  // the size its entry declares and no further.
  Extraction Extract(const std::string& folder, const std::map<size_t, std::string>& targets, std::string* problem);

 private:
  struct Library;
  std::unique_ptr<Library> library_;
  std::vector<CabinetEntry> entries_;
};

}  // namespace install
