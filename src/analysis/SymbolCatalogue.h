#pragma once

#include <cstdint>
#include <string>

namespace tessaly {

class Processor;

// Tag numbers of GetSymbolField.
enum SymbolTag : int { kTagType = 0, kTagName = 1, kTagNickName = 2, kTagAddress = 3, kTagDescription = 4 };

inline constexpr int kSymbolCatalogueSize = 74;

// Fills lstSymbolCatalogue with the fixed 74 records of named SFRs and SFR bits;
// returns 1.
int BuildSymbolCatalogue(Processor& p);

// The value of one field of catalogue record `index`, or "Failure" when the
// record has no such tag.
std::string GetSymbolField(const Processor& p, int index, int tag);

}  // namespace tessaly
