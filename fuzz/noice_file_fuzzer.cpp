// Arbitrary bytes as a NoICE file.
#include "SymbolFileFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tessaly::fuzz::FuzzSymbolFile<tessaly::ReadNoiceFile>(tessaly::SymbolFileKind::SdccNoice, data, size);
}
