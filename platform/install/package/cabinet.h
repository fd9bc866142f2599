// Cabinet files, written and read with libgcab: the container of a package.
#pragma once

#include <cstdint>
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

// Every file of the cabinet held in bytes, extracted into memory; nothing, with the reason in
// *problem, when it is not a cabinet or a check of its data fails.
std::optional<std::vector<CabinetFile>> ReadCabinet(const std::vector<uint8_t>& bytes, std::string* problem);

}  // namespace install
