// PassResources: the GPU objects the frame's passes make the same way: a
// pixel shader read from a shader file, a dynamic constant buffer rewritten
// each pass, and a copy of the back buffer's size and format that the passes
// reading the finished frame draw from. All are made on the process-wide
// Device and throw what ReadData and the GPU layer throw.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gpu/GpuResources.h"

namespace mirefell
{

std::shared_ptr<gpu::PixelShader> LoadPixelShader(const std::wstring& file);
// The same with `defines` (whole "#define NAME VALUE" lines) put after the
// #version line, for one variant of a shader file.
std::shared_ptr<gpu::PixelShader> LoadPixelShader(const std::wstring& file, const std::string& defines);
// Shader source with `defines` put after its #version line (nothing may come
// before that line) and a #line directive that keeps the compiler's line
// numbers those of the file. A source without #version is returned as it
// is: the compiler reports it.
std::string InsertDefines(const std::string& source, const std::string& defines);
// Dynamic, CPU-writable, bound as a constant buffer.
std::shared_ptr<gpu::Buffer> CreateDynamicConstants(uint32_t bytes);
// ScreenWidth x ScreenHeight (at least 1 x 1), sRGB like the back buffer,
// usable as a render target and a shader resource.
std::shared_ptr<gpu::Texture2D> CreateFrameCopy();

} // namespace mirefell
