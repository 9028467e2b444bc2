// The one part of a written type library that depends on the writer's own
// bitness, and setting it for the library's target system instead.
//
// The system's type library writer (ICreateTypeLib2) stores in every function
// and variable record the memory its loader needs for the description: the
// FUNCDESC with its ELEMDESCs, or the VARDESC with its VARIANT, at the
// writer's own pointer size. A 64-bit writer writing a 32-bit library thus
// stores other sizes than a 32-bit writer (one byte per record in the Orvex
// library). With the sizes set for the target system, the library is the same
// bytes whichever writer made it.
#pragma once
#include <cstdint>
#include <string>

// The sizes the records count, as one system lays the structures out.
struct DescriptionSizes {
  uint32_t funcdesc;
  uint32_t elemdesc;
  uint32_t vardesc;
  uint32_t variant;
};
inline constexpr DescriptionSizes kDescriptionSizes32{52, 16, 36, 16};
inline constexpr DescriptionSizes kDescriptionSizes64{88, 32, 64, 24};

// Rewrites the description sizes in the bytes of an MSFT type library that a
// writer with the sizes `writer` wrote, for a system with the sizes `target`.
// Throws std::runtime_error if the bytes do not hold such a library.
void SetDescriptionSizes(std::string& library, const DescriptionSizes& writer, const DescriptionSizes& target);
