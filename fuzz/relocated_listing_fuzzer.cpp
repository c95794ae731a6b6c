// Arbitrary bytes as SDCC's relocated listing (.rst).
#include "SymbolFileFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tessaly::fuzz::FuzzSymbolFile<tessaly::ReadRelocatedListing>(tessaly::SymbolFileKind::SdccRelocatedListing, data, size);
}
