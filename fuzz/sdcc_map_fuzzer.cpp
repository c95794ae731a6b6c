// Arbitrary bytes as SDCC's linker map.
#include "SymbolFileFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tessaly::fuzz::FuzzSymbolFile<tessaly::ReadSdccMap>(tessaly::SymbolFileKind::SdccMap, data, size);
}
