// Fuzz target for the mesh file reader: any text must either parse or be
// refused with the reader's GameError; parsed text then becomes a geometry and
// both vertex formats, as Mesh::Update builds them. Any other exception, crash
// or sanitizer report is a finding.
#include <cstdint>
#include <string>

#include "platform/GameError.h"
#include "render/MeshFile.h"
#include "render/MeshVertices.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace mirefell;
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const MeshGeometry geometry = BuildMeshGeometry(ParseMeshText(text, "fuzz.js"));
        (void)BuildTextureVertices(geometry);
        MeshGeometry smooth = geometry;
        smooth.smoothNormals = true;
        (void)BuildColorVertices(smooth);
    } catch (const GameError&) {
    }
    return 0;
}
