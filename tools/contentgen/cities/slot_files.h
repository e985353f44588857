// Writes one track slot's files under base/maps/N/: map.sbm, mapvisual.sbm,
// glass.sbm, light.sbm, trees.sbm and points/level.ai (and, with previews on,
// a top-down and a street-level picture of the circuit).
#pragma once

#include <filesystem>

namespace gen::cities {

// Throws std::runtime_error when a file cannot be written or the slot has no circuit.
void writeSlotFiles(const std::filesystem::path& base, int slot);

}  // namespace gen::cities
