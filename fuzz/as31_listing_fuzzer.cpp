// Arbitrary bytes as as31's listing.
#include "SymbolFileFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tessaly::fuzz::FuzzSymbolFile<tessaly::ReadAs31Listing>(tessaly::SymbolFileKind::Listing, data, size);
}
