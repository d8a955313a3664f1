#pragma once
// Conversions between packed 32-bit colour values, RGB fractions and HSV
// fractions. Each step's precision is fixed (single or double) so that an
// 8-bit code survives the round trip and every stage rounds the same way.
// Any out-pointer may be null; that component is then not stored.

#include <cstdint>

namespace gelcoat {

// Packed value: red in bits 31–24, green 23–16, blue 15–8, zero in 7–0.
inline std::uint32_t valueForRGB(float red, float green, float blue);
inline std::uint32_t valueForHSV(float hue, float saturation, float value);
void RGBforValue(std::uint32_t value, float* red, float* green, float* blue);
void HSVforValue(std::uint32_t value, float* hue, float* saturation, float* value_);
inline void HSVtoRGB(float hue, float saturation, float value, float* red, float* green, float* blue);
void RGBtoHSV(float red, float green, float blue, float* hue, float* saturation, float* value);

// One component's 8-bit code as valueForRGB computes it.
inline std::uint32_t codeForFraction(float c);

} // namespace gelcoat

#include "engine/colour/ColorConversionsInline.h"
