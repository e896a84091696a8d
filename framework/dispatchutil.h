// Conversions shared by the two dispatchers.
#pragma once

#include "aeffect.h"

#include <cstdint>

// The low 32 bits of a pointer-sized value, as a signed 32-bit integer.
inline VstInt32 low32(VstIntPtr value) noexcept {
    return static_cast<VstInt32>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

// A boolean answer as the host sees it.
inline VstIntPtr answer(bool result) noexcept {
    return result ? 1 : 0;
}
